#include "app/Avvio.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/IstanzaUnica.h"

namespace velmora {
namespace {

// Records every call start-up makes, in order, and answers as told.
class Registro final : public Operazioni_Avvio {
public:
    explicit Registro(Sessione& sessione) : m_sessione(sessione) {}

    bool Controlla_Istanza() override {
        calls << QStringLiteral("Controlla_Istanza");
        return unicaCopia;
    }
    void Aggiorna_Programma(const QString& modo) override {
        calls << QStringLiteral("Aggiorna_Programma ") + modo;
    }
    bool Aggiorna_Dati() override {
        calls << QStringLiteral("Aggiorna_Dati");
        return aggiornaChiude;
    }
    void FormClose() override { calls << QStringLiteral("FormClose"); }
    void Chiudi_Programma() override {
        calls << QStringLiteral("Chiudi_Programma");
        m_sessione.connessione().close(true);
    }
    bool Listino_Presente() override {
        calls << QStringLiteral("Listino_Presente");
        return listinoPresente;
    }
    void Riprendi_Cliente() override { calls << QStringLiteral("Riprendi_Cliente"); }
    void Chiedi_Password() override {
        calls << QStringLiteral("Chiedi_Password");
        m_sessione.Programma_Terminato = passwordTermina;
    }
    bool Applica_Lingua() override {
        calls << QStringLiteral("Applica_Lingua");
        return true;
    }
    void Mostra_Catalogo() override { calls << QStringLiteral("Mostra_Catalogo"); }
    void Imposta_Formati() override { calls << QStringLiteral("Imposta_Formati"); }
    void Carica_Layout_Griglia(const QString& file, int) override {
        calls << QStringLiteral("Layout ") + file;
    }
    void Apri_Tabelle() override { calls << QStringLiteral("Apri_Tabelle"); }
    void Imposta_Titolo(const QString& titolo) override { titoloFinestra = titolo; }
    void Posiziona_Barra_Stato() override { calls << QStringLiteral("Posiziona_Barra_Stato"); }
    void Prepara_Query_Catalogo() override { calls << QStringLiteral("Prepara_Query_Catalogo"); }

    QStringList calls;
    QString titoloFinestra;
    bool unicaCopia = true;
    bool aggiornaChiude = false;
    bool listinoPresente = true;
    bool passwordTermina = false;

private:
    Sessione& m_sessione;
};

void writeFile(const QString& path, const QByteArray& content = QByteArray("x")) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A complete installation folder: a real database, the installation and client markers.
class AvvioTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.isValid());
        m_root = m_parent.filePath(QStringLiteral("VELMORA"));
        ASSERT_TRUE(QDir().mkpath(m_root));
        {
            db::Connection db;
            db.create(file(QStringLiteral("DATI.IDB")));
            db.executeImmediate(QStringLiteral("CREATE TABLE T_PROGR (MOLL_MATASSE INTEGER)"));
        }
        writeFile(file(QStringLiteral("AGGPGM.INI")));
        writeFile(file(QStringLiteral("FB2.TXT")));
    }

    QString file(const QString& name) const { return m_root + QLatin1Char('/') + name; }

    // Makes a zip archive of the given files (relative paths inside a staging folder).
    void makeZip(const QString& archive, const QMap<QString, QByteArray>& entries) {
        QTemporaryDir staging;
        QStringList names;
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            const QString path = staging.filePath(it.key());
            QDir().mkpath(QFileInfo(path).absolutePath());
            writeFile(path, it.value());
            names << it.key();
        }
        QProcess zip;
        zip.setWorkingDirectory(staging.path());
        zip.start(QStringLiteral("zip"), QStringList{QStringLiteral("-q"), archive} + names);
        ASSERT_TRUE(zip.waitForFinished());
        ASSERT_EQ(zip.exitCode(), 0) << zip.readAllStandardError().toStdString();
    }

    QTemporaryDir m_parent;
    QString m_root;
    ScriptedBoxes m_boxes;
    ScriptedShell m_shell;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(10, 0))};
};

