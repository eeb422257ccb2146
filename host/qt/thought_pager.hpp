#pragma once
// Shows thoughts in the balloon as ThoughtPacing says: thoughts of one answer gathered page by
// page, each page kept until it has been read, a click going on at once.

#include <QElapsedTimer>
#include <QSizeF>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

#include "host/qt/balloon_window.hpp"
#include "host/qt/thought_pacing.hpp"
#include "host/qt/time_scale.hpp"

namespace vembrel {

// A text wrapped and cut into pages, with the room for text every page of it gets, so the
// balloon does not jump between pages.
struct ThoughtPages {
  std::vector<BalloonPage> pages;
  std::vector<int> starts;  // where each page begins in the text
  QSizeF text_size;
};
ThoughtPages layOutThought(const QString& text);

class ThoughtPager {
 public:
  // Where the balloon goes for text of a given size, beside the character as it is now.
  using Place = std::function<BalloonGeometry(const QSizeF& text_size)>;
  struct Links {
    Place place;
    ScaleMsec scale;
    std::function<void()> finished;       // the running thought is over
    std::function<void()> skip_gestures;  // the reader asked for the next thought at once
  };

  ThoughtPager(BalloonWindow& balloon, Links links);

  void start(const QString& text, AfterThought after);
  // More was queued behind the running thought after it started.
  void setAfter(AfterThought after);
  // Ends the running thought, if any, and says whether there was one; the balloon stays up.
  bool end();
  // Takes the balloon down.
  void close();
  // Shown and waiting for the next thought of the same answer.
  bool gathering() const { return pacing_.gathering(); }
  // The running thought is the last of its answer and keeps the queue waiting.
  bool holdingLast() const { return pacing_.holdingLast(); }
  // Something is still to happen on its own: a page to turn, a thought or a balloon to end.
  bool waiting() const { return pacing_.deadline().has_value(); }
  // Moves a balloon on show to where it belongs now.
  void follow();
  void setPace(ReadingPace pace) { pacing_.setPace(pace); }

 private:
  const ThoughtPages& laidOut(const QString& text);
  void apply(const ThoughtPacing::Changes& changes);
  void showCurrentPage();
  void arm();
  qint64 now() const { return clock_.elapsed(); }

  BalloonWindow& balloon_;
  Links links_;
  QElapsedTimer clock_;
  QTimer timer_;
  ThoughtPacing pacing_;
  QString laid_out_text_;
  ThoughtPages laid_out_;
};

}  // namespace vembrel
