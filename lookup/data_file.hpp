#pragma once
// Reading a dictionary file: the whole file mapped in one go, then read line by line. (The
// phrase lookup reads its file in blocks instead: see line_blocks.hpp.)

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vembrel {

// The bytes of a data file, or the reason they could not be read. The file is mapped into
// memory for as long as this object lives (one lookup, or reading the character file). Should the
// file be cut short by someone else meanwhile, the missing part reads as zero bytes instead of
// crashing the program, and changed_while_read() says so.
class DataFile {
 public:
  DataFile() = default;
  ~DataFile();
  DataFile(DataFile&& other) noexcept;
  DataFile& operator=(DataFile&& other) noexcept;
  DataFile(const DataFile&) = delete;
  DataFile& operator=(const DataFile&) = delete;

  std::string_view bytes() const { return {data_, size_}; }
  bool ok() const { return error.empty(); }
  bool changed_while_read() const;

  std::u16string error;  // empty when the file was read

 private:
  friend DataFile map_data_file(int fd, std::size_t size);
  void release();

  const char* data_ = nullptr;
  std::size_t size_ = 0;
  bool mapped_ = false;
  int guard_ = -1;    // the mapping's entry in the table of watched mappings
  std::string copy_;  // used where a file cannot be mapped
};

// Opens a regular file. A missing file, a directory, a FIFO or a device is refused without
// blocking, with a reason a user understands.
DataFile read_data_file(const std::string& path);

// The first `size` bytes of the file open as `fd`, which the caller has opened, checked and
// still closes. Mapped and watched as above (copied where the file system cannot map).
DataFile map_data_file(int fd, std::size_t size);

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
