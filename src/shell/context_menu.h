// The entry in the file manager's right-click menu on folders.
#pragma once

#include <string>

#include "platform/product.h"
#include "settings/module1.h"

namespace kv::Module1 {

inline constexpr const wchar_t* kContextMenuVerb = L"Kivoret";
inline constexpr const wchar_t* kContextMenuKey = L"Folder\\shell\\Kivoret";
inline constexpr const wchar_t* kContextMenuCommandKey = L"Folder\\shell\\Kivoret\\command";
inline constexpr const wchar_t* kContextMenuText = kFolderMenuText;

std::wstring RegGetString(Context& ctx, RegRoot root, const std::wstring& subkey,
                          const std::wstring& name);
bool RegSetString(Context& ctx, RegRoot root, const std::wstring& subkey, const std::wstring& name,
                  const std::wstring& text);

// The command that starts this copy of the program on a folder: "<dir><exe>" "%1".
std::wstring ContextMenuCommand(Context& ctx);
// Adds (true) or removes (false) the entry; false when the registry refused a change.
bool SetContextMenuEntry(Context& ctx, bool flag);
bool IsContextMenuEntryRegistered(Context& ctx);

}  // namespace kv::Module1
