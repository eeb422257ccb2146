// vembrel: the desktop program. The character appears at the top right of the screen and
// answers dictionary lookups chosen from its double-click menu, its tray menu or the command
// line.

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>

#include "app/app_dir.hpp"
#include "app/app_icon.hpp"
#include "app/autostart_file.hpp"
#include "app/autostart_item.hpp"
#include "app/command_options.hpp"
#include "app/display_check.hpp"
#include "app/instance_requests.hpp"
#include "app/platform_choice.hpp"
#include "app/reading_pace_item.hpp"
#include "app/shipped_character.hpp"
#include "app/single_instance.hpp"
#include "app/tray_commands.hpp"
#include "app/vembrel_form.hpp"
#include "host/qt/character_file.hpp"

namespace {

int fail(const std::string& message, bool show_dialog) {
  std::fprintf(stderr, "vembrel: %s\n", message.c_str());
  if (show_dialog) QMessageBox::critical(nullptr, "Vembrel", QString::fromStdString(message));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<vembrel::LookupRequest> lookup;
  if (const std::optional<int> status = vembrel::answer_console_options(argc, argv, lookup))
    return *status;
  if (const std::string problem = vembrel::chooseX11Platform(); !problem.empty())
    return fail(problem, false);
  vembrel::install_display_lost_handler();
  if (const std::string problem = vembrel::check_display(); !problem.empty())
    return fail(problem, false);

  // Claimed before anything loads: of two launches at the same moment exactly one goes on,
  // and a second launch that only asks the first to show or to look up need not open the
  // display at all.
  vembrel::SingleInstance instance;
  const vembrel::SingleInstance::Start start = instance.start(
      vembrel::SingleInstance::kPatienceMsec,
      lookup ? vembrel::make_lookup_request(*lookup) : vembrel::InstanceRequest{"show", {}});
  if (start == vembrel::SingleInstance::Start::Shown) return 0;
  if (start == vembrel::SingleInstance::Start::Alone)
    std::fprintf(stderr, "vembrel: %s\n", instance.problem().c_str());

  // The build checked the shipped character's bytes already: only other bytes have their
  // frames checked at start-up.
  vembrel::trustCheckedCharacter(kShippedCharacterDigest);
  const std::string app_dir = vembrel::application_directory();

  QApplication app(argc, argv);
  QApplication::setApplicationName("Vembrel");
  QApplication::setDesktopFileName(vembrel::kDesktopId);
  // The character and its balloon come and go; only quit ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  if (start == vembrel::SingleInstance::Start::NotAnswering) return fail(instance.problem(), true);

  vembrel::VembrelForm form(app_dir);
  const vembrel::LoadStatus status = form.load();
  // Set once the character is on screen: nothing shown before needs it.
  QApplication::setWindowIcon(
      vembrel::applicationIcon(QString::fromStdString(app_dir + "/vembrel.svg")));
  if (!status.ok()) return fail("cannot load the character: " + status.error, true);
  vembrel::add_tray_commands(form.host(),
                             [&form](const vembrel::MenuItem& item) { form.form().run(item); });
  vembrel::add_autostart_item(form.host());
  vembrel::add_reading_pace_menu(form.host());
  instance.serve([&form](const vembrel::InstanceRequest& request) {
    return vembrel::answer_request(form, request);
  });
  // Queued after the greeting: the new character says hello, then answers.
  if (lookup) vembrel::answer_lookup(form, *lookup);
  return app.exec();
}
