// kivoret.exe's resources: the three icon images, the version 1.0 and the manifest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "toolkit_win32.h"
#include "windows_api.h"

namespace kv::win32 {
namespace {

TEST(ResourcesTest, IconVersionAndManifest) {
  // The build puts kivoret.exe beside the test program's directory tree.
  const std::wstring exe = win32::Win32Toolkit().AppPath() + L"\\" KV_KIVORET_FROM_TESTS;
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(module) << "cannot open " << testing::PrintToString(exe);
  auto resource = [&](int id, LPCWSTR type) {
    HRSRC r = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    const char* data = r ? static_cast<const char*>(LockResource(LoadResource(module, r))) : "";
    return std::string(data, r ? SizeofResource(module, r) : 0);
  };
  std::string group = resource(1, RT_GROUP_ICON);
  auto* icons = reinterpret_cast<BYTE*>(group.data());
  ASSERT_EQ(group.size(), 6u + 3 * 14) << "a header and three entries";
  // Each image a BMP: a BITMAPINFOHEADER at twice the height (colour bits and mask).
  for (const auto& [size, bits] : {std::pair{16, 4}, {32, 8}, {48, 8}}) {
    const auto image = resource(LookupIconIdFromDirectoryEx(icons, TRUE, size, size, 0), RT_ICON);
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER)) << size;
    const auto* bmp = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
    EXPECT_EQ(std::tuple(bmp->biSize, bmp->biWidth, bmp->biHeight, bmp->biBitCount),
              std::tuple(DWORD{sizeof(BITMAPINFOHEADER)}, LONG{size}, LONG{2 * size}, WORD(bits)));
  }
  for (const char* needle :
       {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", "level=\"asInvoker\"",
        "true/pm", "PerMonitorV2", "name=\"Kivoret\" version=\"1.0.0.0\""})
    EXPECT_NE(resource(1, RT_MANIFEST).find(needle), std::string::npos) << needle;
  std::string version = resource(1, RT_VERSION);
  FreeLibrary(module);
  auto query = [&](const std::wstring& path) {
    void* value = nullptr;
    UINT len = 0;
    return VerQueryValueW(version.data(), path.c_str(), &value, &len) ? value : nullptr;
  };
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\"));
  ASSERT_TRUE(fixed && fixed->dwFileVersionMS == MAKELONG(0, 1) && fixed->dwFileVersionLS == 0);
  for (const auto& [name, text] : {std::pair{L"ProductVersion", L"1.0"},
                                   {L"FileVersion", L"1.0"},
                                   {L"ProductName", L"キヴォレット"}}) {
    const void* got = query(std::wstring(L"\\StringFileInfo\\041104B0\\") + name);
    EXPECT_EQ(std::wstring(got ? static_cast<const wchar_t*>(got) : L"<missing>"), text);
  }
}

// The launcher's popup needs neither comctl32 nor shell32: they load on first use, so the
// program must not import them (an import would load them at start).
TEST(ResourcesTest, NoStartUpImportOfComctl32OrShell32) {
  const std::wstring exe = win32::Win32Toolkit().AppPath() + L"\\" KV_KIVORET_FROM_TESTS;
  std::ifstream in(exe.c_str(), std::ios::binary);
  const std::string file{std::istreambuf_iterator<char>(in), {}};
  ASSERT_GT(file.size(), sizeof(IMAGE_DOS_HEADER));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(file.data());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(file.data() + dos->e_lfanew);
  const auto* sections = IMAGE_FIRST_SECTION(nt);
  const auto at = [&](DWORD rva) -> const char* {
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
      const auto& s = sections[i];
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.Misc.VirtualSize)
        return file.data() + s.PointerToRawData + (rva - s.VirtualAddress);
    }
    return nullptr;
  };
  const DWORD dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  const auto* imports = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(at(dir));
  ASSERT_NE(imports, nullptr);
  std::vector<std::string> dlls;
  for (; imports->Name != 0; ++imports) {
    std::string name = at(imports->Name);
    for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    dlls.push_back(name);
  }
  EXPECT_NE(std::find(dlls.begin(), dlls.end(), "user32.dll"), dlls.end()) << "the table was read";
  for (const char* lazy : {"comctl32.dll", "shell32.dll"})
    EXPECT_EQ(std::find(dlls.begin(), dlls.end(), lazy), dlls.end()) << lazy;
}

}  // namespace
}  // namespace kv::win32
