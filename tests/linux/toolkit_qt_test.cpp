// The Qt toolkit on the offscreen platform: layout, texts, tab order, menu, prompts, list.
#include "toolkit_qt.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <filesystem>

#include "codepage.h"
#include "os_linux.h"
#include "settings/settings_file.h"
#include "temp_dir.h"
#include "ui/layout.h"

namespace kv {
namespace {

using testing::ReadBytes;
using testing::TempDir;

struct Recorder final : FormEvents {
  std::vector<std::string> calls;
  void Form_Load() override { calls.push_back("Load"); }
  void Command1_Click(std::int16_t i) override { calls.push_back("Command1_" + std::to_string(i)); }
  void Command2_Click() override { calls.push_back("Command2"); }
  void Command3_Click(std::int16_t i) override { calls.push_back("Command3_" + std::to_string(i)); }
  void List1_Click() override { calls.push_back("List1_Click"); }
  void List1_MouseMove(int, int, float, float) override { calls.push_back("MouseMove"); }
  void Menu_ProgramName_Click() override { calls.push_back("ProgramName"); }
  void Menu_Drive_Click(std::int16_t i) override { calls.push_back("Drive_" + std::to_string(i)); }
  void Menu_Folder_Click(std::int16_t i) override {
    calls.push_back("Folder_" + std::to_string(i));
  }
};

class QtForm : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::setlocale(LC_ALL, "C.UTF-8");
    static int argc = 1;
    static char name[] = "kv_linux_tests";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) new QApplication(argc, argv);
  }
  void SetUp() override { tk_.CreateForm(SettingsFormSpec(), events_); }

  // Runs `act` once the modal loop that `block` starts is up.
  template <typename Act, typename Block>
  static void WhileModal(Act act, Block block) {
    QTimer::singleShot(0, act);
    block();
  }

  Recorder events_;
  QtToolkit tk_{0, nullptr};
};

TEST_F(QtForm, EveryControlAtItsTablePixelsWithItsTexts) {
  const FormSpec& spec = SettingsFormSpec();
  EXPECT_EQ(tk_.FormWidget()->windowTitle(), QString::fromWCharArray(spec.caption));
  EXPECT_EQ(tk_.FormWidget()->size(), QSize(409, 265));
  EXPECT_EQ(tk_.FormWidget()->minimumSize(), tk_.FormWidget()->maximumSize()) << "fixed size";
  for (const ControlSpec& c : spec.controls) {
    QWidget* w = tk_.Widget({c.name, c.index});
    ASSERT_NE(w, nullptr);
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_EQ(w->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15));
    EXPECT_EQ(w->toolTip(), QString::fromWCharArray(c.toolTip));
    EXPECT_EQ(tk_.GetText({c.name, c.index}), c.caption);
  }
  // A few pixel values written out, so that a wrong conversion cannot hide behind the table.
  EXPECT_EQ(tk_.Widget({Ctl::Command3, 1})->geometry(), QRect(328, 232, 73, 25));
  EXPECT_EQ(tk_.Widget({Ctl::List1, 0})->geometry(), QRect(8, 24, 169, 232));
  EXPECT_EQ(tk_.Widget({Ctl::Text1, 1})->geometry(), QRect(184, 64, 201, 18));
}

TEST_F(QtForm, NoButtonIsDefaultAndListIsPlainSingleSelection) {
  for (QPushButton* b : tk_.FormWidget()->findChildren<QPushButton*>()) {
    EXPECT_FALSE(b->autoDefault()) << b->text().toStdString();
    EXPECT_FALSE(b->isDefault());
  }
  auto* list = qobject_cast<QListWidget*>(tk_.Widget({Ctl::List1, 0}));
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_FALSE(list->isSortingEnabled());
}

TEST_F(QtForm, TabOrderRunsFromTheFirstCheckBox) {
  tk_.ShowForm();
  QApplication::setActiveWindow(tk_.FormWidget());
  EXPECT_EQ(QApplication::focusWidget(), tk_.Widget({Ctl::Check1, 0}));
  const ControlRef order[] = {{Ctl::Check1, 0},   {Ctl::Check1, 1},   {Ctl::List1, 0},
                              {Ctl::Command1, 0}, {Ctl::Command1, 1}, {Ctl::Command1, 2},
                              {Ctl::Text1, 0},    {Ctl::Text1, 1},    {Ctl::Command2, 0},
                              {Ctl::Command3, 0}, {Ctl::Command3, 1}, {Ctl::Check1, 0}};
  QWidget* w = tk_.Widget(order[0]);
  for (std::size_t i = 1; i < std::size(order); ++i) {
    do w = w->nextInFocusChain();
    while (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(tk_.FormWidget()) ||
           w == tk_.FormWidget());
    EXPECT_EQ(w, tk_.Widget(order[i])) << "step " << i << ": " << w->objectName().toStdString();
  }
}

