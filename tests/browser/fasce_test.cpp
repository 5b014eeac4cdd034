#include "browser/Fasce.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/Sessione.h"
#include "browser/ui/Dialogo_Fasce.h"
#include "browser/ui/Pagina_Catalogo.h"
#include "catalogue/Tabelle_Lavoro.h"
#include "fixtures/Fornitore.h"

namespace velmora {
namespace {

class FasceTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::Dati dati = fixtures::minimo();
        // A1: bands of its own in list 1 (and others in list 2); G1/S1: subgroup bands; G1/S2: none;
        // cumulative bands for G1/S1 only.
        dati.fasceArticolo = {{QStringLiteral("A1"), {}, {}, 1, 2, 50, 99, 5},
                              {QStringLiteral("A1"), {}, {}, 1, 1, 1, 49, 2.5},
                              {QStringLiteral("A1"), {}, {}, 2, 1, 1, 9, 50}};
        dati.fasceSottogruppo = {{{}, QStringLiteral("G1"), QStringLiteral("S1"), 1, 1, 10, 100, 3}};
        dati.fasceCumulative = {{{}, QStringLiteral("G1"), QStringLiteral("S1"), 1, 1, 500, 999, 4},
                                {{}, QStringLiteral("G1"), QStringLiteral("S1"), 1, 2, 1000, 1999, 6}};
        const QString root = m_dir.filePath(QStringLiteral("VELMORA"));
        fixtures::crea(root, dati);
        m_sessione = std::make_unique<Sessione>(InstallFolder(root), m_boxes, m_shell, m_clock);
        m_sessione->Connetti();
        m_sessione->testi.imposta(2, fixtures::testiLingua(2));
    }

    QTemporaryDir m_dir;
    ScriptedBoxes m_boxes;
    ScriptedShell m_shell;
    SystemClock m_clock;
    std::unique_ptr<Sessione> m_sessione;
};

TEST_F(FasceTest, ArticleThenSubgroupThenCumulative) {
    Fasce fasce(m_sessione->connessione());
    const Esito_Fasce proprie =
        fasce.Fasce_Articolo(QStringLiteral("A1"), QStringLiteral("G1"), QStringLiteral("S1"), 1);
    EXPECT_EQ(proprie.messaggio, QStringLiteral("M4"));
    ASSERT_EQ(proprie.righe.size(), 2u);
    EXPECT_EQ(proprie.righe[0].minimo, 1);  // by band code
    EXPECT_EQ(proprie.righe[1].sconto, 5);
    const Esito_Fasce sottogruppo =
        fasce.Fasce_Articolo(QStringLiteral("A2"), QStringLiteral("G1"), QStringLiteral("S1"), 1);
    ASSERT_EQ(sottogruppo.righe.size(), 1u);
    EXPECT_EQ(sottogruppo.righe[0].sconto, 3);
    // Neither: the dialog still opens, empty.
    EXPECT_TRUE(fasce.Fasce_Articolo(QStringLiteral("A2"), QStringLiteral("G1"), QStringLiteral("S2"), 1)
                    .righe.empty());
    // Another price list ignores the article's list-1 bands and finds its own.
    EXPECT_EQ(fasce.Fasce_Articolo(QStringLiteral("A1"), QStringLiteral("G1"), QStringLiteral("S1"), 2)
                  .righe.size(),
              1u);

    const auto cumulative = fasce.Fasce_Cumulative(QStringLiteral("G1"), QStringLiteral("S1"), 1);
    ASSERT_TRUE(cumulative.has_value());
    EXPECT_EQ(cumulative->messaggio, QStringLiteral("M5"));
    EXPECT_EQ(cumulative->righe.size(), 2u);
    EXPECT_FALSE(fasce.Fasce_Cumulative(QStringLiteral("G1"), QStringLiteral("S2"), 1).has_value());
    EXPECT_FALSE(fasce.Fasce_Cumulative(QVariant(), QVariant(), 1).has_value());
}

TEST_F(FasceTest, DialogShowsFormattedBandsWithTitlesAndFocus) {
    Fasce fasce(m_sessione->connessione());
    Dialogo_Fasce dialogo(
        QStringLiteral("Quantity discounts"),
        fasce.Fasce_Articolo(QStringLiteral("A1"), QStringLiteral("G1"), QStringLiteral("S1"), 1),
        m_sessione->testi);
    dialogo.show();
    QApplication::setActiveWindow(&dialogo);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialogo));
    EXPECT_TRUE(dialogo.griglia()->hasFocus());
    EXPECT_EQ(dialogo.memo()->toPlainText(), fixtures::testiLingua(2).value(QStringLiteral("M4")));
    EXPECT_EQ(dialogo.griglia()->horizontalHeaderItem(0)->text(), QStringLiteral("From quantity"));
    EXPECT_EQ(dialogo.griglia()->horizontalHeaderItem(2)->text(), QStringLiteral("Discount %"));
    EXPECT_EQ(dialogo.griglia()->item(0, 1)->text(), QStringLiteral("49,00"));
    EXPECT_EQ(dialogo.griglia()->item(1, 2)->text(), QStringLiteral("5,00"));
    EXPECT_EQ(dialogo.griglia()->palette().color(QPalette::Base), QColor(192, 220, 192));
}

}  // namespace
}  // namespace velmora
