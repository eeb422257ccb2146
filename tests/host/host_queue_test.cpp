#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "host/qt/screen_reach.hpp"
#include "host_test_support.hpp"

namespace vembrel {
namespace {

using testing::HostFixture;

TEST(HostLoad, HandsOutTheCharacterOnlyUnderItsId) {
  HostFixture fixture;
  ASSERT_EQ(fixture.load_error, "");
  EXPECT_EQ(fixture.host.character(u"aaa"), fixture.character);
  EXPECT_EQ(fixture.host.character(u"bbb"), nullptr);
  EXPECT_FALSE(fixture.host.load(u"bbb", "/nonexistent/dh.vr").ok());
  EXPECT_EQ(fixture.host.character(u"bbb"), nullptr);
  EXPECT_FALSE(fixture.host.isCharacterVisible());
}

// The window speaks for the program, not by the name in the character file.
TEST(HostLoad, TheWindowIsNamedForTheProgram) {
  HostFixture fixture;
  ASSERT_NE(fixture.character, nullptr);
  CharacterWindow& window = fixture.character->window();
  EXPECT_EQ(window.accessibleName(), QGuiApplication::applicationDisplayName());
  EXPECT_NE(window.windowTitle(), QStringLiteral("Tiny"));
  fixture.character->set_name(u"Vembrel 双击显示菜单");
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Vembrel 双击显示菜单"));
  EXPECT_EQ(window.accessibleName(), window.windowTitle());
}

TEST(HostQueue, CarriesOutActionsInCallOrderEachCallReturningAtOnce) {
  // Real time: a wave takes seconds, so had any call waited for its action, more than the
  // first two would have started by the time the calls return.
  HostFixture fixture(1.0);
  Character& c = *fixture.character;
  c.move_to(300, 10);
  c.show();
  c.play("wave");
  c.think(u"你 好");
  c.play("unknown-animation");
  c.play("decline");
  EXPECT_TRUE(fixture.character->isBusy());
  // The hidden character moved at once; Show is under way and the rest waits.
  EXPECT_EQ(fixture.character->position(), QPoint(300, 10));
  EXPECT_EQ(fixture.started, QStringList({"MoveTo 300 10", "Show"}));

  fixture.host.setTimeScale(0.01);
  c.move_to(100, 200);
  c.hide();
  ASSERT_TRUE(fixture.waitUntilIdle());
  EXPECT_EQ(fixture.started,
            QStringList({"MoveTo 300 10", "Show", "Play wave", "Think 你 好",
                         "Play unknown-animation", "Play decline", "MoveTo 100 200", "Hide"}));
  // A visible character glides all the way; Hide hides the window at the end.
  EXPECT_EQ(fixture.character->position(), QPoint(100, 200));
  EXPECT_FALSE(fixture.character->window().isVisible());
  EXPECT_FALSE(fixture.host.isCharacterVisible());
}

TEST(HostQueue, StopEndsTheCurrentActionAndDropsTheQueue) {
  HostFixture fixture(1.0);
  Character& c = *fixture.character;
  c.show();
  c.think(u"一 段 很 长 的 话");
  c.play("wave");
  c.hide();
  ASSERT_TRUE(HostFixture::waitFor([&] { return fixture.character->balloon().isVisible(); }));
  c.think(u"再 一 个");
  c.stop();
  EXPECT_FALSE(fixture.character->isBusy());
  EXPECT_FALSE(fixture.character->balloon().isVisible());
  QTest::qWait(50);
  EXPECT_EQ(fixture.started, QStringList({"Show", "Think 一 段 很 长 的 话"}));
  EXPECT_TRUE(fixture.character->window().isVisible());
  EXPECT_EQ(fixture.character->currentFrame(), "half");  // back at rest

  // The queue works again after a Stop.
  fixture.host.setTimeScale(0.01);
  c.play("wave");
  ASSERT_TRUE(fixture.waitUntilIdle());
  EXPECT_EQ(fixture.started.last(), "Play wave");
}

// Actions that end at once are carried out one after another, not each from the end of the
// last: a long queue of them must not use up the stack.
TEST(HostQueue, CarriesOutAHundredThousandInstantActionsInOrder) {
  HostFixture fixture;
  Character& c = *fixture.character;
  c.show();
  for (int i = 0; i < 100000; ++i) c.play(i % 2 ? "no-such-animation" : "also-unknown");
  c.move_to(7, 8);
  ASSERT_TRUE(fixture.waitUntilIdle(30000));
  ASSERT_EQ(fixture.started.size(), 100002);
  EXPECT_EQ(fixture.started[1], "Play also-unknown");
  EXPECT_EQ(fixture.started[100000], "Play no-such-animation");
  EXPECT_EQ(fixture.started.last(), "MoveTo 7 8");
  EXPECT_EQ(fixture.character->position(), QPoint(7, 8));
}

TEST(HostThink, ShowsLongTextInPagesAClickTurnsAndHidesAfterTheLast) {
  HostFixture fixture(1.0);
  Character& c = *fixture.character;
  QString text;
  for (int i = 0; i < 400; ++i) text += QString(QChar(0x4e00 + i)) + QLatin1Char(' ');
  c.show();
  c.think(text.toStdU16String());
  BalloonWindow& balloon = fixture.character->balloon();
  ASSERT_TRUE(HostFixture::waitFor([&] { return balloon.isVisible(); }));

  const QString first = balloon.windowTitle();
  EXPECT_TRUE(first.startsWith(QString(QChar(0x4e00))));
  EXPECT_LT(first.size(), text.size());
  EXPECT_EQ(balloon.spokenText(), QString(first).remove(QLatin1Char(' ')));  // no spacing
  EXPECT_TRUE(text.contains(first));
  EXPECT_LE(balloon.page().lines.size(), 8);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_TRUE(screen.contains(balloon.geometry()));

  // A click on the cloud turns the page at once.
  QTest::mouseClick(&balloon, Qt::LeftButton, {}, balloon.layout().cloud.center().toPoint());
  EXPECT_NE(balloon.windowTitle(), first);
  EXPECT_TRUE(text.contains(balloon.windowTitle()));

  fixture.host.setTimeScale(0.001);
  QTest::mouseClick(&balloon, Qt::LeftButton, {}, balloon.layout().cloud.center().toPoint());
  ASSERT_TRUE(fixture.waitUntilIdle());
  EXPECT_FALSE(balloon.isVisible());
}

TEST(HostThink, BalloonStaysOnScreenAndFollowsTheCharacter) {
  HostFixture fixture(0.01);
  Character& c = *fixture.character;
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  c.set_width(130);
  c.set_height(160);
  c.move_to(screen.right() - 119, 0);  // as the program places it
  c.show();
  fixture.host.setTimeScale(1.0);
  c.think(u"Vembrel 欢 迎 你 !");
  BalloonWindow& balloon = fixture.character->balloon();
  ASSERT_TRUE(HostFixture::waitFor([&] { return balloon.isVisible(); }));
  EXPECT_EQ(balloon.windowTitle(), QStringLiteral("Vembrel 欢 迎 你 !"));
  EXPECT_TRUE(screen.contains(balloon.geometry()));
  EXPECT_LT(balloon.geometry().right(), fixture.character->window().geometry().center().x());

  // Dragging the character drags its balloon along.
  const QRect before = balloon.geometry();
  CharacterWindow& window = fixture.character->window();
  QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(5, 100));
  QTest::mouseMove(&window, QPoint(5, 140));
  QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(5, 140));
  EXPECT_EQ(balloon.geometry().topLeft(), before.topLeft() + QPoint(0, 40));

