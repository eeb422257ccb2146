#pragma once
// The input dialog of the desktop program: modal, with the prompt, the title and an empty
// default text, OK and Cancel. Typing goes through the user's input method.

#include "lookup/input_dialog.hpp"

namespace vembrel {

class QtInputDialog : public InputDialog {
 public:
  std::u16string ask_text(std::u16string_view prompt, std::u16string_view title) override;
};

}  // namespace vembrel
