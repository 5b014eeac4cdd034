// velmora-cli runs in a process of its own, as support staff and scripts run it.
#include <unistd.h>

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "fixtures/Fornitore.h"
#include "platform/Database.h"
#include "platform/InstallFolder.h"

namespace {

struct CliRun {
    int exitCode;
    QString out;
    QString err;
};

CliRun cli(const QStringList& args, const QStringList& prefix = {},
           const QString& program = QStringLiteral(VELMORA_CLI_PATH)) {
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
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+\\n$")).match(version.out).hasMatch())
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
    const auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                     QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther |
                     QFile::ExeOther;
    QFile::setPermissions(base, all);
    const QString database = base + QStringLiteral("/DATI.IDB");
    makeDatabase(database);
    QFile::setPermissions(database, all);
    // The program itself is copied there too: the build folder may not be open to that user.
    const QString program = base + QStringLiteral("/velmora-cli");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_CLI_PATH), program));
    QFile::setPermissions(program, all);
    const CliRun run =
        cli({QStringLiteral("--home"), base, QStringLiteral("info")},
            {QStringLiteral("setpriv"), QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
             QStringLiteral("--clear-groups"), QStringLiteral("env"), QStringLiteral("-u"),
             QStringLiteral("FIREBIRD_LOCK"), QStringLiteral("HOME=/tmp")},
            program);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString() << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("SQL dialect: 1"))) << run.out.toStdString();
    QDir(base).removeRecursively();
}

TEST(Cli, SignInCustomerAndPriceList) {
    QTemporaryDir dir;
    velmora::fixtures::Dati dati = velmora::fixtures::minimo();
    velmora::fixtures::Articolo a;
    a.codice = QStringLiteral("VT-1");
    a.gr = QStringLiteral("G1");
    a.sg = QStringLiteral("S1");
    dati.articoli.push_back(a);
    dati.prezzi.push_back({a.codice, 0, 1, 12.5, QVariant()});
    dati.descrizioni.push_back(
        {a.codice, 2, QStringLiteral("Screw; zinc"), QVariant(), QString(), QString()});
    velmora::fixtures::crea(dir.path(), dati);
    const QStringList home = {QStringLiteral("--home"), dir.path()};

    const CliRun wrong = cli(home + QStringList{QStringLiteral("sign-in"), QStringLiteral("--password"),
                                                QStringLiteral("bianchi")});
    EXPECT_NE(wrong.exitCode, 0);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("Invalid Password!")));
    EXPECT_NE(cli(home + QStringList{QStringLiteral("customer")}).exitCode, 0);

    const CliRun signIn =
        cli(home + QStringList{QStringLiteral("sign-in"), QStringLiteral("--password"),
                               QStringLiteral("rossi"), QStringLiteral("--language"), QStringLiteral("2")});
    ASSERT_EQ(signIn.exitCode, 0) << signIn.err.toStdString();
    const CliRun customer = cli(home + QStringList{QStringLiteral("customer")});
    EXPECT_EQ(customer.exitCode, 0);
    EXPECT_TRUE(customer.out.contains(QStringLiteral("Customer: 1001\n")));
    EXPECT_TRUE(customer.out.contains(QStringLiteral("Language: 2\n")));
    EXPECT_TRUE(customer.out.contains(QStringLiteral("Data_Listino: ") +
                                      QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))));

    const CliRun listino = cli(home + QStringList{QStringLiteral("listino"), QStringLiteral("--csv")});
    EXPECT_EQ(listino.exitCode, 0) << listino.err.toStdString();
    const QStringList lines = listino.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("CODICE;DESCRIZIONE;MEMO;")));
    EXPECT_TRUE(lines[1].startsWith(
        QStringLiteral("VT-1;\"Screw; zinc\";;PZ;;G1;S1;BG;12,50;0,00;0,00;12,50;12,50;0,00;")))
        << lines[1].toStdString();
}

