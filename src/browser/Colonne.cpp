#include "browser/Colonne.h"

namespace velmora {

Colonne Colonne_Da_Lista(const QStringList& voci) {
    Colonne colonne;
    for (const QString& voce : voci) {
        const QStringList parti = voce.split(QLatin1Char('\t'));
        Colonna c;
        c.campo = parti.value(0);
        bool ok = false;
        const int larghezza = parti.value(1).toInt(&ok);
        c.larghezza = ok ? larghezza : 10;
        c.titolo = parti.value(2);
        c.solaLettura = parti.value(3, QStringLiteral("F"));
        c.gruppo = parti.value(4);
        colonne << c;
    }
    return colonne;
}

QStringList Lista_Da_Colonne(const Colonne& colonne) {
    QStringList voci;
    for (const Colonna& c : colonne) {
        QString voce = c.campo + QLatin1Char('\t') + QString::number(c.larghezza) + QLatin1Char('\t') +
                       c.titolo + QLatin1Char('\t') + c.solaLettura;
        if (!c.gruppo.isEmpty()) {
            voce += QLatin1Char('\t') + c.gruppo;
        }
        voci << voce;
    }
    return voci;
}

}  // namespace velmora
