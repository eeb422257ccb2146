#include "menu/popup_menu.hpp"

#include <QAction>
#include <QTimer>

namespace vembrel {

QMenu* make_popup_menu(QWidget* parent, std::function<void(const MenuItem&)> run) {
  auto* menu = new QMenu(QStringView(kTopMenuCaption).toString(), parent);
  menu->setObjectName(QString::fromLatin1(kTopMenuName.data(), kTopMenuName.size()));
  // A screen reader names the menu when it opens; its title alone would say nothing useful.
  menu->setAccessibleName(QStringLiteral("Vembrel 菜单"));
  for (const MenuItem& item : kMenuItems) {
    QAction* action = menu->addAction(QStringView(item.caption).toString());
    action->setObjectName(QString::fromLatin1(item.name.data(), item.name.size()));
    // Run the command from the event loop, after the menu is gone: a command may open a modal
    // dialog, which must not sit on top of a closing menu.
    QObject::connect(action, &QAction::triggered, menu,
                     [run, &item] { QTimer::singleShot(0, [run, &item] { run(item); }); });
  }
  return menu;
}

}  // namespace vembrel
