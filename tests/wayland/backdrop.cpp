// A one-colour window for the Wayland end-to-end test: maximised, or full screen given "full".
#include <QApplication>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget w(nullptr, Qt::FramelessWindowHint);
  QPalette p = w.palette();
  p.setColor(QPalette::Window, QColor(0x2d, 0x6a, 0x4f));
  w.setPalette(p);
  w.setAutoFillBackground(true);
  if (argc > 1 && std::strcmp(argv[1], "full") == 0)
    w.showFullScreen();
  else
    w.showMaximized();
  return app.exec();
}
