#include "ui/layout.h"

#include <array>

#include "kivoret_version.h"

namespace kv {
namespace {

using enum Control;

// Twips from the client area's top-left corner.
struct Box {
  int left, top, width, height;
};

constexpr ControlSpec Make(Control role, CtlKind kind, Box b, int tab, const wchar_t* caption,
                           const wchar_t* tip) {
  return {role, kind, b.left, b.top, b.width, b.height, tab, caption, tip};
}

// In the order the window defines its controls.
constexpr std::array<ControlSpec, 14> kControls{{
    Make(CancelButton, CtlKind::Button, {4920, 3480, 1095, 375}, 13, L"キャンセル",
         L"登録・設定の変更を破棄して設定画面を閉じます。"),
    Make(OkButton, CtlKind::Button, {3840, 3480, 1095, 375}, 12, L"OK",
         L"登録・設定の変更を保存して設定画面を閉じます。"),
    Make(BrowseButton, CtlKind::Button, {5760, 960, 255, 255}, 11, L"...",
         L"クリックすると、フォルダ参照ダイアログが出現します。"),
    Make(PathBox, CtlKind::TextBox, {2760, 960, 3015, 270}, 10, L"",
         L"フォルダパスです。対象のフォルダを指定します。"),
    Make(NameBox, CtlKind::TextBox, {2760, 360, 3255, 270}, 9, L"",
         L"フォルダの識別名です。ここで入力した名前が一覧に表示されます。"),
    Make(RemoveButton, CtlKind::Button, {4920, 1320, 1095, 375}, 6, L"解除",
         L"選択した登録を解除します。"),
    Make(UpdateButton, CtlKind::Button, {3840, 1320, 1095, 375}, 5, L"更新",
         L"上記の識別名・パスで登録を更新します。"),
    Make(RegisterButton, CtlKind::Button, {2760, 1320, 1095, 375}, 4, L"登録",
         L"上記の識別名・パスで登録します。"),
    Make(FolderList, CtlKind::ListBox, {120, 360, 2535, 3480}, 3, L"", L""),
    Make(FolderEntryBox, CtlKind::CheckBox, {2760, 2040, 3255, 255}, 1,
         L"フォルダの右クリックメニューに追加",
         L"チェックを入れると、フォルダの右クリックメニューに"
         L"『" KV_NAME_WTEXT L"に登録』という項目が"
         L"追加されます。"),
    Make(ShowDrivesBox, CtlKind::CheckBox, {2760, 1800, 3255, 255}, 0,
         L"起動時、ドライブも一覧に表示",
         L"チェックすると、起動時に表示される一覧にドライブ(ローカルディスクやCD-ROM等)"
         L"が追加されます。"),
    Make(PathLabel, CtlKind::Label, {2760, 720, 1095, 255}, 8, L"フォルダパス", L""),
    Make(NameLabel, CtlKind::Label, {2760, 120, 1335, 255}, 7, L"フォルダ識別名", L""),
    Make(FolderListLabel, CtlKind::Label, {120, 120, 1095, 255}, 2, L"登録フォルダ", L""),
}};

constexpr FormSpec kForm{KV_NAME_WTEXT L" - 設定", 6135, 3975, kControls,
                         KV_NAME_WTEXT L" Ver." KV_VERSION_WTEXT};

}  // namespace

const FormSpec& SettingsFormSpec() { return kForm; }

}  // namespace kv
