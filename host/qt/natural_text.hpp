#pragma once
// What a screen reader should say for a balloon's text: the text without the blanks that only
// space its characters out for the balloon.

#include <QString>

namespace vembrel {

QString naturalText(const QString& balloon_text);

}  // namespace vembrel
