#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Texts live in the document as Windows code page 1250 bytes, as the files
// store them; the interface converts at its edge. The five bytes the code
// page leaves undefined map to the C1 control characters of the same value,
// so every byte survives a round trip.
namespace cp1250 {

QChar toUnicode(uint8_t byte);
QString toUnicode(QByteArrayView bytes);

// Characters the code page cannot hold become '?'; *ok (when given) tells
// whether every character could be held.
QByteArray fromUnicode(QStringView text, bool *ok = nullptr);
bool canEncode(QStringView text);

} // namespace cp1250

// Upper case of code page 1250 text: a-z and the accented letters of Czech
// and its neighbours that the program compares; every other byte unchanged.
QByteArray upperCaseCz(QByteArrayView text);
uint8_t upperCaseCz(uint8_t byte);
