#include "app/autostart_item.hpp"

#include <QAction>
#include <QCoreApplication>
#include <cstdio>

#include "app/autostart_file.hpp"
#include "host/qt/qt_character_host.hpp"

namespace vembrel {

void add_autostart_item(QtCharacterHost& host) {
  auto* item = new QAction(QStringLiteral("登录时启动"), &host);
  item->setObjectName(QStringLiteral("autostart"));
  item->setCheckable(true);
  const auto file = [] {
    return AutostartFile::forThisUser(QCoreApplication::applicationFilePath());
  };
  QObject::connect(&host, &QtCharacterHost::trayMenuAboutToShow, item,
                   [item, file] { item->setChecked(file().state() == AutostartState::Enabled); });
  QObject::connect(item, &QAction::triggered, item, [item, file](bool checked) {
    const AutostartFile autostart = file();
    if (const QString problem = autostart.setEnabled(checked); !problem.isEmpty())
      std::fprintf(stderr, "vembrel: autostart: %s\n", qPrintable(problem));
    item->setChecked(autostart.state() == AutostartState::Enabled);
  });
  host.addTrayAction(item);
}

}  // namespace vembrel
