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
  if (flag) {
    // Per user: a normal user may not write the machine-wide classes.
    const bool text = RegSetString(ctx, RegRoot::CurrentUserClasses, kContextMenuKey, L"",
                                   kContextMenuText);
    const bool command = RegSetString(ctx, RegRoot::CurrentUserClasses, kContextMenuCommandKey,
                                      L"", ContextMenuCommand(ctx));
    return text && command;
  }
  // Wherever it stands; `command` first, since a key with subkeys cannot be deleted.
  bool ok = true;
  for (RegRoot root : {RegRoot::CurrentUserClasses, RegRoot::ClassesRoot}) {
    ok = ctx.os.RegDeleteKey(root, kContextMenuCommandKey) && ok;
    ok = ctx.os.RegDeleteKey(root, kContextMenuKey) && ok;
  }
  return ok;
}

bool IsContextMenuEntryRegistered(Context& ctx) {
  auto stored = ctx.os.RegQueryString(RegRoot::CurrentUserClasses, kContextMenuCommandKey, L"");
  if (!stored) stored = ctx.os.RegQueryString(RegRoot::ClassesRoot, kContextMenuCommandKey, L"");
  std::wstring s = stored.value_or(L"");
  if (auto nul = s.find(L'\0'); nul != std::wstring::npos) s.resize(nul);
  return s == ContextMenuCommand(ctx);
}

}  // namespace kv::Module1
