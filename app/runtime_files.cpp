#include "app/runtime_files.hpp"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace vembrel {
namespace {

constexpr int kMaxFiles = 4;
char g_paths[kMaxFiles][PATH_MAX];
std::atomic<int> g_count{0};

// Removes the files, then ends the process by the same signal with its usual action, so that
// whoever sent it sees how the program ended.
void on_termination(int signal) {
  remove_runtime_files();
  ::raise(signal);  // the disposition is the default again; delivered when this returns
}

void remove_on_termination_signals() {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction previous {};
    ::sigaction(signal, nullptr, &previous);
    // An ignored signal (nohup, a background job) stays ignored; a handler someone else set
    // stays too.
    if (previous.sa_handler != SIG_DFL || (previous.sa_flags & SA_SIGINFO) != 0) continue;
    struct sigaction action {};
    action.sa_handler = on_termination;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace

void remove_at_exit(const std::string& path) {
  static const bool installed = [] {
    std::atexit(remove_runtime_files);
    remove_on_termination_signals();
    return true;
  }();
  (void)installed;
  const int count = g_count.load();
  if (count == kMaxFiles || path.size() >= PATH_MAX) return;
  std::memcpy(g_paths[count], path.c_str(), path.size() + 1);
  g_count.store(count + 1);
}

void remove_runtime_files() {
  const int count = g_count.exchange(0);
  for (int i = 0; i < count; ++i) ::unlink(g_paths[i]);
}

}  // namespace vembrel
