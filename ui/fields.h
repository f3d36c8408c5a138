#pragma once

#include "engine/ports.h"
#include "forms/definitions.h"

#include <array>
#include <stdexcept>
#include <string_view>

namespace ui {

// Which text box of which dialog holds each field that the tick reads.
struct FieldControl {
    engine::Field field;
    const forms::FormDefinition* form;
    std::string_view textBox;
};

inline constexpr std::array fieldControls{
    FieldControl{engine::Field::Form1_Text1, &forms::form1Definition, "Text1"},
    FieldControl{engine::Field::Form1_Text2, &forms::form1Definition, "Text2"},
    FieldControl{engine::Field::Form2_Text3, &forms::form2Definition, "Text3"},
    FieldControl{engine::Field::Form2_Text1, &forms::form2Definition, "Text1"},
    FieldControl{engine::Field::Form4_Text1, &forms::form4Definition, "Text1"},
    FieldControl{engine::Field::Form4_Text2, &forms::form4Definition, "Text2"},
    FieldControl{engine::Field::Form4_Text3, &forms::form4Definition, "Text3"},
    FieldControl{engine::Field::Form4_Text4, &forms::form4Definition, "Text4"},
    FieldControl{engine::Field::Form4_Text5, &forms::form4Definition, "Text5"},
    FieldControl{engine::Field::Form4_Text6, &forms::form4Definition, "Text6"},
};

constexpr const FieldControl& fieldControl(engine::Field field) {
    for (const FieldControl& control : fieldControls)
        if (control.field == field)
            return control;
    throw std::out_of_range("no control holds this field");
}

} // namespace ui
