// Times LoadSettings and SaveSettings of 99, 999 and 9,999 entries on this platform's real
// OS services and prints the medians and the growth from 999 to 9,999.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings_file.h"

#ifdef _WIN32
#include "os_services_win32.h"
#include "toolkit_win32.h"
using Os = kv::win32::Win32OsServices;
using Tk = kv::win32::Win32Toolkit;
#else
#include <clocale>

#include "os_linux.h"
#include "toolkit_qt.h"
using Os = kv::lnx::LinuxOsServices;
using Tk = kv::lnx::QtToolkit;
#endif

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Figures {
  double load, save;  // milliseconds, medians
};

Figures Measure(kv::OsServices& os, kv::Toolkit& tk, const std::wstring& dir, int n) {
  kv::ProgramState ctx{os, tk};
  ctx.AppDir = dir;
  for (int k = 1; k <= n; ++k) {
    ctx.FolderList.push_back({L"フォルダ " + std::to_wstring(k),
                              dir + L"folders" + std::wstring(1, dir.back()) + L"書類 " +
                                  std::to_wstring(k) + std::wstring(1, dir.back())});
  }
  const int rounds = std::clamp(200000 / (n + 1), 7, 201);
  std::vector<double> loads, saves;
  for (int r = 0; r < rounds; ++r) {
    auto t0 = Clock::now();
    if (!kv::SaveSettings(ctx)) {
      std::fprintf(stderr, "save failed\n");
      std::exit(2);
    }
    auto t1 = Clock::now();
    kv::ProgramState loaded{os, tk};
    loaded.AppDir = dir;
    kv::LoadSettings(loaded);
    auto t2 = Clock::now();
    if (loaded.FolderList != ctx.FolderList) {
      std::fprintf(stderr, "load gave another list\n");
      std::exit(2);
    }
    saves.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    loads.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
  }
  return {Median(loads), Median(saves)};
}

}  // namespace

int main() {
#ifndef _WIN32
  std::setlocale(LC_ALL, "C.UTF-8");
#endif
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "kv-settings-io";
  fs::create_directories(dir);
  std::wstring d = dir.wstring();
  d += static_cast<wchar_t>(fs::path::preferred_separator);
  Os os;
#ifdef _WIN32
  Tk tk;
#else
  Tk tk(0, nullptr);
#endif
  std::printf("%8s %12s %12s\n", "entries", "load ms", "save ms");
  Figures f[3];
  const int sizes[3] = {99, 999, 9999};
  for (int i = 0; i < 3; ++i) {
    f[i] = Measure(os, tk, d, sizes[i]);
    std::printf("%8d %12.3f %12.3f\n", sizes[i], f[i].load, f[i].save);
  }
  fs::remove_all(dir);
  const double loadGrowth = f[2].load / f[1].load, saveGrowth = f[2].save / f[1].save;
  std::printf("growth t(9999)/t(999): load %.2f, save %.2f\n", loadGrowth, saveGrowth);
  const bool ok = f[1].load <= 3.0 && loadGrowth <= 12.0 && saveGrowth <= 12.0;
  std::printf("targets (load(999) <= 3 ms, growth <= 12): %s\n", ok ? "met" : "MISSED");
  return ok ? 0 : 1;
}
