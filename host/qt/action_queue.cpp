#include "host/qt/action_queue.hpp"

namespace vembrel {

QString describeAction(const Action& action) {
  struct Describe {
    QString operator()(const MoveAction& a) const {
      return QStringLiteral("MoveTo %1 %2").arg(a.to.x()).arg(a.to.y());
    }
    QString operator()(const ShowAction&) const { return QStringLiteral("Show"); }
    QString operator()(const HideAction&) const { return QStringLiteral("Hide"); }
    QString operator()(const PlayAction& a) const { return QStringLiteral("Play ") + a.animation; }
    QString operator()(const ThinkAction& a) const { return QStringLiteral("Think ") + a.text; }
  };
  return std::visit(Describe{}, action);
}

Action ActionQueue::takeNext() {
  Action next = std::move(actions_.front());
  actions_.pop_front();
  return next;
}

}  // namespace vembrel
