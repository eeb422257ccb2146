#include "lookup/data_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>

namespace vembrel {
namespace {

std::u16string reason_for(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return u"文件不存在";
    case EACCES:
    case EPERM:
      return u"没有读取权限";
    default:
      return u"读取出错";
  }
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

DataFile read_data_file(const std::string& path) {
  DataFile file;
  // O_NONBLOCK so that opening a FIFO cannot hang before we see that it is no regular file.
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    file.error = reason_for(errno);
    return file;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    file.error = reason_for(errno);
    return file;
  }
  if (!S_ISREG(st.st_mode)) {
    file.error = S_ISDIR(st.st_mode) ? u"这是一个目录，不是词典文件" : u"这不是普通文件";
    return file;
  }
  // Size the buffer from the file, but keep reading until the end in case it grew meanwhile.
  file.bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == file.bytes.size()) file.bytes.resize(file.bytes.size() * 2);
    const ssize_t got = ::read(fd.get(), file.bytes.data() + used, file.bytes.size() - used);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      file.bytes.clear();
      file.error = reason_for(errno);
      return file;
    }
    used += static_cast<std::size_t>(got);
  }
  file.bytes.resize(used);
  return file;
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
