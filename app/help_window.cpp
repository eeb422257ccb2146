#include "app/help_window.hpp"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QStringDecoder>
#include <QTextDocument>

#include "lookup/data_file.hpp"
#include "lookup/gbk.hpp"

namespace vembrel {
namespace {

// The default font may have no Chinese (a bare desktop's DejaVu): ask fontconfig, through Qt's
// font database, for the families that write Simplified Chinese, the usual ones first.
QFont help_font() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  QStringList families;
  for (const QString& preferred :
       {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
        QStringLiteral("Noto Sans CJK")})
    if (chinese.contains(preferred)) families.append(preferred);
  if (families.isEmpty() && !chinese.isEmpty()) families.append(chinese.front());
  families.append(font.families());
  font.setFamilies(families);
  if (font.pointSizeF() > 0 && font.pointSizeF() < 11) font.setPointSizeF(11);
  return font;
}

}  // namespace

QString decode_text_file(std::string_view bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);  // drops a byte order mark
  QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (utf8.hasError()) text = QString::fromStdU16String(decode_gbk(bytes));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar(u'\r'), QChar(u'\n'));
  return text;
}

HelpWindow::HelpWindow() {
  setWindowTitle(QStringLiteral("使用帮助"));
  setAccessibleName(windowTitle());
  setReadOnly(true);
  // The keyboard scrolls, selects and copies, as in any viewer.
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setFont(help_font());
  document()->setDocumentMargin(10);
  const QFontMetrics metrics(font());
  resize(metrics.horizontalAdvance(QChar(u'汉')) * 42, metrics.lineSpacing() * 30);
}

QString HelpWindow::showFile(const std::string& path) {
  const DataFile file = read_data_file(path);
  if (!file.ok()) return QString::fromStdU16String(file.error);
  setPlainText(decode_text_file(file.bytes()));
  show();
  raise();
  activateWindow();
  return {};
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

}  // namespace vembrel
