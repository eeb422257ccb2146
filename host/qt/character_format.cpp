#include "host/qt/character_format.hpp"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSvgRenderer>
#include <utility>

#include "host/qt/svg_render.hpp"

namespace vembrel {

namespace {

constexpr char kFormatName[] = "vembrel-character";
constexpr int kFormatVersion = 1;

// Collects the first problem; every check below returns early once one is found.
class Checker {
 public:
  explicit Checker(QString where) : where_(std::move(where)) {}
  bool fail(const QString& message) {
    if (error_.empty()) error_ = (where_ + QStringLiteral(": ") + message).toStdString();
    return false;
  }
  const std::string& error() const { return error_; }

 private:
  QString where_;
  std::string error_;
};

QString quoted(const QString& text) {
  return QLatin1Char('"') + text + QLatin1Char('"');
}

int lineOfOffset(const QByteArray& bytes, int offset) {
  return int(bytes.left(offset).count('\n')) + 1;
}

bool readSize(const QJsonObject& root, Checker& check, QSize& size) {
  const QJsonValue width = root.value(QStringLiteral("width"));
  const QJsonValue height = root.value(QStringLiteral("height"));
  if (!width.isDouble() || !height.isDouble())
    return check.fail(QStringLiteral("\"width\" and \"height\" must be numbers"));
  const double pixels_wide = width.toDouble(), pixels_high = height.toDouble();
  if (pixels_wide < 1 || pixels_high < 1 || pixels_wide > kMaxCanvasPixels ||
      pixels_high > kMaxCanvasPixels)
    return check.fail(QStringLiteral("size %1 x %2 is outside 1 to %3 pixels")
                          .arg(pixels_wide)
                          .arg(pixels_high)
                          .arg(kMaxCanvasPixels));
  size = QSize(int(pixels_wide), int(pixels_high));
  return true;
}

// What is wrong with the size of an SVG document Qt can read, or nothing.
QString sizeProblem(const QByteArray& svg) {
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) return QStringLiteral(" is not a valid SVG");
  const QSize size = renderer.defaultSize();
  if (size.width() > kMaxCanvasPixels || size.height() > kMaxCanvasPixels)
    return QStringLiteral(" is larger than %1 pixels").arg(kMaxCanvasPixels);
  // A frame of no size draws nothing: the character would be invisible and unclickable.
  if (size.isEmpty() || renderer.viewBoxF().isEmpty()) return QStringLiteral(" has no size");
  return {};
}

bool readFrames(const QJsonObject& root, Checker& check, FrameChecks checks,
                CharacterDefinition& out) {
  const QJsonValue frames = root.value(QStringLiteral("frames"));
  if (!frames.isObject() || frames.toObject().isEmpty())
    return check.fail(QStringLiteral("\"frames\" must be an object with at least one frame"));
  const QJsonObject object = frames.toObject();
  for (auto it = object.begin(); it != object.end(); ++it) {
    if (!it.value().isString())
      return check.fail(QStringLiteral("frame ") + quoted(it.key()) +
                        QStringLiteral(" is not a string"));
    SvgDocument svg(it.value());
    if (checks == FrameChecks::kFull) {
      const QString problem = sizeProblem(svg.text());
      if (!problem.isEmpty())
        return check.fail(QStringLiteral("frame ") + quoted(it.key()) + problem);
    }
    out.frames.emplace(it.key(), std::move(svg));
  }
  return true;
}

bool readAnimation(const QString& name, const QJsonValue& value, Checker& check,
                   CharacterDefinition& out) {
  const QString where = QStringLiteral("animation ") + quoted(name);
  if (!value.isObject()) return check.fail(where + QStringLiteral(" is not an object"));
  const QJsonObject object = value.toObject();
  const QJsonValue steps = object.value(QStringLiteral("frames"));
  if (!steps.isArray() || steps.toArray().isEmpty())
    return check.fail(where + QStringLiteral(" needs a non-empty \"frames\" array"));
  Animation animation;
  int index = 0;
  for (const QJsonValue& step : steps.toArray()) {
    ++index;
    const QString at = where + QStringLiteral(" step %1").arg(index);
    const QJsonObject step_object = step.toObject();
    const QJsonValue frame = step_object.value(QStringLiteral("frame"));
    const QJsonValue duration = step_object.value(QStringLiteral("ms"));
    if (!step.isObject() || !frame.isString() || !duration.isDouble())
      return check.fail(at + QStringLiteral(" must be {\"frame\": id, \"ms\": number}"));
    if (!out.frames.contains(frame.toString()))
      return check.fail(at + QStringLiteral(" names unknown frame ") + quoted(frame.toString()));
    const double msec = duration.toDouble();
    if (msec < 1 || msec > kMaxStepMs)
      return check.fail(at +
                        QStringLiteral(" lasts %1 ms, outside 1 to %2").arg(msec).arg(kMaxStepMs));
    animation.steps.push_back({frame.toString(), int(msec)});
  }
  const QJsonValue after = object.value(QStringLiteral("return"));
  if (!after.isUndefined() && !after.isString())
    return check.fail(where + QStringLiteral(": \"return\" must be an animation name"));
  animation.return_animation = after.toString();
  out.animations.emplace(name, std::move(animation));
  return true;
}

bool readAnimations(const QJsonObject& root, Checker& check, CharacterDefinition& out) {
  const QJsonValue animations = root.value(QStringLiteral("animations"));
  if (!animations.isObject()) return check.fail(QStringLiteral("\"animations\" must be an object"));
  const QJsonObject object = animations.toObject();
  for (auto it = object.begin(); it != object.end(); ++it)
    if (!readAnimation(it.key(), it.value(), check, out)) return false;
  for (int i = 0; i < kRequiredAnimationCount; ++i)
    if (!out.animations.contains(QString::fromLatin1(kRequiredAnimations[i])))
      return check.fail(QStringLiteral("missing animation ") +
                        quoted(QString::fromLatin1(kRequiredAnimations[i])));
  for (const auto& [name, animation] : out.animations) {
    const QString& next = animation.return_animation;
    if (!next.isEmpty() && !out.animations.contains(next))
      return check.fail(QStringLiteral("animation ") + quoted(name) +
                        QStringLiteral(" returns through unknown animation ") + quoted(next));
  }
  return true;
}

// The rest pose is what a user double-clicks to reach the menu: one that draws nothing would
// leave an invisible character that can never be clicked.
bool checkRestIsVisible(CharacterDefinition& character, Checker& check) {
  const QString& id = character.animation(QStringLiteral("rest"))->steps.front().frame;
  // Drawn as the host draws it (aspect ratio kept, antialiased): a stretched drawing can show
  // pixels that the host's never does.
  const QImage image = renderSvg(character.frames.at(id), character.natural_size, 1.0);
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(row[x]) >= 128) return true;
  }
  return check.fail(QStringLiteral("the rest pose (frame ") + quoted(id) +
                    QStringLiteral(") draws nothing opaque"));
}

