#include "catalogue/Generale.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include <QCoreApplication>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QRegularExpression>

namespace velmora::Generale {

Overflow_Arrotonda::Overflow_Arrotonda(const QString& text)
    : std::overflow_error(text.toStdString()), m_testo(text) {}

const std::array<std::int64_t, 16> Potenze_Dieci = {1LL,
                                                    10LL,
                                                    100LL,
                                                    1000LL,
                                                    10000LL,
                                                    100000LL,
                                                    1000000LL,
                                                    10000000LL,
                                                    100000000LL,
                                                    1000000000LL,
                                                    10000000000LL,
                                                    100000000000LL,
                                                    1000000000000LL,
                                                    10000000000000LL,
                                                    100000000000000LL,
                                                    1000000000000000LL};

long double Arrotonda(int decimali, const QString& modo, long double valore) {
    if (decimali < 0 || decimali > 15) {
        throw std::invalid_argument("Arrotonda: the number of decimals must be 0 to 15");
    }
    const bool negativo = valore < 0;
    const int scala = decimali <= 6 ? 6 : 15;

    // Fix the value at 6 (or 15) decimals, to the nearest and halves to even. The rounding
    // happens in long double first; only a result inside the 64-bit range is converted, so a
    // value just below 2^63 that rounds up to 2^63 is refused as well.
    const int modoPrecedente = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const long double fisso =
        std::nearbyintl(valore * static_cast<long double>(Potenze_Dieci[static_cast<size_t>(scala)]));
    std::fesetround(modoPrecedente);
    // -2^63 and 2^63 are exact in long double; [-2^63, 2^63) is the 64-bit range.
    constexpr long double kLimite = 9223372036854775808.0L;
    if (!std::isfinite(fisso) || fisso >= kLimite || fisso < -kLimite) {
        char testo[64];
        std::snprintf(testo, sizeof testo, "%.21Lg", valore);
        throw Overflow_Arrotonda(QStringLiteral("Arrotonda: %1 is too large to round to %2 decimals (fixed "
                                                "at %3 decimals it must fit 64 bits)")
                                     .arg(QString::fromLatin1(testo))
                                     .arg(decimali)
                                     .arg(scala));
    }
    const auto f = static_cast<std::int64_t>(fisso);

    const std::int64_t passo = Potenze_Dieci[static_cast<size_t>(scala - decimali)];
    std::int64_t q = f / passo;
    const std::int64_t r = f - q * passo;
    const std::int64_t c = decimali == scala ? 0 : r / (passo / 10);

    if (modo == QLatin1String("M")) {
        if (!negativo && c >= 5) {
            q += 1;
        } else if (negativo && c <= -6) {
            q -= 1;
        }
    } else if (modo == QLatin1String("A")) {
        if (std::llabs(c) >= 5) {
            q = negativo ? -(std::llabs(q) + 1) : std::llabs(q) + 1;
        }
    } else if (modo == QLatin1String("E")) {
        if (r != 0) {
            q = negativo ? -(std::llabs(q) + 1) : std::llabs(q) + 1;
        }
    }
    return static_cast<long double>(q) /
           static_cast<long double>(Potenze_Dieci[static_cast<size_t>(decimali)]);
}

namespace {
long double applicaSconti(long double prezzo, long double s1, long double s2, long double s3) {
    prezzo -= prezzo * s1 / 100;
    prezzo -= prezzo * s2 / 100;
    prezzo -= prezzo * s3 / 100;
    return prezzo;
}
}  // namespace

long double Netto_Sconti(int decimali, const QString& modo, long double prezzo, long double sconto1,
                         long double sconto2, long double sconto3) {
    return Arrotonda(decimali, modo, applicaSconti(prezzo, sconto1, sconto2, sconto3));
}

long double Importo_Sconti(int decimali, const QString& modo, long double prezzo, long double quantita,
                           long double sconto1, long double sconto2, long double sconto3) {
    return Arrotonda(decimali, modo, applicaSconti(prezzo, sconto1, sconto2, sconto3)) * quantita;
}

namespace {
// A whole number written with at least `cifre` digits, as a zero-padded format writes it.
QString conZeri(std::int64_t numero, int cifre) {
    const qulonglong magnitude =
        numero < 0 ? 0ULL - static_cast<qulonglong>(numero) : static_cast<qulonglong>(numero);
    const QString digits = QString::number(magnitude);
    return (numero < 0 ? QStringLiteral("-") : QString()) + digits.rightJustified(cifre, QLatin1Char('0'));
}
}  // namespace

QString Componi_Barcode(const std::array<std::int64_t, 7>& cifre, std::int64_t numero) {
    QString testo;
    for (const std::int64_t cifra : cifre) {
        testo += QString::number(cifra);
    }
    testo += conZeri(numero, 5);
    testo = testo.trimmed();

    // Only a whole number reads as one: a sign in the middle (a negative part) does not.
    static const QRegularExpression kIntero(QStringLiteral("^-?[0-9]+$"));
    if (!kIntero.match(testo).hasMatch()) {
        return QString();
    }
    // Read and written in long double, as the rest of this module: up to 19 digits come back
    // exactly; a longer text is written as the nearest long double value, never cut.
    const long double valore = std::strtold(testo.toLatin1().constData(), nullptr);
    if (!std::isfinite(valore)) {
        return QString();
    }
    char cifreTesto[5000];
    std::snprintf(cifreTesto, sizeof cifreTesto, "%.0Lf", std::fabs(valore));
    return (valore < 0 ? QStringLiteral("-") : QString()) +
           QString::fromLatin1(cifreTesto).rightJustified(12, QLatin1Char('0'));
}

int Verifica_Connessione() {
    // The system backend is asked only inside an application; otherwise only the interfaces are.
    if (QCoreApplication::instance() &&
        (QNetworkInformation::instance() || QNetworkInformation::loadDefaultBackend())) {
        if (QNetworkInformation* info = QNetworkInformation::instance();
            info && info->supports(QNetworkInformation::Feature::Reachability) &&
            info->reachability() != QNetworkInformation::Reachability::Unknown) {
            return info->reachability() == QNetworkInformation::Reachability::Online ||
                           info->reachability() == QNetworkInformation::Reachability::Site
                       ? 0
                       : 1;
        }
    }
    // No system backend: any interface that is up and not the loopback counts as a connection.
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& iface : interfaces) {
        const auto flags = iface.flags();
        if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::IsRunning) &&
            !flags.testFlag(QNetworkInterface::IsLoopBack)) {
            return 0;
        }
    }
    return 1;
}

void Sostituisci_Testo(QStringList& righe, const QString& vecchio, const QString& nuovo) {
    if (vecchio.isEmpty()) {
        return;
    }
    for (QString& riga : righe) {
        const qsizetype at = riga.indexOf(vecchio, 0, Qt::CaseSensitive);
        if (at >= 0) {
            riga.replace(at, vecchio.size(), nuovo);
        }
    }
}

}  // namespace velmora::Generale
