// Toolkit on Qt 6 Widgets: the application object, the form built from its table, the popup.
// Defined in toolkit_qt_<part>.cpp, one file per part of the interface.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/product.h"
#include "platform/toolkit.h"

class QListWidget;
class QLocalServer;
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

  // For tests: the widgets.
  QWidget* Widget(Control c) const;
  QWidget* FormWidget() const { return form_.get(); }

 private:
  QListWidget* List(Control c) const;

  std::vector<std::string> args_;
  const FormSpec* layout_ = nullptr;
  FormEvents* events_ = nullptr;
  std::unique_ptr<QWidget> form_;  // its widgets are Qt children: they go with it
  std::map<Control, QWidget*> controls_;
  std::unique_ptr<QLocalServer> server_;  // while this is the settings file's open window
  bool formOpen_ = false;
  bool eventLoopRunning_ = false;
  int programmaticSelection_ = 0;
  bool selectionChangedInPress_ = false;
};

}  // namespace kv::lnx
