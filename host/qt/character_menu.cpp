#include "host/qt/character_menu.hpp"

#include <QMenu>
#include <utility>

namespace vembrel {

CharacterMenu::CharacterMenu(std::function<void()> hide, QObject* parent)
    : QObject(parent), hide_(std::move(hide)) {}

CharacterMenu::~CharacterMenu() = default;

void CharacterMenu::popup(QPoint at) {
  if (!menu_) {
    menu_ = std::make_unique<QMenu>();
    menu_->addAction(QStringLiteral("隐藏"), this, [this] { hide_(); });
  }
  menu_->popup(at);
}

}  // namespace vembrel
