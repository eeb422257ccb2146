#pragma once
// What the main form needs of the desktop besides the character host and the input dialog.

#include <string>

namespace vembrel {

class Desktop {
 public:
  virtual ~Desktop() = default;
  // Shows the help text without waiting and without a shell: in the user's viewer, or where
  // none can show it, some other way. Returns an empty text when it is on its way, otherwise
  // what went wrong.
  virtual std::string openHelp(const std::string& path) = 0;
  // Tells the user of a problem the character also announces; a desktop may leave it to the
  // character.
  virtual void reportProblem(const std::string& message) { (void)message; }
  // Ends the process at once.
  virtual void quit() = 0;
};

}  // namespace vembrel
