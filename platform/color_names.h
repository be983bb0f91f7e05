// Colour names: the identifiers of the standard and system colours ("clRed", "clBtnFace",
// "clNone" ...) as stored descriptions and colour texts write them, and the conversion of a
// colour text (a name, a decimal number or "$" and hex digits) to a colour value.
//
// System colours are the references of dc.h (0xFF000000 | index); "clNone" is 0x1FFFFFFF and
// "clDefault" 0x20000000. Names compare without regard to case. Numbers are 32-bit: decimal
// with an optional sign (negative values stand for the references, as the platform writes
// them) or "$" with up to eight hex digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The name of a colour that has one.
std::optional<std::string> ColorToIdent(uint32_t color);
// The colour of a name.
std::optional<uint32_t> IdentToColor(std::string_view ident);
// The name, or the value as a signed decimal number.
std::string ColorToString(uint32_t color);
// A name or a number; nothing for any other text.
std::optional<uint32_t> StringToColor(std::string_view text);

}  // namespace platform
