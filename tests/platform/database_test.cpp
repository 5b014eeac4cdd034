#include "platform/Database.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using velmora::db::Connection;
using velmora::db::DatabaseError;
using velmora::db::Statement;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("TEST.IDB"));
        m_db.create(m_path);
        m_db.executeImmediate(QStringLiteral("CREATE DOMAIN TESTO AS BLOB SUB_TYPE 1"));
        m_db.executeImmediate(QStringLiteral("CREATE DOMAIN NUMERICO AS DOUBLE PRECISION"));
        m_db.executeImmediate(QStringLiteral(
            "CREATE TABLE ARTICOLI (CODICE VARCHAR(10) NOT NULL, NOTE TESTO, PREZZO NUMERICO, QTA INTEGER, "
            "DATA DATE, STATO CHAR(1))"));
        m_db.commit();
    }

    void insert(const QString& codice, const QVariant& prezzo = 1.0) {
        Statement ins(m_db,
                      QStringLiteral("INSERT INTO ARTICOLI (CODICE, PREZZO) VALUES (:CODICE, :PREZZO)"));
        ins.set(QStringLiteral("CODICE"), codice);
        ins.set(QStringLiteral("PREZZO"), prezzo);
        ins.execute();
    }

    QTemporaryDir m_dir;
    QString m_path;
    Connection m_db;
};

TEST(PositionalSql, NamesBecomeMarksOutsideQuotesAndComments) {
    QStringList names;
    const QByteArray sql = velmora::db::positionalSql(
        QStringLiteral(
            "SELECT ':Nope', \"A:B\" FROM T -- :comment\nWHERE A = :Uno AND B = :Due /* :x */ OR C = :Uno"),
        &names);
    EXPECT_EQ(
        sql,
        QByteArray("SELECT ':Nope', \"A:B\" FROM T -- :comment\nWHERE A = ? AND B = ? /* :x */ OR C = ?"));
    EXPECT_EQ(names, (QStringList{QStringLiteral("Uno"), QStringLiteral("Due"), QStringLiteral("Uno")}));
}

TEST_F(DatabaseTest, NewDatabaseIsDialectOne) {
    EXPECT_EQ(m_db.databaseDialect(), 1);
}

TEST_F(DatabaseTest, ValuesRoundTripWithNullsTextBlobsAndDates) {
    Statement ins(m_db, QStringLiteral("INSERT INTO ARTICOLI (CODICE, NOTE, PREZZO, QTA, DATA, STATO) "
                                       "VALUES (:CODICE, :NOTE, :PREZZO, :QTA, :DATA, :STATO)"));
    const QString memo =
        QStringLiteral("Prima riga\r\nSeconda riga: 5 € più IVA, Größe ½") + QString(70000, QLatin1Char('x'));
    const QDateTime when(QDate(2024, 3, 4), QTime(9, 5, 3));
    ins.set(QStringLiteral("CODICE"), QStringLiteral("A/1 è"));
    ins.set(QStringLiteral("NOTE"), memo);
    ins.set(QStringLiteral("PREZZO"), 12.345);
    ins.set(QStringLiteral("QTA"), 7);
    ins.set(QStringLiteral("DATA"), when);
    ins.set(QStringLiteral("STATO"), QStringLiteral("3"));
    ins.execute();
    EXPECT_EQ(ins.affectedRows(), 1);
    // The same prepared statement again, now with nulls.
    ins.set(QStringLiteral("CODICE"), QStringLiteral("B"));
    ins.set(QStringLiteral("NOTE"), QVariant());
    ins.set(QStringLiteral("PREZZO"), QVariant());
    ins.set(QStringLiteral("QTA"), QVariant());
    ins.set(QStringLiteral("DATA"), QVariant());
    ins.set(QStringLiteral("STATO"), QVariant());
    ins.execute();

    Statement query(m_db, QStringLiteral("SELECT * FROM ARTICOLI ORDER BY CODICE"));
    query.open();
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value("CODICE").toString(), QStringLiteral("A/1 è"));
    EXPECT_EQ(query.value("NOTE").toString(), memo);
    EXPECT_DOUBLE_EQ(query.value("PREZZO").toDouble(), 12.345);
    EXPECT_EQ(query.value("QTA").toInt(), 7);
    EXPECT_EQ(query.value("DATA").toDateTime(), when);  // a dialect 1 DATE keeps the time of day
    EXPECT_EQ(query.value("STATO").toString(), QStringLiteral("3"));
    ASSERT_TRUE(query.next());
    for (const char* column : {"NOTE", "PREZZO", "QTA", "DATA", "STATO"}) {
        EXPECT_TRUE(query.value(column).isNull()) << column;
        EXPECT_TRUE(query.isNull(query.columnIndex(QString::fromLatin1(column)))) << column;
    }
    EXPECT_FALSE(query.next());
}

