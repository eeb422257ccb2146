#include "host/qt/frame_cache.hpp"

#include <gtest/gtest.h>

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

// It also packs the frames' text; a frame drawn from packed text is the same frame.
TEST(FrameCache, AnIdleCharacterKeepsOnlyTheFrameOnScreen) {
  const auto character = manyFrames(4);
  FrameCache cache(character);
  for (const char* id : {"0", "1", "2"}) cache.frame(id);
  const RenderedFrame* shown = cache.frame("3");
  const QImage first = cache.frame("0")->image;
  const QByteArray text = character->frames.at("0").text();
  cache.keepOnly("3");
  for (const auto& [id, svg] : character->frames) svg.pack();
  EXPECT_EQ(cache.cachedFrames(), 1u);
  EXPECT_EQ(cache.frame("3"), shown);  // the window's pointer stays valid
  ASSERT_TRUE(character->frames.at("0").isPacked());
  EXPECT_EQ(character->frames.at("0").text(), text);
  const RenderedFrame* again = cache.frame("0");  // drawn anew, and kept with it
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->image, first);
  EXPECT_EQ(cache.cachedFrames(), 2u);
}

// Frames drawn while the file was read are not drawn again, each used once; at another size
// they are drawn as usual.
TEST(FrameCache, UsesFramesDrawnAheadOnlyWhereTheyFit) {
  const auto character = manyFrames(2);
  FrameCache cache(character);
  const QImage ahead = FrameCache::render(character->frames.at("0"), QSize(40, 40), 1.0);
  cache.adoptDrawings({{"0", ahead}});
  EXPECT_EQ(cache.frame("0")->image.constBits(), ahead.constBits());

  FrameCache larger(character);
  larger.adoptDrawings({{"0", ahead}});
  larger.setSize(QSize(80, 80));
  const RenderedFrame* frame = larger.frame("0");
  EXPECT_EQ(frame->image.size(), QSize(80, 80));
  EXPECT_TRUE(frame->mask.contains(QPoint(5, 5)));
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
