// A backend on a scratch folder of its own, for the contract suites (ini_cases.h,
// settings_file_cases.h); each test binary instantiates them with a factory of its backend.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "platform/os_services.h"
#include "platform/toolkit.h"

namespace kv::contract {

class FileBackend {
 public:
  virtual ~FileBackend() = default;
  virtual OsServices& Os() = 0;
  virtual Toolkit& Tk() = 0;
  virtual std::wstring Dir() = 0;  // ends in the separator
  virtual void Write(const std::wstring& file, const std::string& bytes) = 0;
  virtual std::optional<std::string> Read(const std::wstring& file) = 0;
  // The file there but unreadable, as this platform can make it; Restore undoes that.
  virtual void MakeUnreadable(const std::wstring& file) = 0;
  virtual void Restore(const std::wstring& file) = 0;
  // A folder whose "Setting.ini" links to "dotfiles/settings.ini"; a folder on a 64 KB file
  // system; mode and owner as text. Nullopt where the backend has none: the case is skipped.
  virtual std::optional<std::wstring> LinkedDir() { return std::nullopt; }
  virtual std::optional<std::wstring> FullDir() { return std::nullopt; }
  virtual std::optional<std::string> Attributes(const std::wstring&) { return std::nullopt; }
  virtual void ChangeAttributes(const std::wstring&) {}
};
// The suites' parameter: how to make the backend, and its name in the test listing.
struct Backend {
  std::function<std::unique_ptr<FileBackend>()> make;
  friend void PrintTo(const Backend&, std::ostream* os) { *os << "backend"; }
};

}  // namespace kv::contract
