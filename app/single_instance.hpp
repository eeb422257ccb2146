#pragma once
// One character per user and display: a second launch asks the running program to show its
// character and exits, instead of stacking a second character on the first.
//
// The two meet in the user's private runtime folder ($XDG_RUNTIME_DIR, which only the user
// can enter), never in the shared temporary folder, where another account could answer in the
// running program's place. The first launch takes a lock there before its character loads,
// so of two launches at the same moment exactly one goes on; it listens on a socket beside
// the lock, and both files go when it ends.

#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string>

namespace vembrel {

class SingleInstance {
 public:
  enum class Start {
    First,         // this launch is the one: serve() once the event loop can run
    Shown,         // a running program was asked to show its character
    NotAnswering,  // a program runs here but has not taken the request; problem() says more
    Alone,         // there is no private folder to meet in; problem() says why
  };

  SingleInstance() = default;
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // Before the character loads: claims this user's display, or asks the program that has it.
  // Waits at most `patience_ms` for a program that is starting or busy to take the request.
  Start start(int patience_ms = 3000);
  // Serves later launches: `show` runs each time one of them asks. Needs the Qt application.
  bool serve(std::function<void()> show);

  const std::string& problem() const { return problem_; }
  const std::string& socketPath() const { return socket_path_; }

 private:
  enum class Lock { Taken, Held, Failed };
  enum class Ask { Asked, NoAnswer, Full };
  Lock takeLock();
  Ask askRunning();
  bool listen();

  std::string lock_path_, socket_path_;
  int lock_ = -1;
  int listener_ = -1;
  std::string problem_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

// The user's private runtime folder: $XDG_RUNTIME_DIR, or Qt's private fallback when it is
// unset, checked to be a folder owned by this user that nobody else may enter. Empty when
// there is none.
std::string private_runtime_folder();

}  // namespace vembrel
