#include "host/qt/thought_pacing.hpp"

#include <gtest/gtest.h>

namespace vembrel {
namespace {

// Pages of at most 20 characters, cut anywhere: enough to see when a page fills.
std::vector<int> pagesOfTwenty(const QString& text) {
  std::vector<int> starts{0};
  for (int at = 20; at < text.size(); at += 20) starts.push_back(at);
  return starts;
}

// The balloon as a reader would follow it, on a clock the test moves.
struct Reader {
  ThoughtPacing pacing{pagesOfTwenty};
  qint64 now = 0;
  int thoughts_ended = 0;
  bool skipping = false;

  void take(const ThoughtPacing::Changes& changes) {
    thoughts_ended += changes.thought_ended;
    skipping = skipping || changes.skip_gestures;
  }
  // Moves the clock on to `msec`, carrying out every step due on the way at its own time.
  void waitUntil(qint64 msec) {
    while (pacing.deadline() && *pacing.deadline() <= msec) {
      now = *pacing.deadline();
      take(pacing.advance(now));
    }
    now = msec;
  }
  void think(const QString& text, AfterThought after) { take(pacing.think(text, after, now)); }
  void click() { take(pacing.click(now)); }
};

TEST(ReadingTime, ThreeCharactersASecondNeverUnderTheMinimumOfThePace) {
  const QString thirty_six = QString(36, QChar(0x597d));
  struct Case {
    QString text;
    ReadingPace pace;
    int msec;
  };
  const Case cases[] = {
      {QStringLiteral("好"), ReadingPace::Medium, 8000},
      {thirty_six, ReadingPace::Medium, 12000},
      // The blanks that space a text out are not read.
      {QStringLiteral("画 蛇 添 足 "), ReadingPace::Medium, 8000},
      {thirty_six + QStringLiteral("    "), ReadingPace::Medium, 12000},
      {thirty_six, ReadingPace::Slow, 18000},
      {QStringLiteral("好"), ReadingPace::Slow, 12000},
      {thirty_six, ReadingPace::Fast, 7200},
      {QStringLiteral("好"), ReadingPace::Fast, 5000},
  };
  for (const Case& c : cases)
    EXPECT_EQ(readingMsec(c.text, c.pace), c.msec) << c.text.toStdString();
}

TEST(LeadIn, GesturesBeforeAThoughtKeepToTheirBudget) {
  EXPECT_EQ(leadInFactor(200, false), 1.0);  // short enough already
  EXPECT_DOUBLE_EQ(1600 * leadInFactor(1600, false), kLeadInMsec);
  EXPECT_DOUBLE_EQ(1600 * leadInFactor(1600, true), kBetweenThoughtsMsec);
  // Not found: three gestures in a row share one budget.
  EXPECT_DOUBLE_EQ((1600 + 1500 + 1420) * leadInFactor(4520, false), kLeadInMsec);
}

TEST(Gathering, OneAnswerReadsAsOneBalloon) {
  Reader r;
  r.think(QStringLiteral("共 有 3 条"), AfterThought::Thought);
  EXPECT_TRUE(r.pacing.shown());
  r.waitUntil(kGatherHoldMsec);
  EXPECT_EQ(r.thoughts_ended, 1);  // the queue goes on at once...
  r.waitUntil(60000);
  EXPECT_TRUE(r.pacing.gathering());  // ...while the balloon waits for the rest
  EXPECT_EQ(r.pacing.pageText(), QStringLiteral("共 有 3 条"));

  r.think(QStringLiteral("第 1条："), AfterThought::Thought);
  r.waitUntil(r.now + kGatherHoldMsec);
  r.think(QStringLiteral("画 蛇 "), AfterThought::Thought);
  // The entry number and its headword share a line; the new part is known.
  EXPECT_EQ(r.pacing.pageText(), QStringLiteral("共 有 3 条\n第 1条：画 蛇 "));
  EXPECT_EQ(r.pacing.newText(), QStringLiteral("画 蛇 "));
  EXPECT_EQ(r.pacing.pageCount(), 1);
}

TEST(Gathering, TheLastThoughtStaysItsReadingTimeThenTheBalloonGoes) {
  Reader r;
  r.think(QStringLiteral("外 甥"), AfterThought::Thought);
  r.waitUntil(1000);
  r.think(QStringLiteral("照 旧"), AfterThought::Other);
  EXPECT_EQ(r.pacing.pageText(), QStringLiteral("外 甥\n照 旧"));
  r.waitUntil(1000 + 7999);
  EXPECT_TRUE(r.pacing.shown());
  EXPECT_TRUE(r.pacing.thinking());
  r.waitUntil(1000 + 8000);
  EXPECT_FALSE(r.pacing.shown());
  EXPECT_EQ(r.thoughts_ended, 2);

  // A new answer starts a balloon of its own.
  r.think(QStringLiteral("没 有 找 到 哦 !"), AfterThought::Other);
  EXPECT_EQ(r.pacing.pageText(), QStringLiteral("没 有 找 到 哦 !"));
  EXPECT_EQ(r.pacing.newText(), r.pacing.pageText());
}

// With only gestures behind it, the last thought lets them play while it stays.
TEST(Gathering, GesturesAfterTheLastThoughtPlayWhileItStays) {
  Reader r;
  r.now = 500;
  r.think(QStringLiteral("双 击 显 示 菜 单"), AfterThought::Gestures);
  r.waitUntil(500 + kGatherHoldMsec);
  EXPECT_EQ(r.thoughts_ended, 1);
  EXPECT_FALSE(r.pacing.holdingLast());
  r.waitUntil(500 + 7999);
  EXPECT_TRUE(r.pacing.shown());
  r.waitUntil(500 + 8000);
  EXPECT_FALSE(r.pacing.shown());
  EXPECT_FALSE(r.pacing.deadline());
}

TEST(Gathering, AFullPageWaitsItsReadingTimeFromWhenItFirstShowed) {
  Reader r;
  r.think(QStringLiteral("一二三四五六七八九十"), AfterThought::Thought);  // 10 characters
  r.waitUntil(3000);
  r.think(QStringLiteral("甲乙丙丁戊己庚辛壬癸子丑"),
          AfterThought::Other);  // fills page 1, spills over
  EXPECT_EQ(r.pacing.pageNumber(), 1);
  EXPECT_EQ(r.pacing.pageCount(), 2);
  // The first part showed at 0: the full page (20 characters) has until 8 s.
  EXPECT_EQ(r.pacing.newText(), QStringLiteral("甲乙丙丁戊己庚辛壬"));
  r.waitUntil(7999);
  EXPECT_EQ(r.pacing.pageNumber(), 1);
  r.waitUntil(8000);
  EXPECT_EQ(r.pacing.pageNumber(), 2);
  EXPECT_EQ(r.pacing.pageText(), QStringLiteral("癸子丑"));
  EXPECT_EQ(r.pacing.newText(), r.pacing.pageText());
  // The last page of the last thought: its own reading time from now.
  r.waitUntil(8000 + 7999);
  EXPECT_TRUE(r.pacing.shown());
  r.waitUntil(16000);
  EXPECT_FALSE(r.pacing.shown());
  EXPECT_EQ(r.thoughts_ended, 2);
}

TEST(Clicks, TurnThePageGoOnOrClose) {
  Reader r;
  r.think(QString(50, QChar(0x5b57)), AfterThought::Other);  // three pages
  EXPECT_EQ(r.pacing.pageCount(), 3);
  r.click();
  EXPECT_EQ(r.pacing.pageNumber(), 2);
  // The turned page gets its whole reading time from the click.
  r.waitUntil(7999);
  EXPECT_EQ(r.pacing.pageNumber(), 2);
  r.click();
  EXPECT_EQ(r.pacing.pageNumber(), 3);
  EXPECT_EQ(r.thoughts_ended, 0);
  r.click();  // the last page of the answer: closed
  EXPECT_FALSE(r.pacing.shown());
  EXPECT_EQ(r.thoughts_ended, 1);
  EXPECT_FALSE(r.pacing.deadline());

  // A click while more of the answer is coming goes on to it, skipping the gestures.
  r.think(QStringLiteral("共 有 1 条"), AfterThought::Thought);
  r.click();
  EXPECT_EQ(r.thoughts_ended, 2);
  EXPECT_TRUE(r.skipping);
  EXPECT_TRUE(r.pacing.gathering());
}

TEST(Clicks, TheSlowPaceKeepsTheLastThoughtLonger) {
  Reader r;
  r.pacing.setPace(ReadingPace::Slow);
  r.think(QStringLiteral("好"), AfterThought::Other);
  r.waitUntil(11999);
  EXPECT_TRUE(r.pacing.shown());
  r.waitUntil(12000);
  EXPECT_FALSE(r.pacing.shown());
}

// Cut short by the next command, the last thought ends but stays on show until replaced.
TEST(Clicks, AThoughtCutShortStaysUntilReplaced) {
  Reader r;
  r.think(QStringLiteral("好"), AfterThought::Other);
  EXPECT_TRUE(r.pacing.endThought());
  EXPECT_FALSE(r.pacing.endThought());
  r.waitUntil(60000);
  EXPECT_TRUE(r.pacing.shown());
  r.think(QStringLiteral("第 2条："), AfterThought::Thought);
  EXPECT_EQ(r.pacing.pageText(), QStringLiteral("第 2条："));
}

}  // namespace
}  // namespace vembrel
