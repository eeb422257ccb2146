#pragma once
// One loaded character on the desktop: its window and its balloon, and the parts that bring
// them to life, each with one job: the action runner (the queue), the animation player, the
// glide, the thought pager and the idle timer. This class wires them together and answers the
// Character calls. Everything runs on single-shot timers to the next step only, so an idle
// character costs next to nothing.

#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "host/qt/action_runner.hpp"
#include "host/qt/animation_player.hpp"
#include "host/qt/balloon_window.hpp"
#include "host/qt/character_definition.hpp"
#include "host/qt/character_window.hpp"
#include "host/qt/frame_cache.hpp"
#include "host/qt/glide.hpp"
#include "host/qt/idle_schedule.hpp"
#include "host/qt/thought_pager.hpp"
#include "host/qt/time_scale.hpp"
#include "lookup/character_host.hpp"

namespace vembrel {

// What a character takes from the host that made it.
struct CharacterHostLinks {
  ScaleMsec scaled;                   // every duration goes through it
  std::function<bool()> compositing;  // whether a compositor blends windows
  std::function<void(const DoubleClickEvent&)> double_clicked;  // the user double-clicked it
};

class QtCharacter : public QObject, public Character {
  Q_OBJECT

 public:
  QtCharacter(std::u16string id, std::shared_ptr<const CharacterDefinition> definition,
              CharacterHostLinks links);
  ~QtCharacter() override;

  void set_height(int pixels) override;
  void set_width(int pixels) override;
  void move_to(int x, int y) override;
  void set_name(const std::u16string& name) override;
  void show() override;
  void hide() override;
  void play(const std::string& animation) override;
  void think(const std::u16string& text) override;
  void set_auto_popup_menu(bool on) override { auto_popup_menu_ = on; }
  void stop() override;

  // For the user's own show and hide (tray icon, menu, a second launch): drop what is queued.
  void showNow();
  // Back to `home` when less than three quarters of the character are on the screens (a
  // monitor was unplugged); a character within reach stays where it is.
  void bringWithinReach(QPoint home);
  void hideNow();
  // Puts a visible character (and its balloon) back above every other window.
  void keepOnTop();

  // How long thoughts stay: the reader's pace.
  void setReadingPace(ReadingPace pace) { pager_.setPace(pace); }

  bool isShown() const { return visible_; }
  // Whether a right click should open the character's own menu (the host opens it).
  bool autoPopupMenu() const { return auto_popup_menu_; }
  bool isBusy() const { return runner_.isRunning(); }
  QPoint position() const { return position_; }
  const QString& currentFrame() const { return current_frame_; }
  const CharacterDefinition& definition() const { return *definition_; }
  // Whether a compositor blends the windows: soft edges with one, clipped edges without.
  void setCompositing(bool on);

  // Told of every action as it starts, for tests and tracing.
  using ActionObserver = ActionRunner::Observer;
  void setActionObserver(ActionObserver observer) { runner_.setObserver(std::move(observer)); }

  CharacterWindow& window() { return window_; }
  BalloonWindow& balloon() { return balloon_; }
  const FrameCache& frameCache() const { return cache_; }

 private:
  void enqueue(Action action);
  void startAction(Action action);
  void finishAction();
  void cancelEverything();
  // What is queued next, past gestures.
  AfterThought afterThought() const;
  // Sets how fast the running gestures play: briskly when they lead to a thought.
  void decideLeadIn();
  int animationMsec(const QString& name) const;
  int gestureMsec(int msec);
  // The reader clicked for the next thought: the gestures before it are left out.
  void skipGestures();
  // Plays an animation and then shows the rest pose before `then`.
  void playThenRest(const QString& name, std::function<void()> then);

  void showRest();
  void showFrame(const QString& id);
  void refreshFrame();

  void setPosition(QPoint position);
  void followWindow(QPoint actual);
  void finishDrag();
  BalloonGeometry balloonGeometry(const QSizeF& text_size) const;

  void scheduleIdle();
  void playIdle(const QString& animation);

  CharacterHostLinks links_;
  std::u16string id_;
  std::shared_ptr<const CharacterDefinition> definition_;
  FrameCache cache_;
  CharacterWindow window_;
  BalloonWindow balloon_;

  bool visible_ = false;
  bool auto_popup_menu_ = true;
  QPoint position_;
  QString current_frame_;

  bool enqueuing_ = false;        // a program's call is starting the queue: more calls may follow
  bool running_think_ = false;    // the running action is a thought
  bool think_from_call_ = false;  // ...started by a call of the program, which may queue more
  bool running_play_ = false;     // the running action is a gesture
  QString current_play_;
  std::optional<double> lead_in_factor_;  // for the run of gestures under way, once known
  bool skip_gestures_ = false;
  double frame_debt_msec_ = 0;  // time of sped-up frames left out, for the next one shown

  ActionRunner runner_;
  AnimationPlayer player_;
  Glide glide_;
  ThoughtPager pager_;
  IdleTimer idle_;
};

}  // namespace vembrel
