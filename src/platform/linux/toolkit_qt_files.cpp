// The directory test on Qt's side: only forwards to the Qt-free file code.
#include "files.h"
#include "toolkit_qt.h"

namespace kv::lnx {

DirectoryState QtToolkit::TestDirectory(const std::wstring& path) {
  return lnx::TestDirectory(path);
}

}  // namespace kv::lnx
