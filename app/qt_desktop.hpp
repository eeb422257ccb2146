#pragma once
// The desktop around the program: the user's viewer for the help text, and quitting.

#include "app/desktop.hpp"

namespace vembrel {

class QtDesktop : public Desktop {
 public:
  std::string openHelp(const std::string& path) override;
  void quit() override;
};

}  // namespace vembrel
