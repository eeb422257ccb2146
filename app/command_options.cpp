#include "app/command_options.hpp"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "lookup/dictionary_choice.hpp"
#include "lookup/text.hpp"

namespace vembrel {
namespace {

const QString kHelp = QStringLiteral("help");
const QString kVersion = QStringLiteral("version");
const QString kIn = QStringLiteral("in");
const QString kSelection = QStringLiteral("selection");
const QString kClipboard = QStringLiteral("clipboard");

QString dictionary_codes() {
  QStringList codes;
  for (const Dictionary& row : kDictionaries) {
    const std::string_view path = row.path;  // "\data\cy.mdb"
    const std::size_t start = path.rfind('\\') + 1;
    codes << QString::fromLatin1(path.substr(start, path.rfind('.') - start));
  }
  return codes.join(QLatin1Char(' '));
}

}  // namespace

void add_options(QCommandLineParser& parser) {
  parser.setApplicationDescription(
      QStringLiteral("A desktop character that looks up Chinese in six dictionaries.\n"
                     "With a TEXT, --selection or --clipboard, the running character (or a new "
                     "one, after its greeting) looks the text up."));
  // Not addHelpOption(): its --help-all offers Qt's own options, which this program does not take.
  parser.addOption({{QStringLiteral("h"), kHelp}, QStringLiteral("Print this help and exit.")});
  parser.addOption(
      {{QStringLiteral("v"), kVersion}, QStringLiteral("Print the version and exit.")});
  parser.addOption({kIn,
                    QStringLiteral("Look up in dictionary DICT, one of: ") + dictionary_codes() +
                        QStringLiteral(" (sayings, characters, idioms, synonyms, antonyms, "
                                       "classical Chinese). Without it the program chooses."),
                    QStringLiteral("DICT")});
  parser.addOption({kSelection, QStringLiteral("Look up the selected text (the X primary "
                                               "selection), or the clipboard's when nothing is "
                                               "selected.")});
  parser.addOption({kClipboard, QStringLiteral("Look up the clipboard's text.")});
  parser.addPositionalArgument(
      QStringLiteral("TEXT"),
      QStringLiteral("The text to look up; put -- before a text that begins with '-'."),
      QStringLiteral("[--] [TEXT...]"));
}

CommandLine read_command_line(const QStringList& arguments) {
  CommandLine line;
  QCommandLineParser parser;
  add_options(parser);
  if (!parser.parse(arguments)) {
    line.error = parser.errorText().toStdString();
    return line;
  }
  line.help = parser.isSet(kHelp);
  line.version = parser.isSet(kVersion);
  if (line.help || line.version) return line;

  const QStringList words = parser.positionalArguments();
  const bool selection = parser.isSet(kSelection);
  const bool clipboard = parser.isSet(kClipboard);
  if (int(selection) + int(clipboard) + int(!words.isEmpty()) > 1) {
    line.error = "give one of TEXT, --selection and --clipboard.";
    return line;
  }
  LookupRequest lookup;
  if (parser.isSet(kIn)) {
    const QStringList codes = parser.values(kIn);
    if (codes.size() > 1) {
      line.error = "--in given more than once.";
      return line;
    }
    lookup.dictionary = codes.front().toStdString();
    if (dictionary_by_code(lookup.dictionary) == nullptr) {
      line.error = "unknown dictionary '" + lookup.dictionary + "' for --in; choose one of " +
                   dictionary_codes().toStdString() + ".";
      return line;
    }
  }
  if (selection || clipboard) {
    lookup.source = selection ? LookupSource::Selection : LookupSource::Clipboard;
  } else if (!words.isEmpty()) {
    // The shell splits a text at its blanks; put together again, it is what was typed.
    const std::u16string text = words.join(QLatin1Char(' ')).toStdU16String();
    const std::u16string_view tidy = tidy_outside_text(text);
    if (tidy.empty()) {
      line.error = "the text to look up is empty.";
      return line;
    }
    lookup.text = utf16_to_utf8(tidy);
  } else if (!lookup.dictionary.empty()) {
    line.error = "--in needs a TEXT, --selection or --clipboard.";
    return line;
  } else {
    return line;  // nothing to look up: start, or show the running character
  }
  line.lookup = std::move(lookup);
  return line;
}

std::optional<int> answer_console_options(int argc, char** argv,
                                          std::optional<LookupRequest>& lookup) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  const CommandLine line = read_command_line(arguments);
  if (!line.error.empty()) {
    std::fprintf(stderr, "vembrel: %s Try vembrel --help.\n", line.error.c_str());
    return 2;
  }
  if (line.version) {
    std::printf("vembrel %s\n", VEMBREL_VERSION);
    return 0;
  }
  if (line.help) {
    // The help text names the program from the application object's arguments.
    QCoreApplication console(argc, argv);
    QCommandLineParser parser;
    add_options(parser);
    std::fputs(qPrintable(parser.helpText()), stdout);
    return 0;
  }
  lookup = line.lookup;
  return std::nullopt;
}

}  // namespace vembrel
