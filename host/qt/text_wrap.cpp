#include "host/qt/text_wrap.hpp"

#include <QTextBoundaryFinder>
#include <algorithm>

#include "host/qt/break_chances.hpp"
#include "host/qt/natural_text.hpp"

namespace vembrel {

namespace {

constexpr int kPageBaseMsec = 1500;
constexpr int kPerCharacterMsec = 120;
// What a line left empty over its whole width costs, against a step of BreakCost: a break one
// step better is worth leaving a quarter of the line empty.
constexpr qreal kEmptyLineCost = 4;
constexpr QChar kFullWidthBlank(0x3000);

int trimmedEnd(const QString& text, int start, int end) {
  while (end > start && text.at(end - 1).isSpace()) --end;
  return end;
}

// A line holding only one character, punctuation aside, is a lone one.
bool isLone(const QString& natural, int start, int end) {
  int characters = 0;
  for (int i = start; i < end; ++i)
    if (natural.at(i).isLetterOrNumber() && !natural.at(i).isLowSurrogate()) ++characters;
  return characters <= 1;
}

// Chooses breaks on the natural text and reports lines as ranges of the balloon text.
class LineBreaker {
 public:
  LineBreaker(const QString& text, qreal max_width, const MeasureText& measure)
      : text_(text),
        natural_(mapNaturalText(text)),
        chances_(breakChances(natural_.text)),
        max_width_(max_width),
        measure_(measure) {}

  std::vector<TextLine> run() {
    int start = 0;
    size_t next = 0;  // the first chance after `start`
    while (next < chances_.size()) {
      struct Fit {
        size_t chance;
        qreal width;
      };
      std::vector<Fit> fits;
      for (size_t i = next; i < chances_.size(); ++i) {
        const qreal width = this->width(start, chances_[i].at);
        if (width > max_width_) break;
        fits.push_back({i, width});
        if (chances_[i].forced) break;
      }
      if (fits.empty()) {
        start = cutByCharacters(start, chances_[next].at);
        continue;
      }
      const size_t last = fits.back().chance;
      const size_t best = chances_[last].forced ? last : bestOf(fits, start);
      emitLine(start, chances_[best].at);
      start = chances_[best].at;
      next = best + 1;
    }
    return std::move(lines_);
  }

 private:
  // The balloon text's range for natural [start, end), without the blanks around it.
  int sourceOf(int natural_index) const { return natural_.source[size_t(natural_index)]; }
  qreal width(int start, int end) const {
    const int from = sourceOf(start);
    return measure_(text_.mid(from, trimmedEnd(text_, from, sourceOf(end)) - from));
  }

  void emitLine(int start, int end) {
    const int from = sourceOf(start);
    lines_.push_back({from, trimmedEnd(text_, from, sourceOf(end)) - from, width(start, end)});
  }

  template <typename Fits>
  size_t bestOf(const Fits& fits, int start) const {
    auto cost = [&](const auto& fit) {
      return qreal(chances_[fit.chance].cost) + kEmptyLineCost * (1 - fit.width / max_width_);
    };
    auto best = fits.begin();
    for (auto it = fits.begin(); it != fits.end(); ++it)
      if (cost(*it) <= cost(*best)) best = it;
    // Leave no character alone on the last line of a paragraph: break earlier if the rest
    // then fits on one line.
    const int paragraph_end = paragraphEnd(best->chance);
    if (!isLone(natural_.text, chances_[best->chance].at, paragraph_end)) return best->chance;
    auto earlier = fits.end();
    for (auto it = fits.begin(); it != best; ++it) {
      const int at = chances_[it->chance].at;
      if (at > start && !isLone(natural_.text, at, paragraph_end) &&
          (earlier == fits.end() || cost(*it) <= cost(*earlier)) &&
          width(at, paragraph_end) <= max_width_)
        earlier = it;
    }
    return earlier == fits.end() ? best->chance : earlier->chance;
  }

  int paragraphEnd(size_t chance) const {
    while (!chances_[chance].forced) ++chance;
    return chances_[chance].at;
  }

  // Emits as many whole characters of natural [start, end) as fit (at least one); returns
  // where the rest begins.
  int cutByCharacters(int start, int end) {
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, natural_.text);
    graphemes.setPosition(start);
    int cut = start;
    for (int next = graphemes.toNextBoundary(); next > 0 && next <= end;
         next = graphemes.toNextBoundary()) {
      if (cut > start && width(start, next) > max_width_) break;
      cut = next;
    }
    emitLine(start, cut);
    return cut;
  }

  const QString& text_;
  const NaturalTextMap natural_;
  const std::vector<BreakChance> chances_;
  qreal max_width_;
  const MeasureText& measure_;
  std::vector<TextLine> lines_;
};

// How many lines the page starting at `first` takes: all that are left if they fit, else a
// full page, cut back to the last line of its last third that ends a sentence, or failing
// that a clause.
size_t pageLength(const QString& text, const std::vector<TextLine>& lines, size_t first,
                  size_t per_page) {
  const size_t left = lines.size() - first;
  if (left <= per_page) return left;
  const size_t shortest = std::max<size_t>(1, per_page - per_page / 3);
  for (const bool sentence_only : {true, false}) {
    for (size_t count = per_page; count >= shortest; --count) {
      const TextLine& last = lines[first + count - 1];
      if (endsClause(text, last.start, last.start + last.length, sentence_only)) return count;
    }
  }
  return per_page;
}

}  // namespace

QString balloonText(const QString& thought) {
  QString out;
  out.reserve(thought.size());
  for (int i = 0; i < thought.size();) {
    int end = i + 1;
    while (thought.at(i) == u' ' && end < thought.size() && thought.at(end) == u' ') ++end;
    const bool gap = end - i >= 2 && i > 0 && end < thought.size();
    out += gap ? QString(kFullWidthBlank) : thought.mid(i, end - i);
    i = end;
  }
  return out;
}

std::vector<TextLine> wrapText(const QString& text, qreal max_width, const MeasureText& measure) {
  return LineBreaker(text, max_width, measure).run();
}

std::vector<TextPage> paginate(const QString& text, const std::vector<TextLine>& lines,
                               int max_lines) {
  std::vector<TextPage> pages;
  const size_t per_page = size_t(std::max(1, max_lines));
  for (size_t first = 0; first < lines.size();) {
    TextPage page;
    const size_t last = first + pageLength(text, lines, first, per_page);
    page.lines.assign(lines.begin() + first, lines.begin() + last);
    const TextLine& end = page.lines.back();
    page.text =
        text.mid(page.lines.front().start, end.start + end.length - page.lines.front().start);
    pages.push_back(std::move(page));
    first = last;
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
