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

namespace {
void mostra(QWidget* widget, const QColor& colore, const QFont& font) {
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
}  // namespace

void Stato_Focus::applica(QWidget* widget) const {
    mostra(widget, colore(widget), font(widget));
}

// ---------------------------------------------------------------------------------------------

TCSEdit::TCSEdit(QWidget* parent) : QLineEdit(parent) {
    m_stato.inizializza(this);
    m_stato.applica(this);
}

TCSEdit::TCSEdit(const QString& text, QWidget* parent) : TCSEdit(parent) {
    setText(text);
}

void TCSEdit::setColorOnFocus(const QColor& color) {
    m_stato.colorOnFocus = color;
    mostra(this, color, font());
}

void TCSEdit::setColorOnDisabled(const QColor& color) {
    m_stato.colorOnDisabled = color;
    mostra(this, color, font());
}

void TCSEdit::setColorOnNoFocus(const QColor& color) {
    m_stato.colorOnNoFocus = color;
    mostra(this, color, font());
}

void TCSEdit::setFontOnFocus(const QFont& f) {
    m_stato.fontOnFocus = f;
    mostra(this, palette().color(QPalette::Base), f);
}

void TCSEdit::setFontOnDisabled(const QFont& f) {
    m_stato.fontOnDisabled = f;
    mostra(this, palette().color(QPalette::Base), f);
}

void TCSEdit::setFontOnNoFocus(const QFont& f) {
    m_stato.fontOnNoFocus = f;
    mostra(this, palette().color(QPalette::Base), f);
}

void TCSEdit::focusInEvent(QFocusEvent* event) {
    m_stato.focused = true;
    m_stato.applica(this);
    QLineEdit::focusInEvent(event);
    if (m_autoSelect) {
        selectAll();
    } else if (m_cursoreFineCampo) {
        deselect();
        setCursorPosition(static_cast<int>(text().size()));
    }
}

void TCSEdit::focusOutEvent(QFocusEvent* event) {
    m_stato.focused = false;
    m_stato.applica(this);
    QLineEdit::focusOutEvent(event);
}

void TCSEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        m_stato.applica(this);
    }
}

void TCSEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    // After every repaint the look of the current state comes back.
    m_stato.applica(this);
}

void TCSEdit::keyPressEvent(QKeyEvent* event) {
    if (m_exitOnReturn && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        focusNextChild();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------------------

TCSDBMemo::TCSDBMemo(QWidget* parent) : QPlainTextEdit(parent) {
    m_stato.inizializza(this);
    m_stato.applica(this);
}

void TCSDBMemo::setColorOnFocus(const QColor& color) {
    m_stato.colorOnFocus = color;
    mostra(this, color, font());
}

void TCSDBMemo::setColorOnDisabled(const QColor& color) {
    m_stato.colorOnDisabled = color;
    mostra(this, color, font());
}

void TCSDBMemo::setColorOnNoFocus(const QColor& color) {
    m_stato.colorOnNoFocus = color;
    mostra(this, color, font());
}

void TCSDBMemo::setFontOnFocus(const QFont& f) {
    m_stato.fontOnFocus = f;
    mostra(this, palette().color(QPalette::Base), f);
}

void TCSDBMemo::setFontOnDisabled(const QFont& f) {
    m_stato.fontOnDisabled = f;
    mostra(this, palette().color(QPalette::Base), f);
}

void TCSDBMemo::setFontOnNoFocus(const QFont& f) {
    m_stato.fontOnNoFocus = f;
    mostra(this, palette().color(QPalette::Base), f);
}

void TCSDBMemo::focusInEvent(QFocusEvent* event) {
    m_stato.focused = true;
    m_stato.applica(this);
    QPlainTextEdit::focusInEvent(event);
}

void TCSDBMemo::focusOutEvent(QFocusEvent* event) {
    m_stato.focused = false;
    m_stato.applica(this);
    QPlainTextEdit::focusOutEvent(event);
}

void TCSDBMemo::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        m_stato.applica(this);
    }
}

void TCSDBMemo::paintEvent(QPaintEvent* event) {
    QPlainTextEdit::paintEvent(event);
    m_stato.applica(this);
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
