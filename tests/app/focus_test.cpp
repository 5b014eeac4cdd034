// The colour-on-focus controls, driven offscreen.
#include "app/ui/TCSEdit.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace velmora {
namespace {

const QColor kGiallo(255, 255, 0);

QColor sfondo(const QWidget* w) {
    return w->palette().color(QPalette::Base);
}

class FocusTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&m_finestra);
        m_edit = new TCSEdit(QStringLiteral("999999999"), &m_finestra);
        m_altro = new TCSEdit(&m_finestra);
        m_memo = new TCSDBMemo(&m_finestra);
        layout->addWidget(m_edit);
        layout->addWidget(m_altro);
        layout->addWidget(m_memo);
        m_finestra.show();
        QApplication::setActiveWindow(&m_finestra);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_finestra));
        Applica_Colori_Focus(&m_finestra);
        m_altro->setFocus();
    }

    QWidget m_finestra;
    TCSEdit* m_edit = nullptr;
    TCSEdit* m_altro = nullptr;
    TCSDBMemo* m_memo = nullptr;
    const QColor m_bianco = QApplication::palette().color(QPalette::Active, QPalette::Base);
    const QColor m_pulsante = QApplication::palette().color(QPalette::Active, QPalette::Button);
};

TEST_F(FocusTest, ThreeLooksAndDisabledWins) {
    EXPECT_EQ(sfondo(m_edit), m_bianco);
    EXPECT_EQ(sfondo(m_altro), kGiallo);
    m_edit->setFocus();
    EXPECT_TRUE(m_edit->focused());
    EXPECT_EQ(sfondo(m_edit), kGiallo);
    EXPECT_EQ(sfondo(m_altro), m_bianco);
    m_edit->setEnabled(false);
    EXPECT_EQ(sfondo(m_edit), m_pulsante);
    m_edit->setEnabled(true);
    m_memo->setFocus();
    EXPECT_EQ(sfondo(m_memo), kGiallo);
    EXPECT_EQ(sfondo(m_edit), m_bianco);
    m_memo->setEnabled(false);
    EXPECT_EQ(sfondo(m_memo), m_pulsante);
}

TEST_F(FocusTest, FontsFollowTheState) {
    QFont grande = m_edit->FontOnNoFocus();
    grande.setPointSize(grande.pointSize() + 6);
    m_edit->setFontOnNoFocus(grande);
    EXPECT_EQ(m_edit->font().pointSize(), grande.pointSize());  // at once, while unfocused
    QFont grassetto = m_edit->FontOnFocus();
    grassetto.setBold(true);
    m_edit->setFontOnFocus(grassetto);
    m_altro->setFocus();
    m_edit->setFocus();
    EXPECT_TRUE(m_edit->font().bold());
    m_altro->setFocus();
    EXPECT_FALSE(m_edit->font().bold());
    EXPECT_EQ(m_edit->font().pointSize(), grande.pointSize());
}

TEST_F(FocusTest, CaretAtTheEndOnEntryUnlessEverythingIsSelected) {
    QTest::keyClick(m_altro, Qt::Key_Backtab);  // back to the first edit
    ASSERT_TRUE(m_edit->hasFocus());
    EXPECT_EQ(m_edit->cursorPosition(), 9);
    EXPECT_FALSE(m_edit->hasSelectedText());
    m_edit->setAutoSelect(true);
    m_altro->setFocus();
    QTest::keyClick(m_altro, Qt::Key_Backtab);
    EXPECT_EQ(m_edit->selectedText(), QStringLiteral("999999999"));
}

TEST_F(FocusTest, ReturnMovesOnOnlyWhenAsked) {
    m_edit->setFocus();
    QSignalSpy invio(m_edit, &QLineEdit::returnPressed);
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_TRUE(m_edit->hasFocus());
    EXPECT_EQ(invio.size(), 1);
    m_edit->setExitOnReturn(true);
    QTest::keyClick(m_edit, Qt::Key_Return);
    EXPECT_TRUE(m_altro->hasFocus());
    EXPECT_EQ(invio.size(), 1);
}

}  // namespace
}  // namespace velmora
