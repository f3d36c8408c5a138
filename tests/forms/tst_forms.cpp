// The dialogs as the user reads them: each field that the tick reads sits left of the label
// that names its unit, the fields of a dialog follow in reading order, and Tab walks them.

#include "forms/definitions.h"
#include "forms/tab_order.h"

#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <string>
#include <tuple>

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
        const auto next = engine::Field(int(field.field) + 1);
        if (int(next) < int(std::size(units)) && forms::fieldControl(next).form == field.form) {
            const auto* nextBox =
                forms::findControl(*field.form, forms::fieldControl(next).textBox);
            EXPECT_LT(readingOrder(box), readingOrder(nextBox->twips));
        }
    }
}

// A window whose definition lists its controls in another order than their tab numbers.
constexpr std::array outOfOrderControls{
    forms::Control{"Label1", forms::Kind::Label, "", {}, 2, std::nullopt},
    forms::Control{"Command1", forms::Kind::CommandButton, "", {}, 3, std::nullopt},
    forms::Control{"Text2", forms::Kind::TextBox, "", {}, 1, std::nullopt},
    forms::Control{"Label4", forms::Kind::Notice, "", {}, 0, std::nullopt},
    forms::Control{"Text1", forms::Kind::TextBox, "", {}, 1, std::nullopt},
};
constexpr forms::Form outOfOrder{
    .name = "outOfOrder", .caption = "", .controls = outOfOrderControls};

// Tab walks the fields and the button of each window in the order of their tab numbers (Form2's
// minutes come last); the first has the focus when the window shows. Screen readers read the
// labels among them in the same order.
TEST(Forms, TabOrderAndTheFirstFocus) {
    const auto names = [](const std::vector<const forms::Control*>& controls) {
        std::string text;
        for (const forms::Control* control : controls)
            text.append(text.empty() ? "" : " ").append(control->name);
        return text;
    };
    // The form, its first focus, its focus order, and its reading order as far as the first labels.
    using Row =
        std::tuple<const forms::Form&, std::string_view, std::string_view, std::string_view>;
    for (const auto& [form, firstFocus, focusOrder, readingOrder] : {
             Row{forms::form1, "Text1", "Text1 Text2 Command1", "Label1 Text1 Label2 Text2 Label3"},
             Row{forms::form2, "Text1", "Text1 Command1 Text3",
                 "Label1 Text1 Label2 Label3 Command1"},
             Row{forms::form4, "Text1", "Text1 Text2 Text3 Text4 Text5 Text6 Command1",
                 "Label1 Label2 Text1 Label3 Text2 Label4 Label5 Text3"},
             Row{forms::mainForm, "", "", "Label1"},
             Row{outOfOrder, "Text2", "Text2 Text1 Command1", "Label4 Text2 Text1 Label1 Command1"},
         }) {
        SCOPED_TRACE(std::string(form.name));
        EXPECT_EQ(names(forms::focusOrder(form)), focusOrder);
        EXPECT_TRUE(names(forms::inTabOrder(form)).starts_with(readingOrder));
        const forms::Control* first = forms::firstFocus(form);
        EXPECT_EQ(first ? first->name : "", firstFocus);
    }
}