TEST_F(AvvioTest, CompleteInstallationConnectsAndShows) {
    writeFile(file(QStringLiteral("AGGNEW.TXT")));
    Sessione sessione{InstallFolder(m_root), m_boxes, m_shell, m_clock};
    Registro registro(sessione);
    Avvio avvio(sessione, registro);

    ASSERT_TRUE(avvio.FormCreate());
    EXPECT_EQ(registro.calls,
              (QStringList{QStringLiteral("Controlla_Istanza"), QStringLiteral("Posiziona_Barra_Stato"),
                           QStringLiteral("Prepara_Query_Catalogo")}));
    EXPECT_EQ(registro.titoloFinestra, QStringLiteral("Velmora v. ") + Sessione::Versione_Programma());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$"))
                    .match(Sessione::Versione_Programma())
                    .hasMatch());
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("AGGNEW.TXT"))));
    EXPECT_TRUE(sessione.connessione().isOpen());
    EXPECT_TRUE(sessione.Ricerca_Parziale);
    EXPECT_FALSE(sessione.Chiusura_Pendente);
    EXPECT_TRUE(m_boxes.shown().isEmpty());

    registro.calls.clear();
    avvio.FormShow();
    EXPECT_EQ(registro.calls,
              (QStringList{QStringLiteral("Listino_Presente"), QStringLiteral("Riprendi_Cliente"),
                           QStringLiteral("Applica_Lingua"), QStringLiteral("Mostra_Catalogo"),
                           QStringLiteral("Imposta_Formati"), QStringLiteral("Layout GRIGLIA_LIST.CFG"),
                           QStringLiteral("Layout GRIGLIA_ORD.CFG"), QStringLiteral("Apri_Tabelle")}));

    registro.calls.clear();
    registro.listinoPresente = false;
    registro.passwordTermina = true;
    avvio.FormShow();
    EXPECT_EQ(registro.calls,
              (QStringList{QStringLiteral("Listino_Presente"), QStringLiteral("Chiedi_Password")}));
}

TEST_F(AvvioTest, MissingDatabaseOrInstallationMarkerRunsTheUpdateAndEnds) {
    struct Case {
        bool database;
        bool marker;
        int updates;
    } cases[] = {{false, true, 1}, {true, false, 1}, {false, false, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "database " << c.database << " marker " << c.marker);
        const QString temp = file(QStringLiteral("keep.IDB"));
        QFile::copy(file(QStringLiteral("DATI.IDB")), temp);
        if (!c.database) {
            QFile::remove(file(QStringLiteral("DATI.IDB")));
        }
        if (!c.marker) {
            QFile::remove(file(QStringLiteral("AGGPGM.INI")));
        }
        Sessione sessione{InstallFolder(m_root), m_boxes, m_shell, m_clock};
        Registro registro(sessione);
        Avvio avvio(sessione, registro);
        ASSERT_TRUE(avvio.FormCreate());
        EXPECT_EQ(registro.calls.count(QStringLiteral("Aggiorna_Dati")), c.updates);
        EXPECT_EQ(registro.calls.count(QStringLiteral("Chiudi_Programma")), c.updates);
        EXPECT_TRUE(sessione.Chiusura_Pendente);

        registro.calls.clear();
        avvio.FormShow();
        EXPECT_EQ(registro.calls, QStringList{QStringLiteral("Chiudi_Programma")});
        registro.calls.clear();
        avvio.FormActivate();
        EXPECT_EQ(registro.calls, QStringList{QStringLiteral("Chiudi_Programma")});

        sessione.connessione().close();
        QFile::remove(file(QStringLiteral("DATI.IDB")));
        QFile::rename(temp, file(QStringLiteral("DATI.IDB")));
        writeFile(file(QStringLiteral("AGGPGM.INI")));
        m_boxes.clear();
    }
}

TEST_F(AvvioTest, MissingClientMarkerMovesTheLibraryAsideAndForcesTheProgramUpdate) {
    QFile::remove(file(QStringLiteral("FB2.TXT")));
    writeFile(file(QString::fromLatin1(InstallFolder::kClientLibraryOld)), "vecchissima");
    // The library itself is not a usable client here, so it is a file the connection never loads.
    writeFile(file(QString::fromLatin1(InstallFolder::kClientLibrary)), "corrente");
    Sessione sessione{InstallFolder(m_root), m_boxes, m_shell, m_clock};
    Registro registro(sessione);
    Avvio avvio(sessione, registro);
    ASSERT_TRUE(avvio.FormCreate());
    EXPECT_EQ(registro.calls.mid(0, 3),
              (QStringList{QStringLiteral("Aggiorna_Programma SEMPRE"), QStringLiteral("FormClose"),
                           QStringLiteral("Controlla_Istanza")}));
    EXPECT_FALSE(QFile::exists(file(QString::fromLatin1(InstallFolder::kClientLibrary))));
    EXPECT_EQ(readFile(file(QString::fromLatin1(InstallFolder::kClientLibraryOld))), QByteArray("corrente"));
    // Start-up goes on normally and connects with the system's client.
    EXPECT_TRUE(sessione.connessione().isOpen());
}

