#pragma once
// Frames rendered once at the character's current size and pixel ratio, with their window
// masks, so playing an animation only swaps images.

#include <QImage>
#include <QRegion>
#include <QSize>
#include <QString>
#include <map>
#include <memory>

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

  // The frame, rendered on first use; nullptr for an unknown id.
  const RenderedFrame* frame(const QString& id);

  // Renders without caching, e.g. for previews and icons.
  static QImage render(const QByteArray& svg, QSize size, qreal ratio);

 private:
  std::shared_ptr<const CharacterDefinition> character_;
  QSize size_;
  qreal ratio_ = 1.0;
  int threshold_ = 128;
  std::map<QString, RenderedFrame> rendered_;
};

}  // namespace vembrel
