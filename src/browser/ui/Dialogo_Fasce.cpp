#include "browser/ui/Dialogo_Fasce.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Formati.h"
#include "browser/Colonne.h"

namespace velmora {

Dialogo_Fasce::Dialogo_Fasce(const QString& titolo, const Esito_Fasce& esito, const Testi& testi,
                             QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("Form_Fasce"));
    setWindowTitle(titolo);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* intestazione = new QLabel(titolo, this);
    QFont grassetto = intestazione->font();
    grassetto.setBold(true);
    intestazione->setFont(grassetto);
    layout->addWidget(intestazione);

    m_memo = new QPlainTextEdit(this);
    m_memo->setReadOnly(true);
    m_memo->setFixedHeight(72);
    try {
        m_memo->setPlainText(testi.testo(esito.messaggio));
    } catch (const std::exception&) {
        // A database without that text shows an empty explanation.
    }
    layout->addWidget(m_memo);

    const Colonne colonne = Colonne_Da_Lista(
        Titoli_Griglia({QStringLiteral("MINIMO\t15\tcampo084\tT"), QStringLiteral("MASSIMO\t15\tcampo085\tT"),
                        QStringLiteral("SCONTO\t20\tcampo086\tT")},
                       testi));
    m_griglia = new QTableWidget(static_cast<int>(esito.righe.size()), 3, this);
    m_griglia->setObjectName(QStringLiteral("Griglia_Fasce"));
    m_griglia->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_griglia->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_griglia->verticalHeader()->hide();
    QPalette palette = m_griglia->palette();
    palette.setColor(QPalette::Base, QColor(192, 220, 192));
    m_griglia->setPalette(palette);
    const int carattere = m_griglia->fontMetrics().averageCharWidth();
    for (int c = 0; c < 3; ++c) {
        m_griglia->setHorizontalHeaderItem(c, new QTableWidgetItem(colonne[c].titolo));
        m_griglia->setColumnWidth(c, colonne[c].larghezza * carattere + 8);
    }
    const QString maschera = Formati_Decimali(2);
    for (int r = 0; r < static_cast<int>(esito.righe.size()); ++r) {
        const Fascia_Riga& f = esito.righe[static_cast<size_t>(r)];
        const double valori[3] = {f.minimo, f.massimo, f.sconto};
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(formatNumber(valori[c], maschera));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_griglia->setItem(r, c, item);
        }
    }
    layout->addWidget(m_griglia);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setFixedSize(380, 300);
}

void Dialogo_Fasce::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_griglia->setFocus();
}

}  // namespace velmora
