// The supplier database builder that the other tests and the demo stand on.
#include "fixtures/SupplierDb.h"

#include <map>
#include <set>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using db::Connection;
using db::DatabaseError;
using db::Statement;
using fixtures::SupplierData;

const QDateTime kDate(QDate(2024, 5, 17), QTime(0, 0));

// A small data set whose every row the tests know.
SupplierData smallData() {
    SupplierData d;
    fixtures::Customer rossi;
    rossi.code = 1001;
    rossi.password = QStringLiteral("ROSSI");
    rossi.ragsoc = QStringLiteral("Rossi S.r.l.");
    rossi.address = QStringLiteral("Via Roma 1");
    rossi.scQta = QStringLiteral("T");
    rossi.listino = 2;
    rossi.dipendente = 10;
    fixtures::Customer bauer = rossi;
    bauer.code = 1002;
    bauer.password = QStringLiteral("BAUER");
    bauer.ragsoc = QStringLiteral("Bauer Gmbh");
    bauer.ragsoc2 = QStringLiteral("Zweigstelle Süd");
    bauer.lingua = 3;
    bauer.dipendente.reset();
    d.customers = {rossi, bauer};
    d.employees = {{10, QStringLiteral("Giulia Bianchi"), QStringLiteral("giulia@velmora.example"), std::nullopt}};

    fixtures::Article a;
    a.code = QStringLiteral("AB-1");
    a.gr = QStringLiteral("G1");
    a.sg = QStringLiteral("S1");
    a.codeNum = 42;
    a.metri1 = 0.25;
    a.peso = 1.5;
    a.qtaConf = 12;
    fixtures::Article b;
    b.code = QStringLiteral("AB 2");
    b.gr = QStringLiteral("G2");
    b.stato = QStringLiteral("4");
    b.riservCli = 1001;
    fixtures::Article c;
    c.code = QStringLiteral("AB/3");
    c.gr = QStringLiteral("G1");
    c.sg = QStringLiteral("S1");
    c.stato = QStringLiteral("3");
    d.articles = {a, b, c};
    d.descriptions = {
        {QStringLiteral("AB-1"), 0, QStringLiteral("Vite per legno 4x40"), QStringLiteral("Riga 1\r\nRiga 2"),
         QStringLiteral("Vite"), QStringLiteral("4x40")},
        {QStringLiteral("AB-1"), 2, QStringLiteral("Wood screw 4x40"), std::nullopt, std::nullopt, std::nullopt},
        {QStringLiteral("AB 2"), 2, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
    };
    d.listPrices = {
        {QStringLiteral("AB-1"), 0, 2, 20.0, kDate},
        {QStringLiteral("AB-1"), 0, 1, 18.0, std::nullopt},
        {QStringLiteral("AB-1"), 1, 2, 19.0, kDate},
        {QStringLiteral("AB 2"), 0, 2, std::nullopt, kDate},
    };
    d.specialPrices = {{1001, 2, QStringLiteral("AB-1"), 10.0}, {1001, 2, QStringLiteral("AB 2"), std::nullopt}};
    d.groupDiscounts = {{1001, QStringLiteral("G1"), 10.0, 5.0}, {1001, QStringLiteral("G2"), 7.0, std::nullopt}};
    d.groups = {{QStringLiteral("G1"), QStringLiteral("BG")}, {QStringLiteral("G2"), std::nullopt}};
    d.bigGroupTexts = {{QStringLiteral("BG"), 0, QStringLiteral("Ferramenta")}, {QStringLiteral("BG"), 2, QStringLiteral("Hardware")}};
    d.subgroupTexts = {{QStringLiteral("G1"), QStringLiteral("S1"), 0, QStringLiteral("Viti")}};
    d.bigGroups = {{QStringLiteral("BG"), std::nullopt}, {QStringLiteral("BX"), QStringLiteral("T")}};
    d.articleBands = {{QStringLiteral("AB-1"), 2, 1, 10, 49.99, 3}, {QStringLiteral("AB-1"), 2, 2, 50, 999, 5}};
    d.subgroupBands = {{QStringLiteral("G1"), QStringLiteral("S1"), 2, 1, 20, 99, 2}};
    d.cumulativeBands = {{QStringLiteral("G1"), QStringLiteral("S1"), 2, 1, 100, 500, 4}};
    d.progr->ean = {8, 0, 1, 2, 3, 4, 5};
    d.progr->divDecArUn = 3;
    return d;
}

int count(Connection& db, const QString& sql) {
    Statement query(db, sql);
    return query.first() ? query.value(0).toInt() : -1;
}

class SupplierDbTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    // Builds the data and opens the result.
    void open(const SupplierData& data) {
        const QString path = fixtures::build(m_dir.path(), data);
        EXPECT_EQ(path, m_dir.filePath(QStringLiteral("DATI.IDB")));
        m_db.open(path);
    }

    QTemporaryDir m_dir;
    Connection m_db;
};

