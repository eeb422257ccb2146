#include "app/qt_input_dialog.hpp"

#include <QInputDialog>

namespace vembrel {

std::u16string QtInputDialog::InputBox(std::u16string_view prompt, std::u16string_view title) {
  QInputDialog dialog;
  dialog.setWindowTitle(QString::fromUtf16(title.data(), static_cast<qsizetype>(title.size())));
  dialog.setLabelText(QString::fromUtf16(prompt.data(), static_cast<qsizetype>(prompt.size())));
  dialog.setTextValue(QString());
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setOkButtonText(QStringLiteral("确定"));
  dialog.setCancelButtonText(QStringLiteral("取消"));
  // The character is a tool window that stays on top; the dialog must not open behind it.
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
  dialog.setMinimumWidth(360);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QString text = dialog.textValue();
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

}  // namespace vembrel
