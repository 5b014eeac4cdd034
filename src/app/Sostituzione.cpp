#include "app/Sostituzione.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "platform/Cp1252.h"

namespace velmora {

namespace {

QString quoted(const QString& path) {
#ifdef Q_OS_WIN
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
#else
    QString escaped = path;
    escaped.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
#endif
}

}  // namespace

QString Sostituzione::Percorso_Script(const QString& programma) {
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("delapp.bat");
#else
    const QString name = QStringLiteral("delapp.sh");
#endif
    return QFileInfo(programma).absolutePath() + QLatin1Char('/') + name;
}

QStringList Sostituzione::Righe_Script(const QString& programma, const QString& script,
                                       const InstallFolder& cartella, qint64 pid) {
    const QString nuovo = cartella.path(QString::fromLatin1(InstallFolder::kNewProgramFile));
    const QString finale =
        cartella.root() + QLatin1Char('/') + QString::fromLatin1(InstallFolder::kProgramFile);
#ifdef Q_OS_WIN
    Q_UNUSED(pid);
    return {
        QStringLiteral(":inizio"),
        QStringLiteral("del ") + quoted(programma),
        QStringLiteral("IF EXIST ") + quoted(programma) + QStringLiteral(" GOTO inizio"),
        QStringLiteral("ren ") + QDir::toNativeSeparators(nuovo) + QLatin1Char(' ') +
            QString::fromLatin1(InstallFolder::kProgramFile),
        QStringLiteral("del ") + quoted(script),
        QStringLiteral("IF EXIST \"FB2.zip\" del GDS32.Dll"),
    };
#else
    // A running program's file can be deleted here at once, so the first step also waits for the
    // program to end before it deletes the file, as the file would be locked elsewhere.
    return {
        QStringLiteral("#!/bin/sh"),
        QStringLiteral("while kill -0 %1 2>/dev/null || [ -e %2 ]; do rm -f %2; sleep 0.1; done")
            .arg(pid)
            .arg(quoted(programma)),
        QStringLiteral("mv -f %1 %2").arg(quoted(nuovo), quoted(finale)),
        QStringLiteral("rm -f %1").arg(quoted(script)),
        QStringLiteral("if [ -e \"FB2.zip\" ]; then rm -f %1; fi")
            .arg(QString::fromLatin1(InstallFolder::kClientLibrary)),
    };
#endif
}

QString Sostituzione::Prepara_Sostituzione(const QString& programma, const InstallFolder& cartella,
                                           qint64 pid) {
    const QString script = Percorso_Script(programma);
    const QStringList righe = Righe_Script(programma, script, cartella, pid);
    QFile::remove(script);
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return QStringLiteral("Cannot create %1: %2").arg(script, file.errorString());
    }
#ifdef Q_OS_WIN
    const QString eol = QStringLiteral("\r\n");
#else
    const QString eol = QStringLiteral("\n");
#endif
    const QByteArray bytes = toCp1252(righe.join(eol) + eol);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        return QStringLiteral("Cannot write %1: %2").arg(script, file.errorString());
    }
    file.close();
    file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser);
#ifdef Q_OS_WIN
    const bool started = QProcess::startDetached(QStringLiteral("cmd.exe"), {QStringLiteral("/c"), script},
                                                 QFileInfo(script).absolutePath());
#else
    const bool started =
        QProcess::startDetached(QStringLiteral("/bin/sh"), {script}, QFileInfo(script).absolutePath());
#endif
    if (!started) {
        return QStringLiteral("Cannot start %1").arg(script);
    }
    return QString();
}

void Sostituzione::FormClose(Sessione& sessione, const QString& programma, qint64 pid) {
    if (sessione.Sostituzione_Pronta ||
        !sessione.cartella().exists(QString::fromLatin1(InstallFolder::kNewProgramFile))) {
        return;
    }
    const QString errore = Prepara_Sostituzione(programma, sessione.cartella(), pid);
    if (!errore.isEmpty()) {
        sessione.boxes().error(errore);
        return;
    }
    sessione.Sostituzione_Pronta = true;
}

}  // namespace velmora
