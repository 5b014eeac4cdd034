#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>

#include <QString>
#include <QStringList>

// The computations the whole program shares: rounding by decimals and mode letter, the chain
// of three discounts, the article's numeric code, the connectivity check and the placeholder
// replacement in a multi-line text. Arithmetic runs in extended precision (long double).
namespace velmora::Generale {

// A value too large for the fixed-point step of Arrotonda.
class Overflow_Arrotonda : public std::overflow_error {
public:
    explicit Overflow_Arrotonda(const QString& text);
    const QString& testo() const { return m_testo; }

private:
    QString m_testo;
};

// 10^0 to 10^15.
extern const std::array<std::int64_t, 16> Potenze_Dieci;

// Rounds `valore` to `decimali` (0..15) by the mode letter: "M" half up (a negative value
// moves away from zero only from 6), "A" half away from zero, "E" any excess away from zero,
// anything else truncates. The value is first fixed at 6 decimals (15 above 6), halves to
// even. Throws Overflow_Arrotonda when that fixed value does not fit a signed 64-bit integer
// (also for infinity and NaN), and std::invalid_argument for decimals outside 0..15.
long double Arrotonda(int decimali, const QString& modo, long double valore);

// The price after three discounts in sequence, rounded.
long double Netto_Sconti(int decimali, const QString& modo, long double prezzo, long double sconto1,
                         long double sconto2, long double sconto3);
// The rounded net price times the quantity; the product is not rounded again.
long double Importo_Sconti(int decimali, const QString& modo, long double prezzo, long double quantita,
                           long double sconto1, long double sconto2, long double sconto3);

// Seven prefix digits and the article number as the twelve data digits of an EAN-13 code
// (more digits for longer inputs, nothing is cut); the empty text when the parts do not read
// as one whole number (a negative part after the first, a negative article number).
QString Componi_Barcode(const std::array<std::int64_t, 7>& cifre, std::int64_t numero);

// 0 when the system reports a connection to the network, 1 otherwise.
int Verifica_Connessione();

// Replaces the first occurrence of `vecchio` in every line; an empty `vecchio` is never found.
void Sostituisci_Testo(QStringList& righe, const QString& vecchio, const QString& nuovo);

}  // namespace velmora::Generale
