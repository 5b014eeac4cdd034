// The supplier database builder that every other test stands on.
#include "fixtures/Fornitore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(Fornitore, MessageCodesAreComplete) {
    const QStringList codes = fixtures::codiciMessaggio();
    EXPECT_EQ(codes.size(), 92 + 4 + 8);
    for (int n = 1; n <= 93; ++n) {
        EXPECT_EQ(codes.contains(QStringLiteral("A%1").arg(n)), n != 63) << n;
    }
    for (int l = 0; l < 4; ++l) {
        const QHash<QString, QString> texts = fixtures::testiLingua(l);
        for (const QString& code : codes) {
            EXPECT_FALSE(texts.value(code).isEmpty()) << code.toStdString() << " " << l;
        }
        EXPECT_TRUE(texts.value(QStringLiteral("M3")).contains(QStringLiteral("#qta#")));
        EXPECT_TRUE(texts.value(QStringLiteral("M3")).contains(QStringLiteral("#codice#")));
        EXPECT_TRUE(texts.value(QStringLiteral("A1001")).startsWith(QStringLiteral("https://")));
    }
}

TEST(Fornitore, SmallDataSetReadsBackWithBothProcedureKinds) {
    for (const bool selezionabile : {false, true}) {
        SCOPED_TRACE(selezionabile ? "selectable" : "executable");
        QTemporaryDir dir;
        fixtures::Dati dati = fixtures::minimo();
        dati.proceduraSelezionabile = selezionabile;
        fixtures::Articolo a;
        a.codice = QStringLiteral("A1");
        a.gr = QStringLiteral("G1");
        a.sg = QStringLiteral("S1");
        dati.articoli.push_back(a);
        a.codice = QStringLiteral("A2");
        dati.articoli.push_back(a);
        dati.prezzi.push_back({QStringLiteral("A1"), 0, 1, 20.0, QVariant()});
        dati.prezzi.push_back({QStringLiteral("A2"), 0, 1, QVariant(), QVariant()});
        dati.sconti.push_back({1001, QStringLiteral("G1"), 10.0, QVariant()});
        const QString path = fixtures::crea(dir.path(), dati);

        db::Connection connection;
        connection.open(path);
        EXPECT_EQ(connection.databaseDialect(), 1);
        db::Statement lingue(connection, QStringLiteral("SELECT COUNT(*) FROM VELMORA_LINGUE"));
        ASSERT_TRUE(lingue.first());
        EXPECT_EQ(lingue.value(0).toInt(), 4);
        db::Statement riga(connection, QStringLiteral("SELECT * FROM VELMORA_LINGUE WHERE LINGUA=3"));
        ASSERT_TRUE(riga.first());
        EXPECT_EQ(riga.columnCount(), 1 + 104);
        EXPECT_EQ(riga.value("A1").toString(), QStringLiteral("Katalog"));

        db::Statement prezzo(connection, QStringLiteral("EXECUTE PROCEDURE TROVA_PREZZO_VENDITA :CLIENTE, "
                                                        ":LISTINO, :DEPOSITO, :ARTICOLO, :CONTATTO"));
        prezzo.set(QStringLiteral("CLIENTE"), 1001);
        prezzo.set(QStringLiteral("LISTINO"), 1);
        prezzo.set(QStringLiteral("DEPOSITO"), 0);
        prezzo.set(QStringLiteral("CONTATTO"), 0);
        prezzo.set(QStringLiteral("ARTICOLO"), QStringLiteral("A1"));
        prezzo.execute();
        EXPECT_EQ(prezzo.columnCount(), 10);
        EXPECT_EQ(prezzo.columnName(0), QStringLiteral("W_VALORE"));
        EXPECT_DOUBLE_EQ(prezzo.value("W_VALORE").toDouble(), 20.0);
        EXPECT_DOUBLE_EQ(prezzo.value("W_SCONTO_1").toDouble(), 10.0);
        EXPECT_TRUE(prezzo.value("W_SCONTO_2").isNull());
        prezzo.set(QStringLiteral("ARTICOLO"), QStringLiteral("A2"));
        prezzo.execute();
        EXPECT_TRUE(prezzo.value("W_VALORE").isNull());
        prezzo.set(QStringLiteral("CLIENTE"), 1002);
        prezzo.execute();
        EXPECT_TRUE(prezzo.value("W_SCONTO_1").isNull());
    }
}

}  // namespace
}  // namespace velmora
