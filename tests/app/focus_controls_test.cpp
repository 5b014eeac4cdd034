// The colour-on-focus edit and memo, driven offscreen: looks per state, caret on entry, Enter.
#include <QApplication>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "app/ui/TCSDBMemo.h"
#include "app/ui/TCSEdit.h"

namespace velmora {
namespace {

const QColor kGiallo(255, 255, 0);

QColor sfondo(const QWidget* w) {
    return w->palette().color(QPalette::Base);
}

QColor finestraDiSistema() {
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}

// The memo paints in its viewport: a repaint of the control means a repaint of that.
void ridisegna(QWidget* w) {
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) {
        area->viewport()->repaint();
    } else {
        w->repaint();
    }
}

// A window that records the keys its children leave to it.
class Finestra : public QWidget {
public:
    QList<int> tasti;

protected:
    void keyPressEvent(QKeyEvent* event) override { tasti.append(event->key()); }
};

class FocusControlsTest : public ::testing::Test {
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
        ASSERT_TRUE(m_altro->hasFocus());
    }

    Finestra m_finestra;
    TCSEdit* m_edit = nullptr;
    TCSEdit* m_altro = nullptr;
    TCSDBMemo* m_memo = nullptr;
    const QColor m_bianco = finestraDiSistema();
    const QColor m_pulsante = QApplication::palette().color(QPalette::Active, QPalette::Button);
};

TEST(FocusControlsDefaults, EveryLookStartsAsTheSystemWindowAndTheDefaultFont) {
    TCSEdit edit;
    TCSDBMemo memo;
    for (QWidget* w : {static_cast<QWidget*>(&edit), static_cast<QWidget*>(&memo)}) {
        SCOPED_TRACE(w->metaObject()->className());
        for (const char* nome : {"ColorOnFocus", "ColorOnDisabled", "ColorOnNoFocus"}) {
            EXPECT_EQ(w->property(nome).value<QColor>(), finestraDiSistema()) << nome;
        }
        for (const char* nome : {"FontOnFocus", "FontOnDisabled", "FontOnNoFocus"}) {
            EXPECT_EQ(w->property(nome).value<QFont>(), QApplication::font(w)) << nome;
        }
        EXPECT_EQ(sfondo(w), finestraDiSistema());
    }
    EXPECT_FALSE(edit.focused());
    EXPECT_FALSE(memo.focused());
    EXPECT_TRUE(edit.property("CursoreFineCampo").toBool());
    EXPECT_FALSE(edit.property("ExitOnReturn").toBool());
    EXPECT_FALSE(memo.property("CursoreFineCampo").isValid());
    EXPECT_FALSE(memo.property("ExitOnReturn").isValid());
}

TEST_F(FocusControlsTest, LanguageColoursReachNestedControlsAndShowTheState) {
    QWidget pannello(&m_finestra);
    auto* annidato = new TCSEdit(new QWidget(&pannello));
    Applica_Colori_Focus(&m_finestra);
    for (QWidget* w : {static_cast<QWidget*>(annidato), static_cast<QWidget*>(m_memo)}) {
        EXPECT_EQ(w->property("ColorOnFocus").value<QColor>(), kGiallo);
        EXPECT_EQ(w->property("ColorOnDisabled").value<QColor>(), m_pulsante);
        EXPECT_EQ(w->property("ColorOnNoFocus").value<QColor>(), m_bianco);
    }
    // The focused edit is yellow straight away, not only after its next repaint.
    EXPECT_EQ(sfondo(m_altro), kGiallo);
    EXPECT_EQ(sfondo(m_edit), m_bianco);
}

TEST_F(FocusControlsTest, EachStateShowsItsColourAndFontForBothControls) {
    QFont grande = QApplication::font(m_edit);
    grande.setPointSize(grande.pointSize() + 4);
    QFont grassetto = QApplication::font(m_edit);
    grassetto.setBold(true);
    QFont corsivo = QApplication::font(m_edit);
    corsivo.setItalic(true);

    for (QWidget* w : {static_cast<QWidget*>(m_edit), static_cast<QWidget*>(m_memo)}) {
        SCOPED_TRACE(w->metaObject()->className());
        w->setProperty("FontOnFocus", grassetto);
        w->setProperty("FontOnDisabled", corsivo);
        w->setProperty("FontOnNoFocus", grande);
        ridisegna(w);
        EXPECT_EQ(sfondo(w), m_bianco);
        EXPECT_EQ(w->font().pointSize(), grande.pointSize());
        EXPECT_FALSE(w->font().bold());

        w->setFocus();
        EXPECT_EQ(sfondo(w), kGiallo);
        EXPECT_TRUE(w->font().bold());
        EXPECT_EQ(sfondo(m_altro), m_bianco);  // the control the focus left

        // Qt moves the focus away from a control it disables: the disabled look shows.
        w->setEnabled(false);
        EXPECT_FALSE(w->hasFocus());
        EXPECT_EQ(sfondo(w), m_pulsante);
        EXPECT_TRUE(w->font().italic());
        EXPECT_FALSE(w->font().bold());

        w->setEnabled(true);
        EXPECT_EQ(sfondo(w), m_bianco);
        EXPECT_EQ(w->font().pointSize(), grande.pointSize());
        EXPECT_FALSE(w->font().italic());
        m_altro->setFocus();
    }
}

