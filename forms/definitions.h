#pragma once

#include "forms/clock_icon.h"
#include "forms/form_def.h"

#include <array>

namespace forms {

// "ＭＳ ゴシック" names a font that Linux desktops rarely have; the toolkit adds
// Japanese Gothic fallbacks behind it so that no glyph is left without a face.
inline constexpr std::string_view gothicFamily = "ＭＳ ゴシック";
inline constexpr Font readoutFont{gothicFamily, 30, true};
inline constexpr Font dialogFont{gothicFamily, 18, true};

inline constexpr Rgb orange = fromBgr(0x0080FF);
inline constexpr Rgb yellow = fromBgr(0x00FFFF);
inline constexpr Rgb mainBackground = fromBgr(0xFF0000);

// ---- mainForm -------------------------------------------------------------------------

inline constexpr std::array mainFormControls{
    Control{"Label1", Kind::Readout, "", {2400, 480, 2655, 615}, 0, readoutFont},
};

inline constexpr std::array mainFormLines{
    LineControl{"Line12", 5160, 1440, 6000, 2280, orange, 8},
    LineControl{"Line11", 4800, 1680, 5640, 2520, orange, 8},
    LineControl{"Line10", 4440, 1920, 5280, 2640, orange, 8},
    LineControl{"Line9", 4080, 2280, 5040, 2880, orange, 8},
    LineControl{"Line3", 1560, 3120, 2760, 4080, yellow, 13},
    LineControl{"Line2", 1680, 2400, 3000, 3600, yellow, 3},
    LineControl{"Line1", 1920, 1560, 3240, 2640, yellow, 1},
};

inline constexpr std::array mainFormMenu{
    MenuItem{"kankaku", "アラーム間隔設定"},
    MenuItem{"happyou", "発表アラーム"},
    MenuItem{"jikokusettei", "アラーム時刻設定"},
    MenuItem{"aramuoff", "アラームOFF"},
    MenuItem{"end", "終了"},
};

inline constexpr FormDefinition mainFormDefinition{
    .name = "mainForm",
    .caption = "&H00FF8080&  Ver.10",
    .clientWidth = 7215,
    .clientHeight = 5385,
    .controls = mainFormControls,
    .lines = mainFormLines,
    .menu = mainFormMenu,
    .timerIntervalMs = 100,
    .icon = &clockIcon,
    .clientName = "アナログ時計",
};

// ---- Form1: alarm time ----------------------------------------------------------------

inline constexpr std::array form1Controls{
    Control{"Label1", Kind::Label, "アラーム時刻設定", {720, 360, 3255, 495}, 0, dialogFont},
    Control{"Text1", Kind::TextBox, "", {240, 1200, 1095, 495}, 1, dialogFont, "アラーム時刻 時"},
    Control{"Label2", Kind::Label, "時", {1440, 1320, 615, 495}, 2, dialogFont},
    Control{"Text2", Kind::TextBox, "", {2040, 1200, 1095, 495}, 3, dialogFont, "アラーム時刻 分"},
    Control{"Label3", Kind::Label, "分", {3360, 1320, 615, 495}, 4, dialogFont},
    Control{"Command1", Kind::CommandButton, "時刻設定", {840, 2040, 2295, 615}, 5, dialogFont},
    Control{"Label4", Kind::Notice, "", {1080, 2760, 1575, 375}, 6, std::nullopt},
};

inline constexpr FormDefinition form1Definition{
    .name = "Form1",
    .caption = "アラーム時刻設定 Ver.10",
    .clientWidth = 4530,
    .clientHeight = 3390,
    .controls = form1Controls,
    .icon = &clockIcon,
};

// ---- Form2: interval alarm ------------------------------------------------------------

inline constexpr std::array form2Controls{
    Control{"Label1", Kind::Label, "アラーム間隔設定", {840, 240, 2535, 375}, 0, dialogFont},
    Control{"Text1", Kind::TextBox, "", {2280, 1080, 1095, 495}, 1, dialogFont, "間隔 秒"},
    Control{"Label2", Kind::Label, "分", {1680, 1080, 495, 495}, 2, dialogFont},
    Control{"Label3", Kind::Label, "秒", {3480, 1080, 855, 375}, 3, dialogFont},
    Control{"Command1", Kind::CommandButton, "START", {960, 1920, 2655, 615}, 4, dialogFont},
    Control{"Text3", Kind::TextBox, "", {240, 1080, 1215, 495}, 5, dialogFont, "間隔 分"},
};

inline constexpr FormDefinition form2Definition{
    .name = "Form2",
    .caption = "時間間隔Ver.10",
    .clientWidth = 4620,
    .clientHeight = 2895,
    .controls = form2Controls,
    .icon = &clockIcon,
};

// ---- Form4: presentation alarm --------------------------------------------------------

inline constexpr std::array form4Controls{
    Control{"Label1", Kind::Label, "アラーム設定", {1560, 360, 2895, 495}, 0, dialogFont},
    Control{"Label2", Kind::Label, "１鈴目", {120, 1080, 1335, 495}, 1, dialogFont},
    Control{"Text1", Kind::TextBox, "", {1440, 1080, 1095, 615}, 2, dialogFont, "１鈴目 分"},
    Control{"Label3", Kind::Label, "分", {2760, 1080, 735, 615}, 3, dialogFont},
    Control{"Text2", Kind::TextBox, "", {3720, 1080, 1095, 615}, 4, dialogFont, "１鈴目 秒"},
    Control{"Label4", Kind::Label, "秒", {4920, 1080, 975, 615}, 5, dialogFont},
    Control{"Label5", Kind::Label, "２鈴目", {120, 1920, 1335, 495}, 6, dialogFont},
    Control{"Text3", Kind::TextBox, "", {1440, 1920, 1095, 615}, 7, dialogFont, "２鈴目 分"},
    Control{"Label6", Kind::Label, "分", {2760, 1920, 735, 495}, 8, dialogFont},
    Control{"Text4", Kind::TextBox, "", {3720, 1920, 1095, 615}, 9, dialogFont, "２鈴目 秒"},
    Control{"Label8", Kind::Label, "秒", {4920, 1920, 975, 495}, 10, dialogFont},
    Control{"Label9", Kind::Label, "３鈴目", {120, 2760, 1335, 495}, 11, dialogFont},
    Control{"Text5", Kind::TextBox, "", {1440, 2760, 1095, 615}, 12, dialogFont, "３鈴目 分"},
    Control{"Label10", Kind::Label, "分", {2640, 2760, 855, 495}, 13, dialogFont},
    Control{"Text6", Kind::TextBox, "", {3720, 2760, 1095, 615}, 14, dialogFont, "３鈴目 秒"},
    Control{"Label11", Kind::Label, "秒", {4920, 2880, 1095, 495}, 15, dialogFont},
    Control{"Command1", Kind::CommandButton, "START", {1200, 3720, 3375, 735}, 16, dialogFont},
};

inline constexpr FormDefinition form4Definition{
    .name = "Form4",
    .caption = "発表時間設定Ver.10",
    .clientWidth = 6195,
    .clientHeight = 4665,
    .controls = form4Controls,
    .icon = &clockIcon,
};

} // namespace forms
