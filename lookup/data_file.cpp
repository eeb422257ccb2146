#include "lookup/data_file.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

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

// A mapped file that shrinks under us raises SIGBUS on the pages past its new end. While a
// file is mapped, such a page is replaced by a zero page and the event is noted; a SIGBUS
// anywhere else keeps its usual meaning. The program maps one data file at a time.
volatile sig_atomic_t g_truncated = 0;
const char* volatile g_map_begin = nullptr;
const char* volatile g_map_end = nullptr;
struct sigaction g_previous_bus {};

void on_sigbus(int signal, siginfo_t* info, void* context) {
  const char* address = static_cast<const char*>(info->si_addr);
  if (address >= g_map_begin && address < g_map_end) {
    const long page = ::sysconf(_SC_PAGESIZE);
    void* start = reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(address) &
                                          ~static_cast<std::uintptr_t>(page - 1));
    if (::mmap(start, static_cast<std::size_t>(page), PROT_READ,
               MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
      g_truncated = 1;
      return;
    }
  }
  ::sigaction(SIGBUS, &g_previous_bus, nullptr);
  (void)context;
  ::raise(signal);
}

void watch_mapping(const char* begin, std::size_t size) {
  g_truncated = 0;
  g_map_begin = begin;
  g_map_end = begin + size;
  struct sigaction action {};
  action.sa_sigaction = on_sigbus;
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGBUS, &action, &g_previous_bus);
}

void unwatch_mapping() {
  ::sigaction(SIGBUS, &g_previous_bus, nullptr);
  g_map_begin = nullptr;
  g_map_end = nullptr;
}

}  // namespace

DataFile::~DataFile() {
  release();
}

DataFile::DataFile(DataFile&& other) noexcept {
  *this = std::move(other);
}

DataFile& DataFile::operator=(DataFile&& other) noexcept {
  if (this == &other) return *this;
  release();
  error = std::move(other.error);
  copy_ = std::move(other.copy_);
  mapped_ = std::exchange(other.mapped_, false);
  size_ = std::exchange(other.size_, 0);
  data_ = mapped_ ? std::exchange(other.data_, nullptr) : copy_.data();
  other.data_ = nullptr;
  return *this;
}

void DataFile::release() {
  if (mapped_) {
    unwatch_mapping();
    ::munmap(const_cast<char*>(data_), size_);
  }
  mapped_ = false;
  data_ = nullptr;
  size_ = 0;
  copy_.clear();
}

bool DataFile::changed_while_read() const {
  return mapped_ && g_truncated != 0;
}

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
  const auto size = static_cast<std::size_t>(st.st_size);
  if (size == 0) return file;
  // Mapping is several times faster than copying a large file into fresh memory.
  void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd.get(), 0);
  if (map != MAP_FAILED) {
    file.data_ = static_cast<const char*>(map);
    file.size_ = size;
    file.mapped_ = true;
    watch_mapping(file.data_, size);
    return file;
  }
  // Some file systems cannot map: read the file instead, until its end.
  file.copy_.resize(size + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == file.copy_.size()) file.copy_.resize(file.copy_.size() * 2);
    const ssize_t got = ::read(fd.get(), file.copy_.data() + used, file.copy_.size() - used);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      file.copy_.clear();
      file.error = reason_for(errno);
      return file;
    }
    used += static_cast<std::size_t>(got);
  }
  file.copy_.resize(used);
  file.data_ = file.copy_.data();
  file.size_ = used;
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
