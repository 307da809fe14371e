#include "Cp1250.h"

#include <array>

namespace {

constexpr std::array<char16_t, 128> upperHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

int encodeChar(char16_t c)
{
    if (c < 0x80)
        return c;
    for (size_t i = 0; i < upperHalf.size(); ++i)
        if (upperHalf[i] == c)
            return static_cast<int>(0x80 + i);
    return -1;
}

// Lower-case byte -> upper-case byte for the accented letters.
constexpr std::array<std::pair<uint8_t, uint8_t>, 31> accentedUpper = {{
    {0xE1, 0xC1}, // á
    {0xE8, 0xC8}, // č
    {0xEF, 0xCF}, // ď
    {0xE9, 0xC9}, // é
    {0xEC, 0xCC}, // ě
    {0xED, 0xCD}, // í
    {0xE5, 0xC5}, // ĺ
    {0xF2, 0xD2}, // ň
    {0xF3, 0xD3}, // ó
    {0xF8, 0xD8}, // ř
    {0x9A, 0x8A}, // š
    {0x9D, 0x8D}, // ť
    {0xFA, 0xDA}, // ú
    {0xF9, 0xD9}, // ů
    {0x9E, 0x8E}, // ž
    {0xE2, 0xC2}, // â
    {0xE3, 0xC3}, // ă
    {0xE4, 0xC4}, // ä
    {0xE6, 0xC6}, // ć
    {0xEA, 0xCA}, // ę
    {0xEB, 0xCB}, // ë
    {0xEE, 0xCE}, // î
    {0xF0, 0xD0}, // đ
    {0xF1, 0xD1}, // ń
    {0xF4, 0xD4}, // ô
    {0xF5, 0xD5}, // ő
    {0xF6, 0xD6}, // ö
    {0xFB, 0xDB}, // ű
    {0xFC, 0xDC}, // ü
    {0xFD, 0xDD}, // ý
    {0xFE, 0xDE}, // ţ
}};

constexpr std::array<uint8_t, 256> makeUpperTable()
{
    std::array<uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    for (int c = 'a'; c <= 'z'; ++c)
        t[static_cast<size_t>(c)] = static_cast<uint8_t>(c - 'a' + 'A');
    for (const auto &[lower, upper] : accentedUpper)
        t[lower] = upper;
    return t;
}

constexpr std::array<uint8_t, 256> upperTable = makeUpperTable();

} // namespace

namespace cp1250 {

QChar toUnicode(uint8_t byte)
{
    return byte < 0x80 ? QChar(byte) : QChar(upperHalf[byte - 0x80]);
}

QString toUnicode(QByteArrayView bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar *d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = toUnicode(static_cast<uint8_t>(bytes[i]));
    return out;
}

QByteArray fromUnicode(QStringView text, bool *ok)
{
    QByteArray out;
    out.reserve(text.size());
    bool all = true;
    for (QChar c : text) {
        const int b = encodeChar(c.unicode());
        if (b < 0) {
            all = false;
            out.append('?');
        } else {
            out.append(static_cast<char>(b));
        }
    }
    if (ok)
        *ok = all;
    return out;
}

bool canEncode(QStringView text)
{
    for (QChar c : text)
        if (encodeChar(c.unicode()) < 0)
            return false;
    return true;
}

} // namespace cp1250

uint8_t upperCaseCz(uint8_t byte)
{
    return upperTable[byte];
}

QByteArray upperCaseCz(QByteArrayView text)
{
    QByteArray out(text.data(), text.size());
    for (char &c : out)
        c = static_cast<char>(upperTable[static_cast<uint8_t>(c)]);
    return out;
}
