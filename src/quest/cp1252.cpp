#include "cp1252.h"

#include <QVector>

namespace {
// Characters of the bytes 0x80..0x9F; zero marks a byte the code page leaves open.
constexpr char16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,      // 88..8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178, // 98..9F
};

// The byte of a character, or -1 when the code page has none.
int toByte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    if (c >= 0x80 && c <= 0x9F)
        return kHigh[c - 0x80] == 0 ? int(c) : -1; // open bytes map to themselves
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] != 0 && kHigh[i] == c)
            return 0x80 + i;
    }
    return -1;
}
} // namespace

char32_t cp1252::toUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] != 0)
        return kHigh[byte - 0x80];
    return byte;
}

bool cp1252::canEncode(char32_t c)
{
    return toByte(c) >= 0;
}

QString cp1252::decode(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (char b : bytes)
        text.append(QChar(char16_t(toUnicode(static_cast<unsigned char>(b)))));
    return text;
}

QByteArray cp1252::encode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (char32_t c : text.toUcs4()) {
        const int b = toByte(c);
        bytes.append(b >= 0 ? char(b) : '?');
    }
    return bytes;
}

QString cp1252::unencodable(const QString &text)
{
    QVector<char32_t> found;
    for (char32_t c : text.toUcs4()) {
        if (!canEncode(c) && !found.contains(c))
            found.append(c);
    }
    return QString::fromUcs4(found.constData(), found.size());
}
