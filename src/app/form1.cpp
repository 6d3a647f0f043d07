#include "app/form1.h"

#include <algorithm>

#include "ui/layout.h"

namespace kv {

Form1::Form1(Module1::Context& ctx)
    : ParentMenu(SettingsFormSpec().programNameCaption), ctx_(ctx) {}

void Form1::Show() {
  ctx_.tk.CreateForm(SettingsFormSpec(), *this);
  Form_Load();
  if (!Unloaded) ctx_.tk.ShowForm();
}

void Form1::Form_Load() {
  std::wstring cmd = ctx_.tk.CommandLine();
  if (!cmd.empty()) {
    std::wstring path = cmd;
    std::erase(path, L'"');
    const auto last = path.rfind(ctx_.tk.PathSeparator());
    const std::wstring identifier = last == std::wstring::npos ? path : path.substr(last + 1);
    ctx_.tk.LoadControls();
    ctx_.tk.SetText({Ctl::Text1, 0}, identifier);
    ctx_.tk.SetText({Ctl::Text1, 1}, path);
    ShowSettings = true;
  } else {
    LauncherStep();
  }
  if (ShowSettings) {
    // Launcher mode made no controls: the popup needs none.
    ctx_.tk.LoadControls();
    OpenSettingsWindow();
    return;
  }
  Unload();
  ctx_.tk.End();
}

}  // namespace kv
