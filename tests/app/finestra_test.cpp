// The main window and the password dialog, driven like a person would, offscreen.
#include "app/ui/MainWindow.h"

#include "common/Finestra_Test.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/ui/Form_Password.h"
#include "browser/ui/Pagina_Catalogo.h"
#include "fixtures/Fornitore.h"

namespace velmora {
namespace {

class FinestraTest : public test::Finestra_Test {
protected:
    void SetUp() override { prepara(fixtures::minimo()); }
};

TEST_F(FinestraTest, SignInThroughTheDialogAppliesTheChosenLanguage) {
    bool capitals = false;
    avvia([&](Form_Password* dialogo) {
        EXPECT_EQ(dialogo->lingua()->currentText(), QStringLiteral("Italiano"));
        EXPECT_EQ(dialogo->windowTitle(), QStringLiteral("Password"));
        QTest::keyClicks(dialogo->password(), QStringLiteral("rossi"));
        capitals = dialogo->password()->text() == QLatin1String("ROSSI");
        dialogo->lingua()->setCurrentIndex(3);
        QTest::mouseClick(dialogo->ok(), Qt::LeftButton);
    });
    EXPECT_TRUE(capitals);
    EXPECT_FALSE(m_sessione->Programma_Terminato);
    EXPECT_EQ(m_sessione->Lingua_Corrente, 3);
    const QStringList tabs = {m_window->pagine()->tabText(0), m_window->pagine()->tabText(1),
                              m_window->pagine()->tabText(2), m_window->pagine()->tabText(3)};
    EXPECT_EQ(tabs, (QStringList{QStringLiteral("Katalog"), QStringLiteral("Bestellung"),
                                 QStringLiteral("Bestellarchiv"), QStringLiteral("Neuigkeiten")}));
    EXPECT_TRUE(m_window->windowTitle().startsWith(QStringLiteral("Velmora v. ")));
    EXPECT_TRUE(m_window->windowTitle().endsWith(QStringLiteral("  -  Rossi Ferramenta S.r.l.")));
    // A fresh sign-in greets with M8 and opens the catalogue newest first.
    EXPECT_TRUE(m_boxes.shown().contains(fixtures::testiLingua(3).value(QStringLiteral("M8"))));
    EXPECT_EQ(m_sessione->Ordine_Catalogo, 7);
    EXPECT_EQ(m_window->testiFissi().cancellaOrdine, fixtures::testiLingua(3).value(QStringLiteral("A52")));
    EXPECT_EQ(m_window->pagine()->currentIndex(), 0);
}

TEST_F(FinestraTest, ClosingTheDialogBeforeOkEndsTheProgramAndChangesNothing) {
    avvia([](Form_Password* dialogo) { dialogo->close(); });
    EXPECT_TRUE(m_sessione->Programma_Terminato);
    EXPECT_TRUE(QFile::exists(m_root + QStringLiteral("/DATI.IDB")));
    EXPECT_TRUE(m_boxes.shown().isEmpty());
    db::Connection db;
    db.open(m_root + QStringLiteral("/DATI.IDB"));
    db::Statement count(
        db, QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'LISTINO'"));
    ASSERT_TRUE(count.first());
    EXPECT_EQ(count.value(0).toInt(), 0);
}

TEST_F(FinestraTest, AdministratorShortcutNeedsTheMarker) {
    for (const bool marker : {false, true}) {
        Form_Password dialogo(m_dir.filePath(QStringLiteral("AMMINISTRATORE.TXT")));
        if (marker) {
            QFile file(m_dir.filePath(QStringLiteral("AMMINISTRATORE.TXT")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        QTest::mouseDClick(dialogo.chiave(), Qt::LeftButton);
        EXPECT_EQ(dialogo.password()->text(), marker ? QStringLiteral("QOLTRAMN") : QString());
    }
}

TEST_F(FinestraTest, OkHidesTheButtonsAndStartsTheAnimation) {
    Form_Password dialogo(QString{});
    QSignalSpy accedi(&dialogo, &Form_Password::accedi);
    dialogo.show();
    QTest::keyClicks(dialogo.password(), QStringLiteral("abc"));
    QTest::mouseClick(dialogo.ok(), Qt::LeftButton);
    ASSERT_EQ(accedi.size(), 1);
    EXPECT_EQ(accedi.first().at(0).toString(), QStringLiteral("ABC"));
    EXPECT_FALSE(dialogo.ok()->isVisible());
    EXPECT_FALSE(dialogo.annulla()->isVisible());
    EXPECT_TRUE(dialogo.animazioneAttiva());
    EXPECT_EQ(dialogo.barra()->minimum(), 0);
    EXPECT_EQ(dialogo.barra()->maximum(), 100);
}

class FinestraListino : public test::Finestra_Test {};

TEST_F(FinestraListino, TheBarMovesDuringTheBuild) {
    prepara(fixtures::realistico(3000, 3));
    QList<int> valori;
    int massimo = 0;
    avvia([&](Form_Password* dialogo) {
        QObject::connect(dialogo->barra(), &QProgressBar::valueChanged, dialogo,
                         [&valori, &massimo, dialogo](int v) {
                             valori << v;
                             massimo = dialogo->barra()->maximum();
                         });
        accedi(QStringLiteral("SMITH42"), 2)(dialogo);
    });
    EXPECT_FALSE(m_sessione->Programma_Terminato);
    ASSERT_GT(massimo, 2500);
    ASSERT_FALSE(valori.isEmpty());
    EXPECT_EQ(valori.last(), massimo);
    EXPECT_GE(valori.size(), 2);
    // The catalogue opened newest first on the customer's own price list.
    EXPECT_EQ(m_sessione->Ordine_Catalogo, 7);
    EXPECT_GT(m_window->catalogo()->modello()->rowCount(), 0);
}

}  // namespace
}  // namespace velmora
