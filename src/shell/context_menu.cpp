#include "shell/context_menu.h"

namespace kv::Module1 {

std::wstring RegGetString(Context& ctx, RegRoot root, const std::wstring& subkey,
                          const std::wstring& name) {
  std::wstring s = ctx.os.RegQueryString(root, subkey, name).value_or(L"");
  if (auto nul = s.find(L'\0'); nul != std::wstring::npos) s.resize(nul);
  return s;
}

bool RegSetString(Context& ctx, RegRoot root, const std::wstring& subkey, const std::wstring& name,
                  const std::wstring& text) {
  return ctx.os.RegSetString(root, subkey, name, text);
}

std::wstring ContextMenuCommand(Context& ctx) {
  return L"\"" + ctx.AppDir + ctx.tk.EXEName() + ctx.tk.ExeExtension() + L"\" \"%1\"";
}

bool SetContextMenuEntry(Context& ctx, bool flag) {
  if (flag)
    return ctx.os.InstallFolderEntry(kContextMenuVerb, kContextMenuText, ContextMenuCommand(ctx));
  return ctx.os.RemoveFolderEntry(kContextMenuVerb);
}

bool IsContextMenuEntryRegistered(Context& ctx) {
  std::wstring s = ctx.os.FolderEntryCommand(kContextMenuVerb).value_or(L"");
  if (auto nul = s.find(L'\0'); nul != std::wstring::npos) s.resize(nul);
  return s == ContextMenuCommand(ctx);
}

}  // namespace kv::Module1
