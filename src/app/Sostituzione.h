#pragma once

#include <QString>
#include <QStringList>

#include "app/Sessione.h"
#include "platform/InstallFolder.h"

namespace velmora {

// The replacement script that gives a waiting new program file the program's name once the
// running program has ended: it retries deleting the running file until it is gone, renames
// the new file, deletes itself, and deletes the folder's client library when FB2.zip waits.
struct Sostituzione {
    // The script's lines for the running program file P and the script S.
    static QStringList Righe_Script(const QString& programma, const QString& script,
                                    const InstallFolder& cartella, qint64 pid);
    // The script's path: beside the running program file.
    static QString Percorso_Script(const QString& programma);

    // Prepara_Sostituzione: writes the script (replacing an old one) and starts it detached.
    // Returns an error text, empty when the script runs.
    static QString Prepara_Sostituzione(const QString& programma, const InstallFolder& cartella, qint64 pid);

    // The main window's close handler: when a new program file waits and no script has been
    // written in this run, writes and starts it; a failure is shown and tried again next time.
    static void FormClose(Sessione& sessione, const QString& programma, qint64 pid);
};

}  // namespace velmora
