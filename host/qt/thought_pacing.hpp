#pragma once
// When the balloon's pages come and go. Thoughts of one answer gather in one balloon as they
// come; a page that fills waits until it has been read (or clicked) before the next replaces
// it; the last thought of an answer stays its reading time. Plain logic fed with the time, so
// the rules can be checked with a made-up clock.

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <vector>

#include "host/qt/time_scale.hpp"

namespace vembrel {

enum class ReadingPace { Slow, Medium, Fast };

// How long a text takes to read at a pace, never less than the pace's minimum. Blanks (which
// space the characters out) are not read.
int readingMsec(const QString& text, ReadingPace pace);

// How long a thought that more of its answer follows stays alone before the queue goes on.
inline constexpr int kGatherHoldMsec = 100;
// What the gestures before a thought may take in all: before the first thought of an answer,
// and between thoughts while the balloon stays up.
inline constexpr int kLeadInMsec = 500;
inline constexpr int kBetweenThoughtsMsec = 200;

// By what a run of gestures that leads to a thought is sped up (1 or less): the run takes its
// own time when that is short enough, else the budget above.
double leadInFactor(int run_msec, bool balloon_shown);

// A thought that follows an unfinished line ("第 1条：") goes on that line; any other starts a
// line of its own.
QString gatheredSeparator(const QString& shown);

// What the queue holds behind a thought, past any gestures.
enum class AfterThought {
  Thought,   // more of the same answer: the two gather in the balloon
  Gestures,  // gestures only: they play while the thought stays its reading time
  Other,     // anything else, or nothing: the thought stays its reading time before it
};

class ThoughtPacing {
 public:
  // Where the pages of a text begin: offsets into it, the first one 0.
  using PageLayout = std::function<std::vector<int>(const QString& text)>;

  // What a call changed, for the balloon and the queue to follow.
  struct Changes {
    bool page = false;           // another page or more text is to be shown
    bool thought_ended = false;  // the running thought is over: the queue goes on
    bool closed = false;         // the balloon is to go
    bool skip_gestures = false;  // go on to the next thought without gesturing
  };

  explicit ThoughtPacing(PageLayout layout, ScaleMsec scale = {});

  void setPace(ReadingPace pace) { pace_ = pace; }
  ReadingPace pace() const { return pace_; }

  // A thought starts, with what is queued behind it.
  Changes think(const QString& text, AfterThought after, qint64 now);
  // More was queued behind the running thought after it started.
  void setAfter(AfterThought after, qint64 now);
  // Carries out whatever was due by `now`.
  Changes advance(qint64 now);
  // When advance() has something to do next.
  std::optional<qint64> deadline() const { return deadline_; }
  // The user clicked the balloon: the next page, the next thought, or the end.
  Changes click(qint64 now);
  // The running thought is cut short; what shows stays until it is replaced or closed.
  // Says whether a thought was running.
  bool endThought();
  // The balloon goes, and with it any running thought.
  void close();

  bool thinking() const { return thinking_; }
  bool shown() const { return shown_; }
  // Shown, and waiting for the next thought of the same answer.
  bool gathering() const { return shown_ && after_ == AfterThought::Thought; }
  // The running thought is the last of its answer and keeps the queue waiting.
  bool holdingLast() const { return thinking_ && after_ == AfterThought::Other; }

  // The page on show: its text, which part of it is new since it last showed, its number and
  // the number of pages known so far (both from 1).
  QString pageText() const;
  QString newText() const;
  int newFrom() const { return new_from_; }
  int pageNumber() const { return turned_ + 1; }
  int pageCount() const { return turned_ + int(page_starts_.size()); }
  // The text from the shown page on, as laid out.
  const QString& sheet() const { return sheet_; }

 private:
  void layOut();
  void turnPage(qint64 now);
  void schedule(qint64 now);
  int scaled(int msec) const { return scale_ ? scale_(msec) : msec; }

  PageLayout layout_;
  ScaleMsec scale_;
  ReadingPace pace_ = ReadingPace::Medium;

  QString sheet_;                 // from the first character of the shown page on
  std::vector<int> page_starts_;  // of the sheet
  int new_from_ = 0;              // where in the sheet the text not shown before begins
  int turned_ = 0;                // pages of this balloon turned already
  qint64 page_shown_at_ = 0;

  bool shown_ = false;
  bool thinking_ = false;
  AfterThought after_ = AfterThought::Other;
  qint64 last_page_at_ = 0;
  enum class Due { TurnPage, EndThought, Close } due_ = Due::EndThought;
  std::optional<qint64> deadline_;
};

}  // namespace vembrel
