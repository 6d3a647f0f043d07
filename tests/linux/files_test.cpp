// The Linux backend's files: the contract suites on real files, the locale conversion, and
// saves killed at random moments.
#include "files.h"

#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "codepage.h"
#include "contract/ini_cases.h"
#include "contract/settings_file_cases.h"
#include "fakes/fake_toolkit.h"
#include "os_linux.h"

namespace kv::lnx {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct LinuxBackend : contract::FileBackend {
  LinuxBackend() { std::setlocale(LC_ALL, "C.UTF-8"); }
  ~LinuxBackend() override {
    ::umount2((dir + "/full").c_str(), MNT_DETACH);
    fs::remove_all(dir);
  }
  OsServices& Os() override { return os; }
  Toolkit& Tk() override { return tk; }
  std::wstring Dir() override { return Decode(dir) + L"/"; }
  void Write(const std::wstring& f, const std::string& bytes) override {
    std::ofstream(EncodeLossy(f), std::ios::binary) << bytes;
  }
  std::optional<std::string> Read(const std::wstring& f) override {
    std::ifstream in(EncodeLossy(f), std::ios::binary);
    std::string out{std::istreambuf_iterator<char>(in), {}};
    return in && fs::is_regular_file(EncodeLossy(f)) ? std::optional(out) : std::nullopt;
  }
  // Root reads any file: a folder in the file's place is what nobody can read.
  void MakeUnreadable(const std::wstring& f) override {
    fs::rename(EncodeLossy(f), EncodeLossy(f) + ".held");
    fs::create_directory(EncodeLossy(f));
  }
  void Restore(const std::wstring& f) override {
    fs::remove(EncodeLossy(f));
    fs::rename(EncodeLossy(f) + ".held", EncodeLossy(f));
  }
  std::optional<std::wstring> LinkedDir() override {
    fs::create_directories(dir + "/linked/dotfiles");
    fs::create_symlink("dotfiles/settings.ini", dir + "/linked/Setting.ini");
    return Decode(dir) + L"/linked/";
  }
  std::optional<std::wstring> FullDir() override {
    fs::create_directory(dir + "/full");
    if (::mount("tmpfs", (dir + "/full").c_str(), "tmpfs", 0, "size=64k") != 0) return {};
    return Decode(dir) + L"/full/";
  }
  std::optional<std::string> Attributes(const std::wstring& f) override {
    struct stat st {};
    if (::stat(EncodeLossy(f).c_str(), &st) != 0) return "none";
    return std::to_string(st.st_mode & 07777) + " " + std::to_string(st.st_uid) + ":" +
           std::to_string(st.st_gid);
  }
  // Another user's file (when we are root, who may save it) with a mode of its own.
  void ChangeAttributes(const std::wstring& f) override {
    ::chmod(EncodeLossy(f).c_str(), 0604);
    if (::geteuid() == 0) (void)::chown(EncodeLossy(f).c_str(), 65534, 65534);
  }

  std::string dir = [] {
    std::string t = (fs::temp_directory_path() / "kvtest.XXXXXX").string();
    return std::string(::mkdtemp(t.data()));
  }();
  LinuxOsServices os{{dir, dir}, {}, "/nonexistent"};
  test::FakeOs unused;
  test::FakeToolkit tk{unused};
};

// Bytes that are no text in the locale survive a round trip (folder names from anywhere);
// a character the locale cannot write is reported, and a folder by such a name is a bad one.
TEST(CodePage, UndecodableBytesSurviveAndUnencodableCharactersAreBadNames) {
  std::setlocale(LC_ALL, "C.UTF-8");
  for (const std::string bytes : {"a\xFF", "\x83\x74\x83\x48", "x\xE5\x86", "\xED\xB2\x80"}) {
    std::string back;
    EXPECT_TRUE(Encode(Decode(bytes), back));
    EXPECT_EQ(back, bytes);
  }
  std::string out;
  EXPECT_FALSE(Encode(std::wstring(L"a") + wchar_t(0xD800), out));
  EXPECT_EQ(out, "a?");
  std::setlocale(LC_ALL, "C");
  EXPECT_FALSE(Encode(L"写", out));
  std::setlocale(LC_ALL, "C.UTF-8");
  for (const auto& [path, expected] :
       std::initializer_list<std::pair<std::wstring, DirectoryState>>{
           {L"/tmp/", DirectoryState::Found},
           {L"/proc/self/status", DirectoryState::NotFound},
           {L"/nonexistent/", DirectoryState::NotFound},
           {std::wstring(L"/a\0b", 4), DirectoryState::BadName},
           {std::wstring(L"/") + wchar_t(0xD800), DirectoryState::BadName},
           {L"/" + std::wstring(300, L'x') + L"/", DirectoryState::BadName}})
    EXPECT_EQ(TestDirectory(path), expected) << EncodeLossy(path);
}

// Saves killed at random moments: the file always loads as one complete list, the old or the
// new, never a part of one. KV_SAVE_KILLS sets the number of kills (100 by default).
TEST(SaveKill, EveryKillLeavesOneCompleteList) {
  LinuxBackend b;
  FolderArray lists[2] = {EmptyFolderList(), EmptyFolderList()};
  for (int k = 1; k <= 999; ++k)
    for (int l : {0, 1})
      lists[l].push_back({std::to_wstring(l) + L" フォルダ " + std::to_wstring(k), b.Dir()});
  ProgramState ctx{b.os, b.tk};
  ctx.AppDir = b.Dir();
  const auto save = [&](int l) { return ctx.FolderList = lists[l], SaveSettings(ctx); };
  const auto t0 = std::chrono::steady_clock::now();
  ASSERT_TRUE(save(0) && save(1) && save(0));
  const long window = (std::chrono::steady_clock::now() - t0) / 1us;
  std::mt19937 rng(std::random_device{}());
  const char* kills = std::getenv("KV_SAVE_KILLS");
  int seen[2] = {0, 0};
  for (int kill = 0, n = kills ? std::atoi(kills) : 100; kill < n; ++kill) {
    const pid_t child = ::fork();
    if (child == 0)
      for (int i = 1;; ++i) save(i % 2);
    std::this_thread::sleep_for(std::uniform_int_distribution<long>(0, window)(rng) * 1us);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    LoadSettings(ctx);
    const int which = ctx.FolderList == lists[0] ? 0 : ctx.FolderList == lists[1] ? 1 : -1;
    ASSERT_NE(which, -1) << "after kill " << kill << " the file holds neither list";
    ++seen[which];
  }
  EXPECT_GT(seen[0] * seen[1], 0) << "kills that all land before or after every rename";
}

}  // namespace
}  // namespace kv::lnx

namespace kv::contract {
const auto kLinux =
    ::testing::Values(Backend{[] { return std::make_unique<lnx::LinuxBackend>(); }});
INSTANTIATE_TEST_SUITE_P(Linux, IniContract, kLinux);
INSTANTIATE_TEST_SUITE_P(Linux, SettingsFile, kLinux);
INSTANTIATE_TEST_SUITE_P(Linux, DiskSettingsFile, kLinux);
}  // namespace kv::contract