TEST_F(AvvioTest, ClientArchiveIsUnpackedAskingBeforeOverwriting) {
    writeFile(file(QStringLiteral("leggimi.txt")), "vecchio");
    makeZip(file(QStringLiteral("FB2.zip")), {{QStringLiteral("leggimi.txt"), "nuovo"},
                                              {QStringLiteral("intl/fbintl.conf"), "conf"},
                                              {QStringLiteral("plugins/note.txt"), "note"}});
    m_boxes.answerConfirm(false);  // keep the existing leggimi.txt
    Sessione sessione{InstallFolder(m_root), m_boxes, m_shell, m_clock};
    Registro registro(sessione);
    Avvio avvio(sessione, registro);
    ASSERT_TRUE(avvio.FormCreate());
    // No library to delete: "Errore", and the unpacking still runs.
    EXPECT_EQ(m_boxes.shown(), (QStringList{QStringLiteral("Errore"), QStringLiteral("Confermi Overwrite")}));
    EXPECT_EQ(readFile(file(QStringLiteral("leggimi.txt"))), QByteArray("vecchio"));
    EXPECT_EQ(readFile(file(QStringLiteral("intl/fbintl.conf"))), QByteArray("conf"));
    EXPECT_EQ(readFile(file(QStringLiteral("plugins/note.txt"))), QByteArray("note"));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("FB2.zip"))));
    EXPECT_TRUE(sessione.connessione().isOpen());
}

TEST_F(AvvioTest, ClientArchiveReplacesTheLibraryWithoutAWord) {
    writeFile(file(QString::fromLatin1(InstallFolder::kClientLibrary)), "old library");
    QFile system(QStringLiteral("/usr/lib/x86_64-linux-gnu/libfbclient.so.2"));
    ASSERT_TRUE(system.open(QIODevice::ReadOnly));
    const QByteArray library = system.readAll();
    makeZip(file(QStringLiteral("FB2.zip")), {{QString::fromLatin1(InstallFolder::kClientLibrary), library}});
    Sessione sessione{InstallFolder(m_root), m_boxes, m_shell, m_clock};
    Registro registro(sessione);
    Avvio avvio(sessione, registro);
    ASSERT_TRUE(avvio.FormCreate());
    EXPECT_FALSE(m_boxes.shown().contains(QStringLiteral("Errore")));
    EXPECT_EQ(readFile(file(QString::fromLatin1(InstallFolder::kClientLibrary))), library);
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("FB2.zip"))));
    EXPECT_EQ(sessione.libreriaClient(), file(QString::fromLatin1(InstallFolder::kClientLibrary)));
    EXPECT_EQ(sessione.connessione().client()->libraryPath(), sessione.libreriaClient());
    EXPECT_TRUE(sessione.connessione().isOpen());
}

TEST_F(AvvioTest, DamagedClientArchiveStopsCreationAndStays) {
    writeFile(file(QStringLiteral("FB2.zip")), "PK\x03\x04 this is not a zip archive at all");
    Sessione sessione{InstallFolder(m_root), m_boxes, m_shell, m_clock};
    Registro registro(sessione);
    Avvio avvio(sessione, registro);
    EXPECT_TRUE(avvio.FormCreate());
    ASSERT_EQ(m_boxes.errors().size(), 1);
    EXPECT_TRUE(registro.calls.isEmpty());  // the rest of creation is skipped
    EXPECT_FALSE(sessione.connessione().isOpen());
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("FB2.zip"))));
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("DATI.IDB"))));
}

