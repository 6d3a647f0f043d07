// Per-user directories: where the settings and the drop-ins go.
#pragma once

#include <string>
#include <vector>

namespace kv::lnx {

// $XDG_CONFIG_HOME or ~/.config; $XDG_DATA_HOME or ~/.local/share (relative values ignored).
std::string ConfigHome();
std::string DataHome();
// $XDG_CONFIG_DIRS's absolute entries in order, or /etc/xdg.
std::vector<std::string> ConfigDirs();
// The running program's file (/proc/self/exe); empty when it cannot be read.
std::string ExePath();
// The program's own folder below ConfigHome(), without a final "/".
std::string ProgramConfigDir();

// The directory holding "Setting.ini", ending in "/": `appDir` itself when it already holds
// one (a portable copy), else ProgramConfigDir().
std::wstring SettingsDirFor(const std::wstring& appDir);

}  // namespace kv::lnx
