// Helper of the Wayland end-to-end test.
//   probe backdrop max|full    a one-colour native window, maximised or full screen
//   probe analyse BEFORE AFTER SCALE
//                              what changed between two screenshots, and the popup's rows in it:
//                              "box X Y W H", then top to bottom "text X0 X1 Y0 Y1" or "line Y0 Y1"
#include <QApplication>
#include <QImage>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string_view>

namespace {

const QColor kBackdrop(0x2d, 0x6a, 0x4f);

bool Near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
             std::abs(qBlue(a) - qBlue(b)) <=
         24;
}

int Analyse(const char* beforeFile, const char* file, int scale) {
  const QImage before = QImage(beforeFile).convertToFormat(QImage::Format_RGB32);
  const QImage shot = QImage(file).convertToFormat(QImage::Format_RGB32);
  if (shot.isNull() || before.size() != shot.size())
    return std::fputs("bad screenshots\n", stderr), 2;
  QRect box;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x)
      if (!Near(shot.pixel(x, y), before.pixel(x, y))) box |= QRect(x, y, 1, 1);
  if (box.isEmpty()) return std::puts("none"), 0;
  std::printf("box %d %d %d %d\n", box.x(), box.y(), box.width(), box.height());
  // Inside the frame: the menu's own background is its commonest colour.
  const QRect inner = box.adjusted(3 * scale, 3 * scale, -3 * scale, -3 * scale);
  std::map<QRgb, int> counts;
  for (int y = inner.top(); y <= inner.bottom(); y += 2) ++counts[shot.pixel(inner.right(), y)];
  QRgb background = 0;
  for (int best = 0; const auto& [colour, n] : counts)
    if (n > best) best = n, background = colour;
  int bandTop = -1, x0 = 0, x1 = 0;
  for (int y = inner.top(); y <= inner.bottom() + 1; ++y) {
    int first = -1, last = -1;
    if (y <= inner.bottom()) {
      for (int x = inner.left(); x <= inner.right(); ++x) {
        if (Near(shot.pixel(x, y), background)) continue;
        if (first < 0) first = x;
        last = x;
      }
    }
    if (first >= 0) {
      if (bandTop < 0) bandTop = y, x0 = first, x1 = last;
      x0 = std::min(x0, first);
      x1 = std::max(x1, last);
    } else if (bandTop >= 0) {
      const bool line = y - bandTop <= 2 * scale && x1 - x0 > inner.width() * 6 / 10;
      if (line)
        std::printf("line %d %d\n", bandTop, y - 1);
      else
        std::printf("text %d %d %d %d\n", x0, x1, bandTop, y - 1);
      bandTop = -1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string_view(argv[1]) == "analyse")
    return Analyse(argv[2], argv[3], std::atoi(argv[4]));
  QApplication app(argc, argv);
  if (argc == 3 && std::string_view(argv[1]) == "backdrop") {
    QWidget w(nullptr, Qt::FramelessWindowHint);
    w.setWindowTitle(QStringLiteral("kv-backdrop"));
    QPalette p = w.palette();
    p.setColor(QPalette::Window, kBackdrop);
    w.setPalette(p);
    w.setAutoFillBackground(true);
    if (std::string_view(argv[2]) == "full")
      w.showFullScreen();
    else
      w.showMaximized();
    return app.exec();
  }
  std::fputs("usage: probe backdrop max|full | analyse BEFORE AFTER SCALE\n", stderr);
  return 2;
}
