#include "app/vembrel.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "lookup/browsing.hpp"
#include "lookup/data_file.hpp"
#include "lookup/dictionary_choice.hpp"
#include "lookup/dictionary_file.hpp"
#include "lookup/hanzi_lookup.hpp"
#include "lookup/phrase_search.hpp"
#include "lookup/text.hpp"

namespace vembrel {

Vembrel::Vembrel(CharacterHost& host, InputDialog& dialog, Desktop& desktop, std::string app_dir)
    : host_(host), dialog_(dialog), desktop_(desktop), app_dir_(std::move(app_dir)) {}

LoadStatus Vembrel::start(double screen_width_twips, ScreenOrigin origin) {
  lookup_state_.current_index = 0;
  return bring_up_character(screen_width_twips, origin);
}

LoadStatus Vembrel::bring_up_character(double screen_width_twips, ScreenOrigin origin) {
  const std::u16string id(kLoadedCharacterId);
  LoadStatus status = host_.load(id, app_file_path(app_dir_, kCharacterFile));
  if (!status.ok()) return status;
  character_ = host_.character(id);
  if (character_ == nullptr) return {"the character host did not keep the loaded character"};
  Character& character = *character_;
  character.set_height(kCharacterHeight);
  character.set_width(kCharacterWidth);
  character.move_to(clamp_to_int16(static_cast<double>(origin.x) + character_x(screen_width_twips)),
                    clamp_to_int16(origin.y));
  character.set_name(u"Vembrel 双击显示菜单");
  character.show();
  character.play(animations::kWave);
  character.think(u"Vembrel 欢 迎 你 !");
  character.think(u"双 击 显 示 菜 单");
  character.play(animations::kCongratulate2);
  character.set_auto_popup_menu(false);
  return status;
}

void Vembrel::run(const MenuItem& item) {
  if (character_ == nullptr) return;
  switch (item.command) {
    case MenuCommand::CloseMenu:
      break;
    case MenuCommand::PhraseLookup:
    case MenuCommand::HanziLookup:
      look_up(*item.dictionary, dialog_.ask_text(item.dictionary->prompt, kAppTitle));
      break;
    case MenuCommand::Previous:
      show_previous_entry(lookup_state_, *character_);
      break;
    case MenuCommand::Next:
      show_next_entry(lookup_state_, *character_);
      break;
    case MenuCommand::Help:
      open_help();
      break;
    case MenuCommand::Hide:
      character_->hide();
      break;
    case MenuCommand::Quit:
      desktop_.quit();
      break;
  }
}

void Vembrel::look_up(const Dictionary& dictionary, std::u16string_view typed) {
  if (character_ == nullptr) return;
  // A pasted text often brings a blank along, which no headword has; only blanks is no text.
  const std::u16string_view text = trim_blanks(typed);
  // Every lookup, a hanzi lookup too, ends the browsing of the earlier phrase result. It goes
  // first: a large one need not stay in memory while the next is made.
  lookup_state_.result = PhraseResult();
  if (text.empty()) return;
  if (dictionary.kind == DictionaryKind::Hanzi) {
    announce_hanzi_result(*character_, look_up_hanzi(dictionary, text, app_dir_));
    return;
  }
  keep_phrase_result(lookup_state_, dictionary, text, search_phrases(dictionary, text, app_dir_));
  announce_phrase_result(*character_, lookup_state_.result, text, lookup_state_.current_index);
}

void Vembrel::look_up_from_outside(const Dictionary* dictionary, std::u16string_view outside,
                                   std::u16string_view empty_thought) {
  if (character_ == nullptr) return;
  const std::u16string_view text = tidy_outside_text(outside);
  if (text.empty()) {
    character_->think(std::u16string(empty_thought));
    return;
  }
  // The menu's hanzi lookup stays silent about a miss, as the user sees the dialog go; a
  // lookup from elsewhere has nothing else to show, so it says that nothing was found.
  const PhraseResult nothing_found;
  if (dictionary != nullptr) {
    if (dictionary->kind == DictionaryKind::Phrase) return look_up(*dictionary, text);
    lookup_state_.result = PhraseResult();
    const HanziResult found = look_up_hanzi(*dictionary, text, app_dir_);
    if (found.lines.empty() && found.failure.empty())
      announce_phrase_result(*character_, nothing_found, text, 0);
    else
      announce_hanzi_result(*character_, found);
    return;
  }
  lookup_state_.result = PhraseResult();
  ChosenLookup chosen = look_up_in_chosen_dictionary(text, app_dir_);
  if (chosen.dictionary == nullptr) {
    if (!chosen.failure.empty())
      announce_failure(*character_, chosen.failure);
    else
      announce_phrase_result(*character_, nothing_found, text, 0);
    return;
  }
  character_->think(dictionary_name_thought(*chosen.dictionary));
  if (chosen.dictionary->kind == DictionaryKind::Hanzi) {
    announce_hanzi_result(*character_, chosen.hanzi);
    return;
  }
  keep_phrase_result(lookup_state_, *chosen.dictionary, text, std::move(chosen.phrases));
  announce_phrase_result(*character_, lookup_state_.result, text, lookup_state_.current_index);
}

void Vembrel::open_help() {
  const std::string path = app_file_path(app_dir_, kHelpFile);
  // Check first: a viewer asked to open a missing file fails where the user cannot see why.
  const DataFile probe = read_data_file(path);
  std::u16string problem = probe.error;
  if (problem.empty()) problem = utf8_to_utf16(desktop_.openHelp(path));
  if (problem.empty()) return;
  const std::u16string message = u"无法打开帮助文件 " + utf8_to_utf16(path) + u"：" + problem;
  desktop_.reportProblem(utf16_to_utf8(message));
  announce_failure(*character_, message);
}

}  // namespace vembrel
