#pragma once
// Window shapes from a frame's alpha channel. Without a compositor a translucent window would
// show a black box, so every window is masked to its opaque pixels; with one, a low threshold
// keeps the soft edges.

#include <QImage>
#include <QPoint>
#include <QRegion>

namespace vembrel {

inline constexpr int kMaskThresholdWithoutCompositor = 128;
inline constexpr int kMaskThresholdWithCompositor = 1;

// The region, in device-independent pixels, of pixels whose alpha reaches `threshold`. The
// image may be rendered at a device pixel ratio above 1.
QRegion maskFromAlpha(const QImage& image, int threshold);

// Whether the device-independent point `at` is on such a pixel.
bool isOpaqueAt(const QImage& image, QPoint at, int threshold);

}  // namespace vembrel
