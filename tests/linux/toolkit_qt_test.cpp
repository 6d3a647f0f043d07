// The Qt toolkit on the offscreen platform: layout, texts, tab order, menu, prompts, list.
#include "toolkit_qt.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <filesystem>

#include "codepage.h"
#include "os_linux.h"
#include "temp_dir.h"
#include "ui/layout.h"

namespace kv::lnx {
namespace {

using testing::TempDir;

// The form's handlers record their calls.
class QtForm : public ::testing::Test, public FormEvents {
 protected:
  static void SetUpTestSuite() {
    std::setlocale(LC_ALL, "C.UTF-8");
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("kv_linux_tests"), nullptr};
    if (QApplication::instance() == nullptr) new QApplication(argc, argv);
  }
  void SetUp() override {
    tk_.CreateForm(SettingsFormSpec(), *this);
    tk_.LoadControls();
  }
  void Add(const std::string& s) { calls_.push_back(s); }
  void OnLoad() override { Add("Load"); }
  void OnRegister() override { Add("OnRegister"); }
  void OnUpdate() override { Add("OnUpdate"); }
  void OnRemove() override { Add("OnRemove"); }
  void OnBrowse() override { Add("OnBrowse"); }
  void OnOk() override { Add("OnOk"); }
  void OnCancel() override { Add("OnCancel"); }
  void OnFolderSelected() override { Add("OnFolderSelected"); }
  void OnFolderHover() override { Add("OnFolderHover"); }

  // Runs `act` on the modal window of type W that `block` opens and returns what `block` does.
  template <typename W, typename Act, typename Block>
  static auto OnModal(Act act, Block block) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
      ran = true;
      auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
      ASSERT_NE(w, nullptr);
      act(w);
    });
    const auto result = block();
    EXPECT_TRUE(ran) << "no modal loop ran";
    return result;
  }

  static constexpr Control kList = Control::FolderList;
  std::vector<std::string> calls_;
  QtToolkit tk_{0, nullptr};
  LinuxOsServices os_{{"/nonexistent", "/nonexistent"}, {}, "/nonexistent"};
};

TEST_F(QtForm, EveryControlAtItsTablePixelsWithItsTexts) {
  // The caption and the client size are seen end to end.
  EXPECT_EQ(tk_.FormWidget()->minimumSize(), tk_.FormWidget()->maximumSize()) << "fixed size";
  for (const ControlSpec& c : SettingsFormSpec().controls) {
    QWidget* w = tk_.Widget(c.role);
    ASSERT_NE(w, nullptr);
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_EQ(w->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15));
    EXPECT_EQ(w->toolTip(), QString::fromWCharArray(c.toolTip));
    EXPECT_EQ(tk_.GetText(c.role), c.caption);
  }
  // One pixel value written out, so that a wrong conversion cannot hide behind the table.
  EXPECT_EQ(tk_.Widget(Control::CancelButton)->geometry(), QRect(328, 232, 73, 25));
}

// A click running its handler and Unload ending the loop (cancel ends the program) are seen end
// to end; the title bar is not.
TEST_F(QtForm, TabOrderFromTheFirstCheckBoxEnterAndEscapePressNothingTitleBarCloseEndsTheLoop) {
  tk_.ShowForm();
  QApplication::setActiveWindow(tk_.FormWidget());
  EXPECT_EQ(QApplication::focusWidget(), tk_.Widget(Control::ShowDrivesBox));
  const Control order[] = {
      Control::ShowDrivesBox,  Control::FolderEntryBox, Control::FolderList,
      Control::RegisterButton, Control::UpdateButton,   Control::RemoveButton,
      Control::NameBox,        Control::PathBox,        Control::BrowseButton,
      Control::OkButton,       Control::CancelButton,   Control::ShowDrivesBox};
  QWidget* w = tk_.Widget(order[0]);
  for (std::size_t i = 1; i < std::size(order); ++i) {
    do w = w->nextInFocusChain();
    while (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(tk_.FormWidget()) ||
           w == tk_.FormWidget());
    EXPECT_EQ(w, tk_.Widget(order[i])) << "step " << i << ": " << w->objectName().toStdString();
  }
  for (Control name : {Control::NameBox, Control::ShowDrivesBox, Control::RegisterButton}) {
    tk_.Widget(name)->setFocus();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) QTest::keyClick(tk_.Widget(name), key);
  }
  EXPECT_TRUE(tk_.FormWidget()->isVisible());
  QTimer::singleShot(3000, tk_.FormWidget(), [] { QApplication::exit(1); });  // no hang
  QTimer::singleShot(0, [&] { tk_.FormWidget()->close(); });
  EXPECT_EQ(tk_.RunEventLoop(), 0) << "the loop kept running";
  EXPECT_TRUE(calls_.empty()) << "no key nor closing runs a handler, so nothing is saved";
  EXPECT_EQ(tk_.RunEventLoop(), 0) << "no window left: nothing to run";
}

