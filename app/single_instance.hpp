#pragma once
// One character per user and display: a second launch asks the running program to show its
// character and exits, instead of stacking a second character on the first.

#include <QLocalServer>
#include <QString>
#include <functional>

namespace vembrel {

class SingleInstance {
 public:
  SingleInstance();
  // True when a program already runs here; it has been asked to show its character.
  bool askRunningToShow();
  // Serves later launches: `show` runs each time one of them asks.
  bool serve(std::function<void()> show);

 private:
  QString path_;  // the socket, in the temporary folder
  QLocalServer server_;
};

}  // namespace vembrel
