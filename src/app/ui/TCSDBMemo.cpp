#include "app/ui/TCSDBMemo.h"

#include <QApplication>
#include <QPalette>

namespace velmora {

namespace {

QColor coloreFinestra() {
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}

bool chiaro(const QColor& colore) {
    return qGray(colore.rgb()) >= 128;
}

}  // namespace

Stato_Focus::Stato_Focus(const QWidget* widget)
    : colorOnFocus(coloreFinestra()),
      colorOnDisabled(coloreFinestra()),
      colorOnNoFocus(coloreFinestra()),
      fontOnFocus(QApplication::font(widget)),
      fontOnDisabled(QApplication::font(widget)),
      fontOnNoFocus(QApplication::font(widget)) {}

QColor Stato_Focus::colore(const QWidget* widget) const {
    if (!widget->isEnabled()) {
        return colorOnDisabled;
    }
    return focused ? colorOnFocus : colorOnNoFocus;
}

QFont Stato_Focus::font(const QWidget* widget) const {
    if (!widget->isEnabled()) {
        return fontOnDisabled;
    }
    return focused ? fontOnFocus : fontOnNoFocus;
}

void Stato_Focus::applica(QWidget* widget) const {
    mostraColore(widget, colore(widget));
    mostraFont(widget, font(widget));
}

void Stato_Focus::mostraColore(QWidget* widget, const QColor& colore) {
    const QPalette sistema = QApplication::palette();
    const QColor finestra = sistema.color(QPalette::Active, QPalette::Base);
    const QColor testo =
        chiaro(colore) == chiaro(finestra) ? sistema.color(QPalette::Active, QPalette::Text) : finestra;

    // Only a real change touches the palette: this runs after every repaint, and setting a palette
    // asks for another one.
    QPalette palette = widget->palette();
    bool cambiata = false;
    for (const auto gruppo : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        if (palette.color(gruppo, QPalette::Base) != colore) {
            palette.setColor(gruppo, QPalette::Base, colore);
            cambiata = true;
        }
    }
    // Disabled text keeps the system's dimmed colour.
    for (const auto gruppo : {QPalette::Active, QPalette::Inactive}) {
        if (palette.color(gruppo, QPalette::Text) != testo) {
            palette.setColor(gruppo, QPalette::Text, testo);
            cambiata = true;
        }
    }
    if (cambiata) {
        widget->setPalette(palette);
    }
}

void Stato_Focus::mostraFont(QWidget* widget, const QFont& font) {
    if (widget->font() != font) {
        widget->setFont(font);
    }
}

TCSDBMemo::TCSDBMemo(QWidget* parent) : Controllo_Focus<QPlainTextEdit>(parent) {
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_caricamento) {
            emit testoModificato(toPlainText());
        }
    });
}

void TCSDBMemo::setTesto(const QString& testo) {
    m_caricamento = true;
    setPlainText(testo);
    m_caricamento = false;
}

}  // namespace velmora
