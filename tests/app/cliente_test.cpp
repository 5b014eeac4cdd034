#include "app/Cliente.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "catalogue/Tabelle_Lavoro.h"
#include "fixtures/Fornitore.h"

namespace velmora {
namespace {

// Records what the sign-in asks of the window.
class Finestra final : public Operazioni_Cliente {
public:
    explicit Finestra(Sessione& sessione) : m_sessione(sessione) {}
    void Chiudi_Programma() override {
        calls << QStringLiteral("Chiudi_Programma");
        m_sessione.connessione().close(true);
        m_sessione.Programma_Terminato = true;
    }
    QString Titolo() const override { return titolo; }
    void Imposta_Titolo(const QString& t) override { titolo = t; }
    void Mostra_Fasce(bool visibile) override { fasce = visibile; }
    void Chiudi_Catalogo() override { calls << QStringLiteral("Chiudi_Catalogo"); }
    void Password_Errata() override { calls << QStringLiteral("Password_Errata"); }
    void Tabelle_Aperte() override { calls << QStringLiteral("Tabelle_Aperte"); }
    void Crea_Listino() override {
        calls << QStringLiteral("Crea_Listino");
        if (listinoFallisce) {
            throw db::DatabaseError(QStringLiteral("Impossibile individuare il prezzo di vendita"));
        }
    }
    void Segna_Preferiti() override { calls << QStringLiteral("Segna_Preferiti"); }
    void Ripristina_Ordini() override { calls << QStringLiteral("Ripristina_Ordini"); }

    QStringList calls;
    QString titolo = QStringLiteral("Velmora v. 1.0.0.1");
    bool fasce = false;
    bool listinoFallisce = false;

private:
    Sessione& m_sessione;
};

class ClienteTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = m_dir.filePath(QStringLiteral("VELMORA"));
        m_dati = fixtures::minimo();
        fixtures::Cliente verdi = m_dati.clienti.front();
        verdi.codice = 1002;
        verdi.password = QStringLiteral("VERDI");
        verdi.ragsoc = QStringLiteral("Verdi Utensili");
        verdi.scQta = QStringLiteral("T");
        m_dati.clienti.push_back(verdi);
    }

    // Builds the database and opens a new session on it.
    void apri() {
        if (!QFile::exists(m_root + QStringLiteral("/DATI.IDB"))) {
            fixtures::crea(m_root, m_dati);
        }
        m_sessione = std::make_unique<Sessione>(InstallFolder(m_root), m_boxes, m_shell, m_clock);
        m_sessione->Connetti();
        m_finestra = std::make_unique<Finestra>(*m_sessione);
        m_cliente = std::make_unique<Gestione_Cliente>(*m_sessione, *m_finestra);
    }

    QVariant scalar(const QString& sql) {
        db::Statement query(m_sessione->connessione(), sql);
        return query.first() ? query.value(0) : QVariant();
    }

    QTemporaryDir m_dir;
    QString m_root;
    fixtures::Dati m_dati;
    ScriptedBoxes m_boxes;
    ScriptedShell m_shell;
    FixedClock m_clock{QDateTime(QDate(2026, 12, 10), QTime(9, 30))};
    std::unique_ptr<Sessione> m_sessione;
    std::unique_ptr<Finestra> m_finestra;
    std::unique_ptr<Gestione_Cliente> m_cliente;
};

