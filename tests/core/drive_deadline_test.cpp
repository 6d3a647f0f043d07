// Drive titles, and volumes that answer late or never: one deadline for all.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "fakes/harness.h"
#include "launcher/drive_list.h"

namespace kv::test {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;
constexpr milliseconds kSlack{200};  // for a loaded machine to start threads and wake the waiter

std::vector<std::wstring> Titles(OsServices& os, milliseconds atMost) {
  const auto start = Clock::now();
  std::vector<std::wstring> out;
  for (const auto& e : GetDriveList(os)) out.push_back(e.Title);
  EXPECT_LT(Clock::now() - start, atMost);
  return out;
}
std::shared_ptr<DriveGate> Shut() { return std::make_shared<DriveGate>(); }

// Every title form, in order, at once; a root that answers as a file is dropped.
TEST(DriveListTest, TitlesOfDrivesThatAnswerAtOnce) {
  FakeOs os;
  os.drives = {{L"C:\\", L"", kDriveFixed},     {L"D:\\", L"DATA", kDriveFixed},
               {L"E:\\", L"", kDriveCdrom},     {L"F:\\", L"", kDriveRemovable},
               {L"G:\\", L"", kDriveRemote},    {L"N:\\", L"", kDriveFixed, false},
               {L"R:\\", L"", kDriveRamdisk},   {L"U:\\", L"", kDriveUnknown},
               {L"V:\\", L"", kDriveNoRootDir}, {L"W:\\", L"", 9}};
  EXPECT_EQ(Titles(os, kDriveDeadline - milliseconds(50)),
            (std::vector<std::wstring>{L"C:\\ [ローカルディスク]", L"D:\\ [DATA]",
                                       L"E:\\ [CD-ROMドライブ]", L"F:\\ [リムーバブル]",
                                       L"G:\\ [ネットワークドライブ]", L"R:\\ [RAMディスク]",
                                       L"U:\\", L"V:\\", L"W:\\"}));
}

TEST(DriveListTest, AHungDriveGetsTheFailedQueryTitleWithinOneDeadline) {
  const std::wstring d = L"D:\\", remote = L"D:\\ [ネットワークドライブ]";
  const std::pair<FakeDrive, std::wstring> cases[] = {
      {{d, L"", kDriveRemote, true, Shut(), nullptr}, d},          // type never answers
      {{d, L"NAS", kDriveRemote, true, nullptr, Shut()}, remote},  // label never answers
      {{d, L"", 9, true, nullptr, Shut()}, d},                     // unknown type
      {{d, L"", kDriveFixed, false, Shut(), nullptr}, d}};         // not yet known as a file
  for (const auto& [hung, title] : cases) {
    FakeOs os;
    os.drives = {{L"C:\\", L"", kDriveFixed}, hung, {L"E:\\", L"DATA", kDriveCdrom}};
    const auto start = Clock::now();
    EXPECT_EQ(Titles(os, kDriveDeadline + kSlack),
              (std::vector<std::wstring>{L"C:\\ [ローカルディスク]", title, L"E:\\ [DATA]"}));
    EXPECT_GE(Clock::now() - start, kDriveDeadline - milliseconds(5));
  }
  // Three that answer in 100 ms each finish together; three that never answer cost one deadline.
  FakeOs os;
  for (const wchar_t* root : {L"C:\\", L"D:\\", L"E:\\"})
    os.drives.push_back(
        {root, L"A", kDriveFixed, true, nullptr, std::make_shared<DriveGate>(milliseconds(100))});
  EXPECT_EQ(Titles(os, kDriveDeadline).back(), L"E:\\ [A]");
  for (auto& drive : os.drives) drive.beforeType = Shut();
  EXPECT_EQ(Titles(os, kDriveDeadline + kSlack).back(), L"E:\\");
}

TEST(DriveListTest, AStepBegunEarlyWaitsOnlyForWhatIsLeftAndIsUsedOnce) {
  Harness h;
  h.os.drives = {{L"C:\\", L"", kDriveFixed}, {L"D:\\", L"", kDriveRemote, true, Shut(), nullptr}};
  h.ctx.EarlyDriveStep = std::make_shared<DriveStep>(h.os);
  std::this_thread::sleep_for(kDriveDeadline - milliseconds(100));  // the toolkit starts
  const auto start = Clock::now();
  EXPECT_EQ(GetDriveList(h.ctx).at(1).Title, L"D:\\");
  EXPECT_LT(Clock::now() - start, milliseconds(100) + kSlack);
  EXPECT_FALSE(h.ctx.EarlyDriveStep);
  h.os.drives[1].beforeType = nullptr;  // the next list is a step of its own
  EXPECT_EQ(GetDriveList(h.ctx).at(1).Title, L"D:\\ [ネットワークドライブ]");
}

// A query that throws after its first answer keeps it; its thread must not end the program.
TEST(DriveListTest, AQueryThatThrowsKeepsWhatItHadAnswered) {
  struct ThrowingOs : FakeOs {
    DriveQuery MakeDriveQuery(const std::wstring& root) override {
      if (root != L"D:\\") return FakeOs::MakeDriveQuery(root);
      return [](DriveReport& report) {
        report.Type(kDriveCdrom);
        throw std::runtime_error("device gone");
      };
    }
  } os;
  os.drives = {{L"C:\\", L"", kDriveFixed}, {L"D:\\", L"X", kDriveFixed}};
  EXPECT_EQ(Titles(os, kDriveDeadline - milliseconds(50)).back(), L"D:\\ [CD-ROMドライブ]");
}

}  // namespace
}  // namespace kv::test
