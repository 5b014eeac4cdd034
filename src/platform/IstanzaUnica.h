#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace velmora {

// Lets one copy of the program run per user: the first copy listens under a name made from the
// program file's name; a later copy asks it to come to the front and is told to end.
class IstanzaUnica final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IstanzaUnica)

public:
    explicit IstanzaUnica(QString nome, QObject* parent = nullptr);
    ~IstanzaUnica() override;

    // True when this is the only copy (and it now listens); false when another copy answered
    // and has been asked to restore its window.
    bool Controlla();

signals:
    // Another copy asked this one to restore and raise its window.
    void ripristinaRichiesto();

private:
    QString m_nome;
    QLocalServer* m_server = nullptr;
};

// The name of the guard for this user and program file.
QString nomeIstanza(const QString& programFileName);

}  // namespace velmora