TEST_F(FocusControlsTest, DisabledWinsOverTheFocusAtTheNextRepaint) {
    for (QWidget* w : {static_cast<QWidget*>(m_edit), static_cast<QWidget*>(m_memo)}) {
        SCOPED_TRACE(w->metaObject()->className());
        w->setEnabled(false);
        ASSERT_EQ(sfondo(w), m_pulsante);
        // The focus arriving at a disabled control: shown at once, corrected by the repaint.
        QFocusEvent entrata(QEvent::FocusIn, Qt::OtherFocusReason);
        QApplication::sendEvent(w, &entrata);
        EXPECT_EQ(sfondo(w), kGiallo);
        ridisegna(w);
        EXPECT_EQ(sfondo(w), m_pulsante);
    }
    EXPECT_TRUE(m_edit->focused());
    EXPECT_TRUE(m_memo->focused());
}

TEST_F(FocusControlsTest, SettersShowTheLookAtOnceAndTheRepaintRestoresTheState) {
    QFont grande = QApplication::font(m_edit);
    grande.setPointSize(grande.pointSize() + 7);
    QFont grassetto = QApplication::font(m_edit);
    grassetto.setBold(true);
    const QColor rosso(Qt::red), blu(Qt::blue), ciano(Qt::cyan);

    // Only the unfocused look belongs to the state of an unfocused control and survives the repaint.
    struct Caso {
        const char* proprieta;
        QVariant valore;
        bool resta;
    };
    const Caso casi[] = {
        {"ColorOnFocus", rosso, false},       {"ColorOnDisabled", blu, false},
        {"ColorOnNoFocus", ciano, true},      {"FontOnFocus", grassetto, false},
        {"FontOnDisabled", grassetto, false}, {"FontOnNoFocus", grande, true},
    };
    for (QWidget* w : {static_cast<QWidget*>(m_edit), static_cast<QWidget*>(m_memo)}) {
        for (const Caso& caso : casi) {
            SCOPED_TRACE(std::string(w->metaObject()->className()) + " " + caso.proprieta);
            const QColor sfondoPrima = sfondo(w);
            const QFont fontPrima = w->font();
            ASSERT_TRUE(w->setProperty(caso.proprieta, caso.valore));
            const bool colore = caso.valore.typeId() == QMetaType::QColor;
            if (colore) {
                EXPECT_EQ(sfondo(w), caso.valore.value<QColor>());
            } else {
                EXPECT_EQ(w->font(), caso.valore.value<QFont>());
            }
            ridisegna(w);
            if (colore) {
                EXPECT_EQ(sfondo(w), caso.resta ? caso.valore.value<QColor>() : sfondoPrima);
            } else {
                EXPECT_EQ(w->font(), caso.resta ? caso.valore.value<QFont>() : fontPrima);
            }
        }
    }
}

TEST_F(FocusControlsTest, CaretOnEntry) {
    struct Caso {
        const char* nome;
        bool cursoreFineCampo;
        bool autoSelect;
        QString maschera;
        QString testo;
        int cursore;
        QString selezione;
    };
    const Caso casi[] = {
        {"caret after the last digit", true, false, {}, QStringLiteral("999999999"), 9, {}},
        {"select all wins", true, true, {}, QStringLiteral("999999999"), 9, QStringLiteral("999999999")},
        {"caret stays where it was", false, false, {}, QStringLiteral("999999999"), 3, {}},
        {"masked: after the typed digits",
         true,
         false,
         QStringLiteral("999999999"),
         QStringLiteral("123"),
         3,
         {}},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.nome);
        m_edit->setInputMask(caso.maschera);
        m_edit->setText(caso.testo);
        m_edit->setCursorPosition(3);
        m_edit->setCursoreFineCampo(caso.cursoreFineCampo);
        m_edit->setAutoSelect(caso.autoSelect);
        m_altro->setFocus();
        QTest::keyClick(m_altro, Qt::Key_Backtab);
        ASSERT_TRUE(m_edit->hasFocus());
        EXPECT_EQ(m_edit->cursorPosition(), caso.cursore);
        EXPECT_EQ(m_edit->selectedText(), caso.selezione);
    }
}

