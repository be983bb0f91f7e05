// Byte classification of CP932 text. A lead byte is 0x81-0x9F or 0xE0-0xFC; the byte after
// a lead byte is its trail byte (0x40-0xFC, which includes '\' 0x5C and ASCII letters), so
// the role of a byte is known only by scanning from the start of the text. Half-width
// katakana 0xA1-0xDF are single bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

constexpr bool IsCp932LeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

enum class ByteRole { Single, Lead, Trail };

// Role of the byte at 0-based index `at` of `text`, scanning from the start. A lead byte
// in the last position (no trail follows) still counts as Lead. Index past the end: Single.
ByteRole ByteRoleAt(std::string_view text, size_t at);

// ASCII letters a-z to upper case (A-Z to lower case); every other byte, and in particular the
// trail byte of a double-byte character (it may lie in 0x61-0x7A), stays as it is.
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);

// Whether `text` holds `lowerWord` (lower-case ASCII) at byte `at`, ASCII letters of the text
// compared in either case.
bool AsciiWordAt(std::string_view text, size_t at, std::string_view lowerWord);

// The length of the longest start of `text` that has at most `maxBytes` bytes and does not end
// inside a double-byte character (a cut never leaves half a character behind).
size_t WholeCharPrefix(std::string_view text, size_t maxBytes);

}  // namespace platform
