// In-memory toolkit: the form's controls and menu as data, scripted modal answers.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_os.h"
#include "platform/toolkit.h"

namespace kv::test {

struct FakeMenuItem {
  MenuRef ref;
  std::wstring caption;
  bool visible = true;
};

struct ShownBox {
  std::wstring text;
  int style;
};

class FakeToolkit : public Toolkit {
 public:
  explicit FakeToolkit(FakeOs& os) : os_(os) {}

  std::wstring appPath = L"C:\\Tools";
  std::wstring exeName = L"launch";
  std::wstring commandLine;
  wchar_t separator = L'\\';
  std::wstring exeExtension = L".exe";

  // What the user does in the popup: an item, or nothing (dismissed).
  std::optional<MenuRef> popupChoice;
  // Answers to message boxes, in order; an empty queue answers No.
  std::deque<int> answers;
  std::vector<ShownBox> boxes;
  // Directory test answers by path; others are "not found".
  std::map<std::wstring, DirResult> dirs;
  std::vector<std::wstring> dirCalls;

  std::vector<std::string> log;  // form lifecycle and popup, in order
  std::vector<FakeMenuItem> menu;
  std::vector<FakeMenuItem> menuAtPopup;  // visible items when the popup opened
  std::map<std::pair<Ctl, int>, std::wstring> texts;
  std::map<std::pair<Ctl, int>, int> values;
  std::map<std::pair<Ctl, int>, std::wstring> toolTips;
  std::vector<std::wstring> listItems;
  int listIndex = -1;
  FormEvents* events = nullptr;

  bool Logged(const std::string& what) const;
  std::wstring Text(int index) { return texts[{Ctl::Text1, index}]; }
  std::vector<std::wstring> VisibleCaptions() const;

  std::wstring AppPath() override { return appPath; }
  std::wstring EXEName() override { return exeName; }
  std::wstring CommandLine() override { return commandLine; }
  std::wstring Title() override { return L"キヴォレット"; }
  wchar_t PathSeparator() override { return separator; }
  std::wstring ExeExtension() override { return exeExtension; }

  void CreateForm(const FormSpec& layout, FormEvents& events) override;
  void ShowForm() override { log.push_back("show"); }
  void UnloadForm() override { log.push_back("unload"); }
  void End() override { log.push_back("end"); }
  NativeHandle hWnd(const ControlRef* control) override;

  std::wstring GetText(ControlRef c) override { return texts[{c.name, c.index}]; }
  void SetText(ControlRef c, const std::wstring& text) override { texts[{c.name, c.index}] = text; }
  int GetValue(ControlRef c) override { return values[{c.name, c.index}]; }
  void SetValue(ControlRef c, int value) override { values[{c.name, c.index}] = value; }
  void AddItem(ControlRef, const std::wstring& item) override { listItems.push_back(item); }
  void RemoveItem(ControlRef, int index) override;
  std::wstring GetListItem(ControlRef, int index) override { return listItems.at(index); }
  void SetListItem(ControlRef, int index, const std::wstring& item) override {
    listItems.at(index) = item;
  }
  int ListIndex(ControlRef) override { return listIndex; }
  int ListCount(ControlRef) override { return static_cast<int>(listItems.size()); }
  void SetToolTipText(ControlRef c, const std::wstring& text) override {
    toolTips[{c.name, c.index}] = text;
  }

  void LoadMenuElement(MenuRef item) override;
  void SetMenuCaption(MenuRef item, const std::wstring& caption) override;
  void SetMenuVisible(MenuRef item, bool visible) override;
  void PopupMenu(unsigned flags) override;

  int MsgBox(const std::wstring& text, int style) override;

  bool TruncateFile(const std::wstring& path) override;
  DirResult Dir(const std::wstring& path, int attributes) override;
  int RunEventLoop() override { return 0; }

  unsigned popupFlags = 0;

 private:
  FakeMenuItem& Item(MenuRef ref);
  FakeOs& os_;
};

}  // namespace kv::test
