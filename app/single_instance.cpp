#include "app/single_instance.hpp"

#include <QLocalSocket>
#include <QRegularExpression>
#include <unistd.h>

namespace vembrel {
namespace {

constexpr int kWaitMs = 1000;
const char kShowRequest[] = "show\n";

}  // namespace

SingleInstance::SingleInstance() {
  QString display = qEnvironmentVariable("DISPLAY");
  display.replace(QRegularExpression("[^A-Za-z0-9._-]"), "_");
  name_ = QString("vembrel-%1-%2").arg(::getuid()).arg(display);
}

bool SingleInstance::askRunningToShow() {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kWaitMs)) return false;
  socket.write(kShowRequest);
  socket.waitForBytesWritten(kWaitMs);
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::serve(std::function<void()> show) {
  // A program that ended without cleaning up leaves its socket file behind.
  QLocalServer::removeServer(name_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(name_)) return false;
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
