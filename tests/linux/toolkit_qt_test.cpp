// The folder list of the Qt toolkit on the offscreen platform, where the end-to-end scripts do
// not click: the item under the pointer and the clicks (tab order is pressed in
// filemanagers.sh, the questions' answers in one_window.sh).
#include "toolkit_qt.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>
#include <QTest>

#include "os_linux.h"
#include "ui/layout.h"

namespace kv::lnx {
namespace {

struct Events : FormEvents {
  // clang-format off
  void OnLoad() override {} void OnRegister() override {} void OnUpdate() override {}
  void OnRemove() override {} void OnBrowse() override {} void OnOk() override {}
  void OnCancel() override {} void OnFolderHover() override {}
  // clang-format on
  void OnFolderSelected() override { ++clicks; }
  int clicks = 0;
};

TEST(QtForm, ListClicksAndPointsMapToItems) {
  static int argc = 1;
  static char* argv[] = {const_cast<char*>("kv_linux_tests"), nullptr};
  QApplication app(argc, argv);
  Events events;
  QtToolkit tk{0, nullptr};
  LinuxOsServices os{{"/nonexistent", "/nonexistent"}, {}, "/nonexistent"};
  tk.CreateForm(SettingsFormSpec(), events);
  tk.LoadControls();
  const Control list = Control::FolderList;
  for (const wchar_t* s : {L"a", L"b", L"c"}) tk.AddItem(list, s);
  tk.ShowForm();
  auto* lw = qobject_cast<QListWidget*>(tk.Widget(list));
  const auto at = [&](QPoint local) {
    const QPoint g = lw->viewport()->mapToGlobal(local);
    return os.LBItemFromPt(tk.hWnd(list), {g.x(), g.y()}, true);
  };
  const QPoint second = lw->visualItemRect(lw->item(1)).center();
  EXPECT_EQ(at(second), 1);
  EXPECT_EQ(at({5, lw->viewport()->height() - 2}), -1) << "below the last item";
  EXPECT_EQ(at({-3, 5}), -1) << "left of the list";
  QTest::mouseClick(lw->viewport(), Qt::LeftButton, {}, second);
  EXPECT_EQ(tk.ListIndex(list), 1);
  QTest::mouseClick(lw->viewport(), Qt::LeftButton, {}, second);  // already selected
  tk.RemoveItem(list, 1);
  EXPECT_EQ(tk.ListIndex(list), -1);
  EXPECT_EQ(tk.GetListItem(list, 1), L"c");
  EXPECT_EQ(events.clicks, 2) << "one per click, none from the removal";
}

}  // namespace
}  // namespace kv::lnx
