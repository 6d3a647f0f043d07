// In-memory toolkit: the form's controls and menu as data, scripted modal answers.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/fake_os.h"
#include "platform/toolkit.h"

namespace kv::test {

struct ShownBox {
  std::wstring text;
  MsgStyle style;
};

class FakeToolkit : public Toolkit {
 public:
  explicit FakeToolkit(FakeOs& os) : os_(os) {}

  std::wstring appPath = L"C:\\Tools", exeName = L"launch", commandLine, exeExtension = L".exe";
  wchar_t separator = L'\\';
  // What the user does in the popup: an item, or nothing (dismissed), and the keys held.
  std::optional<MenuRef> popupChoice;
  unsigned popupModifiers = 0;
  std::deque<MsgAnswer> answers;  // to message boxes, in order; none left answers No
  std::vector<ShownBox> boxes;
  std::map<std::wstring, DirectoryState> dirs;  // directory test answers; others "not found"
  std::function<void()> duringBox;              // runs inside the next message box, once
  std::vector<std::wstring> dirCalls;
  std::vector<std::string> log;        // form lifecycle and popup, in order
  std::vector<PopupItem> menuAtPopup;  // the items the popup was given
  std::size_t openedAtUnload = 0;      // shell calls made before the form was unloaded
  std::map<Control, std::wstring> texts, toolTips;
  std::map<Control, int> values;
  std::vector<std::wstring> listItems;
  int listIndex = -1;

  bool Logged(const std::string& what) const;
  std::wstring Text(Control c) { return texts[c]; }
  std::vector<std::wstring> VisibleCaptions() const;

  std::wstring AppPath() override { return appPath; }
  std::wstring EXEName() override { return exeName; }
  std::wstring CommandLine() override { return commandLine; }
  std::wstring Title() override { return L"キヴォレット"; }
  wchar_t PathSeparator() override { return separator; }
  std::wstring ExeExtension() override { return exeExtension; }
  void CreateForm(const FormSpec&, FormEvents&) override;
  void ShowForm() override { log.push_back("show"); }
  void LoadControls() override;
  void UnloadForm() override {
    log.push_back("unload");
    openedAtUnload = os_.opened.size();
  }
  void End() override { log.push_back("end"); }
  NativeHandle hWnd(std::optional<Control> control) override {
    return control ? (Need(), 0x200 + static_cast<NativeHandle>(*control)) : 0x100;
  }
  std::wstring GetText(Control c) override { return At(texts, c); }
  void SetText(Control c, const std::wstring& text) override { At(texts, c) = text; }
  int GetValue(Control c) override { return At(values, c); }
  void SetValue(Control c, int value) override { At(values, c) = value; }
  void AddItem(Control, const std::wstring& item) override { List().push_back(item); }
  void RemoveItem(Control, int index) override;
  std::wstring GetListItem(Control, int index) override { return List().at(index); }
  void SetListItem(Control, int index, const std::wstring& s) override { List().at(index) = s; }
  int ListIndex(Control) override { return Need(), listIndex; }
  int ListCount(Control) override { return static_cast<int>(List().size()); }
  void SetToolTipText(Control c, const std::wstring& text) override { At(toolTips, c) = text; }
  PopupChoice PopupItems(std::span<const PopupItem> items) override;
  MsgAnswer MsgBox(const std::wstring& text, MsgStyle style) override;

  // No other run's window is ever open here: the real transports are tested end to end.
  bool JoinOpenWindow(const std::wstring&, const std::wstring&) override { return false; }
  void BringToFront() override { log.push_back("front"); }

  DirectoryState TestDirectory(const std::wstring& path) override;
  int RunEventLoop() override { return 0; }

 private:
  // Reaching a control before LoadControls is a fault the real toolkits would not forgive.
  void Need() const {
    if (!controlsLoaded_) throw std::logic_error("a control reached before LoadControls");
  }
  template <typename T>
  T& At(std::map<Control, T>& map, Control c) {
    return Need(), map[c];
  }
  std::vector<std::wstring>& List() { return Need(), listItems; }
  bool controlsLoaded_ = false;
  FakeOs& os_;
};

}  // namespace kv::test
