#include "host/qt/frame_cache.hpp"

#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

#include "host/qt/mask_builder.hpp"

namespace vembrel {

FrameCache::FrameCache(std::shared_ptr<const CharacterDefinition> character)
    : character_(std::move(character)), size_(character_->natural_size) {}

FrameCache::~FrameCache() = default;

void FrameCache::setSize(QSize size) {
  if (size == size_) return;
  size_ = size;
  rendered_.clear();
}

void FrameCache::setDevicePixelRatio(qreal ratio) {
  if (qFuzzyCompare(ratio, ratio_)) return;
  ratio_ = ratio;
  rendered_.clear();
}

void FrameCache::setMaskThreshold(int threshold) {
  if (threshold == threshold_) return;
  threshold_ = threshold;
  for (auto& [id, frame] : rendered_) frame.mask = maskFromAlpha(frame.image, threshold_);
}

QImage FrameCache::render(const QByteArray& svg, QSize size, qreal ratio) {
  const QSize pixels(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio)));
  QImage image(pixels.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QSvgRenderer renderer(svg);
  renderer.setAspectRatioMode(Qt::KeepAspectRatio);
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
  painter.end();
  image.setDevicePixelRatio(ratio);
  return image;
}

const RenderedFrame* FrameCache::frame(const QString& id) {
  if (const auto found = rendered_.find(id); found != rendered_.end()) return &found->second;
  const auto source = character_->frames.find(id);
  if (source == character_->frames.end() || size_.isEmpty()) return nullptr;
  RenderedFrame frame;
  frame.image = render(source->second, size_, ratio_);
  frame.mask = maskFromAlpha(frame.image, threshold_);
  return &rendered_.emplace(id, std::move(frame)).first->second;
}

}  // namespace vembrel
