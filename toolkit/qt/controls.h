#pragma once

// The controls of a window definition as Qt widgets.

#include "forms/form_def.h"

#include <string_view>
#include <utility>
#include <vector>

class QWidget;

namespace toolkit::qt {

// The controls of a definition on `parent`, by their names, placed in twips, with their
// fonts; Tab moves the focus through them in the definition's tab order, from the first.
using Controls = std::vector<std::pair<std::string_view, QWidget*>>;
Controls makeControls(const forms::FormDefinition& form, QWidget& parent);
QWidget& controlNamed(const Controls& controls, std::string_view name);

} // namespace toolkit::qt
