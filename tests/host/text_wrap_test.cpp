#include "host/qt/text_wrap.hpp"

#include <gtest/gtest.h>

#include <QStringList>

namespace vembrel {
namespace {

// Every character is 10 pixels wide, so widths are easy to reason about.
qreal tenEach(const QString& text) {
  return 10.0 * text.size();
}

QStringList linesOf(const QString& text, qreal width) {
  QStringList out;
  for (const TextLine& line : wrapText(text, width, tenEach))
    out << text.mid(line.start, line.length);
  return out;
}

TEST(TextWrap, BreaksWhereUnicodeAllowsAndNeverOverflows) {
  struct Case {
    const char* text;
    qreal width;
    QStringList lines;
  };
  const Case cases[] = {
      // The program's texts: a blank after each character; lines never start with a blank.
      {"第 1条： 学 习", 60, {"第 1条：", "学 习"}},
      // CJK without blanks breaks between words and leaves no character alone at the end.
      {"学而时习之不亦说乎", 40, {"学而时习", "之不亦", "说乎"}},
      // A Latin word stays whole when it fits on a line of its own.
      {"ab cdefg hi", 60, {"ab", "cdefg", "hi"}},
      // A word longer than a line is cut between characters.
      {"abcdefghij", 40, {"abcd", "efgh", "ij"}},
      // A line feed in the text is honoured.
      {"一二\n三", 100, {"一二", "三"}},
      // Closing punctuation does not start a line.
      {"学习。好", 20, {"学", "习。", "好"}},
  };
  for (const Case& c : cases) {
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(linesOf(text, c.width), c.lines) << c.text;
    for (const TextLine& line : wrapText(text, c.width, tenEach)) {
      EXPECT_LE(line.width, c.width) << c.text;
      EXPECT_FALSE(text.at(line.start).isSpace()) << c.text;
    }
  }
}

TEST(TextWrap, LosesNoCharacterOfALongDefinition) {
  QString text;
  for (int i = 0; i < 1000; ++i) text += QString(QChar(0x4e00 + i % 500)) + QLatin1Char(' ');
  const std::vector<TextLine> lines = wrapText(text, 240, tenEach);
  QString joined;
  for (const TextLine& line : lines) joined += text.mid(line.start, line.length);
  QString expected = text;
  expected.remove(QLatin1Char(' '));
  joined.remove(QLatin1Char(' '));
  EXPECT_EQ(joined, expected);
}

TEST(TextPaging, SplitsLinesIntoPagesThatQuoteTheText) {
  QString text;
  for (int i = 0; i < 20; ++i) text += QStringLiteral("第 %1 行 ").arg(i % 10);
  const std::vector<TextLine> lines = wrapText(text, 60, tenEach);
  ASSERT_EQ(lines.size(), 20u);
  const std::vector<TextPage> pages = paginate(text, lines, 8);
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0].lines.size(), 8u);
  EXPECT_EQ(pages[2].lines.size(), 4u);
  EXPECT_TRUE(pages[0].text.startsWith(QStringLiteral("第 0 行")));
  for (const TextPage& page : pages)
    EXPECT_TRUE(text.contains(page.text)) << page.text.toStdString();

  const std::vector<TextPage> empty = paginate(QString(), {}, 8);
  ASSERT_EQ(empty.size(), 1u);
  EXPECT_TRUE(empty[0].text.isEmpty());
}

TEST(TextPaging, ReadingTimeGrowsWithCharactersNotBlanks) {
  EXPECT_EQ(pageReadingMsec(QString()), 1500);
  EXPECT_EQ(pageReadingMsec(QStringLiteral("学 习 ")), pageReadingMsec(QStringLiteral("学习")));
  EXPECT_GT(pageReadingMsec(QStringLiteral("学习学习")), pageReadingMsec(QStringLiteral("学习")));
}

}  // namespace
}  // namespace vembrel
