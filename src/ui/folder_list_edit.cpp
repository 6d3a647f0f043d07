// Editing the window's working list: register, update, remove, and the list's click and tool tip.
#include "ui/folder_list_edit.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "settings/settings_file.h"

namespace kv {
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
  if (IsBlank(tk.GetText(Control::NameBox))) {
    tk.MsgBox(L"識別名が入力されていません。\r\n識別名を入力して下さい。", MsgStyle::Warning);
    return std::nullopt;
  }
  if (IsBlank(tk.GetText(Control::PathBox))) {
    tk.MsgBox(L"パスが入力されていません。\r\nパスを入力して下さい。", MsgStyle::Warning);
    return std::nullopt;
  }
  // A line break (legal in a Linux folder name) would split the entry over two lines of
  // "Setting.ini", and the launcher would then open another folder.
  if (!FitsOnIniLine(tk.GetText(Control::NameBox)) ||
      !FitsOnIniLine(tk.GetText(Control::PathBox))) {
    tk.MsgBox(
        L"識別名またはパスに改行が含まれています。\r\n改行を含む識別名やパスは登録できません。",
        MsgStyle::Warning);
    return std::nullopt;
  }
  const wchar_t sep = tk.PathSeparator();
  if (const std::wstring path = tk.GetText(Control::PathBox); path.back() != sep)
    tk.SetText(Control::PathBox, path + sep);

  const DirectoryState dir = tk.TestDirectory(tk.GetText(Control::PathBox));
  if (dir == DirectoryState::NotFound || dir == DirectoryState::BadName) {
    const MsgAnswer answer = tk.MsgBox(
        L"フォルダパスが不正です。\r\n登録されても正常に動作しない可能性があります。\r\n続行します"
        L"か？",
        MsgStyle::WarningYesNo);
    if (answer != MsgAnswer::Yes) return std::nullopt;
  } else if (dir != DirectoryState::Found) {
    return std::nullopt;
  }
  return FolderEntry{tk.GetText(Control::NameBox), tk.GetText(Control::PathBox)};
}

}  // namespace

void EditFolderList(ProgramState& ctx, FolderArray& editList, Control button) {
  Toolkit& tk = ctx.tk;
  if (button != Control::RegisterButton && button != Control::UpdateButton &&
      button != Control::RemoveButton)
    return;
  const int k = tk.ListIndex(Control::FolderList);
  if (button != Control::RegisterButton && k == -1) return;

  if (button == Control::RemoveButton) {
    if (k + 1 > UBound(editList)) return;
    editList.erase(editList.begin() + k + 1);
    tk.RemoveItem(Control::FolderList, k);
  } else {
    std::optional<FolderEntry> entry = EntryFromBoxes(tk);
    if (!entry) return;
    if (button == Control::RegisterButton) {
      tk.AddItem(Control::FolderList, entry->Title);
      editList.push_back(std::move(*entry));
    } else {
      if (k + 1 > UBound(editList)) return;
      editList[k + 1] = std::move(*entry);
      tk.SetListItem(Control::FolderList, k, editList[k + 1].Title);
    }
  }
  tk.SetText(Control::NameBox, L"");
  tk.SetText(Control::PathBox, L"");
}

void ShowSelectedFolder(Toolkit& tk, const FolderArray& editList) {
  const FolderEntry& e = EntryOrEmpty(editList, tk.ListIndex(Control::FolderList) + 1);
  tk.SetText(Control::NameBox, e.Title);
  tk.SetText(Control::PathBox, e.Path);
}

void PutFolderInBoxes(Toolkit& tk, const FolderArray& editList, const FolderEntry& folder) {
  const FolderEntry boxes{tk.GetText(Control::NameBox), tk.GetText(Control::PathBox)};
  const bool unregistered =
      !(IsBlank(boxes.Title) && IsBlank(boxes.Path)) && boxes != folder &&
      std::find(editList.begin() + 1, editList.end(), boxes) == editList.end();
  if (unregistered && tk.MsgBox(L"識別名とパスに、まだ登録していない入力があります。\r\n"
                                L"新しく指定されたフォルダに置き換えますか？",
                                MsgStyle::QuestionYesNo) != MsgAnswer::Yes)
    return;
  tk.SetText(Control::NameBox, folder.Title);
  tk.SetText(Control::PathBox, folder.Path);
}

void UpdateFolderListToolTip(ProgramState& ctx, const FolderArray& editList) {
  const Point pt = ctx.os.GetCursorPos();
  const int i = ctx.os.LBItemFromPt(ctx.tk.hWnd(Control::FolderList), pt, true);
  const int count = ctx.tk.ListCount(Control::FolderList);
  if (i >= 0 && count != 0 && i + 1 <= UBound(editList)) {
    ctx.tk.SetToolTipText(Control::FolderList,
                          editList[i + 1].Title + L" : " + editList[i + 1].Path);
  } else {
    ctx.tk.SetToolTipText(Control::FolderList, L"登録されたフォルダの一覧です。");
  }
}

void BrowseForFolderPath(ProgramState& ctx) {
  const std::wstring s = ctx.os.BrowseForFolder(ctx.tk.hWnd(), L"ﾌｫﾙﾀﾞを選択してください");
  if (!s.empty()) ctx.tk.SetText(Control::PathBox, s);
}

}  // namespace kv
