#include "host/qt/action_runner.hpp"

namespace vembrel {

ActionRunner::ActionRunner(Start start, QueueEmptied queue_emptied)
    : start_(std::move(start)), queue_emptied_(std::move(queue_emptied)) {}

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
  if (!running_) queue_emptied_();
}

void ActionRunner::finish() {
  running_ = false;
  startNext();
}

}  // namespace vembrel
