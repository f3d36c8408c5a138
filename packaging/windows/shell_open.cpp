// Has the desktop's shell start a program: the shell's own process starts it, as the user who
// is logged on and not elevated, as the installer that runs this is. The shell's automation
// object (IShellDispatch2) is reached through the desktop's folder view. Exits with 0 once
// the shell has taken the program, with 1 where there is no shell to take it.
//   shell_open PROGRAM

#include <windows.h>

#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlobj.h>

namespace {

// Releases the interface that it holds when it goes.
template <class Interface> class Held {
public:
    Held() = default;
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held() {
        if (pointer_)
            pointer_->Release();
    }
    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }
    Interface** put() { return &pointer_; }
    void** putVoid() { return reinterpret_cast<void**>(&pointer_); }

private:
    Interface* pointer_ = nullptr;
};

bool openThroughShell(const wchar_t* program) {
    Held<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                windows.putVoid())))
        return false;
    VARIANT desktop{};
    desktop.vt = VT_I4;
    desktop.lVal = CSIDL_DESKTOP;
    VARIANT none{};
    long window = 0;
    Held<IDispatch> found;
    Held<IServiceProvider> services;
    Held<IShellBrowser> browser;
    Held<IShellView> view;
    Held<IDispatch> background;
    Held<IShellFolderViewDual> folderView;
    Held<IDispatch> application;
    Held<IShellDispatch2> shell;
    if (windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                              found.put()) != S_OK ||
        FAILED(found->QueryInterface(IID_IServiceProvider, services.putVoid())) ||
        FAILED(
            services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.putVoid())) ||
        FAILED(browser->QueryActiveShellView(view.put())) ||
        FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.putVoid())) ||
        FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.putVoid())) ||
        FAILED(folderView->get_Application(application.put())) ||
        FAILED(application->QueryInterface(IID_IShellDispatch2, shell.putVoid())))
        return false;
    // The installer is in front: the shell may bring the program in front of it.
    CoAllowSetForegroundWindow(shell.get(), nullptr);
    BSTR file = SysAllocString(program);
    VARIANT show{};
    show.vt = VT_I4;
    show.lVal = SW_SHOWNORMAL;
    const HRESULT result = shell->ShellExecute(file, none, none, none, show);
    SysFreeString(file);
    return SUCCEEDED(result);
}

} // namespace

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count != 2 || FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    const bool opened = openThroughShell(arguments[1]);
    CoUninitialize();
    return opened ? 0 : 1;
}
