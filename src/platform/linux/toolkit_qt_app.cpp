// The application object on Qt: the program's path and name, its arguments, the event loop.
#include <unistd.h>

#include <QApplication>
#include <QLocalServer>
#include <QWidget>
#include <cstdio>

#include "codepage.h"
#include "locations.h"
#include "toolkit_qt.h"

namespace kv::lnx {

QtToolkit::QtToolkit(int argc, char** argv) : args_(argv, argv + argc) {}

QtToolkit::~QtToolkit() = default;

std::wstring QtToolkit::AppPath() {
  const std::string exe = lnx::ExePath();
  const auto slash = exe.rfind('/');
  if (slash == std::string::npos) return L".";
  return lnx::Decode(slash == 0 ? "/" : exe.substr(0, slash));
}

std::wstring QtToolkit::EXEName() {
  // Linux programs carry no extension: the whole file name is what a command must name.
  const std::string exe = lnx::ExePath();
  return lnx::Decode(exe.substr(exe.rfind('/') + 1));
}

std::wstring QtToolkit::CommandLine() {
  std::string line;
  for (std::size_t i = 1; i < args_.size(); ++i) {
    if (i > 1) line += ' ';
    line += args_[i];
  }
  return lnx::Decode(line);
}

void QtToolkit::End() {
  std::fflush(nullptr);
  ::_exit(0);
}

int QtToolkit::RunEventLoop() {
  if (!formOpen_) return 0;
  eventLoopRunning_ = true;
  const int rc = QApplication::exec();
  eventLoopRunning_ = false;
  return rc;
}

}  // namespace kv::lnx
