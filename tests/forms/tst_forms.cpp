// The dialogs as the user reads them: each field that the tick reads sits left of the label
// that names its unit, and the fields of a dialog follow in reading order.

#include "forms/definitions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

TEST(Forms, EachFieldSitsLeftOfItsUnit) {
    // What the engine makes of each field, in the order of engine::Field.
    const std::string_view units[] = {"時", "分", "分", "秒", "分", "秒", "分", "秒", "分", "秒"};
    const auto readingOrder = [](const forms::Rect& r) { return r.top / 240 * 100000 + r.left; };
    for (const forms::FieldControl& field : forms::fieldControls) {
        SCOPED_TRACE(std::string(field.form->name) + "." + std::string(field.textBox));
        const forms::Rect box = forms::findControl(*field.form, field.textBox)->twips;
        const forms::Control* unit = nullptr;
        for (const forms::Control& label : field.form->controls)
            if (label.kind == forms::Kind::Label && label.twips.left > box.left + box.width &&
                label.twips.top < box.top + box.height &&
                box.top < label.twips.top + label.twips.height &&
                (!unit || label.twips.left < unit->twips.left))
                unit = &label;
        ASSERT_NE(unit, nullptr);
        EXPECT_EQ(unit->caption, units[int(field.field)]);
        // The next field of the same dialog comes later in reading order.
        const auto next =
            std::find_if(forms::fieldControls.begin(), forms::fieldControls.end(),
                         [&](const auto& f) { return int(f.field) == int(field.field) + 1; });
        if (next != forms::fieldControls.end() && next->form == field.form) {
            EXPECT_LT(readingOrder(box),
                      readingOrder(forms::findControl(*field.form, next->textBox)->twips));
        }
    }
}
