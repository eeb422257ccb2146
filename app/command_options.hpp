#pragma once
// The command line. One function declares the options, so every caller parses argv alike;
// --help, --version and a usage error are answered on the console, without a display.
//
//   vembrel [--in DICT] [--] TEXT...    look TEXT up (the words joined by blanks)
//   vembrel [--in DICT] --selection      look up the selected text, else the clipboard's
//   vembrel [--in DICT] --clipboard      look up the clipboard's text

#include <QStringList>
#include <optional>
#include <string>

#include "app/instance_protocol.hpp"

class QCommandLineParser;

namespace vembrel {

void add_options(QCommandLineParser& parser);

// What a command line asks for.
struct CommandLine {
  bool help = false;
  bool version = false;
  std::string error;                    // a usage error, in one line: exit status 2
  std::optional<LookupRequest> lookup;  // none: start, or show the running character
};

// Reads `arguments` (the program's name first) without printing anything.
CommandLine read_command_line(const QStringList& arguments);

// Answers --help (status 0), --version (0) and a usage error (2, one line on standard error).
// Returns nothing when the program should go on: then `lookup` holds the lookup asked for,
// if any.
std::optional<int> answer_console_options(int argc, char** argv,
                                          std::optional<LookupRequest>& lookup);

}  // namespace vembrel
