#pragma once
// Small fixtures for the tests: GBK bytes from readable text, and a temporary directory.

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "lookup/gbk.hpp"
#include "lookup/text.hpp"

namespace vembrel::testing {

// The GBK bytes of a UTF-8 literal; every character in the tests has a GBK form.
inline std::string gbk(std::string_view utf8) {
  return encode_gbk(utf8_to_utf16(utf8)).value();
}

inline std::u16string u16(std::string_view utf8) {
  return utf8_to_utf16(utf8);
}

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vembrel-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes bytes to a file below the directory, creating its folders.
  std::filesystem::path write(const std::string& relative, std::string_view bytes) const {
    const std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace vembrel::testing
