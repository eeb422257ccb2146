#pragma once
// The tray menu's checkable 登录时启动 item: checked when the autostart entry starts this
// program, read from the file each time the menu opens.

namespace vembrel {

class QtCharacterHost;

void add_autostart_item(QtCharacterHost& host);

}  // namespace vembrel
