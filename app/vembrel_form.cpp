#include "app/vembrel_form.hpp"

#include <QCursor>

#include "host/qt/screen_reach.hpp"
#include "menu/popup_menu.hpp"

namespace vembrel {

VembrelForm::VembrelForm(const std::string& app_dir)
    : form_(character_host_, dialog_, desktop_, app_dir) {
  setObjectName("Vembrel");
  setWindowTitle("Vembrel");
}

QMenu* VembrelForm::menu() {
  // Made when first opened rather than before the character first shows.
  if (popup_menu_ == nullptr)
    popup_menu_ = make_popup_menu(this, [this](const MenuItem& item) { form_.run(item); });
  return popup_menu_;
}

LoadStatus VembrelForm::load() {
  // The form stays hidden: it only owns the program, the menu and the character host.
  hide();
  // The same place showCharacter brings a lost character back to.
  const QPoint corner = primary_screen_corner();
  LoadStatus status = form_.start(primary_screen_twips(), {corner.x(), corner.y()});
  if (!status.ok()) return status;
  // Whatever button, shift state or position: the menu opens at the mouse pointer.
  character_host_.set_double_click_handler(
      [this](const DoubleClickEvent&) { menu()->popup(QCursor::pos()); });
  return status;
}

}  // namespace vembrel