TEST_F(DatabaseTest, SameNameTwiceTakesOneValue) {
    insert(QStringLiteral("AA"), 1.0);
    insert(QStringLiteral("BB"), 2.0);
    Statement query(
        m_db, QStringLiteral("SELECT CODICE FROM ARTICOLI WHERE CODICE = :C OR CODICE || 'X' = :C || 'X'"));
    query.set(QStringLiteral("C"), QStringLiteral("BB"));
    ASSERT_TRUE(query.first());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("BB"));
    EXPECT_FALSE(query.next());
}

TEST_F(DatabaseTest, TooLongTextIsRefusedNotCut) {
    EXPECT_THROW(insert(QStringLiteral("ABCDEFGHIJK")), DatabaseError);
    insert(QStringLiteral("ABCDEFGHIJ"));
    // A comparison value is never cut to the column's length either: the engine refuses it.
    Statement query(m_db, QStringLiteral("SELECT COUNT(*) FROM ARTICOLI WHERE CODICE LIKE :S"));
    query.set(QStringLiteral("S"), QStringLiteral("ABCDEFGHI%"));
    ASSERT_TRUE(query.first());
    EXPECT_EQ(query.value(0).toInt(), 1);
    query.set(QStringLiteral("S"), QStringLiteral("ABCDEFGHIJZ"));
    EXPECT_THROW(query.first(), DatabaseError);
}

TEST_F(DatabaseTest, ErrorsCarryFirebirdText) {
    Statement query(m_db, QStringLiteral("SELECT * FROM NON_ESISTE"));
    try {
        query.open();
        FAIL() << "no error";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("Table unknown"))) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(QStringLiteral("NON_ESISTE")));
        EXPECT_NE(e.code(), 0);
    }
    Statement ins(m_db, QStringLiteral("INSERT INTO ARTICOLI (CODICE, QTA) VALUES (:C, :Q)"));
    ins.set(QStringLiteral("C"), QStringLiteral("X"));
    ins.set(QStringLiteral("Q"), QStringLiteral("dodici"));
    EXPECT_THROW(ins.execute(), DatabaseError);
}

TEST_F(DatabaseTest, CursorFetchesOnDemandAndStatementsSurviveReconnect) {
    Statement ins(m_db, QStringLiteral("INSERT INTO ARTICOLI (CODICE) VALUES (:C)"));
    for (int i = 0; i < 500; ++i) {
        ins.set(QStringLiteral("C"), QStringLiteral("C%1").arg(i, 4, 10, QLatin1Char('0')));
        ins.execute();
    }
    Statement query(m_db, QStringLiteral("SELECT CODICE FROM ARTICOLI WHERE CODICE >= :S ORDER BY CODICE"));
    query.set(QStringLiteral("S"), QStringLiteral("C0250"));
    query.open();
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("C0250"));
    // Commit retaining keeps the open cursor usable.
    m_db.commitRetaining();
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("C0251"));

    m_db.close(true);
    EXPECT_FALSE(query.isCursorOpen());
    m_db.open(m_path);
    query.set(QStringLiteral("S"), QStringLiteral("C0499"));
    ASSERT_TRUE(query.first());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("C0499"));
    EXPECT_FALSE(query.next());
}

TEST_F(DatabaseTest, CloseCommitsAndRollbackDiscards) {
    insert(QStringLiteral("KEEP"));
    m_db.close(true);
    m_db.open(m_path);
    insert(QStringLiteral("DROP"));
    m_db.rollback();
    Statement count(m_db, QStringLiteral("SELECT COUNT(*) FROM ARTICOLI"));
    ASSERT_TRUE(count.first());
    EXPECT_EQ(count.value(0).toInt(), 1);
}

TEST(DatabaseOpen, DamagedOrMissingFileIsAClearError) {
    QTemporaryDir dir;
    const QString damaged = dir.filePath(QStringLiteral("DATI.IDB"));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(64 * 1024, 'Z'));
    file.close();
    Connection db;
    EXPECT_THROW(db.open(damaged), DatabaseError);
    EXPECT_FALSE(db.isOpen());
    EXPECT_TRUE(QFile::exists(damaged));
    EXPECT_THROW(db.open(dir.filePath(QStringLiteral("MANCA.IDB"))), DatabaseError);
}

}  // namespace
