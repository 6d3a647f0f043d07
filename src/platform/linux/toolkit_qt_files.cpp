// The directory test on Qt's side: only forwards to the Qt-free file code.
#include "files.h"
#include "toolkit_qt.h"

namespace kv {

DirResult QtToolkit::Dir(const std::wstring& path, int) { return linux_files::TestDirectory(path); }

}  // namespace kv
