// In-memory toolkit: the form's controls and menu as data, scripted modal answers.
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_os.h"
#include "platform/toolkit.h"

namespace kv::test {

struct ShownBox {
  std::wstring text;
  MsgStyle style;
  bool operator==(const ShownBox&) const = default;
};

class FakeToolkit : public Toolkit {
 public:
  explicit FakeToolkit(FakeOs&) {}

  std::wstring appPath = L"C:\\Tools", exeName = L"launch", commandLine, exeExtension = L".exe";
  wchar_t separator = L'\\';
  // What the user does in the popup: an item, or nothing (dismissed), and the keys held.
  std::optional<MenuRef> popupChoice;
  unsigned popupModifiers = 0;
  MsgAnswer answer = MsgAnswer::No;  // to every question
  std::vector<ShownBox> boxes;
  std::map<std::wstring, DirectoryState> dirs;  // directory test answers; others "not found"
  std::vector<std::string> log;                 // form lifecycle and popup, in order
  std::vector<std::wstring> captions;           // the popup's items
  std::map<Control, std::wstring> texts, toolTips;
  std::map<Control, int> values;
  std::vector<std::wstring> listItems;
  int listIndex = -1;

  bool Logged(const std::string& what) const { return std::ranges::count(log, what) != 0; }
  std::wstring Boxes() { return texts[Control::NameBox] + L"|" + texts[Control::PathBox]; }

  std::wstring AppPath() override { return appPath; }
  std::wstring EXEName() override { return exeName; }
  std::wstring CommandLine() override { return commandLine; }
  std::wstring Title() override { return L"キヴォレット"; }
  wchar_t PathSeparator() override { return separator; }
  std::wstring ExeExtension() override { return exeExtension; }
  void CreateForm(const FormSpec&, FormEvents&) override {
    log.push_back("create");
    loaded_ = false;
  }
  void LoadControls() override {
    if (std::exchange(loaded_, true)) return;
    log.push_back("controls");
    texts.clear(), values.clear(), listItems.clear(), listIndex = -1;
  }
  void ShowForm() override { log.push_back("show"); }
  void UnloadForm() override { log.push_back("unload"); }
  void End() override { log.push_back("end"); }
  NativeHandle hWnd(std::optional<Control> c) override {
    return c ? (Need(), 0x200 + static_cast<NativeHandle>(*c)) : 0x100;
  }
  std::wstring GetText(Control c) override { return Need(), texts[c]; }
  void SetText(Control c, const std::wstring& text) override { Need(), texts[c] = text; }
  int GetValue(Control c) override { return Need(), values[c]; }
  void SetValue(Control c, int value) override { Need(), values[c] = value; }
  void AddItem(Control, const std::wstring& item) override { List().push_back(item); }
  void RemoveItem(Control, int index) override {
    List().erase(listItems.begin() + index);
    if (listIndex == index) listIndex = -1;
  }
  std::wstring GetListItem(Control, int index) override { return List().at(index); }
  void SetListItem(Control, int index, const std::wstring& s) override { List().at(index) = s; }
  int ListIndex(Control) override { return Need(), listIndex; }
  int ListCount(Control) override { return static_cast<int>(List().size()); }
  void SetToolTipText(Control c, const std::wstring& text) override { Need(), toolTips[c] = text; }
  PopupChoice PopupItems(std::span<const PopupItem> items) override {
    log.push_back("popup");
    for (const auto& item : items) captions.push_back(item.caption);
    for (std::size_t i = 0; popupChoice && i < items.size(); ++i)
      if (items[i].ref == *popupChoice) return {static_cast<int>(i), popupModifiers};
    return {};
  }
  MsgAnswer MsgBox(const std::wstring& text, MsgStyle style) override {
    boxes.push_back({text, style});
    return style == MsgStyle::Warning ? MsgAnswer::Ok : answer;
  }
  // No other run's window is ever open here: the real transports are tested end to end.
  bool JoinOpenWindow(const std::wstring&, const std::wstring&) override { return false; }
  void BringToFront() override { log.push_back("front"); }
  DirectoryState TestDirectory(const std::wstring& path) override {
    return dirs.contains(path) ? dirs[path] : DirectoryState::NotFound;
  }
  int RunEventLoop() override { return 0; }

 private:
  // Reaching a control before LoadControls is a fault the real toolkits would not forgive.
  void Need() const {
    if (!loaded_) throw std::logic_error("a control reached before LoadControls");
  }
  std::vector<std::wstring>& List() { return Need(), listItems; }
  bool loaded_ = false;
};

}  // namespace kv::test
