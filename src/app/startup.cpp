#include <memory>

#include "app/form1.h"
#include "settings/settings_file.h"

namespace kv {

void StartUp(Module1::Context& ctx) {
  ctx.AppDir = ctx.tk.AppPath();
  const wchar_t sep = ctx.tk.PathSeparator();
  if (ctx.AppDir.empty() || ctx.AppDir.back() != sep) ctx.AppDir += sep;
  Module1::LoadSettings(ctx);
  // The form outlives StartUp: the event loop runs it afterwards.
  static std::unique_ptr<Form1> form;
  form = std::make_unique<Form1>(ctx);
  form->Show();
}

}  // namespace kv
