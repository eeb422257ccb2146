#include "lookup/data_file.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "lookup/regular_file.hpp"

namespace vembrel {

DataFile read_data_file(const std::string& path) {
  const OpenedFile opened = open_regular_file(path);
  if (!opened.ok()) {
    DataFile file;
    file.error = opened.error;
    return file;
  }
  return read_opened_file(opened.fd(), opened.stamp());
}

DataFile read_opened_file(int fd, FileStamp opened) {
  DataFile file;
  // One byte more than expected, so that a file grown meanwhile shows in the count.
  file.bytes_.resize(opened.size + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == file.bytes_.size()) file.bytes_.resize(file.bytes_.size() * 2);
    const ssize_t got =
        ::pread(fd, file.bytes_.data() + used, file.bytes_.size() - used, static_cast<off_t>(used));
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      file.bytes_.clear();
      file.error = read_failure_reason(errno);
      return file;
    }
    used += static_cast<std::size_t>(got);
  }
  file.bytes_.resize(used);
  bool stamped = false;
  const FileStamp after = stamp_of(fd, &stamped);
  file.changed_while_read_ = !stamped || after != opened || used != opened.size;
  return file;
}

char LineReader::line_terminator(std::string_view data) {
  if (data.empty()) return '\n';
  return std::memchr(data.data(), '\r', data.size()) != nullptr ? '\r' : '\n';
}

bool LineReader::next(std::string_view& line) {
  if (at_end()) return false;
  std::size_t end = data_.find(terminator_, pos_);
  if (end == std::string_view::npos) end = data_.size();
  line = data_.substr(pos_, end - pos_);
  pos_ = end + 1;
  if (terminator_ == '\r' && pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
  return true;
}

std::vector<std::string_view> split_lines(std::string_view data) {
  std::vector<std::string_view> lines;
  LineReader reader(data);
  for (std::string_view line; reader.next(line);) lines.push_back(line);
  return lines;
}

std::string app_file_path(const std::string& app_dir, std::string_view relative) {
  std::string path = app_dir;
  path.append(relative);
  std::replace(path.begin() + static_cast<std::ptrdiff_t>(app_dir.size()), path.end(), '\\', '/');
  return path;
}

}  // namespace vembrel
