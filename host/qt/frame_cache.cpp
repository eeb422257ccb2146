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
  drawn_ahead_.clear();
  size_ = size;
  rendered_.clear();
  recent_.clear();
}

void FrameCache::setDevicePixelRatio(qreal ratio) {
  if (qFuzzyCompare(ratio, ratio_)) return;
  drawn_ahead_.clear();
  ratio_ = ratio;
  rendered_.clear();
  recent_.clear();
}

void FrameCache::setMaskThreshold(int threshold) {
  if (threshold == threshold_) return;
  threshold_ = threshold;
  for (auto& [id, entry] : rendered_)
    entry.frame.mask = maskFromAlpha(entry.frame.image, threshold_);
}

void FrameCache::adoptDrawings(std::map<QString, QImage> drawings) {
  drawn_ahead_ = std::move(drawings);
}

void FrameCache::keepOnly(const QString& id) {
  drawn_ahead_.clear();
  for (auto it = rendered_.begin(); it != rendered_.end();) {
    if (it->first == id) {
      ++it;
      continue;
    }
    recent_.erase(it->second.use);
    it = rendered_.erase(it);
  }
}

QImage FrameCache::render(const QByteArray& svg, QSize size, qreal ratio, bool* drawn) {
  const QSize pixels(int(std::ceil(size.width() * ratio)), int(std::ceil(size.height() * ratio)));
  QImage image(pixels.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QSvgRenderer renderer(svg);
  if (drawn) *drawn = renderer.isValid();
  renderer.setAspectRatioMode(Qt::KeepAspectRatio);
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
  painter.end();
  image.setDevicePixelRatio(ratio);
  return image;
}

const RenderedFrame* FrameCache::frame(const QString& id) {
  if (const auto found = rendered_.find(id); found != rendered_.end()) {
    recent_.splice(recent_.begin(), recent_, found->second.use);
    return &found->second.frame;
  }
  const auto source = character_->frames.find(id);
  if (source == character_->frames.end() || size_.isEmpty()) return nullptr;
  // The least recently used frame goes; the one on screen was used more recently than it.
  if (rendered_.size() >= kMaxFrames) {
    rendered_.erase(recent_.back());
    recent_.pop_back();
  }
  Entry entry;
  bool drawn = true;
  const auto ahead = drawn_ahead_.find(id);
  if (ahead != drawn_ahead_.end()) {
    if (ahead->second.size() == size_ && qFuzzyCompare(ratio_, 1.0))
      entry.frame.image = std::move(ahead->second);
    drawn_ahead_.erase(ahead);
  }
  if (entry.frame.image.isNull()) entry.frame.image = render(source->second, size_, ratio_, &drawn);
  if (!drawn) {
    // The rest pose was drawn when the file was read, so it stands in for a frame that cannot.
    const Animation* rest = character_->animation(QStringLiteral("rest"));
    const auto rest_svg =
        rest ? character_->frames.find(rest->steps.front().frame) : character_->frames.end();
    if (rest_svg != character_->frames.end())
      entry.frame.image = render(rest_svg->second, size_, ratio_);
    if (undrawable_.insert(id).second)
      qWarning("vembrel: frame \"%s\" cannot be drawn; the rest pose is shown instead",
               qPrintable(id));
  }
  entry.frame.mask = maskFromAlpha(entry.frame.image, threshold_);
  recent_.push_front(id);
  entry.use = recent_.begin();
  return &rendered_.emplace(id, std::move(entry)).first->second.frame;
}

}  // namespace vembrel
