// The registry stand-in's file text: arbitrary content, then a value set in it. In memory: the
// file layer around it only reads and atomically replaces the bytes, and is tested on its own.
//
// Input: the file's bytes, then after the first NUL the key path, value name and text,
// separated by NULs (as locale bytes).
//
// Invariants:
//  - no crash, leak or undefined behaviour parsing any file;
//  - after a successful Set the key and every key above it exist, and the value reads back
//    exactly (when it fits in 1024 bytes with its NUL; longer ones read as missing);
//  - what is written, stored as locale bytes and read again, writes the same text and
//    answers the same value: nothing the writer writes is lost or misread;
//  - setting the same value again changes nothing;
//  - a key with a subkey cannot be deleted; a deleted key is gone, its parent stays.
#include <algorithm>
#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "codepage.h"
#include "registry.h"

namespace {

using kv::lnx::RegistryTree;

// As the file layer stores and reads it.
RegistryTree ThroughTheFile(const std::wstring& text) {
  return RegistryTree::Parse(kv::lnx::Decode(kv::lnx::EncodeLossy(text)));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::setlocale(LC_ALL, "C.UTF-8");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> parts;
  for (std::size_t pos = 0;;) {
    const std::size_t nul = in.find('\0', pos);
    parts.push_back(in.substr(pos, nul == std::string_view::npos ? nul : nul - pos));
    if (nul == std::string_view::npos) break;
    pos = nul + 1;
  }
  RegistryTree tree = RegistryTree::Parse(kv::lnx::Decode(parts[0]));
  const std::wstring key = parts.size() > 1 ? kv::lnx::Decode(parts[1]) : L"Software\\A";
  const std::wstring name = parts.size() > 2 ? kv::lnx::Decode(parts[2]) : L"";
  const std::wstring text = parts.size() > 3 ? kv::lnx::Decode(parts[3]) : L"x\"\\\r\n";
  tree.Query(key, name);
  tree.KeyExists(key);

  // Windows creates at most 32 levels in one call and the program's keys are five deep; deeper
  // paths only cost time, as each key's line holds its whole path.
  const std::wstring norm = kv::lnx::NormalizeKeyPath(key);
  if (std::count(norm.begin(), norm.end(), L'\\') >= 32) return 0;
  if (!tree.Set(key, name, text)) {
    Check(norm.empty() || norm.find_first_of(L"\r\n") != std::wstring::npos,
          "Set fails only on a key it refuses");
    return 0;
  }
  const auto got = tree.Query(key, name);
  if (kv::lnx::EncodeLossy(text).size() < 1024) {
    Check(got && *got == text, "the value reads back");
  } else {
    Check(!got, "a long value reads as missing");
  }
  for (std::size_t sep = norm.find(L'\\'); sep != std::wstring::npos;
       sep = norm.find(L'\\', sep + 1)) {
    Check(tree.KeyExists(norm.substr(0, sep)), "the keys above exist");
  }

  const std::wstring written = tree.Serialize();
  const RegistryTree reread = ThroughTheFile(written);
  Check(reread.Serialize() == written, "the written file reads back as itself");
  Check(reread.Query(key, name) == got, "and answers the same");
  Check(tree.Set(key, name, text) && tree.Serialize() == written, "a second Set changes nothing");

  Check(tree.Set(norm + L"\\sub", L"", L"v"), "a subkey can be set");
  Check(tree.DeleteKey(key) == RegistryTree::Deletion::HasSubkeys, "a key with a subkey stays");
  Check(tree.KeyExists(key), "and still exists");
  Check(tree.DeleteKey(norm + L"\\sub") == RegistryTree::Deletion::Removed, "a leaf goes");
  Check(!tree.KeyExists(norm + L"\\sub") && tree.KeyExists(key), "only the leaf");
  return 0;
}