  // So does a window manager that puts the window elsewhere than asked.
  window.move(window.pos() + QPoint(-30, 10));
  EXPECT_EQ(fixture.character->position(), window.pos());
  EXPECT_EQ(balloon.geometry().topLeft(), before.topLeft() + QPoint(-30, 50));
}

// 显示 and a second start bring a character lost off every screen back to the top right of the
// primary screen, and leave one within reach where it is.
TEST(HostShow, BringsALostCharacterBackToItsPlace) {
  HostFixture fixture;
  QtCharacter& c = *fixture.character;
  c.set_width(130);
  c.set_height(160);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QPoint home = home_position();
  EXPECT_EQ(home.y(), screen.top());
  EXPECT_GT(home.x(), screen.center().x());
  const struct {
    QPoint at, after;
  } cases[] = {
      {screen.topRight() + QPoint(-9, -150), home},
      {QPoint(-5000, 5000), home},
      {screen.topLeft() + QPoint(10, 20), screen.topLeft() + QPoint(10, 20)},
  };
  for (const auto& k : cases) {
    c.move_to(k.at.x(), k.at.y());
    c.show();
    ASSERT_TRUE(fixture.waitUntilIdle());
    fixture.host.showCharacter();
    ASSERT_TRUE(fixture.waitUntilIdle());
    EXPECT_EQ(c.window().pos(), k.after) << k.at.x() << "," << k.at.y();
  }
}

TEST(HostIdle, BlinksWhenLeftAloneAndShowCharacterBringsItBack) {
  HostFixture fixture(0.01);
  Character& c = *fixture.character;
  c.show();
  ASSERT_TRUE(fixture.waitUntilIdle());
  // The tiny character's blink shows its "square" frame.
  EXPECT_TRUE(HostFixture::waitFor([&] { return fixture.character->currentFrame() == "square"; }));

  c.hide();
  ASSERT_TRUE(fixture.waitUntilIdle());
  EXPECT_FALSE(fixture.host.isCharacterVisible());
  fixture.host.showCharacter();
  EXPECT_TRUE(fixture.host.isCharacterVisible());
  EXPECT_TRUE(fixture.character->window().isVisible());
}

// Previous and next stop the character and play at once: the frames it has just drawn, which
// it is about to show again, stay drawn.
TEST(HostStop, KeepsTheFramesItIsAboutToShowAgain) {
  HostFixture fixture(0.01);
  Character& c = *fixture.character;
  c.show();
  c.play("wave");  // the tiny character's animations show both its frames
  ASSERT_TRUE(fixture.waitUntilIdle());
  EXPECT_EQ(fixture.character->frameCache().cachedFrames(), 2u);
  c.stop();
  EXPECT_EQ(fixture.character->frameCache().cachedFrames(), 2u);
  c.play("wave");
  c.stop();
  EXPECT_EQ(fixture.character->frameCache().cachedFrames(), 2u);
}

// A new size redraws the frame on screen at that size, also while the character shows.
TEST(HostSize, ANewSizeRedrawsTheFrameOnScreen) {
  HostFixture fixture(0.01);
  Character& c = *fixture.character;
  c.show();
  ASSERT_TRUE(fixture.waitUntilIdle());
  c.stop();  // the rest pose: the left half, opaque
  c.set_height(40);
  c.set_width(60);
  CharacterWindow& window = fixture.character->window();
  EXPECT_EQ(window.size(), QSize(60, 40));
  // The square canvas keeps its aspect ratio: drawn 40 by 40, its left half opaque.
  EXPECT_TRUE(window.isOpaqueAt(QPoint(15, 35)));
  EXPECT_FALSE(window.isOpaqueAt(QPoint(30, 35)));
}

}  // namespace
}  // namespace vembrel
