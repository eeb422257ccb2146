#pragma once
// One loaded character on the desktop: its window, its balloon and its action queue. Actions
// run one after another driven by single-shot timers to the next frame only, so an idle
// character costs next to nothing.

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/qt/action_queue.hpp"
#include "host/qt/balloon_window.hpp"
#include "host/qt/character_file.hpp"
#include "host/qt/character_window.hpp"
#include "host/qt/frame_cache.hpp"
#include "host/qt/idle_schedule.hpp"
#include "host/qt/text_wrap.hpp"
#include "lookup/character_host.hpp"

class QMenu;

namespace vembrel {

class QtCharacterHost;

class QtCharacter : public QObject, public Character {
  Q_OBJECT

 public:
  QtCharacter(QtCharacterHost& host, std::u16string id,
              std::shared_ptr<const CharacterDefinition> definition);
  ~QtCharacter() override;

  void setHeight(int pixels) override;
  void setWidth(int pixels) override;
  void MoveTo(int x, int y) override;
  void setName(const std::u16string& name) override;
  void Show() override;
  void Hide() override;
  void Play(const std::string& animation) override;
  void Think(const std::u16string& text) override;
  void setAutoPopupMenu(bool on) override { auto_popup_menu_ = on; }
  void Stop() override;

  // For the user's own show and hide (tray icon, menu, a second launch): drop what is queued.
  void showNow();
  void hideNow();
  // Puts a visible character (and its balloon) back above every other window.
  void keepOnTop();

  bool isShown() const { return visible_; }
  bool isBusy() const { return running_; }
  QPoint position() const { return position_; }
  const QString& currentFrame() const { return current_frame_; }
  const CharacterDefinition& definition() const { return *definition_; }
  // Whether a compositor blends the windows: soft edges with one, clipped edges without.
  void setCompositing(bool on);

  // Told of every action as it starts, for tests and tracing.
  using ActionObserver = std::function<void(const QString& action)>;
  void setActionObserver(ActionObserver observer) { observer_ = std::move(observer); }

  CharacterWindow& window() { return window_; }
  BalloonWindow& balloon() { return balloon_; }

 private:
  void enqueue(Action action);
  void startNext();
  void startAction(Action action);
  void finishAction();
  void cancelEverything();

  void playAnimation(const QString& name, std::function<void()> done, bool follow_return = true);
  void advanceFrame();
  void showRest();
  void showFrame(const QString& id);
  void refreshFrame();

  void setPosition(QPoint position);
  void startGlide(QPoint to);
  void glideStep();

  void startThought(const QString& text);
  void showCurrentPage();
  void nextPage();
  BalloonGeometry balloonGeometry() const;
  void followWindow(QPoint actual);

  void scheduleIdle();
  void playIdle();

  void popupMenu(QPoint at);
  int scaled(int ms) const;

  QtCharacterHost& host_;
  std::u16string id_;
  std::shared_ptr<const CharacterDefinition> definition_;
  FrameCache cache_;
  CharacterWindow window_;
  BalloonWindow balloon_;
  QPointer<QMenu> menu_;

  ActionQueue queue_;
  ActionObserver observer_;
  bool running_ = false;
  bool starting_ = false;  // startNext() is taking actions off the queue
  bool running_think_ = false;
  bool visible_ = false;
  bool auto_popup_menu_ = true;
  QPoint position_;
  QString current_frame_;

  // The animation playing, if any.
  QTimer frame_timer_;
  const Animation* animation_ = nullptr;
  size_t step_ = 0;
  bool follow_return_ = true;
  std::function<void()> animation_done_;

  // A glide in progress.
  QTimer glide_timer_;
  QElapsedTimer glide_clock_;
  QPoint glide_from_, glide_to_;
  int glide_ms_ = 0;

  // The thought on show.
  QTimer page_timer_;
  std::vector<BalloonPage> pages_;
  QSizeF balloon_text_size_;
  size_t page_ = 0;

  QTimer idle_timer_;
  IdleSchedule idle_schedule_;
  QString next_idle_;
  bool idle_playing_ = false;
};

}  // namespace vembrel
