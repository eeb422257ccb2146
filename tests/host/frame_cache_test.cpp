#include "host/qt/frame_cache.hpp"

#include <gtest/gtest.h>

#include "host/qt/character_window.hpp"

namespace vembrel {
namespace {

// A character of many distinct frames: a square that moves one pixel per frame.
std::shared_ptr<const CharacterDefinition> manyFrames(int count) {
  auto character = std::make_shared<CharacterDefinition>();
  character->natural_size = QSize(40, 40);
  for (int i = 0; i < count; ++i)
    character->frames.emplace(
        QString::number(i),
        QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='40' height='40'>"
                       "<rect x='%1' width='5' height='5'/></svg>")
            .arg(i)
            .toUtf8());
  return character;
}

TEST(FrameCache, KeepsOnlyTheRecentFramesAndTheOneOnScreen) {
  const int count = int(FrameCache::kMaxFrames) + 8;
  FrameCache cache(manyFrames(count));
  const RenderedFrame* first = cache.frame("0");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(cache.frame("0"), first);  // a cached frame is not rendered again
  for (int i = 1; i < count; ++i) {
    const RenderedFrame* frame = cache.frame(QString::number(i));
    ASSERT_NE(frame, nullptr);
    // The frame just handed out is intact however many came before it.
    EXPECT_TRUE(frame->mask.contains(QPoint(i + 2, 2))) << i;
    EXPECT_LE(cache.cachedFrames(), FrameCache::kMaxFrames);
  }
  EXPECT_EQ(cache.cachedFrames(), FrameCache::kMaxFrames);
  EXPECT_EQ(cache.frame("nope"), nullptr);
}

// The cache drops its frames when the size or pixel ratio changes; a window showing one of
// them keeps showing it, whole, until it is given another.
TEST(CharacterWindow, KeepsItsFrameWhenTheCacheLetsItGo) {
  FrameCache cache(manyFrames(2));
  CharacterWindow window;
  window.resize(cache.size());
  window.showFrame(cache.frame("1"));
  const QImage shown = window.grab().toImage();
  cache.setSize(QSize(80, 80));
  cache.setDevicePixelRatio(2.0);
  for (int i = 0; i < int(FrameCache::kMaxFrames) + 1; ++i) cache.frame("0");
  EXPECT_TRUE(window.isOpaqueAt(QPoint(3, 2)));
  EXPECT_FALSE(window.isOpaqueAt(QPoint(10, 10)));
  EXPECT_EQ(window.grab().toImage(), shown);
}

TEST(FrameCache, AFrameQtCannotDrawShowsTheRestPose) {
  auto character = std::make_shared<CharacterDefinition>();
  character->natural_size = QSize(40, 40);
  character->frames.emplace(
      "rest", QByteArray("<svg xmlns='http://www.w3.org/2000/svg' width='40' height='40'>"
                         "<rect width='20' height='40'/></svg>"));
  // Well-formed as the UTF-8 it is, but it says it is UTF-16, so Qt reads garbage.
  character->frames.emplace(
      "lying", QByteArray("<?xml version='1.0' encoding='UTF-16'?>"
                          "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='40'>"
                          "<rect width='40' height='40'/></svg>"));
  character->animations["rest"].steps.push_back({"rest", 1000});
  FrameCache cache(character);
  const RenderedFrame* lying = cache.frame("lying");
  ASSERT_NE(lying, nullptr);
  EXPECT_EQ(lying->image, cache.frame("rest")->image);
  EXPECT_TRUE(lying->mask.contains(QPoint(5, 5)));
  EXPECT_FALSE(lying->mask.contains(QPoint(30, 5)));
}

}  // namespace
}  // namespace vembrel
