#include "lookup/data_file.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>
#include <vector>

#include "lookup/gbk.hpp"
#include "tests/support/fixtures.hpp"

namespace vembrel {
namespace {

using testing::TempDir;

TEST(SplitLines, EndsLinesAtCrOrCrLfAndAtLfOnlyWithoutAnyCr) {
  using Lines = std::vector<std::string_view>;
  const struct {
    std::string_view data;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\nb", {"a", "b"}},        // a final line without terminator is still a line
      {"a\nb\rc", {"a\nb", "c"}},    // with a CR in the file, a lone LF stays in its line
      {"a\r\r\nb", {"a", "", "b"}},  // CR CR LF: an empty line in between
      {"a\nb\n", {"a", "b"}},        // no CR at all: a file made on Linux
      {"\r\n", {""}},
      {"x\n\ny", {"x", "", "y"}},
  };
  for (const auto& c : cases) EXPECT_EQ(split_lines(c.data), c.lines) << c.data;
}

TEST(Gbk, DecodesTheWindowsTableAndReplacesInvalidBytes) {
  EXPECT_EQ(decode_gbk("\x80"), u"€");
  EXPECT_EQ(decode_gbk("\xC4\xE3\x83\x7E"), u"你儈");  // 0x7E as a second byte
  EXPECT_EQ(decode_gbk("a\xC4"), u"a\uFFFD");          // a lead byte at the end
  EXPECT_EQ(decode_gbk("\x81\x30z"), u"\uFFFD0z");     // an invalid second byte is kept
  EXPECT_EQ(encode_gbk(u"你儈~"), std::string("\xC4\xE3\x83\x7E~"));
  EXPECT_FALSE(encode_gbk(u"😀").has_value());
  EXPECT_FALSE(encode_gbk(std::u16string{u'\xD800'}).has_value());
}

TEST(ReadDataFile, RefusesWhatIsNoRegularFileWithAReason) {
  TempDir dir;
  const auto file = dir.write("data/cy.mdb", "a~b\r\n");
  ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0600), 0);

  EXPECT_EQ(read_data_file(file.string()).bytes(), "a~b\r\n");
  EXPECT_EQ(read_data_file((dir.path() / "missing").string()).error, u"文件不存在");
  EXPECT_EQ(read_data_file(dir.path().string()).error, u"这是一个目录，不是词典文件");
  EXPECT_EQ(read_data_file((dir.path() / "fifo").string()).error, u"这不是普通文件");  // no hang
  EXPECT_EQ(read_data_file("/dev/null").error, u"这不是普通文件");
}

TEST(ReadDataFile, SurvivesTheFileBeingCutShortWhileMapped) {
  TempDir dir;
  const auto path = dir.write("big.mdb", std::string(3 * 4096, 'x'));
  const DataFile file = read_data_file(path.string());
  ASSERT_TRUE(file.ok());
  EXPECT_FALSE(file.changed_while_read());
  std::filesystem::resize_file(path, 0);
  // The pages past the new end read as zeros instead of killing the process.
  std::size_t xs = 0;
  for (char c : file.bytes()) xs += c == 'x';
  EXPECT_LT(xs, file.bytes().size());
  EXPECT_TRUE(file.changed_while_read());
}

std::size_t count_of(const DataFile& file, char c) {
  const std::string_view bytes = file.bytes();
  return static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), c));
}

// Mappings nest: the help file probed while it is mapped already, a second file while the
// first is open. Each notices only its own file being cut short, in any order of release.
TEST(ReadDataFile, NestedMappingsEachNoticeTheirOwnFileCutShort) {
  TempDir dir;
  const auto first = dir.write("a.mdb", std::string(3 * 4096, 'a'));
  const auto second = dir.write("b.mdb", std::string(3 * 4096, 'b'));
  const DataFile outer = read_data_file(first.string());
  {
    const DataFile again = read_data_file(first.string());
    const DataFile inner = read_data_file(second.string());
    std::filesystem::resize_file(second, 4096);
    EXPECT_EQ(count_of(inner, 'b'), 4096u);  // the first page is still there, then zeros
    EXPECT_TRUE(inner.changed_while_read());
    EXPECT_EQ(count_of(again, 'a'), 3 * 4096u);
    EXPECT_FALSE(again.changed_while_read());
    EXPECT_FALSE(outer.changed_while_read());
  }
  // The inner two are gone; the outer one is still watched.
  std::filesystem::resize_file(first, 0);
  EXPECT_EQ(count_of(outer, 'a'), 0u);
  EXPECT_TRUE(outer.changed_while_read());
  // A new mapping starts with a clean slate.
  dir.write("a.mdb", "a~b\r\n");
  const DataFile fresh = read_data_file(first.string());
  EXPECT_EQ(fresh.bytes(), "a~b\r\n");
  EXPECT_FALSE(fresh.changed_while_read());
}

