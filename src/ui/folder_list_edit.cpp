// Editing the window's working list: register, update, remove, and the list's click and tool tip.
#include <string_view>

#include "app/form1.h"
#include "settings/settings_file.h"

namespace kv {
namespace {

constexpr ControlRef kList{Ctl::List1, 0};
constexpr ControlRef kName{Ctl::Text1, 0};
constexpr ControlRef kPath{Ctl::Text1, 1};

// The ideographic space counts as blank too: a Japanese keyboard types it.
bool IsBlank(std::wstring_view s) {
  return s.find_first_not_of(L" \t\u3000") == std::wstring_view::npos;
}

const FolderEntry& EntryOrEmpty(const FolderArray& list, int i) {
  static const FolderEntry kNone;
  return i >= 0 && i <= UBound(list) ? list[i] : kNone;
}

}  // namespace

void Form1::Command1_Click(std::int16_t Index) {
  Toolkit& tk = ctx_.tk;
  const int k = tk.ListIndex(kList);
  if ((Index == 1 || Index == 2) && k == -1) return;

  if (Index == 2) {
    const int u = UBound(EditList);
    if (k + 1 > u) return;
    EditList.erase(EditList.begin() + k + 1);
    tk.RemoveItem(kList, k);
  } else if (Index == 0 || Index == 1) {
    if (IsBlank(tk.GetText(kName))) {
      tk.MsgBox(L"識別名が入力されていません。\r\n識別名を入力して下さい。", vbExclamation);
      return;
    }
    if (IsBlank(tk.GetText(kPath))) {
      tk.MsgBox(L"パスが入力されていません。\r\nパスを入力して下さい。", vbExclamation);
      return;
    }
    // A line break (legal in a Linux folder name) would split the entry over two lines of
    // "Setting.ini", and the launcher would then open another folder.
    if (!Module1::FitsOnIniLine(tk.GetText(kName)) || !Module1::FitsOnIniLine(tk.GetText(kPath))) {
      tk.MsgBox(L"識別名またはパスに改行が含まれています。\r\n改行を含む識別名やパスは登録できません。",
                vbExclamation);
      return;
    }
    const wchar_t sep = tk.PathSeparator();
    if (const std::wstring path = tk.GetText(kPath); path.back() != sep) tk.SetText(kPath, path + sep);

    const DirResult dir = tk.Dir(tk.GetText(kPath), vbDirectory);
    if (dir.error == 52 || (dir.error == 0 && !dir.found)) {
      const int answer = tk.MsgBox(
          L"フォルダパスが不正です。\r\n登録されても正常に動作しない可能性があります。\r\n続行しますか？",
          vbYesNoExclamation);
      if (answer != vbYes) return;
    } else if (dir.error != 0) {
      return;
    }

    FolderEntry entry{tk.GetText(kName), tk.GetText(kPath)};
    if (Index == 0) {
      tk.AddItem(kList, entry.Title);
      EditList.push_back(std::move(entry));
    } else {
      if (k + 1 > UBound(EditList)) return;
      EditList[k + 1] = std::move(entry);
      tk.SetListItem(kList, k, EditList[k + 1].Title);
    }
  } else {
    return;
  }
  tk.SetText(kName, L"");
  tk.SetText(kPath, L"");
}

void Form1::List1_Click() {
  const FolderEntry& e = EntryOrEmpty(EditList, ctx_.tk.ListIndex(kList) + 1);
  ctx_.tk.SetText(kName, e.Title);
  ctx_.tk.SetText(kPath, e.Path);
}

void Form1::List1_MouseMove(int, int, float, float) {
  const Point pt = ctx_.os.GetCursorPos();
  const int i = ctx_.os.LBItemFromPt(ctx_.tk.hWnd(&kList), pt, true);
  const int count = ctx_.tk.ListCount(kList);
  if (i >= 0 && count != 0 && i + 1 <= UBound(EditList)) {
    ctx_.tk.SetToolTipText(kList, EditList[i + 1].Title + L" : " + EditList[i + 1].Path);
  } else {
    ctx_.tk.SetToolTipText(kList, L"登録されたフォルダの一覧です。");
  }
}

void Form1::Command2_Click() {
  const std::wstring s = ctx_.os.BrowseForFolder(ctx_.tk.hWnd(), L"ﾌｫﾙﾀﾞを選択してください");
  if (!s.empty()) ctx_.tk.SetText(kPath, s);
}

}  // namespace kv
