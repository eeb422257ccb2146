#pragma once
// The help text in a window of the program's own, for a desktop where no viewer can show it:
// read-only, scrolling, in a font that has Chinese, closed with Esc.

#include <QPlainTextEdit>
#include <QString>
#include <string>
#include <string_view>

namespace vembrel {

// A text file's bytes as text: UTF-8 when they are valid UTF-8, otherwise GBK.
QString decode_text_file(std::string_view bytes);

class HelpWindow : public QPlainTextEdit {
 public:
  HelpWindow();

  // Reads the file again and shows it in front; the window is reused, never doubled. Returns
  // what kept the file from being read, or an empty text.
  QString showFile(const std::string& path);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vembrel
