#include "catalogue/Generale.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using namespace Generale;

TEST(Arrotonda, Table) {
    struct Case {
        int decimali;
        const char* modo;
        long double valore;
        double atteso;
    } cases[] = {
        // Half up; a negative half is not moved away from zero, from 6 on it is.
        {2, "M", 2.345L, 2.35},
        {2, "M", -2.345L, -2.34},
        {2, "M", -2.346L, -2.35},
        {2, "M", 2.3449996L, 2.35},  // fixed at six decimals first: 2.345000
        {2, "M", 2.344L, 2.34},
        // Half away from zero.
        {2, "A", -2.345L, -2.35},
        {2, "A", 2.345L, 2.35},
        {2, "A", -2.344L, -2.34},
        // Any excess away from zero, but only the excess that survives six decimals.
        {2, "E", 2.0001L, 2.01},
        {2, "E", -2.0001L, -2.01},
        {2, "E", 2.0000001L, 2.00},
        {2, "E", 2.0L, 2.0},
        // Everything else truncates.
        {2, "N", 1.999L, 1.99},
        {2, "D", -1.999L, -1.99},
        {2, "", 1.999L, 1.99},
        {2, "m", 1.999L, 1.99},
        // No decimals.
        {0, "M", -12.5L, -12},
        {0, "A", -12.5L, -13},
        {0, "N", -12.5L, -12},
        {0, "M", 12.5L, 13},
        {0, "A", 12.5L, 13},
        {0, "E", 12.1L, 13},
        // Six decimals: the value fixed at six decimals, halves to even, whatever the mode.
        {6, "M", 0.0000025L, 0.000002},
        {6, "A", 0.0000035L, 0.000004},
        {6, "E", 1.23456749L, 1.234567},
        {6, "N", -0.0000025L, -0.000002},
        // Above six the value is fixed at fifteen decimals.
        {7, "M", 1.23456785L, 1.2345679},
        {15, "M", 0.000000000000001L, 0.000000000000001},
        {15, "N", 1.5L, 1.5},
        {4, "M", 0.00005L, 0.0001},
        {5, "M", 85.5L, 85.5},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(static_cast<double>(Arrotonda(c.decimali, QString::fromLatin1(c.modo), c.valore)),
                         c.atteso)
            << c.decimali << " " << c.modo << " " << static_cast<double>(c.valore);
    }
}

TEST(Arrotonda, TooLargeOrOutOfRangeIsAClearError) {
    EXPECT_NO_THROW(Arrotonda(2, QStringLiteral("M"), 9.2e12L));
    EXPECT_THROW(Arrotonda(2, QStringLiteral("M"), 9.3e12L), Overflow_Arrotonda);
    EXPECT_THROW(Arrotonda(2, QStringLiteral("M"), -9.3e12L), Overflow_Arrotonda);
    EXPECT_NO_THROW(Arrotonda(7, QStringLiteral("M"), 9000.0L));
    EXPECT_THROW(Arrotonda(7, QStringLiteral("M"), 9300.0L), Overflow_Arrotonda);
    EXPECT_THROW(Arrotonda(2, QStringLiteral("M"), std::numeric_limits<long double>::infinity()),
                 Overflow_Arrotonda);
    EXPECT_THROW(Arrotonda(16, QStringLiteral("M"), 1.0L), std::invalid_argument);
    EXPECT_THROW(Arrotonda(-1, QStringLiteral("M"), 1.0L), std::invalid_argument);
    try {
        Arrotonda(2, QStringLiteral("M"), 1e13L);
    } catch (const Overflow_Arrotonda& e) {
        EXPECT_TRUE(e.testo().contains(QStringLiteral("10000000000000"))) << e.testo().toStdString();
    }
}

TEST(Sconti, ChainOfThreePercentages) {
    EXPECT_DOUBLE_EQ(static_cast<double>(Netto_Sconti(5, QStringLiteral("M"), 100, 10, 5, 0)), 85.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(Netto_Sconti(5, QStringLiteral("M"), 100, 10, -5, 0)), 94.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(Netto_Sconti(2, QStringLiteral("M"), 19.99, 0, 0, 0)), 19.99);
    EXPECT_DOUBLE_EQ(static_cast<double>(Netto_Sconti(2, QStringLiteral("M"), 10, 33.333, 0, 0)), 6.67);
    // The amount is the quantity times the rounded net price, not rounded again.
    EXPECT_DOUBLE_EQ(static_cast<double>(Importo_Sconti(2, QStringLiteral("M"), 10, 3, 33.333, 0, 0)),
                     6.67 * 3);
    EXPECT_DOUBLE_EQ(static_cast<double>(Importo_Sconti(2, QStringLiteral("N"), 1.239, 2.5, 0, 0, 0)),
                     1.23 * 2.5);
}

TEST(Componi_Barcode, TwelveDigitsOrMore) {
    EXPECT_EQ(Componi_Barcode({8, 0, 1, 2, 3, 4, 5}, 42), QStringLiteral("801234500042"));
    EXPECT_EQ(Componi_Barcode({0, 0, 0, 0, 0, 0, 0}, 42), QStringLiteral("000000000042"));
    EXPECT_EQ(Componi_Barcode({8, 0, 1, 2, 3, 4, 5}, 123456), QStringLiteral("8012345123456"));
    EXPECT_EQ(Componi_Barcode({12, 0, 1, 2, 3, 4, 5}, 7), QStringLiteral("1201234500007"));
    // A negative part cannot be read as a number.
    EXPECT_EQ(Componi_Barcode({8, -1, 1, 2, 3, 4, 5}, 7), QString());
}

TEST(Sostituisci_Testo, FirstOccurrenceOfEveryLine) {
    QStringList righe = {QStringLiteral("#qta# pezzi e ancora #qta#"), QStringLiteral("nessuno"),
                         QStringLiteral("codice #codice#"), QStringLiteral("#QTA# maiuscolo")};
    Sostituisci_Testo(righe, QStringLiteral("#qta#"), QStringLiteral("12"));
    EXPECT_EQ(righe, (QStringList{QStringLiteral("12 pezzi e ancora #qta#"), QStringLiteral("nessuno"),
                                  QStringLiteral("codice #codice#"), QStringLiteral("#QTA# maiuscolo")}));
    const QStringList prima = righe;
    Sostituisci_Testo(righe, QString(), QStringLiteral("x"));
    EXPECT_EQ(righe, prima);
}

TEST(Verifica_Connessione, AnswersZeroOrOne) {
    const int stato = Verifica_Connessione();
    EXPECT_TRUE(stato == 0 || stato == 1);
}

}  // namespace
}  // namespace velmora
