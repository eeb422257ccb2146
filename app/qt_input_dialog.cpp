#include "app/qt_input_dialog.hpp"

#include <QInputDialog>

namespace vembrel {

std::u16string QtInputDialog::ask_text(std::u16string_view prompt, std::u16string_view title) {
  QInputDialog dialog;
  dialog.setWindowTitle(QStringView(title).toString());
  dialog.setLabelText(QStringView(prompt).toString());
  dialog.setTextValue(QString());
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setOkButtonText(QStringLiteral("确定"));
  dialog.setCancelButtonText(QStringLiteral("取消"));
  // The character is a tool window that stays on top; the dialog must not open behind it.
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
  dialog.setMinimumWidth(360);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.textValue().toStdU16String();
}

}  // namespace vembrel
