#pragma once
// Frames rendered once at the character's current size and pixel ratio, with their window
// masks, so playing an animation only swaps images.

#include <QImage>
#include <QRegion>
#include <QSize>
#include <QString>
#include <list>
#include <map>
#include <memory>
#include <set>

#include "host/qt/character_definition.hpp"

namespace vembrel {

struct RenderedFrame {
  QImage image;  // at the device pixel ratio: drawn, and read by hit tests
  QRegion mask;  // device-independent pixels, for the current threshold
};

class FrameCache {
 public:
  explicit FrameCache(std::shared_ptr<const CharacterDefinition> character);
  ~FrameCache();

  // Changing any of these drops what no longer fits.
  void setSize(QSize size);
  void setDevicePixelRatio(qreal ratio);
  void setMaskThreshold(int threshold);

  QSize size() const { return size_; }
  qreal devicePixelRatio() const { return ratio_; }
  int maskThreshold() const { return threshold_; }

  // The frame, rendered on first use; nullptr for an unknown id. The pointer stays valid
  // until kMaxFrames other frames have been asked for or a setter above drops it: whoever
  // keeps the frame longer keeps a copy (images and regions share their data). A frame Qt
  // cannot draw (bytes the build checked are not checked again) shows the rest pose instead.
  const RenderedFrame* frame(const QString& id);

  // Frames kept at once: the rest pose and the few frames an idle animation or a looping
  // one (waving) shows again soon. A long animation draws most of its frames anew each time
  // it plays, a millisecond or two per frame, rather than keep ~80 KB of pixels for each.
  static constexpr std::size_t kMaxFrames = 8;
  std::size_t cachedFrames() const { return rendered_.size(); }

 private:
  std::shared_ptr<const CharacterDefinition> character_;
  QSize size_;
  qreal ratio_ = 1.0;
  int threshold_ = 128;
  struct Entry {
    RenderedFrame frame;
    std::list<QString>::iterator use;  // its place in recent_
  };
  std::map<QString, Entry> rendered_;
  std::list<QString> recent_;     // most recently used first
  std::set<QString> undrawable_;  // frames already reported as such
};

}  // namespace vembrel
