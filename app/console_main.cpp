// vembrel-console: the program without a screen. It reads menu commands from standard input
// and writes every operation the program asks of the character host to standard output.

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <utility>

#include "app/app_dir.hpp"
#include "app/scripted_dialog.hpp"
#include "app/vembrel.hpp"
#include "host/op_log.hpp"
#include "lookup/data_file.hpp"
#include "menu/command_line.hpp"

namespace {

using namespace vembrel;

// The console has no screen, so it uses the width of an ordinary 1024-pixel one.
constexpr double kConsoleScreenTwips = 15360;

class ConsoleDesktop : public Desktop {
 public:
  std::string openHelp(const std::string& path) override {
    const DataFile help = read_data_file(path);
    if (!help.ok()) return "cannot read the help text";
    std::fwrite(help.bytes().data(), 1, help.bytes().size(), stderr);
    return {};
  }
  void reportProblem(const std::string& message) override {
    std::fprintf(stderr, "vembrel-console: %s\n", message.c_str());
  }
  void quit() override {
    std::fflush(stdout);
    std::_Exit(0);
  }
};

void print_op(const std::string& op) {
  std::fwrite(op.data(), 1, op.size(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace

int main() {
  std::ios::sync_with_stdio(false);
  OpLogHost host(print_op);
  ScriptedDialog dialog;
  ConsoleDesktop desktop;
  Vembrel form(host, dialog, desktop, application_directory());
  if (const LoadStatus status = form.start(kConsoleScreenTwips); !status.ok()) {
    std::fprintf(stderr, "vembrel-console: %s\n", status.error.c_str());
    return 1;
  }
  std::fflush(stdout);

  for (std::string line; std::getline(std::cin, line);) {
    const CommandLine command = parse_command_line(line);
    if (!command.error.empty()) {
      std::fprintf(stderr, "vembrel-console: %s; line skipped\n", command.error.c_str());
      continue;
    }
    if (command.item == nullptr) continue;
    dialog.typed = command.typed;
    form.run(*command.item);
    dialog.typed.clear();
    std::fflush(stdout);
  }
  return 0;
}
