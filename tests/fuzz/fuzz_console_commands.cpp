// Console command lines run on a main form with a recording host, against a small fixed
// application directory. Input: the lines the console would read from standard input.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "app/scripted_dialog.hpp"
#include "app/vembrel.hpp"
#include "host/op_log.hpp"
#include "lookup/gbk.hpp"
#include "lookup/text.hpp"
#include "menu/command_line.hpp"
#include "tests/fuzz/fuzz_check.hpp"

namespace {

using namespace vembrel;

class QuietDesktop : public Desktop {
 public:
  std::string openHelp(const std::string&) override { return {}; }
  void quit() override { quitted = true; }
  bool quitted = false;
};

// Animations every character file must have; the program may play no other.
const std::set<std::string, std::less<>> kAnimations(kRequiredAnimations.begin(),
                                                     kRequiredAnimations.end());
const std::set<std::string, std::less<>> kOperations = {
    "Characters.Load", "Height",        "Width", "MoveTo", "Name", "Show", "Hide", "Play",
    "Think",           "AutoPopupMenu", "Stop"};

std::string g_app_dir;

std::string gbk(std::string_view utf8) {
  return encode_gbk(utf8_to_utf16(utf8)).value();
}

void write(const std::string& relative, const std::string& bytes) {
  const std::filesystem::path file = std::filesystem::path(g_app_dir) / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

// Tiny dictionaries with the awkward cases: a lone LF and a backslash inside lines, a line
// without "~", a lone lead byte, a character with more than ten definition lines, a result
// long enough to step through, a file with LF line ends, a directory where a file should be
// and a missing file. The help text is missing too.
void make_app_dir() {
  char pattern[] = "/tmp/vembrel-fuzz-XXXXXX";
  FUZZ_CHECK(::mkdtemp(pattern) != nullptr);
  g_app_dir = pattern;
  write("dh.vr", "{}");
  write("data/xh.mdb", gbk("外甥打灯笼~照舅（旧）\r\n泥菩萨过河~自身难保\n真的\r\n没有波浪线\r\n") +
                           "\x81~\xB0\xA1\r\n" + gbk("打~\\"));
  std::string cy;
  for (int i = 0; i < 24; ++i)
    cy += gbk("一" + std::to_string(i) + "心~释义" + std::to_string(i)) + "\r\n";
  write("data/cy.mdb", cy);
  write("data/ty.mdb", gbk("高兴~快乐\n快乐~高兴\n愉快~\n"));
  std::filesystem::create_directories(std::filesystem::path(g_app_dir) / "data/fy.mdb");
  std::string zd = gbk("~一\r\n");
  for (int i = 0; i < 14; ++i) zd += gbk("释义" + std::to_string(i)) + "\r\n";
  zd += gbk("~二 èr\r\n数目\n字\r\n~\r\n~") + "\xB0";
  write("data/zd.mdb", zd);
}

void remove_app_dir() {
  std::error_code ignored;
  std::filesystem::remove_all(g_app_dir, ignored);
}

void check_ops(RecordingHost& host) {
  for (const std::string& op : host.ops) {
    FUZZ_CHECK(op.find_first_of("\r\n") == std::string::npos);
    const std::string_view name = std::string_view(op).substr(0, op.find(' '));
    FUZZ_CHECK(kOperations.contains(name));
    if (name == "Play") FUZZ_CHECK(kAnimations.contains(std::string_view(op).substr(5)));
  }
  host.ops.clear();
}

void check_state(const Vembrel& form) {
  const LookupState& state = form.lookup_state();
  const std::size_t rows = state.result.words.count();
  FUZZ_CHECK(state.result.definitions.count() == rows);  // a word and its definition go together
  FUZZ_CHECK(state.current_index >= 0);
  if (rows > 0) FUZZ_CHECK(static_cast<std::size_t>(state.current_index) < rows);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  make_app_dir();
  std::atexit(remove_app_dir);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(bytes), size);
  RecordingHost host;
  ScriptedDialog dialog;
  QuietDesktop desktop;
  Vembrel form(host, dialog, desktop, g_app_dir);
  FUZZ_CHECK(form.start(15360).ok() && form.character() != nullptr);
  check_ops(host);

  // Lines as std::getline splits them: at LF, with a last line that has none.
  while (!input.empty() && !desktop.quitted) {
    const std::size_t lf = input.find('\n');
    const std::string_view line = input.substr(0, lf);
    input.remove_prefix(lf == std::string_view::npos ? input.size() : lf + 1);

    const CommandLine command = parse_command_line(line);
    FUZZ_CHECK(command.error.empty() || command.item == nullptr);
    if (command.item == nullptr) continue;
    dialog.typed = command.typed;
    form.run(*command.item);
    check_ops(host);
    check_state(form);
  }
  return 0;
}
