#pragma once
// The character host on the desktop, built on Qt Widgets. Construct it after QApplication, on
// the GUI thread; it shows nothing until a loaded character is shown.
//
//   vembrel::chooseX11Platform();
//   QApplication app(argc, argv);
//   vembrel::QtCharacterHost host;
//   ... host.load(id, path); host.character(id)->show(); ...
//   // a second launch or the tray: host.showCharacter();

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "host/qt/character_menu.hpp"
#include "host/qt/compositing_probe.hpp"
#include "host/qt/desktop_watch.hpp"
#include "host/qt/qt_character.hpp"
#include "lookup/character_host.hpp"

class QSystemTrayIcon;
class QMenu;
class QAction;

namespace vembrel {

class QtCharacterHost : public QObject, public CharacterHost {
  Q_OBJECT

 public:
  explicit QtCharacterHost(QObject* parent = nullptr);
  ~QtCharacterHost() override;

  LoadStatus load(const std::u16string& id, const std::string& path) override;
  Character* character(const std::u16string& id) override;
  void set_double_click_handler(DoubleClickHandler handler) override {
    dbl_click_ = std::move(handler);
  }

  // Shows a hidden character at once (dropping its queue) and raises a visible one.
  void showCharacter();
  // Hides the characters, dropping their queues.
  void hideCharacter();
  bool isCharacterVisible() const;

  // Multiplies every duration (frames, glides, pages, idle pauses); 0.01 makes tests quick.
  void setTimeScale(double scale) { time_scale_ = scale; }
  double timeScale() const { return time_scale_; }

  // The Qt side of a loaded character, for tests and previews.
  QtCharacter* qtCharacter(const std::u16string& id);

  int scaled(int msec) const;

  // How long thoughts stay, for every character, also one loaded later.
  void setReadingPace(ReadingPace pace);
  ReadingPace readingPace() const { return reading_pace_; }

  // An item of the program's own for the tray menu, below 显示 and 隐藏.
  void addTrayAction(QAction* action);

 signals:
  // The tray menu is about to open: the program's items may bring their state up to date.
  void trayMenuAboutToShow();

 private:
  bool compositing() const {
    if (!compositing_) compositing_ = compositorActive();
    return *compositing_;
  }
  void checkCompositing();
  void ensureTrayIcon(QtCharacter& character);

  std::map<std::u16string, std::unique_ptr<QtCharacter>> characters_;
  DoubleClickHandler dbl_click_;
  double time_scale_ = 1.0;
  ReadingPace reading_pace_ = ReadingPace::Medium;
  mutable std::optional<bool> compositing_;  // asked when first needed
  DesktopWatch desktop_watch_;
  QTimer raise_timer_;
  QElapsedTimer last_raise_;
  CharacterMenu character_menu_;
  std::unique_ptr<QMenu> tray_menu_;
  QPointer<QSystemTrayIcon> tray_;
  QList<QAction*> tray_actions_;
};

}  // namespace vembrel