TEST_F(ClienteTest, SignInBindsTheDatabaseToOneCustomer) {
    apri();
    EXPECT_FALSE(m_cliente->Listino_Presente());
    m_cliente->Accesso_Cliente(QStringLiteral("  ROSSI "), 3);
    ASSERT_FALSE(m_sessione->Programma_Terminato) << m_boxes.shown().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(m_finestra->calls,
              (QStringList{QStringLiteral("Chiudi_Catalogo"), QStringLiteral("Tabelle_Aperte"),
                           QStringLiteral("Ripristina_Ordini"), QStringLiteral("Crea_Listino"),
                           QStringLiteral("Segna_Preferiti")}));
    EXPECT_EQ(m_sessione->Codice_Cliente, 1001);
    EXPECT_EQ(m_sessione->Lingua_Corrente, 3);
    EXPECT_EQ(m_sessione->Zona_Cliente, QStringLiteral("NORD"));
    EXPECT_EQ(m_sessione->Data_Listino, QDate(2026, 12, 10));
    EXPECT_EQ(m_finestra->titolo, QStringLiteral("Velmora v. 1.0.0.1  -  Rossi Ferramenta S.r.l."));
    EXPECT_FALSE(m_finestra->fasce);
    EXPECT_TRUE(m_boxes.shown().isEmpty());

    // Reopened as the next start sees it.
    m_sessione->connessione().close(true);
    m_sessione->Connetti();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM T_AN4")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT CLI_LINGUA FROM T_AN4 WHERE CLI_CODICE = 1001")).toInt(), 3);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM T_ORDINI WHERE CLIENTE = 1001")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM T_ORDINI")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT MOLL_MATASSE FROM T_PROGR")).toInt(), 1001);
    EXPECT_EQ(scalar(QStringLiteral("SELECT ULTIMA_DATA_BOLLATO FROM T_PROGR")).toDateTime().date(),
              QDate(2026, 12, 10));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM LISTINO")).toInt(), 0);
    // The working tables' indexes, with the price-list date descending.
    db::Statement indici(
        m_sessione->connessione(),
        QStringLiteral("SELECT TRIM(RDB$INDEX_NAME), RDB$UNIQUE_FLAG, RDB$INDEX_TYPE FROM RDB$INDICES "
                       "WHERE RDB$RELATION_NAME IN ('LISTINO', 'ORDINI', 'T_ORDINI') "
                       "ORDER BY RDB$INDEX_NAME"));
    indici.open();
    QStringList nomi;
    while (indici.next()) {
        QString nome = indici.value(0).toString();
        if (indici.value(1).toInt() == 1) {
            nome += QStringLiteral(" unique");
        }
        if (indici.value(2).toInt() == 1) {
            nome += QStringLiteral(" desc");
        }
        nomi << nome;
    }
    EXPECT_EQ(nomi, (QStringList{QStringLiteral("IDX_BARCODE"), QStringLiteral("IDX_CLI unique"),
                                 QStringLiteral("IDX_CODICE unique"), QStringLiteral("IDX_DATA_LIST desc"),
                                 QStringLiteral("IDX_DESCRIZIONE"), QStringLiteral("IDX_GR"),
                                 QStringLiteral("IDX_GRUPPONE"), QStringLiteral("IDX_NETTO"),
                                 QStringLiteral("IDX_PREZZO_LIST"), QStringLiteral("IDX_PROGR unique")}));
    EXPECT_TRUE(m_cliente->Listino_Presente());
}

TEST_F(ClienteTest, PasswordsThatSignNobodyIn) {
    struct Case {
        const char* password;
        bool errata;
    } cases[] = {{"", false}, {"    ", false}, {"NESSUNO", true}, {"rossi", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password);
        apri();
        m_cliente->Accesso_Cliente(QString::fromLatin1(c.password), 0);
        EXPECT_TRUE(m_sessione->Programma_Terminato);
        EXPECT_EQ(m_finestra->calls.contains(QStringLiteral("Password_Errata")), c.errata);
        EXPECT_EQ(m_sessione->Password_Errata, c.errata);
        EXPECT_FALSE(m_boxes.shown().contains(QStringLiteral("DataBase not valid! Please repeat Download!")));
        // The database is as it was.
        m_sessione->Connetti();
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM T_AN4")).toInt(), 2);
        EXPECT_FALSE(
            Colonna_Presente(m_sessione->connessione(), QStringLiteral("LISTINO"), QStringLiteral("CODICE")));
        m_sessione->connessione().close();
    }
}

