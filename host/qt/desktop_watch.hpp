#pragma once
// Watches the X desktop around the character on a connection of its own, so it wakes only
// when something happens: a compositing manager taking or leaving the _NET_WM_CM_S0
// selection (XFixes selection events), instead of asking every few seconds. Does nothing off
// X11 or when the X server lacks XFixes.

#include <QObject>

class QSocketNotifier;
struct xcb_connection_t;

namespace vembrel {

class DesktopWatch : public QObject {
  Q_OBJECT

 public:
  explicit DesktopWatch(QObject* parent = nullptr);
  ~DesktopWatch() override;

  bool watching() const { return connection_ != nullptr; }

 signals:
  // A compositing manager started or stopped (or was replaced).
  void compositorChanged();

 private:
  bool open();
  void readEvents();
  void close();

  xcb_connection_t* connection_ = nullptr;
  QSocketNotifier* notifier_ = nullptr;
  int xfixes_event_base_ = 0;
};

}  // namespace vembrel
