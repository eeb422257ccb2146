#include "app/qt_input_dialog.hpp"

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>

namespace vembrel {

std::u16string QtInputDialog::ask_text(std::u16string_view prompt, std::u16string_view title) {
  const QString prompt_text = QStringView(prompt).toString();
  QInputDialog dialog;
  dialog.setWindowTitle(QStringView(title).toString());
  dialog.setLabelText(prompt_text);
  dialog.setTextValue(QString());
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setOkButtonText(QStringLiteral("确定"));
  dialog.setCancelButtonText(QStringLiteral("取消"));
  // The character is a tool window that stays on top; the dialog must not open behind it.
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
  dialog.setMinimumWidth(360);
  // The prompt labels the text field, so a screen reader says what to type when it gets focus.
  dialog.setAccessibleDescription(prompt_text);
  if (auto* field = dialog.findChild<QLineEdit*>()) {
    field->setAccessibleName(prompt_text);
    if (auto* label = dialog.findChild<QLabel*>()) label->setBuddy(field);
  }
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.textValue().toStdU16String();
}

}  // namespace vembrel
