#pragma once
// Reading a small data file (the character dictionary, the help text, the character file):
// the whole file read into memory in one go, then read line by line. (The phrase lookup reads
// its files in blocks instead: see line_blocks.hpp.)

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/regular_file.hpp"

namespace vembrel {

// The bytes of a data file, or the reason they could not be read. The bytes are a copy: should
// someone change the file meanwhile, the copy stays as it was read and changed_while_read()
// says that it may be a mix of two versions.
class DataFile {
 public:
  std::string_view bytes() const { return bytes_; }
  bool ok() const { return error.empty(); }
  bool changed_while_read() const { return changed_while_read_; }

  std::u16string error;  // empty when the file was read

 private:
  friend DataFile read_opened_file(int fd, FileStamp opened);
  std::string bytes_;
  bool changed_while_read_ = false;
};

// Opens a regular file and reads it. A missing file, a directory, a FIFO or a device is
// refused without blocking, with a reason a user understands.
DataFile read_data_file(const std::string& path);

// Reads the whole file open as `fd`, which the caller has opened, checked and still closes;
// `opened` is its stamp from when it was opened. The file changed while read when its stamp
// afterwards, or the number of bytes read, differs from `opened`.
DataFile read_opened_file(int fd, FileStamp opened);

// Reads data one line at a time. A line ends at CR or CR LF and a lone LF stays in the line; a
// file without any CR (one made on Linux) ends its lines at LF instead. A final line without a
// terminator is still a line. CR and LF never occur inside a GBK character, so splitting the
// raw bytes is safe.
class LineReader {
 public:
  explicit LineReader(std::string_view data) : data_(data), terminator_(line_terminator(data)) {}
  bool at_end() const { return pos_ >= data_.size(); }
  // The next line without its terminator; false at the end of the data.
  bool next(std::string_view& line);

  // The byte that ends lines in this data: CR, or LF in data without any CR.
  static char line_terminator(std::string_view data);

 private:
  std::string_view data_;
  char terminator_;
  std::size_t pos_ = 0;
};

std::vector<std::string_view> split_lines(std::string_view data);

// Full path of a file from the application directory and a relative path that begins with a
// backslash, e.g. "\data\cy.mdb".
std::string app_file_path(const std::string& app_dir, std::string_view relative);

}  // namespace vembrel
