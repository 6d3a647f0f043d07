// "Setting.ini": the drive option and the registered folders.
#pragma once

#include <cstdint>
#include <string>

#include "settings/module1.h"

namespace kv::Module1 {

std::int32_t GetIniInt(Context& ctx, const std::wstring& file, const std::wstring& section,
                       const std::wstring& key, std::int32_t def);
std::wstring GetIniString(Context& ctx, const std::wstring& file, const std::wstring& section,
                          const std::wstring& key, const std::wstring& def);
bool WriteIniString(Context& ctx, const std::wstring& file, const std::wstring& section,
                    const std::wstring& key, const std::wstring& value);
bool TruncateFile(Context& ctx, const std::wstring& file);

std::wstring SettingsPath(const Context& ctx);
// "Folder" and the index with at least three digits.
std::wstring FolderSection(int k);

void LoadSettings(Context& ctx);
// True when "Setting.ini" now holds the state; false leaves the previous file as it was.
bool SaveSettings(Context& ctx);

}  // namespace kv::Module1
