// Saving a long list through the real backend while the process is killed at random moments:
// the file always loads as one complete list, the old or the new, never a part of one.
// KV_SAVE_KILLS sets the number of kills (200 by default), KV_SAVE_SEED the random seed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "codepage.h"
#include "os_linux.h"
#include "settings/settings_file.h"
#include "temp_dir.h"
#include "toolkit_qt.h"

namespace kv {
namespace {

using testing::ReadBytes;
using testing::TempDir;

constexpr int kEntries = 999;

FolderArray List(const std::wstring& tag) {
  FolderArray list = EmptyFolderList();
  for (int k = 1; k <= kEntries; ++k) {
    const std::wstring n = std::to_wstring(k);
    list.push_back({tag + L" フォルダ " + n, L"/home/user/" + tag + L"/写真 " + n + L"/"});
  }
  return list;
}

unsigned long EnvNumber(const char* name, unsigned long def) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? std::strtoul(v, nullptr, 10) : def;
}

class SaveKill : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { std::setlocale(LC_ALL, "C.UTF-8"); }

  // A program's worth of backend and globals on the scratch directory.
  struct Program {
    explicit Program(const std::string& dir)
        : os({dir + "/config", dir + "/data"}, {}, "/nonexistent"), tk(1, argv), ctx(os, tk) {
      ctx.AppDir = lnx::Decode(dir) + L"/";
    }
    char arg0[8] = "kivoret";
    char* argv[2] = {arg0, nullptr};
    lnx::LinuxOsServices os;
    lnx::QtToolkit tk;
    ProgramState ctx;
  };

  // Which list the file now loads as: 'A', 'B', or '?' for anything else.
  char Loaded() {
    Program p(dir_.path());
    LoadSettings(p.ctx);
    if (p.ctx.FolderList == a_ && p.ctx.ShowDrives == 1) return 'A';
    if (p.ctx.FolderList == b_ && p.ctx.ShowDrives == 0) return 'B';
    return '?';
  }

  bool Save(const FolderArray& list, std::uint8_t drives) {
    Program p(dir_.path());
    p.ctx.FolderList = list;
    p.ctx.ShowDrives = drives;
    return SaveSettings(p.ctx);
  }

  TempDir dir_;
  const std::string file_ = dir_ / "Setting.ini";
  const FolderArray a_ = List(L"A"), b_ = List(L"B");
};

TEST_F(SaveKill, EveryKillLeavesOneCompleteList) {
  const unsigned long kills = EnvNumber("KV_SAVE_KILLS", 200);
  const unsigned long seed = EnvNumber("KV_SAVE_SEED", std::random_device{}());
  RecordProperty("seed", std::to_string(seed));
  std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));

  ASSERT_TRUE(Save(a_, 1));
  ASSERT_EQ(Loaded(), 'A');
  // How long one save takes here, so that the kills spread over whole saves.
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(Save(i % 2 ? a_ : b_, i % 2 ? 1 : 0));
  const auto save = (std::chrono::steady_clock::now() - t0) / 3;
  const auto window = std::chrono::duration_cast<std::chrono::microseconds>(save * 3);
  std::uniform_int_distribution<long> delay(0, window.count());

  int seen[2] = {0, 0}, scratchLeft = 0;
  for (unsigned long kill = 0; kill < kills; ++kill) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Saves the other list, then the first again, until it is killed.
      for (int i = 0;; ++i) Save(i % 2 ? a_ : b_, i % 2 ? 1 : 0);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delay(rng)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    scratchLeft += std::filesystem::exists(file_ + ".new");
    const char got = Loaded();
    ASSERT_NE(got, '?') << "after kill " << kill << " (seed " << seed << ") the file holds "
                        << ReadBytes(file_).size() << " bytes of neither list";
    ++seen[got - 'A'];
  }
  std::printf(
      "%lu kills over %lld us windows (one save %lld us): %d left list A, %d list B, "
      "%d a scratch file\n",
      kills, static_cast<long long>(window.count()),
      static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(save).count()),
      seen[0], seen[1], scratchLeft);
  // Kills that all land before or after every rename would prove nothing.
  if (kills >= 50) {
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
  }
}

}  // namespace
}  // namespace kv
