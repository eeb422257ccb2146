#include "host/op_log.hpp"

#include "lookup/text.hpp"

namespace vembrel {

std::string escape_op_text(std::u16string_view text) {
  std::string out;
  for (const char c : utf16_to_utf8(text)) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

LoadStatus OpLogHost::load(const std::u16string& id, const std::string& path) {
  sink_("Characters.Load " + escape_op_text(id) + " " + escape_op_text(utf8_to_utf16(path)));
  loaded_id_ = id;
  loaded_ = true;
  return {};
}

Character* OpLogHost::character(const std::u16string& id) {
  return loaded_ && id == loaded_id_ ? this : nullptr;
}

void OpLogHost::set_height(int pixels) {
  sink_("Height " + std::to_string(pixels));
}
void OpLogHost::set_width(int pixels) {
  sink_("Width " + std::to_string(pixels));
}
void OpLogHost::move_to(int x, int y) {
  sink_("MoveTo " + std::to_string(x) + " " + std::to_string(y));
}
void OpLogHost::set_name(const std::u16string& name) {
  sink_("Name " + escape_op_text(name));
}
void OpLogHost::show() {
  sink_("Show");
}
void OpLogHost::hide() {
  sink_("Hide");
}
void OpLogHost::play(const std::string& animation) {
  sink_("Play " + animation);
}
void OpLogHost::think(const std::u16string& text) {
  sink_("Think " + escape_op_text(text));
}
void OpLogHost::set_auto_popup_menu(bool on) {
  sink_(std::string("AutoPopupMenu ") + (on ? "true" : "false"));
}
void OpLogHost::stop() {
  sink_("Stop");
}

}  // namespace vembrel
