#include "lookup/data_file.hpp"

#include <signal.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <utility>

#include "lookup/regular_file.hpp"

namespace vembrel {
namespace {

// A mapped file that shrinks under us raises SIGBUS on the pages past its new end. Every
// mapping is entered in a fixed table, and one handler, installed once, puts a zero page over
// such a page and notes it for that mapping; a SIGBUS anywhere else keeps its usual meaning.
// Mappings may nest (the help file probed while a lookup has it open) and come from several
// threads, so the table is lock-free: the handler only loads and stores atomics and makes one
// system call.
constexpr std::size_t kGuardedMappings = 64;

struct GuardedMapping {
  std::atomic<std::uintptr_t> begin{0};  // 0 while the entry is free
  std::atomic<std::uintptr_t> end{0};
  std::atomic<bool> truncated{false};
};
static_assert(std::atomic<std::uintptr_t>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

GuardedMapping g_mappings[kGuardedMappings];
struct sigaction g_previous_bus {};
std::uintptr_t g_page_size = 4096;
std::once_flag g_guard_installed;

// Hands a SIGBUS that is not ours to whatever handled it before, or ends the process with it.
void pass_on(int signal, siginfo_t* info, void* context) {
  if ((g_previous_bus.sa_flags & SA_SIGINFO) != 0 && g_previous_bus.sa_sigaction != nullptr)
    return g_previous_bus.sa_sigaction(signal, info, context);
  if ((g_previous_bus.sa_flags & SA_SIGINFO) == 0 && g_previous_bus.sa_handler != SIG_DFL &&
      g_previous_bus.sa_handler != SIG_IGN)
    return g_previous_bus.sa_handler(signal);
  struct sigaction usual {};
  usual.sa_handler = SIG_DFL;
  sigemptyset(&usual.sa_mask);
  ::sigaction(signal, &usual, nullptr);
  // Blocked until this handler returns, then it ends the process (a fault would also recur).
  ::raise(signal);
}

void on_sigbus(int signal, siginfo_t* info, void* context) {
  const int saved_errno = errno;
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (GuardedMapping& mapping : g_mappings) {
    const std::uintptr_t begin = mapping.begin.load(std::memory_order_acquire);
    if (begin == 0 || address < begin || address >= mapping.end.load(std::memory_order_acquire))
      continue;
    // The system call itself, not the C library's wrapper (nor a sanitizer's): no library
    // state is touched here.
    const long zero_page = ::syscall(SYS_mmap, address & ~(g_page_size - 1), g_page_size, PROT_READ,
                                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (zero_page != -1) {
      mapping.truncated.store(true, std::memory_order_release);
      errno = saved_errno;
      return;
    }
    break;
  }
  errno = saved_errno;
  pass_on(signal, info, context);
}

void install_guard() {
  std::call_once(g_guard_installed, [] {
    g_page_size = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = on_sigbus;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &g_previous_bus);
  });
}

// The table entry now watching [begin, begin + size), or -1 when every entry is taken.
int guard_mapping(const char* begin, std::size_t size) {
  install_guard();
  const auto first = reinterpret_cast<std::uintptr_t>(begin);
  for (std::size_t i = 0; i < kGuardedMappings; ++i) {
    std::uintptr_t free = 0;
    if (!g_mappings[i].begin.compare_exchange_strong(free, first, std::memory_order_acq_rel))
      continue;
    g_mappings[i].truncated.store(false, std::memory_order_relaxed);
    g_mappings[i].end.store(first + size, std::memory_order_release);
    return static_cast<int>(i);
  }
  return -1;
}

void unguard_mapping(int entry) {
  g_mappings[entry].end.store(0, std::memory_order_release);
  g_mappings[entry].begin.store(0, std::memory_order_release);
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
  guard_ = std::exchange(other.guard_, -1);
  size_ = std::exchange(other.size_, 0);
  data_ = mapped_ ? std::exchange(other.data_, nullptr) : copy_.data();
  other.data_ = nullptr;
  return *this;
}

void DataFile::release() {
  if (mapped_) {
    unguard_mapping(guard_);
    ::munmap(const_cast<char*>(data_), size_);
  }
  mapped_ = false;
  guard_ = -1;
  data_ = nullptr;
  size_ = 0;
  copy_.clear();
}

bool DataFile::changed_while_read() const {
  return mapped_ && g_mappings[guard_].truncated.load(std::memory_order_acquire);
}

DataFile read_data_file(const std::string& path) {
  const OpenedFile opened = open_regular_file(path);
  if (!opened.ok()) {
    DataFile file;
    file.error = opened.error;
    return file;
  }
  return map_data_file(opened.fd(), opened.size());
}

DataFile map_data_file(int fd, std::size_t size) {
  DataFile file;
  if (size == 0) return file;
  // Mapping is several times faster than copying a large file into fresh memory.
  void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  if (map != MAP_FAILED) {
    const int guard = guard_mapping(static_cast<const char*>(map), size);
    if (guard >= 0) {
      file.data_ = static_cast<const char*>(map);
      file.size_ = size;
      file.mapped_ = true;
      file.guard_ = guard;
      return file;
    }
    ::munmap(map, size);  // too many files open at once to watch another: read this one
  }
  // Some file systems cannot map: read the file instead, until its end.
  file.copy_.resize(size + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == file.copy_.size()) file.copy_.resize(file.copy_.size() * 2);
    const ssize_t got = ::read(fd, file.copy_.data() + used, file.copy_.size() - used);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      file.copy_.clear();
      file.error = read_failure_reason(errno);
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
