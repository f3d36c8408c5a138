#include "toolkit/qt/controls.h"

#include "forms/tab_order.h"
#include "toolkit/qt/fonts.h"
#include "toolkit/qt/text.h"
#include "toolkit/qt/top_level.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>
#include <stdexcept>
#include <string>

namespace toolkit::qt {
namespace {

QWidget* makeControl(const forms::Control& def, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (def.kind) {
    case forms::Kind::Label:
    case forms::Kind::Notice:
    case forms::Kind::Readout: {
        auto* label = new QLabel(qstr(def.caption), parent);
        label->setProperty("notice", def.kind == forms::Kind::Notice);
        label->setVisible(def.kind != forms::Kind::Notice);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(false);
        label->setAutoFillBackground(true);
        label->setBackgroundRole(QPalette::Button);
        label->setForegroundRole(QPalette::ButtonText);
        widget = label;
        break;
    }
    case forms::Kind::TextBox: {
        auto* field = new QLineEdit(parent);
        field->setMaxLength(std::numeric_limits<int>::max());
        field->setAccessibleName(qstr(def.accessibleName));
        widget = field;
        break;
    }
    case forms::Kind::CommandButton: {
        auto* button = new QPushButton(qstr(def.caption), parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        widget = button;
        break;
    }
    }
    widget->setObjectName(qstr(def.name));
    widget->setGeometry(pixelRect(def.twips));
    if (def.font)
        widget->setFont(qfont(*def.font));
    return widget;
}

} // namespace

Controls makeControls(const forms::FormDefinition& form, QWidget& parent) {
    Controls controls;
    for (const forms::Control& def : form.controls)
        controls.emplace_back(def.name, makeControl(def, &parent));
    QWidget* previous = nullptr;
    for (const forms::Control* def : forms::focusOrder(form)) {
        QWidget& current = controlNamed(controls, def->name);
        current.setFocusPolicy(Qt::StrongFocus);
        if (previous)
            QWidget::setTabOrder(previous, &current);
        else
            current.setFocus(Qt::OtherFocusReason);
        previous = &current;
    }
    return controls;
}

QWidget& controlNamed(const Controls& controls, std::string_view name) {
    for (const auto& [controlName, widget] : controls)
        if (controlName == name)
            return *widget;
    throw std::out_of_range("no control named " + std::string(name));
}

} // namespace toolkit::qt
