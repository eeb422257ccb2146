#include "app/single_instance.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "app/runtime_files.hpp"

namespace vembrel {
namespace {

// Plain sockets: this runs on every start, before the character appears, and a socket
// library would cost more to load than all the work it does here.
bool make_address(const std::string& path, sockaddr_un& address) {
  if (path.size() >= sizeof(address.sun_path)) return false;
  address = {};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.data(), path.size());
  return true;
}

// The display's name as it may stand in a file name: ":0" stays ":0".
std::string display_part() {
  const char* display = std::getenv("DISPLAY");
  std::string part = display ? display : "";
  for (char& c : part) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!plain && c != '.' && c != ':' && c != '_' && c != '-') c = '_';
  }
  return part;
}

std::string running_pid(const std::string& lock_path) {
  char text[32] = {};
  const int fd = ::open(lock_path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return {};
  const ssize_t got = ::read(fd, text, sizeof(text) - 1);
  ::close(fd);
  std::string pid(text, got > 0 ? static_cast<std::size_t>(got) : 0);
  while (!pid.empty() && (pid.back() < '0' || pid.back() > '9')) pid.pop_back();
  return pid;
}

bool peer_is_this_user(int fd) {
  ucred peer{};
  socklen_t size = sizeof(peer);
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}

using Clock = std::chrono::steady_clock;

int msec_until(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// A later launch's connection, from its first byte to the reply. Closed when it goes, so
// that a program ending with requests open leaves no launch waiting on a socket nobody has.
class PendingRequest : public QSocketNotifier {
 public:
  PendingRequest(int fd, QObject* parent) : QSocketNotifier(fd, QSocketNotifier::Read, parent) {}
  ~PendingRequest() override {
    setEnabled(false);
    ::close(static_cast<int>(socket()));
  }
  // Sends `reply` (nothing when empty) and lets the connection go. Only the first call counts.
  void finish(const std::string& reply) {
    if (finished_) return;
    finished_ = true;
    setEnabled(false);
    // A few bytes into an empty socket buffer: this never waits. A launch that gave up has
    // closed its end, and the reply is simply lost.
    if (!reply.empty())
      (void)!::send(static_cast<int>(socket()), reply.data(), reply.size(),
                    MSG_NOSIGNAL | MSG_DONTWAIT);
    deleteLater();
  }
  std::string received;

 private:
  bool finished_ = false;
};

// How many launches may wait for an answer at once, and how long one may take to send its
// request, so that connections that never finish cannot use the program up.
constexpr int kMaxPendingRequests = 16;
constexpr int kRequestPatienceMsec = 10000;

}  // namespace

std::string private_runtime_folder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) return {};
  const QByteArray path = QFile::encodeName(folder);
  // Qt checks this too; the check is the whole point here, so it does not rest on Qt's version.
  struct stat st {};
  if (::stat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
      (st.st_mode & 077) != 0)
    return {};
  return path.toStdString();
}

SingleInstance::~SingleInstance() {
  notifier_.reset();
  if (lock_ >= 0) remove_runtime_files();
  if (listener_ >= 0) ::close(listener_);
  if (lock_ >= 0) ::close(lock_);
}

