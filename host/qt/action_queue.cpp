#include "host/qt/action_queue.hpp"

namespace vembrel {

Action ActionQueue::takeNext() {
  Action next = std::move(actions_.front());
  actions_.pop_front();
  return next;
}

}  // namespace vembrel
