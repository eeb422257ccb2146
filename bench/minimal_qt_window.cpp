// The reference for start-up time and memory: the least a Qt program can do to show one
// frameless, translucent, always-on-top window of the character's size.

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

class Window : public QWidget {
 public:
  Window() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle("minimal");
    resize(130, 160);
    move(1160, 0);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::white);
    painter.drawEllipse(rect().adjusted(5, 5, -5, -5));
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Window window;
  window.show();
  return app.exec();
}
