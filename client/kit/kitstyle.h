#pragma once

#include <QColor>

// Colours and metrics shared by every widget of the kit, so the dialogs,
// bubbles and buttons look like one product.
namespace mvk {
namespace KitStyle {

constexpr QRgb Accent = 0xff3676f5;         // primary buttons, links, highlights
constexpr QRgb AccentHover = 0xff5a8ff7;
constexpr QRgb AccentPressed = 0xff2a5dc4;
constexpr QRgb Panel = 0xffffffff;          // dialog and bubble panels
constexpr QRgb PanelBorder = 0xffe6e6e6;    // rgb(230, 230, 230)
constexpr QRgb Row = 0xfff6f6f6;            // rgb(246, 246, 246)
constexpr QRgb RowHover = 0xffededed;
constexpr QRgb SecondaryButton = 0xffe7e7e7;
constexpr QRgb SecondaryButtonHover = 0xffdcdcdc;
constexpr QRgb SecondaryButtonPressed = 0xffcfcfcf;
constexpr QRgb Text = 0xff1f2329;
constexpr QRgb TextSecondary = 0xff646a73;
constexpr QRgb TextDisabled = 0xffb0b4ba;
constexpr QRgb IconGlyph = 0xff5c6066;      // window buttons, menu glyph
constexpr QRgb Danger = 0xfff0473c;         // close-button hover, error icon
constexpr QRgb Warning = 0xfff7a21b;
constexpr QRgb SwitchOff = 0xffc4c7cc;

constexpr int PanelRadius = 12;
constexpr int RowRadius = 6;

} // namespace KitStyle
} // namespace mvk
