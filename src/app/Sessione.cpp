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

}  // namespace velmora
