#include "host/qt/font_pages.hpp"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <string>

namespace vembrel {
namespace {

bool endsWithFontExtension(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || path.size() - dot != 4) return false;
  std::string extension(path.substr(dot + 1));
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return extension == "ttf" || extension == "ttc" || extension == "otf" || extension == "otc";
}

// The next blank-separated field of `line` from `at` on.
std::string_view field(std::string_view line, std::size_t& at) {
  while (at < line.size() && line[at] == ' ') ++at;
  const std::size_t start = at;
  while (at < line.size() && line[at] != ' ') ++at;
  return line.substr(start, at - start);
}

bool parseHex(std::string_view text, std::uintptr_t& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::vector<MappedRange> fontFileMappings(std::string_view maps) {
  std::vector<MappedRange> ranges;
  while (!maps.empty()) {
    const std::size_t newline = maps.find('\n');
    const std::string_view line = maps.substr(0, newline);
    maps = newline == std::string_view::npos ? std::string_view() : maps.substr(newline + 1);
    // address perms offset device inode path
    std::size_t at = 0;
    const std::string_view address = field(line, at);
    const std::string_view perms = field(line, at);
    for (int skip = 0; skip < 3; ++skip) field(line, at);
    while (at < line.size() && line[at] == ' ') ++at;
    const std::string_view path = line.substr(at);  // may hold blanks
    // Only what can never hold a change of the program's own: not writable, not code.
    if (perms.size() != 4 || perms[0] != 'r' || perms[1] != '-' || perms[2] != '-') continue;
    if (path.empty() || path.front() != '/' || !endsWithFontExtension(path)) continue;
    const std::size_t dash = address.find('-');
    MappedRange range;
    if (dash == std::string_view::npos || !parseHex(address.substr(0, dash), range.begin) ||
        !parseHex(address.substr(dash + 1), range.end) || range.end <= range.begin)
      continue;
    ranges.push_back(range);
  }
  return ranges;
}

namespace {

// Plain reads: a C++ file stream would build the whole standard locale on first use, which
// alone keeps some 250 KB of library code resident.
std::string readMaps() {
  std::string maps;
  const int fd = ::open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return maps;
  char chunk[4096];
  for (ssize_t got; (got = ::read(fd, chunk, sizeof chunk)) != 0;) {
    if (got < 0) {
      if (errno == EINTR) continue;
      break;
    }
    maps.append(chunk, std::size_t(got));
  }
  ::close(fd);
  return maps;
}

}  // namespace

void releaseFontFilePages() {
  const std::string maps = readMaps();
  for (const MappedRange& range : fontFileMappings(maps))
    ::madvise(reinterpret_cast<void*>(range.begin), range.end - range.begin, MADV_DONTNEED);
}

}  // namespace vembrel
