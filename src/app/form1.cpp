#include "app/form1.h"

#include "app/command_line.h"
#include "ui/layout.h"

namespace kv {

void Form1::Show() {
  ctx_.tk.CreateForm(SettingsFormSpec(), *this);
  Form_Load();
  if (!Unloaded) ctx_.tk.ShowForm();
}

void Form1::Form_Load() {
  std::wstring cmd = ctx_.tk.CommandLine();
  if (!cmd.empty()) {
    const FolderArgument folder = FolderFromCommandLine(cmd, ctx_.tk.PathSeparator());
    ctx_.tk.SetText({Ctl::Text1, 0}, folder.identifier);
    ctx_.tk.SetText({Ctl::Text1, 1}, folder.path);
    ShowSettings = true;
  } else {
    LauncherStep();
  }
  if (ShowSettings) {
    OpenSettingsWindow();
    return;
  }
  Unload();
  ctx_.tk.End();
}

}  // namespace kv
