#include "host/qt/text_wrap.hpp"

#include <QTextBoundaryFinder>
#include <algorithm>

namespace vembrel {

namespace {

constexpr int kPageBaseMsec = 1500;
constexpr int kPerCharacterMsec = 120;

int trimmedEnd(const QString& text, int start, int end) {
  while (end > start && text.at(end - 1).isSpace()) --end;
  return end;
}

class LineBreaker {
 public:
  LineBreaker(const QString& text, qreal max_width, const MeasureText& measure)
      : text_(text), max_width_(max_width), measure_(measure) {}

  std::vector<TextLine> run() {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text_);
    int line_start = 0, line_end = 0;
    for (int segment_end = finder.toNextBoundary(); segment_end > 0;
         segment_end = finder.toNextBoundary()) {
      const bool mandatory = finder.boundaryReasons() & QTextBoundaryFinder::MandatoryBreak;
      if (!fits(line_start, segment_end)) {
        if (line_end > line_start) {
          emitLine(line_start, line_end);
          line_start = line_end;
        }
        while (!fits(line_start, segment_end))
          line_start = cutByCharacters(line_start, segment_end);
      }
      line_end = segment_end;
      if (mandatory || segment_end == text_.size()) {
        if (line_end > line_start) emitLine(line_start, line_end);
        line_start = line_end;
      }
    }
    return std::move(lines_);
  }

 private:
  qreal width(int start, int end) const {
    return measure_(text_.mid(start, trimmedEnd(text_, start, end) - start));
  }
  bool fits(int start, int end) const { return width(start, end) <= max_width_; }

  void emitLine(int start, int end) {
    const int visible_end = trimmedEnd(text_, start, end);
    lines_.push_back({start, visible_end - start, width(start, end)});
  }

  // Emits as many whole characters of [start, end) as fit (at least one); returns where the
  // rest begins.
  int cutByCharacters(int start, int end) {
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text_);
    graphemes.setPosition(start);
    int cut = start;
    for (int next = graphemes.toNextBoundary(); next > 0 && next <= end;
         next = graphemes.toNextBoundary()) {
      if (cut > start && !fits(start, next)) break;
      cut = next;
    }
    emitLine(start, cut);
    return cut;
  }

  const QString& text_;
  qreal max_width_;
  const MeasureText& measure_;
  std::vector<TextLine> lines_;
};

}  // namespace

std::vector<TextLine> wrapText(const QString& text, qreal max_width, const MeasureText& measure) {
  return LineBreaker(text, max_width, measure).run();
}

std::vector<TextPage> paginate(const QString& text, const std::vector<TextLine>& lines,
                               int max_lines) {
  std::vector<TextPage> pages;
  const size_t per_page = size_t(std::max(1, max_lines));
  for (size_t first = 0; first < lines.size(); first += per_page) {
    TextPage page;
    const size_t last = std::min(lines.size(), first + per_page);
    page.lines.assign(lines.begin() + first, lines.begin() + last);
    const TextLine& end = page.lines.back();
    page.text =
        text.mid(page.lines.front().start, end.start + end.length - page.lines.front().start);
    pages.push_back(std::move(page));
  }
  if (pages.empty()) pages.push_back({});
  return pages;
}

int pageReadingMsec(const QString& page_text) {
  int characters = 0;
  for (const QChar c : page_text)
    if (!c.isSpace() && !c.isLowSurrogate()) ++characters;
  return kPageBaseMsec + kPerCharacterMsec * characters;
}

}  // namespace vembrel
