#include "lookup/regular_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace vembrel {

namespace {

FileStamp stamp_from(const struct stat& status) {
  return {static_cast<std::size_t>(status.st_size),
          std::int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec};
}

}  // namespace

FileStamp stamp_of(int fd, bool* ok) {
  struct stat status {};
  const bool got = ::fstat(fd, &status) == 0;
  if (ok != nullptr) *ok = got;
  return got ? stamp_from(status) : FileStamp{};
}

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
      stamp_(std::exchange(other.stamp_, {})) {}

OpenedFile& OpenedFile::operator=(OpenedFile&& other) noexcept {
  if (this == &other) return *this;
  if (fd_ >= 0) ::close(fd_);
  error = std::move(other.error);
  fd_ = std::exchange(other.fd_, -1);
  stamp_ = std::exchange(other.stamp_, {});
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
    file.stamp_ = stamp_from(st);
    return file;
  }
  ::close(std::exchange(file.fd_, -1));
  return file;
}

}  // namespace vembrel
