#pragma once
// The tray menu's 阅读速度 submenu: 慢, 中 or 快, how long the balloons stay. The choice is
// kept in the user's configuration folder and applied at every start.

#include <QString>

#include "host/qt/thought_pacing.hpp"

namespace vembrel {

class QtCharacterHost;

// The pace a settings value names; anything else is the medium pace.
ReadingPace readingPaceNamed(const QString& name);
QString readingPaceName(ReadingPace pace);

void add_reading_pace_menu(QtCharacterHost& host);

}  // namespace vembrel
