// XDG base directories and the settings file's place.
#include "locations.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "codepage.h"

namespace kv::linux_paths {
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

std::string ConfigHome() { return XdgDir("XDG_CONFIG_HOME", "/.config"); }
std::string DataHome() { return XdgDir("XDG_DATA_HOME", "/.local/share"); }
std::string ProgramConfigDir() { return ConfigHome() + "/kivoret"; }

std::wstring SettingsDirFor(const std::wstring& appDir) {
  struct stat st {};
  const std::string portable = linux_cp::EncodeLossy(appDir + L"Setting.ini");
  if (::stat(portable.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return appDir;
  return linux_cp::Decode(ProgramConfigDir()) + L"/";
}

}  // namespace kv::linux_paths
