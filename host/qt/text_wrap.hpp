#pragma once
// Wrapping a thought into lines and lines into pages. Plain logic over a width measure, so it
// can be checked without fonts or a screen.

#include <QString>
#include <functional>
#include <vector>

namespace vembrel {

using MeasureText = std::function<qreal(const QString&)>;

// The thought as the balloon draws it. Thoughts come with a blank after every character, so a
// blank between two words (spaced pinyin, a synonym list) arrives as three blanks, hardly
// wider than the gap between characters; each such gap becomes one full-width blank, the
// width of a character, so the words stand apart.
QString balloonText(const QString& thought);

// One line: a range of the original text, without the blanks or line feed it was broken at.
struct TextLine {
  int start = 0;
  int length = 0;
  qreal width = 0;
};

// Breaks `text` into lines no wider than `max_width`. Breaks are chosen on the text without
// its spacing blanks: between words rather than inside them, at a clause end where one is
// near, never inside a Latin word or pinyin syllable, before closing or after opening
// punctuation; a paragraph does not end in one character alone on its line. Line feeds are
// honoured; a word wider than a line is cut between characters.
std::vector<TextLine> wrapText(const QString& text, qreal max_width, const MeasureText& measure);

struct TextPage {
  std::vector<TextLine> lines;
  QString text;  // the page's part of the original text, as shown
};

// Groups lines into pages of at most `max_lines`; a page that does not hold the rest of the
// text ends at a sentence or clause end if one of its last lines has one. An empty text gives
// one empty page.
std::vector<TextPage> paginate(const QString& text, const std::vector<TextLine>& lines,
                               int max_lines);

// How long a page stays before the next one: time to notice it plus time to read each
// character (blanks are free).
int pageReadingMsec(const QString& page_text);

}  // namespace vembrel
