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
    const forms::Form* form;
    std::string_view textBox;
};

inline constexpr std::array fieldControls{
    FieldControl{engine::Field::Form1_Text1, &forms::form1, "Text1"},
    FieldControl{engine::Field::Form1_Text2, &forms::form1, "Text2"},
    FieldControl{engine::Field::Form2_Text3, &forms::form2, "Text3"},
    FieldControl{engine::Field::Form2_Text1, &forms::form2, "Text1"},
    FieldControl{engine::Field::Form4_Text1, &forms::form4, "Text1"},
    FieldControl{engine::Field::Form4_Text2, &forms::form4, "Text2"},
    FieldControl{engine::Field::Form4_Text3, &forms::form4, "Text3"},
    FieldControl{engine::Field::Form4_Text4, &forms::form4, "Text4"},
    FieldControl{engine::Field::Form4_Text5, &forms::form4, "Text5"},
    FieldControl{engine::Field::Form4_Text6, &forms::form4, "Text6"},
};

constexpr const FieldControl& fieldControl(engine::Field field) {
    for (const FieldControl& control : fieldControls)
        if (control.field == field)
            return control;
    throw std::out_of_range("no control holds this field");
}

} // namespace ui
