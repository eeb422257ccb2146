#pragma once
// The desktop program's main form: a hidden widget, never shown, that owns the program
// (Vembrel), the pop-up menu and the character host.

#include <QMenu>
#include <QWidget>

#include "app/qt_desktop.hpp"
#include "app/qt_input_dialog.hpp"
#include "app/vembrel.hpp"
#include "host/qt/qt_character_host.hpp"

namespace vembrel {

class VembrelForm : public QWidget {
 public:
  explicit VembrelForm(const std::string& app_dir);

  // The form's load: brings up the character for the primary screen and wires the menu.
  LoadStatus load();
  // Shows a hidden character again (the tray icon and a second launch do this).
  void showCharacter() { character_host_.showCharacter(); }

  Vembrel& form() { return form_; }
  QtCharacterHost& host() { return character_host_; }

 private:
  QMenu* menu();

  QtCharacterHost character_host_;
  QtInputDialog dialog_;
  QtDesktop desktop_;
  Vembrel form_;
  QMenu* popup_menu_ = nullptr;
};

}  // namespace vembrel
