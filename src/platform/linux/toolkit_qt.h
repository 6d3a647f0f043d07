// Toolkit on Qt 6 Widgets: the application object, the form built from its table, the popup.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/toolkit.h"

class QListWidget;
class QWidget;

namespace kv {

class QtToolkit final : public Toolkit {
 public:
  // `argv` as main received it; a QApplication must exist for everything but the application
  // object and the environment calls.
  QtToolkit(int argc, char** argv);
  ~QtToolkit() override;

  std::wstring AppPath() override;
  std::wstring EXEName() override;
  std::wstring CommandLine() override;
  std::wstring Title() override { return L"キヴォレット"; }
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

  bool TruncateFile(const std::wstring& path) override;
  DirResult Dir(const std::wstring& path, int attributes) override;
  int RunEventLoop() override;

  // A directory that TruncateFile may create when a file is made inside it (the per-user
  // settings folder, made on the first save).
  void SetCreatableDirectory(const std::wstring& dir) { creatableDir_ = dir; }

  // For tests: the widgets.
  QWidget* Widget(ControlRef c) const;
  QWidget* FormWidget() const { return form_; }

 private:
  using Key = std::pair<int, int>;
  static Key KeyOf(ControlRef c) { return {static_cast<int>(c.name), c.index}; }
  QListWidget* List(ControlRef c) const;

  std::vector<std::string> args_;
  std::wstring creatableDir_;
  const FormSpec* layout_ = nullptr;
  FormEvents* events_ = nullptr;
  QWidget* form_ = nullptr;
  std::map<Key, QWidget*> controls_;
  bool formOpen_ = false;
  bool eventLoopRunning_ = false;
  int programmaticSelection_ = 0;
  bool selectionChangedInPress_ = false;
};

}  // namespace kv
