#pragma once
// How screen readers see the thought balloon: a notification, which a screen reader speaks
// when it becomes showing. Its name is the widget's accessible name (kept short, as it is read
// before every page) and its description is what the page says, as the widget holds them.

namespace vembrel {

// Gives every widget of class `class_name` (its meta-object's name) the role of a
// notification; once per program, before the first such widget is shown.
void installBalloonAccessible(const char* class_name);

}  // namespace vembrel
