#pragma once
// Wrapping a thought into lines and lines into pages. Plain logic over a width measure, so it
// can be checked without fonts or a screen.

#include <QString>
#include <functional>
#include <vector>

namespace vembrel {

using MeasureText = std::function<qreal(const QString&)>;

// One line: a range of the original text, without the blanks or line feed it was broken at.
struct TextLine {
  int start = 0;
  int length = 0;
  qreal width = 0;
};

// Breaks `text` where Unicode allows a line break (between CJK characters, after blanks, at
// line feeds), so no line is wider than `max_width`; a word wider than that is cut between
// characters. The program never inserts line breaks itself.
std::vector<TextLine> wrapText(const QString& text, qreal max_width, const MeasureText& measure);

struct TextPage {
  std::vector<TextLine> lines;
  QString text;  // the page's part of the original text, as shown
};

// Groups lines into pages of at most `max_lines`; an empty text gives one empty page.
std::vector<TextPage> paginate(const QString& text, const std::vector<TextLine>& lines,
                               int max_lines);

// How long a page stays before the next one: time to notice it plus time to read each
// character (blanks are free).
int pageReadingMsec(const QString& page_text);

}  // namespace vembrel
