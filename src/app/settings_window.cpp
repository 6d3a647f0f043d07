#include "app/settings_window.h"

#include "app/command_line.h"
#include "launcher/launcher_menu.h"
#include "ui/folder_list_edit.h"
#include "ui/layout.h"
#include "ui/open_commit.h"

namespace kv {

SettingsWindow::SettingsWindow(ProgramState& ctx)
    : Menu(SettingsFormSpec().programNameCaption), ctx_(ctx) {}

void SettingsWindow::Show() {
  ctx_.tk.CreateForm(SettingsFormSpec(), *this);
  OnLoad();
  if (!Unloaded) ctx_.tk.ShowForm();
}

void SettingsWindow::OnLoad() {
  std::wstring cmd = ctx_.tk.CommandLine();
  if (!cmd.empty()) {
    const FolderArgument folder = FolderFromCommandLine(cmd, ctx_.tk.PathSeparator());
    ctx_.tk.LoadControls();
    ctx_.tk.SetText(Control::NameBox, folder.identifier);
    ctx_.tk.SetText(Control::PathBox, folder.path);
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

void SettingsWindow::OpenSettingsWindow() {
  InitialContextMenuState = FillSettingsWindow(ctx_, EditList);
}

void SettingsWindow::LauncherStep() {
  BuildLauncherMenu(ctx_, Menu, DriveList);
  // The chosen item's handler runs here, before the step returns.
  const std::optional<MenuRef> chosen = ChooseFromLauncherMenu(ctx_, Menu, DriveList);
  if (!chosen) return;
  switch (chosen->kind) {
    case MenuKind::ProgramName:
      OnProgramNameChosen();
      break;
    case MenuKind::Drive:
      OnDriveChosen(chosen->index);
      break;
    case MenuKind::Folder:
      OnFolderChosen(chosen->index);
      break;
    case MenuKind::Line:
      break;
  }
}

void SettingsWindow::OnProgramNameChosen() { ShowSettings = true; }
void SettingsWindow::OnDriveChosen(std::int16_t index) { OpenDrive(ctx_, DriveList, index); }
void SettingsWindow::OnFolderChosen(std::int16_t index) { OpenFolder(ctx_, index); }

void SettingsWindow::OnRegister() { EditFolderList(ctx_, EditList, Control::RegisterButton); }
void SettingsWindow::OnUpdate() { EditFolderList(ctx_, EditList, Control::UpdateButton); }
void SettingsWindow::OnRemove() { EditFolderList(ctx_, EditList, Control::RemoveButton); }
void SettingsWindow::OnBrowse() { BrowseForFolderPath(ctx_); }

void SettingsWindow::OnOk() {
  if (CommitSettingsWindow(ctx_, EditList, InitialContextMenuState)) Unload();
}
void SettingsWindow::OnCancel() { Unload(); }

void SettingsWindow::OnFolderSelected() { ShowSelectedFolder(ctx_.tk, EditList); }
void SettingsWindow::OnFolderHover() { UpdateFolderListToolTip(ctx_, EditList); }

}  // namespace kv
