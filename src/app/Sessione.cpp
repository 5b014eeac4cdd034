#include "app/Sessione.h"

#include <QFileInfo>
#include <QStringList>

namespace velmora {

Sessione::Sessione(InstallFolder cartella, Boxes& boxes, Shell& shell, Clock& clock)
    : m_cartella(std::move(cartella)), m_boxes(boxes), m_shell(shell), m_clock(clock) {}

QString Sessione::libreriaClient() const {
    const QString own = m_cartella.path(QString::fromLatin1(InstallFolder::kClientLibrary));
    return QFileInfo::exists(own) ? own : QString();
}

void Sessione::Connetti() {
    m_connessione.close(true);
    db::ConnectOptions options;
    options.clientLibrary = libreriaClient();
    m_connessione.open(m_cartella.path(QString::fromLatin1(InstallFolder::kDatabase)), options);
}

QString Sessione::Versione_Programma() {
    // The build's version: four numbers, each written without leading zeros.
    QStringList parts = QString::fromLatin1(VELMORA_VERSION).split(QLatin1Char('.'));
    while (parts.size() < 4) {
        parts << QStringLiteral("0");
    }
    QStringList out;
    for (int i = 0; i < 4; ++i) {
        out << QString::number(parts[i].toUInt() & 0xFFFF);
    }
    return out.join(QLatin1Char('.'));
}

namespace {
int decimaliValidi(const QVariant& value, const char* colonna) {
    bool ok = false;
    const int decimali = value.toInt(&ok);
    if (value.isNull() || !ok || decimali < 0 || decimali > 15) {
        throw db::DatabaseError(QStringLiteral("T_PROGR.%1 is %2: the number of decimals must be 0 to 15")
                                    .arg(QString::fromLatin1(colonna),
                                         value.isNull() ? QStringLiteral("null") : value.toString()));
    }
    return decimali;
}
}  // namespace

Precisione Leggi_Precisione(const db::Statement& progr) {
    Precisione p;
    p.decimaliUnitari = decimaliValidi(progr.value("DIV_DEC_AR_UN"), "DIV_DEC_AR_UN");
    p.modoUnitari = progr.value("DIV_TP_AR_UN").toString();
    p.decimaliImporti = decimaliValidi(progr.value("DIV_DEC_AR_IMP"), "DIV_DEC_AR_IMP");
    p.modoImporti = progr.value("DIV_TP_AR_IMP").toString();
    p.percAumentoPeso = progr.value("PERC_AUMEN_PESO").toDouble();
    p.percAumentoVolume = progr.value("PERC_AUMEN_VOLUME").toDouble();
    return p;
}

QString Testo_Errore(const std::exception& error) {
    if (const auto* database = dynamic_cast<const db::DatabaseError*>(&error)) {
        return database->text();
    }
    return QString::fromLocal8Bit(error.what());
}

}  // namespace velmora
