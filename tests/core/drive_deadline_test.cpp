// Drive titles when volumes answer late or never: one deadline for all, failed-query titles.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "fakes/fake_os.h"
#include "fakes/harness.h"
#include "launcher/drive_list.h"

namespace kv::test {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// Room for a loaded machine to start threads and wake the waiter.
constexpr milliseconds kSlack{200};

struct Timed {
  std::vector<std::wstring> titles;
  milliseconds took;
};

Timed TimedDriveList(OsServices& os) {
  const auto start = Clock::now();
  const FolderArray list = GetDriveList(os);
  Timed out{{}, std::chrono::duration_cast<milliseconds>(Clock::now() - start)};
  for (const auto& e : list) out.titles.push_back(e.Title);
  return out;
}

std::shared_ptr<DriveGate> Shut() { return std::make_shared<DriveGate>(); }

TEST(DriveDeadline, OneHungDriveAmongThreeGetsTheFailedQueryTitleWithinTheDeadline) {
  const std::wstring d = L"D:\\", remote = L"D:\\ [ネットワークドライブ]";
  struct Case {
    const char* name;
    FakeDrive hung;
    std::wstring title;
  } cases[] = {
      {"type never answers", {d, L"", kDriveRemote, true, Shut(), nullptr}, d},
      {"label never answers", {d, L"", kDriveRemote, true, nullptr, Shut()}, remote},
      {"labelled, label never answers", {d, L"NAS", kDriveRemote, true, nullptr, Shut()}, remote},
      {"type unknown, label never answers", {d, L"", 9, true, nullptr, Shut()}, d},
      {"not yet known to be a file", {d, L"", kDriveFixed, false, Shut(), nullptr}, d},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeOs os;
    os.drives = {{L"C:\\", L"", kDriveFixed}, c.hung, {L"E:\\", L"DATA", kDriveCdrom}};
    const Timed t = TimedDriveList(os);
    EXPECT_EQ(t.titles,
              (std::vector<std::wstring>{L"C:\\ [ローカルディスク]", c.title, L"E:\\ [DATA]"}));
    EXPECT_GE(t.took, kDriveDeadline - milliseconds(5));
    EXPECT_LT(t.took, kDriveDeadline + kSlack);
  }
}

TEST(DriveDeadline, OneDeadlineForAllDrives) {
  // Each answers in 100 ms: one after another, the third would miss the deadline.
  const auto slow = [] { return std::make_shared<DriveGate>(milliseconds(100)); };
  FakeOs os;
  os.drives = {{L"C:\\", L"A", kDriveFixed, true, nullptr, slow()},
               {L"D:\\", L"B", kDriveFixed, true, slow(), nullptr},
               {L"E:\\", L"C", kDriveRemovable, true, nullptr, slow()}};
  Timed t = TimedDriveList(os);
  EXPECT_EQ(t.titles, (std::vector<std::wstring>{L"C:\\ [A]", L"D:\\ [B]", L"E:\\ [C]"}));
  EXPECT_LT(t.took, kDriveDeadline);

  // Three that never answer cost one deadline, not three.
  for (auto& d : os.drives) d.beforeType = Shut();
  t = TimedDriveList(os);
  EXPECT_EQ(t.titles, (std::vector<std::wstring>{L"C:\\", L"D:\\", L"E:\\"}));
  EXPECT_LT(t.took, kDriveDeadline + kSlack);
}

// Every title form, in the enumeration's order, without waiting for the deadline.
TEST(DriveDeadline, DrivesThatAnswerAtOnceGetTheirTitlesAndDoNotWait) {
  FakeOs os;
  os.drives = {{L"C:\\", L"", kDriveFixed},
               {L"D:\\", L"DATA", kDriveFixed},
               {L"E:\\", L"", kDriveCdrom},
               {L"F:\\", L"", kDriveRemovable},
               {L"G:\\", L"", kDriveRemote},
               {L"R:\\", L"", kDriveRamdisk},
               {L"U:\\", L"", kDriveUnknown},
               {L"V:\\", L"", kDriveNoRootDir},
               {L"W:\\", L"", 9},
               {L"X:\\", L"ボリューム", kDriveCdrom}};
  const auto start = Clock::now();
  const FolderArray list = GetDriveList(os);
  EXPECT_LT(Clock::now() - start, kDriveDeadline - milliseconds(50));
  std::vector<std::wstring> titles;
  for (const auto& e : list) {
    titles.push_back(e.Title);
    EXPECT_EQ(e.Path, e.Title.substr(0, 3)) << "the root, with its separator";
  }
  EXPECT_EQ(titles, (std::vector<std::wstring>{
                        L"C:\\ [ローカルディスク]", L"D:\\ [DATA]", L"E:\\ [CD-ROMドライブ]",
                        L"F:\\ [リムーバブル]", L"G:\\ [ネットワークドライブ]",
                        L"R:\\ [RAMディスク]", L"U:\\", L"V:\\", L"W:\\", L"X:\\ [ボリューム]"}));
}

TEST(DriveDeadline, ARootThatAnswersAsAFileIsDroppedTheRestKeepTheirOrder) {
  FakeOs os;
  os.drives = {{L"/", L"", kDriveFixed},
               {L"/srv/notes.txt/", L"", kDriveFixed, false},
               {L"/mnt/nas/", L"", kDriveRemote}};
  EXPECT_EQ(
      TimedDriveList(os).titles,
      (std::vector<std::wstring>{L"/ [ローカルディスク]", L"/mnt/nas/ [ネットワークドライブ]"}));
}

TEST(DriveDeadline, AStepBegunEarlyWaitsOnlyForWhatIsLeftOfItsDeadlineAndIsUsedOnce) {
  Harness h;
  h.os.drives = {{L"C:\\", L"", kDriveFixed}, {L"D:\\", L"", kDriveRemote, true, Shut(), nullptr}};
  h.ctx.EarlyDriveStep = std::make_shared<DriveStep>(h.os);
  std::this_thread::sleep_for(kDriveDeadline - milliseconds(100));  // the toolkit starts
  auto start = Clock::now();
  FolderArray list = GetDriveList(h.ctx);
  EXPECT_LT(Clock::now() - start, milliseconds(100) + kSlack);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].Title, L"D:\\");
  EXPECT_FALSE(h.ctx.EarlyDriveStep);

  // The next list is a step of its own: D: answers now.
  h.os.drives[1].beforeType = nullptr;
  list = GetDriveList(h.ctx);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].Title, L"D:\\ [ネットワークドライブ]");
}

// A query that throws after its first answer has failed; the thread must not take the
// program down with it.
class ThrowingOs : public FakeOs {
 public:
  DriveQuery MakeDriveQuery(const std::wstring& root) override {
    if (root != L"D:\\") return FakeOs::MakeDriveQuery(root);
    return [](DriveReport& report) {
      report.Type(kDriveCdrom);
      throw std::runtime_error("device gone");
    };
  }
};

TEST(DriveDeadline, AQueryThatThrowsKeepsWhatItHadAnswered) {
  ThrowingOs os;
  os.drives = {{L"C:\\", L"", kDriveFixed}, {L"D:\\", L"X", kDriveFixed}};
  const Timed t = TimedDriveList(os);
  EXPECT_EQ(t.titles,
            (std::vector<std::wstring>{L"C:\\ [ローカルディスク]", L"D:\\ [CD-ROMドライブ]"}));
  EXPECT_LT(t.took, kDriveDeadline - milliseconds(50));
}

}  // namespace
}  // namespace kv::test
