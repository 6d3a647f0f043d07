// Drive titles, and volumes that answer late or never: one deadline for all.
#include <gtest/gtest.h>

#include <thread>

#include "fakes/harness.h"
#include "launcher/drive_list.h"

namespace kv::test {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;
constexpr milliseconds kSlack{200};  // for a loaded machine to start threads and wake the waiter

std::vector<std::wstring> Titles(OsServices& os, milliseconds atLeast, milliseconds atMost) {
  const auto start = Clock::now();
  std::vector<std::wstring> out;
  for (const auto& e : GetDriveList(os)) out.push_back(e.Title);
  EXPECT_GE(Clock::now() - start, atLeast);
  EXPECT_LT(Clock::now() - start, atMost);
  return out;
}

// Every title form, in order; a root that answers as a file is dropped. Drives that answer
// are not waited for; one that hangs gets the title of a failed query at the deadline.
TEST(DriveListTest, TitlesWithinOneDeadline) {
  FakeOs os;
  os.drives = {{L"C:\\", L"", kDriveFixed},   {L"D:\\", L"DATA", kDriveFixed},
               {L"E:\\", L"", kDriveCdrom},   {L"F:\\", L"", kDriveRemovable},
               {L"G:\\", L"", kDriveRemote},  {L"N:\\", L"", kDriveFixed, false},
               {L"R:\\", L"", kDriveRamdisk}, {L"W:\\", L"", 9}};
  EXPECT_EQ(
      Titles(os, {}, kDriveDeadline - milliseconds(50)),
      (std::vector<std::wstring>{L"C:\\ [ローカルディスク]", L"D:\\ [DATA]",
                                 L"E:\\ [CD-ROMドライブ]", L"F:\\ [リムーバブル]",
                                 L"G:\\ [ネットワークドライブ]", L"R:\\ [RAMディスク]", L"W:\\"}));
  const std::wstring d = L"D:\\";
  for (const auto& [hung, title] :
       {std::pair{FakeDrive{d, L"", kDriveRemote, true, kHung}, d},
        {FakeDrive{d, L"NAS", kDriveRemote, true, {}, kHung}, d + L" [ネットワークドライブ]"}}) {
    os.drives = {{L"C:\\", L"", kDriveFixed}, hung, {L"E:\\", L"DATA", kDriveCdrom}};
    EXPECT_EQ(Titles(os, kDriveDeadline - milliseconds(5), kDriveDeadline + kSlack),
              (std::vector<std::wstring>{L"C:\\ [ローカルディスク]", title, L"E:\\ [DATA]"}));
  }
}

TEST(DriveListTest, AStepBegunEarlyWaitsOnlyForWhatIsLeftAndIsUsedOnce) {
  Harness h;
  h.os.drives = {{L"C:\\", L"", kDriveFixed}, {L"D:\\", L"", kDriveRemote, true, kHung}};
  h.ctx.EarlyDriveStep = std::make_shared<DriveStep>(h.os);
  std::this_thread::sleep_for(kDriveDeadline - milliseconds(100));  // the toolkit starts
  const auto start = Clock::now();
  EXPECT_EQ(GetDriveList(h.ctx).at(1).Title, L"D:\\");
  EXPECT_LT(Clock::now() - start, milliseconds(100) + kSlack);
  EXPECT_FALSE(h.ctx.EarlyDriveStep);
  h.os.drives[1].typeDelay = {};  // the next list is a step of its own
  EXPECT_EQ(GetDriveList(h.ctx).at(1).Title, L"D:\\ [ネットワークドライブ]");
}

}  // namespace
}  // namespace kv::test
