#pragma once
// The menu a right click on the character opens: "隐藏" hides it. (The program's own menu of
// dictionaries opens on a double click and lives in menu/.)

#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>

class QMenu;

namespace vembrel {

class CharacterMenu : public QObject {
  Q_OBJECT

 public:
  explicit CharacterMenu(std::function<void()> hide, QObject* parent = nullptr);
  ~CharacterMenu() override;

  // Opens the menu at `at` (screen pixels); made when first opened.
  void popup(QPoint at);

 private:
  std::function<void()> hide_;
  std::unique_ptr<QMenu> menu_;
};

}  // namespace vembrel