TEST_F(ClienteTest, SharedPasswordSignsInTheFirstCustomerFound) {
    m_dati.clienti[1].password = QStringLiteral("ROSSI");
    apri();
    m_cliente->Accesso_Cliente(QStringLiteral("ROSSI"), 2);
    ASSERT_FALSE(m_sessione->Programma_Terminato);
    EXPECT_EQ(m_sessione->Codice_Cliente, 1001);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM T_AN4")).toInt(), 1);
}

TEST_F(ClienteTest, NextStartResumesTheCustomer) {
    apri();
    m_cliente->Accesso_Cliente(QStringLiteral("VERDI"), 1);
    ASSERT_FALSE(m_sessione->Programma_Terminato);
    EXPECT_TRUE(m_finestra->fasce);  // CLI_SC_QTA "T"
    m_sessione->connessione().close(true);

    apri();
    ASSERT_TRUE(m_cliente->Listino_Presente());
    m_cliente->Riprendi_Cliente();
    ASSERT_FALSE(m_sessione->Programma_Terminato);
    EXPECT_EQ(m_sessione->Codice_Cliente, 1002);
    EXPECT_EQ(m_sessione->Lingua_Corrente, 1);
    EXPECT_EQ(m_sessione->Data_Listino, QDate(2026, 12, 10));
    EXPECT_EQ(m_sessione->precisione.decimaliUnitari, 2);
    EXPECT_EQ(m_finestra->titolo, QStringLiteral("Velmora v. 1.0.0.1  -  Verdi Utensili    -    10/12/2026"));
    EXPECT_TRUE(m_finestra->fasce);
    EXPECT_EQ(m_sessione->Listino_Cliente(), 1);
}

TEST_F(ClienteTest, ResumeWithoutBuildDateOrWithSmallLetterBandsFlag) {
    m_dati.clienti[0].scQta = QStringLiteral("t");
    apri();
    m_cliente->Accesso_Cliente(QStringLiteral("ROSSI"), 0);
    m_sessione->connessione().executeImmediate(
        QStringLiteral("UPDATE T_PROGR SET ULTIMA_DATA_BOLLATO = NULL"));
    m_sessione->connessione().close(true);

    apri();
    m_cliente->Riprendi_Cliente();
    EXPECT_TRUE(m_finestra->titolo.endsWith(QStringLiteral("    -    ?\?/?\?/?\?\?\?")));
    EXPECT_EQ(m_sessione->Data_Listino, QDate(1900, 1, 1));
    EXPECT_FALSE(m_finestra->fasce);
}

TEST_F(ClienteTest, StoredCustomerNoLongerThere) {
    apri();
    m_cliente->Accesso_Cliente(QStringLiteral("ROSSI"), 0);
    m_sessione->connessione().executeImmediate(QStringLiteral("UPDATE T_PROGR SET MOLL_MATASSE = 4242"));
    m_sessione->connessione().close(true);

    apri();
    m_cliente->Riprendi_Cliente();
    EXPECT_TRUE(m_sessione->Programma_Terminato);
    EXPECT_EQ(m_boxes.shown(), QStringList{QStringLiteral("Customer Code not Found!")});
    EXPECT_TRUE(QFile::exists(m_root + QStringLiteral("/DATI.IDB")));
}

