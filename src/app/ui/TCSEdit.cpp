#include "app/ui/TCSEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPalette>

namespace velmora {

TCSEdit::TCSEdit(QWidget* parent) : Controllo_Focus<QLineEdit>(parent) {}

TCSEdit::TCSEdit(const QString& text, QWidget* parent) : TCSEdit(parent) {
    setText(text);
}

void TCSEdit::focusInEvent(QFocusEvent* event) {
    const int prima = cursorPosition();
    // QLineEdit selects everything when entered by Tab; the settings below decide instead.
    Controllo_Focus<QLineEdit>::focusInEvent(event);
    if (m_autoSelect && event->reason() != Qt::MouseFocusReason) {
        selectAll();
    } else if (m_cursoreFineCampo) {
        setCursorPosition(static_cast<int>(text().size()));
    } else {
        setCursorPosition(prima);
    }
}

void TCSEdit::keyPressEvent(QKeyEvent* event) {
    // Enter goes through the usual handling in every case (returnPressed, then the window's own
    // keys); with ExitOnReturn it also moves on to the next control as Tab would.
    Controllo_Focus<QLineEdit>::keyPressEvent(event);
    const bool invio = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (m_exitOnReturn && invio && hasFocus()) {
        focusNextChild();
    }
}

void Applica_Colori_Focus(QWidget* root) {
    const QPalette sistema = QApplication::palette();
    const QColor finestra = sistema.color(QPalette::Active, QPalette::Base);
    const QColor pulsante = sistema.color(QPalette::Active, QPalette::Button);
    const QColor giallo(255, 255, 0);
    const auto colora = [&](auto* controllo) {
        controllo->setColorOnDisabled(pulsante);
        controllo->setColorOnFocus(giallo);
        controllo->setColorOnNoFocus(finestra);
        controllo->Applica_Stato();
    };
    for (TCSEdit* edit : root->findChildren<TCSEdit*>()) {
        colora(edit);
    }
    for (TCSDBMemo* memo : root->findChildren<TCSDBMemo*>()) {
        colora(memo);
    }
}

}  // namespace velmora
