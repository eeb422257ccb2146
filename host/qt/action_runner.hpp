#pragma once
// Carries out queued actions one after another. An action that ends at once calls finish()
// from inside start(); the loop in startNext() then takes the next one, so a long queue of
// such actions does not nest a call for each.

#include <QString>
#include <functional>

#include "host/qt/action_queue.hpp"

namespace vembrel {

class ActionRunner {
 public:
  // Begins an action; the action reports its end with finish().
  using Start = std::function<void(Action action)>;
  // Nothing is running and nothing is queued.
  using QueueEmptied = std::function<void()>;
  // Told of every action as it starts, for tests and tracing.
  using Observer = std::function<void(const QString& action)>;

  ActionRunner(Start start, QueueEmptied queue_emptied);

  void push(Action action) { queue_.push(std::move(action)); }
  // Starts queued actions until one keeps running or the queue is empty.
  void startNext();
  // The running action has ended: the next one starts.
  void finish();
  // Forgets the running action without starting another.
  void abandon() { running_ = false; }
  void clear() { queue_.clear(); }

  bool isRunning() const { return running_; }
  const Action* peekNext() const { return queue_.peek(); }
  const Action* peekAt(size_t index) const { return queue_.peekAt(index); }
  void setObserver(Observer observer) { observer_ = std::move(observer); }

 private:
  ActionQueue queue_;
  Start start_;
  QueueEmptied queue_emptied_;
  Observer observer_;
  bool running_ = false;
  bool starting_ = false;  // startNext() is taking actions off the queue
};

}  // namespace vembrel
