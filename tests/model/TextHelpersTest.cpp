#include "model/ClockTime.h"
#include "model/Cp1250.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

TEST(Cp1250, EveryByteSurvivesARoundTrip)
{
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, static_cast<char>(b));
        const QString text = cp1250::toUnicode(one);
        ASSERT_EQ(text.size(), 1) << b;
        bool ok = false;
        EXPECT_EQ(cp1250::fromUnicode(text, &ok), one) << b;
        EXPECT_TRUE(ok) << b;
    }
}

TEST(Cp1250, CzechLettersMapToTheirCodePoints)
{
    const QString czech = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy");
    const QByteArray bytes = cp1250::fromUnicode(czech);
    EXPECT_EQ(bytes.size(), czech.size());
    EXPECT_EQ(static_cast<uint8_t>(bytes[1]), 0xF8); // ř
    EXPECT_EQ(static_cast<uint8_t>(bytes[7]), 0x9E); // ž
    EXPECT_EQ(cp1250::toUnicode(bytes), czech);
    EXPECT_EQ(cp1250::toUnicode(QByteArray("\x80", 1)), QStringLiteral("€"));
    EXPECT_EQ(cp1250::toUnicode(QByteArray("\x8A\x8D", 2)), QStringLiteral("ŠŤ"));
}

TEST(Cp1250, CharactersOutsideTheCodePageAreReported)
{
    bool ok = true;
    EXPECT_EQ(cp1250::fromUnicode(QStringLiteral("a→b"), &ok), QByteArray("a?b"));
    EXPECT_FALSE(ok);
    EXPECT_FALSE(cp1250::canEncode(QStringLiteral("台北")));
    EXPECT_TRUE(cp1250::canEncode(QStringLiteral("Liberec-Rochlice")));
}

TEST(UpperCaseCz, AsciiAndEveryCzechLetter)
{
    EXPECT_EQ(upperCaseCz(QByteArrayView("os 1234 abc-z")), QByteArray("OS 1234 ABC-Z"));
    const QString lower = QStringLiteral("áčďéěíĺňóřšťúůâăäćęëîđńôőöűüýţž");
    const QString upper = QStringLiteral("ÁČĎÉĚÍĹŇÓŘŠŤÚŮÂĂÄĆĘËÎĐŃÔŐÖŰÜÝŢŽ");
    const QByteArray l = cp1250::fromUnicode(lower);
    const QByteArray u = cp1250::fromUnicode(upper);
    ASSERT_EQ(l.size(), u.size());
    for (qsizetype i = 0; i < l.size(); ++i)
        EXPECT_EQ(upperCaseCz(static_cast<uint8_t>(l[i])), static_cast<uint8_t>(u[i]))
            << lower.mid(i, 1).toStdString();
    // Capitals, digits and signs stay as they are.
    EXPECT_EQ(upperCaseCz(u), u);
    EXPECT_EQ(upperCaseCz(QByteArrayView("0-9 +;")), QByteArray("0-9 +;"));
}

TEST(ClockTime, FormatRightAlignsTheHour)
{
    EXPECT_EQ(formatClockTime(makeTime(7, 5)), QStringLiteral(" 7:05"));
    EXPECT_EQ(formatClockTime(makeTime(12, 0)), QStringLiteral("12:00"));
    EXPECT_EQ(formatClockTime(0.0), QStringLiteral(" 0:00"));
    EXPECT_EQ(formatClockTime(makeTime(9, 5, 30), true), QStringLiteral(" 9:05:30"));
    EXPECT_EQ(formatClockTime(makeTime(23, 59, 59), true), QStringLiteral("23:59:59"));
    // A whole day wraps to midnight, as the clock shows it.
    EXPECT_EQ(formatClockTime(1.0 + makeTime(0, 10)), QStringLiteral(" 0:10"));
}

