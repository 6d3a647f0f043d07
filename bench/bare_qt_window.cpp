// Baseline: a bare Qt window of 14 widgets (the settings window's kinds and sizes) whose list
// holds N lines, shown, and nothing else.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <cstdlib>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int n = argc > 1 ? std::atoi(argv[1]) : 0;
  QWidget w;
  w.setWindowTitle(QStringLiteral("キヴォレット - 設定"));
  w.setFixedSize(409, 265);
  const auto place = [&](QWidget* c, int x, int y, int cx, int cy, const char* tip) {
    c->setGeometry(x, y, cx, cy);
    if (tip != nullptr) c->setToolTip(QString::fromUtf8(tip));
  };
  place(new QPushButton(QStringLiteral("キャンセル"), &w), 328, 232, 73, 25, "閉じます。");
  place(new QPushButton(QStringLiteral("OK"), &w), 256, 232, 73, 25, "保存して閉じます。");
  place(new QPushButton(QStringLiteral("..."), &w), 384, 64, 17, 17, "参照します。");
  place(new QLineEdit(&w), 184, 64, 201, 18, "フォルダパスです。");
  place(new QLineEdit(&w), 184, 24, 217, 18, "識別名です。");
  place(new QPushButton(QStringLiteral("解除"), &w), 328, 88, 73, 25, "解除します。");
  place(new QPushButton(QStringLiteral("更新"), &w), 256, 88, 73, 25, "更新します。");
  place(new QPushButton(QStringLiteral("登録"), &w), 184, 88, 73, 25, "登録します。");
  auto* list = new QListWidget(&w);
  place(list, 8, 24, 169, 232, nullptr);
  for (int i = 1; i <= n; ++i)
    list->addItem(QStringLiteral("Folder %1").arg(i, 3, 10, QLatin1Char('0')));
  place(new QCheckBox(QStringLiteral("フォルダの右クリックメニューに追加"), &w), 184, 136, 217, 17,
        "追加します。");
  place(new QCheckBox(QStringLiteral("起動時、ドライブも一覧に表示"), &w), 184, 120, 217, 17,
        "表示します。");
  place(new QLabel(QStringLiteral("フォルダパス"), &w), 184, 48, 73, 17, nullptr);
  place(new QLabel(QStringLiteral("フォルダ識別名"), &w), 184, 8, 89, 17, nullptr);
  place(new QLabel(QStringLiteral("登録フォルダ"), &w), 8, 8, 73, 17, nullptr);
  w.show();
  return QApplication::exec();
}
