// XDG base directories and the settings file's place.
#include "locations.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "codepage.h"

namespace kv::lnx {
namespace {

std::string Home() {
  if (const char* h = std::getenv("HOME"); h != nullptr && *h != '\0') return h;
  if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr)
    return pw->pw_dir;
  return "/";
}

std::string XdgDir(const char* variable, const char* fallbackBelowHome) {
  if (const char* v = std::getenv(variable); v != nullptr && v[0] == '/') {
    std::string s = v;
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s;
  }
  std::string home = Home();
  if (home.size() > 1 && home.back() == '/') home.pop_back();
  return (home == "/" ? "" : home) + fallbackBelowHome;
}

}  // namespace

std::string ExePath() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

std::string ConfigHome() { return XdgDir("XDG_CONFIG_HOME", "/.config"); }
std::string DataHome() { return XdgDir("XDG_DATA_HOME", "/.local/share"); }
std::vector<std::string> ConfigDirs() {
  std::vector<std::string> out;
  const char* v = std::getenv("XDG_CONFIG_DIRS");
  std::string list = v != nullptr ? v : "";
  for (std::size_t pos = 0; pos <= list.size();) {
    std::size_t colon = list.find(':', pos);
    if (colon == std::string::npos) colon = list.size();
    std::string dir = list.substr(pos, colon - pos);
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    if (!dir.empty() && dir[0] == '/') out.push_back(dir);
    pos = colon + 1;
  }
  if (out.empty()) out.push_back("/etc/xdg");
  return out;
}

std::string ProgramConfigDir() { return ConfigHome() + "/kivoret"; }

std::wstring SettingsDirFor(const std::wstring& appDir) {
  struct stat st {};
  const std::string portable = lnx::EncodeLossy(appDir + L"Setting.ini");
  if (::stat(portable.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return appDir;
  return lnx::Decode(ProgramConfigDir()) + L"/";
}

}  // namespace kv::lnx
