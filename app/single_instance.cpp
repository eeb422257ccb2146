#include "app/single_instance.hpp"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace vembrel {
namespace {

const char kShowRequest[] = "show\n";

}  // namespace

SingleInstance::SingleInstance() {
  QString display = qEnvironmentVariable("DISPLAY");
  for (QChar& c : display)
    if (!c.isLetterOrNumber() && c != '.' && c != '_' && c != '-') c = '_';
  path_ = QDir::tempPath() + QString("/vembrel-%1-%2").arg(::getuid()).arg(display);
}

bool SingleInstance::askRunningToShow() {
  // A plain socket: this runs on every start, before the character appears, and must be quick.
  const QByteArray path = QFile::encodeName(path_);
  sockaddr_un address{};
  if (path.size() >= static_cast<qsizetype>(sizeof(address.sun_path))) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool running =
      ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
      ::write(fd, kShowRequest, sizeof(kShowRequest) - 1) > 0;
  ::close(fd);
  return running;
}

bool SingleInstance::serve(std::function<void()> show) {
  // A program that ended without cleaning up leaves its socket file behind.
  QLocalServer::removeServer(path_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(path_)) return false;
  QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this, show] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, show] {
        if (socket->readAll().contains("show")) show();
      });
      QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
  });
  return true;
}

}  // namespace vembrel
