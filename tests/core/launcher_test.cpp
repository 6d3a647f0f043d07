// The drive titles and the launcher popup: its items, and what choosing one does.
#include <gtest/gtest.h>

#include "fakes/harness.h"
#include "launcher/drive_list.h"

namespace kv::test {
namespace {

TEST(DriveListTest, TitleFormsAndOrder) {
  FakeOs os;
  os.drives = {{L"C:\\", L"", kDriveFixed},        {L"D:\\", L"DATA", kDriveFixed},
               {L"E:\\", L"", kDriveCdrom},        {L"F:\\", L"", kDriveRemovable},
               {L"G:\\", L"", kDriveRemote},       {L"R:\\", L"", kDriveRamdisk},
               {L"U:\\", L"", kDriveUnknown},      {L"V:\\", L"", kDriveNoRootDir},
               {L"W:\\", L"", 9},                  {L"X:\\", L"ボリューム", kDriveCdrom}};
  const FolderArray list = Module1::GetDriveList(os);
  std::vector<std::wstring> titles;
  for (const auto& e : list) {
    titles.push_back(e.Title);
    EXPECT_EQ(e.Path.back(), L'\\');
  }
  EXPECT_EQ(titles, (std::vector<std::wstring>{
                        L"C:\\ [ローカルディスク]", L"D:\\ [DATA]", L"E:\\ [CD-ROMドライブ]",
                        L"F:\\ [リムーバブル]", L"G:\\ [ネットワークドライブ]", L"R:\\ [RAMディスク]",
                        L"U:\\", L"V:\\", L"W:\\", L"X:\\ [ボリューム]"}));
  EXPECT_EQ(list.front().Path, L"C:\\");
  EXPECT_EQ(list.back().Path, L"X:\\");
}

class LauncherTest : public ::testing::Test {
 protected:
  Harness h;
  void Run() {
    form = std::make_unique<Form1>(h.ctx);
    form->Show();
  }
  std::unique_ptr<Form1> form;
};

constexpr const wchar_t* kName = L"キヴォレット Ver.1.0";

TEST_F(LauncherTest, NoDrivesShownAndNoFolders) {
  h.ctx.ShowDrives = 0;
  h.os.drives = {{L"C:\\", L"", kDriveFixed}};
  Run();
  EXPECT_EQ(h.tk.VisibleCaptions(), (std::vector<std::wstring>{kName, L"-"}));
  EXPECT_TRUE(form->DriveList.empty());
}

TEST_F(LauncherTest, DrivesOnly) {
  h.os.drives = {{L"C:\\", L"", kDriveFixed}, {L"D:\\", L"DATA", kDriveFixed}};
  Run();
  EXPECT_EQ(h.tk.VisibleCaptions(), (std::vector<std::wstring>{kName, L"-", L"C:\\ [ローカルディスク]",
                                                               L"D:\\ [DATA]"}));
  EXPECT_EQ(h.tk.popupFlags, vbPopupMenuRightButton);
  EXPECT_EQ(h.os.foregrounded, std::vector<NativeHandle>{h.tk.hWnd(nullptr)});
}

TEST_F(LauncherTest, ThreeFoldersAndTheSecondChosen) {
  h.ctx.ShowDrives = 0;
  h.AddFolders({{L"A", L"C:\\A\\"}, {L"B & C", L"C:\\B\\"}, {L"-", L"C:\\D\\"}});
  h.tk.popupChoice = MenuRef{MenuKind::Folder, 2};
  Run();
  EXPECT_EQ(h.tk.VisibleCaptions(), (std::vector<std::wstring>{kName, L"-", L"A", L"B & C", L"-"}));
  EXPECT_EQ(h.os.opened, std::vector<std::wstring>{L"C:\\B\\"});
  EXPECT_EQ(h.tk.log, (std::vector<std::string>{"create", "popup", "popup closed", "unload", "end"}));
}

TEST_F(LauncherTest, DrivesComeBeforeFolders) {
  h.ctx.ShowDrives = 2;  // as a hand-edited file might hold, before loading clamps it
  h.os.drives = {{L"C:\\", L"", kDriveFixed}};
  h.AddFolders({{L"A", L"C:\\A\\"}});
  h.tk.popupChoice = MenuRef{MenuKind::Drive, 0};
  Run();
  EXPECT_EQ(h.tk.VisibleCaptions(),
            (std::vector<std::wstring>{kName, L"-", L"C:\\ [ローカルディスク]", L"A"}));
  EXPECT_EQ(h.os.opened, std::vector<std::wstring>{L"C:\\"});
}

TEST_F(LauncherTest, EmptyDriveListShowsNoBlankItem) {
  h.AddFolders({{L"A", L"C:\\A\\"}});
  Run();
  EXPECT_EQ(h.tk.VisibleCaptions(), (std::vector<std::wstring>{kName, L"-", L"A"}));
}

TEST_F(LauncherTest, ProgramNameOpensNothing) {
  h.os.drives = {{L"C:\\", L"", kDriveFixed}};
  h.tk.popupChoice = MenuRef{MenuKind::ProgramName, 0};
  Run();
  EXPECT_TRUE(form->ShowSettings);
  EXPECT_TRUE(h.os.opened.empty());
  EXPECT_FALSE(h.tk.Logged("end"));
}

}  // namespace
}  // namespace kv::test
