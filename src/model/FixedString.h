#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <cstdint>
#include <cstring>

// A length-prefixed text of fixed capacity, the way every text field of a
// document record is held: at most N code page 1250 bytes. Longer input is
// cut when it is stored, never rejected.
template <int N>
class FixedString
{
    static_assert(N > 0 && N < 256, "the length is held in one byte");

public:
    static constexpr int capacity = N;

    FixedString() = default;
    FixedString(QByteArrayView text) { assign(text); }
    FixedString(const char *text) { assign(QByteArrayView(text)); }
    FixedString(const QByteArray &text) { assign(QByteArrayView(text)); }

    void assign(QByteArrayView text)
    {
        m_size = static_cast<uint8_t>(std::min<qsizetype>(text.size(), N));
        if (m_size)
            std::memcpy(m_data, text.data(), m_size);
    }
    FixedString &operator=(QByteArrayView text)
    {
        assign(text);
        return *this;
    }
    FixedString &operator=(const char *text)
    {
        assign(QByteArrayView(text));
        return *this;
    }
    FixedString &operator=(const QByteArray &text)
    {
        assign(QByteArrayView(text));
        return *this;
    }

    void clear() { m_size = 0; }
    int size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    const char *data() const { return m_data; }
    char at(int i) const { return m_data[i]; }
    QByteArrayView view() const { return QByteArrayView(m_data, m_size); }
    QByteArray toByteArray() const { return QByteArray(m_data, m_size); }

    // Only the characters up to the length are part of the value.
    friend bool operator==(const FixedString &a, const FixedString &b) { return a.view() == b.view(); }
    friend bool operator==(const FixedString &a, QByteArrayView b) { return a.view() == b; }

private:
    uint8_t m_size = 0;
    char m_data[N] = {};
};
