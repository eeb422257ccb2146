#include "host/qt/mask_builder.hpp"

#include <gtest/gtest.h>

namespace vembrel {
namespace {

// Left column opaque, middle column faint (alpha 64), right column clear.
QImage threeColumns(qreal ratio) {
  const int cell = int(10 * ratio);
  QImage image(3 * cell, cell, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  for (int y = 0; y < cell; ++y)
    for (int x = 0; x < 2 * cell; ++x)
      image.setPixel(x, y, x < cell ? qRgba(0, 0, 0, 255) : qRgba(0, 0, 0, 64));
  image.setDevicePixelRatio(ratio);
  return image;
}

TEST(MaskBuilder, ThresholdDecidesWhetherFaintPixelsBelongToTheWindow) {
  for (const qreal ratio : {1.0, 2.0}) {
    const QImage image = threeColumns(ratio);
    const QRegion hard = maskFromAlpha(image, kMaskThresholdWithoutCompositor);
    const QRegion soft = maskFromAlpha(image, kMaskThresholdWithCompositor);
    // Regions are in device-independent pixels whatever the ratio.
    EXPECT_EQ(hard.boundingRect(), QRect(0, 0, 10, 10)) << ratio;
    EXPECT_EQ(soft.boundingRect(), QRect(0, 0, 20, 10)) << ratio;
    EXPECT_TRUE(isOpaqueAt(image, QPoint(5, 5), 128));
    EXPECT_FALSE(isOpaqueAt(image, QPoint(15, 5), 128));
    EXPECT_TRUE(isOpaqueAt(image, QPoint(15, 5), 1));
    EXPECT_FALSE(isOpaqueAt(image, QPoint(25, 5), 1));
    EXPECT_FALSE(isOpaqueAt(image, QPoint(-1, 5), 1));
  }
}

}  // namespace
}  // namespace vembrel
