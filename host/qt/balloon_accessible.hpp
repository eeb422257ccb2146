#pragma once
// How screen readers see the thought balloon. A screen reader speaks a notification when it
// becomes showing, but it asks for the text later, when it comes to the event: by then the
// balloon may have gathered the next thought, and a text that changed in between would be
// said twice and the first never. So every text to be said is an announcement of its own, a
// notification inside the balloon whose text never changes, and the balloon itself is a plain
// window that says nothing.

#include <QList>
#include <QObject>
#include <QString>

class QWidget;

namespace vembrel {

// One text for a screen reader to say, named after the program (the name is read before
// every text, so it is short).
class BalloonAnnouncement : public QObject {
  Q_OBJECT

 public:
  BalloonAnnouncement(QWidget* balloon, QString text);
  const QString& text() const { return text_; }
  // Tells a screen reader that the announcement is showing; the balloon must be visible.
  void announce();

 private:
  QString text_;
};

// The announcements a balloon keeps, oldest first.
QList<BalloonAnnouncement*> announcementsOf(const QObject* balloon);

// Gives every widget of class `class_name` (its meta-object's name) the announcements among
// its children as accessible children; once per program, before the first such widget shows.
void installBalloonAccessible(const char* class_name);

}  // namespace vembrel
