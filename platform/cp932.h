// Text codec: the program keeps every text as CP932 (Windows Shift-JIS) bytes; Unicode
// (UTF-8 here) appears only where text meets the Linux file system, a widget or a font.
// Conversion uses glibc iconv with the name "CP932": its "SHIFT_JIS" maps 0x5C to the yen
// sign and lacks the NEC/IBM extensions (№, ㎡, ①) that the program's texts use.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// CP932 bytes to UTF-8. Bytes that CP932 does not define become U+FFFD, so the result is
// always valid UTF-8 (a damaged file still shows).
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932; empty when some character has no CP932 form or the UTF-8 is malformed.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// A Japanese literal of the source (UTF-8) as CP932 bytes. The literal must be encodable:
// anything else is a programming error and aborts with a message naming the text.
std::string J(std::string_view utf8Literal);

}  // namespace platform
