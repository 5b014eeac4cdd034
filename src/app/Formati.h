#pragma once

#include <QString>

namespace velmora {

// Display masks by number of decimals: 0 gives ",0", k gives ",0." and k zeros. The comma asks
// for thousands grouping.
QString Formati_Decimali(int decimals);

// Formats a number with a mask of the form ",0", ",0.00", "0.00" or "0": the decimal comma,
// "." between thousands when the mask starts with ",", exactly as many decimals as the mask has
// zeros after its point. The same output on every machine.
QString formatNumber(double value, const QString& mask);

// Display masks of the fields, set by Imposta_Formati from the decimals of unit prices (U) and
// amounts (I). Grids and the printout read them from here.
struct Maschere {
    QString prezzoListino;   // catalogue PREZZO_LIST and NETTO
    QString scontoCatalogo;  // catalogue SCONTO
    QString dataListino = QStringLiteral("dd/mm/yyyy");
    QString prezzoOrdine;   // order lines PREZZO, printout PREZZO
    QString importoOrdine;  // order lines IMPORTO, printout IMPORTO
    QString pesoOrdine;     // order lines PESO
    QString mcOrdine;       // order lines MC
    QString qtaStampa;      // printout QTA
    QString fasce;          // MINIMO, MASSIMO, SCONTO of the quantity bands

    // Imposta_Formati; decimals outside 0..15 are refused by the caller before.
    static Maschere Imposta_Formati(int decimaliUnitari, int decimaliImporti);
};

}  // namespace velmora