TEST_F(FocusControlsTest, EnterReachesTheWindowAndMovesOnOnlyWithExitOnReturn) {
    struct Caso {
        bool exitOnReturn;
        Qt::Key tasto;
    };
    const Caso casi[] = {
        {false, Qt::Key_Return}, {false, Qt::Key_Enter}, {true, Qt::Key_Return}, {true, Qt::Key_Enter}};
    for (const Caso& caso : casi) {
        SCOPED_TRACE(testing::Message() << "ExitOnReturn " << caso.exitOnReturn << " key " << caso.tasto);
        m_edit->setExitOnReturn(caso.exitOnReturn);
        m_edit->setFocus();
        m_finestra.tasti.clear();
        QSignalSpy invio(m_edit, &QLineEdit::returnPressed);
        QTest::keyClick(m_edit, caso.tasto);
        EXPECT_EQ(invio.size(), 1);
        EXPECT_EQ(m_finestra.tasti, QList<int>{caso.tasto});
        EXPECT_EQ(m_edit->text(), QStringLiteral("999999999"));
        EXPECT_EQ(m_altro->hasFocus(), caso.exitOnReturn);
        EXPECT_EQ(m_edit->hasFocus(), !caso.exitOnReturn);
        EXPECT_EQ(sfondo(m_edit), caso.exitOnReturn ? m_bianco : kGiallo);
    }
    // Other keys are left alone.
    m_edit->setFocus();
    QTest::keyClick(m_edit, Qt::Key_5);
    EXPECT_TRUE(m_edit->hasFocus());
    EXPECT_EQ(m_edit->text(), QStringLiteral("9999999995"));
}

TEST_F(FocusControlsTest, MemoReportsEditsButNotTheTextItWasGiven) {
    QSignalSpy modifiche(m_memo, &TCSDBMemo::testoModificato);
    m_memo->setTesto(QStringLiteral("Nota"));
    EXPECT_EQ(m_memo->property("Testo").toString(), QStringLiteral("Nota"));
    EXPECT_EQ(modifiche.size(), 0);

    m_memo->setFocus();
    m_memo->moveCursor(QTextCursor::End);
    QTest::keyClick(m_memo, Qt::Key_Return);
    QTest::keyClicks(m_memo, QStringLiteral("ok"));
    ASSERT_EQ(modifiche.size(), 3);
    EXPECT_EQ(modifiche.last().at(0).toString(), QStringLiteral("Nota\nok"));
    EXPECT_TRUE(m_memo->hasFocus());  // Enter is a new line in the memo

    m_memo->setTesto(QString());
    EXPECT_EQ(modifiche.size(), 3);
    EXPECT_TRUE(m_memo->testo().isEmpty());
}

TEST(FocusControlsTheme, YellowStaysReadableOnADarkTheme) {
    const QPalette prima = QApplication::palette();
    struct Ripristina {
        QPalette palette;
        ~Ripristina() { QApplication::setPalette(palette); }
    } ripristina{prima};
    QPalette scura = prima;
    const QColor fondo(0x20, 0x20, 0x20), testo(0xe0, 0xe0, 0xe0);
    for (const auto gruppo : {QPalette::Active, QPalette::Inactive}) {
        scura.setColor(gruppo, QPalette::Base, fondo);
        scura.setColor(gruppo, QPalette::Text, testo);
    }
    QApplication::setPalette(scura);

    TCSDBMemo memo;
    EXPECT_EQ(memo.palette().color(QPalette::Text), testo);
    memo.setColorOnFocus(kGiallo);  // shown at once
    EXPECT_EQ(memo.palette().color(QPalette::Base), kGiallo);
    EXPECT_EQ(memo.palette().color(QPalette::Text), fondo);
    memo.setColorOnNoFocus(QColor(0x30, 0x30, 0x50));
    EXPECT_EQ(memo.palette().color(QPalette::Text), testo);
}

}  // namespace
}  // namespace velmora
