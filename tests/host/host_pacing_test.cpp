// The balloon of a real character: an answer gathered in one balloon, and the reader's clicks.
#include <gtest/gtest.h>

#include <QEvent>
#include <QRegularExpression>

#include "host_test_support.hpp"

namespace vembrel {
namespace {

using testing::HostFixture;

// Writes down a widget's showing and hiding, in order.
class ShowsAndHides : public QObject {
 public:
  explicit ShowsAndHides(QWidget& widget) { widget.installEventFilter(this); }
  QString seen;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Show) seen += QLatin1Char('S');
    if (event->type() == QEvent::Hide) seen += QLatin1Char('H');
    return false;
  }
};

void clickCloud(BalloonWindow& balloon) {
  QTest::mouseClick(&balloon, Qt::LeftButton, {}, balloon.layout().cloud.center().toPoint());
}

TEST(HostPacing, AnAnswerGathersInOneBalloonThatStaysUpThroughTheGestures) {
  HostFixture fixture;
  Character& c = *fixture.character;
  c.show();
  ASSERT_TRUE(fixture.waitUntilIdle());
  // Quick gestures, and a last thought that stays long enough to be looked at.
  fixture.host.setTimeScale(0.1);
  BalloonWindow& balloon = fixture.character->balloon();
  ShowsAndHides watch(balloon);

  c.play("gestureright");
  c.think(u"共 有 2 条 含 有 “ 灯笼 ” 的 词");
  c.play("gestureright");
  c.think(u"第 1条：");
  c.play("gestureright");
  c.think(u"外 甥 打 灯 笼 ");
  c.play("gestureright");
  c.think(u"照 旧 （ 舅 ） ");
  ASSERT_TRUE(HostFixture::waitFor([&] {
    return balloon.isVisible() && balloon.windowTitle().contains(QStringLiteral("照 旧"));
  }));
  EXPECT_EQ(balloon.windowTitle(), QStringLiteral("共 有 2 条 含 有 “ 灯笼 ” 的 词\n"
                                                  "第 1条：外 甥 打 灯 笼 \n"
                                                  "照 旧 （ 舅 ）"));
  EXPECT_EQ(balloon.page().new_text, QStringLiteral("照 旧 （ 舅 ）"));
  EXPECT_EQ(watch.seen.mid(watch.seen.indexOf(QLatin1Char('S'))), QStringLiteral("S"));
  EXPECT_EQ(fixture.started.size(), 9);  // Show and the eight calls, in call order
  EXPECT_EQ(fixture.started[3], QStringLiteral("Play gestureright"));
  EXPECT_EQ(fixture.started[8], QStringLiteral("Think 照 旧 （ 舅 ） "));
}

// So slow a clock that only a click gets anywhere: each step below happens at once or never.
TEST(HostPacing, AClickGoesOnToTheNextThoughtWithoutTheGesturesBetween) {
  HostFixture fixture;
  Character& c = *fixture.character;
  c.show();
  ASSERT_TRUE(fixture.waitUntilIdle());
  fixture.host.setTimeScale(1000);
  c.think(u"第 1条：");
  c.play("gestureright");
  c.play("decline");
  c.think(u"画 蛇 添 足 ");
  BalloonWindow& balloon = fixture.character->balloon();
  ASSERT_TRUE(balloon.isVisible());
  clickCloud(balloon);
  ASSERT_TRUE(HostFixture::waitFor([&] { return fixture.started.size() == 5; }));
  EXPECT_EQ(fixture.started.last(), QStringLiteral("Think 画 蛇 添 足 "));
  EXPECT_EQ(balloon.windowTitle(), QStringLiteral("第 1条：画 蛇 添 足"));
  EXPECT_EQ(fixture.character->currentFrame(), "half");  // at rest, not mid-gesture
  clickCloud(balloon);
  EXPECT_FALSE(balloon.isVisible());
  EXPECT_FALSE(fixture.character->isBusy());
}

// The last thought of an answer does not hold back the next command.
TEST(HostPacing, TheNextCommandDoesNotWaitForTheLastThought) {
  HostFixture fixture;
  Character& c = *fixture.character;
  c.show();
  ASSERT_TRUE(fixture.waitUntilIdle());
  fixture.host.setTimeScale(1000);
  c.think(u"好");
  BalloonWindow& balloon = fixture.character->balloon();
  ASSERT_TRUE(balloon.isVisible());
  QTest::qWait(20);  // the program's call is over: what comes next is another command
  c.think(u"没 有 找 到 哦 !");
  EXPECT_EQ(fixture.started.last(), QStringLiteral("Think 没 有 找 到 哦 !"));
  EXPECT_EQ(balloon.windowTitle(), QStringLiteral("没 有 找 到 哦 !"));

  // A thought with an action of its own answer behind it keeps its time: the Hide waits for
  // it, and so does the command after.
  QTest::qWait(20);
  c.think(u"再 见");
  c.hide();
  QTest::qWait(20);
  c.think(u"你 好");
  EXPECT_EQ(fixture.started.last(), QStringLiteral("Think 再 见"));
}

TEST(HostPacing, ALongThoughtCountsItsPages) {
  HostFixture fixture;
  Character& c = *fixture.character;
  c.show();
  ASSERT_TRUE(fixture.waitUntilIdle());
  fixture.host.setTimeScale(1000);
  QString text;
  for (int i = 0; i < 400; ++i) text += QString(QChar(0x4e00 + i)) + QLatin1Char(' ');
  c.think(text.toStdU16String());
  BalloonWindow& balloon = fixture.character->balloon();
  ASSERT_TRUE(balloon.isVisible());
  const int pages = balloon.page().count;
  EXPECT_GT(pages, 2);
  EXPECT_EQ(balloon.page().number, 1);
  clickCloud(balloon);
  EXPECT_EQ(balloon.page().number, 2);
  EXPECT_EQ(balloon.page().count, pages);
  EXPECT_EQ(balloon.page().new_text, balloon.page().text);
}

// Word gaps are drawn narrower than they are written; every page must still go on exactly
// where the one before ended, repeating nothing and leaving nothing out.
TEST(HostPacing, PagesOfAThoughtWithWordGapsFollowOnWithoutRepeating) {
  HostFixture fixture;
  Character& c = *fixture.character;
  c.show();
  ASSERT_TRUE(fixture.waitUntilIdle());
  fixture.host.setTimeScale(1000);
  QString text;
  for (int i = 0; i < 150; ++i)
    text += QString(QChar(0x4e00 + 2 * i)) + u' ' + QChar(0x4e01 + 2 * i) + QStringLiteral("   ");
  c.think(text.toStdU16String());
  BalloonWindow& balloon = fixture.character->balloon();
  ASSERT_TRUE(balloon.isVisible());
  ASSERT_GT(balloon.page().count, 1);
  QString shown = balloon.page().text;
  while (balloon.page().number < balloon.page().count) {
    const int number = balloon.page().number;
    clickCloud(balloon);
    ASSERT_EQ(balloon.page().number, number + 1);
    shown += balloon.page().text;
  }
  const auto letters = [](QString s) {
    return s.remove(QRegularExpression(QStringLiteral("[\\s\\x{3000}]")));
  };
  EXPECT_EQ(letters(shown), letters(text));
}

}  // namespace
}  // namespace vembrel
