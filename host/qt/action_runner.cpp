#include "host/qt/action_runner.hpp"

namespace vembrel {

ActionRunner::ActionRunner(Start start, Settled settled)
    : start_(std::move(start)), settled_(std::move(settled)) {}

void ActionRunner::startNext() {
  if (starting_) return;  // finish() from inside start(): the loop below goes on
  starting_ = true;
  while (!running_ && !queue_.empty()) {
    Action next = queue_.takeNext();
    running_ = true;
    if (observer_) observer_(describeAction(next));
    start_(std::move(next));
  }
  starting_ = false;
  if (!running_) settled_();
}

void ActionRunner::finish() {
  running_ = false;
  startNext();
}

}  // namespace vembrel
