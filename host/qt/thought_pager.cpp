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
    BalloonPage shown{{}, page.text};
    for (const TextLine& line : page.lines) shown.lines << text.mid(line.start, line.length);
    most_lines = std::max<int>(most_lines, int(shown.lines.size()));
    thought.pages.push_back(std::move(shown));
  }
  thought.text_size = QSizeF(std::ceil(widest), std::ceil(metrics.lineSpacing() * most_lines));
  return thought;
}

ThoughtPager::ThoughtPager(BalloonWindow& balloon, Place place, ScaleMsec scale,
                           std::function<void()> finished)
    : balloon_(balloon),
      place_(std::move(place)),
      scale_(std::move(scale)),
      finished_(std::move(finished)) {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { nextPage(); });
  QObject::connect(&balloon_, &BalloonWindow::clicked, &timer_, [this] { nextPage(); });
}

void ThoughtPager::start(const QString& text) {
  active_ = true;
  thought_ = layOutThought(text);
  page_ = 0;
  showCurrentPage();
}

void ThoughtPager::showCurrentPage() {
  const BalloonPage& page = thought_.pages[page_];
  balloon_.showPage(page, place_(thought_.text_size));
  if (!balloon_.isVisible()) balloon_.show();
  balloon_.raise();
  timer_.start(scale_(pageReadingMsec(page.text)));
}

void ThoughtPager::nextPage() {
  if (!active_) return;
  timer_.stop();
  if (++page_ < thought_.pages.size()) return showCurrentPage();
  finished_();
}

bool ThoughtPager::end() {
  timer_.stop();
  const bool was_active = active_;
  active_ = false;
  return was_active;
}

void ThoughtPager::follow() {
  if (balloon_.isVisible()) balloon_.place(place_(thought_.text_size));
}

}  // namespace vembrel
