#pragma once
// One character per user and display: a second launch asks the running program to show its
// character and exits, instead of stacking a second character on the first.

#include <QSocketNotifier>
#include <QString>
#include <functional>
#include <memory>

namespace vembrel {

class SingleInstance {
 public:
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when a program already runs here; it has been asked to show its character.
  bool askRunningToShow();
  // Serves later launches: `show` runs each time one of them connects.
  bool serve(std::function<void()> show);

 private:
  QString path_;  // the socket, in the temporary folder
  int listener_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace vembrel
