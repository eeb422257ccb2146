#include "app/reading_pace_item.hpp"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QSettings>
#include <array>
#include <utility>

#include "host/qt/qt_character_host.hpp"

namespace vembrel {

namespace {

constexpr auto kPaceKey = "balloon/pace";

QSettings userSettings() {
  return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("vembrel"),
                   QStringLiteral("vembrel"));
}

}  // namespace

ReadingPace readingPaceNamed(const QString& name) {
  if (name == QLatin1String("slow")) return ReadingPace::Slow;
  if (name == QLatin1String("fast")) return ReadingPace::Fast;
  return ReadingPace::Medium;
}

QString readingPaceName(ReadingPace pace) {
  switch (pace) {
    case ReadingPace::Slow:
      return QStringLiteral("slow");
    case ReadingPace::Fast:
      return QStringLiteral("fast");
    case ReadingPace::Medium:
      break;
  }
  return QStringLiteral("medium");
}

void add_reading_pace_menu(QtCharacterHost& host) {
  host.setReadingPace(readingPaceNamed(userSettings().value(kPaceKey).toString()));

  // A menu has no QObject parent of its own kind here: it goes with the host.
  auto* menu = new QMenu(QStringLiteral("阅读速度"));
  menu->setObjectName(QStringLiteral("reading-pace"));
  QObject::connect(&host, &QObject::destroyed, menu, [menu] { delete menu; });
  auto* group = new QActionGroup(menu);
  const std::array<std::pair<const char16_t*, ReadingPace>, 3> paces{
      {{u"慢", ReadingPace::Slow}, {u"中", ReadingPace::Medium}, {u"快", ReadingPace::Fast}}};
  for (const auto& [caption, pace] : paces) {
    QAction* item = menu->addAction(QString::fromUtf16(caption));
    item->setObjectName(QStringLiteral("pace-") + readingPaceName(pace));
    item->setCheckable(true);
    item->setChecked(pace == host.readingPace());
    group->addAction(item);
    QObject::connect(item, &QAction::triggered, &host, [&host, pace] {
      host.setReadingPace(pace);
      QSettings settings = userSettings();
      settings.setValue(kPaceKey, readingPaceName(pace));
    });
  }
  host.addTrayAction(menu->menuAction());
}

}  // namespace vembrel
