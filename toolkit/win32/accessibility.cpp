#include "toolkit/win32/accessibility.h"

#include "toolkit/win32/handles.h"

#include <initguid.h>

#include <oleacc.h>
#include <uiautomationcore.h>

#include <array>
#include <string>

namespace toolkit::win32 {
namespace {

const std::array<MSAAPROPID, 2> annotated{PROPID_ACC_NAME, PROPID_ACC_ROLE};

// UI Automation's functions, looked up in its library as the first notice appears: a system
// without them still runs the program. The MinGW-w64 headers lack the notification's.
class Notifications {
public:
    static const Notifications& get() {
        static const Notifications functions;
        return functions;
    }

    // On the control's element, where the system has them.
    void raise(HWND control, const std::wstring& text) const {
        IRawElementProviderSimple* element = nullptr;
        if (!raise_ || FAILED(hostProvider_(control, &element)) || !element)
            return;
        const Owned<BSTR, SysFreeString> display(
            SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
        const Owned<BSTR, SysFreeString> activity(SysAllocString(L"AlarmNotice"));
        raise_(element, otherKind, importantAll, display.get(), activity.get());
        element->Release();
    }

private:
    // NotificationKind_Other, NotificationProcessing_ImportantAll: spoken whole, whatever
    // else is being read.
    static constexpr int otherKind = 4;
    static constexpr int importantAll = 0;

    using HostProvider = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
    using Raise = HRESULT(WINAPI*)(IRawElementProviderSimple*, int kind, int processing,
                                   BSTR displayString, BSTR activityId);

    template <class Function> static Function find(HMODULE library, const char* name) {
        // Through the generic function type, which converts to any other without a warning.
        return reinterpret_cast<Function>(
            reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
    }

    Notifications() {
        const HMODULE library =
            LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!library)
            return;
        hostProvider_ = find<HostProvider>(library, "UiaHostProviderFromHwnd");
        if (hostProvider_)
            raise_ = find<Raise>(library, "UiaRaiseNotificationEvent");
    }

    HostProvider hostProvider_ = nullptr;
    Raise raise_ = nullptr;
};

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

void Annotations::Release::operator()(IAccPropServices* services) const noexcept {
    services->Release();
}

Annotations::Annotations() {
    IAccPropServices* services = nullptr;
    unreachable_ = CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, reinterpret_cast<void**>(&services));
    if (SUCCEEDED(unreachable_))
        services_.reset(services);
}

Annotations::~Annotations() = default;

void Annotations::count(HRESULT answer) {
    if (answer == S_OK)
        ++answers_.succeeded;
    else if (answer == E_NOTIMPL)
        ++answers_.notImplemented;
    else if (answers_.firstFailure == S_OK)
        answers_.firstFailure = answer;
}

void Annotations::setName(HWND window, std::wstring_view name) {
    if (!services_)
        return count(unreachable_);
    const std::wstring text(name);
    count(services_->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                    PROPID_ACC_NAME, text.c_str()));
}

void Annotations::setRole(HWND window, long role) {
    if (!services_)
        return count(unreachable_);
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = role;
    count(services_->SetHwndProp(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                 PROPID_ACC_ROLE, value));
}

void Annotations::clear(HWND window) {
    if (!services_)
        return;
    services_->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                              annotated.data(), static_cast<int>(annotated.size()));
}

void announceAlert(HWND control) {
    NotifyWinEvent(EVENT_SYSTEM_ALERT, control, OBJID_CLIENT, CHILDID_SELF);
    Notifications::get().raise(control, windowText(control));
}

void labelForScreenReaders(HWND parent, HINSTANCE instance, std::wstring_view name) {
    CreateWindowExW(0, L"STATIC", std::wstring(name).c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0,
                    parent, nullptr, instance, nullptr);
}

ComApartment::ComApartment()
    : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

ComApartment::~ComApartment() {
    if (initialised_)
        CoUninitialize();
}

} // namespace toolkit::win32
