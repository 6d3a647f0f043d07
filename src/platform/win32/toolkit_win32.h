// Toolkit on Win32: the application object, the form built from FormSpec, the popup menu.
// Defined in toolkit_win32_<part>.cpp, one file per part of the interface.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/product.h"
#include "platform/toolkit.h"
#include "unique_handle.h"
#include "windows_api.h"

namespace kv::win32 {

// The text after the program's own name in a command line (quoted or not), blanks skipped.
std::wstring ArgumentsOf(const std::wstring& commandLine);
// Converts twips to pixels at `dpi`.
int TwipsToPixels(int twips, UINT dpi);
// The menu text that shows `caption` literally ("&" doubled).
std::wstring MenuText(const std::wstring& caption);

class Win32Toolkit final : public Toolkit {
 public:
  explicit Win32Toolkit(HINSTANCE instance = ::GetModuleHandleW(nullptr));
  ~Win32Toolkit() override;

  std::wstring AppPath() override;
  std::wstring EXEName() override;
  std::wstring CommandLine() override;
  std::wstring Title() override;
  wchar_t PathSeparator() override { return L'\\'; }
  std::wstring ExeExtension() override { return L".exe"; }

  void CreateForm(const FormSpec& layout, FormEvents& events) override;
  void LoadControls() override;
  void ShowForm() override;
  void UnloadForm() override;
  void End() override;
  NativeHandle hWnd(std::optional<Control> control = std::nullopt) override;

  std::wstring GetText(Control c) override;
  void SetText(Control c, const std::wstring& text) override;
  int GetValue(Control c) override;
  void SetValue(Control c, int value) override;
  void AddItem(Control list, const std::wstring& item) override;
  void RemoveItem(Control list, int index) override;
  std::wstring GetListItem(Control list, int index) override;
  void SetListItem(Control list, int index, const std::wstring& item) override;
  int ListIndex(Control list) override;
  int ListCount(Control list) override;
  void SetToolTipText(Control c, const std::wstring& text) override;

  PopupChoice PopupItems(std::span<const PopupItem> items) override;

  MsgAnswer MsgBox(const std::wstring& text, MsgStyle style) override;

  bool JoinOpenWindow(const std::wstring& settingsFile, const std::wstring& commandLine) override;
  void BringToFront() override;

  DirectoryState TestDirectory(const std::wstring& path) override;
  int RunEventLoop() override;

  // For tests: the form's DPI.
  UINT Dpi() const { return dpi_; }

 private:
  struct Child {
    ControlSpec layout;
    HWND hwnd = nullptr;
    int id = 0;
  };

  static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                   DWORD_PTR self);
  static LRESULT CALLBACK OneWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnCommand(int id, int code);
  void Layout();
  const Child* Find(Control c) const;
  HWND Handle(Control c) const;

  HINSTANCE instance_;
  const FormSpec* layout_ = nullptr;
  FormEvents* events_ = nullptr;
  HWND form_ = nullptr;  // owned by the window manager once created; destroyed by UnloadForm
  HWND tooltip_ = nullptr;
  HWND lastFocus_ = nullptr;
  std::vector<Child> controls_;  // in TabIndex order
  UniqueFont font_;
  UINT dpi_ = 96;
  UniqueWindow oneWindow_;           // while this is the settings file's open window
  std::deque<std::wstring> starts_;  // command lines of later starts, not yet taken
};

}  // namespace kv::win32
