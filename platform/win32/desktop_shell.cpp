// The process token's elevation, and links handed to the desktop's shell:
// Explorer's Shell.Application object starts them with the rights of the
// user who owns the desktop, not with this process's.
// clang-format off
#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
// clang-format on

#include <memory>

#include "platform/win32/text_conversion.h"
#include "platform/win32/win_process.h"
#include "platform/win32/win_util.h"

namespace qv {
namespace {

using win32::ComRef;
using UniqueBstr = std::unique_ptr<OLECHAR, win32::Closer<SysFreeString>>;

// COM on the calling thread while this lives. Every successful
// CoInitializeEx (S_FALSE too: COM was there already) is balanced by one
// CoUninitialize; a thread already in a multithreaded apartment keeps it.
class ComApartment {
 public:
  ComApartment()
      : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool Ready() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

// Code-page text as a BSTR; null when empty, as ShellOpen passes no text.
UniqueBstr MakeBstr(const std::string& text) {
  if (text.empty()) return nullptr;
  const std::wstring wide = win32::Widen(text, CP_ACP);
  return UniqueBstr(SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size())));
}

// An optional argument of ShellExecute: the text, or none. The variant
// borrows the string, so it is never cleared.
VARIANT Optional(BSTR text) {
  VARIANT value;
  VariantInit(&value);
  if (text != nullptr) {
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = text;
  }
  return value;
}

// Explorer's Shell.Application object, reached from the desktop window's
// view; false when any step fails.
bool FindDesktopShell(ComRef<IShellDispatch2>* shell) {
  ComRef<IShellWindows> windows;
  if (FAILED(
          CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(windows.Put())))) {
    return false;
  }
  VARIANT location, root;
  VariantInit(&location);
  VariantInit(&root);
  long window = 0;
  ComRef<IDispatch> desktop;
  // S_FALSE: no desktop window is registered.
  if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                            desktop.Put()) != S_OK ||
      !desktop) {
    return false;
  }
  ComRef<IServiceProvider> provider;
  ComRef<IShellBrowser> browser;
  ComRef<IShellView> view;
  ComRef<IDispatch> background;
  ComRef<IShellFolderViewDual> folderView;
  ComRef<IDispatch> application;
  return SUCCEEDED(desktop->QueryInterface(IID_PPV_ARGS(provider.Put()))) &&
         SUCCEEDED(provider->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(browser.Put()))) &&
         SUCCEEDED(browser->QueryActiveShellView(view.Put())) && view &&
         SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_PPV_ARGS(background.Put()))) &&
         SUCCEEDED(background->QueryInterface(IID_PPV_ARGS(folderView.Put()))) &&
         SUCCEEDED(folderView->get_Application(application.Put())) && application &&
         SUCCEEDED(application->QueryInterface(IID_PPV_ARGS(shell->Put()))) && *shell;
}

}  // namespace

bool Win32ProcessRunner::IsElevated() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
  const win32::UniqueHandle token(raw);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size) &&
         elevation.TokenIsElevated != 0;
}

bool Win32ProcessRunner::OpenAsDesktopUser(const ShellCall& call) {
  const UniqueBstr wideFile = MakeBstr(call.file);
  const UniqueBstr wideParameters = MakeBstr(call.parameters);
  const UniqueBstr wideDirectory = MakeBstr(call.directory);
  const UniqueBstr wideOperation = MakeBstr(call.operation);
  // The apartment outlives every interface below, which are released first.
  const ComApartment apartment;
  if (!apartment.Ready()) return false;
  ComRef<IShellDispatch2> shell;
  if (!FindDesktopShell(&shell)) return false;
  VARIANT show;
  VariantInit(&show);
  V_VT(&show) = VT_I4;
  V_I4(&show) = call.showCommand;
  return SUCCEEDED(shell->ShellExecute(wideFile.get(), Optional(wideParameters.get()),
                                       Optional(wideDirectory.get()), Optional(wideOperation.get()),
                                       show));
}

}  // namespace qv