TEST_F(SupplierDbTest, BuildReplacesAnOldFileWithADialectOneDatabaseOfExactlyTheRows) {
    QFile old(m_dir.filePath(QStringLiteral("DATI.IDB")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4096, 'x'));
    old.close();

    open(smallData());
    EXPECT_EQ(m_db.databaseDialect(), 1);
    const std::pair<const char*, int> tables[] = {
        {"T_AN4", 2},         {"T_DIPEND", 1},   {"T_AN7", 3},         {"T_AN7_PR", 1},         {"T_AN7_LG", 3},
        {"T_AN7_LS", 4},      {"T_AN2_12", 2},   {"FIX_SCONTI", 2},    {"T_AN3_3", 2},          {"R_GRUPPONI", 2},
        {"T_AN3_4LG", 1},     {"T_GRUPPONI", 2}, {"T_AN7FASCE_LS", 2}, {"T_AN3_4FASCE_LS", 1}, {"SG_SCQTA_CUM", 1},
        {"T_PROGR", 1},       {"VELMORA_LINGUE", 4},
    };
    for (const auto& [table, rows] : tables) {
        EXPECT_EQ(count(m_db, QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table)), rows) << table;
    }
}

TEST_F(SupplierDbTest, ValuesAndNullsReadBack) {
    open(smallData());

    Statement customer(m_db, QStringLiteral("SELECT * FROM T_AN4 WHERE CLI_CODICE = :Code"));
    customer.set(QStringLiteral("Code"), 1002);
    ASSERT_TRUE(customer.first());
    EXPECT_EQ(customer.value("CLI_RAGSOC2").toString(), QStringLiteral("Zweigstelle Süd"));
    EXPECT_TRUE(customer.value("CLI_DIPENDENTE").isNull());
    EXPECT_TRUE(customer.value("CLI_INDIRIZZO2").isNull());
    EXPECT_EQ(customer.value("CLI_LINGUA").toInt(), 3);
    customer.set(QStringLiteral("Code"), 1001);
    ASSERT_TRUE(customer.first());
    EXPECT_TRUE(customer.value("CLI_RAGSOC2").isNull());
    EXPECT_EQ(customer.value("CLI_SC_QTA").toString(), QStringLiteral("T"));
    EXPECT_EQ(customer.value("CLI_DIPENDENTE").toInt(), 10);

    // The price-list build's article query, state cast and pack quantity join included.
    Statement articles(m_db, QStringLiteral("SELECT ART_CODICE, CAST(ART_STATO AS VARCHAR(1)) AS ART_STATO, "
                                            "ART_CODE_NUM, ART_RISERV_CLI, ART_METRI_1, ART_PESO, ART_SG, APR_QTA_CONF "
                                            "FROM T_AN7 LEFT JOIN T_AN7_PR ON T_AN7_PR.APR_ARTICOLO = T_AN7.ART_CODICE "
                                            "AND T_AN7_PR.APR_DEPOSITO = 0 WHERE ART_CODICE BETWEEN :Art_In AND "
                                            ":Art_Fin AND ART_STATO <> 1 ORDER BY ART_CODICE"));
    articles.set(QStringLiteral("Art_In"), QString());
    articles.set(QStringLiteral("Art_Fin"), QString(27, QLatin1Char('Z')));
    articles.open();
    ASSERT_TRUE(articles.next());
    EXPECT_EQ(articles.value("ART_CODICE").toString(), QStringLiteral("AB 2"));
    EXPECT_EQ(articles.value("ART_STATO").toString(), QStringLiteral("4"));
    EXPECT_EQ(articles.value("ART_RISERV_CLI").toInt(), 1001);
    for (const char* column : {"ART_CODE_NUM", "ART_METRI_1", "ART_PESO", "ART_SG", "APR_QTA_CONF"}) {
        EXPECT_TRUE(articles.value(column).isNull()) << column;
    }
    ASSERT_TRUE(articles.next());
    EXPECT_EQ(articles.value("ART_CODICE").toString(), QStringLiteral("AB-1"));
    EXPECT_DOUBLE_EQ(articles.value("ART_CODE_NUM").toDouble(), 42);
    EXPECT_DOUBLE_EQ(articles.value("ART_METRI_1").toDouble(), 0.25);
    EXPECT_DOUBLE_EQ(articles.value("APR_QTA_CONF").toDouble(), 12);
    ASSERT_TRUE(articles.next());
    EXPECT_EQ(articles.value("ART_CODICE").toString(), QStringLiteral("AB/3"));
    EXPECT_FALSE(articles.next());

    Statement description(m_db, QStringLiteral("SELECT ALG_DESCRIZIONE, ALG_DESCR_AGG, ALG_DES_LUNGA, ALG_NOTE "
                                               "FROM T_AN7_LG WHERE ALG_ARTICOLO = :Cod AND ALG_LINGUA = :Lingua"));
    description.set(QStringLiteral("Cod"), QStringLiteral("AB-1"));
    description.set(QStringLiteral("Lingua"), 0);
    ASSERT_TRUE(description.first());
    EXPECT_EQ(description.value("ALG_DES_LUNGA").toString(), QStringLiteral("Vite per legno 4x40"));
    EXPECT_EQ(description.value("ALG_NOTE").toString(), QStringLiteral("Riga 1\r\nRiga 2"));
    EXPECT_EQ(description.value("ALG_DESCR_AGG").toString(), QStringLiteral("4x40"));
    description.set(QStringLiteral("Lingua"), 2);
    ASSERT_TRUE(description.first());
    EXPECT_TRUE(description.value("ALG_NOTE").isNull());
    description.set(QStringLiteral("Lingua"), 1);
    EXPECT_FALSE(description.first());

    Statement price(m_db, QStringLiteral("SELECT ALS_PREZZO, ALS_ULT_DATA FROM T_AN7_LS WHERE ALS_ARTICOLO = :Cod "
                                         "AND ALS_DEPOSITO = :Dep AND ALS_LISTINO = :Listino"));
    price.set(QStringLiteral("Cod"), QStringLiteral("AB 2"));
    price.set(QStringLiteral("Dep"), 0);
    price.set(QStringLiteral("Listino"), 2);
    ASSERT_TRUE(price.first());
    EXPECT_TRUE(price.value("ALS_PREZZO").isNull());
    EXPECT_EQ(price.value("ALS_ULT_DATA").toDateTime(), kDate);

    Statement progr(m_db, QStringLiteral("SELECT * FROM T_PROGR"));
    ASSERT_TRUE(progr.first());
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(progr.value(QStringLiteral("EAN13_%1").arg(i + 1)).toInt(), QList<int>({8, 0, 1, 2, 3, 4, 5})[i]);
    }
    EXPECT_EQ(progr.value("DIV_DEC_AR_UN").toInt(), 3);
    EXPECT_EQ(progr.value("DIV_TP_AR_UN").toString(), QStringLiteral("M"));
    EXPECT_TRUE(progr.value("MOLL_MATASSE").isNull());
    EXPECT_TRUE(progr.value("ULTIMA_DATA_BOLLATO").isNull());

    Statement unused(m_db, QStringLiteral("SELECT GRP_CODICE FROM T_GRUPPONI WHERE GRP_STAT_3 IS NULL"));
    ASSERT_TRUE(unused.first());
    EXPECT_EQ(unused.value(0).toString(), QStringLiteral("BG"));
    EXPECT_FALSE(unused.next());
}

