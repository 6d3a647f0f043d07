// kivoret.exe's resources: the three icon images, the version 1.0 and the manifest.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "toolkit_win32.h"
#include "windows_api.h"

namespace kv::test {
namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
struct GroupIconHeader {
  WORD reserved, type, count;
};
#pragma pack(pop)

class ResourcesTest : public testing::Test {
 protected:
  void SetUp() override {
    // Beside the test program's directory tree: the build puts kivoret.exe there.
    win32::Win32Toolkit tk;
    exe_ = tk.AppPath() + L"\\" KV_KIVORET_FROM_TESTS;
    module_ = LoadLibraryExW(exe_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module_) << "cannot open " << testing::PrintToString(exe_);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  std::pair<const void*, DWORD> Resource(LPCWSTR name, LPCWSTR type) {
    HRSRC r = FindResourceW(module_, name, type);
    if (!r) return {nullptr, 0};
    return {LockResource(LoadResource(module_, r)), SizeofResource(module_, r)};
  }

  std::wstring exe_;
  HMODULE module_ = nullptr;
};

TEST_F(ResourcesTest, IconHasTheThreeImages) {
  const auto [data, size] = Resource(MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_TRUE(data);
  const auto* header = static_cast<const GroupIconHeader*>(data);
  ASSERT_EQ(header->count, 3);
  ASSERT_GE(size, sizeof(GroupIconHeader) + 3 * sizeof(GroupIconEntry));
  const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
  std::set<std::pair<int, int>> images;  // size, bits per pixel
  for (int i = 0; i < 3; ++i) {
    images.insert({entries[i].width, entries[i].bitCount});
    // Each image is a BMP: a BITMAPINFOHEADER at twice the height (colour bits and mask).
    const auto [bits, bytes] = Resource(MAKEINTRESOURCEW(entries[i].id), RT_ICON);
    ASSERT_TRUE(bits);
    const auto* bmp = static_cast<const BITMAPINFOHEADER*>(bits);
    EXPECT_EQ(bmp->biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(bmp->biWidth, entries[i].width);
    EXPECT_EQ(bmp->biHeight, 2 * entries[i].width);
    EXPECT_EQ(bmp->biBitCount, entries[i].bitCount);
  }
  EXPECT_EQ(images, (std::set<std::pair<int, int>>{{16, 4}, {32, 8}, {48, 8}}));
}

TEST_F(ResourcesTest, VersionIsOnePointZero) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe_.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoW(exe_.c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  wchar_t* text = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041104B0\\ProductVersion",
                             reinterpret_cast<void**>(&text), &len));
  EXPECT_EQ(std::wstring(text), L"1.0");
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\041104B0\\ProductName",
                             reinterpret_cast<void**>(&text), &len));
  EXPECT_EQ(std::wstring(text), L"キヴォレット");
}

TEST_F(ResourcesTest, ManifestAsksForCommonControls6AndDpiAwareness) {
  const auto [data, size] = Resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_TRUE(data);
  const std::string manifest(static_cast<const char*>(data), size);
  for (const char* needle : {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"",
                             "level=\"asInvoker\"", "true/pm", "PerMonitorV2"}) {
    EXPECT_NE(manifest.find(needle), std::string::npos) << needle;
  }
}

}  // namespace
}  // namespace kv::test
