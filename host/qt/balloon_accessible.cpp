#include "host/qt/balloon_accessible.hpp"

#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QWidget>
#include <utility>

namespace vembrel {

namespace {

QString& balloonClassName() {
  static QString name;
  return name;
}

class AnnouncementAccessible : public QAccessibleObject {
 public:
  explicit AnnouncementAccessible(BalloonAnnouncement* announcement)
      : QAccessibleObject(announcement) {}

  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(object()->parent());
  }
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessible::Role role() const override { return QAccessible::Notification; }
  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) return QStringLiteral("Vembrel");
    if (kind == QAccessible::Description)
      return static_cast<BalloonAnnouncement*>(object())->text();
    return {};
  }
  QAccessible::State state() const override {
    QAccessible::State state;
    state.invisible = !balloon()->isVisible();
    state.readOnly = true;
    return state;
  }
  QRect rect() const override {
    const QWidget* widget = balloon();
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
  }

 private:
  const QWidget* balloon() const { return static_cast<const QWidget*>(object()->parent()); }
};

// The balloon window: its announcements are its children.
class BalloonAccessible : public QAccessibleWidget {
 public:
  explicit BalloonAccessible(QWidget* balloon) : QAccessibleWidget(balloon, QAccessible::Window) {}

  int childCount() const override { return announcementsOf(object()).size(); }
  QAccessibleInterface* child(int index) const override {
    const QList<BalloonAnnouncement*> all = announcementsOf(object());
    if (index < 0 || index >= all.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(all[index]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!child) return -1;
    return announcementsOf(object()).indexOf(qobject_cast<BalloonAnnouncement*>(child->object()));
  }
};

QAccessibleInterface* makeBalloonAccessible(const QString& class_name, QObject* object) {
  if (!object) return nullptr;
  if (auto* announcement = qobject_cast<BalloonAnnouncement*>(object))
    return new AnnouncementAccessible(announcement);
  if (class_name == balloonClassName() && object->isWidgetType())
    return new BalloonAccessible(static_cast<QWidget*>(object));
  return nullptr;
}

}  // namespace

BalloonAnnouncement::BalloonAnnouncement(QWidget* balloon, QString text)
    : QObject(balloon), text_(std::move(text)) {}

void BalloonAnnouncement::announce() {
  QAccessibleEvent shown(this, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&shown);
}

QList<BalloonAnnouncement*> announcementsOf(const QObject* balloon) {
  return balloon->findChildren<BalloonAnnouncement*>(Qt::FindDirectChildrenOnly);
}

void installBalloonAccessible(const char* class_name) {
  if (!balloonClassName().isEmpty()) return;
  balloonClassName() = QString::fromLatin1(class_name);
  QAccessible::installFactory(makeBalloonAccessible);
}

}  // namespace vembrel
