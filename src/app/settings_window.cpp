#include "app/settings_window.h"

#include "app/command_line.h"
#include "launcher/launcher_menu.h"
#include "settings/settings_file.h"
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
  const std::wstring cmd = ctx_.tk.CommandLine();
  if (!cmd.empty()) {
    ShowSettings = true;
  } else {
    LauncherStep();
  }
  // One window per settings file: two windows would each save their own list, and the last OK
  // would drop what the other registered.
  if (ShowSettings && !ctx_.tk.JoinOpenWindow(SettingsPath(ctx_), cmd)) {
    // Launcher mode made no controls: the popup needs none.
    ctx_.tk.LoadControls();
    if (!cmd.empty()) FillBoxes(cmd);
    OpenSettingsWindow();
    return;
  }
  Unload();
  ctx_.tk.End();
}

void SettingsWindow::FillBoxes(const std::wstring& commandLine) {
  const FolderArgument folder = FolderFromCommandLine(commandLine, ctx_.tk.PathSeparator());
  PutFolderInBoxes(ctx_.tk, EditList, {folder.identifier, folder.path});
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

template <typename Handler>
void SettingsWindow::Modal(Handler handler) {
  ++modalDepth_;
  handler();
  --modalDepth_;
  while (modalDepth_ == 0 && !Unloaded && !waitingStarts_.empty()) {
    const std::wstring next = std::move(waitingStarts_.front());
    waitingStarts_.pop_front();
    OnAnotherStart(next);
  }
}

void SettingsWindow::OnRegister() {
  Modal([this] { EditFolderList(ctx_, EditList, Control::RegisterButton); });
}
void SettingsWindow::OnUpdate() {
  Modal([this] { EditFolderList(ctx_, EditList, Control::UpdateButton); });
}
void SettingsWindow::OnRemove() { EditFolderList(ctx_, EditList, Control::RemoveButton); }
void SettingsWindow::OnBrowse() {
  Modal([this] { BrowseForFolderPath(ctx_); });
}

void SettingsWindow::OnOk() {
  Modal([this] {
    if (CommitSettingsWindow(ctx_, EditList, InitialContextMenuState)) Unload();
  });
}

void SettingsWindow::OnAnotherStart(const std::wstring& commandLine) {
  if (Unloaded) return;
  if (modalDepth_ > 0) {
    waitingStarts_.push_back(commandLine);
    return;
  }
  Modal([&] {
    ctx_.tk.BringToFront();  // first: a question must be seen
    if (!commandLine.empty()) FillBoxes(commandLine);
  });
}
void SettingsWindow::OnCancel() { Unload(); }

void SettingsWindow::OnFolderSelected() { ShowSelectedFolder(ctx_.tk, EditList); }
void SettingsWindow::OnFolderHover() { UpdateFolderListToolTip(ctx_, EditList); }

}  // namespace kv
