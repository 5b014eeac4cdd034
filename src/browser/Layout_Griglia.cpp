#include "browser/Layout_Griglia.h"

#include <algorithm>

#include <QFile>
#include <QSaveFile>

#include "platform/Cp1252.h"

namespace velmora {

namespace {

const QString kDelimitatore = QStringLiteral(";;");

// The lines of a settings file, without their line ends.
QStringList righe(const QString& file, bool* letto) {
    QFile in(file);
    *letto = in.open(QIODevice::ReadOnly);
    if (!*letto) {
        return {};
    }
    QString testo = fromCp1252(in.readAll());
    testo.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return testo.split(QLatin1Char('\n'));
}

bool intestazione(const QString& riga, QString* nome) {
    const QString t = riga.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) {
        *nome = t.mid(1, t.size() - 2).trimmed();
        return true;
    }
    return false;
}

}  // namespace

Colonne Carica_Layout(const QString& file, const QString& sezione, const Colonne& proprie, Boxes& boxes) {
    bool letto = false;
    const QStringList linee = righe(file, &letto);
    if (!letto) {
        return proprie;
    }
    QList<QPair<QString, QString>> voci;
    bool dentro = false;
    for (const QString& linea : linee) {
        QString nome;
        if (intestazione(linea, &nome)) {
            dentro = nome.compare(sezione, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype uguale = linea.indexOf(QLatin1Char('='));
        if (!dentro || uguale <= 0 || linea.trimmed().startsWith(QLatin1Char(';'))) {
            continue;
        }
        voci.append({linea.left(uguale).trimmed(), linea.mid(uguale + 1).trimmed()});
    }
    if (voci.isEmpty()) {
        return proprie;
    }
    Colonne caricate;
    for (const auto& [campo, valore] : voci) {
        if (!valore.contains(kDelimitatore)) {
            boxes.message(QStringLiteral("Key Delimiter Not Found"));
            return proprie;
        }
        const auto propria = std::find_if(proprie.begin(), proprie.end(), [&campo](const Colonna& c) {
            return c.campo.compare(campo, Qt::CaseInsensitive) == 0;
        });
        const bool giaCaricata = std::any_of(caricate.begin(), caricate.end(), [&campo](const Colonna& c) {
            return c.campo.compare(campo, Qt::CaseInsensitive) == 0;
        });
        if (propria == proprie.end() || giaCaricata) {
            continue;  // a field this grid does not have, or one already placed by an earlier entry
        }
        const QStringList parti = valore.split(kDelimitatore);
        Colonna c;
        c.campo = propria->campo;
        bool ok = false;
        const int larghezza = parti.value(0).trimmed().toInt(&ok);
        c.larghezza = ok && larghezza > 0 ? larghezza : propria->larghezza;
        c.titolo = parti.value(1);
        c.solaLettura = parti.value(2);
        c.gruppo = parti.value(3);
        caricate << c;
    }
    for (const Colonna& propria : proprie) {
        const bool presente = std::any_of(caricate.begin(), caricate.end(), [&propria](const Colonna& c) {
            return c.campo.compare(propria.campo, Qt::CaseInsensitive) == 0;
        });
        if (!presente) {
            caricate << propria;
        }
    }
    return caricate;
}

bool Salva_Layout(const QString& file, const QString& sezione, const Colonne& colonne) {
    if (colonne.isEmpty()) {
        return true;
    }
    bool letto = false;
    QStringList linee = righe(file, &letto);
    if (!letto && QFile::exists(file)) {
        return false;  // rewriting a file we cannot read would lose its other sections
    }
    while (!linee.isEmpty() && linee.last().isEmpty()) {
        linee.removeLast();
    }
    QStringList sezioneNuova{QLatin1Char('[') + sezione + QLatin1Char(']')};
    for (const Colonna& c : colonne) {
        QString valore =
            QString::number(c.larghezza) + kDelimitatore + c.titolo + kDelimitatore + c.solaLettura;
        if (!c.gruppo.isEmpty()) {
            valore += kDelimitatore + c.gruppo;
        }
        sezioneNuova << c.campo + QLatin1Char('=') + valore;
    }
    // The other sections stay as they are; this one is replaced where it stood.
    QStringList risultato;
    bool dentro = false;
    bool scritta = false;
    for (const QString& linea : linee) {
        QString nome;
        if (intestazione(linea, &nome)) {
            dentro = nome.compare(sezione, Qt::CaseInsensitive) == 0;
            if (dentro && !scritta) {
                risultato << sezioneNuova;
                scritta = true;
            }
            if (dentro) {
                continue;
            }
        }
        if (!dentro) {
            risultato << linea;
        }
    }
    if (!scritta) {
        if (!risultato.isEmpty() && !risultato.last().isEmpty()) {
            risultato << QString();
        }
        risultato << sezioneNuova;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        return false;
    }
    out.write(toCp1252(risultato.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    return out.commit();
}

}  // namespace velmora