TEST_F(SupplierDbTest, ProcedureGivesThePriceRuleForBothKinds) {
    struct Case {
        int cliente;
        int listino;
        int deposito;
        const char* articolo;
        std::optional<double> valore;
        std::optional<double> sconto1;
        std::optional<double> sconto2;
    };
    const Case cases[] = {
        {1001, 2, 0, "AB-1", 20, 10, 5},
        {1001, 1, 0, "AB-1", 18, 10, 5},                       // another price list
        {1001, 2, 1, "AB-1", 19, 10, 5},                       // another warehouse
        {1001, 3, 0, "AB-1", std::nullopt, 10, 5},             // no price in that list
        {1002, 2, 0, "AB-1", 20, std::nullopt, std::nullopt},  // no discounts for the customer
        {1001, 2, 0, "AB 2", std::nullopt, 7, std::nullopt},   // a price row without price
        {1001, 2, 0, "NONE", std::nullopt, std::nullopt, std::nullopt},
    };
    const auto same = [](const QVariant& value, std::optional<double> expected) {
        return expected ? !value.isNull() && value.toDouble() == *expected : value.isNull();
    };
    for (const bool selectable : {false, true}) {
        SCOPED_TRACE(selectable ? "selectable" : "executable");
        QTemporaryDir dir;
        SupplierData data = smallData();
        data.selectableProcedure = selectable;
        Connection db;
        db.open(fixtures::build(dir.path(), data));

        Statement call(db, QStringLiteral("EXECUTE PROCEDURE TROVA_PREZZO_VENDITA(:CLIENTE, :LISTINO, :DEPOSITO, "
                                          ":ARTICOLO, :CONTATTO)"));
        for (const Case& c : cases) {
            SCOPED_TRACE(QStringLiteral("%1 %2 %3 %4").arg(c.cliente).arg(c.listino).arg(c.deposito).arg(c.articolo).toStdString());
            call.set(QStringLiteral("CLIENTE"), c.cliente);
            call.set(QStringLiteral("LISTINO"), c.listino);
            call.set(QStringLiteral("DEPOSITO"), c.deposito);
            call.set(QStringLiteral("ARTICOLO"), QString::fromLatin1(c.articolo));
            call.set(QStringLiteral("CONTATTO"), 0);
            call.execute();
            EXPECT_TRUE(same(call.value("W_VALORE"), c.valore)) << call.value("W_VALORE").toString().toStdString();
            EXPECT_TRUE(same(call.value("W_SCONTO_1"), c.sconto1)) << call.value("W_SCONTO_1").toString().toStdString();
            EXPECT_TRUE(same(call.value("W_SCONTO_2"), c.sconto2)) << call.value("W_SCONTO_2").toString().toStdString();
        }
        const QStringList outputs = {"W_VALORE",   "W_SCONTO_1",      "W_SCONTO_2",     "W_FLAG_VAL",
                                     "W_FLAG_PREZZO", "W_TABELLA",    "W_CLIENTE_RIFER", "W_PREZZO_EXTRA",
                                     "W_SCONTO_STRINGA", "W_SCONTO_STRINGA2"};
        ASSERT_EQ(call.columnCount(), outputs.size());
        for (int i = 0; i < call.columnCount(); ++i) {
            EXPECT_EQ(call.columnName(i), outputs[i]);
        }
        if (selectable) {
            // Selected from, it gives one row whether or not a price exists.
            for (const char* article : {"AB-1", "NONE"}) {
                EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM TROVA_PREZZO_VENDITA(1001, 2, 0, '%1', 0)")
                                        .arg(QLatin1String(article))),
                          1)
                    << article;
            }
        }
    }
}

