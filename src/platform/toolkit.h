// The window toolkit the core drives: application object, the one form, menus, message boxes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/os_services.h"

namespace kv {

enum class Ctl : std::uint8_t { Command1, Command2, Command3, Text1, List1, Check1, Label1 };
enum class CtlKind : std::uint8_t { Button, TextBox, ListBox, CheckBox, Label };

struct ControlRef {
  Ctl name;
  std::int16_t index = 0;
  friend bool operator==(const ControlRef&, const ControlRef&) = default;
};

// One control of the form, positions in twips from the client area's top-left corner.
struct ControlSpec {
  Ctl name;
  std::int16_t index;
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

// Message box styles and answers.
inline constexpr int vbExclamation = 48;
inline constexpr int vbYesNoExclamation = 52;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;
inline constexpr int vbDirectory = 16;

// Outcome of the directory test: `error` is a run-time error number (0: none, 52: bad file name).
struct DirResult {
  int error = 0;
  bool found = false;
};

// The form's event handlers; the toolkit calls them.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void Form_Load() = 0;
  virtual void Command1_Click(std::int16_t index) = 0;
  virtual void Command2_Click() = 0;
  virtual void Command3_Click(std::int16_t index) = 0;
  virtual void List1_Click() = 0;
  virtual void List1_MouseMove(int button, int shift, float x, float y) = 0;
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
  // come before any control is reached. Form_Load is the core's.
  virtual void CreateForm(const FormSpec& layout, FormEvents& events) = 0;
  virtual void LoadControls() = 0;
  virtual void ShowForm() = 0;
  virtual void UnloadForm() = 0;
  virtual void End() = 0;  // stops the program at once (fakes only record it)
  virtual NativeHandle hWnd(const ControlRef* control = nullptr) = 0;  // null: the form

  virtual std::wstring GetText(ControlRef c) = 0;
  virtual void SetText(ControlRef c, const std::wstring& text) = 0;
  virtual int GetValue(ControlRef c) = 0;
  virtual void SetValue(ControlRef c, int value) = 0;
  virtual void AddItem(ControlRef list, const std::wstring& item) = 0;
  virtual void RemoveItem(ControlRef list, int index) = 0;
  virtual std::wstring GetListItem(ControlRef list, int index) = 0;
  virtual void SetListItem(ControlRef list, int index, const std::wstring& item) = 0;
  virtual int ListIndex(ControlRef list) = 0;
  virtual int ListCount(ControlRef list) = 0;
  virtual void SetToolTipText(ControlRef c, const std::wstring& text) = 0;

  // Pops the items up at the cursor, modal; returns what was chosen. Runs no handler.
  // Either mouse button chooses; the menu's left edge stands at the cursor.
  virtual PopupChoice PopupItems(std::span<const PopupItem> items) = 0;

  virtual int MsgBox(const std::wstring& text, int style) = 0;

  // Environment.
  virtual DirResult Dir(const std::wstring& path, int attributes) = 0;
  virtual int RunEventLoop() = 0;
};

}  // namespace kv
