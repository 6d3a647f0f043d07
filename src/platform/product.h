// The program's own texts and units, shared by the core and both backends.
#pragma once

namespace kv {

// Message boxes' title.
inline constexpr const wchar_t* kProgramTitle = L"キヴォレット";
// The folder entry in the file manager's right-click menu; "&F" marks the access key.
inline constexpr const wchar_t* kFolderMenuText = L"キヴォレットに登録(&F)";
// Layout positions are in twips: 1440 per inch, so 15 per pixel at 96 DPI.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPixelAt96Dpi = 15;

}  // namespace kv