// A sign-in killed in the middle of the price-list build leaves a database on which the next
// start asks for the password again.
TEST(Cli, KilledSignInAsksForThePasswordAgain) {
    QTemporaryDir dir;
    velmora::fixtures::crea(dir.path(), velmora::fixtures::realistico(20000, 7));
    const QStringList home = {QStringLiteral("--home"), dir.path()};

    QProcess signIn;
    signIn.start(QStringLiteral(VELMORA_CLI_PATH),
                 home + QStringList{QStringLiteral("sign-in"), QStringLiteral("--password"),
                                    QStringLiteral("ROSSI2024")});
    ASSERT_TRUE(signIn.waitForStarted());
    QByteArray err;
    while (!err.contains("Listino: 1000/") && signIn.state() == QProcess::Running) {
        signIn.waitForReadyRead(100);
        err += signIn.readAllStandardError();
    }
    ASSERT_EQ(signIn.state(), QProcess::Running) << "the build finished before it could be cut short";
    signIn.kill();
    signIn.waitForFinished();

    const CliRun customer = cli(home + QStringList{QStringLiteral("customer")});
    EXPECT_NE(customer.exitCode, 0);
    EXPECT_TRUE(customer.err.contains(QStringLiteral("asks for the password"))) << customer.err.toStdString();
    // And the password signs the customer in again.
    const CliRun again = cli(home + QStringList{QStringLiteral("sign-in"), QStringLiteral("--password"),
                                                QStringLiteral("ROSSI2024")});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(cli(home + QStringList{QStringLiteral("customer")}).exitCode, 0);
}

TEST(Cli, CatalogueRowsAsTheGridShowsThem) {
    QTemporaryDir dir;
    velmora::fixtures::Dati dati = velmora::fixtures::minimo();
    const struct {
        const char* codice;
        const char* descrizione;
        double prezzo;
        double codeNum;
    } articoli[] = {
        {"AB-1", "Vite zincata", 12.5, 1}, {"AB-2", "Bullone", 3, 2}, {"CD-3", "Dado zincato", 40, 3}};
    for (const auto& a : articoli) {
        velmora::fixtures::Articolo art;
        art.codice = QString::fromLatin1(a.codice);
        art.gr = QStringLiteral("G1");
        art.sg = QStringLiteral("S1");
        art.codeNum = a.codeNum;
        dati.articoli.push_back(art);
        dati.prezzi.push_back({art.codice, 0, 1, a.prezzo, QVariant()});
        dati.descrizioni.push_back(
            {art.codice, 0, QString::fromLatin1(a.descrizione), QVariant(), QString(), QString()});
    }
    velmora::fixtures::crea(dir.path(), dati);
    const QStringList home = {QStringLiteral("--home"), dir.path()};
    ASSERT_EQ(cli(home + QStringList{QStringLiteral("sign-in"), QStringLiteral("--password"),
                                     QStringLiteral("ROSSI")})
                  .exitCode,
              0);

    const auto codici = [&](const QStringList& args) {
        const CliRun run = cli(home + QStringList{QStringLiteral("catalogue")} + args);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        QStringList out;
        for (const QString& line : run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            out << line.section(QLatin1Char('\t'), 0, 0);
        }
        return out;
    };
    EXPECT_EQ(codici({QStringLiteral("--search"), QStringLiteral("zincat")}),
              (QStringList{QStringLiteral("AB-1"), QStringLiteral("CD-3")}));
    EXPECT_EQ(codici({QStringLiteral("--order"), QStringLiteral("4")}),
              (QStringList{QStringLiteral("AB-2"), QStringLiteral("AB-1"), QStringLiteral("CD-3")}));
    EXPECT_EQ(codici({QStringLiteral("--barcode"), QStringLiteral("801234500002")}),
              (QStringList{QStringLiteral("AB-2"), QStringLiteral("CD-3")}));
    EXPECT_EQ(codici({QStringLiteral("--price-from"), QStringLiteral("10"), QStringLiteral("--price-to"),
                      QStringLiteral("12,5")}),
              QStringList{QStringLiteral("AB-1")});
    EXPECT_EQ(codici({QStringLiteral("--favourites")}), QStringList());

    const CliRun row = cli(
        home + QStringList{QStringLiteral("catalogue"), QStringLiteral("--search"), QStringLiteral("AB-1")});
    EXPECT_EQ(row.out,
              QStringLiteral(
                  "AB-1\tAB-1\tVite zincata\t12,50\t\t\tPZ\t0\tBG\tG1\tS1\t0\t801234500001\tDisponibile\n"));
    const CliRun bad = cli(home + QStringList{QStringLiteral("catalogue"), QStringLiteral("--price-from"),
                                              QStringLiteral("dieci")});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("Error!")));
}

}  // namespace
