#include "host/qt/thought_pacing.hpp"

#include <algorithm>

namespace vembrel {

namespace {

struct PaceRate {
  int characters_per_10_seconds;
  int minimum_msec;
};

PaceRate rate(ReadingPace pace) {
  switch (pace) {
    case ReadingPace::Slow:
      return {20, 12000};
    case ReadingPace::Fast:
      return {50, 5000};
    case ReadingPace::Medium:
      break;
  }
  return {30, 8000};
}

}  // namespace

int readingMsec(const QString& text, ReadingPace pace) {
  int characters = 0;
  for (const QChar c : text)
    if (!c.isSpace() && !c.isLowSurrogate()) ++characters;
  const PaceRate r = rate(pace);
  return std::max(r.minimum_msec, characters * 10000 / r.characters_per_10_seconds);
}

double leadInFactor(int run_msec, bool balloon_shown) {
  const int budget = balloon_shown ? kBetweenThoughtsMsec : kLeadInMsec;
  if (run_msec <= budget) return 1.0;
  return double(budget) / run_msec;
}

QString gatheredSeparator(const QString& shown) {
  QString end = shown;
  while (!end.isEmpty() && end.back() == QLatin1Char(' ')) end.chop(1);
  if (end.isEmpty() || end.endsWith(QChar(0xff1a)) || end.endsWith(QLatin1Char(':'))) return {};
  return QStringLiteral("\n");
}

ThoughtPacing::ThoughtPacing(PageLayout layout, ScaleMsec scale)
    : layout_(std::move(layout)), scale_(std::move(scale)) {}

ThoughtPacing::Changes ThoughtPacing::think(const QString& text, AfterThought after, qint64 now) {
  if (gathering()) {
    sheet_ += gatheredSeparator(sheet_);
    new_from_ = int(sheet_.size());
    sheet_ += text;
  } else {
    sheet_ = text;
    new_from_ = 0;
    turned_ = 0;
    page_shown_at_ = now;
  }
  shown_ = true;
  thinking_ = true;
  after_ = after;
  layOut();
  schedule(now);
  return {.page = true};
}

void ThoughtPacing::setAfter(AfterThought after, qint64 now) {
  if (!thinking_ || after == after_) return;
  after_ = after;
  if (due_ == Due::EndThought) schedule(std::max(now, last_page_at_));
}

ThoughtPacing::Changes ThoughtPacing::advance(qint64 now) {
  Changes changes;
  while (deadline_ && *deadline_ <= now) {
    if (due_ == Due::TurnPage) {
      turnPage(*deadline_);
      changes.page = true;
      continue;
    }
    if (due_ == Due::Close || after_ == AfterThought::Other) {
      changes.thought_ended = changes.thought_ended || thinking_;
      close();
      changes.closed = true;
      continue;
    }
    thinking_ = false;
    changes.thought_ended = true;
    schedule(*deadline_);
  }
  return changes;
}

ThoughtPacing::Changes ThoughtPacing::click(qint64 now) {
  if (!shown_) return {};
  if (page_starts_.size() > 1) {
    turnPage(now);
    return {.page = true};
  }
  Changes changes;
  changes.thought_ended = endThought();
  if (after_ == AfterThought::Thought) {
    changes.skip_gestures = true;
  } else {
    close();
    changes.closed = true;
  }
  return changes;
}

bool ThoughtPacing::endThought() {
  const bool was_thinking = thinking_;
  thinking_ = false;
  // A page still to be read keeps its turn, and a last page its time.
  if (due_ == Due::EndThought) schedule(deadline_.value_or(0));
  return was_thinking;
}

void ThoughtPacing::close() {
  shown_ = false;
  thinking_ = false;
  after_ = AfterThought::Other;
  deadline_.reset();
}

QString ThoughtPacing::pageText() const {
  const int end = page_starts_.size() > 1 ? page_starts_[1] : int(sheet_.size());
  return sheet_.left(end);
}

QString ThoughtPacing::newText() const {
  const QString page = pageText();
  return new_from_ >= page.size() ? QString() : page.mid(new_from_);
}

void ThoughtPacing::layOut() {
  page_starts_ = layout_(sheet_);
  if (page_starts_.empty() || page_starts_.front() != 0)
    page_starts_.insert(page_starts_.begin(), 0);
}

void ThoughtPacing::turnPage(qint64 now) {
  sheet_ = sheet_.mid(page_starts_[1]);
  new_from_ = 0;
  ++turned_;
  page_shown_at_ = now;
  layOut();
  schedule(now);
}

void ThoughtPacing::schedule(qint64 now) {
  if (page_starts_.size() > 1) {
    // A full page waits until it has been read, counted from when it first showed.
    due_ = Due::TurnPage;
    deadline_ = std::max(now, page_shown_at_ + scaled(readingMsec(pageText(), pace_)));
  } else if (thinking_) {
    last_page_at_ = now;
    due_ = Due::EndThought;
    const bool holds = after_ == AfterThought::Other;
    deadline_ = now + scaled(holds ? readingMsec(pageText(), pace_) : kGatherHoldMsec);
  } else if (shown_ && after_ == AfterThought::Gestures) {
    // The gestures behind it play while it stays.
    due_ = Due::Close;
    deadline_ = last_page_at_ + scaled(readingMsec(pageText(), pace_));
  } else {
    deadline_.reset();
  }
}

}  // namespace vembrel
