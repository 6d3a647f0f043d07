// Program entry on Linux: locale, platform choice, Qt application, the core's StartUp.
#include <langinfo.h>

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <cstring>

#include "app/settings_window.h"
#include "launcher/drive_list.h"
#include "locations.h"
#include "os_linux.h"
#include "settings/program_state.h"
#include "toolkit_qt.h"

namespace {

// The plain C locale knows only ASCII; read it as UTF-8, as Qt does, so that Japanese names
// survive a session without LANG.
void ReadAsciiLocaleAsUtf8() {
  if (std::strcmp(nl_langinfo(CODESET), "ANSI_X3.4-1968") == 0) std::setlocale(LC_CTYPE, "C.UTF-8");
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  ReadAsciiLocaleAsUtf8();  // the drive step below converts before Qt is up
  // On a Wayland session run natively: through XWayland the pointer is only known where it
  // last crossed an X window. X11 stays the fallback when the wayland plugin is missing.
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  if (wayland != nullptr && *wayland != '\0' && (chosen == nullptr || *chosen == '\0')) {
    ::setenv("QT_QPA_PLATFORM", "wayland;xcb", 1);
  }
  kv::lnx::LinuxOsServices os;
  // The launcher (no argument) begins its drive step here: waiting for a drive that does not
  // answer then overlaps Qt's start instead of following it.
  std::shared_ptr<kv::DriveStep> drives;
  if (argc <= 1) drives = std::make_shared<kv::DriveStep>(os);
  QApplication app(argc, argv);  // sets the locale from the environment once more
  ReadAsciiLocaleAsUtf8();

  kv::lnx::QtToolkit tk(argc, argv);
  kv::ProgramState ctx{os, tk};
  ctx.EarlyDriveStep = std::move(drives);
  std::wstring appDir = tk.AppPath();
  if (appDir.empty() || appDir.back() != L'/') appDir += L'/';
  ctx.SettingsDir = kv::lnx::SettingsDirFor(appDir);
  if (ctx.SettingsDir != appDir) os.SetCreatableDirectory(ctx.SettingsDir);
  const auto form = kv::StartUp(ctx);
  return tk.RunEventLoop();
}
