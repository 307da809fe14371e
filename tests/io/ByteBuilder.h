#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <cstring>
#include <initializer_list>

// Literal file bytes for the reader tests, written field by field so that a
// test reads like the layout it builds.
class ByteBuilder
{
public:
    ByteBuilder &u8(int v)
    {
        m_bytes.append(static_cast<char>(v));
        return *this;
    }
    ByteBuilder &raw(std::initializer_list<int> bytes)
    {
        for (int b : bytes)
            u8(b);
        return *this;
    }
    ByteBuilder &raw(QByteArrayView bytes)
    {
        m_bytes.append(bytes);
        return *this;
    }
    ByteBuilder &i32(int32_t v)
    {
        const auto u = static_cast<uint32_t>(v);
        return raw({int(u & 0xFF), int(u >> 8 & 0xFF), int(u >> 16 & 0xFF), int(u >> 24)});
    }
    ByteBuilder &f64(double v)
    {
        uint64_t u;
        std::memcpy(&u, &v, 8);
        for (int i = 0; i < 8; ++i)
            u8(static_cast<int>(u >> (8 * i) & 0xFF));
        return *this;
    }
    // Length byte, the text, zeros up to the capacity.
    ByteBuilder &sstr(QByteArrayView text, int capacity)
    {
        u8(static_cast<int>(text.size()));
        raw(text);
        for (qsizetype i = text.size(); i < capacity; ++i)
            u8(0);
        return *this;
    }
    // Length byte and the text.
    ByteBuilder &pstr(QByteArrayView text)
    {
        u8(static_cast<int>(text.size()));
        return raw(text);
    }
    ByteBuilder &header(const char *text) { return sstr(text, 13); }

    const QByteArray &bytes() const { return m_bytes; }
    qsizetype size() const { return m_bytes.size(); }

private:
    QByteArray m_bytes;
};
