// The Qt toolkit on the offscreen platform, where the end-to-end scripts do not reach: tab
// order, the list under the pointer, browse and the directory test (the questions' answers are
// pressed in one_window.sh).
#include "toolkit_qt.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <filesystem>

#include "codepage.h"
#include "os_linux.h"
#include "ui/layout.h"

namespace kv::lnx {
namespace {

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
  // clang-format off
  void OnLoad() override {} void OnRegister() override {} void OnUpdate() override {}
  void OnRemove() override {} void OnBrowse() override {} void OnOk() override {}
  void OnCancel() override {} void OnFolderHover() override {}
  // clang-format on
  void OnFolderSelected() override { ++clicks_; }

  // Runs `act` on the modal window of type W that `block` opens; what `block` returns.
  template <typename W, typename Act, typename Block>
  static auto OnModal(Act act, Block block) {
    QTimer::singleShot(0, [&] { act(qobject_cast<W*>(QApplication::activeModalWidget())); });
    return block();
  }

  int clicks_ = 0;
  QtToolkit tk_{0, nullptr};
  LinuxOsServices os_{{"/nonexistent", "/nonexistent"}, {}, "/nonexistent"};
};

TEST_F(QtForm, TabOrderStartsAtTheFirstCheckBoxAndFollowsTheTable) {
  tk_.ShowForm();
  QApplication::setActiveWindow(tk_.FormWidget());
  const Control order[] = {
      Control::ShowDrivesBox,  Control::FolderEntryBox, Control::FolderList,
      Control::RegisterButton, Control::UpdateButton,   Control::RemoveButton,
      Control::NameBox,        Control::PathBox,        Control::BrowseButton,
      Control::OkButton,       Control::CancelButton,   Control::ShowDrivesBox};
  QWidget* w = QApplication::focusWidget();
  EXPECT_EQ(w, tk_.Widget(order[0]));
  for (std::size_t i = 1; i < std::size(order); ++i) {
    do w = w->nextInFocusChain();
    while (w->focusPolicy() == Qt::NoFocus || w == tk_.FormWidget());
    EXPECT_EQ(w, tk_.Widget(order[i])) << "step " << i;
  }
}

TEST_F(QtForm, ListClicksAndPointsMapToItems) {
  const Control list = Control::FolderList;
  for (const wchar_t* s : {L"a", L"b", L"c"}) tk_.AddItem(list, s);
  tk_.ShowForm();
  auto* lw = qobject_cast<QListWidget*>(tk_.Widget(list));
  const auto at = [&](QPoint local) {
    const QPoint g = lw->viewport()->mapToGlobal(local);
    return os_.LBItemFromPt(tk_.hWnd(list), {g.x(), g.y()}, true);
  };
  const QPoint second = lw->visualItemRect(lw->item(1)).center();
  EXPECT_EQ(at(second), 1);
  EXPECT_EQ(at({5, lw->viewport()->height() - 2}), -1) << "below the last item";
  EXPECT_EQ(at({-3, 5}), -1) << "left of the list";
  QTest::mouseClick(lw->viewport(), Qt::LeftButton, {}, second);
  EXPECT_EQ(tk_.ListIndex(list), 1);
  QTest::mouseClick(lw->viewport(), Qt::LeftButton, {}, second);  // already selected
  tk_.RemoveItem(list, 1);
  EXPECT_EQ(tk_.ListIndex(list), -1);
  EXPECT_EQ(tk_.GetListItem(list, 1), L"c");
  EXPECT_EQ(clicks_, 2) << "one per click, none from the removal";
}

TEST_F(QtForm, BrowseGivesTheChosenFolderOrNothingAndDirTellsBadNames) {
  const std::string dir = std::filesystem::temp_directory_path();
  const auto browse = [&](const std::string& choose) {  // empty: cancel
    return OnModal<QFileDialog>(
        [&](QFileDialog* dlg) {
          EXPECT_EQ(dlg->windowTitle(), QStringLiteral("ﾌｫﾙﾀﾞを選択してください"));
          if (choose.empty()) return dlg->reject();
          dlg->setDirectory(QString::fromStdString(choose));
          dlg->selectFile(QString::fromStdString(choose));
          static_cast<QDialog*>(dlg)->accept();  // QFileDialog hides its override
        },
        [&] { return os_.BrowseForFolder(tk_.hWnd(std::nullopt), L"ﾌｫﾙﾀﾞを選択してください"); });
  };
  EXPECT_EQ(browse(dir), Decode(dir));
  EXPECT_EQ(browse(""), L"");
  for (const auto& [path, expected] :
       std::initializer_list<std::pair<std::wstring, DirectoryState>>{
           {Decode(dir) + L"/", DirectoryState::Found},
           {L"/proc/self/status", DirectoryState::NotFound},
           {L"/nonexistent/", DirectoryState::NotFound},
           {std::wstring(L"/a\0b", 4), DirectoryState::BadName},
           {std::wstring(L"/") + wchar_t(0xD800), DirectoryState::BadName},
           {L"/" + std::wstring(300, L'x') + L"/", DirectoryState::BadName}})
    EXPECT_EQ(tk_.TestDirectory(path), expected) << EncodeLossy(path);
}

}  // namespace
}  // namespace kv::lnx
