#include "catalogue/Generale.h"

#include <cmath>
#include <limits>
#include <string>
#include <type_traits>

#include <gtest/gtest.h>

namespace velmora {
namespace {

using namespace Generale;

TEST(Potenze_Dieci, TenToTheZeroToFifteen) {
    static_assert(std::tuple_size_v<std::decay_t<decltype(Potenze_Dieci)>> == 16);
    std::int64_t atteso = 1;
    for (std::size_t i = 0; i < Potenze_Dieci.size(); ++i) {
        EXPECT_EQ(Potenze_Dieci[i], atteso) << i;
        atteso *= 10;
    }
}

// Expected values worked out by hand: X is first fixed at 6 decimals (15 when more than 6 are
// asked), halves to even; then Q, the remainder R and the first dropped digit C decide by mode.
TEST(Arrotonda, Table) {
    struct Case {
        int decimali;
        const char* modo;
        long double valore;
        double atteso;
    } cases[] = {
        // "M": up from 5 for X >= 0; a negative value moves away from zero only from 6.
        {2, "M", 2.345L, 2.35},
        {2, "M", -2.345L, -2.34},
        {2, "M", -2.346L, -2.35},
        {2, "M", 2.344L, 2.34},
        {2, "M", 2.3449996L, 2.35},    // fixed as 2.345000 first
        {2, "M", -2.3449996L, -2.34},  // fixed as -2.345000, C = -5
        {2, "M", -2.3459L, -2.34},     // only the first dropped digit counts
        {2, "M", -0.004L, 0.0},
        {2, "M", -0.006L, -0.01},
        {0, "M", 12.5L, 13},
        {0, "M", -12.5L, -12},
        {0, "M", -12.6L, -13},
        {0, "M", 0.5L, 1},
        // "A": magnitude up from 5, sign of X.
        {2, "A", 2.345L, 2.35},
        {2, "A", -2.345L, -2.35},
        {2, "A", -2.344L, -2.34},
        {2, "A", -2.3449996L, -2.35},
        {2, "A", -0.005L, -0.01},
        {0, "A", 12.5L, 13},
        {0, "A", -12.5L, -13},
        {0, "A", 12.4L, 12},
        // "E": any remainder moves the magnitude up, but only what survives the fixing.
        {2, "E", 2.0001L, 2.01},
        {2, "E", -2.0001L, -2.01},
        {2, "E", 2.0000001L, 2.00},
        {2, "E", -2.0000004L, -2.00},
        {2, "E", 2.0L, 2.0},
        {0, "E", 12.1L, 13},
        {0, "E", -12.000001L, -13},
        // Anything else truncates toward zero.
        {2, "N", 1.999L, 1.99},
        {2, "D", -1.999L, -1.99},
        {2, "", 1.999L, 1.99},
        {2, "m", 1.999L, 1.99},
        {2, "MA", 1.999L, 1.99},
        {0, "N", -12.5L, -12},
        // Six decimals: the fixed value itself, whatever the mode. 1/128 and 3/128 are exact
        // binary values with a 5 in the seventh decimal: 7812.5 goes down, 23437.5 goes up.
        {6, "M", 0.0078125L, 0.007812},
        {6, "A", 0.0234375L, 0.023438},
        {6, "E", -0.0078125L, -0.007812},
        {6, "N", -0.0234375L, -0.023438},
        // Above six decimals the value is fixed at fifteen. 1/65536 and 3/65536 are exact halves
        // there: 15258789062.5 goes down, 45776367187.5 goes up.
        {15, "M", 0.0000152587890625L, 0.000015258789062},
        {15, "E", 0.0000457763671875L, 0.000045776367188},
        {15, "N", -1.5L, -1.5},
        {14, "M", 0.0000457763671875L, 0.00004577636719},
        {14, "N", 0.0000457763671875L, 0.00004577636718},
        {7, "M", 1.23456785L, 1.2345679},
        {7, "M", -1.23456785L, -1.2345678},
        {7, "A", -1.23456785L, -1.2345679},
        {7, "E", 1.2345678000001L, 1.2345679},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(static_cast<double>(Arrotonda(c.decimali, QString::fromLatin1(c.modo), c.valore)),
                         c.atteso)
            << c.decimali << " \"" << c.modo << "\" " << static_cast<double>(c.valore);
    }
}

TEST(Arrotonda, ValuesThatDoNotFitSixtyFourBitsRaise) {
    struct Case {
        int decimali;
        long double valore;
        bool troppoGrande;
    } cases[] = {
        {2, 9.2e12L, false},
        {2, 9.3e12L, true},
        {2, -9.3e12L, true},
        {0, 1e300L, true},
        {7, 9000.0L, false},
        {7, 9300.0L, true},
        {15, -9300.0L, true},
        {2, std::numeric_limits<long double>::infinity(), true},
        {2, -std::numeric_limits<long double>::infinity(), true},
        {2, std::numeric_limits<long double>::quiet_NaN(), true},
    };
    for (const Case& c : cases) {
        if (c.troppoGrande) {
            EXPECT_THROW(Arrotonda(c.decimali, QStringLiteral("M"), c.valore), Overflow_Arrotonda)
                << static_cast<double>(c.valore);
        } else {
            EXPECT_NO_THROW(Arrotonda(c.decimali, QStringLiteral("M"), c.valore))
                << static_cast<double>(c.valore);
        }
    }
    // The caller sees the value in the error text.
    try {
        Arrotonda(2, QStringLiteral("M"), 1e13L);
        ADD_FAILURE() << "no error for 1e13";
    } catch (const Overflow_Arrotonda& e) {
        EXPECT_TRUE(e.testo().contains(QStringLiteral("10000000000000"))) << e.testo().toStdString();
        EXPECT_EQ(QString::fromStdString(e.what()), e.testo());
    }
}

// The limits are [-2^63, 2^63) after the fixing. Near 2^63 the fixed value X * 10^6 has
// halves: 2^63 - 0.5 rounds to 2^63 and must raise, -2^63 + 0.5 rounds to -2^63 and fits.
TEST(Arrotonda, LimitsAfterTheFixing) {
    const long double sottoIlLimite = 0x8.637bd05af6c69b5p+40L;
    ASSERT_EQ(sottoIlLimite * 1e6L, 9223372036854775807.5L);
    EXPECT_THROW(Arrotonda(2, QStringLiteral("M"), sottoIlLimite), Overflow_Arrotonda);

    const long double ancoraSotto = 0x8.637bd05af6c69b4p+40L;
    ASSERT_EQ(ancoraSotto * 1e6L, 9223372036854775806.5L);
    // Fixed at 9223372036854775806 (even); with 0 decimals the truncation keeps the integer part.
    EXPECT_EQ(Arrotonda(0, QStringLiteral("N"), ancoraSotto), 9223372036854.0L);
    EXPECT_EQ(Arrotonda(6, QStringLiteral("M"), ancoraSotto),
              static_cast<long double>(9223372036854775806LL) / 1e6L);

    const long double minimo = -0x8.637bd05af6c69b6p+40L;
    ASSERT_EQ(minimo * 1e6L, -9223372036854775808.0L);
    EXPECT_EQ(Arrotonda(0, QStringLiteral("N"), minimo), -9223372036854.0L);
    const long double mezzoSopraMinimo = -0x8.637bd05af6c69b5p+40L;
    ASSERT_EQ(mezzoSopraMinimo * 1e6L, -9223372036854775807.5L);
    EXPECT_EQ(Arrotonda(0, QStringLiteral("N"), mezzoSopraMinimo), -9223372036854.0L);
    const long double oltreMinimo = -0x8.637bd05af6c69b7p+40L;
    ASSERT_EQ(oltreMinimo * 1e6L, -9223372036854775809.0L);
    EXPECT_THROW(Arrotonda(0, QStringLiteral("N"), oltreMinimo), Overflow_Arrotonda);
}

TEST(Arrotonda, DecimalsOutsideZeroToFifteenAreRefused) {
    EXPECT_THROW(Arrotonda(16, QStringLiteral("M"), 1.0L), std::invalid_argument);
    EXPECT_THROW(Arrotonda(-1, QStringLiteral("M"), 1.0L), std::invalid_argument);
}

TEST(Sconti, NetPriceAfterThreePercentagesInSequence) {
    struct Case {
        int decimali;
        const char* modo;
        long double prezzo, s1, s2, s3;
        double atteso;
    } cases[] = {
        {5, "M", 100, 10, 5, 0, 85.5},     // 90, then 85.5
        {5, "M", 100, 10, -5, 0, 94.5},    // 90, then 94.5: a negative percentage raises
        {5, "M", 100, 10, 10, 10, 72.9},   // 90, 81, 72.9: in sequence, not 70
        {2, "M", 100, -10, 0, 0, 110},     //
        {2, "M", 19.99, 0, 0, 0, 19.99},   // no discount
        {2, "M", 10, 33.333, 0, 0, 6.67},  // 6.6667
        {2, "N", 10, 33.333, 0, 0, 6.66},
        {2, "M", -10, 33.333, 0, 0, -6.67},  // -6.6667, first dropped digit -6
        {2, "E", 10, 0.001, 0, 0, 10.00},    // 9.9999
        {2, "A", 1, 0, 0, 0.5, 1.00},        // 0.995
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(static_cast<double>(Netto_Sconti(c.decimali, QString::fromLatin1(c.modo), c.prezzo,
                                                          c.s1, c.s2, c.s3)),
                         c.atteso)
            << static_cast<double>(c.prezzo) << " " << static_cast<double>(c.s1) << " "
            << static_cast<double>(c.s2) << " " << static_cast<double>(c.s3);
    }
}

TEST(Sconti, AmountIsQuantityTimesRoundedNetPrice) {
    struct Case {
        int decimali;
        const char* modo;
        long double prezzo, quantita, s1, s2, s3;
        double atteso;
    } cases[] = {
        {2, "M", 10, 3, 33.333, 0, 0, 20.01},  // 6.67 * 3, not 6.6667 * 3 = 20.0001
        {2, "N", 1.239, 2.5, 0, 0, 0, 3.075},  // 1.23 * 2.5, not rounded again
        {2, "M", 100, 2, 10, -5, 0, 189},      // 94.5 * 2
        {2, "M", 10, -3, 33.333, 0, 0, -20.01}, {5, "M", 100, 0, 10, 5, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(static_cast<double>(Importo_Sconti(c.decimali, QString::fromLatin1(c.modo), c.prezzo,
                                                            c.quantita, c.s1, c.s2, c.s3)),
                         c.atteso)
            << static_cast<double>(c.prezzo) << " x " << static_cast<double>(c.quantita);
    }
}

TEST(Componi_Barcode, DigitsThenArticleNumberAsTwelveDigitsOrMore) {
    struct Case {
        std::array<std::int64_t, 7> cifre;
        std::int64_t numero;
        const char* atteso;
    } cases[] = {
        {{8, 0, 1, 2, 3, 4, 5}, 42, "801234500042"},
        {{0, 0, 0, 0, 0, 0, 0}, 42, "000000000042"},  // leading zeros come back
        {{0, 0, 0, 0, 0, 0, 0}, 0, "000000000000"},
        {{0, 0, 0, 0, 0, 0, 1}, 0, "000000100000"},
        {{8, 0, 1, 2, 3, 4, 5}, 123456, "8012345123456"},  // longer, not cut
        {{12, 0, 1, 2, 3, 4, 5}, 7, "1201234500007"},
        {{8, 0, 1, 2, 3, 4, 5}, 12345678901, "801234512345678901"},  // 18 digits, exact
        {{-8, 0, 1, 2, 3, 4, 5}, 42, "-801234500042"},               // reads as a negative number
        // A sign inside the text does not read as a number.
        {{8, -1, 1, 2, 3, 4, 5}, 7, ""},
        {{8, 0, 1, 2, 3, 4, 5}, -42, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Componi_Barcode(c.cifre, c.numero).toStdString(), std::string(c.atteso));
    }
}

TEST(Sostituisci_Testo, FirstOccurrenceOfEveryLine) {
    struct Case {
        QStringList righe;
        QString vecchio;
        QString nuovo;
        QStringList attese;
    } cases[] = {
        {{QStringLiteral("#qta# pezzi e ancora #qta#"), QStringLiteral("nessuno"),
          QStringLiteral("codice #codice#"), QStringLiteral("#QTA# maiuscolo"), QStringLiteral("fine #qta#")},
         QStringLiteral("#qta#"),
         QStringLiteral("12"),
         {QStringLiteral("12 pezzi e ancora #qta#"), QStringLiteral("nessuno"),
          QStringLiteral("codice #codice#"), QStringLiteral("#QTA# maiuscolo"), QStringLiteral("fine 12")}},
        // The replacement may hold the placeholder: it is not looked at again.
        {{QStringLiteral("a [x] b")},
         QStringLiteral("[x]"),
         QStringLiteral("[x][x]"),
         {QStringLiteral("a [x][x] b")}},
        // An empty replacement removes the placeholder.
        {{QStringLiteral("Caro [nome],")}, QStringLiteral(" [nome]"), QString(), {QStringLiteral("Caro,")}},
        // An empty placeholder is never found.
        {{QStringLiteral("testo"), QString()},
         QString(),
         QStringLiteral("x"),
         {QStringLiteral("testo"), QString()}},
        {{}, QStringLiteral("x"), QStringLiteral("y"), {}},
        {{QStringLiteral("perché €")},
         QStringLiteral("é"),
         QStringLiteral("e'"),
         {QStringLiteral("perche' €")}},
    };
    for (Case& c : cases) {
        Sostituisci_Testo(c.righe, c.vecchio, c.nuovo);
        EXPECT_EQ(c.righe.join(QLatin1Char('|')).toStdString(),
                  c.attese.join(QLatin1Char('|')).toStdString());
        EXPECT_EQ(c.righe.size(), c.attese.size());
    }
}

TEST(Verifica_Connessione, AnswersZeroOrOne) {
    for (int volta = 0; volta < 2; ++volta) {  // the second call finds the backend already loaded
        const int stato = Verifica_Connessione();
        EXPECT_TRUE(stato == 0 || stato == 1) << stato;
    }
}

}  // namespace
}  // namespace velmora
