#include "ui/layout.h"

#include <array>

#include "kivoret_version.h"

namespace kv {
namespace {

using enum Ctl;
constexpr CtlKind B = CtlKind::Button, T = CtlKind::TextBox, L = CtlKind::ListBox,
                  C = CtlKind::CheckBox, Lb = CtlKind::Label;

// Twips; in the order the window defines its controls.
constexpr std::array<ControlSpec, 14> kControls{{
    {Command3, 1, B, 4920, 3480, 1095, 375, 13, L"キャンセル",
     L"登録・設定の変更を破棄して設定画面を閉じます。"},
    {Command3, 0, B, 3840, 3480, 1095, 375, 12, L"OK",
     L"登録・設定の変更を保存して設定画面を閉じます。"},
    {Command2, 0, B, 5760, 960, 255, 255, 11, L"...",
     L"クリックすると、フォルダ参照ダイアログが出現します。"},
    {Text1, 1, T, 2760, 960, 3015, 270, 10, L"",
     L"フォルダパスです。対象のフォルダを指定します。"},
    {Text1, 0, T, 2760, 360, 3255, 270, 9, L"",
     L"フォルダの識別名です。ここで入力した名前が一覧に表示されます。"},
    {Command1, 2, B, 4920, 1320, 1095, 375, 6, L"解除", L"選択した登録を解除します。"},
    {Command1, 1, B, 3840, 1320, 1095, 375, 5, L"更新", L"上記の識別名・パスで登録を更新します。"},
    {Command1, 0, B, 2760, 1320, 1095, 375, 4, L"登録", L"上記の識別名・パスで登録します。"},
    {List1, 0, L, 120, 360, 2535, 3480, 3, L"", L""},
    {Check1, 1, C, 2760, 2040, 3255, 255, 1, L"フォルダの右クリックメニューに追加",
     L"チェックを入れると、フォルダの右クリックメニューに『キヴォレットに登録』という項目が追加されます。"},
    {Check1, 0, C, 2760, 1800, 3255, 255, 0, L"起動時、ドライブも一覧に表示",
     L"チェックすると、起動時に表示される一覧にドライブ(ローカルディスクやCD-ROM等)が追加されます。"},
    {Label1, 2, Lb, 2760, 720, 1095, 255, 8, L"フォルダパス", L""},
    {Label1, 1, Lb, 2760, 120, 1335, 255, 7, L"フォルダ識別名", L""},
    {Label1, 0, Lb, 120, 120, 1095, 255, 2, L"登録フォルダ", L""},
}};

constexpr FormSpec kForm{L"キヴォレット - 設定", 6135, 3975, kControls,
                         L"キヴォレット Ver." KV_VERSION_WTEXT};

}  // namespace

const FormSpec& SettingsFormSpec() { return kForm; }

}  // namespace kv
