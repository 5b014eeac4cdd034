#include "platform/Cp1252.h"

#include <array>

namespace velmora {

namespace {
// 0x80..0x9F; 0 marks the five positions the code page leaves undefined (kept as C1 controls).
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

QByteArray toCp1252(const QString& text, bool* lossless) {
    QByteArray out;
    out.resize(text.size());
    bool ok = true;
    char* dst = out.data();
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            *dst++ = static_cast<char>(u);
            continue;
        }
        char mapped = '?';
        bool found = false;
        for (int i = 0; i < 32; ++i) {
            if (kHigh[i] == u || (kHigh[i] == 0 && u == 0x80 + i)) {
                mapped = static_cast<char>(0x80 + i);
                found = true;
                break;
            }
        }
        ok = ok && found;
        *dst++ = mapped;
    }
    if (lossless) {
        *lossless = ok;
    }
    return out;
}

QString fromCp1252(const char* data, qsizetype size) {
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0) {
            dst[i] = QChar(kHigh[b - 0x80]);
        } else {
            dst[i] = QChar(b);
        }
    }
    return out;
}

}  // namespace velmora