// Sizes and the rest pose are read by Qt's SVG renderer and painter, which need the GUI
// application (fonts, the paint engine): without it they fail in ways that look like a bad
// file, or crash.
void requireGuiApplication() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
    qFatal("vembrel: a character file is read only once a QGuiApplication exists");
}

}  // namespace

CharacterFileResult parseCharacterFile(const QByteArray& bytes, const QString& where,
                                       FrameChecks checks) {
  requireGuiApplication();
  Checker check(where);
  const auto failed = [&check] { return CharacterFileResult{std::nullopt, check.error()}; };
  QJsonParseError parse_error{};
  const QJsonDocument document = QJsonDocument::fromJson(bytes, &parse_error);
  if (parse_error.error != QJsonParseError::NoError) {
    check.fail(QStringLiteral("bad JSON at line %1: %2")
                   .arg(lineOfOffset(bytes, parse_error.offset))
                   .arg(parse_error.errorString()));
    return failed();
  }
  if (!document.isObject()) {
    check.fail(QStringLiteral("the top level must be a JSON object"));
    return failed();
  }
  const QJsonObject root = document.object();
  CharacterDefinition character;
  if (root.value(QStringLiteral("format")).toString() != QLatin1String(kFormatName)) {
    check.fail(QStringLiteral("\"format\" is not \"%1\"").arg(kFormatName));
    return failed();
  }
  const QJsonValue version = root.value(QStringLiteral("version"));
  if (!version.isDouble() || version.toDouble() != kFormatVersion) {
    check.fail(QStringLiteral("unsupported version %1 (this program reads version %2)")
                   .arg(version.toVariant().toString())
                   .arg(kFormatVersion));
    return failed();
  }
  const QJsonValue name = root.value(QStringLiteral("name"));
  if (!name.isString() || name.toString().trimmed().isEmpty()) {
    check.fail(QStringLiteral("\"name\" must be a non-empty string"));
    return failed();
  }
  character.name = name.toString();
  const bool ok = readSize(root, check, character.natural_size) &&
                  readFrames(root, check, checks, character) &&
                  readAnimations(root, check, character) &&
                  (checks == FrameChecks::kCheckedByBuild || checkRestIsVisible(character, check));
  if (!ok) return failed();
  return {std::move(character), {}};
}

}  // namespace vembrel
