#pragma once
// Gives back the pages of font files that drawing text has touched. The font renderer maps each
// font file whole and keeps it mapped; every glyph it reads brings the pages around it into the
// process (64 KB a glyph: 2.6 MB of a CJK font after one greeting), although Qt keeps each
// glyph it drew as an image. Once no balloon is up, nothing needs those pages for seconds: the
// mapping is read-only, so the kernel reads them back from its cache should a glyph be needed.

#include <cstdint>
#include <string_view>
#include <vector>

namespace vembrel {

struct MappedRange {
  std::uintptr_t begin = 0;
  std::uintptr_t end = 0;
};

// The read-only, non-executable mappings of font files (.ttf .ttc .otf .otc) in the text of
// /proc/self/maps.
std::vector<MappedRange> fontFileMappings(std::string_view maps);

// Drops this process's pages of every mapped font file. Call it on the thread that draws text:
// no other thread maps or unmaps fonts meanwhile.
void releaseFontFilePages();

}  // namespace vembrel