SingleInstance::Start SingleInstance::start(int patience_msec, const InstanceRequest& request) {
  const std::string folder = private_runtime_folder();
  if (folder.empty()) {
    problem_ =
        "no private runtime folder (XDG_RUNTIME_DIR unset or not owned by you with mode 0700); "
        "a second start will not find this one";
    return Start::Alone;
  }
  const std::string base = folder + "/vembrel" + display_part();
  lock_path_ = base + ".lock";
  socket_path_ = base + ".socket";
  sockaddr_un unused;
  if (!make_address(socket_path_, unused)) {
    problem_ =
        "the runtime folder's name is too long for a socket; a second start will not find "
        "this one";
    return Start::Alone;
  }

  const std::string request_bytes = encode_request(request);
  if (request_bytes.empty()) {
    problem_ = "cannot send the request \"" + request.verb + "\": it does not fit in a message";
    return Start::NotAnswering;
  }
  const auto deadline = Clock::now() + std::chrono::milliseconds(patience_msec);
  for (;;) {
    switch (takeLock()) {
      case Lock::Taken:
        if (!listen()) return Start::Alone;
        return Start::First;
      case Lock::Failed:
        return Start::Alone;
      case Lock::Held:
        break;
    }
    // Someone has the lock. It listens as soon as it has taken it and answers once its event
    // loop runs, so a request nobody takes means it is just starting, or it is ending (then
    // the lock comes free), or it is stuck.
    const Ask asked = askRunning(request_bytes, msec_until(deadline));
    const std::string pid = running_pid(lock_path_);
    const std::string running =
        "Vembrel is already running" + (pid.empty() ? "" : " (process " + pid + ")");
    if (asked == Ask::Answered) {
      if (reply_.status == 0) return Start::Shown;
      problem_ = running + " and refused: " + reply_.text;
      return Start::NotAnswering;
    }
    const bool final = asked == Ask::Silent || asked == Ask::Garbled;
    if (final || Clock::now() >= deadline) {
      const std::string why = asked == Ask::Full      ? " (its requests pile up)"
                              : asked == Ask::Unheard ? " (it closed the request unanswered)"
                              : asked == Ask::Garbled ? " (its reply is garbled)"
                                                      : "";
      problem_ = running + " but does not answer" + why + "; not starting a second character";
      return Start::NotAnswering;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

SingleInstance::Lock SingleInstance::takeLock() {
  for (;;) {
    const int fd = ::open(lock_path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
      problem_ = "cannot open " + lock_path_ + ": " + std::strerror(errno) +
                 "; a second start will not find this one";
      return Lock::Failed;
    }
    // The kernel lets go of the lock when the process ends, however it ends.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      ::close(fd);
      if (error == EWOULDBLOCK) return Lock::Held;
      problem_ = "cannot lock " + lock_path_ + ": " + std::strerror(error);
      return Lock::Failed;
    }
    // A program that ended removed the file it held while we opened it: the lock taken is on
    // a file nobody else can find. Start again with the file now at the path.
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) == 0 && ::stat(lock_path_.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
      lock_ = fd;
      remove_at_exit(socket_path_);
      remove_at_exit(lock_path_);
      const std::string pid = std::to_string(::getpid()) + "\n";
      if (::ftruncate(fd, 0) != 0 || ::write(fd, pid.data(), pid.size()) < 0) {
        // Only a message would lack the number.
      }
      return Lock::Taken;
    }
    ::close(fd);
  }
}

bool SingleInstance::listen() {
  sockaddr_un address;
  make_address(socket_path_, address);
  // Whatever is at the path was left by a program that ended without removing it: only the
  // holder of the lock listens here, and that is us.
  ::unlink(socket_path_.c_str());
  listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  const mode_t old_mask = ::umask(0077);
  const bool bound =
      listener_ >= 0 &&
      ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  ::umask(old_mask);
  // Requests wait here until the character has loaded and the event loop runs.
  if (bound && ::listen(listener_, 16) == 0) return true;
  problem_ = "cannot listen on " + socket_path_ + ": " + std::strerror(errno) +
             "; a second start will not find this one";
  if (listener_ >= 0) ::close(listener_);
  listener_ = -1;
  return false;
}

SingleInstance::Ask SingleInstance::askRunning(const std::string& request, int patience_msec) {
  sockaddr_un address;
  make_address(socket_path_, address);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return Ask::NotListening;
  // Never blocks: a program that takes no requests (stopped, say) fills its queue, and then
  // connecting fails at once instead of waiting for it.
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    const int error = errno;
    ::close(fd);
    return error == EAGAIN ? Ask::Full : Ask::NotListening;
  }
  // Only a program of this user counts.
  if (!peer_is_this_user(fd)) {
    ::close(fd);
    return Ask::NotListening;
  }
  // The request is far smaller than a socket's buffer: it goes whether or not the program
  // reads. Then the reply is awaited until the patience runs out, and no longer.
  Ask result = Ask::Silent;
  if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) !=
      static_cast<ssize_t>(request.size())) {
    result = Ask::Unheard;
  } else {
    const auto deadline = Clock::now() + std::chrono::milliseconds(patience_msec);
    std::string received;
    for (;;) {
      pollfd waiting{fd, POLLIN, 0};
      const int ready = ::poll(&waiting, 1, msec_until(deadline));
      if (ready < 0 && errno == EINTR) continue;
      if (ready <= 0) break;  // Silent
      char buffer[4096];
      const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
      if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (got <= 0) {
        result = Ask::Unheard;
        break;
      }
      received.append(buffer, static_cast<std::size_t>(got));
      const Decoded<InstanceReply> decoded = decode_reply(received);
      if (decoded.state == FrameState::Incomplete) continue;
      if (decoded.state == FrameState::Invalid) {
        result = Ask::Garbled;
      } else {
        reply_ = decoded.message;
        result = Ask::Answered;
      }
      break;
    }
  }
  ::close(fd);
  return result;
}

bool SingleInstance::serve(std::function<void()> show) {
  return serve([show = std::move(show)](const InstanceRequest& request) -> InstanceReply {
    if (request.verb != "show" || !request.arguments.empty())
      return {1, "unknown request \"" + request.verb + "\""};
    show();
    return {0, {}};
  });
}

bool SingleInstance::serve(Handler handler) {
  if (listener_ < 0) return false;
  handler_ = std::move(handler);
  notifier_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                   [this] { takeRequests(); });
  return true;
}

void SingleInstance::takeRequests() {
  for (int fd; (fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;) {
    // Children of the listener are the requests still open.
    if (!peer_is_this_user(fd) || notifier_->children().size() >= kMaxPendingRequests) {
      ::close(fd);
      continue;
    }
    auto* pending = new PendingRequest(fd, notifier_.get());
    QTimer::singleShot(kRequestPatienceMsec, pending, [pending] { pending->finish({}); });
    QObject::connect(pending, &QSocketNotifier::activated, pending, [this, pending, fd] {
      bool ended = false;
      char buffer[4096];
      for (;;) {
        const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
        if (got > 0) pending->received.append(buffer, static_cast<std::size_t>(got));
        if (got == 0 || (got < 0 && errno != EINTR)) {
          ended = got == 0 || errno != EAGAIN;
          break;
        }
        if (pending->received.size() > kFrameHeaderSize + kMaxFrameBody) break;
      }
      Decoded<InstanceRequest> decoded = decode_request(pending->received);
      if (decoded.state == FrameState::Incomplete && !ended) return;
      if (decoded.state != FrameState::Complete) return pending->finish({});
      pending->setEnabled(false);
      // The work runs from the event loop, not from inside this read, and the reply goes
      // when it is done.
      QTimer::singleShot(0, pending, [this, pending, request = std::move(decoded.message)] {
        pending->finish(encode_reply(handler_(request)));
      });
    });
  }
}

}  // namespace vembrel
