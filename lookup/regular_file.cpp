#include "lookup/regular_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace vembrel {

std::u16string read_failure_reason(int error) {
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

OpenedFile::~OpenedFile() {
  if (fd_ >= 0) ::close(fd_);
}

OpenedFile::OpenedFile(OpenedFile&& other) noexcept
    : error(std::move(other.error)),
      fd_(std::exchange(other.fd_, -1)),
      size_(std::exchange(other.size_, 0)) {}

OpenedFile& OpenedFile::operator=(OpenedFile&& other) noexcept {
  if (this == &other) return *this;
  if (fd_ >= 0) ::close(fd_);
  error = std::move(other.error);
  fd_ = std::exchange(other.fd_, -1);
  size_ = std::exchange(other.size_, 0);
  return *this;
}

OpenedFile open_regular_file(const std::string& path) {
  OpenedFile file;
  // O_NONBLOCK so that opening a FIFO cannot hang before we see that it is no regular file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    file.error = read_failure_reason(errno);
    return file;
  }
  file.fd_ = fd;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    file.error = read_failure_reason(errno);
  } else if (!S_ISREG(st.st_mode)) {
    file.error = S_ISDIR(st.st_mode) ? u"这是一个目录，不是词典文件" : u"这不是普通文件";
  } else {
    file.size_ = static_cast<std::size_t>(st.st_size);
    return file;
  }
  ::close(std::exchange(file.fd_, -1));
  return file;
}

}  // namespace vembrel
