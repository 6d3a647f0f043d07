#include "app/form1.h"

#include "app/command_line.h"
#include "launcher/launcher_menu.h"
#include "ui/controls.h"
#include "ui/folder_list_edit.h"
#include "ui/layout.h"
#include "ui/open_commit.h"

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
    const FolderArgument folder = FolderFromCommandLine(cmd, ctx_.tk.PathSeparator());
    ctx_.tk.LoadControls();
    ctx_.tk.SetText(kNameBox, folder.identifier);
    ctx_.tk.SetText(kPathBox, folder.path);
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

void Form1::OpenSettingsWindow() {
  InitialContextMenuState = Module1::FillSettingsWindow(ctx_, EditList);
}

void Form1::LauncherStep() {
  Module1::BuildLauncherMenu(ctx_, ParentMenu, DriveList);
  // The chosen item's handler runs here, before the step returns.
  const std::optional<MenuRef> chosen =
      Module1::ChooseFromLauncherMenu(ctx_, ParentMenu, DriveList);
  if (!chosen) return;
  switch (chosen->kind) {
    case MenuKind::ProgramName:
      Menu_ProgramName_Click();
      break;
    case MenuKind::Drive:
      Menu_Drive_Click(chosen->index);
      break;
    case MenuKind::Folder:
      Menu_Folder_Click(chosen->index);
      break;
    case MenuKind::Line:
      break;
  }
}

void Form1::Menu_ProgramName_Click() { ShowSettings = true; }
void Form1::Menu_Drive_Click(std::int16_t Index) { Module1::OpenDrive(ctx_, DriveList, Index); }
void Form1::Menu_Folder_Click(std::int16_t Index) { Module1::OpenFolder(ctx_, Index); }

void Form1::Command1_Click(std::int16_t Index) { Module1::EditFolderList(ctx_, EditList, Index); }
void Form1::Command2_Click() { Module1::BrowseForFolderPath(ctx_); }

void Form1::Command3_Click(std::int16_t Index) {
  if (Index == kOkButton) {
    if (!Module1::CommitSettingsWindow(ctx_, EditList, InitialContextMenuState)) return;
  } else if (Index != kCancelButton) {
    return;
  }
  Unload();
}

void Form1::List1_Click() { Module1::ShowSelectedFolder(ctx_.tk, EditList); }
void Form1::List1_MouseMove(int, int, float, float) {
  Module1::UpdateFolderListToolTip(ctx_, EditList);
}

}  // namespace kv
