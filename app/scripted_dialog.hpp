#pragma once
// An input dialog answered by a script (the console front end, its fuzzer and the tests): it
// answers with the text given for the command, once; a later question without new text is a
// Cancel. It remembers the last question it was asked.

#include <string>
#include <utility>

#include "lookup/input_dialog.hpp"

namespace vembrel {

class ScriptedDialog : public InputDialog {
 public:
  std::u16string ask_text(std::u16string_view prompt, std::u16string_view title) override {
    last_prompt = std::u16string(prompt) + u"|" + std::u16string(title);
    return std::exchange(typed, {});
  }
  std::u16string typed;        // the answer to the next question; empty means Cancel
  std::u16string last_prompt;  // "prompt|title" of the last question
};

}  // namespace vembrel
