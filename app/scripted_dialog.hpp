#pragma once
// The input dialog of the console front end: it answers with the text given on the command's
// line, once; a later question without new text is a Cancel.

#include <string>
#include <utility>

#include "lookup/input_dialog.hpp"

namespace vembrel {

class ScriptedDialog : public InputDialog {
 public:
  std::u16string InputBox(std::u16string_view, std::u16string_view) override {
    return std::exchange(typed, {});
  }
  std::u16string typed;
};

}  // namespace vembrel
