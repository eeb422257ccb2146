#pragma once
// The character's queued actions, carried out one after another in call order.

#include <QPoint>
#include <QString>
#include <deque>
#include <variant>

namespace vembrel {

struct MoveAction {
  QPoint to;
};
struct ShowAction {};
struct HideAction {};
struct PlayAction {
  QString animation;
};
struct ThinkAction {
  QString text;
};

using Action = std::variant<MoveAction, ShowAction, HideAction, PlayAction, ThinkAction>;

// The action as one line, like the operation log writes it: "Play wave", "MoveTo 904 0".
QString describeAction(const Action& action);

class ActionQueue {
 public:
  void push(Action action) { actions_.push_back(std::move(action)); }
  // The first action, removed from the queue; the queue must not be empty.
  Action takeNext();
  const Action* peek() const { return actions_.empty() ? nullptr : &actions_.front(); }
  // The action `index` places behind the first, or none.
  const Action* peekAt(size_t index) const {
    return index < actions_.size() ? &actions_[index] : nullptr;
  }
  void clear() { actions_.clear(); }
  bool empty() const { return actions_.empty(); }
  size_t size() const { return actions_.size(); }

 private:
  std::deque<Action> actions_;
};

}  // namespace vembrel