TEST_F(ClienteTest, UnreadableTablesDeclareTheDatabaseInvalid) {
    struct Case {
        const char* sql;
        const char* message;
        bool signIn;  // the failure shows at sign-in, else when the tables open
    } cases[] = {
        {"DROP TABLE T_AN4", "Unable to Open Table T_AN4!", true},
        {"DROP TABLE T_ORDINI", "Unable to Open Table T_ORDINI!", false},
        {"DROP TABLE ORDINI", "Unable to Open Table ORDINI!", false},
        {"DROP TABLE LISTINO", "Unable to Open Table LISTINO!", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        QFile::remove(m_root + QStringLiteral("/DATI.IDB"));
        m_boxes.clear();
        apri();
        QFile archive(m_root + QStringLiteral("/dbvelmora.zip"));
        ASSERT_TRUE(archive.open(QIODevice::WriteOnly));
        archive.close();
        if (c.signIn) {
            m_sessione->connessione().executeImmediate(QString::fromLatin1(c.sql));
            m_sessione->connessione().commit();
            m_cliente->Accesso_Cliente(QStringLiteral("ROSSI"), 0);
        } else {
            m_cliente->Accesso_Cliente(QStringLiteral("ROSSI"), 0);
            ASSERT_FALSE(m_sessione->Programma_Terminato);
            m_sessione->connessione().close(true);
            apri();
            m_sessione->connessione().executeImmediate(QString::fromLatin1(c.sql));
            m_sessione->connessione().commit();
            m_cliente->Apri_Tabelle();
        }
        EXPECT_TRUE(m_sessione->Programma_Terminato);
        EXPECT_EQ(m_boxes.shown(),
                  (QStringList{QString::fromLatin1(c.message),
                               QStringLiteral("DataBase not valid! Please repeat Download!")}));
        EXPECT_FALSE(QFile::exists(m_root + QStringLiteral("/DATI.IDB")));
        EXPECT_FALSE(QFile::exists(m_root + QStringLiteral("/dbvelmora.zip")));
    }
}

TEST_F(ClienteTest, HeaderRowIsAddedOnlyWhenMissing) {
    apri();
    m_cliente->Accesso_Cliente(QStringLiteral("ROSSI"), 0);
    m_cliente->Apri_Tabelle();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM T_ORDINI")).toInt(), 1);
    m_sessione->connessione().executeImmediate(QStringLiteral("DELETE FROM T_ORDINI"));
    m_cliente->Apri_Tabelle();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM T_ORDINI")).toInt(), 1);
}

TEST_F(ClienteTest, SignInCutShortAsksForThePasswordAgain) {
    apri();
    m_finestra->listinoFallisce = true;
    EXPECT_THROW(m_cliente->Accesso_Cliente(QStringLiteral("ROSSI"), 0), db::DatabaseError);
    // The run goes on with the tables as they are; what it did is committed at the end.
    EXPECT_FALSE(m_sessione->Programma_Terminato);
    m_sessione->connessione().close(true);

    apri();
    EXPECT_FALSE(m_cliente->Listino_Presente());
    m_cliente->Accesso_Cliente(QStringLiteral("ROSSI"), 0);
    EXPECT_FALSE(m_sessione->Programma_Terminato);
    EXPECT_TRUE(m_cliente->Listino_Presente());
}

TEST_F(ClienteTest, WorkingTablesKeepExistingSubgroupFlagsAndRefuseDuplicates) {
    apri();
    db::Connection& db = m_sessione->connessione();
    db.executeImmediate(QStringLiteral("ALTER TABLE T_AN3_4LG ADD SGL_STAT_3 VARCHAR(1)"));
    db.commit();
    db.executeImmediate(QStringLiteral("UPDATE T_AN3_4LG SET SGL_STAT_3 = 'T'"));
    ASSERT_TRUE(Crea_Tabella_Listino(db, m_boxes));
    ASSERT_TRUE(Crea_Tabelle_Ordini(db, m_boxes));
    db.commit();
    EXPECT_TRUE(m_boxes.shown().isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM T_AN3_4LG WHERE SGL_STAT_3 = 'T'")).toInt(), 4);

    db.executeImmediate(QStringLiteral("INSERT INTO LISTINO (CODICE) VALUES ('A')"));
    EXPECT_THROW(db.executeImmediate(QStringLiteral("INSERT INTO LISTINO (CODICE) VALUES ('A')")),
                 db::DatabaseError);
    db.executeImmediate(QStringLiteral("INSERT INTO ORDINI (CLIENTE, PROGR) VALUES (1, 1)"));
    EXPECT_THROW(db.executeImmediate(QStringLiteral("INSERT INTO ORDINI (CLIENTE, PROGR) VALUES (1, 1)")),
                 db::DatabaseError);
    db.executeImmediate(QStringLiteral("INSERT INTO ORDINI (CLIENTE, PROGR) VALUES (2, 1)"));
}

}  // namespace
}  // namespace velmora
