#pragma once
// One character per user and display: a second launch asks the running program to show its
// character and exits, instead of stacking a second character on the first. The running
// program answers once it has done what was asked (app/instance_protocol.hpp); a launch that
// gets no answer says so rather than pretend it was heard.
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

#include "app/instance_protocol.hpp"

namespace vembrel {

class SingleInstance {
 public:
  enum class Start {
    First,         // this launch is the one: serve() once the event loop can run
    Shown,         // a running program did what was asked, and said so: see reply()
    NotAnswering,  // a program runs here but has not done the request; problem() says more
    Alone,         // there is no private folder to meet in; problem() says why
  };

  SingleInstance() = default;
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  using Handler = std::function<InstanceReply(const InstanceRequest&)>;
  static constexpr int kPatienceMsec = 5000;

  // Before the character loads: claims this user's display, or sends `request` to the program
  // that has it. Waits at most `patience_msec` in all for a program that is starting or busy
  // to answer.
  Start start(int patience_msec = kPatienceMsec, const InstanceRequest& request = {"show", {}});
  // Serves later launches: `show` runs each time one of them asks to be shown. Needs the Qt
  // application; requests are read and answered from its event loop.
  bool serve(std::function<void()> show);
  // The same, for every verb: the handler's reply goes back to the launch that asked.
  bool serve(Handler handler);

  const std::string& problem() const { return problem_; }
  const InstanceReply& reply() const { return reply_; }
  const std::string& socketPath() const { return socket_path_; }

 private:
  enum class Lock { Taken, Held, Failed };
  enum class Ask { Answered, NotListening, Full, Unheard, Silent, Garbled };
  Lock takeLock();
  Ask askRunning(const std::string& request, int patience_msec);
  void takeRequests();
  bool listen();

  std::string lock_path_, socket_path_;
  int lock_ = -1;
  int listener_ = -1;
  std::string problem_;
  InstanceReply reply_;
  Handler handler_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

// The user's private runtime folder: $XDG_RUNTIME_DIR, or Qt's private fallback when it is
// unset, checked to be a folder owned by this user that nobody else may enter. Empty when
// there is none.
std::string private_runtime_folder();

}  // namespace vembrel
