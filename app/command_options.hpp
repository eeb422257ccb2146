#pragma once
// The command line. One function declares the options, so every caller parses argv alike;
// --help, --version and a usage error are answered on the console, without a display.

#include <optional>

class QCommandLineParser;

namespace vembrel {

void add_options(QCommandLineParser& parser);

// Answers --help (status 0), --version (0) and an unknown option (2, one line on standard
// error). Returns nothing when the program should go on and start.
std::optional<int> answer_console_options(int argc, char** argv);

}  // namespace vembrel
