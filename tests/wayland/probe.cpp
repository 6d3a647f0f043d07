// Helper of the Wayland end-to-end test.
//   probe backdrop             a plain native window in the backdrop colour, under the pointer
//   probe analyse SHOT SCALE [#RRGGBB]
//                              where the popup is in a screenshot of the backdrop (or of a plain
//                              background of that colour), and its rows:
//                              "box X Y W H", then top to bottom "text X0 X1 Y0 Y1" or "line Y0 Y1"
#include <QApplication>
#include <QImage>
#include <QScreen>
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

int Analyse(const char* file, int scale, QColor around) {
  const QImage shot = QImage(QString::fromLocal8Bit(file)).convertToFormat(QImage::Format_RGB32);
  if (shot.isNull()) return std::fprintf(stderr, "cannot read %s\n", file), 2;
  const QRgb backdrop = around.rgb();
  QRect box;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x)
      if (!Near(shot.pixel(x, y), backdrop)) box |= QRect(x, y, 1, 1);
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
  if ((argc == 4 || argc == 5) && std::string_view(argv[1]) == "analyse")
    return Analyse(argv[2], std::atoi(argv[3]), argc == 5 ? QColor(argv[4]) : kBackdrop);
  QApplication app(argc, argv);
  if (argc == 2 && std::string_view(argv[1]) == "backdrop") {
    QWidget w(nullptr, Qt::FramelessWindowHint);
    w.setWindowTitle(QStringLiteral("kv-backdrop"));
    QPalette p = w.palette();
    p.setColor(QPalette::Window, kBackdrop);
    w.setPalette(p);
    w.setAutoFillBackground(true);
    // A fixed size floats on sway, where a tiled window would get a title bar.
    if (QScreen* screen = QGuiApplication::primaryScreen()) w.setFixedSize(screen->size());
    w.show();
    return app.exec();
  }
  std::fprintf(stderr, "usage: probe backdrop | analyse SHOT SCALE [#RRGGBB]\n");
  return 2;
}
