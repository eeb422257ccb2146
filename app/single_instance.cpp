#include "app/single_instance.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

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

SingleInstance::Start SingleInstance::start(int patience_ms) {
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

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(patience_ms);
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
    // Someone has the lock. It listens as soon as it has taken it, so an unanswered request
    // means it is just starting, or it is ending (then the lock comes free), or it is stuck.
    const Ask asked = askRunning();
    if (asked == Ask::Asked) return Start::Shown;
    if (std::chrono::steady_clock::now() >= deadline) {
      const std::string pid = running_pid(lock_path_);
      problem_ = "Vembrel is already running" + (pid.empty() ? "" : " (process " + pid + ")") +
                 " but does not answer" + (asked == Ask::Full ? " (its requests pile up)" : "") +
                 "; not starting a second character";
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

SingleInstance::Ask SingleInstance::askRunning() {
  sockaddr_un address;
  make_address(socket_path_, address);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return Ask::NoAnswer;
  // Never blocks: a program that takes no requests (stopped, say) fills its queue, and then
  // connecting fails at once instead of waiting for it.
  Ask result = Ask::NoAnswer;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
    // Connecting is the request. Only a program of this user counts.
    ucred peer{};
    socklen_t size = sizeof(peer);
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid())
      result = Ask::Asked;
  } else if (errno == EAGAIN) {
    result = Ask::Full;
  }
  ::close(fd);
  return result;
}

bool SingleInstance::serve(std::function<void()> show) {
  if (listener_ < 0) return false;
  notifier_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this, show] {
    bool asked = false;
    for (int client; (client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
      ::close(client);
      asked = true;
    }
    if (asked) show();
  });
  return true;
}

}  // namespace vembrel
