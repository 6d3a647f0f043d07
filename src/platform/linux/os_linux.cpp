// LinuxOsServices: conversions at the boundary, the stand-ins and the Qt-side services.
#include "os_linux.h"

#include <spawn.h>
#include <unistd.h>

#include <QCursor>
#include <QFileDialog>
#include <QListWidget>
#include <QScrollBar>

#include "codepage.h"
#include "dropins.h"
#include "files.h"
#include "locations.h"

extern char** environ;

namespace kv {
namespace {

using linux_cp::Decode;
using linux_cp::EncodeLossy;

constexpr wchar_t kDefaultMenuText[] = L"キヴォレットに登録";

}  // namespace

LinuxOsServices::LinuxOsServices()
    : LinuxOsServices({linux_paths::ProgramConfigDir(), linux_paths::DataHome()},
                      linux_mounts::RealMachine(), "/proc/self/mountinfo") {}

LinuxOsServices::LinuxOsServices(Places places, linux_mounts::MachineFacts facts,
                                 std::string mountInfoPath)
    : places_(std::move(places)),
      facts_(std::move(facts)),
      mountInfoPath_(std::move(mountInfoPath)),
      registry_(places_.configDir + "/registry.ini") {}

FileRead LinuxOsServices::ReadWholeFile(const std::wstring& path) {
  std::string p;
  if (!linux_cp::Encode(path, p)) return {FileState::Missing, {}};
  return linux_files::ReadWholeFile(p);
}

bool LinuxOsServices::ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
  std::string p;
  if (!linux_cp::Encode(path, p) || p.find('\0') != std::string::npos) return false;
  if (!creatableDir_.empty()) {
    std::string dir = EncodeLossy(creatableDir_);
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    if (linux_files::DirName(p) == dir) linux_files::MakeDirs(dir);
  }
  return linux_files::ReplaceWholeFile(p, bytes);
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
  const auto table = linux_files::ReadFile(mountInfoPath_);
  mounts_ = linux_mounts::ParseMountInfo(table.value_or(""), facts_);
  std::wstring out;
  for (const auto& m : mounts_) {
    out += Decode(m.root);
    out += L'\0';
  }
  return out;
}

const linux_mounts::Mount* LinuxOsServices::FindMount(const std::wstring& root) {
  if (mounts_.empty()) GetLogicalDriveStrings();
  const std::string r = EncodeLossy(root);
  for (const auto& m : mounts_) {
    if (m.root == r) return &m;
  }
  return nullptr;
}

std::wstring LinuxOsServices::GetVolumeLabel(const std::wstring& root) {
  const auto* m = FindMount(root);
  if (m == nullptr || m->devNumber.empty() || !facts_.labelOf) return L"";
  return Decode(facts_.labelOf(m->devNumber).value_or(""));
}

unsigned LinuxOsServices::GetDriveType(const std::wstring& root) {
  const auto* m = FindMount(root);
  return m == nullptr ? kDriveNoRootDir : linux_mounts::DriveTypeOf(*m, facts_);
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

void LinuxOsServices::SetForegroundWindow(NativeHandle window) {
  // A hidden window stays hidden: the launcher's form must never appear.
  auto* w = reinterpret_cast<QWidget*>(window);
  if (w != nullptr && w->isVisible()) {
    w->raise();
    w->activateWindow();
  }
}

Point LinuxOsServices::GetCursorPos() {
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

int LinuxOsServices::LBItemFromPt(NativeHandle list, Point screen, bool autoScroll) {
  auto* lw = qobject_cast<QListWidget*>(reinterpret_cast<QWidget*>(list));
  if (lw == nullptr) return -1;
  QWidget* vp = lw->viewport();
  const QPoint p = vp->mapFromGlobal(QPoint(screen.x, screen.y));
  if (vp->rect().contains(p)) {
    const QModelIndex index = lw->indexAt(p);
    return index.isValid() ? index.row() : -1;
  }
  if (autoScroll && p.x() >= 0 && p.x() < vp->width()) {
    const int line = lw->count() > 0 ? lw->sizeHintForRow(0) : 16;
    QScrollBar* bar = lw->verticalScrollBar();
    if (p.y() < 0 && p.y() >= -line) bar->setValue(bar->value() - bar->singleStep());
    if (p.y() >= vp->height() && p.y() < vp->height() + line)
      bar->setValue(bar->value() + bar->singleStep());
  }
  return -1;
}

std::wstring LinuxOsServices::BrowseForFolder(NativeHandle owner, const std::wstring& title) {
  QString dir = QFileDialog::getExistingDirectory(reinterpret_cast<QWidget*>(owner),
                                                  QString::fromStdWString(title));
  while (dir.size() > 1 && dir.endsWith(u'/')) dir.chop(1);
  return dir.toStdWString();
}

std::wstring LinuxOsServices::CommandVerb(const std::wstring& subkey) {
  const std::wstring folded = linux_reg::FoldKey(linux_reg::NormalizeKeyPath(subkey));
  constexpr std::wstring_view kHead = L"folder\\shell\\", kTail = L"\\command";
  if (!folded.starts_with(kHead) || !folded.ends_with(kTail) ||
      folded.size() <= kHead.size() + kTail.size()) {
    return L"";
  }
  const std::wstring path = linux_reg::NormalizeKeyPath(subkey);
  const std::wstring verb = path.substr(kHead.size(), path.size() - kHead.size() - kTail.size());
  return verb.find(L'\\') == std::wstring::npos ? verb : L"";
}

std::wstring LinuxOsServices::MenuName(const std::wstring& verb) {
  const auto text = registry_.Query(L"Folder\\shell\\" + verb, L"");
  const std::wstring name = linux_shell::WithoutAccessKey(text.value_or(L""));
  return name.empty() ? kDefaultMenuText : name;
}

std::optional<std::wstring> LinuxOsServices::RegQueryString(RegRoot, const std::wstring& subkey,
                                                            const std::wstring& name) {
  auto value = registry_.Query(subkey, name);
  const std::wstring verb = CommandVerb(subkey);
  if (value && !verb.empty() && name.empty()) {
    // Drop-ins deleted by hand: the entry is gone for the user, so it is gone here too.
    const auto files =
        linux_shell::FilesFor(places_.dataHome, EncodeLossy(verb), EncodeLossy(MenuName(verb)));
    if (!linux_shell::Present(files)) return std::nullopt;
  }
  return value;
}

bool LinuxOsServices::RegSetString(RegRoot, const std::wstring& subkey, const std::wstring& name,
                                   const std::wstring& value) {
  if (!registry_.Set(subkey, name, value)) return false;
  const std::wstring verb = CommandVerb(subkey);
  if (verb.empty() || !name.empty()) return true;
  const auto program = linux_shell::ProgramOfCommand(EncodeLossy(value));
  if (!program) return false;
  const std::string menuName = EncodeLossy(MenuName(verb));
  return linux_shell::Install(linux_shell::FilesFor(places_.dataHome, EncodeLossy(verb), menuName),
                              menuName, *program);
}

bool LinuxOsServices::RegDeleteKey(RegRoot, const std::wstring& subkey) {
  const std::wstring verb = CommandVerb(subkey);
  bool ok = true;
  if (!verb.empty()) {
    ok = linux_shell::Remove(
        linux_shell::FilesFor(places_.dataHome, EncodeLossy(verb), EncodeLossy(MenuName(verb))));
  }
  return registry_.DeleteKey(subkey) && ok;
}

}  // namespace kv
