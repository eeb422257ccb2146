#include "app/qt_desktop.hpp"

#include <QDesktopServices>
#include <QUrl>
#include <cstdio>
#include <cstdlib>

#include "app/runtime_files.hpp"

namespace vembrel {

std::string QtDesktop::openHelp(const std::string& path) {
  // A file URL goes to the desktop's default viewer (xdg-open) as one argument: no shell ever
  // sees the path, whatever blanks, quotes or "$(...)" it holds. It does not wait for the viewer.
  const QUrl url = QUrl::fromLocalFile(QString::fromStdString(path));
  if (QDesktopServices::openUrl(url)) return {};
  return "没有找到打开文本文件的程序";
}

void QtDesktop::quit() {
  // At once: no confirmation, no farewell, no waiting for queued actions. Only the runtime
  // files go first, so that nothing is left behind.
  std::fflush(nullptr);
  remove_runtime_files();
  std::_Exit(0);
}

}  // namespace vembrel
