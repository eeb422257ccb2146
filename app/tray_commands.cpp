#include "app/tray_commands.hpp"

#include <QAction>
#include <QTimer>

#include "host/qt/qt_character_host.hpp"

namespace vembrel {

bool in_tray_menu(const MenuItem& item) {
  return item.command != MenuCommand::CloseMenu && item.command != MenuCommand::Hide;
}

QList<QAction*> make_tray_commands(QObject* parent, std::function<void(const MenuItem&)> run) {
  QList<QAction*> actions;
  for (const MenuItem& item : kMenuItems) {
    if (!in_tray_menu(item)) continue;
    auto* action = new QAction(QStringView(item.caption).toString().trimmed(), parent);
    action->setObjectName(QString::fromLatin1(item.name.data(), item.name.size()));
    // As in the character's menu: a command may open a modal dialog, which must not sit on
    // top of a closing menu.
    QObject::connect(action, &QAction::triggered, parent,
                     [run, &item] { QTimer::singleShot(0, [run, &item] { run(item); }); });
    actions.append(action);
  }
  return actions;
}

void add_tray_commands(QtCharacterHost& host, std::function<void(const MenuItem&)> run) {
  auto speak = [&host, run = std::move(run)](const MenuItem& item) {
    const bool speaks = item.command == MenuCommand::PhraseLookup ||
                        item.command == MenuCommand::HanziLookup ||
                        item.command == MenuCommand::Previous || item.command == MenuCommand::Next;
    if (speaks && !host.isCharacterVisible()) host.showCharacter();
    run(item);
  };
  // The host puts a separator before the program's first item; this one keeps the items added
  // after the commands apart from them.
  for (QAction* action : make_tray_commands(&host, std::move(speak))) host.addTrayAction(action);
  auto* separator = new QAction(&host);
  separator->setSeparator(true);
  host.addTrayAction(separator);
}

}  // namespace vembrel
