#include "app/ui/QtBoxes.h"

#include <QInputDialog>
#include <QMessageBox>

namespace velmora {

namespace {
const QString kTitle = QStringLiteral("Velmora");
}

void QtBoxes::message(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok, m_parent);
    box.exec();
}

void QtBoxes::error(const QString& text) {
    QMessageBox box(QMessageBox::Critical, kTitle, text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtBoxes::confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text,
                    QMessageBox::Ok | QMessageBox::Cancel, m_parent);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

std::optional<QString> QtBoxes::input(const QString& title, const QString& prompt, const QString& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text;
}

}  // namespace velmora
