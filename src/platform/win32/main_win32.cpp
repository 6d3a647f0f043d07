// Program entry on Windows: the services, the toolkit, StartUp, then the event loop.
#include <objbase.h>

#include "app/settings_window.h"
#include "os_services_win32.h"
#include "settings/program_state.h"
#include "toolkit_win32.h"
#include "windows_api.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  kv::win32::QuietDriveErrors();
  // The folder-browse dialog needs COM on this thread.
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  kv::win32::Win32OsServices os;
  kv::win32::Win32Toolkit tk(instance);
  kv::ProgramState ctx{os, tk};
  const auto form = kv::StartUp(ctx);
  const int code = tk.RunEventLoop();
  // Not the C runtime's exit: a drive query the launcher gave up on may still be blocked in the
  // system on its own thread, and the runtime's teardown (static destructors, the thread
  // library's cleanup) has no business running beside it. Nothing here needs tearing down: the
  // settings were written before the window closed.
  ::ExitProcess(static_cast<UINT>(code));
}
