#include "host/qt/frame_cache.hpp"

#include "host/qt/mask_builder.hpp"
#include "host/qt/svg_render.hpp"

namespace vembrel {

FrameCache::FrameCache(std::shared_ptr<const CharacterDefinition> character)
    : character_(std::move(character)), size_(character_->natural_size) {}

FrameCache::~FrameCache() = default;

void FrameCache::setSize(QSize size) {
  if (size == size_) return;
  size_ = size;
  rendered_.clear();
  recent_.clear();
}

void FrameCache::setDevicePixelRatio(qreal ratio) {
  if (qFuzzyCompare(ratio, ratio_)) return;
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
  entry.frame.image = renderSvg(source->second, size_, ratio_, &drawn);
  if (!drawn) {
    // The rest pose was drawn when the file was read, so it stands in for a frame that cannot.
    const Animation* rest = character_->animation(QStringLiteral("rest"));
    const auto rest_svg =
        rest ? character_->frames.find(rest->steps.front().frame) : character_->frames.end();
    if (rest_svg != character_->frames.end())
      entry.frame.image = renderSvg(rest_svg->second, size_, ratio_);
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