TEST_F(SupplierDbTest, LanguageTableHoldsEveryCodeInFourLanguages) {
    open(smallData());
    Statement rows(m_db, QStringLiteral("SELECT * FROM VELMORA_LINGUE ORDER BY LINGUA"));
    rows.open();
    const QStringList codes = fixtures::messageCodes();
    EXPECT_EQ(codes.size(), 92 + 4 + 8);
    EXPECT_FALSE(codes.contains(QStringLiteral("A63")));
    ASSERT_EQ(rows.columnCount(), codes.size() + 1);
    EXPECT_EQ(rows.columnName(0), QStringLiteral("LINGUA"));
    for (int i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(rows.columnName(i + 1), codes[i]);
    }
    const QStringList catalogue = {QStringLiteral("Catalogo"), QStringLiteral("Catalogue"), QStringLiteral("Catalogue"),
                                   QStringLiteral("Katalog")};
    std::set<QString> orderTitles;
    for (int lingua = 0; lingua < 4; ++lingua) {
        ASSERT_TRUE(rows.next());
        EXPECT_EQ(rows.value("LINGUA").toInt(), lingua);
        for (const QString& code : codes) {
            EXPECT_FALSE(rows.value(code).toString().trimmed().isEmpty()) << code.toStdString() << " " << lingua;
        }
        EXPECT_EQ(rows.value("A1").toString(), catalogue[lingua]);
        orderTitles.insert(rows.value("A2").toString());
        const QString mail = rows.value("M3").toString();
        EXPECT_TRUE(mail.contains(QStringLiteral("#qta#")) && mail.contains(QStringLiteral("#codice#")) &&
                    mail.contains(QStringLiteral("\r\n")))
            << mail.toStdString();
        for (const char* link : {"A1001", "A1002", "A1003", "A1004"}) {
            EXPECT_TRUE(rows.value(link).toString().startsWith(QStringLiteral("https://www.velmora.example/")));
        }
    }
    EXPECT_FALSE(rows.next());
    EXPECT_EQ(orderTitles.size(), 4u);  // each language has its own words
}

