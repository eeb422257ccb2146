#pragma once
// The modal input dialog: a prompt and a title in, the typed text out.

#include <string>
#include <string_view>

namespace vembrel {

class InputDialog {
 public:
  virtual ~InputDialog() = default;
  // Shows the dialog with an empty default text; returns the empty text on Cancel.
  virtual std::u16string ask_text(std::u16string_view prompt, std::u16string_view title) = 0;
};

}  // namespace vembrel
