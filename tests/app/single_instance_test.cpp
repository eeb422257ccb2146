// The single-instance claim between processes of one user: the private folder it uses, a
// second start that asks the first, and the files a killed program leaves behind.
#include "app/single_instance.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <filesystem>

#include "tests/support/fixtures.hpp"

namespace vembrel {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

// Points XDG_RUNTIME_DIR and TMPDIR into a temporary folder for one test.
class RuntimeFolder {
 public:
  explicit RuntimeFolder(fs::perms runtime_mode = fs::perms::owner_all)
      : runtime_(dir_.path() / "runtime"), tmp_(dir_.path() / "tmp") {
    fs::create_directories(runtime_);
    fs::create_directories(tmp_);
    fs::permissions(runtime_, runtime_mode);
    saved_runtime_ = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
    saved_tmp_ = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    ::setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    ::setenv("TMPDIR", tmp_.c_str(), 1);
  }
  ~RuntimeFolder() {
    restore("XDG_RUNTIME_DIR", saved_runtime_);
    restore("TMPDIR", saved_tmp_);
  }
  const fs::path& runtime() const { return runtime_; }
  const fs::path& tmp() const { return tmp_; }

 private:
  static void restore(const char* name, const std::string& value) {
    if (value.empty())
      ::unsetenv(name);
    else
      ::setenv(name, value.c_str(), 1);
  }
  TempDir dir_;
  fs::path runtime_, tmp_;
  std::string saved_runtime_, saved_tmp_;
};

// Runs a start in a child process, as a second launch would. With `killed`, the child is then
// killed outright, and no result comes back.
int start_elsewhere(bool killed = false) {
  const pid_t child = ::fork();
  if (child == 0) {
    SingleInstance other;
    const SingleInstance::Start start = other.start(500);
    if (killed) ::kill(::getpid(), SIGKILL);
    ::_exit(static_cast<int>(start));
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
constexpr int kFirst = static_cast<int>(SingleInstance::Start::First);
constexpr int kShown = static_cast<int>(SingleInstance::Start::Shown);
constexpr int kNotAnswering = static_cast<int>(SingleInstance::Start::NotAnswering);

bool wait_for(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 10000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

TEST(PrivateRuntimeFolder, IsTheUsersOwnAndRefusesOneOthersMayEnter) {
  {
    RuntimeFolder folder;
    EXPECT_EQ(private_runtime_folder(), folder.runtime().string());
  }
  for (const fs::perms open : {fs::perms::all, fs::perms::owner_all | fs::perms::group_all}) {
    RuntimeFolder folder(open);
    const std::string chosen = private_runtime_folder();
    EXPECT_NE(chosen, folder.runtime().string());
    if (chosen.empty()) continue;  // no private fallback either: no single instance at all
    // Qt's fallback: a folder of our own below the temporary folder, that only we may enter.
    struct stat st {};
    ASSERT_EQ(::stat(chosen.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, ::geteuid());
    EXPECT_EQ(st.st_mode & 0777, 0700u);
  }
}

TEST(SingleInstance, ASecondStartAsksTheFirstAndFilesLeftByAKilledProgramAreReplaced) {
  RuntimeFolder folder;
  // A program killed outright leaves its lock and socket behind.
  start_elsewhere(/*killed=*/true);
  ASSERT_FALSE(fs::is_empty(folder.runtime()));

  int shown = 0;
  {
    SingleInstance first;
    ASSERT_EQ(first.start(), SingleInstance::Start::First) << first.problem();
    EXPECT_EQ(fs::path(first.socketPath()).parent_path(), folder.runtime());
    ASSERT_TRUE(first.serve([&shown] { ++shown; }));
    EXPECT_EQ(start_elsewhere(), kShown);
    EXPECT_TRUE(wait_for([&shown] { return shown == 1; }));
    EXPECT_EQ(start_elsewhere(), kShown);
    EXPECT_TRUE(wait_for([&shown] { return shown == 2; }));
  }
  // The first one ended: its files are gone and the next start is the first again.
  EXPECT_TRUE(fs::is_empty(folder.runtime()));
  EXPECT_TRUE(fs::is_empty(folder.tmp()));
  EXPECT_EQ(start_elsewhere(), kFirst);
}

// A program that holds the claim but takes no requests (stopped, say): later starts neither
// hang nor start a second character, once its queue of requests is full.
TEST(SingleInstance, AProgramThatTakesNoRequestsLeavesLaterStartsNotAnswering) {
  RuntimeFolder folder;
  SingleInstance stuck;
  ASSERT_EQ(stuck.start(), SingleInstance::Start::First) << stuck.problem();
  // serve() is never called: requests pile up until its queue is full.
  int not_answering = 0;
  for (int i = 0; i < 40 && not_answering == 0; ++i) {
    const int start = start_elsewhere();
    ASSERT_TRUE(start == kShown || start == kNotAnswering) << start;
    not_answering += start == kNotAnswering;
  }
  EXPECT_EQ(not_answering, 1);
}

}  // namespace
}  // namespace vembrel
