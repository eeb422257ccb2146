// vembrel: the desktop program. The character appears at the top right of the screen and
// answers dictionary lookups chosen from its double-click menu.

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>

#include "app/app_dir.hpp"
#include "app/app_icon.hpp"
#include "app/display_check.hpp"
#include "app/single_instance.hpp"
#include "app/vembrel_form.hpp"
#include "host/qt/character_file.hpp"
#include "host/qt/platform_choice.hpp"
#include "lookup/data_file.hpp"

namespace {

int fail(const std::string& message, bool show_dialog) {
  std::fprintf(stderr, "vembrel: %s\n", message.c_str());
  if (show_dialog) QMessageBox::critical(nullptr, "Vembrel", QString::fromStdString(message));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  vembrel::preferX11Platform();
  if (const std::string problem = vembrel::check_display(); !problem.empty())
    return fail(problem, false);

  // The character file is read while Qt starts; the form takes it over when it loads.
  const std::string app_dir = vembrel::application_directory();
  vembrel::prefetchCharacterFile(
      QString::fromStdString(vembrel::app_file_path(app_dir, vembrel::kCharacterFile)));

  QApplication app(argc, argv);
  QApplication::setApplicationName("Vembrel");
  QApplication::setDesktopFileName("vembrel");
  // The character and its balloon come and go; only quit ends the program.
  QApplication::setQuitOnLastWindowClosed(false);

  vembrel::SingleInstance instance;
  if (instance.askRunningToShow()) return 0;

  vembrel::VembrelForm form(app_dir);
  const vembrel::LoadStatus status = form.load();
  // Set once the character is on screen: nothing shown before needs it.
  QApplication::setWindowIcon(
      vembrel::applicationIcon(QString::fromStdString(app_dir + "/vembrel.svg")));
  if (!status.ok()) return fail("cannot load the character: " + status.error, true);
  if (!instance.serve([&form] { form.showCharacter(); }))
    std::fprintf(stderr,
                 "vembrel: cannot listen for a second launch; it will start another character\n");
  return app.exec();
}