TEST_F(SupplierDbTest, SchemaOptionsLeaveOutWhatFailureTestsNeed) {
    SupplierData data = smallData();
    data.missingCodes = {QStringLiteral("A22"), QStringLiteral("M3")};
    data.withGroupStatus = false;
    data.withProcedure = false;
    open(data);
    EXPECT_NO_THROW(Statement(m_db, QStringLiteral("SELECT A21, A23, M2, M4 FROM VELMORA_LINGUE")).open());
    for (const char* code : {"A22", "M3"}) {
        EXPECT_THROW(Statement(m_db, QStringLiteral("SELECT %1 FROM VELMORA_LINGUE").arg(QLatin1String(code))).open(),
                     DatabaseError)
            << code;
    }
    EXPECT_THROW(Statement(m_db, QStringLiteral("UPDATE T_GRUPPONI SET GRP_STAT_3 = 'T'")).execute(), DatabaseError);
    EXPECT_EQ(count(m_db, QStringLiteral("SELECT COUNT(*) FROM T_GRUPPONI")), 2);
    EXPECT_THROW(Statement(m_db, QStringLiteral("EXECUTE PROCEDURE TROVA_PREZZO_VENDITA(1001, 2, 0, 'AB-1', 0)")).execute(),
                 DatabaseError);
    m_db.close();

    QTemporaryDir other;
    data = smallData();
    data.withLanguages = false;
    Connection db;
    db.open(fixtures::build(other.path(), data));
    EXPECT_FALSE(db.tableExists(QStringLiteral("VELMORA_LINGUE")));
    EXPECT_TRUE(db.tableExists(QStringLiteral("T_AN4")));
}

