#include "test_character.hpp"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include "host/qt/character_file.hpp"

namespace vembrel::testing {

namespace {
const char kLeftHalf[] =
    "<svg xmlns='http://www.w3.org/2000/svg' width='20' height='20' viewBox='0 0 20 20'>"
    "<rect x='0' y='0' width='10' height='20' fill='#000'/></svg>";
const char kSmallSquare[] =
    "<svg xmlns='http://www.w3.org/2000/svg' width='20' height='20' viewBox='0 0 20 20'>"
    "<rect x='0' y='0' width='10' height='10' fill='#c00'/></svg>";
}  // namespace

QJsonObject tinyCharacter() {
  QJsonObject animations;
  for (int i = 0; i < kRequiredAnimationCount; ++i) {
    const QJsonArray steps{QJsonObject{{"frame", "half"}, {"ms", 100}},
                           QJsonObject{{"frame", "square"}, {"ms", 100}}};
    animations.insert(QString::fromLatin1(kRequiredAnimations[i]), QJsonObject{{"frames", steps}});
  }
  // At rest the character shows its opaque left half.
  animations.insert(
      "rest", QJsonObject{{"frames", QJsonArray{QJsonObject{{"frame", "half"}, {"ms", 1000}}}}});
  return QJsonObject{{"format", "vembrel-character"},
                     {"version", 1},
                     {"name", "Tiny"},
                     {"width", 20},
                     {"height", 20},
                     {"frames", QJsonObject{{"half", kLeftHalf}, {"square", kSmallSquare}}},
                     {"animations", animations}};
}

QByteArray toBytes(const QJsonObject& character) {
  return QJsonDocument(character).toJson(QJsonDocument::Indented);
}

QString writeTemporary(const QByteArray& bytes) {
  static QTemporaryDir directory;
  static int count = 0;
  const QString path = directory.filePath(QStringLiteral("character%1.vr").arg(++count));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
  return path;
}

}  // namespace vembrel::testing
