// LinuxOsServices without Qt: whole files and their text, mounts as drives, the opener.
#include "os_linux.h"

#include <langinfo.h>
#include <locale.h>
#include <spawn.h>
#include <unistd.h>

#include <cstring>

#include "codepage.h"
#include "files.h"
#include "locations.h"

extern char** environ;

namespace kv::lnx {
namespace {

using lnx::Decode;
using lnx::EncodeLossy;

// The drive queries convert on threads of their own while the program may still be setting its
// global locale (the launcher starts them before Qt, which sets it again): such a thread uses a
// locale of its own, chosen as the program chooses its own (a plain ASCII locale read as UTF-8).
class ThreadCtype {
 public:
  ThreadCtype() {
    locale_ = ::newlocale(LC_CTYPE_MASK, "", nullptr);
    if (locale_ == nullptr ||
        std::strcmp(::nl_langinfo_l(CODESET, locale_), "ANSI_X3.4-1968") == 0) {
      if (locale_ != nullptr) ::freelocale(locale_);
      locale_ = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    }
    if (locale_ != nullptr) previous_ = ::uselocale(locale_);
  }
  ~ThreadCtype() {
    if (locale_ == nullptr) return;
    ::uselocale(previous_);
    ::freelocale(locale_);
  }
  ThreadCtype(const ThreadCtype&) = delete;
  ThreadCtype& operator=(const ThreadCtype&) = delete;

 private:
  locale_t locale_ = nullptr;
  locale_t previous_ = nullptr;
};

}  // namespace

LinuxOsServices::LinuxOsServices()
    : LinuxOsServices({lnx::ProgramConfigDir(), lnx::DataHome()}, lnx::RealMachine(),
                      "/proc/self/mountinfo") {}

LinuxOsServices::LinuxOsServices(Places places, lnx::MachineFacts facts, std::string mountInfoPath)
    : places_(std::move(places)),
      facts_(std::move(facts)),
      mountInfoPath_(std::move(mountInfoPath)) {}

FileRead LinuxOsServices::ReadWholeFile(const std::wstring& path) {
  std::string p;
  if (!lnx::Encode(path, p)) return {FileState::Missing, {}};
  return lnx::ReadWholeFile(p);
}

bool LinuxOsServices::ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
  std::string p;
  if (!lnx::Encode(path, p) || p.find('\0') != std::string::npos) return false;
  if (!creatableDir_.empty()) {
    std::string dir = EncodeLossy(creatableDir_);
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    if (lnx::DirName(p) == dir) lnx::MakeDirs(dir);
  }
  return lnx::ReplaceWholeFile(p, bytes);
}

std::wstring LinuxOsServices::DecodeFileText(std::string_view bytes) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (bytes.starts_with(kBom)) return L'\uFEFF' + Decode(bytes.substr(kBom.size()));
  return Decode(bytes);
}

std::string LinuxOsServices::EncodeFileText(std::wstring_view text) {
  if (text.starts_with(L'\uFEFF')) return "\xEF\xBB\xBF" + EncodeLossy(text.substr(1));
  return EncodeLossy(text);
}

std::wstring LinuxOsServices::GetLogicalDriveStrings() {
  const auto table = lnx::ReadFile(mountInfoPath_);
  mounts_ = lnx::ParseMountInfo(table.value_or(""));
  std::wstring out;
  for (const auto& m : mounts_) {
    out += Decode(m.root);
    out += L'\0';
  }
  return out;
}

const lnx::Mount* LinuxOsServices::FindMount(const std::wstring& root) {
  if (mounts_.empty()) GetLogicalDriveStrings();
  const std::string r = EncodeLossy(root);
  for (const auto& m : mounts_) {
    if (m.root == r) return &m;
  }
  return nullptr;
}

DriveQuery LinuxOsServices::MakeDriveQuery(const std::wstring& root) {
  const auto* found = FindMount(root);
  if (found == nullptr) return [](DriveReport& report) { report.Type(kDriveNoRootDir); };
  // Copies only: an abandoned query may still run when this object is gone. /sys and
  // /dev/disk come first; the mount point itself last, as only it reaches into the file system
  // that may hang. A mount whose look did not answer in time stays listed: the table reports
  // it, so it is there, and the look only ever weeds out bind-mounted files.
  return [mount = *found, facts = facts_](DriveReport& report) {
    const ThreadCtype ctype;
    report.Type(lnx::DriveTypeOf(mount, facts));
    const bool hasLabel = !mount.devNumber.empty() && facts.labelOf;
    report.Label(hasLabel ? Decode(facts.labelOf(mount.devNumber).value_or("")) : L"");
    if (lnx::BindMountedFile(mount, facts)) report.NotAFolder();
  };
}

void LinuxOsServices::ShellOpen(const std::wstring& path) {
  // Straight to the opener, no shell between: a path is never read as a command.
  const std::string p = EncodeLossy(path);
  char* argv[] = {const_cast<char*>("xdg-open"), const_cast<char*>(p.c_str()), nullptr};
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
  pid_t pid = 0;
  posix_spawnp(&pid, "xdg-open", nullptr, &attr, argv, environ);
  posix_spawnattr_destroy(&attr);
}

}  // namespace kv::lnx
