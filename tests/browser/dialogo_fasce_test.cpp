#include "browser/ui/Dialogo_Fasce.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "fixtures/Fornitore.h"

namespace velmora {
namespace {

Testi testiIn(int lingua) {
    Testi testi;
    testi.imposta(lingua, fixtures::testiLingua(lingua));
    return testi;
}

TEST(Dialogo_Fasce, ShowsTitleMessageTitlesAndFormattedValuesWithTheGridFocused) {
    const Testi testi = testiIn(0);
    const Esito_Fasce esito{{{1, 9.5, 2.5}, {10, 1234.5, 0}}, QStringLiteral("M5")};
    Dialogo_Fasce dialogo(QStringLiteral("Sconti cumulativi"), esito, testi);
    dialogo.show();
    QApplication::setActiveWindow(&dialogo);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialogo));
    EXPECT_TRUE(dialogo.griglia()->hasFocus());

    // The title strip shows the pressed button's caption in bold.
    QLabel* titolo = nullptr;
    for (QLabel* label : dialogo.findChildren<QLabel*>()) {
        if (label->text() == QStringLiteral("Sconti cumulativi")) {
            titolo = label;
        }
    }
    ASSERT_NE(titolo, nullptr);
    EXPECT_TRUE(titolo->font().bold());

    EXPECT_EQ(dialogo.memo()->toPlainText(), testi.testo(QStringLiteral("M5")));
    EXPECT_TRUE(dialogo.memo()->isReadOnly());
    EXPECT_EQ(dialogo.memo()->height(), 72);

    QTableWidget* griglia = dialogo.griglia();
    ASSERT_EQ(griglia->columnCount(), 3);
    ASSERT_EQ(griglia->rowCount(), 2);
    EXPECT_EQ(griglia->horizontalHeaderItem(0)->text(), QStringLiteral("Da quantità"));
    EXPECT_EQ(griglia->horizontalHeaderItem(1)->text(), QStringLiteral("A quantità"));
    EXPECT_EQ(griglia->horizontalHeaderItem(2)->text(), QStringLiteral("Sconto %"));
    // The discount column is wider (20 characters against 15).
    EXPECT_GT(griglia->columnWidth(2), griglia->columnWidth(0));
    EXPECT_EQ(griglia->columnWidth(0), griglia->columnWidth(1));

    struct Caso {
        int riga, colonna;
        const char* testo;
    };
    const Caso casi[] = {{0, 0, "1,00"},  {0, 1, "9,50"},     {0, 2, "2,50"},
                         {1, 0, "10,00"}, {1, 1, "1.234,50"}, {1, 2, "0,00"}};
    for (const Caso& c : casi) {
        EXPECT_EQ(griglia->item(c.riga, c.colonna)->text(), QString::fromUtf8(c.testo))
            << c.riga << "," << c.colonna;
    }
    // Read-only: an edit key does not open an editor.
    griglia->setCurrentCell(0, 0);
    QTest::keyClick(griglia, Qt::Key_F2);
    EXPECT_EQ(griglia->item(0, 0)->text(), QStringLiteral("1,00"));
    EXPECT_EQ(QApplication::focusWidget(), griglia);  // no editor took the focus
    EXPECT_EQ(griglia->palette().color(QPalette::Base), QColor(192, 220, 192));

    // Fixed size; OK closes it.
    EXPECT_EQ(dialogo.minimumSize(), dialogo.maximumSize());
    QPushButton* ok = dialogo.findChild<QPushButton*>();
    ASSERT_NE(ok, nullptr);
    QSignalSpy chiuso(&dialogo, &QDialog::accepted);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(chiuso.count(), 1);
    EXPECT_FALSE(dialogo.isVisible());
}

TEST(Dialogo_Fasce, EmptyBandsStillShowTheGridAndOtherLanguagesTitles) {
    const Testi testi = testiIn(3);
    Dialogo_Fasce dialogo(QStringLiteral("Staffelrabatte"), Esito_Fasce{{}, QStringLiteral("M4")}, testi);
    EXPECT_EQ(dialogo.griglia()->rowCount(), 0);
    EXPECT_EQ(dialogo.griglia()->horizontalHeaderItem(1)->text(), QStringLiteral("Bis Menge"));
    EXPECT_EQ(dialogo.memo()->toPlainText(), testi.testo(QStringLiteral("M4")));
}

}  // namespace
}  // namespace velmora
