#include "app/qt_desktop.hpp"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>

#include "app/runtime_files.hpp"

namespace vembrel {
namespace {

// Whether the desktop entry `id` (as xdg-mime names it) runs its program in a terminal. Such a
// viewer (vim in an xterm) shows the help's Chinese as "?" wherever the terminal's locale or
// font lacks it, so the program's own window is the better choice.
bool runs_in_terminal(const QString& id) {
  const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
  bool in_main_group = false;
  while (!file.atEnd()) {
    const QByteArray line = file.readLine().trimmed();
    if (line.startsWith('[')) {
      in_main_group = line == "[Desktop Entry]";
    } else if (in_main_group) {
      const qsizetype equals = line.indexOf('=');
      if (equals > 0 && line.left(equals).trimmed() == "Terminal")
        return line.mid(equals + 1).trimmed() == "true";
    }
  }
  return false;
}

// A helper program's process, deleted once it has ended or failed to start. Its error output is
// the program's own, so that xdg-open's complaints reach the user's log.
QProcess* helper_process() {
  auto* process = new QProcess;
  process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process->setStandardInputFile(QProcess::nullDevice());
  QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
  QObject::connect(process, &QProcess::errorOccurred, process,
                   [process](QProcess::ProcessError error) {
                     if (error == QProcess::FailedToStart) process->deleteLater();
                   });
  return process;
}

}  // namespace

QtDesktop::QtDesktop() = default;
QtDesktop::~QtDesktop() = default;

// Nothing here waits: the default text viewer is asked of xdg-mime, and xdg-open's exit status
// arrives later (it may even run until the viewer closes). Whatever fails shows the program's
// own window instead.
std::string QtDesktop::openHelp(const std::string& path) {
  QProcess* query = helper_process();
  QObject::connect(query, &QProcess::finished, &alive_,
                   [this, query, path](int code, QProcess::ExitStatus status) {
                     const QString id = QString::fromUtf8(query->readAllStandardOutput()).trimmed();
                     const bool usable = status == QProcess::NormalExit && code == 0;
                     if (usable && !id.isEmpty() && runs_in_terminal(id))
                       showOwnHelp(path);
                     else
                       startViewer(path);
                   });
  QObject::connect(query, &QProcess::errorOccurred, &alive_,
                   [this, path](QProcess::ProcessError error) {
                     if (error == QProcess::FailedToStart)
                       startViewer(path);  // xdg-open may still be there
                   });
  query->start(QStringLiteral("xdg-mime"),
               {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
  return {};
}

// The path goes to xdg-open as one argument: no shell ever sees it, whatever blanks, quotes or
// "$(...)" it holds.
void QtDesktop::startViewer(const std::string& path) {
  QProcess* viewer = helper_process();
  viewer->setStandardOutputFile(QProcess::nullDevice());
  QObject::connect(viewer, &QProcess::finished, &alive_,
                   [this, path](int code, QProcess::ExitStatus status) {
                     if (status != QProcess::NormalExit || code != 0) showOwnHelp(path);
                   });
  QObject::connect(viewer, &QProcess::errorOccurred, &alive_,
                   [this, path](QProcess::ProcessError error) {
                     if (error == QProcess::FailedToStart) showOwnHelp(path);
                   });
  viewer->start(QStringLiteral("xdg-open"), {QString::fromStdString(path)});
}

void QtDesktop::showOwnHelp(const std::string& path) {
  if (!help_window_) help_window_ = std::make_unique<HelpWindow>();
  const QString problem = help_window_->showFile(path);
  // The file was there a moment ago, when the help was asked for.
  if (!problem.isEmpty())
    std::fprintf(stderr, "vembrel: cannot show the help %s: %s\n", path.c_str(),
                 problem.toUtf8().constData());
}

void QtDesktop::quit() {
  // At once: no confirmation, no farewell, no waiting for queued actions. Only the runtime
  // files go first, so that nothing is left behind.
  std::fflush(nullptr);
  remove_runtime_files();
  std::_Exit(0);
}

}  // namespace vembrel
