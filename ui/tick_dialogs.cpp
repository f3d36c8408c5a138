#include "ui/tick_dialogs.h"

#include "ui/dialogs.h"
#include "ui/fields.h"
#include "ui/main_form.h"
#include "ui/windows.h"

namespace ui {

std::string TickDialogs::fieldText(engine::Field field) {
    const FieldControl& control = fieldControl(field);
    return windows_.dialog(*control.form).window().text(control.textBox);
}

void TickDialogs::setNotice(std::string_view caption) {
    DialogWindow& form1 = windows_.reference<Form1>().window();
    const bool begins = !noticeInLastTick_;
    noticeSet_ = true;
    if (begins)
        form1.setCaption("Label4", {});
    form1.setCaption("Label4", caption);
    if (begins)
        windows_.reference<MainForm>().window().requestAttention();
}

} // namespace ui
