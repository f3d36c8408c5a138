// The dialogs as the keyboard walks them: Tab in the order of the tab numbers.

#include "forms/definitions.h"
#include "forms/tab_order.h"

#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <string>
#include <tuple>

// A window whose definition lists its controls in another order than their tab numbers.
constexpr std::array outOfOrderControls{
    forms::Control{"Label1", forms::Kind::Label, "", {}, 2, std::nullopt},
    forms::Control{"Command1", forms::Kind::CommandButton, "", {}, 3, std::nullopt},
    forms::Control{"Text2", forms::Kind::TextBox, "", {}, 1, std::nullopt},
    forms::Control{"Label4", forms::Kind::Notice, "", {}, 0, std::nullopt},
    forms::Control{"Text1", forms::Kind::TextBox, "", {}, 1, std::nullopt},
};
constexpr forms::FormDefinition outOfOrder{
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
    using Row = std::tuple<const forms::FormDefinition&, std::string_view, std::string_view,
                           std::string_view>;
    for (const auto& [form, firstFocus, focusOrder, readingOrder] : {
             Row{forms::form1Definition, "Text1", "Text1 Text2 Command1",
                 "Label1 Text1 Label2 Text2 Label3"},
             Row{forms::form2Definition, "Text1", "Text1 Command1 Text3",
                 "Label1 Text1 Label2 Label3 Command1"},
             Row{forms::form4Definition, "Text1", "Text1 Text2 Text3 Text4 Text5 Text6 Command1",
                 "Label1 Label2 Text1 Label3 Text2 Label4 Label5 Text3"},
             Row{forms::mainFormDefinition, "", "", "Label1"},
             Row{outOfOrder, "Text2", "Text2 Text1 Command1", "Label4 Text2 Text1 Label1 Command1"},
         }) {
        SCOPED_TRACE(std::string(form.name));
        EXPECT_EQ(names(forms::focusOrder(form)), focusOrder);
        EXPECT_TRUE(names(forms::inTabOrder(form)).starts_with(readingOrder));
        const forms::Control* first = forms::firstFocus(form);
        EXPECT_EQ(first ? first->name : "", firstFocus);
    }
}
