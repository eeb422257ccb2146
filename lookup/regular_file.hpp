#pragma once
// Opening a dictionary file: the checks every reader of one makes first, and the reasons a
// user is given when they fail.

#include <cstddef>
#include <cstdint>
#include <string>

namespace vembrel {

// What tells one version of a file from another without reading it: its size and the time it
// was last modified.
struct FileStamp {
  std::size_t size = 0;
  std::int64_t modified_ns = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file open as `fd`; `ok` is false when fstat fails.
FileStamp stamp_of(int fd, bool* ok = nullptr);

// An open regular file and the size and time stamp it had when it was opened, or the reason it
// could not be opened. The file is closed when this object goes.
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
  std::size_t size() const { return stamp_.size; }
  // Its size and modification time when it was opened.
  FileStamp stamp() const { return stamp_; }

  std::u16string error;  // empty when the file is open

 private:
  friend OpenedFile open_regular_file(const std::string& path);
  int fd_ = -1;
  FileStamp stamp_;
};

// Opens a regular file for reading. A missing file, a directory, a FIFO or a device is refused
// without blocking, with a reason a user understands.
OpenedFile open_regular_file(const std::string& path);

// What a user is told when opening or reading a file fails with `error` (an errno value).
std::u16string read_failure_reason(int error);

}  // namespace vembrel