TEST_F(SupplierDbTest, ProgramStatementsRunOnTheSchema) {
    open(smallData());
    // The subgroup status column is the program's to add.
    EXPECT_EQ(count(m_db, QStringLiteral("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = "
                                         "'T_AN3_4LG' AND RDB$FIELD_NAME = 'SGL_STAT_3'")),
              0);
    m_db.executeImmediate(QStringLiteral("ALTER TABLE T_AN3_4LG ADD SGL_STAT_3 VARCHAR(1)"));
    m_db.commit();

    struct Query {
        const char* sql;
        int rows;
    };
    const Query queries[] = {
        {"SELECT * FROM T_AN4 WHERE CLI_PASSWORD = 'ROSSI'", 1},
        {"SELECT GRPL_CODICE, GRPL_DESCRIZIONE FROM R_GRUPPONI WHERE GRPL_LINGUA = 0 ORDER BY GRPL_DESCRIZIONE", 1},
        {"SELECT T_AN3_4LG.GRL_CODICE, T_AN3_4LG.SGL_CODICE, T_AN3_4LG.SGL_LINGUA AS GRL_LINGUA, "
         "T_AN3_4LG.SGL_DESCRIZIONE AS GRL_DESCRIZIONE, T_AN3_3.GR_GRUPPONE FROM T_AN3_4LG INNER JOIN T_AN3_3 "
         "ON T_AN3_4LG.GRL_CODICE = T_AN3_3.GR_CODICE WHERE T_AN3_4LG.SGL_LINGUA = 0 "
         "AND T_AN3_3.GR_GRUPPONE BETWEEN '' AND 'zzzzzz' ORDER BY T_AN3_4LG.SGL_DESCRIZIONE",
         1},
        {"SELECT ART_NR_CATALOGO, ART_PAG_CATALOGO, ART_DATA_VARIAZIONE_VASK, ART_UM, ART_NO_SCONTO, "
         "ART_FLAG_IMMAGINE, ART_METRI_2, ART_METRI_3 FROM T_AN7",
         3},
        {"SELECT * FROM T_AN2_12 WHERE CLS_CLIENTE = 1001 AND CLS_LISTINO = 2 AND CLS_ARTICOLO = 'AB-1'", 1},
        {"SELECT ARTS_ARTICOLO, ARTS_CODICE, ARTS_MAX AS MASSIMO, ARTS_MIN AS MINIMO, ARTS_SCONTO AS SCONTO "
         "FROM T_AN7FASCE_LS WHERE ARTS_ARTICOLO = 'AB-1' AND ARTS_LISTINO = 2 "
         "ORDER BY ARTS_ARTICOLO, ARTS_LISTINO, ARTS_CODICE",
         2},
        {"SELECT SGFL_CODICE, SGFL_GRUPPO, SGFL_LISTINO, SGFL_MAX AS MASSIMO, SGFL_MIN AS MINIMO, "
         "SGFL_SCONTO AS SCONTO, SGFL_SOTTOGR FROM T_AN3_4FASCE_LS WHERE SGFL_GRUPPO = 'G1' AND "
         "SGFL_SOTTOGR = 'S1' AND SGFL_LISTINO = 2 ORDER BY SGFL_GRUPPO, SGFL_SOTTOGR, SGFL_LISTINO, SGFL_CODICE",
         1},
        {"SELECT CUM_GR, CUM_LISTINO, CUM_MAX AS MASSIMO, CUM_MIN AS MINIMO, CUM_PROGR, CUM_SCONTO AS SCONTO, "
         "CUM_SG FROM SG_SCQTA_CUM WHERE CUM_GR = 'G1' AND CUM_SG = 'S1' AND CUM_LISTINO = 2 "
         "ORDER BY CUM_GR, CUM_SG, CUM_LISTINO, CUM_PROGR",
         1},
        {"SELECT Dipendente.DIP_NOME, Dipendente.DIP_E_MAIL, Dipendente.DIP_TEL_INTERNO FROM T_AN4 Clienti "
         "INNER JOIN T_DIPEND Dipendente ON CLI_DIPENDENTE = DIP_CODICE WHERE Clienti.CLI_CODICE = 1001",
         1},
        {"SELECT PERC_AUMEN_PESO, PERC_AUMEN_VOLUME, DIV_DEC_AR_IMP, DIV_TP_AR_IMP FROM T_PROGR", 1},
        {"SELECT GRL_CODICE FROM T_AN3_4LG WHERE SGL_STAT_3 IS NULL OR SGL_STAT_3 <> 'T'", 1},
    };
    for (const Query& q : queries) {
        int rows = 0;
        try {
            Statement query(m_db, QString::fromLatin1(q.sql));
            query.open();
            while (query.next()) {
                ++rows;
            }
        } catch (const DatabaseError& e) {
            ADD_FAILURE() << q.sql << ": " << e.text().toStdString();
        }
        EXPECT_EQ(rows, q.rows) << q.sql;
    }
    Statement mark(m_db, QStringLiteral("UPDATE T_GRUPPONI SET GRP_STAT_3 = 'T' WHERE GRP_CODICE = 'BG'"));
    mark.execute();
    EXPECT_EQ(mark.affectedRows(), 1);
}

