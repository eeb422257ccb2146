#pragma once
// Reads and checks a character file (see docs/character-format.md). Everything the host needs
// is validated here, before any window exists, so a bad file fails with a message saying what
// is wrong and where instead of misbehaving later: the JSON, the animations, every frame's XML
// and size, and a rest pose that draws something. Only the rest pose is drawn here; the other
// frames are drawn when first shown (see FrameCache). Reading needs a QGuiApplication.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/qt/svg_document.hpp"
#include "lookup/animations.hpp"

namespace vembrel {

struct AnimationStep {
  QString frame;  // id in CharacterDefinition::frames
  int duration_msec = 0;
};

struct Animation {
  std::vector<AnimationStep> steps;
  QString return_animation;  // played afterwards to get back to rest; empty for none
};

struct CharacterDefinition {
  QString name;
  QSize natural_size;                       // the canvas every frame is drawn on
  std::map<QString, SvgDocument> frames;    // id -> SVG document
  std::map<QString, Animation> animations;  // name -> animation
  // Frames already drawn at the natural size and a pixel ratio of 1 while the file was read
  // (the rest pose, drawn to check it, and the first frame of the appearance), so that the
  // host need not draw them again. The host takes them over.
  std::map<QString, QImage> drawn_ahead;

  const Animation* animation(const QString& name) const;
  // The first frame of `name`, which must be one of the animations every file has.
  const QString& firstFrame(const QString& name) const {
    return animation(name)->steps.front().frame;
  }
  // The pose between animations.
  const QString& restFrame() const { return firstFrame(QLatin1String(animations::kRest)); }
};

// Limits that keep a hostile or broken file from exhausting memory.
inline constexpr qint64 kMaxCharacterFileBytes = 32 * 1024 * 1024;
inline constexpr int kMaxCanvasPixels = 4096;
inline constexpr int kMaxStepMs = 60000;

struct CharacterFileResult {
  std::optional<CharacterDefinition> character;
  std::string error;  // empty when `character` is set
};

// Reads the file at `path` (UTF-8) and validates it.
CharacterFileResult readCharacterFile(const QString& path);

// Validates the bytes of a character file; `where` names it in messages.
CharacterFileResult parseCharacterFile(const QByteArray& bytes, const QString& where);

// Starts reading the file at `path`, its JSON and its frames' XML on another thread, which
// needs no QGuiApplication, so that the work overlaps the start of the GUI;
// readCharacterFile(path) takes the result over. Bytes whose characterDigest is
// `checked_digest` passed every check already, when the program was built: their frames' XML,
// sizes and rest pose are not checked again, and the rest of the file is checked as ever.
void prefetchCharacterFile(const QString& path, const std::string& checked_digest = {});

// Says that the QGuiApplication exists: the thread reading ahead may now also draw the frames
// the character shows first.
void prefetchDrawings();

}  // namespace vembrel
