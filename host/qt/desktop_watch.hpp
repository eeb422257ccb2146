#pragma once
// Watches the X desktop around the character on a connection of its own, so it wakes only
// when something happens: a compositing manager taking or leaving the _NET_WM_CM_S0
// selection (XFixes selection events) instead of asking every few seconds, and managed
// windows mapped or restacked, which a window manager may put above the character's
// unmanaged windows. Does nothing off X11 or when the X server lacks XFixes.

#include <QObject>
#include <unordered_map>

class QSocketNotifier;
struct xcb_connection_t;

namespace vembrel {

class DesktopWatch : public QObject {
  Q_OBJECT

 public:
  explicit DesktopWatch(QObject* parent = nullptr);
  ~DesktopWatch() override;

  // Opens the watch's own connection to the X server (a few round trips): once, on X11 only.
  void start();

  bool watching() const { return connection_ != nullptr; }

 signals:
  // A compositing manager started or stopped (or was replaced).
  void compositorChanged();
  // A managed window was mapped or moved in the stacking order: it may cover the character.
  void managedWindowRestacked();

 private:
  bool open();
  void readEvents();
  void close();

  xcb_connection_t* connection_ = nullptr;
  QSocketNotifier* notifier_ = nullptr;
  int xfixes_event_base_ = 0;
  // The sibling each top-level window was last stacked above: a ConfigureNotify that only
  // moves or resizes a window keeps it, and needs no answer.
  std::unordered_map<unsigned, unsigned> stacked_above_;
};

}  // namespace vembrel
