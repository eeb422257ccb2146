#pragma once
// The pop-up menu built from the menu's items, for the desktop program.

#include <QMenu>
#include <functional>

#include "menu/menu_items.hpp"

namespace vembrel {

// A menu named and titled after the top-level item whose actions are the twelve items in order,
// each named after its item. Choosing an item calls `run` with it once the menu has closed.
QMenu* make_popup_menu(QWidget* parent, std::function<void(const MenuItem&)> run);

}  // namespace vembrel