TEST_F(QtForm, FormWithoutControlsUntilLoadedThenOnce) {
  QtToolkit tk(0, nullptr);
  tk.CreateForm(SettingsFormSpec(), *this);
  EXPECT_NE(tk.FormWidget(), nullptr);
  EXPECT_TRUE(tk.FormWidget()->children().isEmpty()) << "launcher mode makes no control";
  EXPECT_FALSE(tk.FormWidget()->isVisible());
  tk.LoadControls();
  QWidget* list = tk.Widget(Control::FolderList);
  ASSERT_NE(list, nullptr);
  tk.LoadControls();
  EXPECT_EQ(tk.Widget(Control::FolderList), list) << "a second call makes nothing new";
  EXPECT_EQ(tk.FormWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(),
            static_cast<qsizetype>(SettingsFormSpec().controls.size()));
}

// The popup: one action per item in order, captions literal, at the cursor; the index and the
// keys held come back, a dismissal gives -1.
TEST_F(QtForm, PopupShowsTheItemsAtTheCursorAndReturnsTheChoiceWithItsKeys) {
  const std::vector<PopupItem> items = {{{MenuKind::ProgramName, 0}, L"キヴォレット Ver.1.0"},
                                        {{MenuKind::Line, 0}, L"-"},
                                        {{MenuKind::Drive, 0}, L"/ [ローカルディスク]"},
                                        {{MenuKind::Folder, 1}, L"-"},
                                        {{MenuKind::Folder, 2}, L"A&B"}};
  struct Case {
    int downs;  // Down presses (the first one reaches the top item); -1: Escape
    Qt::KeyboardModifiers held;
    int item;
    unsigned modifiers;
  };
  for (const Case& c :
       {Case{3, {}, 3, 0u}, Case{1, Qt::ShiftModifier, 0, kPopupShift},
        Case{4, Qt::ControlModifier, 4, kPopupCtrl},
        Case{4, Qt::ControlModifier | Qt::ShiftModifier, 4, kPopupShift | kPopupCtrl},
        Case{-1, {}, -1, 0u}}) {
    SCOPED_TRACE(c.downs);
    QCursor::setPos(120, 80);
    std::vector<std::string> shown;
    QPoint at;
    QTimer::singleShot(0, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      QTimer::singleShot(3000, menu, &QMenu::close);  // no hang
      at = menu->pos();
      for (QAction* a : menu->actions())
        shown.push_back(a->isSeparator() ? "<sep>" : a->text().toStdString());
      if (c.downs < 0) return QTest::keyClick(menu, Qt::Key_Escape);
      for (int i = 0; i < c.downs; ++i) QTest::keyClick(menu, Qt::Key_Down);
      // The keys stay down until the popup has returned.
      if (c.held & Qt::ShiftModifier) QTest::keyPress(menu, Qt::Key_Shift, c.held);
      if (c.held & Qt::ControlModifier) QTest::keyPress(menu, Qt::Key_Control, c.held);
      QTest::keyPress(menu, Qt::Key_Return, c.held);
    });
    const PopupChoice choice = tk_.PopupItems(items);
    QTest::keyRelease(tk_.FormWidget(), Qt::Key_Shift, Qt::NoModifier);
    EXPECT_EQ(shown, (std::vector<std::string>{"キヴォレット Ver.1.0", "<sep>",
                                               "/ [ローカルディスク]", "-", "A&&B"}));
    EXPECT_EQ(at, QPoint(120, 80));
    EXPECT_EQ(choice.item, c.item);
    EXPECT_EQ(choice.modifiers, c.modifiers);
  }
  EXPECT_TRUE(calls_.empty()) << "the toolkit runs no handler";
}

