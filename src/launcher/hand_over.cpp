// Shift takes the window the user came from to the folder; Ctrl copies the folder's path.
#include "launcher/hand_over.h"

#include "platform/toolkit.h"

namespace kv {

bool HandOverChoice(ProgramState& ctx, const std::wstring& path, unsigned modifiers,
                    NativeHandle cameFrom) {
  // Both held: copying is the one that cannot go wrong in another program's window.
  if (modifiers & kPopupCtrl) {
    if (!ctx.os.SetClipboardText(path))
      ctx.tk.MsgBox(L"パスをクリップボードにコピーできませんでした。", MsgStyle::Warning);
    return true;
  }
  if (modifiers & kPopupShift) return cameFrom != 0 && ctx.os.NavigateWindow(cameFrom, path);
  return false;
}

}  // namespace kv
