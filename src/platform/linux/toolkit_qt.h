// Toolkit on Qt 6 Widgets: the application object, the form built from its table, the popup.
// Defined in toolkit_qt_<part>.cpp, one file per part of the interface.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/product.h"
#include "platform/toolkit.h"

class QListWidget;
class QWidget;

namespace kv::lnx {

class QtToolkit final : public Toolkit {
 public:
  // `argv` as main received it; a QApplication must exist for everything but the application
  // object and the environment calls.
  QtToolkit(int argc, char** argv);
  ~QtToolkit() override;

  std::wstring AppPath() override;
  std::wstring EXEName() override;
  std::wstring CommandLine() override;
  std::wstring Title() override { return kProgramTitle; }
  wchar_t PathSeparator() override { return L'/'; }
  std::wstring ExeExtension() override { return L""; }

  void CreateForm(const FormSpec& layout, FormEvents& events) override;
  void LoadControls() override;
  void ShowForm() override;
  void UnloadForm() override;
  void End() override;
  NativeHandle hWnd(const ControlRef* control = nullptr) override;

  std::wstring GetText(ControlRef c) override;
  void SetText(ControlRef c, const std::wstring& text) override;
  int GetValue(ControlRef c) override;
  void SetValue(ControlRef c, int value) override;
  void AddItem(ControlRef list, const std::wstring& item) override;
  void RemoveItem(ControlRef list, int index) override;
  std::wstring GetListItem(ControlRef list, int index) override;
  void SetListItem(ControlRef list, int index, const std::wstring& item) override;
  int ListIndex(ControlRef list) override;
  int ListCount(ControlRef list) override;
  void SetToolTipText(ControlRef c, const std::wstring& text) override;

  PopupChoice PopupItems(std::span<const PopupItem> items) override;

  int MsgBox(const std::wstring& text, int style) override;

  DirResult Dir(const std::wstring& path, int attributes) override;
  int RunEventLoop() override;

  // For tests: the widgets.
  QWidget* Widget(ControlRef c) const;
  QWidget* FormWidget() const { return form_.get(); }

 private:
  using Key = std::pair<int, int>;
  static Key KeyOf(ControlRef c) { return {static_cast<int>(c.name), c.index}; }
  QListWidget* List(ControlRef c) const;

  std::vector<std::string> args_;
  const FormSpec* layout_ = nullptr;
  FormEvents* events_ = nullptr;
  std::unique_ptr<QWidget> form_;  // its widgets are Qt children: they go with it
  std::map<Key, QWidget*> controls_;
  bool formOpen_ = false;
  bool eventLoopRunning_ = false;
  int programmaticSelection_ = 0;
  bool selectionChangedInPress_ = false;
};

}  // namespace kv::lnx
