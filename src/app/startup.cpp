#include <memory>

#include "app/form1.h"
#include "settings/settings_file.h"

namespace kv {

std::unique_ptr<Form1> StartUp(Module1::Context& ctx) {
  ctx.AppDir = ctx.tk.AppPath();
  const wchar_t sep = ctx.tk.PathSeparator();
  if (ctx.AppDir.empty() || ctx.AppDir.back() != sep) ctx.AppDir += sep;
  Module1::LoadSettings(ctx);
  auto form = std::make_unique<Form1>(ctx);
  form->Show();
  return form;
}

}  // namespace kv
