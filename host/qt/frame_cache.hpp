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

#include "host/qt/character_file.hpp"

class QSvgRenderer;

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
  // until kMaxFrames other frames have been asked for. Frames are checked only as XML when
  // the file is read: one that Qt then cannot draw shows the rest pose instead of nothing.
  const RenderedFrame* frame(const QString& id);

  // Frames kept at once: the rest pose and the few frames an idle animation or a looping
  // one (waving) shows again soon. A long animation draws most of its frames anew each time
  // it plays, a millisecond or two per frame, rather than keep ~80 KB of pixels for each.
  static constexpr std::size_t kMaxFrames = 8;
  std::size_t cachedFrames() const { return rendered_.size(); }

  // Frames drawn already at the natural size and a pixel ratio of 1 (while the file was read):
  // each is used once instead of being drawn, while the size and ratio fit.
  void adoptDrawings(std::map<QString, QImage> drawings);

  // Drops every frame but `id` (the one on screen, whose pointer stays valid): an idle
  // character shows one frame for seconds, and its next animation is drawn anew.
  void keepOnly(const QString& id);

  // Renders without caching, e.g. for previews and icons. `drawn`, when given, says whether
  // Qt could read the SVG; the image is transparent when it could not.
  static QImage render(const QByteArray& svg, QSize size, qreal ratio, bool* drawn = nullptr);
  static QImage render(const SvgDocument& svg, QSize size, qreal ratio, bool* drawn = nullptr) {
    return render(svg.text(), size, ratio, drawn);
  }

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
  std::map<QString, QImage> drawn_ahead_;
};

}  // namespace vembrel
