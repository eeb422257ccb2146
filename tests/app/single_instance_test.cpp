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

// Runs a start in a child process, as a second launch would, while this process goes on
// answering from its event loop. With `killed`, the child is then killed outright, and no
// result comes back. Its problem() or reply text, if any, goes to `said`.
int start_elsewhere(bool killed = false, int patience_msec = 500, std::string* said = nullptr) {
  int words[2];
  if (::pipe(words) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(words[0]);
    SingleInstance other;
    const SingleInstance::Start start = other.start(patience_msec);
    if (killed) ::kill(::getpid(), SIGKILL);
    const std::string text = other.problem() + other.reply().text;
    (void)!::write(words[1], text.data(), text.size());
    ::_exit(static_cast<int>(start));
  }
  ::close(words[1]);
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  char buffer[512];
  const ssize_t got = ::read(words[0], buffer, sizeof(buffer));
  ::close(words[0]);
  if (said) said->assign(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
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

// A program that holds the claim but does not answer (stopped, hung, or not yet serving):
// the very next start says so, naming the program, once its patience is over, and starts no
// second character; so does a start that finds the program's queue of requests full.
TEST(SingleInstance, ALaterStartWithoutAnAnswerSaysSoAndNamesTheProgram) {
  RuntimeFolder folder;
  SingleInstance stuck;
  ASSERT_EQ(stuck.start(), SingleInstance::Start::First) << stuck.problem();
  // serve() is never called: the request is connected and sent, and nothing comes back.
  std::string said;
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(start_elsewhere(false, 700, &said), kNotAnswering);
  EXPECT_GE(clock.elapsed(), 700);
  EXPECT_NE(
      said.find("already running (process " + std::to_string(::getpid()) + ") but does not answer"),
      std::string::npos)
      << said;

  // Requests pile up unanswered until the queue is full: then connecting fails at once.
  for (int i = 0; i < 40 && said.find("pile up") == std::string::npos; ++i)
    ASSERT_EQ(start_elsewhere(false, 50, &said), kNotAnswering) << said;
  EXPECT_NE(said.find("(its requests pile up)"), std::string::npos) << said;
}

// Whatever the running program answers goes back to the start that asked: a refusal is no
// success, and a verb it does not know is refused, not taken for "show".
TEST(SingleInstance, TheRunningProgramsAnswerDecidesTheLaterStart) {
  RuntimeFolder folder;
  SingleInstance first;
  ASSERT_EQ(first.start(), SingleInstance::Start::First) << first.problem();
  std::string verb_seen;
  ASSERT_TRUE(first.serve([&verb_seen](const InstanceRequest& request) -> InstanceReply {
    verb_seen = request.verb;
    return {1, "busy with something else"};
  }));
  std::string said;
  EXPECT_EQ(start_elsewhere(false, 2000, &said), kNotAnswering);
  EXPECT_EQ(verb_seen, "show");
  EXPECT_NE(said.find("refused: busy with something else"), std::string::npos) << said;

  int shown = 0;
  {
    RuntimeFolder other_folder;
    SingleInstance second_server;
    ASSERT_EQ(second_server.start(), SingleInstance::Start::First);
    ASSERT_TRUE(second_server.serve([&shown] { ++shown; }));
    const pid_t child = ::fork();
    if (child == 0) {
      SingleInstance other;
      const auto start = other.start(2000, {"look-up", {"好"}});
      ::_exit(start == SingleInstance::Start::NotAnswering &&
                      other.problem().find("unknown request \"look-up\"") != std::string::npos
                  ? 0
                  : 1);
    }
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(shown, 0);
}

}  // namespace
}  // namespace vembrel
