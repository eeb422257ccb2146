// The tray menu's commands: the character's menu items, from the same table, each running its
// own item.
#include "app/tray_commands.hpp"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QObject>
#include <memory>
#include <vector>

namespace vembrel {
namespace {

TEST(TrayCommands, AreTheMenuItemsButCloseAndHideEachRunningItsOwnItem) {
  QObject owner;
  std::vector<const MenuItem*> ran;
  const QList<QAction*> actions =
      make_tray_commands(&owner, [&](const MenuItem& item) { ran.push_back(&item); });
  QStringList names, captions;
  for (QAction* action : actions) {
    names << action->objectName();
    captions << action->text();
  }
  EXPECT_EQ(names,
            QStringList({"mxhy", "mxh", "mcy", "mty", "mfy", "mwy", "ms", "mx", "mhelp", "quit"}));
  EXPECT_EQ(captions, QStringList({"歇后词典", "新华字典", "成语词典", "同义词典", "反义词典",
                                   "古文词典", "上一个词", "下一个词", "帮  助", "退出Vembrel"}));
  // A command runs once the menu has closed, from the event loop.
  for (QAction* action : actions) {
    ran.clear();
    action->trigger();
    EXPECT_TRUE(ran.empty());
    QCoreApplication::processEvents();
    ASSERT_EQ(ran.size(), 1u);
    EXPECT_EQ(ran[0], find_menu_item(action->objectName().toStdString()));
  }
}

}  // namespace
}  // namespace vembrel