TEST_F(QtForm, MessageBoxAnswersAndLooksAndBrowseReturnsTheChosenFolderOrNothing) {
  const auto ask = [&](MsgStyle style, QMessageBox::StandardButton press) {
    return OnModal<QMessageBox>(
        [&](QMessageBox* box) {
          EXPECT_EQ(box->text(), QStringLiteral("一行目\n二行目 <b>x</b>"));
          EXPECT_EQ(box->windowTitle(), QStringLiteral("キヴォレット"));
          EXPECT_EQ(box->icon(), QMessageBox::Warning);
          if (style == MsgStyle::WarningYesNo) {
            EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
            EXPECT_EQ(box->button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
          }
          box->button(press)->click();
        },
        [&] { return tk_.MsgBox(L"一行目\r\n二行目 <b>x</b>", style); });
  };
  EXPECT_EQ(ask(MsgStyle::WarningYesNo, QMessageBox::Yes), MsgAnswer::Yes);
  EXPECT_EQ(ask(MsgStyle::WarningYesNo, QMessageBox::No), MsgAnswer::No);
  EXPECT_EQ(ask(MsgStyle::Warning, QMessageBox::Ok), MsgAnswer::Ok);
  TempDir dir;
  std::filesystem::create_directory(dir / "写真");
  const auto browse = [&](const std::string& choose) {  // empty: cancel
    return OnModal<QFileDialog>(
        [&](QFileDialog* dlg) {
          EXPECT_EQ(dlg->windowTitle(), QStringLiteral("ﾌｫﾙﾀﾞを選択してください"));
          if (choose.empty()) return dlg->reject();
          dlg->setDirectory(QString::fromStdString(choose));
          dlg->selectFile(QString::fromStdString(choose));
          static_cast<QDialog*>(dlg)->accept();  // QFileDialog hides its override
        },
        [&] { return os_.BrowseForFolder(tk_.hWnd(), L"ﾌｫﾙﾀﾞを選択してください"); });
  };
  EXPECT_EQ(browse(dir / "写真"), lnx::Decode(dir / "写真"));
  EXPECT_EQ(browse("/"), L"/");
  EXPECT_EQ(browse(""), L"");
}

TEST_F(QtForm, ListClicksComeFromTheUserAndPointsMapToItems) {
  for (const wchar_t* s : {L"a", L"b", L"c"}) tk_.AddItem(kList, s);
  tk_.ShowForm();
  auto* lw = qobject_cast<QListWidget*>(tk_.Widget(kList));
  const auto centre = [&](int row) { return lw->visualItemRect(lw->item(row)).center(); };
  const auto itemAt = [&](QPoint local) {
    const QPoint g = lw->viewport()->mapToGlobal(local);
    return os_.LBItemFromPt(tk_.hWnd(kList), {g.x(), g.y()}, true);
  };
  EXPECT_EQ(itemAt(centre(2)), 2);
  EXPECT_EQ(itemAt(lw->visualItemRect(lw->item(0)).topLeft()), 0);
  EXPECT_EQ(itemAt({5, lw->viewport()->height() - 2}), -1) << "below the last item";
  EXPECT_EQ(itemAt({-3, 5}), -1) << "left of the list";

  EXPECT_EQ(tk_.ListIndex(kList), -1);
  QTest::mouseClick(lw->viewport(), Qt::LeftButton, {}, centre(1));
  EXPECT_EQ(tk_.ListIndex(kList), 1);
  QTest::mouseClick(lw->viewport(), Qt::LeftButton, {}, centre(1));  // already selected
  QTest::mouseMove(lw->viewport(), centre(2));
  tk_.RemoveItem(kList, 1);
  EXPECT_EQ(tk_.ListIndex(kList), -1);
  EXPECT_EQ(tk_.ListCount(kList), 2);
  EXPECT_EQ(tk_.GetListItem(kList, 1), L"c");
  EXPECT_EQ(calls_,
            (std::vector<std::string>{"OnFolderSelected", "OnFolderSelected", "OnFolderHover"}))
      << "one Click per click, none from the removal";
}

TEST_F(QtForm, DirectoryTest) {
  TempDir dir;
  testing::WriteBytes(dir / "file", "x");
  const auto dirTest = [&](const std::wstring& name, DirectoryState expected) {
    const DirectoryState r = tk_.TestDirectory(lnx::Decode(dir.path()) + name);
    EXPECT_EQ(r, expected) << lnx::EncodeLossy(name);
  };
  // An existing folder (with a trailing slash) is found: end to end.
  dirTest(L"/file/", DirectoryState::NotFound);
  dirTest(L"/file", DirectoryState::NotFound);
  dirTest(L"/missing/", DirectoryState::NotFound);
  dirTest(std::wstring(L"/a\0b", 4), DirectoryState::BadName);
  dirTest(std::wstring(L"/") + wchar_t(0xD800), DirectoryState::BadName);
  dirTest(L"/" + std::wstring(300, L'x') + L"/", DirectoryState::BadName);
}

TEST(QtEnvironment, CommandLineIsTheArgumentsJoined) {
  char a0[] = "/x/kivoret", a1[] = "/home/u/My Photos", a2[] = "more";
  char* argv[] = {a0, a1, a2, nullptr};
  EXPECT_EQ(QtToolkit(3, argv).CommandLine(), L"/home/u/My Photos more");
}

}  // namespace
}  // namespace kv::lnx
