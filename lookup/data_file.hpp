#pragma once
// Reading a dictionary file: the whole file in one go, then split into lines.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vembrel {

// The bytes of a data file, or the reason they could not be read.
struct DataFile {
  std::string bytes;
  std::u16string error;  // empty when the file was read
  bool ok() const { return error.empty(); }
};

// Reads a regular file whole. A missing file, a directory, a FIFO or a device is refused
// without blocking, with a reason a user understands.
DataFile read_data_file(const std::string& path);

// Reads data one line at a time. A line ends at CR or CR LF and a lone LF stays in the line; a
// file without any CR (one made on Linux) ends its lines at LF instead. A final line without a
// terminator is still a line. CR and LF never occur inside a GBK character, so splitting the
// raw bytes is safe.
class LineReader {
 public:
  explicit LineReader(std::string_view data)
      : data_(data), terminator_(data.find('\r') != std::string_view::npos ? '\r' : '\n') {}
  bool at_end() const { return pos_ >= data_.size(); }
  // The next line without its terminator; false at the end of the data.
  bool next(std::string_view& line);
  // Offset of the next line's first byte.
  std::size_t position() const { return pos_; }

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