TEST_F(QtForm, EnterAndEscapePressNothing) {
  tk_.ShowForm();
  QApplication::setActiveWindow(tk_.FormWidget());
  for (ControlRef c :
       {ControlRef{Ctl::Text1, 0}, ControlRef{Ctl::Check1, 0}, ControlRef{Ctl::Command1, 0}}) {
    tk_.Widget(c)->setFocus();
    QTest::keyClick(tk_.Widget(c), Qt::Key_Return);
    QTest::keyClick(tk_.Widget(c), Qt::Key_Escape);
  }
  EXPECT_TRUE(events_.calls.empty());
  EXPECT_TRUE(tk_.FormWidget()->isVisible());
  QTest::mouseClick(tk_.Widget({Ctl::Command3, 1}), Qt::LeftButton);
  EXPECT_EQ(events_.calls, std::vector<std::string>{"Command3_1"});
}

TEST_F(QtForm, MenuItemsFollowLoadCaptionAndVisible) {
  tk_.SetMenuCaption({MenuKind::Drive, 0}, L"/ [ローカルディスク]");
  tk_.LoadMenuElement({MenuKind::Drive, 1});
  tk_.SetMenuCaption({MenuKind::Drive, 1}, L"/mnt/A&B/");
  tk_.SetMenuCaption({MenuKind::Folder, 1}, L"-");
  tk_.LoadMenuElement({MenuKind::Folder, 2});
  tk_.SetMenuCaption({MenuKind::Folder, 2}, L"写真");
  tk_.LoadMenuElement({MenuKind::Drive, 2});  // still lands after the other drives
  tk_.SetMenuCaption({MenuKind::Drive, 2}, L"/home/");
  tk_.SetMenuVisible({MenuKind::Drive, 1}, false);

  std::vector<std::string> shown;
  for (const auto& [ref, a] : tk_.MenuItems()) {
    std::string s = std::to_string(static_cast<int>(ref.kind)) + ":" + std::to_string(ref.index) +
                    " " + (a->isSeparator() ? "<sep>" : a->text().toStdString()) +
                    (a->isVisible() ? "" : " (hidden)");
    shown.push_back(s);
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"0:0 キヴォレット Ver.1.0", "1:0 <sep>",
                                             "2:0 / [ローカルディスク]", "2:1 /mnt/A&&B/ (hidden)",
                                             "2:2 /home/", "3:1 -", "3:2 写真"}));
}

TEST_F(QtForm, PopupRunsTheChosenHandlerBeforeReturning) {
  tk_.SetMenuCaption({MenuKind::Folder, 1}, L"one");
  tk_.LoadMenuElement({MenuKind::Folder, 2});
  tk_.SetMenuCaption({MenuKind::Folder, 2}, L"two");
  QAction* second = tk_.MenuItems().back().second;
  WhileModal(
      [&] {
        QMenu* m = tk_.Menu();
        const QPoint at = m->actionGeometry(second).center();
        // The right button chooses as the left does.
        QTest::mouseMove(m, at);
        QTest::mousePress(m, Qt::RightButton, {}, at);
        QTest::mouseRelease(m, Qt::RightButton, {}, at);
      },
      [&] { tk_.PopupMenu(vbPopupMenuRightButton); });
  EXPECT_EQ(events_.calls, std::vector<std::string>{"Folder_2"});

  events_.calls.clear();
  WhileModal([&] { QTest::keyClick(tk_.Menu(), Qt::Key_Escape); },
             [&] { tk_.PopupMenu(vbPopupMenuRightButton); });
  EXPECT_TRUE(events_.calls.empty()) << "a dismissed menu runs nothing";
  EXPECT_FALSE(tk_.FormWidget()->isVisible()) << "the form never shows in launcher mode";
}

TEST_F(QtForm, UnloadOrTitleBarCloseEndsTheEventLoop) {
  bool timedOut = false;
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [&] {
    timedOut = true;
    QApplication::quit();
  });

  tk_.ShowForm();
  guard.start(3000);
  QTimer::singleShot(0, [&] { tk_.UnloadForm(); });
  EXPECT_EQ(tk_.RunEventLoop(), 0);
  EXPECT_FALSE(timedOut) << "UnloadForm left the loop running";
  EXPECT_FALSE(tk_.FormWidget()->isVisible());

  tk_.ShowForm();
  QTimer::singleShot(0, [&] { tk_.FormWidget()->close(); });
  guard.start(3000);
  EXPECT_EQ(tk_.RunEventLoop(), 0);
  EXPECT_FALSE(timedOut) << "closing the window left the loop running";
  EXPECT_TRUE(events_.calls.empty()) << "closing runs no handler, so nothing is saved";
  EXPECT_EQ(tk_.RunEventLoop(), 0) << "no window left: nothing to run";
}

