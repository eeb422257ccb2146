#pragma once
// A tiny valid character for tests: a 20 x 20 canvas whose left half is opaque and right half
// transparent, with every animation the host needs.

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace vembrel::testing {

QJsonObject tinyCharacter();
QByteArray toBytes(const QJsonObject& character);
// Writes the character to a file that lives as long as the test run; returns its path.
QString writeTemporary(const QByteArray& bytes);

}  // namespace vembrel::testing
