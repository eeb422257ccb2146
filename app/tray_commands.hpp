#pragma once
// The character's menu in the tray icon's menu too, built from the same table
// (menu/menu_items.hpp), so that every command is reachable without double-clicking the
// character: from the keyboard, or for someone who cannot double-click.

#include <QList>
#include <functional>

#include "menu/menu_items.hpp"

class QAction;
class QObject;

namespace vembrel {

class QtCharacterHost;

// Whether the tray offers the item: not 取消菜单 (closing a menu needs no item) and not
// 隐藏, which the tray has already, beside 显示.
bool in_tray_menu(const MenuItem& item);

// One action per item the tray offers, in menu order, named after its item and owned by
// `parent`. Choosing one calls `run` with its item once the menu has closed.
QList<QAction*> make_tray_commands(QObject* parent, std::function<void(const MenuItem&)> run);

// Adds them to the host's tray menu, between separators. The commands that make the
// character speak bring a hidden character back first.
void add_tray_commands(QtCharacterHost& host, std::function<void(const MenuItem&)> run);

}  // namespace vembrel
