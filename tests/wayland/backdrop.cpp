// A one-colour window for the Wayland end-to-end test: maximised, or full screen given "full".
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget w(nullptr, Qt::FramelessWindowHint);
  w.setPalette(QColor(0x2d6a4f));
  argc > 1 && QString(argv[1]) == "full" ? w.showFullScreen() : w.showMaximized();
  return app.exec();
}
