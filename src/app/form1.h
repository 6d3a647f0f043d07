// The program's one form: the settings window, and the hidden menu used as the launcher popup.
#pragma once

#include <cstdint>

#include "platform/toolkit.h"
#include "settings/module1.h"

namespace kv {

class Form1 final : public FormEvents {
 public:
  explicit Form1(Module1::Context& ctx) : ctx_(ctx) {}

  // Creates the window hidden, runs Form_Load, then shows it unless Form_Load unloaded it.
  void Show();

  void Form_Load() override;
  void Command1_Click(std::int16_t Index) override;
  void Command2_Click() override;
  void Command3_Click(std::int16_t Index) override;
  void List1_Click() override;
  void List1_MouseMove(int Button, int Shift, float X, float Y) override;
  void Menu_ProgramName_Click() override;
  void Menu_Drive_Click(std::int16_t Index) override;
  void Menu_Folder_Click(std::int16_t Index) override;

  // Fields; public so that tests can see the form's state.
  FolderArray DriveList;
  FolderArray EditList = EmptyFolderList();
  bool ShowSettings = false;
  std::uint8_t InitialContextMenuState = 0;
  bool Unloaded = false;

 private:
  void LauncherStep();
  void OpenSettingsWindow();
  void Unload() {
    Unloaded = true;
    ctx_.tk.UnloadForm();
  }

  Module1::Context& ctx_;
};

// Program entry: program directory, settings, the form.
void StartUp(Module1::Context& ctx);

}  // namespace kv
