#include "toolkit/win32/accessibility.h"

#include <initguid.h>

#include <oleacc.h>

#include <array>
#include <string>

namespace toolkit::win32 {
namespace {

const std::array<MSAAPROPID, 2> annotated{PROPID_ACC_NAME, PROPID_ACC_ROLE};

} // namespace

void Annotations::Release::operator()(IAccPropServices* services) const noexcept {
    services->Release();
}

Annotations::Annotations() {
    IAccPropServices* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IAccPropServices, reinterpret_cast<void**>(&services))))
        services_.reset(services);
}

Annotations::~Annotations() = default;

void Annotations::setName(HWND window, std::wstring_view name) {
    if (!services_)
        return;
    const std::wstring text(name);
    services_->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                              PROPID_ACC_NAME, text.c_str());
}

void Annotations::setRole(HWND window, long role) {
    if (!services_)
        return;
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = role;
    services_->SetHwndProp(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_ROLE,
                           value);
}

void Annotations::clear(HWND window) {
    if (!services_)
        return;
    services_->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                              annotated.data(), static_cast<int>(annotated.size()));
}

void announceAlert(HWND control) {
    NotifyWinEvent(EVENT_SYSTEM_ALERT, control, OBJID_CLIENT, CHILDID_SELF);
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
