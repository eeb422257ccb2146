#pragma once
// The text a lookup of the selection or the clipboard finds. Read by the program that shows
// the character: it has the display open already, and Qt answers from it at once when the
// selection is its own. A second start would have to open the display just for this.

#include <QString>

#include "app/instance_protocol.hpp"

namespace vembrel {

// LookupSource::Selection: the X primary selection, or the clipboard when nothing (or only
// blanks) is selected; LookupSource::Clipboard: the clipboard. Empty when there is no text.
QString selected_text(LookupSource source);

}  // namespace vembrel
