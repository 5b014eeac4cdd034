// velmora-cli runs in a process of its own, as support staff and scripts run it.
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/Database.h"
#include "platform/InstallFolder.h"

namespace {

struct CliRun {
    int exitCode;
    QString out;
    QString err;
};

CliRun cli(const QStringList& args, const QStringList& prefix = {}, const QString& program = QStringLiteral(VELMORA_CLI_PATH)) {
    QProcess process;
    QStringList all = prefix;
    all << program << args;
    const QString executable = all.takeFirst();
    process.start(executable, all);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

void makeDatabase(const QString& path) {
    velmora::db::Connection db;
    db.create(path);
    db.executeImmediate(QStringLiteral("CREATE TABLE T_PROGR (MOLL_MATASSE INTEGER)"));
}

TEST(Cli, VersionAndHelp) {
    const CliRun version = cli({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+\\n$")).match(version.out).hasMatch())
        << version.out.toStdString();
    const CliRun help = cli({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("info")));
    EXPECT_NE(cli({QStringLiteral("nonsense")}).exitCode, 0);
}

TEST(Cli, InfoReportsMarkersAndDialect) {
    QTemporaryDir dir;
    makeDatabase(dir.filePath(QStringLiteral("dati.idb")));  // found whatever its case
    QFile marker(dir.filePath(QStringLiteral("AGGPGM.INI")));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    const CliRun run = cli({QStringLiteral("--home"), dir.path(), QStringLiteral("info")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("AGGPGM.INI: present")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("FB2.TXT: missing")));
    EXPECT_TRUE(run.out.contains(QStringLiteral("SQL dialect: 1"))) << run.out.toStdString();

    QTemporaryDir empty;
    const CliRun none = cli({QStringLiteral("--home"), empty.path(), QStringLiteral("info")});
    EXPECT_NE(none.exitCode, 0);
    EXPECT_TRUE(none.out.contains(QStringLiteral("DATI.IDB: missing")));
}

TEST(Cli, InfoConnectsWithTheFoldersOwnClientLibrary) {
    QTemporaryDir dir;
    makeDatabase(dir.filePath(QStringLiteral("DATI.IDB")));
    ASSERT_TRUE(QFile::copy(QStringLiteral("/usr/lib/x86_64-linux-gnu/libfbclient.so.2"),
                            dir.filePath(QString::fromLatin1(velmora::InstallFolder::kClientLibrary))));
    const CliRun run = cli({QStringLiteral("--home"), dir.path(), QStringLiteral("info")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Client library: ") + dir.path())) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("SQL dialect: 1")));
}

TEST(Cli, InfoRunsForAnOrdinaryUser) {
    if (::getuid() != 0) {
        GTEST_SKIP() << "needs root to switch to an unprivileged user";
    }
    // A world-writable folder the unprivileged user can reach.
    const QString base = QStringLiteral("/tmp/velmora-user-test-%1").arg(QCoreApplication::applicationPid());
    QDir(base).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(base));
    const auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::WriteGroup |
                     QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QFile::setPermissions(base, all);
    const QString database = base + QStringLiteral("/DATI.IDB");
    makeDatabase(database);
    QFile::setPermissions(database, all);
    // The program itself is copied there too: the build folder may not be open to that user.
    const QString program = base + QStringLiteral("/velmora-cli");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_CLI_PATH), program));
    QFile::setPermissions(program, all);
    const CliRun run = cli({QStringLiteral("--home"), base, QStringLiteral("info")},
                        {QStringLiteral("setpriv"), QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                         QStringLiteral("--clear-groups"), QStringLiteral("env"), QStringLiteral("-u"),
                         QStringLiteral("FIREBIRD_LOCK"), QStringLiteral("HOME=/tmp")},
                        program);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString() << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("SQL dialect: 1"))) << run.out.toStdString();
    QDir(base).removeRecursively();
}

}  // namespace
