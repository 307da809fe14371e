#pragma once

#include <QString>
#include <QStringView>

// The names trains get from a CZPTT message: the abbreviation of the
// commercial type (from the infrastructure manager's code list, built into
// the program) or, for trains without one (freight and service trains), of
// the traffic type, then the train number. The abbreviations are the
// category codes the program draws by ("Os", "R", "Ex", "Pn", "Služ" ...).
namespace CzpttTrainTypes {

// "84" -> "Os", "157" -> "R"; empty for a code the list does not know.
QString commercialAbbreviation(QStringView tafCode);

// "11" -> "Os", "C1" -> "Ex", "C6" -> "Pn" ...; empty for an unknown code.
QString trafficAbbreviation(QStringView trafficType);

// "Os 13250": the commercial type's abbreviation, else the traffic type's,
// a blank and the number; the number alone when neither is known. Cut to
// the document's 20 characters.
QString trainName(QStringView commercialType, QStringView trafficType, QStringView number);

} // namespace CzpttTrainTypes