TEST(SupplierDbRealistic, CatalogueKeepsWhatTheHeaderPromisesAndRepeatsForASeed) {
    const SupplierData data = fixtures::realistic(6000, 3);

    const std::pair<int, const char*> passwords[] = {{1001, "ROSSI2024"}, {1002, "DUPONT75"}, {1003, "HARPER88"},
                                                     {1004, "MUELLER31"}, {1005, "QOLTRAMN"}, {1792, "FERRO1792"}};
    ASSERT_EQ(data.customers.size(), std::size(passwords));
    for (size_t i = 0; i < data.customers.size(); ++i) {
        EXPECT_EQ(data.customers[i].code, passwords[i].first);
        EXPECT_EQ(data.customers[i].password, QLatin1String(passwords[i].second));
    }
    EXPECT_EQ(data.customers[0].scQta, QStringLiteral("T"));

    std::set<QString> states;
    bool blank = false;
    bool slash = false;
    for (const fixtures::Article& a : data.articles) {
        states.insert(a.stato);
        blank = blank || a.code.contains(QLatin1Char(' '));
        slash = slash || a.code.contains(QLatin1Char('/'));
        EXPECT_EQ(a.stato == QLatin1String("4"), a.riservCli.has_value()) << a.code.toStdString();
    }
    EXPECT_EQ(states, (std::set<QString>{"0", "1", "2", "3", "4"}));
    EXPECT_TRUE(blank);
    EXPECT_TRUE(slash);

    // Some articles fall back to English, some have no description at all, a few carry notes.
    std::map<QString, std::set<int>> languages;
    int notes = 0;
    for (const fixtures::Description& d : data.descriptions) {
        languages[d.article].insert(d.lingua);
        notes += d.note ? 1 : 0;
    }
    int englishOnlyFallback = 0;
    for (const auto& [article, present] : languages) {
        englishOnlyFallback += (!present.count(0) && present.count(2)) ? 1 : 0;
    }
    EXPECT_GT(englishOnlyFallback, 0);
    EXPECT_LT(languages.size(), data.articles.size());
    EXPECT_GT(notes, 0);
    EXPECT_EQ(data.groups.size(), 31u);
    EXPECT_EQ(data.subgroupTexts.size(), 91u * 4);
    EXPECT_FALSE(data.articleBands.empty());
    EXPECT_FALSE(data.subgroupBands.empty());
    EXPECT_FALSE(data.cumulativeBands.empty());
    EXPECT_FALSE(data.specialPrices.empty());

    const SupplierData again = fixtures::realistic(6000, 3);
    ASSERT_EQ(again.descriptions.size(), data.descriptions.size());
    EXPECT_EQ(again.articles.back().code, data.articles.back().code);
    EXPECT_EQ(again.descriptions.back().desLunga, data.descriptions.back().desLunga);
    const SupplierData otherSeed = fixtures::realistic(50, 4);
    bool differs = false;
    for (size_t i = 0; i < otherSeed.articles.size(); ++i) {
        differs = differs || otherSeed.articles[i].code != data.articles[i].code;
    }
    EXPECT_TRUE(differs);

    // More rows than one commit batch arrive whole, and the sign-in finds its customer.
    QTemporaryDir dir;
    Connection db;
    db.open(fixtures::build(dir.path(), data));
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM T_AN7_LG")), static_cast<int>(data.descriptions.size()));
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM T_AN7_LS")), static_cast<int>(data.listPrices.size()));
    EXPECT_EQ(count(db, QStringLiteral("SELECT COUNT(*) FROM T_AN7")), 6000);
    EXPECT_EQ(count(db, QStringLiteral("SELECT CLI_CODICE FROM T_AN4 WHERE CLI_PASSWORD = 'ROSSI2024'")), 1001);
}

}  // namespace
}  // namespace velmora
