#pragma once
// The application's window icon.

#include <QIcon>
#include <QString>

namespace vembrel {

// The icon drawn once from its SVG file at the sizes window managers use. A file icon would
// load the SVG icon plugin and draw eight sizes, up to 256 pixels, for every window created:
// half the start-up time of the character window. Empty when the file cannot be read.
QIcon applicationIcon(const QString& svg_path);

}  // namespace vembrel
