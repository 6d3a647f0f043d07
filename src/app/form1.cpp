#include "app/form1.h"

#include <algorithm>

#include "ui/layout.h"

namespace kv {
namespace {

// The folder named by the command line. Where "\" separates paths (Windows) the text is the raw
// command line, in which quotes only delimit, and no folder name can hold one: all of them go.
// Elsewhere the folder arrives as one argument and a quote in it is part of a name; only a pair
// wrapped around the whole argument (a path quoted once more by its caller) is taken off.
std::wstring FolderOfCommandLine(std::wstring text, wchar_t separator) {
  if (separator == L'\\') {
    std::erase(text, L'"');
  } else if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"') {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

}  // namespace

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
    const std::wstring path = FolderOfCommandLine(cmd, ctx_.tk.PathSeparator());
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
