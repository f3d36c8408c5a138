#include "toolkit/win32/accessibility.h"

#include <initguid.h>

#include <oleacc.h>
#include <uiautomationcore.h>

#include <array>
#include <string>
#include <utility>

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
    RaisedNotice raise(HWND control, const std::wstring& text) const {
        IRawElementProviderSimple* element = nullptr;
        HRESULT answer = raise_ ? hostProvider_(control, &element) : E_NOTIMPL;
        if (element) {
            const BSTR display = allocate_(text.data(), static_cast<UINT>(text.size()));
            const BSTR activity = allocate_(L"AlarmNotice", 11);
            answer = raise_(element, otherKind, importantAll, display, activity);
            free_(activity);
            free_(display);
            element->Release();
        } else if (SUCCEEDED(answer)) {
            answer = E_POINTER;
        }
        return {text, answer};
    }

private:
    // NotificationKind_Other, NotificationProcessing_ImportantAll: spoken whole, whatever
    // else is being read.
    static constexpr int otherKind = 4;
    static constexpr int importantAll = 0;

    using HostProvider = HRESULT(WINAPI*)(HWND, IRawElementProviderSimple**);
    using Raise = HRESULT(WINAPI*)(IRawElementProviderSimple*, int kind, int processing,
                                   BSTR displayString, BSTR activityId);
    // The strings' functions too: their library is not loaded before the first notice.
    using Allocate = BSTR(WINAPI*)(const OLECHAR*, UINT);
    using Free = void(WINAPI*)(BSTR);

    template <class Function> static Function find(HMODULE library, const char* name) {
        // Through the generic function type, which converts to any other without a warning.
        return reinterpret_cast<Function>(
            reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
    }

    Notifications() {
        const HMODULE library =
            LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        const HMODULE strings =
            LoadLibraryExW(L"oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (!library || !strings)
            return;
        allocate_ = find<Allocate>(strings, "SysAllocStringLen");
        free_ = find<Free>(strings, "SysFreeString");
        hostProvider_ = find<HostProvider>(library, "UiaHostProviderFromHwnd");
        if (hostProvider_ && allocate_ && free_)
            raise_ = find<Raise>(library, "UiaRaiseNotificationEvent");
    }

    Allocate allocate_ = nullptr;
    Free free_ = nullptr;
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

Annotations::Annotations() = default;

Annotations::~Annotations() = default;

void Annotations::asked() {
    if (std::exchange(asked_, true))
        return;
    IAccPropServices* services = nullptr;
    unreachable_ = CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, reinterpret_cast<void**>(&services));
    if (SUCCEEDED(unreachable_))
        services_.reset(services);
    for (const Kept& annotation : std::exchange(kept_, {}))
        tell(annotation);
}

Annotations::Kept& Annotations::kept(HWND window) {
    for (Kept& annotation : kept_)
        if (annotation.window == window)
            return annotation;
    return kept_.emplace_back(Kept{window, std::nullopt, std::nullopt});
}

void Annotations::tell(const Kept& annotation) {
    if (!services_) {
        count(unreachable_);
        return;
    }
    if (annotation.name)
        count(services_->SetHwndPropStr(annotation.window, static_cast<DWORD>(OBJID_CLIENT),
                                        CHILDID_SELF, PROPID_ACC_NAME, annotation.name->c_str()));
    if (annotation.role) {
        VARIANT value{};
        value.vt = VT_I4;
        value.lVal = *annotation.role;
        count(services_->SetHwndProp(annotation.window, static_cast<DWORD>(OBJID_CLIENT),
                                     CHILDID_SELF, PROPID_ACC_ROLE, value));
    }
}

void Annotations::count(HRESULT answer) {
    if (answer == S_OK)
        ++answers_.succeeded;
    else if (answer == E_NOTIMPL)
        ++answers_.notImplemented;
    else if (answers_.firstFailure == S_OK)
        answers_.firstFailure = answer;
}

void Annotations::setName(HWND window, std::wstring_view name) {
    if (asked_)
        tell({window, std::wstring(name), std::nullopt});
    else
        kept(window).name = std::wstring(name);
}

void Annotations::setRole(HWND window, long role) {
    if (asked_)
        tell({window, std::nullopt, role});
    else
        kept(window).role = role;
}

void Annotations::clear(HWND window) {
    std::erase_if(kept_, [window](const Kept& annotation) { return annotation.window == window; });
    if (services_)
        services_->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                  annotated.data(), static_cast<int>(annotated.size()));
}

RaisedNotice announceAlert(HWND control) {
    NotifyWinEvent(EVENT_SYSTEM_ALERT, control, OBJID_CLIENT, CHILDID_SELF);
    return Notifications::get().raise(control, windowText(control));
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
