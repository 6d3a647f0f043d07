// Program entry on Windows: the services, the toolkit, StartUp, then the event loop.
#include <objbase.h>

#include "app/form1.h"
#include "os_services_win32.h"
#include "settings/module1.h"
#include "toolkit_win32.h"
#include "windows_api.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // The folder-browse dialog needs COM on this thread.
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  kv::win32::Win32OsServices os;
  kv::win32::Win32Toolkit tk(instance);
  kv::Module1::Context ctx{os, tk};
  kv::StartUp(ctx);
  return tk.RunEventLoop();
}
