#include "app/vembrel.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "lookup/browsing.hpp"
#include "lookup/data_file.hpp"
#include "lookup/hanzi_lookup.hpp"
#include "lookup/phrase_search.hpp"
#include "lookup/text.hpp"

namespace vembrel {

namespace {
int to16(double value) {
  return static_cast<int>(std::clamp(value, double{INT16_MIN}, double{INT16_MAX}));
}
}  // namespace

int character_x(double screen_width_twips) {
  const double x = std::nearbyint(screen_width_twips / 15.0 - 120.0);  // ties to even
  if (std::isnan(x)) return 0;
  return to16(x);
}

Vembrel::Vembrel(CharacterHost& agent, InputDialog& dialog, Desktop& desktop, std::string app_dir)
    : Agent1(agent), dialog_(dialog), desktop_(desktop), app_dir_(std::move(app_dir)) {}

LoadStatus Vembrel::Form_Load(double screen_width_twips, ScreenOrigin origin) {
  current_index = 0;
  return ddh(screen_width_twips, origin);
}

LoadStatus Vembrel::ddh(double screen_width_twips, ScreenOrigin origin) {
  // The form itself is never shown: it only owns the lists, the menu and the host control.
  const std::u16string id(kCharacterId);
  LoadStatus status = Agent1.Load(id, app_file_path(app_dir_, kCharacterFile));
  if (!status.ok()) return status;
  character = Agent1.character(id);
  if (character == nullptr) return {"the character host did not keep the loaded character"};
  character->setHeight(160);
  character->setWidth(130);
  character->MoveTo(to16(static_cast<double>(origin.x) + character_x(screen_width_twips)),
                    to16(origin.y));
  character->setName(u"Vembrel 双击显示菜单");
  character->Show();
  character->Play("wave");
  character->Think(u"Vembrel 欢 迎 你 !");
  character->Think(u"双 击 显 示 菜 单");
  character->Play("congratulate2");
  character->setAutoPopupMenu(false);
  return status;
}

void Vembrel::run(const MenuItem& item) {
  if (character == nullptr) return;
  LookupEnv env{*character, dialog_, app_dir_};
  switch (item.command) {
    case MenuCommand::CloseMenu:
      break;
    case MenuCommand::PhraseLookup:
      phrase_command(*this, env, *item.dictionary);
      break;
    case MenuCommand::HanziLookup:
      hanzi_lookup(*this, env);
      break;
    case MenuCommand::Previous:
      ms(*this, *character);
      break;
    case MenuCommand::Next:
      mx(*this, *character);
      break;
    case MenuCommand::Help:
      help();
      break;
    case MenuCommand::Hide:
      character->Hide();
      break;
    case MenuCommand::Quit:
      desktop_.quit();
      break;
  }
}

void Vembrel::help() {
  const std::string path = app_file_path(app_dir_, kHelpFile);
  // Check first: a viewer asked to open a missing file fails where the user cannot see why.
  const DataFile probe = read_data_file(path);
  std::u16string problem = probe.error;
  if (problem.empty()) problem = utf8_to_utf16(desktop_.openHelp(path));
  if (problem.empty()) return;
  const std::u16string message = u"无法打开帮助文件 " + utf8_to_utf16(path) + u"：" + problem;
  desktop_.reportProblem(utf16_to_utf8(message));
  character->Play("decline");
  character->Think(spaced_text(message));
}

}  // namespace vembrel
