#include "platform/IstanzaUnica.h"

#include <unistd.h>

#include <QLocalSocket>

namespace velmora {

namespace {
constexpr int kWaitMs = 1000;
const QByteArray kRestore = QByteArrayLiteral("restore\n");
}  // namespace

QString nomeIstanza(const QString& programFileName) {
    return programFileName + QStringLiteral("-") + QString::number(::getuid());
}

IstanzaUnica::IstanzaUnica(QString nome, QObject* parent) : QObject(parent), m_nome(std::move(nome)) {}

IstanzaUnica::~IstanzaUnica() = default;

bool IstanzaUnica::Controlla() {
    {
        QLocalSocket socket;
        socket.connectToServer(m_nome);
        if (socket.waitForConnected(kWaitMs)) {
            socket.write(kRestore);
            socket.waitForBytesWritten(kWaitMs);
            socket.disconnectFromServer();
            return false;
        }
    }
    // Nobody answered: a name left behind by a copy that crashed is taken over.
    QLocalServer::removeServer(m_nome);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_nome)) {
        return true;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = m_server->nextPendingConnection()) {
            connect(client, &QLocalSocket::readyRead, this, [this, client] {
                if (client->readAll().contains("restore")) {
                    emit ripristinaRichiesto();
                }
            });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
    return true;
}

}  // namespace velmora
