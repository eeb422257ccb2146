#include "app/selection_text.hpp"

#include <QClipboard>
#include <QGuiApplication>

#include "lookup/dictionary_choice.hpp"

namespace vembrel {

QString selected_text(LookupSource source) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return {};
  if (source == LookupSource::Selection && clipboard->supportsSelection()) {
    const QString selected = clipboard->text(QClipboard::Selection);
    if (!tidy_outside_text(selected.toStdU16String()).empty()) return selected;
  }
  return clipboard->text(QClipboard::Clipboard);
}

}  // namespace vembrel
