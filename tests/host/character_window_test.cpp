#include <gtest/gtest.h>

#include <vector>

#include "host_test_support.hpp"

namespace vembrel {
namespace {

using testing::HostFixture;

struct ClickFixture : HostFixture {
  ClickFixture() : HostFixture(0.01) {
    host.set_double_click_handler(
        [this](const DoubleClickEvent& event) { clicks.push_back(event); });
    character->move_to(400, 30);
    character->show();
    waitUntilIdle();
  }
  CharacterWindow& window() { return character->window(); }
  std::vector<DoubleClickEvent> clicks;
};

TEST(HostDblClick, RaisedOnlyOnOpaquePixelsWithButtonShiftAndScreenPosition) {
  ClickFixture fixture;
  ASSERT_TRUE(fixture.window().isVisible());
  // The tiny character's left half is opaque, its right half transparent.
  QTest::mouseDClick(&fixture.window(), Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 12));
  QTest::mouseDClick(&fixture.window(), Qt::LeftButton, {}, QPoint(15, 12));
  QTest::mouseDClick(&fixture.window(), Qt::RightButton, {}, QPoint(3, 15));
  ASSERT_EQ(fixture.clicks.size(), 2u);
  EXPECT_EQ(fixture.clicks[0].character_id, u"aaa");
  EXPECT_EQ(fixture.clicks[0].button, 1);
  EXPECT_EQ(fixture.clicks[0].shift, 1);
  EXPECT_EQ(QPoint(fixture.clicks[0].x, fixture.clicks[0].y), QPoint(405, 42));
  EXPECT_EQ(fixture.clicks[1].button, 2);
  EXPECT_EQ(fixture.clicks[1].shift, 0);
  EXPECT_EQ(QPoint(fixture.clicks[1].x, fixture.clicks[1].y), QPoint(403, 45));
}

TEST(HostDblClick, RaisedWhileActionsAreQueued) {
  ClickFixture fixture;
  fixture.host.setTimeScale(1.0);
  fixture.character->play("wave");
  fixture.character->think(u"想 一 想");
  fixture.character->play("decline");
  ASSERT_TRUE(fixture.character->isBusy());
  // Whatever frame is up, the window's left column is opaque in both.
  QTest::mouseDClick(&fixture.window(), Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(fixture.clicks.size(), 1u);
  EXPECT_TRUE(fixture.character->isBusy());
}

TEST(HostDrag, MovesTheCharacterAndIsNoClick) {
  ClickFixture fixture;
  CharacterWindow& window = fixture.window();
  QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseMove(&window, QPoint(25, 35));
  QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(25, 35));
  EXPECT_EQ(fixture.character->position(), QPoint(420, 60));
  EXPECT_EQ(window.pos(), QPoint(420, 60));
  EXPECT_TRUE(fixture.clicks.empty());
  // A double-click right after a drag still counts.
  QTest::mouseDClick(&window, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(fixture.clicks.size(), 1u);
  // A press on a transparent pixel drags nothing.
  QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(15, 5));
  QTest::mouseMove(&window, QPoint(10, 5));
  QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(10, 5));
  EXPECT_EQ(fixture.character->position(), QPoint(420, 60));
}

}  // namespace
}  // namespace vembrel
