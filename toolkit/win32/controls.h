#pragma once

// The controls of a window definition as Windows' own controls.

#include "forms/form_def.h"

#include <windows.h>

#include <string>
#include <vector>

namespace toolkit::win32 {

class Annotations;

struct Control {
    const forms::Control* def;
    HWND window;         // a child: destroyed with the window
    std::string caption; // a label's, as last set
};

// The controls of a definition on `parent`, in the definition's tab order, which is the
// order of Tab and of screen readers reading the window; each named for screen readers as
// its definition names it. Placed and given their fonts by the window, at its DPI.
std::vector<Control> makeControls(const forms::FormDefinition& form, HWND parent,
                                  HINSTANCE instance, Annotations& annotations);

} // namespace toolkit::win32
