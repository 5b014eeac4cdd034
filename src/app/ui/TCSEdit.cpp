#include "app/ui/TCSEdit.h"

#include <QApplication>
#include <QKeyEvent>

namespace velmora {

void Stato_Focus::inizializza(QWidget* widget) {
    const QColor window = QApplication::palette().color(QPalette::Active, QPalette::Base);
    colorOnFocus = colorOnDisabled = colorOnNoFocus = window;
    fontOnFocus = fontOnDisabled = fontOnNoFocus = QApplication::font(widget);
}

QColor Stato_Focus::colore(const QWidget* widget) const {
    return !widget->isEnabled() ? colorOnDisabled : focused ? colorOnFocus : colorOnNoFocus;
}

QFont Stato_Focus::font(const QWidget* widget) const {
    return !widget->isEnabled() ? fontOnDisabled : focused ? fontOnFocus : fontOnNoFocus;
}

void Stato_Focus::mostra(QWidget* widget, const QColor& colore, const QFont& font) {
    QPalette palette = widget->palette();
    if (palette.color(QPalette::Active, QPalette::Base) != colore ||
        palette.color(QPalette::Disabled, QPalette::Base) != colore ||
        palette.color(QPalette::Inactive, QPalette::Base) != colore) {
        palette.setColor(QPalette::All, QPalette::Base, colore);
        widget->setPalette(palette);
    }
    if (widget->font() != font) {
        widget->setFont(font);
    }
}

void Stato_Focus::applica(QWidget* widget) const {
    mostra(widget, colore(widget), font(widget));
}

void TCSEdit::focusInEvent(QFocusEvent* event) {
    Controllo_Focus<QLineEdit>::focusInEvent(event);
    if (m_autoSelect) {
        selectAll();
    } else if (m_cursoreFineCampo) {
        deselect();
        setCursorPosition(static_cast<int>(text().size()));
    }
}

void TCSEdit::keyPressEvent(QKeyEvent* event) {
    if (m_exitOnReturn && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        focusNextChild();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void Applica_Colori_Focus(QWidget* root) {
    const QColor finestra = QApplication::palette().color(QPalette::Active, QPalette::Base);
    const QColor pulsante = QApplication::palette().color(QPalette::Active, QPalette::Button);
    const QColor giallo(255, 255, 0);
    for (TCSEdit* edit : root->findChildren<TCSEdit*>()) {
        edit->setColorOnNoFocus(finestra);
        edit->setColorOnDisabled(pulsante);
        edit->setColorOnFocus(giallo);
        edit->setColorOnNoFocus(finestra);
    }
    for (TCSDBMemo* memo : root->findChildren<TCSDBMemo*>()) {
        memo->setColorOnNoFocus(finestra);
        memo->setColorOnDisabled(pulsante);
        memo->setColorOnFocus(giallo);
        memo->setColorOnNoFocus(finestra);
    }
}

}  // namespace velmora
