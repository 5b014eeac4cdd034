#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QTableWidget>

#include "app/Testi.h"
#include "browser/Fasce.h"

namespace velmora {

// The quantity-band dialog: a bold title strip, the explanation, a read-only grid of minimum,
// maximum and discount, and OK. The grid has the focus when it opens.
class Dialogo_Fasce final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Dialogo_Fasce)

public:
    Dialogo_Fasce(const QString& titolo, const Esito_Fasce& esito, const Testi& testi,
                  QWidget* parent = nullptr);

    QTableWidget* griglia() const { return m_griglia; }
    QPlainTextEdit* memo() const { return m_memo; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPlainTextEdit* m_memo = nullptr;
    QTableWidget* m_griglia = nullptr;
};

}  // namespace velmora
