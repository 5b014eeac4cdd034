#include "browser/Fasce.h"

#include <tuple>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "fixtures/Fornitore.h"

namespace velmora {
namespace {

using Riga = std::tuple<double, double, double>;

std::vector<Riga> righe(const Esito_Fasce& esito) {
    std::vector<Riga> r;
    for (const Fascia_Riga& f : esito.righe) {
        r.emplace_back(f.minimo, f.massimo, f.sconto);
    }
    return r;
}

class FasceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        fixtures::Dati dati = fixtures::minimo();
        // A1: two bands of its own in list 1 (stored out of order) and one in list 2. G1/S1: three
        // subgroup bands in list 1, one in list 3; G1/S2: none. Cumulative bands for G1/S1 only.
        const QString a1 = QStringLiteral("A1");
        const QString g1 = QStringLiteral("G1");
        const QString s1 = QStringLiteral("S1");
        dati.fasceArticolo = {
            {a1, {}, {}, 1, 2, 50, 99, 5}, {a1, {}, {}, 1, 1, 1, 49, 2.5}, {a1, {}, {}, 2, 1, 1, 9, 50}};
        dati.fasceSottogruppo = {{{}, g1, s1, 1, 3, 100, 999, 7},
                                 {{}, g1, s1, 1, 1, 1, 9.5, 3},
                                 {{}, g1, s1, 1, 2, 10, 99, 5},
                                 {{}, g1, s1, 3, 1, 1, 1000, 9}};
        dati.fasceCumulative = {
            {{}, g1, s1, 1, 2, 1000, 1999, 6}, {{}, g1, s1, 1, 1, 500, 999, 4}, {{}, g1, s1, 2, 1, 1, 2, 1}};
        m_db.open(fixtures::crea(m_dir.filePath(QStringLiteral("VELMORA")), dati));
    }

    QTemporaryDir m_dir;
    db::Connection m_db;
};

TEST_F(FasceTest, ArticleBandsElseSubgroupBandsEvenWhenEmpty) {
    Fasce fasce(m_db);
    const QString g1 = QStringLiteral("G1");
    struct Caso {
        const char* articolo;
        const char* sg;
        int listino;
        std::vector<Riga> attese;
    };
    const Caso casi[] = {
        // Its own two bands, by band code, not the subgroup's three.
        {"A1", "S1", 1, {{1, 49, 2.5}, {50, 99, 5}}},
        // No own bands: the subgroup's, by band code.
        {"A2", "S1", 1, {{1, 9.5, 3}, {10, 99, 5}, {100, 999, 7}}},
        // Another price list: only that list's bands.
        {"A1", "S1", 2, {{1, 9, 50}}},
        {"A2", "S1", 3, {{1, 1000, 9}}},
        // Neither: the dialog still opens, with an empty grid.
        {"A2", "S2", 1, {}},
        {"A1", "S1", 4, {}},
    };
    for (const Caso& c : casi) {
        const Esito_Fasce esito =
            fasce.Fasce_Articolo(QString::fromLatin1(c.articolo), g1, QString::fromLatin1(c.sg), c.listino);
        EXPECT_EQ(esito.messaggio, QStringLiteral("M4")) << c.articolo << c.sg << c.listino;
        EXPECT_EQ(righe(esito), c.attese) << c.articolo << c.sg << c.listino;
    }
    // A catalogue row without group and subgroup.
    EXPECT_TRUE(fasce.Fasce_Articolo(QStringLiteral("A2"), QVariant(), QVariant(), 1).righe.empty());
}

TEST_F(FasceTest, CumulativeBandsOrNoDialog) {
    Fasce fasce(m_db);
    const QString g1 = QStringLiteral("G1");
    const auto cumulative = fasce.Fasce_Cumulative(g1, QStringLiteral("S1"), 1);
    ASSERT_TRUE(cumulative.has_value());
    EXPECT_EQ(cumulative->messaggio, QStringLiteral("M5"));
    EXPECT_EQ(righe(*cumulative), (std::vector<Riga>{{500, 999, 4}, {1000, 1999, 6}}));
    EXPECT_EQ(righe(*fasce.Fasce_Cumulative(g1, QStringLiteral("S1"), 2)), (std::vector<Riga>{{1, 2, 1}}));

    EXPECT_FALSE(fasce.Fasce_Cumulative(g1, QStringLiteral("S2"), 1).has_value());
    EXPECT_FALSE(fasce.Fasce_Cumulative(g1, QStringLiteral("S1"), 3).has_value());
    EXPECT_FALSE(fasce.Fasce_Cumulative(QVariant(), QVariant(), 1).has_value());
    // The statements run again with new values after an empty answer.
    EXPECT_TRUE(fasce.Fasce_Cumulative(g1, QStringLiteral("S1"), 1).has_value());
}

}  // namespace
}  // namespace velmora
