#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtEndian>

#include <cstdint>
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
    ByteBuilder &i32(int32_t v) { return littleEndian(v); }
    ByteBuilder &f64(double v) { return littleEndian(v); }
    // Length byte, the text, zeros up to the capacity.
    ByteBuilder &sstr(QByteArrayView text, int capacity)
    {
        return pstr(text).raw(QByteArray(capacity - text.size(), 0));
    }
    // Length byte and the text.
    ByteBuilder &pstr(QByteArrayView text) { return u8(static_cast<int>(text.size())).raw(text); }
    ByteBuilder &header(const char *text) { return sstr(text, 13); }

    const QByteArray &bytes() const { return m_bytes; }
    qsizetype size() const { return m_bytes.size(); }

private:
    template <typename T> ByteBuilder &littleEndian(T v)
    {
        const T le = qToLittleEndian(v);
        return raw(QByteArrayView(reinterpret_cast<const char *>(&le), sizeof le));
    }

    QByteArray m_bytes;
};
