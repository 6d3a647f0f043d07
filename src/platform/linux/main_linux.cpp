// Program entry on Linux: locale, platform choice, Qt application, the core's StartUp.
#include <langinfo.h>

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <cstring>

#include "app/form1.h"
#include "locations.h"
#include "os_linux.h"
#include "settings/module1.h"
#include "toolkit_qt.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  // Wayland tells no application where the pointer is, and the popup belongs at the pointer:
  // go through XWayland unless the user chose a platform.
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* x11 = std::getenv("DISPLAY");
  const char* chosen = std::getenv("QT_QPA_PLATFORM");
  if (wayland != nullptr && *wayland != '\0' && x11 != nullptr && *x11 != '\0' &&
      (chosen == nullptr || *chosen == '\0')) {
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
  QApplication app(argc, argv);  // sets the locale from the environment once more
  // The plain C locale knows only ASCII; read it as UTF-8, as Qt does, so that Japanese names
  // survive a session without LANG.
  if (std::strcmp(nl_langinfo(CODESET), "ANSI_X3.4-1968") == 0) std::setlocale(LC_CTYPE, "C.UTF-8");

  kv::LinuxOsServices os;
  kv::QtToolkit tk(argc, argv);
  kv::Module1::Context ctx{os, tk};
  std::wstring appDir = tk.AppPath();
  if (appDir.empty() || appDir.back() != L'/') appDir += L'/';
  ctx.SettingsDir = kv::linux_paths::SettingsDirFor(appDir);
  if (ctx.SettingsDir != appDir) os.SetCreatableDirectory(ctx.SettingsDir);
  kv::StartUp(ctx);
  return tk.RunEventLoop();
}
