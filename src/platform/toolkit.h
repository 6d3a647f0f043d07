// The window toolkit the core drives: application object, the one form, menus, message boxes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/os_services.h"

namespace kv {

// The settings window's controls, by their role.
enum class Control : std::uint8_t {
  RegisterButton,
  UpdateButton,
  RemoveButton,
  BrowseButton,
  OkButton,
  CancelButton,
  NameBox,
  PathBox,
  FolderList,
  ShowDrivesBox,
  FolderEntryBox,
  FolderListLabel,
  NameLabel,
  PathLabel,
};
enum class CtlKind : std::uint8_t { Button, TextBox, ListBox, CheckBox, Label };

// One control of the form, positions in twips from the client area's top-left corner.
struct ControlSpec {
  Control role;
  CtlKind kind;
  int left, top, width, height;
  int tabIndex;
  const wchar_t* caption;  // empty: none
  const wchar_t* toolTip;  // empty: none
};

struct FormSpec {
  const wchar_t* caption;
  int clientWidth, clientHeight;  // twips
  std::span<const ControlSpec> controls;
  const wchar_t* programNameCaption;  // the popup's first item
};

enum class MenuKind : std::uint8_t { ProgramName, Line, Drive, Folder };
struct MenuRef {
  MenuKind kind;
  std::int16_t index = 0;
  friend bool operator==(const MenuRef&, const MenuRef&) = default;
};

// One row of the launcher popup, in display order; MenuKind::Line rows are separators.
struct PopupItem {
  MenuRef ref;
  std::wstring caption;  // shown as is: "&" is a literal ampersand
};
// Modifier keys held at the moment of the choice.
enum PopupModifier : unsigned { kPopupShift = 1u, kPopupCtrl = 2u };
struct PopupChoice {
  int item = -1;           // index into the items given; -1: dismissed
  unsigned modifiers = 0;  // PopupModifier bits
};

// Message boxes: a warning with OK, a warning asking yes or no, or a plain question. The values
// are Win32's own (MB_ICONEXCLAMATION or MB_ICONQUESTION, MB_YESNO added), so the Windows toolkit
// passes them on as they are.
enum class MsgStyle : unsigned { Warning = 48, WarningYesNo = 52, QuestionYesNo = 36 };
enum class MsgAnswer : std::uint8_t { Ok, Yes, No };

// The directory test: a folder that is there, nothing there (or a file), a name no file system
// takes, or a drive whose medium is missing.
enum class DirectoryState : std::uint8_t { Found, NotFound, BadName, NotReady };

// The form's event handlers; the toolkit calls them.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void OnLoad() = 0;
  virtual void OnRegister() = 0;
  virtual void OnUpdate() = 0;
  virtual void OnRemove() = 0;
  virtual void OnBrowse() = 0;
  virtual void OnOk() = 0;
  virtual void OnCancel() = 0;
  // The user changed the list's selection, or clicked the selected line.
  virtual void OnFolderSelected() = 0;
  // The mouse moved over the list.
  virtual void OnFolderHover() = 0;
  // A later start of the program found this window open (Toolkit::JoinOpenWindow) and handed
  // it its command line; empty when it only asked for the window.
  virtual void OnAnotherStart(const std::wstring& /*commandLine*/) {}
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;

  // Application object.
  virtual std::wstring AppPath() = 0;  // ends in a separator only at a root
  virtual std::wstring EXEName() = 0;  // without extension
  virtual std::wstring CommandLine() = 0;
  virtual std::wstring Title() = 0;
  virtual wchar_t PathSeparator() = 0;      // '\\' on Windows, '/' on Linux
  virtual std::wstring ExeExtension() = 0;  // ".exe" on Windows, none on Linux

  // The form: CreateForm makes only the hidden window that owns the popup; LoadControls adds
  // the settings window's controls, tool tips and fonts (once; later calls do nothing) and must
  // come before any control is reached. OnLoad is the core's to run.
  virtual void CreateForm(const FormSpec& layout, FormEvents& events) = 0;
  virtual void LoadControls() = 0;
  virtual void ShowForm() = 0;
  virtual void UnloadForm() = 0;
  virtual void End() = 0;  // stops the program at once (fakes only record it)
  // The form's window, or one of its controls'.
  virtual NativeHandle hWnd(std::optional<Control> control = std::nullopt) = 0;

  virtual std::wstring GetText(Control c) = 0;
  virtual void SetText(Control c, const std::wstring& text) = 0;
  virtual int GetValue(Control c) = 0;
  virtual void SetValue(Control c, int value) = 0;
  virtual void AddItem(Control list, const std::wstring& item) = 0;
  virtual void RemoveItem(Control list, int index) = 0;
  virtual std::wstring GetListItem(Control list, int index) = 0;
  virtual void SetListItem(Control list, int index, const std::wstring& item) = 0;
  virtual int ListIndex(Control list) = 0;
  virtual int ListCount(Control list) = 0;
  virtual void SetToolTipText(Control c, const std::wstring& text) = 0;

  // Pops the items up at the cursor, modal; returns what was chosen. Runs no handler.
  // Either mouse button chooses; the menu's left edge stands at the cursor.
  virtual PopupChoice PopupItems(std::span<const PopupItem> items) = 0;

  virtual MsgAnswer MsgBox(const std::wstring& text, MsgStyle style) = 0;

  // One settings window per settings file. When a window of another run of the program is open
  // on `settingsFile`, hands it `commandLine` and returns true (this run then ends). Otherwise
  // this run becomes the one that later starts find: their command lines come to
  // FormEvents::OnAnotherStart until the form is unloaded. What a run that died left behind
  // never counts as an open window.
  virtual bool JoinOpenWindow(const std::wstring& settingsFile,
                              const std::wstring& commandLine) = 0;
  // Raises the form and gives it the focus, as far as the desktop lets a program do so.
  virtual void BringToFront() = 0;

  // Environment. Hidden and system folders count as not found.
  virtual DirectoryState TestDirectory(const std::wstring& path) = 0;
  virtual int RunEventLoop() = 0;
};

}  // namespace kv
