#include "host/qt/screen_reach.hpp"

#include <gtest/gtest.h>

namespace vembrel {
namespace {

const QRect kLeft(0, 0, 1280, 1024);      // primary
const QRect kRight(1280, 0, 1920, 1080);  // taller, to the right
const QRect kBelow(0, 1024, 1280, 1024);  // under the primary

TEST(ReachablePosition, KeepsThreeQuartersOfTheCharacterOnAScreen) {
  const struct {
    const char* what;
    QPoint at;
    QList<QRect> screens;
    QPoint expected;
  } cases[] = {
      {"fully on the screen", {500, 300}, {kLeft}, {500, 300}},
      {"the program's own place, 10 pixels off the right", {1160, 0}, {kLeft}, {1160, 0}},
      {"a quarter of the width off the left", {-32, 100}, {kLeft}, {-32, 100}},
      {"past the top right corner", {1270, -150}, {kLeft}, {1150, 0}},
      {"far below the bottom", {400, 5000}, {kLeft}, {400, 864}},
      {"far off the left and top", {-9000, -9000}, {kLeft}, {0, 0}},
      {"across two screens, whole on the two", {1200, 100}, {kLeft, kRight}, {1200, 100}},
      {"the right screen's lower part, below the left one",
       {1400, 1000},
       {kLeft, kRight},
       {1400, 920}},
      {"right of both", {4000, 200}, {kLeft, kRight}, {3070, 200}},
      {"in the gap beside the lower screen: the nearest one",
       {1400, 1500},
       {kLeft, kRight, kBelow},
       {1150, 1500}},
      {"half on each of two screens one above the other", {300, 944}, {kLeft, kBelow}, {300, 944}},
      {"no screen at all", {-500, -500}, {}, {-500, -500}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(reachable_position(QRect(c.at, QSize(130, 160)), c.screens), c.expected) << c.what;
}

TEST(IsWithinReach, NeedsThreeQuartersOnTheScreens) {
  const QSize size(100, 100);
  EXPECT_TRUE(is_within_reach(QRect(QPoint(-25, 0), size), {kLeft}));
  EXPECT_FALSE(is_within_reach(QRect(QPoint(-26, 0), size), {kLeft}));
  EXPECT_FALSE(is_within_reach(QRect(QPoint(1270, -150), size), {kLeft, kRight}));
  EXPECT_FALSE(is_within_reach(QRect(QPoint(0, 0), size), {}));
  // Screens that overlap do not count the same pixels twice: a mirror, a larger clone.
  EXPECT_FALSE(is_within_reach(QRect(QPoint(-50, 0), size), {kLeft, kLeft}));
  EXPECT_FALSE(is_within_reach(QRect(QPoint(1220, -30), size), {kLeft, QRect(0, 0, 1300, 1024)}));
  EXPECT_TRUE(is_within_reach(QRect(QPoint(1220, 0), size), {kLeft, QRect(0, 0, 1300, 1024)}));
}

}  // namespace
}  // namespace vembrel
