#include "app/vembrel_form.hpp"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "menu/popup_menu.hpp"

namespace vembrel {

double primary_screen_twips() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr || screen->logicalDotsPerInchX() <= 0) return 15360;
  return screen->geometry().width() * 1440.0 / screen->logicalDotsPerInchX();
}

ScreenOrigin primary_screen_origin() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QPoint corner = screen->geometry().topLeft();
  return {corner.x(), corner.y()};
}

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
  LoadStatus status = form_.start(primary_screen_twips(), primary_screen_origin());
  if (!status.ok()) return status;
  // Whatever button, shift state or position: the menu opens at the mouse pointer.
  character_host_.set_double_click_handler(
      [this](const DoubleClickEvent&) { menu()->popup(QCursor::pos()); });
  return status;
}

}  // namespace vembrel
