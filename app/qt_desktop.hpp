#pragma once
// The desktop around the program: the user's viewer for the help text (or a window of the
// program's own when there is none that can show it), and quitting.

#include <QObject>
#include <memory>

#include "app/desktop.hpp"
#include "app/help_window.hpp"

namespace vembrel {

class QtDesktop : public Desktop {
 public:
  QtDesktop();
  ~QtDesktop() override;

  std::string openHelp(const std::string& path) override;
  void quit() override;

 private:
  void startViewer(const std::string& path);
  void showOwnHelp(const std::string& path);

  std::unique_ptr<HelpWindow> help_window_;
  // What the helper processes report to: nothing reaches a desktop that is gone.
  QObject alive_;
};

}  // namespace vembrel
