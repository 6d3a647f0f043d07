#include <memory>

#include "app/settings_window.h"
#include "settings/settings_file.h"

namespace kv {

std::unique_ptr<SettingsWindow> StartUp(ProgramState& ctx) {
  ctx.AppDir = ctx.tk.AppPath();
  const wchar_t sep = ctx.tk.PathSeparator();
  if (ctx.AppDir.empty() || ctx.AppDir.back() != sep) ctx.AppDir += sep;
  LoadSettings(ctx);
  auto window = std::make_unique<SettingsWindow>(ctx);
  window->Show();
  return window;
}

}  // namespace kv
