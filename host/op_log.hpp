#pragma once
// A character host that carries nothing out but writes down every operation, one line each:
// the operation's name, then each argument after one blank ("Play gestureright",
// "MoveTo 904 0", "Think 第 1条："). The console front end prints these lines; the tests
// record them.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/character_host.hpp"

namespace vembrel {

// Text as it appears in an operation line: a backslash is written \\, a CR \r and an LF \n, so
// each operation stays on one line.
std::string escape_op_text(std::u16string_view text);

class OpLogHost : public CharacterHost, private Character {
 public:
  using Sink = std::function<void(const std::string& op)>;
  explicit OpLogHost(Sink sink) : sink_(std::move(sink)) {}

  LoadStatus load(const std::u16string& id, const std::string& path) override;
  vembrel::Character* character(const std::u16string& id) override;
  void set_double_click_handler(DoubleClickHandler handler) override {
    dbl_click_ = std::move(handler);
  }

  // Calls the double-click handler as if the character had been double-clicked.
  void raiseDoubleClick(const DoubleClickEvent& event) {
    if (dbl_click_) dbl_click_(event);
  }

 private:
  void set_height(int pixels) override;
  void set_width(int pixels) override;
  void move_to(int x, int y) override;
  void set_name(const std::u16string& name) override;
  void show() override;
  void hide() override;
  void play(const std::string& animation) override;
  void think(const std::u16string& text) override;
  void set_auto_popup_menu(bool on) override;
  void stop() override;

  Sink sink_;
  std::u16string loaded_id_;
  bool loaded_ = false;
  DoubleClickHandler dbl_click_;
};

// Keeps the operations in memory, for tests.
class RecordingHost : public OpLogHost {
 public:
  RecordingHost() : OpLogHost([this](const std::string& op) { ops.push_back(op); }) {}
  std::vector<std::string> ops;
};

}  // namespace vembrel
