#include "app/Testi.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/ui/MainWindow.h"
#include "common/Finestra_Test.h"
#include "fixtures/Fornitore.h"

namespace velmora {
namespace {

TEST(Titoli_Griglia, MarkersBecomeTheTextsOfTheirCodes) {
    Testi testi;
    testi.imposta(0, {{QStringLiteral("A11"), QStringLiteral("Codice")},
                      {QStringLiteral("A12"), QStringLiteral("Descrizione")},
                      {QStringLiteral("A57"), QStringLiteral("Listino")}});
    const QString tab = QStringLiteral("\t");
    const QStringList colonne = {
        QStringLiteral("CODICE\t15\tcampo011\tF"),
        QStringLiteral("DESCRIZIONE\t50\tcampo012\tF\textra"),
        QStringLiteral("UM\t3\tUM\tF"),
        QStringLiteral("X\t5\tcampoABC\tF"),  // not three digits: stays
        QStringLiteral("Y\t5\tcampo099\tF"),  // no such code: stays
        QStringLiteral("PREZZO_LIST\t10\tcampo057 \tT"),
    };
    const QStringList attesi = {
        QStringLiteral("CODICE\t15\tCodice\tF"), QStringLiteral("DESCRIZIONE\t50\tDescrizione\tF\textra"),
        QStringLiteral("UM\t3\tUM\tF"),          QStringLiteral("X\t5\tcampoABC\tF"),
        QStringLiteral("Y\t5\tcampo099\tF"),     QStringLiteral("PREZZO_LIST\t10\tListino \tT"),
    };
    const QStringList una = Titoli_Griglia(colonne, testi);
    EXPECT_EQ(una, attesi);
    // A second pass changes nothing.
    EXPECT_EQ(Titoli_Griglia(una, testi), attesi);
}

// Start-up on databases whose message texts are missing in part or whole.
class TestiAvvioTest : public test::Finestra_Test {
protected:
    void avvia(const fixtures::Dati& dati, int lingua) {
        prepara(dati);
        Finestra_Test::avvia(accedi(QStringLiteral("ROSSI"), lingua));
    }
};

TEST_F(TestiAvvioTest, WithoutTheTextTableTheDatabaseIsInvalid) {
    fixtures::Dati dati = fixtures::minimo();
    dati.senzaLingue = true;
    avvia(dati, 0);
    EXPECT_TRUE(m_sessione->Programma_Terminato);
    EXPECT_EQ(m_boxes.shown().last(), QStringLiteral("DataBase not valid! Please repeat Download!"));
    EXPECT_FALSE(QFile::exists(m_root + QStringLiteral("/DATI.IDB")));
}

TEST_F(TestiAvvioTest, WithoutARowForTheLanguageEveryTextIsEmpty) {
    fixtures::Dati dati = fixtures::minimo();
    dati.lingue = {0, 1, 2};
    avvia(dati, 3);
    EXPECT_FALSE(m_sessione->Programma_Terminato);
    EXPECT_EQ(m_window->pagine()->tabText(0), QString());
    // The greeting is an empty box.
    EXPECT_EQ(m_boxes.shown(), QStringList{QString()});
}

TEST_F(TestiAvvioTest, AMissingCodeStopsTheRestOfTheStart) {
    fixtures::Dati dati = fixtures::minimo();
    dati.codiciMancanti = {QStringLiteral("A50")};
    avvia(dati, 2);
    EXPECT_FALSE(m_sessione->Programma_Terminato);
    ASSERT_EQ(m_boxes.errors().size(), 1);
    EXPECT_TRUE(m_boxes.errors().first().contains(QStringLiteral("A50")));
    // The tables were not opened again: no greeting.
    EXPECT_EQ(m_boxes.shown().size(), 1);
    EXPECT_TRUE(QFile::exists(m_root + QStringLiteral("/DATI.IDB")));
}

}  // namespace
}  // namespace velmora