TEST(ClockTime, DecodeRoundsToWholeMilliseconds)
{
    const double t = 372.0 / 1440.0; // 6:12
    EXPECT_EQ(minuteOfDay(t), 372);
    const ClockParts p = decodeTime(makeTime(12, 35, 30));
    EXPECT_EQ(p.hours, 12);
    EXPECT_EQ(p.minutes, 35);
    EXPECT_EQ(p.seconds, 30);
    // A value a hair below a minute boundary still reads as that minute.
    EXPECT_EQ(minuteOfDay(makeTime(8, 15) - 1e-12), 8 * 60 + 15);
    EXPECT_DOUBLE_EQ(makeTime(6, 12), 0.2583333333333333);
}

TEST(ClockTime, ParseClockDigits)
{
    EXPECT_DOUBLE_EQ(parseClockDigits(QByteArrayView("0705")), makeTime(7, 5));
    EXPECT_DOUBLE_EQ(parseClockDigits(QByteArrayView("1430")), makeTime(14, 30));
    EXPECT_DOUBLE_EQ(parseClockDigits(QByteArrayView(" 705")), makeTime(7, 5)); // leading blank
    EXPECT_DOUBLE_EQ(parseClockDigits(QByteArrayView("235959"), true), makeTime(23, 59, 59));
    EXPECT_EQ(parseClockDigits(QByteArrayView("0705")), makeTime(7, 5)); // exact, not near
}

TEST(ClockTime, InvalidDigitsAreErrors)
{
    EXPECT_THROW(parseClockDigits(QByteArrayView("2561")), ConversionError); // hour 25
    EXPECT_THROW(parseClockDigits(QByteArrayView("705")), ConversionError);  // hour 70
    EXPECT_THROW(parseClockDigits(QByteArrayView("1260")), ConversionError); // minute 60
    EXPECT_THROW(parseClockDigits(QByteArrayView("ab12")), ConversionError);
    EXPECT_THROW(parseClockDigits(QByteArrayView("12")), ConversionError);   // no minutes
    EXPECT_THROW(parseClockDigits(QByteArrayView("")), ConversionError);
    EXPECT_THROW(parseClockDigits(QByteArrayView("1-05")), ConversionError); // "1-" is not a number
    EXPECT_THROW(parseClockDigits(QByteArrayView("120099"), true), ConversionError);
    try {
        parseClockDigits(QByteArrayView("xx00"));
        FAIL();
    } catch (const ConversionError &e) {
        EXPECT_STREQ(e.what(), "'xx' is not a valid integer value");
    }
}

TEST(ClockTime, ParseClockTextReadsAroundSeparators)
{
    EXPECT_DOUBLE_EQ(parseClockText(QByteArrayView(" 6:12")), makeTime(6, 12));
    EXPECT_DOUBLE_EQ(parseClockText(QByteArrayView("12:30:15"), true), makeTime(12, 30, 15));
    EXPECT_DOUBLE_EQ(parseClockText(QStringLiteral("08.05")), makeTime(8, 5));
    EXPECT_THROW(parseClockText(QByteArrayView("24:00")), ConversionError);
    EXPECT_THROW(parseClockText(QByteArrayView("6:12")), ConversionError); // "6:" is not a number
    EXPECT_THROW(parseClockText(QStringLiteral("1ř:00")), ConversionError);
}

TEST(ClockTime, ParseIntegerAsTheRuntimeDoes)
{
    EXPECT_EQ(parseInteger(QByteArrayView(" 7")), 7);
    EXPECT_EQ(parseInteger(QByteArrayView("-5")), -5);
    EXPECT_EQ(parseInteger(QByteArrayView("+12")), 12);
    EXPECT_EQ(parseInteger(QByteArrayView("$1F")), 31);
    EXPECT_EQ(parseInteger(QByteArrayView("2147483647")), 2147483647);
    EXPECT_EQ(parseInteger(QByteArrayView("-2147483648")), -2147483648LL);
    int32_t v = 0;
    EXPECT_FALSE(tryParseInteger(QByteArrayView("7 "), v));
    EXPECT_FALSE(tryParseInteger(QByteArrayView(""), v));
    EXPECT_FALSE(tryParseInteger(QByteArrayView("-"), v));
    EXPECT_FALSE(tryParseInteger(QByteArrayView("2147483648"), v));
    EXPECT_FALSE(tryParseInteger(QByteArrayView("1.5"), v));
}
