// Editing the window's working list: register, update, remove, and the list's click and tool tip.
#include "ui/folder_list_edit.h"

#include <optional>
#include <string_view>

#include "settings/settings_file.h"
#include "ui/controls.h"

namespace kv::Module1 {
namespace {

// The ideographic space counts as blank too: a Japanese keyboard types it.
bool IsBlank(std::wstring_view s) {
  return s.find_first_not_of(L" \t\u3000") == std::wstring_view::npos;
}

const FolderEntry& EntryOrEmpty(const FolderArray& list, int i) {
  static const FolderEntry kNone;
  return i >= 0 && i <= UBound(list) ? list[i] : kNone;
}

// The boxes' entry, checked; the path box gains its final separator. Null when refused.
std::optional<FolderEntry> EntryFromBoxes(Toolkit& tk) {
  if (IsBlank(tk.GetText(kNameBox))) {
    tk.MsgBox(L"識別名が入力されていません。\r\n識別名を入力して下さい。", vbExclamation);
    return std::nullopt;
  }
  if (IsBlank(tk.GetText(kPathBox))) {
    tk.MsgBox(L"パスが入力されていません。\r\nパスを入力して下さい。", vbExclamation);
    return std::nullopt;
  }
  // A line break (legal in a Linux folder name) would split the entry over two lines of
  // "Setting.ini", and the launcher would then open another folder.
  if (!FitsOnIniLine(tk.GetText(kNameBox)) || !FitsOnIniLine(tk.GetText(kPathBox))) {
    tk.MsgBox(
        L"識別名またはパスに改行が含まれています。\r\n改行を含む識別名やパスは登録できません。",
        vbExclamation);
    return std::nullopt;
  }
  const wchar_t sep = tk.PathSeparator();
  if (const std::wstring path = tk.GetText(kPathBox); path.back() != sep)
    tk.SetText(kPathBox, path + sep);

  const DirResult dir = tk.Dir(tk.GetText(kPathBox), vbDirectory);
  if (dir.error == kErrBadFileName || (dir.error == 0 && !dir.found)) {
    const int answer = tk.MsgBox(
        L"フォルダパスが不正です。\r\n登録されても正常に動作しない可能性があります。\r\n続行します"
        L"か？",
        vbYesNoExclamation);
    if (answer != vbYes) return std::nullopt;
  } else if (dir.error != 0) {
    return std::nullopt;
  }
  return FolderEntry{tk.GetText(kNameBox), tk.GetText(kPathBox)};
}

}  // namespace

void EditFolderList(Context& ctx, FolderArray& editList, std::int16_t button) {
  Toolkit& tk = ctx.tk;
  if (button != kRegisterButton && button != kUpdateButton && button != kRemoveButton) return;
  const int k = tk.ListIndex(kFolderListBox);
  if (button != kRegisterButton && k == -1) return;

  if (button == kRemoveButton) {
    if (k + 1 > UBound(editList)) return;
    editList.erase(editList.begin() + k + 1);
    tk.RemoveItem(kFolderListBox, k);
  } else {
    std::optional<FolderEntry> entry = EntryFromBoxes(tk);
    if (!entry) return;
    if (button == kRegisterButton) {
      tk.AddItem(kFolderListBox, entry->Title);
      editList.push_back(std::move(*entry));
    } else {
      if (k + 1 > UBound(editList)) return;
      editList[k + 1] = std::move(*entry);
      tk.SetListItem(kFolderListBox, k, editList[k + 1].Title);
    }
  }
  tk.SetText(kNameBox, L"");
  tk.SetText(kPathBox, L"");
}

void ShowSelectedFolder(Toolkit& tk, const FolderArray& editList) {
  const FolderEntry& e = EntryOrEmpty(editList, tk.ListIndex(kFolderListBox) + 1);
  tk.SetText(kNameBox, e.Title);
  tk.SetText(kPathBox, e.Path);
}

void UpdateFolderListToolTip(Context& ctx, const FolderArray& editList) {
  const Point pt = ctx.os.GetCursorPos();
  const int i = ctx.os.LBItemFromPt(ctx.tk.hWnd(&kFolderListBox), pt, true);
  const int count = ctx.tk.ListCount(kFolderListBox);
  if (i >= 0 && count != 0 && i + 1 <= UBound(editList)) {
    ctx.tk.SetToolTipText(kFolderListBox, editList[i + 1].Title + L" : " + editList[i + 1].Path);
  } else {
    ctx.tk.SetToolTipText(kFolderListBox, L"登録されたフォルダの一覧です。");
  }
}

void BrowseForFolderPath(Context& ctx) {
  const std::wstring s = ctx.os.BrowseForFolder(ctx.tk.hWnd(), L"ﾌｫﾙﾀﾞを選択してください");
  if (!s.empty()) ctx.tk.SetText(kPathBox, s);
}

}  // namespace kv::Module1
