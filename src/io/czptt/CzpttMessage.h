#pragma once

// One message of the Czech national timetable (CZPTT XML as the timetable
// information system publishes it): a train path with its calendar
// (CZPTTCISMessage), or the days on which a path is cancelled
// (CZCanceledPTTMessage). Read with a streaming reader; the order of the
// elements inside their parents is not relied on.

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// PlannedTransportIdentifiers: "PA" names the path, "TR" the train.
struct CzpttIdentifier
{
    QString objectType;
    QString company;
    QString core;
    QString variant;
    QString timetableYear;

    bool isEmpty() const { return core.isEmpty(); }
    // One text for comparing identifiers: every part, in a fixed order.
    QString key() const;
};

// The days a message covers: one character per day from start to end,
// '1' where it applies.
struct CzpttCalendar
{
    QDate start;
    QDate end;
    QByteArray bitmap;

    bool covers(QDate day) const;
};

struct CzpttLocation
{
    QString country; // CountryCodeISO
    QString code;    // LocationPrimaryCode, the SR70 code without its check digit
    QString name;    // PrimaryLocationName, trimmed
    // Seconds from midnight of the calendar day the train belongs to, its
    // Offset counted: negative before it, 86400 and more past the next.
    std::optional<int32_t> arrival;   // ALA
    std::optional<int32_t> departure; // ALD
    bool stops = false;               // any train activity, or a dwell between arrival and departure
    bool publicStop = false;          // passengers may board or alight (0001, 0028, 0029, 0030)
    bool shortDwell = false;          // a stop under half a minute (CZ02)
    QString trafficType;              // TrafficType: 11, C1 ...
    QString commercialTrafficType;    // the code list's TAF code: 84, 157 ...
    QString trainNumber;              // OperationalTrainNumber
};

struct CzpttMessage
{
    enum class Kind { Path, Cancellation };

    Kind kind = Kind::Path;
    std::vector<CzpttIdentifier> identifiers;
    // CZPTTCreation: when this version of the message was made; invalid
    // when the message does not say.
    QDateTime created;
    CzpttCalendar calendar;
    std::vector<CzpttLocation> locations; // paths only, in running order, each with a time

    // The identifier of the given object type ("PA", "TR"), or none.
    const CzpttIdentifier *identifier(QStringView objectType) const;
    // What a cancellation and a path are matched by: the path's "PA"
    // identifier, or the train's "TR" where a message has no "PA".
    QString pathKey() const;
    // "Os 13250": the type of the first Czech location that carries a train
    // number, cut to the document's 20 characters.
    QString trainName() const;
};

struct CzpttReadResult
{
    std::optional<CzpttMessage> message;
    QString error; // why there is none, in the words the summary shows
};

// Reads one message. A damaged or foreign document, an impossible time or
// day offset, a broken calendar, or a path with no location that has a time
// gives no message and the reason.
CzpttReadResult readCzpttMessage(const QByteArray &xml);
