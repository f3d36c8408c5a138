#pragma once

// What assistive technologies are told about a control beyond what the standard controls
// tell them themselves: names, roles and alerts, through Dynamic Annotation. Where the
// system has no annotation service the controls keep what they tell by themselves.

#include <windows.h>

#include <memory>
#include <string_view>

struct IAccPropServices;

namespace toolkit::win32 {

class Annotations {
public:
    Annotations(); // on a thread where COM is initialised
    ~Annotations();
    Annotations(const Annotations&) = delete;
    Annotations& operator=(const Annotations&) = delete;

    void setName(HWND window, std::wstring_view name);
    void setRole(HWND window, long role);
    // Forgets what was set for a window; before the window goes.
    void clear(HWND window);

private:
    struct Release {
        void operator()(IAccPropServices* services) const noexcept;
    };
    std::unique_ptr<IAccPropServices, Release> services_;
};

// Tells assistive technologies that a control has become an alert worth announcing.
void announceAlert(HWND control);

// Names the field made next on `parent` for screen readers that take a field's name from the
// label right before it in the z-order, as they do where the system has no annotations
// (Wine): a hidden label with the field's name, as the visible label before the field may
// name another one ("時" before the minutes).
void labelForScreenReaders(HWND parent, HINSTANCE instance, std::wstring_view name);

// COM on the user-interface thread, for as long as the object lives.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

} // namespace toolkit::win32
