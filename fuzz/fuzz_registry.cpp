// The registry stand-in's file: arbitrary file content, then a value set through the class.
//
// Input: the file's bytes, then after the first NUL the key path, value name and text,
// separated by NULs (as locale bytes).
//
// Invariants:
//  - no crash, leak or undefined behaviour reading any file;
//  - after a successful Set the key and every key above it exist, and the value reads back
//    exactly (when it fits in 1024 bytes with its NUL; longer ones read as missing);
//  - a rewrite is a fixed point: setting the same value again leaves the file byte for byte
//    as it was, so whatever the writer wrote reads back as the same keys and values;
//  - a key with a subkey cannot be deleted; DeleteKey is true exactly when the key is gone.
#include <unistd.h>

#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "codepage.h"
#include "files.h"
#include "registry.h"

namespace {

std::string dir;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

void Write(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
}

std::string Read(const std::string& path) { return kv::lnx::ReadFile(path).value_or(""); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::setlocale(LC_ALL, "C.UTF-8");
  // A file system in memory where there is one: each call reads and rewrites the file.
  const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string tmpl = std::string(base) + "/kv-fuzz-registry.XXXXXX";
  if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
  dir = tmpl;
  std::atexit([] { std::filesystem::remove_all(dir); });
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
  const std::string path = dir + "/registry.ini";
  Write(path, parts[0]);
  kv::lnx::RegistryFile reg(path);

  // Reading whatever is there.
  const std::wstring key = parts.size() > 1 ? kv::lnx::Decode(parts[1]) : L"Software\\A";
  const std::wstring name = parts.size() > 2 ? kv::lnx::Decode(parts[2]) : L"";
  const std::wstring text = parts.size() > 3 ? kv::lnx::Decode(parts[3]) : L"x\"\\\r\n";
  reg.Query(key, name);
  reg.KeyExists(key);

  if (!reg.Set(key, name, text)) {
    const std::wstring norm = kv::lnx::NormalizeKeyPath(key);
    Check(norm.empty() || norm.find_first_of(L"\r\n") != std::wstring::npos,
          "Set fails only on a key it refuses");
    return 0;
  }
  const auto got = reg.Query(key, name);
  if (kv::lnx::EncodeLossy(text).size() < 1024) {
    Check(got && *got == text, "the value reads back");
  } else {
    Check(!got, "a long value reads as missing");
  }
  const std::wstring norm = kv::lnx::NormalizeKeyPath(key);
  for (std::size_t sep = norm.find(L'\\'); sep != std::wstring::npos;
       sep = norm.find(L'\\', sep + 1)) {
    Check(reg.KeyExists(norm.substr(0, sep)), "the keys above exist");
  }

  const std::string written = Read(path);
  Check(reg.Set(key, name, text), "a second Set succeeds");
  Check(Read(path) == written, "a rewrite is a fixed point");

  // The key has a subkey once one is set below it.
  Check(reg.Set(norm + L"\\sub", L"", L"v"), "a subkey can be set");
  Check(!reg.DeleteKey(key), "a key with a subkey stays");
  Check(reg.KeyExists(key), "and still exists");
  const bool gone = reg.DeleteKey(norm + L"\\sub");
  Check(gone == !reg.KeyExists(norm + L"\\sub"), "DeleteKey tells whether the key is gone");
  return 0;
}
