#include "catalogue/Generale.h"

#include <cfenv>
#include <cmath>
#include <limits>

#include <QNetworkInformation>
#include <QNetworkInterface>

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
    const long double fisso = valore * static_cast<long double>(Potenze_Dieci[static_cast<size_t>(scala)]);
    // 2^63 is exact in long double; anything from there up does not fit.
    constexpr long double kLimite = 9223372036854775808.0L;
    if (!std::isfinite(fisso) || fisso >= kLimite || fisso < -kLimite) {
        throw Overflow_Arrotonda(QStringLiteral("Arrotonda: %1 cannot be rounded to %2 decimals (too large)")
                                     .arg(static_cast<double>(valore), 0, 'g', 17)
                                     .arg(decimali));
    }
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const std::int64_t f = std::llrintl(fisso);  // halves to even
    std::fesetround(previous);

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
    bool ok = false;
    const double valore = testo.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(valore) || std::fabs(valore) >= 9.2e18) {
        return QString();
    }
    return conZeri(static_cast<std::int64_t>(std::llround(valore)), 12);
}

int Verifica_Connessione() {
    if (QNetworkInformation::instance() || QNetworkInformation::loadDefaultBackend()) {
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
