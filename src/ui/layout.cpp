#include "ui/layout.h"

#include <array>

#include "kivoret_version.h"
#include "ui/controls.h"

namespace kv {
namespace {

using enum Ctl;

// Twips from the client area's top-left corner.
struct Box {
  int left, top, width, height;
};

constexpr ControlSpec Button(Ctl name, std::int16_t index, Box b, int tab, const wchar_t* caption,
                             const wchar_t* tip) {
  return {name, index, CtlKind::Button, b.left, b.top, b.width, b.height, tab, caption, tip};
}
constexpr ControlSpec TextBox(std::int16_t index, Box b, int tab, const wchar_t* tip) {
  return {Text1, index, CtlKind::TextBox, b.left, b.top, b.width, b.height, tab, L"", tip};
}
constexpr ControlSpec CheckBox(std::int16_t index, Box b, int tab, const wchar_t* caption,
                               const wchar_t* tip) {
  return {Check1, index, CtlKind::CheckBox, b.left, b.top, b.width, b.height, tab, caption, tip};
}
constexpr ControlSpec Label(std::int16_t index, Box b, int tab, const wchar_t* caption) {
  return {Label1, index, CtlKind::Label, b.left, b.top, b.width, b.height, tab, caption, L""};
}

// In the order the window defines its controls.
constexpr std::array<ControlSpec, 14> kControls{{
    Button(Command3, kCancelButton, {4920, 3480, 1095, 375}, 13, L"キャンセル",
           L"登録・設定の変更を破棄して設定画面を閉じます。"),
    Button(Command3, kOkButton, {3840, 3480, 1095, 375}, 12, L"OK",
           L"登録・設定の変更を保存して設定画面を閉じます。"),
    Button(Command2, 0, {5760, 960, 255, 255}, 11, L"...",
           L"クリックすると、フォルダ参照ダイアログが出現します。"),
    TextBox(kPathBox.index, {2760, 960, 3015, 270}, 10,
            L"フォルダパスです。対象のフォルダを指定します。"),
    TextBox(kNameBox.index, {2760, 360, 3255, 270}, 9,
            L"フォルダの識別名です。ここで入力した名前が一覧に表示されます。"),
    Button(Command1, kRemoveButton, {4920, 1320, 1095, 375}, 6, L"解除",
           L"選択した登録を解除します。"),
    Button(Command1, kUpdateButton, {3840, 1320, 1095, 375}, 5, L"更新",
           L"上記の識別名・パスで登録を更新します。"),
    Button(Command1, kRegisterButton, {2760, 1320, 1095, 375}, 4, L"登録",
           L"上記の識別名・パスで登録します。"),
    {List1, 0, CtlKind::ListBox, 120, 360, 2535, 3480, 3, L"", L""},
    CheckBox(kContextMenuCheck.index, {2760, 2040, 3255, 255}, 1,
             L"フォルダの右クリックメニューに追加",
             L"チェックを入れると、フォルダの右クリックメニューに"
             L"『" KV_NAME_WTEXT L"に登録』という項目が"
             L"追加されます。"),
    CheckBox(kDrivesCheck.index, {2760, 1800, 3255, 255}, 0, L"起動時、ドライブも一覧に表示",
             L"チェックすると、起動時に表示される一覧にドライブ(ローカルディスクやCD-ROM等)"
             L"が追加されます。"),
    Label(2, {2760, 720, 1095, 255}, 8, L"フォルダパス"),
    Label(1, {2760, 120, 1335, 255}, 7, L"フォルダ識別名"),
    Label(0, {120, 120, 1095, 255}, 2, L"登録フォルダ"),
}};

constexpr FormSpec kForm{KV_NAME_WTEXT L" - 設定", 6135, 3975, kControls,
                         KV_NAME_WTEXT L" Ver." KV_VERSION_WTEXT};

}  // namespace

const FormSpec& SettingsFormSpec() { return kForm; }

}  // namespace kv
