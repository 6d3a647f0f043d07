// Baseline: a bare Qt program that pops a menu of the program-name item, a line and N items at
// the cursor, and nothing else.
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <cstdlib>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int n = argc > 1 ? std::atoi(argv[1]) : 0;
  QMenu menu;
  menu.addAction(QStringLiteral("キヴォレット Ver.1.0"));
  menu.addSeparator();
  for (int i = 1; i <= n; ++i)
    menu.addAction(QStringLiteral("Folder %1").arg(i, 3, 10, QLatin1Char('0')));
  menu.exec(QCursor::pos());
  return 0;
}
