#pragma once
// A character as the host uses it: its canvas, its frames and its animations, checked already
// (see character_format.hpp).

#include <QSize>
#include <QString>
#include <map>
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

  const Animation* animation(const QString& name) const {
    const auto found = animations.find(name);
    return found == animations.end() ? nullptr : &found->second;
  }
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

}  // namespace vembrel
