#include "shell/context_menu.h"

namespace kv {

std::wstring ContextMenuCommand(ProgramState& ctx) {
  return L"\"" + ctx.AppDir + ctx.tk.EXEName() + ctx.tk.ExeExtension() + L"\" \"%1\"";
}

bool SetContextMenuEntry(ProgramState& ctx, bool flag) {
  if (flag)
    return ctx.os.InstallFolderEntry(kContextMenuVerb, kContextMenuText, ContextMenuCommand(ctx));
  return ctx.os.RemoveFolderEntry(kContextMenuVerb);
}

bool IsContextMenuEntryRegistered(ProgramState& ctx) {
  std::wstring s = ctx.os.FolderEntryCommand(kContextMenuVerb).value_or(L"");
  if (auto nul = s.find(L'\0'); nul != std::wstring::npos) s.resize(nul);
  return s == ContextMenuCommand(ctx);
}

}  // namespace kv
