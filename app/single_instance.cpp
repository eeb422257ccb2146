#include "app/single_instance.hpp"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cstring>

namespace vembrel {
namespace {

// Plain sockets: this runs on every start, before the character appears, and a socket
// library would cost more to load than all the work it does here.
bool make_address(const QString& path, sockaddr_un& address) {
  const QByteArray bytes = QFile::encodeName(path);
  if (bytes.size() >= static_cast<qsizetype>(sizeof(address.sun_path))) return false;
  address = {};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return true;
}

}  // namespace

SingleInstance::SingleInstance() {
  QString display = qEnvironmentVariable("DISPLAY");
  for (QChar& c : display)
    if (!c.isLetterOrNumber() && c != '.' && c != '_' && c != '-') c = '_';
  path_ = QDir::tempPath() + QString("/vembrel-%1-%2").arg(::getuid()).arg(display);
}

SingleInstance::~SingleInstance() {
  notifier_.reset();
  if (listener_ >= 0) {
    ::close(listener_);
    QFile::remove(path_);
  }
}

bool SingleInstance::askRunningToShow() {
  sockaddr_un address;
  if (!make_address(path_, address)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  // Connecting is the request: the running program shows its character for every connection.
  const bool running =
      ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  ::close(fd);
  return running;
}

bool SingleInstance::serve(std::function<void()> show) {
  sockaddr_un address;
  if (!make_address(path_, address)) return false;
  // A program that ended without cleaning up leaves its socket file behind.
  ::unlink(address.sun_path);
  listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listener_ < 0) return false;
  const mode_t old_mask = ::umask(0077);  // only this user may ask
  const bool bound =
      ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  ::umask(old_mask);
  if (!bound || ::listen(listener_, 4) != 0) {
    ::close(listener_);
    listener_ = -1;
    return false;
  }
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
