// The program's one form: the settings window, and the hidden menu used as the launcher popup.
// Its handlers only delegate to the subsystems' free functions; nothing outside app/ sees it.
#pragma once

#include <cstdint>
#include <memory>

#include "launcher/menu_tree.h"
#include "platform/toolkit.h"
#include "settings/module1.h"

namespace kv {

class Form1 final : public FormEvents {
 public:
  explicit Form1(Module1::Context& ctx);

  // Creates the window hidden, runs Form_Load, then shows it unless Form_Load unloaded it.
  void Show();

  void Form_Load() override;
  void Command1_Click(std::int16_t Index) override;
  void Command2_Click() override;
  void Command3_Click(std::int16_t Index) override;
  void List1_Click() override;
  void List1_MouseMove(int Button, int Shift, float X, float Y) override;
  // The popup's handlers; the launcher step runs the chosen one.
  void Menu_ProgramName_Click();
  void Menu_Drive_Click(std::int16_t Index);
  void Menu_Folder_Click(std::int16_t Index);

  // Fields; public so that tests can see the form's state.
  MenuTree ParentMenu;
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

// Program entry: program directory, settings, the form. The caller keeps the form (which holds
// on to ctx) while the event loop runs.
[[nodiscard]] std::unique_ptr<Form1> StartUp(Module1::Context& ctx);

}  // namespace kv
