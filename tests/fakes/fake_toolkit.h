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
  int style;
};

class FakeToolkit : public Toolkit {
 public:
  explicit FakeToolkit(FakeOs& os) : os_(os) {}

  std::wstring appPath = L"C:\\Tools", exeName = L"launch", commandLine, exeExtension = L".exe";
  wchar_t separator = L'\\';
  // What the user does in the popup: an item, or nothing (dismissed), and the keys held.
  std::optional<MenuRef> popupChoice;
  unsigned popupModifiers = 0;
  std::deque<int> answers;  // to message boxes, in order; none left answers No
  std::vector<ShownBox> boxes;
  std::map<std::wstring, DirResult> dirs;  // directory test answers; others "not found"
  std::vector<std::wstring> dirCalls;
  std::vector<std::string> log;        // form lifecycle and popup, in order
  std::vector<PopupItem> menuAtPopup;  // the items the popup was given
  std::size_t openedAtUnload = 0;      // shell calls made before the form was unloaded
  std::map<std::pair<Ctl, int>, std::wstring> texts, toolTips;
  std::map<std::pair<Ctl, int>, int> values;
  std::vector<std::wstring> listItems;
  int listIndex = -1;

  bool Logged(const std::string& what) const;
  std::wstring Text(int index) { return texts[{Ctl::Text1, index}]; }
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
  NativeHandle hWnd(const ControlRef* control) override {
    return control ? (Need(), 0x200 + static_cast<NativeHandle>(control->name)) : 0x100;
  }
  std::wstring GetText(ControlRef c) override { return At(texts, c); }
  void SetText(ControlRef c, const std::wstring& text) override { At(texts, c) = text; }
  int GetValue(ControlRef c) override { return At(values, c); }
  void SetValue(ControlRef c, int value) override { At(values, c) = value; }
  void AddItem(ControlRef, const std::wstring& item) override { List().push_back(item); }
  void RemoveItem(ControlRef, int index) override;
  std::wstring GetListItem(ControlRef, int index) override { return List().at(index); }
  void SetListItem(ControlRef, int index, const std::wstring& s) override { List().at(index) = s; }
  int ListIndex(ControlRef) override { return Need(), listIndex; }
  int ListCount(ControlRef) override { return static_cast<int>(List().size()); }
  void SetToolTipText(ControlRef c, const std::wstring& text) override { At(toolTips, c) = text; }
  PopupChoice PopupItems(std::span<const PopupItem> items) override;
  int MsgBox(const std::wstring& text, int style) override;
  DirResult Dir(const std::wstring& path, int attributes) override;
  int RunEventLoop() override { return 0; }

 private:
  // Reaching a control before LoadControls is a fault the real toolkits would not forgive.
  void Need() const {
    if (!controlsLoaded_) throw std::logic_error("a control reached before LoadControls");
  }
  template <typename T>
  T& At(std::map<std::pair<Ctl, int>, T>& map, ControlRef c) {
    return Need(), map[{c.name, c.index}];
  }
  std::vector<std::wstring>& List() { return Need(), listItems; }
  bool controlsLoaded_ = false;
  FakeOs& os_;
};

}  // namespace kv::test
