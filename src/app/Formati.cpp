#include "app/Formati.h"

#include <cmath>

#include <QLocale>

namespace velmora {

QString Formati_Decimali(int decimals) {
    Q_ASSERT(decimals >= 0 && decimals <= 15);
    if (decimals <= 0) {
        return QStringLiteral(",0");
    }
    return QStringLiteral(",0.") + QString(decimals, QLatin1Char('0'));
}

QString formatNumber(double value, const QString& mask) {
    const bool grouped = mask.startsWith(QLatin1Char(','));
    const qsizetype point = mask.indexOf(QLatin1Char('.'));
    const int decimals = point < 0 ? 0 : static_cast<int>(mask.size() - point - 1);
    QLocale italian(QLocale::Italian, QLocale::Italy);
    italian.setNumberOptions(grouped ? QLocale::DefaultNumberOptions : QLocale::OmitGroupSeparator);
    QString text = italian.toString(value, 'f', decimals);
    // No "-0" for a value that rounds to zero.
    if (text.startsWith(QLatin1Char('-'))) {
        bool allZero = true;
        for (qsizetype i = 1; i < text.size(); ++i) {
            if (text[i].isDigit() && text[i] != QLatin1Char('0')) {
                allZero = false;
                break;
            }
        }
        if (allZero) {
            text.remove(0, 1);
        }
    }
    return text;
}

Maschere Maschere::Imposta_Formati(int u, int i) {
    Maschere m;
    m.prezzoListino = Formati_Decimali(u);
    m.scontoCatalogo = Formati_Decimali(2);
    m.prezzoOrdine = Formati_Decimali(u);
    m.importoOrdine = Formati_Decimali(i);
    m.pesoOrdine = Formati_Decimali(2);
    m.mcOrdine = Formati_Decimali(4);
    m.qtaStampa = Formati_Decimali(2);
    m.fasce = Formati_Decimali(2);
    return m;
}

}  // namespace velmora
