#include "menu/command_line.hpp"

#include "lookup/text.hpp"

namespace vembrel {

CommandLine parse_command_line(std::string_view line) {
  CommandLine out;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty()) return out;
  const std::size_t blank = line.find(' ');
  const std::string_view name = line.substr(0, blank);
  out.item = find_menu_item(name);
  if (out.item == nullptr) {
    out.error = "unknown menu item \"" + std::string(name) +
                "\" (expected one of: qxcd mxhy mxh mcy mty mfy mwy ms mx mhelp mhide quit)";
    return out;
  }
  if (blank != std::string_view::npos) out.typed = utf8_to_utf16(line.substr(blank + 1));
  return out;
}

}  // namespace vembrel