TEST_F(QtForm, MessageBoxAnswersAndLooks) {
  struct {
    int style;
    QMessageBox::StandardButton press;
    int expected;
  } cases[] = {{vbYesNoExclamation, QMessageBox::Yes, vbYes},
               {vbYesNoExclamation, QMessageBox::No, vbNo},
               {vbExclamation, QMessageBox::Ok, 1}};
  for (const auto& c : cases) {
    QString text, title;
    QMessageBox::Icon icon{};
    int answer = 0;
    WhileModal(
        [&] {
          auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
          ASSERT_NE(box, nullptr);
          text = box->text();
          if (c.style == vbYesNoExclamation) {
            EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
            EXPECT_EQ(box->button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
          }
          title = box->windowTitle();
          icon = box->icon();
          box->button(c.press)->click();
        },
        [&] { answer = tk_.MsgBox(L"一行目\r\n二行目 <b>x</b>", c.style); });
    EXPECT_EQ(answer, c.expected);
    EXPECT_EQ(text, QStringLiteral("一行目\n二行目 <b>x</b>"));
    EXPECT_EQ(title, QStringLiteral("キヴォレット"));
    EXPECT_EQ(icon, QMessageBox::Warning);
  }
}

TEST_F(QtForm, ListClickComesFromUserSelectionOnly) {
  const ControlRef list{Ctl::List1, 0};
  tk_.AddItem(list, L"a");
  tk_.AddItem(list, L"b");
  tk_.AddItem(list, L"c");
  tk_.ShowForm();
  auto* lw = qobject_cast<QListWidget*>(tk_.Widget(list));
  EXPECT_EQ(tk_.ListIndex(list), -1);
  QTest::mouseClick(lw->viewport(), Qt::LeftButton, {}, lw->visualItemRect(lw->item(1)).center());
  EXPECT_EQ(tk_.ListIndex(list), 1);
  QTest::mouseClick(lw->viewport(), Qt::LeftButton, {}, lw->visualItemRect(lw->item(1)).center());
  EXPECT_EQ(events_.calls, (std::vector<std::string>{"List1_Click", "List1_Click"}))
      << "one Click per click, also on the selected item";
  events_.calls.clear();
  QTest::mouseMove(lw->viewport(), lw->visualItemRect(lw->item(2)).center());
  EXPECT_EQ(events_.calls, std::vector<std::string>{"MouseMove"});
  events_.calls.clear();
  tk_.RemoveItem(list, 1);
  EXPECT_EQ(tk_.ListIndex(list), -1);
  EXPECT_EQ(tk_.ListCount(list), 2);
  EXPECT_EQ(tk_.GetListItem(list, 1), L"c");
  EXPECT_TRUE(events_.calls.empty());
}

TEST_F(QtForm, ItemUnderAScreenPoint) {
  const ControlRef list{Ctl::List1, 0};
  for (const wchar_t* s : {L"a", L"b", L"c"}) tk_.AddItem(list, s);
  tk_.ShowForm();
  auto* lw = qobject_cast<QListWidget*>(tk_.Widget(list));
  LinuxOsServices os({"/nonexistent", "/nonexistent"}, {}, "/nonexistent");
  const auto at = [&](QPoint local) {
    const QPoint g = lw->viewport()->mapToGlobal(local);
    return os.LBItemFromPt(tk_.hWnd(&list), {g.x(), g.y()}, true);
  };
  EXPECT_EQ(at(lw->visualItemRect(lw->item(2)).center()), 2);
  EXPECT_EQ(at(lw->visualItemRect(lw->item(0)).topLeft()), 0);
  EXPECT_EQ(at({5, lw->viewport()->height() - 2}), -1) << "below the last item";
  EXPECT_EQ(at({-3, 5}), -1) << "left of the list";
}

TEST_F(QtForm, BrowseReturnsTheChosenFolderOrNothing) {
  TempDir dir;
  std::filesystem::create_directory(dir / "写真");
  LinuxOsServices os({"/nonexistent", "/nonexistent"}, {}, "/nonexistent");
  struct {
    std::string choose;  // empty: cancel
    std::wstring expected;
  } cases[] = {{dir / "写真", linux_cp::Decode(dir / "写真")}, {"/", L"/"}, {"", L""}};
  for (const auto& c : cases) {
    QString title;
    std::wstring got = L"unset";
    WhileModal(
        [&] {
          auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
          ASSERT_NE(dlg, nullptr);
          title = dlg->windowTitle();
          if (c.choose.empty()) {
            dlg->reject();
            return;
          }
          dlg->setDirectory(QString::fromStdString(c.choose));
          dlg->selectFile(QString::fromStdString(c.choose));
          static_cast<QDialog*>(dlg)->accept();  // QFileDialog hides its override
        },
        [&] { got = os.BrowseForFolder(tk_.hWnd(), L"ﾌｫﾙﾀﾞを選択してください"); });
    EXPECT_EQ(got, c.expected) << c.choose;
    EXPECT_EQ(title, QStringLiteral("ﾌｫﾙﾀﾞを選択してください"));
  }
}

TEST(QtEnvironment, DirectoryTest) {
  std::setlocale(LC_ALL, "C.UTF-8");
  TempDir dir;
  testing::WriteBytes(dir / "file", "x");
  std::filesystem::create_directory(dir / "写真");
  QtToolkit tk(0, nullptr);
  const std::wstring base = linux_cp::Decode(dir.path());
  struct {
    std::wstring path;
    DirResult expected;
  } cases[] = {
      {base + L"/写真/", {0, true}},
      {base + L"/", {0, true}},
      {base + L"/file/", {0, false}},
      {base + L"/file", {0, false}},
      {base + L"/missing/", {0, false}},
      {base + std::wstring(L"/a\0b", 4), {52, false}},
      {base + L"/" + wchar_t(0xD800), {52, false}},
      {base + L"/" + std::wstring(300, L'x') + L"/", {52, false}},
  };
  for (const auto& c : cases) {
    const DirResult r = tk.Dir(c.path, vbDirectory);
    EXPECT_EQ(r.error, c.expected.error) << linux_cp::EncodeLossy(c.path);
    EXPECT_EQ(r.found, c.expected.found) << linux_cp::EncodeLossy(c.path);
  }
}

TEST(QtEnvironment, TruncateFileAndTheCreatableSettingsFolder) {
  std::setlocale(LC_ALL, "C.UTF-8");
  TempDir dir;
  QtToolkit tk(0, nullptr);
  testing::WriteBytes(dir / "f", "content");
  EXPECT_TRUE(tk.TruncateFile(linux_cp::Decode(dir / "f")));
  EXPECT_EQ(ReadBytes(dir / "f"), "");
  EXPECT_FALSE(tk.TruncateFile(linux_cp::Decode(dir / "no/such/f")));
  tk.SetCreatableDirectory(linux_cp::Decode(dir / "cfg/kivoret/"));
  EXPECT_TRUE(tk.TruncateFile(linux_cp::Decode(dir / "cfg/kivoret/Setting.ini.new")));
  EXPECT_FALSE(tk.TruncateFile(linux_cp::Decode(dir / "other/x")))
      << "only that one folder is made";
}

TEST(QtEnvironment, ApplicationObject) {
  char a0[] = "/x/kivoret", a1[] = "/home/u/My Photos", a2[] = "more";
  char* argv[] = {a0, a1, a2, nullptr};
  QtToolkit tk(3, argv);
  EXPECT_EQ(tk.CommandLine(), L"/home/u/My Photos more");
  EXPECT_EQ(QtToolkit(1, argv).CommandLine(), L"");
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(tk.AppPath(), exe.parent_path().wstring());
  EXPECT_EQ(tk.EXEName(), exe.filename().wstring());
  EXPECT_EQ(tk.PathSeparator(), L'/');
  EXPECT_EQ(tk.ExeExtension(), L"");
}

// The Linux build's settings file, byte for byte: UTF-8, CR LF, the drive value's blank.
TEST(LinuxSettingsFile, JapaneseSaveIsUtf8WithCrLf) {
  std::setlocale(LC_ALL, "C.UTF-8");
  TempDir dir;
  LinuxOsServices os({dir.path(), dir.path()}, {}, "/nonexistent");
  QtToolkit tk(0, nullptr);
  Module1::Context ctx{os, tk};
  ctx.AppDir = L"/nonexistent/";
  ctx.SettingsDir = linux_cp::Decode(dir.path()) + L"/";
  ctx.FolderList.push_back({L"写真", L"/home/u/写真/"});
  ASSERT_TRUE(Module1::SaveSettings(ctx));
  EXPECT_EQ(ReadBytes(dir / "Setting.ini"),
            "[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=\xE5\x86\x99\xE7\x9C\x9F\r\n"
            "Path=/home/u/\xE5\x86\x99\xE7\x9C\x9F/\r\n");
  EXPECT_FALSE(std::filesystem::exists(dir / "Setting.ini.new"));
  Module1::Context again{os, tk};
  again.SettingsDir = ctx.SettingsDir;
  again.ShowDrives = 0;
  Module1::LoadSettings(again);
  EXPECT_EQ(again.ShowDrives, 1);
  ASSERT_EQ(UBound(again.FolderList), 1);
  EXPECT_EQ(again.FolderList[1].Path, L"/home/u/写真/");
}

}  // namespace
}  // namespace kv
