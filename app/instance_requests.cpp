#include "app/instance_requests.hpp"

#include "app/selection_text.hpp"
#include "app/vembrel_form.hpp"
#include "lookup/dictionary_choice.hpp"
#include "lookup/text.hpp"

namespace vembrel {

InstanceReply answer_lookup(VembrelForm& form, const LookupRequest& lookup) {
  const Dictionary* dictionary = nullptr;
  if (!lookup.dictionary.empty()) {
    dictionary = dictionary_by_code(lookup.dictionary);
    if (dictionary == nullptr) return {1, "unknown dictionary \"" + lookup.dictionary + "\""};
  }
  std::u16string text;
  std::u16string_view empty_thought = kNothingSelectedThought;
  switch (lookup.source) {
    case LookupSource::Text:
      text = utf8_to_utf16(lookup.text);
      break;
    case LookupSource::Selection:
      text = selected_text(lookup.source).toStdU16String();
      break;
    case LookupSource::Clipboard:
      text = selected_text(lookup.source).toStdU16String();
      empty_thought = kClipboardEmptyThought;
      break;
  }
  form.showCharacter();
  form.form().look_up_from_outside(dictionary, text, empty_thought);
  return {0, {}};
}

InstanceReply answer_request(VembrelForm& form, const InstanceRequest& request) {
  if (request.verb == "show" && request.arguments.empty()) {
    form.showCharacter();
    return {0, {}};
  }
  if (const std::optional<LookupRequest> lookup = read_lookup_request(request))
    return answer_lookup(form, *lookup);
  return {1, "unknown request \"" + request.verb + "\""};
}

}  // namespace vembrel
