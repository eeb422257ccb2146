#include "host/qt/balloon_layout.hpp"

#include <gtest/gtest.h>

#include <QLineF>

namespace vembrel {
namespace {

const QSizeF kText(240, 180);

TEST(BalloonLayout, TakesTheSideWithRoomAndStaysOnScreen) {
  struct Case {
    const char* where;
    QRect screen;
    QRect character;
    BalloonSide side;
  };
  const QRect wide(0, 0, 1280, 800);
  const Case cases[] = {
      // Where the program puts it: top right, its last 10 pixels past the edge.
      {"top right", wide, QRect(1160, 0, 130, 160), BalloonSide::Left},
      {"top left", wide, QRect(0, 0, 130, 160), BalloonSide::Right},
      {"narrow screen", QRect(0, 0, 300, 800), QRect(170, 0, 130, 160), BalloonSide::Below},
      {"bottom right", wide, QRect(1150, 640, 130, 160), BalloonSide::Left},
      {"panel at the top", QRect(0, 30, 1280, 770), QRect(1160, 0, 130, 160), BalloonSide::Left},
  };
  for (const Case& c : cases) {
    const BalloonGeometry geometry = placeBalloon(kText, c.character, c.screen);
    EXPECT_EQ(geometry.side, c.side) << c.where;
    EXPECT_TRUE(c.screen.contains(geometry.window)) << c.where;
    // The text fits inside the cloud, the cloud inside the window.
    EXPECT_GE(geometry.text.width(), kText.width()) << c.where;
    EXPECT_TRUE(QRectF(QPointF(), geometry.window.size()).contains(geometry.cloud)) << c.where;
    // The cloud keeps clear of the character's head.
    const QRectF cloud = geometry.cloud.translated(geometry.window.topLeft());
    const QRectF head(c.character.x() + 30, c.character.y() + 20, 70, 60);
    EXPECT_FALSE(cloud.intersects(head)) << c.where;
  }
}

TEST(BalloonLayout, BubblesShrinkTowardTheHead) {
  const QRect character(1160, 0, 130, 160);
  const BalloonGeometry geometry = placeBalloon(kText, character, QRect(0, 0, 1280, 800));
  ASSERT_EQ(geometry.bubbles.size(), 3u);
  const QPointF head = QPointF(character.x() + 65, character.y() + 48) - geometry.window.topLeft();
  for (size_t i = 1; i < geometry.bubbles.size(); ++i) {
    EXPECT_LT(geometry.bubbles[i].width(), geometry.bubbles[i - 1].width());
    EXPECT_LT(QLineF(geometry.bubbles[i].center(), head).length(),
              QLineF(geometry.bubbles[i - 1].center(), head).length());
  }
}

}  // namespace
}  // namespace vembrel
