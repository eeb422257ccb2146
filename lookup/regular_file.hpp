#pragma once
// Opening a dictionary file: the checks every reader of one makes first, and the reasons a
// user is given when they fail.

#include <cstddef>
#include <string>

namespace vembrel {

// An open regular file and the size it had when it was opened, or the reason it could not be
// opened. The file is closed when this object goes.
class OpenedFile {
 public:
  OpenedFile() = default;
  ~OpenedFile();
  OpenedFile(OpenedFile&& other) noexcept;
  OpenedFile& operator=(OpenedFile&& other) noexcept;
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;

  bool ok() const { return error.empty(); }
  int fd() const { return fd_; }
  std::size_t size() const { return size_; }

  std::u16string error;  // empty when the file is open

 private:
  friend OpenedFile open_regular_file(const std::string& path);
  int fd_ = -1;
  std::size_t size_ = 0;
};

// Opens a regular file for reading. A missing file, a directory, a FIFO or a device is refused
// without blocking, with a reason a user understands.
OpenedFile open_regular_file(const std::string& path);

// What a user is told when opening or reading a file fails with `error` (an errno value).
std::u16string read_failure_reason(int error);

}  // namespace vembrel
