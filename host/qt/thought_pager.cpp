#include "host/qt/thought_pager.hpp"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "host/qt/text_wrap.hpp"

namespace vembrel {

namespace {
constexpr qreal kWrapWidth = 240;
constexpr int kLinesPerPage = 8;
}  // namespace

ThoughtPages layOutThought(const QString& thought_text) {
  const QString text = balloonText(thought_text);
  const QFontMetricsF metrics(BalloonWindow::textFont());
  const auto measure = [&metrics](const QString& line) { return metrics.horizontalAdvance(line); };
  const std::vector<TextLine> lines = wrapText(text, kWrapWidth, measure);
  qreal widest = metrics.horizontalAdvance(QStringLiteral("MMM"));
  for (const TextLine& line : lines) widest = std::max(widest, line.width);
  ThoughtPages thought;
  int most_lines = 1;
  for (const TextPage& page : paginate(text, lines, kLinesPerPage)) {
    BalloonPage shown;
    shown.text = page.text;
    for (const TextLine& line : page.lines) shown.lines << text.mid(line.start, line.length);
    most_lines = std::max<int>(most_lines, int(shown.lines.size()));
    thought.starts.push_back(page.lines.empty() ? 0 : page.lines.front().start);
    thought.pages.push_back(std::move(shown));
  }
  // The first page takes whatever comes before its first line (blanks, line feeds).
  if (!thought.starts.empty()) thought.starts.front() = 0;
  thought.text_size = QSizeF(std::ceil(widest), std::ceil(metrics.lineSpacing() * most_lines));
  return thought;
}

ThoughtPager::ThoughtPager(BalloonWindow& balloon, Links links)
    : balloon_(balloon),
      links_(std::move(links)),
      pacing_([this](const QString& text) { return laidOut(text).starts; }, links_.scale) {
  clock_.start();
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { apply(pacing_.advance(now())); });
  QObject::connect(&balloon_, &BalloonWindow::clicked, &timer_,
                   [this] { apply(pacing_.click(now())); });
}

const ThoughtPages& ThoughtPager::laidOut(const QString& text) {
  if (text != laid_out_text_ || laid_out_.pages.empty()) {
    laid_out_text_ = text;
    laid_out_ = layOutThought(text);
  }
  return laid_out_;
}

void ThoughtPager::start(const QString& text, AfterThought after) {
  // Pages are cut at offsets into the balloon's form of the text (word gaps drawn narrower), so
  // the pacing keeps that form too: an offset into the thought as written would repeat text.
  apply(pacing_.think(balloonText(text), after, now()));
}

void ThoughtPager::setAfter(AfterThought after) {
  pacing_.setAfter(after, now());
  arm();
}

bool ThoughtPager::end() {
  const bool was_thinking = pacing_.endThought();
  arm();
  return was_thinking;
}

void ThoughtPager::close() {
  pacing_.close();
  timer_.stop();
  balloon_.hide();
}

// The balloon first, then the queue: ending a thought may start the next one at once.
void ThoughtPager::apply(const ThoughtPacing::Changes& changes) {
  arm();
  if (changes.closed) balloon_.hide();
  if (changes.page && pacing_.shown()) showCurrentPage();
  if (changes.skip_gestures && links_.skip_gestures) links_.skip_gestures();
  if (changes.thought_ended && links_.finished) links_.finished();
}

void ThoughtPager::arm() {
  const std::optional<qint64> due = pacing_.deadline();
  if (!due) return timer_.stop();
  timer_.start(int(std::clamp<qint64>(*due - now(), 0, 24 * 3600 * 1000)));
}

void ThoughtPager::showCurrentPage() {
  const ThoughtPages& laid = laidOut(pacing_.sheet());
  BalloonPage page = laid.pages.front();
  page.new_text = page.text.mid(std::min<qsizetype>(pacing_.newFrom(), page.text.size()));
  page.number = pacing_.pageNumber();
  page.count = pacing_.pageCount();
  balloon_.showPage(page, links_.place(laid.text_size));
  if (!balloon_.isVisible()) balloon_.show();
  balloon_.raise();
}

void ThoughtPager::follow() {
  if (balloon_.isVisible()) balloon_.place(links_.place(laidOut(pacing_.sheet()).text_size));
}

}  // namespace vembrel
