#include "host/qt/balloon_accessible.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QString>
#include <QWidget>

namespace vembrel {

namespace {

QString& balloonClassName() {
  static QString name;
  return name;
}

QAccessibleInterface* makeBalloonAccessible(const QString& class_name, QObject* object) {
  if (class_name != balloonClassName() || !object || !object->isWidgetType()) return nullptr;
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
}

}  // namespace

void installBalloonAccessible(const char* class_name) {
  if (!balloonClassName().isEmpty()) return;
  balloonClassName() = QString::fromLatin1(class_name);
  QAccessible::installFactory(makeBalloonAccessible);
}

}  // namespace vembrel
