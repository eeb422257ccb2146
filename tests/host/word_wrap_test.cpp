// Line breaks between words on the thoughts the program sends (spaced with a blank after every
// character), the text a reader gets back from a balloon, and pages that end at clause ends.
#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>
#include <iterator>

#include "host/qt/balloon_window.hpp"
#include "host/qt/natural_text.hpp"
#include "host/qt/text_wrap.hpp"
#include "lookup/text.hpp"

namespace vembrel {
namespace {

// Every character, blanks included, is 10 pixels wide.
qreal tenEach(const QString& text) {
  return 10.0 * text.size();
}

// The thought as the program sends it and the balloon draws it.
QString shown(const char* utf8) {
  return balloonText(
      QString::fromStdU16String(spaced_text(QString::fromUtf8(utf8).toStdU16String())));
}

// The lines as a reader would write them, joined by '|'; a break at a gap between words keeps
// its blank ("yī| xīn"), so a cut inside a word shows as two letters around a '|'.
QString wrapped(const QString& text, qreal width, const MeasureText& measure = tenEach) {
  QString out;
  const std::vector<TextLine> lines = wrapText(text, width, measure);
  for (size_t i = 0; i < lines.size(); ++i) {
    const int end = lines[i].start + lines[i].length;
    out += naturalText(text.mid(lines[i].start, lines[i].length));
    if (i + 1 == lines.size()) break;
    const QString between = text.mid(end, lines[i + 1].start - end);
    out += naturalText(QLatin1Char('x') + between + QLatin1Char('x')).size() > 2
               ? QStringLiteral(" |")
               : QStringLiteral("|");
  }
  return out;
}

TEST(WordWrap, BreaksWhereAReaderWould) {
  struct Case {
    const char* thought;  // before spacing
    qreal width;
    const char* lines;
  };
  const Case cases[] = {
      // A clause end near the line's end wins over a break between two words.
      {"学而时习之，不亦说乎？有朋自远方来，不亦乐乎？", 170,
       "学而时习之，|不亦说乎？|有朋自远方来，|不亦乐乎？"},
      {"好人。好汉。好歹。", 70, "好人。|好汉。|好歹。"},
      // A quoted word is one; the line breaks before its opening quote.
      {"好高骛远（亦作“好高务远”）。好逸恶劳。", 250, "好高骛远（亦作|“好高务远”）。好逸恶劳。"},
      // Pinyin in brackets stays whole, and so do its syllables.
      {"喜爱，与“恶”（wù）相对：好奇。", 210, "喜爱，与“恶”（wù）|相对：好奇。"},
      {"yī xīn yī yì 只有一个心眼儿，没有别的考虑。", 210,
       "yī xīn yī yì |只有一个心眼儿，|没有别的考虑。"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(wrapped(shown(c.thought), c.width).toStdString(), c.lines) << c.thought;

  // No lone character on a paragraph's last line, not even after a sentence end.
  const QString count = QStringLiteral("共 有 3 条 含 有 “ 一心 ” 的 词");
  EXPECT_EQ(wrapped(count, 200).toStdString(), "共有3条含有“一心”|的词");
  EXPECT_EQ(wrapped(shown("有朋自远方来，不亦乐乎？是。"), 250).toStdString(),
            "有朋自远方来，|不亦乐乎？是。");
}

// What no width may bring: a Latin word or pinyin syllable cut, a word of a synonym list
// split, a closing bracket starting a line or an opening one ending it.
TEST(WordWrap, NoWidthSplitsASyllableOrAListedWord) {
  const QRegularExpression cut_word(
      QStringLiteral("\\p{Latin}\\|\\p{Latin}|\\|[）)”》，。]|[（(“《]\\|"));
  const char* thoughts[] = {
      "[hào] 喜爱，与“恶”（wù）相对：好奇。好色。好尚（爱好和崇尚）。",
      "yī xīn yī dé 大家一条心，为一个共同目标而努力。",
      "外甥打灯笼~照旧（舅）",
      "漂亮 好看 受看 中看 入眼 顺眼 悦目 美观 华美 优美 美妙 菲菲",
  };
  const QStringList listed = QString::fromUtf8(thoughts[3]).split(QLatin1Char(' '));
  for (const char* thought : thoughts) {
    const QString text = shown(thought);
    for (qreal width = 90; width <= 400; width += 10) {
      const QString lines = wrapped(text, width);
      EXPECT_FALSE(lines.contains(cut_word)) << lines.toStdString();
      if (thought == thoughts[3]) {
        for (const QString& line : lines.split(QLatin1Char('|')))
          for (const QString& word : line.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            EXPECT_TRUE(listed.contains(word)) << lines.toStdString();
      }
    }
  }
}

TEST(WordWrap, BalloonFontKeepsWordsWholeAndListedWordsApart) {
  const QFontMetricsF metrics(BalloonWindow::textFont());
  const auto measure = [&metrics](const QString& text) { return metrics.horizontalAdvance(text); };
  const QString text = shown("yī xīn yī yì 只有一个心眼儿，没有别的考虑。与“恶”（wù）相对");
  const std::vector<TextLine> lines = wrapText(text, 240, measure);
  ASSERT_GE(lines.size(), 2u);
  for (const TextLine& line : lines) EXPECT_LE(line.width, 240);
  const QString joined = wrapped(text, 240, measure);
  EXPECT_FALSE(joined.contains(QRegularExpression(QStringLiteral("\\p{Latin}\\|\\p{Latin}"))))
      << joined.toStdString();
  EXPECT_FALSE(joined.contains(QStringLiteral("眼|儿"))) << joined.toStdString();

  // Words of a list stand apart by more than a character's width; characters by a blank.
  const qreal character = measure(QStringLiteral("好"));
  const qreal character_gap = measure(shown("好看").trimmed()) - 2 * character;
  const qreal word_gap = measure(shown("好 看").trimmed()) - 2 * character;
  EXPECT_GE(word_gap, character);
  EXPECT_GE(word_gap, 3 * character_gap);
}

// Random mixes of what thoughts hold: every character shows once, in order, and a line is
// wider than allowed only when it is one character.
TEST(WordWrap, LosesNothingAndOverflowsOnlyWithOneCharacter) {
  const char16_t pool[] = {u'学', u'而', u'儿', u'心', u' ',  u' ',  u' ',   u'\n', u'a', u'ū',
                           u'“',  u'”',  u'（', u'）', u'，', u'。', 0x3000, u'1',  u'…'};
  QRandomGenerator random(7);
  for (int round = 0; round < 2000; ++round) {
    QString text;
    for (int i = random.bounded(60); i > 0; --i)
      text += QChar(pool[random.bounded(int(std::size(pool)))]);
    const qreal width = random.bounded(5, 200);
    QString shown_text, expected = text;
    for (const TextLine& line : wrapText(text, width, tenEach)) {
      shown_text += text.mid(line.start, line.length);
      if (line.width > width) {
        EXPECT_EQ(line.length, 1) << text.toStdString();
      }
    }
    const auto blank = [](QChar c) { return c.isSpace(); };
    EXPECT_EQ(shown_text.removeIf(blank), expected.removeIf(blank)) << text.toStdString();
  }
}

TEST(NaturalText, DropsTheSpacingBlanksOnly) {
  struct Case {
    QString balloon;
    const char* natural;
  };
  const Case cases[] = {
      {QStringLiteral("没 有 找 到 哦 !"), "没有找到哦!"},
      {shown("外甥打灯笼~照旧（舅）"), "外甥打灯笼~照旧（舅）"},
      {shown("yī xīn yī yì 只有一个心眼儿"), "yī xīn yī yì 只有一个心眼儿"},
      {shown("漂亮 好看 受看"), "漂亮 好看 受看"},
      {QStringLiteral("漂 亮   好 看 "), "漂亮 好看"},
      {shown("[nǎi] 竟：乃至如此。"), "[nǎi] 竟：乃至如此。"},
      {QStringLiteral("共 有 12 条 含 有 “ 一心 ” 的 词"), "共有12条含有“一心”的词"},
      {QStringLiteral("第 1条："), "第1条："},
      {QStringLiteral("Vembrel 欢 迎 你 !"), "Vembrel 欢迎你!"},
      {QStringLiteral("a b 1 2 x 欢"), "ab12x欢"},
      {QStringLiteral("hello, world"), "hello, world"},
      {QStringLiteral("  学 习 \n 好 "), "学习\n好"},
      {shown("𠀀字 ab"), "𠀀字 ab"},
      {QString(), ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(naturalText(c.balloon), QString::fromUtf8(c.natural)) << c.balloon.toStdString();
}

TEST(NaturalText, MapsEachCharacterBackToTheBalloon) {
  const QString balloon = shown("一心 ab");
  const NaturalTextMap map = mapNaturalText(balloon);
  ASSERT_EQ(map.source.size(), size_t(map.text.size()) + 1);
  for (int i = 0; i < map.text.size(); ++i)
    if (map.text.at(i) != u' ') {
      EXPECT_EQ(balloon.at(map.source[size_t(i)]), map.text.at(i));
    }
  EXPECT_EQ(map.source.back(), balloon.size());
}

// Lines given as pieces of one text; the pages as their numbers of lines.
std::vector<size_t> pageSizes(const QStringList& pieces, int max_lines) {
  const QString text = pieces.join(QString());
  std::vector<TextLine> lines;
  int start = 0;
  for (const QString& piece : pieces) {
    lines.push_back({start, int(piece.size()), 10.0 * piece.size()});
    start += int(piece.size());
  }
  std::vector<size_t> sizes;
  for (const TextPage& page : paginate(text, lines, max_lines)) {
    EXPECT_TRUE(text.contains(page.text));
    sizes.push_back(page.lines.size());
  }
  return sizes;
}

TEST(TextPaging, EndsPagesAtASentenceOrClauseEndNearTheirEnd) {
  struct Case {
    const char* what;
    QStringList pieces;
    int max_lines;
    std::vector<size_t> sizes;
  };
  const QString plain = QStringLiteral("学而时习");
  const QString clause = QStringLiteral("不亦说乎，");
  const QString sentence = QStringLiteral("不亦乐乎？”");
  const Case cases[] = {
      {"sentence end before a later clause end",
       {plain, plain, plain, sentence, clause, plain, plain},
       6,
       {4, 3}},
      {"clause end when no sentence ends",
       {plain, plain, plain, plain, clause, plain, plain},
       6,
       {5, 2}},
      {"none near the end: a full page",
       {plain, clause, plain, plain, plain, plain, plain},
       6,
       {6, 1}},
      {"the rest fits: one page", {plain, clause, plain, plain}, 6, {4}},
  };
  for (const Case& c : cases) EXPECT_EQ(pageSizes(c.pieces, c.max_lines), c.sizes) << c.what;
}

}  // namespace
}  // namespace vembrel
