#pragma once

#include "forms/form_def.h"

#include <algorithm>
#include <vector>

namespace forms {

// Tab stops at the fields and the button; labels take no focus.
constexpr bool takesFocus(Kind kind) {
    return kind == Kind::TextBox || kind == Kind::CommandButton;
}

// The controls of a window in the order of their tab numbers, labels among them: the order in
// which screen readers read the window, and in which Tab moves the focus through those that
// take it. Controls of the same number keep the order of the definition.
inline std::vector<const Control*> inTabOrder(const FormDefinition& form) {
    std::vector<const Control*> order;
    for (const Control& control : form.controls)
        order.push_back(&control);
    std::ranges::stable_sort(order, {}, &Control::tabIndex);
    return order;
}

// Those that take the focus, in tab order.
inline std::vector<const Control*> focusOrder(const FormDefinition& form) {
    std::vector<const Control*> order = inTabOrder(form);
    std::erase_if(order, [](const Control* control) { return !takesFocus(control->kind); });
    return order;
}

// The control that has the focus when the window first shows, or none.
inline const Control* firstFocus(const FormDefinition& form) {
    const std::vector<const Control*> order = focusOrder(form);
    return order.empty() ? nullptr : order.front();
}

} // namespace forms