TEST_F(AvvioTest, ArchiveEntriesOutsideTheFolderAreRefused) {
    const QString archive = file(QStringLiteral("FB2.zip"));
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"),
                                                      QStringLiteral("import zipfile,sys\n"
                                                                     "z=zipfile.ZipFile(sys.argv[1],'w')\n"
                                                                     "z.writestr('../fuori.txt','evil')\n"
                                                                     "z.writestr('buono.txt','good')\n"
                                                                     "z.close()"),
                                                      archive});
    ASSERT_TRUE(python.waitForFinished());
    ASSERT_EQ(python.exitCode(), 0);
    Sessione sessione{InstallFolder(m_root), m_boxes, m_shell, m_clock};
    Registro registro(sessione);
    Avvio avvio(sessione, registro);
    EXPECT_TRUE(avvio.FormCreate());
    EXPECT_FALSE(QFile::exists(m_parent.filePath(QStringLiteral("fuori.txt"))));
    EXPECT_EQ(readFile(file(QStringLiteral("buono.txt"))), QByteArray("good"));
    ASSERT_EQ(m_boxes.errors().size(), 1);
    EXPECT_TRUE(m_boxes.errors().first().contains(QStringLiteral("../fuori.txt")));
    EXPECT_TRUE(sessione.connessione().isOpen());
}

TEST_F(AvvioTest, SecondCopyEndsBeforeTheDatabase) {
    Sessione sessione{InstallFolder(m_root), m_boxes, m_shell, m_clock};
    Registro registro(sessione);
    registro.unicaCopia = false;
    Avvio avvio(sessione, registro);
    EXPECT_FALSE(avvio.FormCreate());
    EXPECT_FALSE(sessione.connessione().isOpen());
    EXPECT_EQ(registro.calls, QStringList{QStringLiteral("Controlla_Istanza")});
}

TEST(IstanzaUnica, SecondCopyRaisesTheFirst) {
    const QString name =
        nomeIstanza(QStringLiteral("velmora-test-%1").arg(QCoreApplication::applicationPid()));
    IstanzaUnica first(name);
    ASSERT_TRUE(first.Controlla());
    QSignalSpy raised(&first, &IstanzaUnica::ripristinaRichiesto);
    IstanzaUnica second(name);
    EXPECT_FALSE(second.Controlla());
    EXPECT_TRUE(raised.wait(3000));
}

TEST_F(AvvioTest, TwentyOneDayRule) {
    Sessione sessione{InstallFolder(m_root), m_boxes, m_shell, m_clock};
    Registro registro(sessione);
    Avvio avvio(sessione, registro);
    ASSERT_TRUE(avvio.FormCreate());
    registro.calls.clear();

    sessione.Data_Listino = m_clock.today().addDays(-21);
    avvio.FormActivate();
    EXPECT_TRUE(registro.calls.isEmpty());

    sessione.Data_Listino = m_clock.today().addDays(-22);
    avvio.FormActivate();
    avvio.FormActivate();
    EXPECT_EQ(registro.calls,
              (QStringList{QStringLiteral("Aggiorna_Dati"), QStringLiteral("Aggiorna_Dati")}));

    registro.calls.clear();
    registro.aggiornaChiude = true;
    avvio.FormActivate();
    EXPECT_EQ(registro.calls,
              (QStringList{QStringLiteral("Aggiorna_Dati"), QStringLiteral("Chiudi_Programma")}));

    // No build date recorded: 01/01/1900, the rule always fires; without a database it never does.
    registro.calls.clear();
    registro.aggiornaChiude = false;
    sessione.Data_Listino = QDate(1900, 1, 1);
    EXPECT_TRUE(avvio.Listino_Scaduto());
    sessione.connessione().close();
    QFile::remove(file(QStringLiteral("DATI.IDB")));
    avvio.FormActivate();
    EXPECT_TRUE(registro.calls.isEmpty());
}

TEST_F(AvvioTest, DamagedDatabaseIsReportedAndKept) {
    writeFile(file(QStringLiteral("DATI.IDB")), QByteArray(32768, '\x5a'));
    Sessione sessione{InstallFolder(m_root), m_boxes, m_shell, m_clock};
    Registro registro(sessione);
    Avvio avvio(sessione, registro);
    EXPECT_TRUE(avvio.FormCreate());
    ASSERT_EQ(m_boxes.errors().size(), 1);
    EXPECT_FALSE(m_boxes.errors().first().isEmpty());
    EXPECT_FALSE(registro.calls.contains(QStringLiteral("Prepara_Query_Catalogo")));
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("DATI.IDB"))));
}

}  // namespace
}  // namespace velmora
