#include "app/command_options.hpp"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace vembrel {

void add_options(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      QStringLiteral("A desktop character that looks up Chinese in six dictionaries."));
  // Not addHelpOption(): its --help-all offers Qt's own options, which this program does not take.
  parser.addOption(
      {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Print this help and exit.")});
  parser.addOption({{QStringLiteral("v"), QStringLiteral("version")},
                    QStringLiteral("Print the version and exit.")});
}

std::optional<int> answer_console_options(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  add_options(parser);
  if (!parser.parse(arguments)) {
    std::fprintf(stderr, "vembrel: %s Try vembrel --help.\n", qPrintable(parser.errorText()));
    return 2;
  }
  if (parser.isSet(QStringLiteral("version"))) {
    std::printf("vembrel %s\n", VEMBREL_VERSION);
    return 0;
  }
  if (parser.isSet(QStringLiteral("help"))) {
    // The help text names the program from the application object's arguments.
    QCoreApplication console(argc, argv);
    std::fputs(qPrintable(parser.helpText()), stdout);
    return 0;
  }
  return std::nullopt;
}

}  // namespace vembrel
