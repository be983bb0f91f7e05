// Colour names.
#include "platform/color_names.h"

#include <array>
#include <charconv>

#include "platform/dc.h"
#include "platform/mbcs.h"

namespace platform {

namespace {

struct NamedColor {
  const char* name;
  uint32_t color;
};

// Names in the order a name is looked for a colour (the first of aliases wins).
constexpr std::array<NamedColor, 54> kColors = {{
    {"clBlack", 0x000000},        {"clMaroon", 0x000080},       {"clGreen", 0x008000},
    {"clOlive", 0x008080},        {"clNavy", 0x800000},         {"clPurple", 0x800080},
    {"clTeal", 0x808000},         {"clGray", 0x808080},         {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},          {"clLime", 0x00FF00},         {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},         {"clFuchsia", 0xFF00FF},      {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},        {"clMoneyGreen", 0xC0DCC0},   {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},        {"clMedGray", 0xA4A0A0},      {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},    {"clScrollBar", SystemColor(0)},
    {"clBackground", SystemColor(1)},        {"clActiveCaption", SystemColor(2)},
    {"clInactiveCaption", SystemColor(3)},   {"clMenu", SystemColor(4)},
    {"clWindow", SystemColor(5)},            {"clWindowFrame", SystemColor(6)},
    {"clMenuText", SystemColor(7)},          {"clWindowText", SystemColor(8)},
    {"clCaptionText", SystemColor(9)},       {"clActiveBorder", SystemColor(10)},
    {"clInactiveBorder", SystemColor(11)},   {"clAppWorkSpace", SystemColor(12)},
    {"clHighlight", SystemColor(13)},        {"clHighlightText", SystemColor(14)},
    {"clBtnFace", SystemColor(15)},          {"clBtnShadow", SystemColor(16)},
    {"clGrayText", SystemColor(17)},         {"clBtnText", SystemColor(18)},
    {"clInactiveCaptionText", SystemColor(19)}, {"clBtnHighlight", SystemColor(20)},
    {"cl3DDkShadow", SystemColor(21)},       {"cl3DLight", SystemColor(22)},
    {"clInfoText", SystemColor(23)},         {"clInfoBk", SystemColor(24)},
    {"clHotLight", SystemColor(26)},         {"clGradientActiveCaption", SystemColor(27)},
    {"clGradientInactiveCaption", SystemColor(28)}, {"clMenuHighlight", SystemColor(29)},
    {"clMenuBar", SystemColor(30)},          {"clDkGray", 0x808080},
    {"clLtGray", 0xC0C0C0},
}};

}  // namespace

std::optional<std::string> ColorToIdent(uint32_t color) {
  for (const NamedColor& c : kColors) {
    if (c.color == color) return std::string(c.name);
  }
  return std::nullopt;
}

std::optional<uint32_t> IdentToColor(std::string_view ident) {
  const std::string upper = UpperAscii(ident);
  for (const NamedColor& c : kColors) {
    if (UpperAscii(c.name) == upper) return c.color;
  }
  return std::nullopt;
}

std::string ColorToString(uint32_t color) {
  if (std::optional<std::string> name = ColorToIdent(color)) return *name;
  return std::to_string(static_cast<int32_t>(color));
}

std::optional<uint32_t> StringToColor(std::string_view text) {
  if (std::optional<uint32_t> named = IdentToColor(text)) return named;
  if (text.empty()) return std::nullopt;
  if (text[0] == '$') {
    const std::string_view digits = text.substr(1);
    uint32_t value = 0;
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
  }
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (*first == '+') ++first;
  int64_t value = 0;
  auto [end, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || end != last || value < INT32_MIN || value > int64_t{UINT32_MAX}) return std::nullopt;
  return static_cast<uint32_t>(value);
}

}  // namespace platform
