#pragma once

#include "forms/form_def.h"
#include "toolkit/win32/handles.h"

namespace toolkit::win32 {

// The font of a definition at a DPI, in its character set. A face that the system lacks
// is replaced by one that writes the same script: the definitions name a Japanese face,
// which Windows installs under its Japanese name, its English one, or not at all.
FontHandle definitionFont(const forms::Font& font, UINT dpi);

// The desktop's own font for messages at a DPI: what a control takes without a font of
// its own.
FontHandle messageFont(UINT dpi);

} // namespace toolkit::win32
