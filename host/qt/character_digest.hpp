#pragma once
// A digest of a character file's bytes, to tell that a file holds exactly the bytes a build
// checked already (the shipped character): reading every frame's XML to check it is most of
// the work of starting, and need not be done at every start for the same bytes.

#include <string>
#include <string_view>

namespace vembrel {

// 64 hex digits. The Qt version that runs goes into it too: Qt decides which SVG documents
// are valid, so bytes checked under another Qt get another digest.
std::string characterDigest(std::string_view bytes);

}  // namespace vembrel
