#pragma once

// What assistive technologies are told about a control beyond what the standard controls
// tell them themselves: names, roles and alerts, through Dynamic Annotation and UI
// Automation. Where the system has no annotation service the controls keep what they tell
// by themselves.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct IAccPropServices;

namespace toolkit::win32 {

// The annotation service is asked for only once a screen reader or another client asks one of
// the windows for its accessible object: what was set before is kept until then, and told to
// the service at that moment. A client that reaches a field first, before its window, reads the
// field's name from the hidden label before it (labelForScreenReaders) as it would without
// annotations; the windows are not subclassed to learn of it, which would cost every message
// of the fields that the tick reads.
class Annotations {
public:
    // The service's answers to the names and roles told to it so far, which leave a control as
    // it was where they fail. A system that keeps no annotations answers E_NOTIMPL; without
    // the service, each annotation counts as answered by the failure to reach it.
    struct Answers {
        int succeeded = 0;
        int notImplemented = 0;
        HRESULT firstFailure = S_OK; // of the other answers
    };

    Annotations();
    ~Annotations();
    Annotations(const Annotations&) = delete;
    Annotations& operator=(const Annotations&) = delete;

    void setName(HWND window, std::wstring_view name);
    void setRole(HWND window, long role);
    // Forgets what was set for a window; before the window goes.
    void clear(HWND window);

    // A window was asked for its accessible object (WM_GETOBJECT), on a thread where COM is
    // initialised: from now on the service keeps the annotations.
    void asked();

    const Answers& answers() const { return answers_; }

private:
    struct Release {
        void operator()(IAccPropServices* services) const noexcept;
    };
    struct Kept {
        HWND window;
        std::optional<std::wstring> name;
        std::optional<long> role;
    };
    Kept& kept(HWND window);
    void tell(const Kept& annotation);
    void count(HRESULT answer);

    bool asked_ = false;
    std::vector<Kept> kept_; // until asked
    std::unique_ptr<IAccPropServices, Release> services_;
    HRESULT unreachable_ = S_OK; // why there is no service
    Answers answers_;
};

// A notice raised through UI Automation, its text and the system's answer: E_NOTIMPL where it
// has no notifications.
struct RaisedNotice {
    std::wstring text;
    HRESULT answer = S_FALSE;
};

// Tells assistive technologies that a control has become an alert worth announcing, and
// where the system has UI Automation's notifications (Windows 10 1709 and later), what it
// says: screen readers may drop the alert of a window that is hidden or in the background,
// and some follow UI Automation only. Nothing of UI Automation is loaded before the first.
RaisedNotice announceAlert(HWND control);

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