// Several threads map, cut short and release at the same time, and more files are open at
// once than there are watched mappings: every file reads right and is judged on its own.
TEST(ReadDataFile, ConcurrentAndManyMappingsAreEachWatchedOnTheirOwn) {
  TempDir dir;
  const auto steady = dir.write("steady.mdb", std::string(2 * 4096, 's'));
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 50; ++round) {
        const auto own = dir.write("t" + std::to_string(t) + ".mdb", std::string(2 * 4096, 'o'));
        const DataFile file = read_data_file(own.string());
        const DataFile other = read_data_file(steady.string());
        std::filesystem::resize_file(own, 0);
        if (count_of(file, 'o') != 0 || !file.changed_while_read()) ++wrong;
        if (count_of(other, 's') != 2 * 4096u || other.changed_while_read()) ++wrong;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong, 0);

  std::vector<DataFile> open;
  for (int i = 0; i < 200; ++i) open.push_back(read_data_file(steady.string()));
  for (const DataFile& file : open) {
    EXPECT_EQ(count_of(file, 's'), 2 * 4096u);
    EXPECT_FALSE(file.changed_while_read());
  }
}

#ifdef __SANITIZE_ADDRESS__
// AddressSanitizer handles SIGBUS itself: it reports the fault and exits.
bool ended_by_sigbus(int status) {
  return WIFEXITED(status) && WEXITSTATUS(status) != 0;
}
constexpr const char* kSigbusReport = "BUS on unknown address";
#else
bool ended_by_sigbus(int status) {
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGBUS;
}
constexpr const char* kSigbusReport = "";
#endif

// Reads past the end of a file mapped without any guard: a SIGBUS that is no business of ours.
void read_past_an_unguarded_end(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDWR);
  const auto* page =
      static_cast<const volatile char*>(::mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0));
  if (fd < 0 || page == MAP_FAILED || ::ftruncate(fd, 0) != 0) ::_exit(3);
  std::printf("%d\n", page[0]);
  ::_exit(4);  // not reached: the read above ends the process
}

// After nested mappings are released, a SIGBUS elsewhere keeps its usual meaning: it ends the
// process as SIGBUS (or with the sanitizer's report), not as a crash inside our handler.
TEST(ReadDataFileDeathTest, ASigbusOutsideOurMappingsStillEndsTheProcessAsUsual) {
  TempDir dir;
  const auto data = dir.write("a.mdb", std::string(4096, 'a'));
  const auto other = dir.write("other", std::string(4096, 'o'));
  EXPECT_EXIT(
      {
        {
          const DataFile outer = read_data_file(data.string());
          const DataFile inner = read_data_file(data.string());
        }
        read_past_an_unguarded_end(other);
      },
      ended_by_sigbus, kSigbusReport);
  EXPECT_EXIT(
      {
        const DataFile open = read_data_file(data.string());
        read_past_an_unguarded_end(other);
      },
      ended_by_sigbus, kSigbusReport);
}

TEST(AppFilePath, JoinsTheBackslashPathToTheApplicationDirectory) {
  EXPECT_EQ(app_file_path("/opt/vembrel", "\\data\\cy.mdb"), "/opt/vembrel/data/cy.mdb");
  EXPECT_EQ(app_file_path("/a\\b", "\\dh.vr"), "/a\\b/dh.vr");  // the directory is kept as is
}

}  // namespace
}  // namespace vembrel
