// The program's one window: the settings window, and the hidden window that owns the launcher
// popup. Its handlers only delegate to the subsystems' free functions; nothing outside app/
// sees it.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "launcher/menu_tree.h"
#include "platform/toolkit.h"
#include "settings/program_state.h"

namespace kv {

class SettingsWindow final : public FormEvents {
 public:
  explicit SettingsWindow(ProgramState& ctx);

  // Creates the window hidden, runs OnLoad, then shows it unless OnLoad unloaded it.
  void Show();

  void OnLoad() override;
  void OnRegister() override;
  void OnUpdate() override;
  void OnRemove() override;
  void OnBrowse() override;
  void OnOk() override;
  void OnCancel() override;
  void OnFolderSelected() override;
  void OnFolderHover() override;
  // Comes to the front and takes the other start's folder into the boxes, as a start on it
  // would have; waits while one of the window's own questions or dialogs is open.
  void OnAnotherStart(const std::wstring& commandLine) override;
  // The popup's handlers; the launcher step runs the chosen one.
  void OnProgramNameChosen();
  void OnDriveChosen(std::int16_t index);
  void OnFolderChosen(std::int16_t index);

  // Fields; public so that tests can see the window's state.
  LauncherMenu Menu;
  FolderArray DriveList;
  FolderArray EditList = EmptyFolderList();
  bool ShowSettings = false;
  std::uint8_t InitialContextMenuState = 0;
  bool Unloaded = false;

 private:
  void LauncherStep();
  void OpenSettingsWindow();
  // The boxes as a start on `commandLine` fills them (asking first if they hold typed text).
  void FillBoxes(const std::wstring& commandLine);
  // Runs a handler that may wait in a modal loop, in which the toolkit still delivers other
  // starts: they wait until it is done, so that no box changes under a question.
  template <typename Handler>
  void Modal(Handler handler);
  void Unload() {
    Unloaded = true;
    ctx_.tk.UnloadForm();
  }

  ProgramState& ctx_;
  int modalDepth_ = 0;
  std::deque<std::wstring> waitingStarts_;
};

// Program entry: program directory, settings, the window. The caller keeps the window (which
// holds on to ctx) while the event loop runs.
[[nodiscard]] std::unique_ptr<SettingsWindow> StartUp(ProgramState& ctx);

}  // namespace kv
