// Double-byte-safe cutting of CP932 text and the plain byte-string search and edit routines.
#include <algorithm>

#include "framework/convert.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "platform/mbcs.h"

namespace fw {

int SymbolCodeValue = 0;

namespace {

bool IsBlankByte(char c) { return static_cast<unsigned char>(c) <= ' '; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Role of the byte at 1-based position n (1..size).
platform::ByteRole RoleAt(const std::string& text, int n) {
  return platform::ByteRoleAt(text, static_cast<size_t>(n - 1));
}

// Value of a run of decimal digits, held at the 64-bit maximum.
int64_t DigitsValue(const std::string& digits) {
  int64_t value = 0;
  for (char c : digits) {
    const int d = c - '0';
    if (value > (INT64_MAX - d) / 10) return INT64_MAX;
    value = value * 10 + d;
  }
  return value;
}

// The most numbers a number list holds.
constexpr int kMaxListNumbers = 999;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Double-byte-safe cutting

std::string LeftStrJ(const std::string& text, int n) {
  if (n <= 0 || text.empty()) return "";
  if (n >= static_cast<int>(text.size())) return text;
  if (RoleAt(text, n) == platform::ByteRole::Lead) return text.substr(0, static_cast<size_t>(n) - 1) + " ";
  return text.substr(0, static_cast<size_t>(n));
}

std::string RightStrJ(const std::string& text, int n) {
  if (n <= 0) return "";
  const int size = static_cast<int>(text.size());
  if (n >= size) return text;
  int start = size - n + 1;  // 1-based first byte of the piece
  if (RoleAt(text, start) == platform::ByteRole::Trail) --start;
  std::string piece = text.substr(static_cast<size_t>(start - 1), static_cast<size_t>(n));
  if (RoleAt(text, start + n - 1) == platform::ByteRole::Lead) piece.back() = ' ';
  return piece;
}

bool IsLeadByteAt(const std::string& text, int n) {
  if (text.empty()) return false;
  return RoleAt(text, std::clamp(n, 1, static_cast<int>(text.size()))) == platform::ByteRole::Lead;
}

bool IsTrailByteAt(const std::string& text, int n) {
  if (text.empty()) return false;
  return RoleAt(text, std::clamp(n, 1, static_cast<int>(text.size()))) == platform::ByteRole::Trail;
}

bool HasDoubleByte(const std::string& text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return platform::IsCp932LeadByte(static_cast<unsigned char>(c)); });
}

std::string UpperCaseJ(const std::string& text) { return platform::UpperAscii(text); }

void SplitAtBytes(const std::string& text, int n, std::string& first, std::string& rest) {
  if (static_cast<int>(text.size()) <= n) {
    first = text;
    rest.clear();
    return;
  }
  int cut = std::max(0, n);
  if (cut > 0 && RoleAt(text, cut) == platform::ByteRole::Lead) --cut;
  first = text.substr(0, static_cast<size_t>(cut));
  rest = text.substr(static_cast<size_t>(cut));
}

// ---------------------------------------------------------------------------------------------
// Search and edit

bool ContainsStr(const std::string& sub, const std::string& text) { return text.find(sub) != std::string::npos; }

std::string ReplaceFirst(const std::string& oldText, const std::string& newText, const std::string& text) {
  if (oldText.empty()) return text;
  const size_t at = text.find(oldText);
  if (at == std::string::npos) return text;
  std::string out = text;
  out.replace(at, oldText.size(), newText);
  return out;
}

// One left-to-right pass replaces every occurrence without rescanning the inserted text, so it
// always ends. When the new text is shorter than the old one, passes repeat until no occurrence
// is left (as replacing the first occurrence again and again would): each pass shortens the
// text, so this ends too. A longer new text gets one pass only, because repeating could grow the
// text for ever (for example "ab" -> "bbaa").
std::string ReplaceAll(const std::string& oldText, const std::string& newText, const std::string& text) {
  if (oldText.empty()) return text;
  std::string current = text;
  for (;;) {
    std::string out;
    size_t from = 0;
    bool replaced = false;
    for (size_t at = current.find(oldText); at != std::string::npos; at = current.find(oldText, from)) {
      out.append(current, from, at - from);
      out += newText;
      from = at + oldText.size();
      replaced = true;
    }
    if (!replaced) return current;
    out.append(current, from, std::string::npos);
    current = std::move(out);
    if (newText.size() >= oldText.size() || current.find(oldText) == std::string::npos) return current;
  }
}

std::string DeleteSubstring(const std::string& sub, const std::string& text) { return ReplaceFirst(sub, "", text); }

std::string TextBefore(const std::string& text, const std::string& separator) {
  const size_t at = separator.empty() ? std::string::npos : text.find(separator);
  return at == std::string::npos ? text : text.substr(0, at);
}

std::string OverwriteAt(const std::string& text, int position, const std::string& piece) {
  const size_t at = std::min(static_cast<size_t>(std::max(position, 1) - 1), text.size());
  std::string out = text;
  out.replace(at, std::min(piece.size(), out.size() - at), piece);
  return out;
}

std::string ReplaceChar(const std::string& text, char oldCh, char newCh) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != oldCh)
      out += c;
    else if (newCh != 0)
      out += newCh;
  }
  return out;
}

std::string StripChar(const std::string& text) { return ReplaceChar(text, ',', 0); }

std::string TrimRight(const std::string& text) {
  size_t end = text.size();
  while (end > 0 && IsBlankByte(text[end - 1])) --end;
  return text.substr(0, end);
}

std::string TrimLeft(const std::string& text) {
  size_t begin = 0;
  while (begin < text.size() && IsBlankByte(text[begin])) ++begin;
  return text.substr(begin);
}

std::string TrimBoth(const std::string& text) { return TrimLeft(TrimRight(text)); }

std::string StripLabelPrefix(const std::string& text) {
  const size_t colon = text.find(':');
  // 0-based index 2 is position 3: a drive "C:" (position 2) is never taken for a label.
  if (colon == std::string::npos || colon < 2) return text;
  return text.substr(colon + 1);
}

int CountChars(const std::string& text, const std::string& set) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [&](char c) { return set.find(c) != std::string::npos; }));
}

bool HasOnlyChars(const std::string& text, const std::string& set) {
  return std::all_of(text.begin(), text.end(), [&](char c) { return set.find(c) != std::string::npos; });
}

bool HasCharsOf(const std::string& text, const std::string& set) {
  if (set.size() == 4 && set.compare(1, 2, "..") == 0) {
    const unsigned char low = static_cast<unsigned char>(set[0]);
    const unsigned char high = static_cast<unsigned char>(set[3]);
    return std::any_of(text.begin(), text.end(), [&](char c) {
      const unsigned char u = static_cast<unsigned char>(c);
      return u >= low && u <= high;
    });
  }
  return std::any_of(text.begin(), text.end(), [&](char c) { return set.find(c) != std::string::npos; });
}

int HourOfTimeText(const std::string& text) {
  const size_t colon = text.find(':');
  if (text.size() < 4 || colon == std::string::npos || colon < 2 || colon > 4) return 0;
  return static_cast<int>(TextToInt(text.substr(0, colon)));
}

int SymbolCode(char ch) {
  int code = static_cast<unsigned char>(ch);
  switch (ch) {
    case '!': code = 245; break;
    case '"': code = 246; break;
    case '%': code = 243; break;
    case '&': code = 241; break;
    case '\'': code = 244; break;
    case '(': code = 242; break;
    case '-': code = 247; break;
    case '.': code = 248; break;
    default: break;
  }
  SymbolCodeValue = code;
  return code;
}

std::string ExpandRangeText(const std::string& text) {
  if (HasDoubleByte(text) || !HasOnlyChars(text, "1234567890.,") || ContainsStr("...", text)) return text;
  std::string out;
  int written = 0;
  size_t from = 0;
  while (from <= text.size()) {
    size_t comma = text.find(',', from);
    if (comma == std::string::npos) comma = text.size();
    const std::string item = text.substr(from, comma - from);
    const size_t dots = item.find("..");
    if (dots == std::string::npos) {
      if (written >= kMaxListNumbers) break;
      out += (out.empty() ? "" : ",") + item;
      ++written;
    } else {
      const int64_t first = TextToInt(item.substr(0, dots));
      const int64_t last = TextToInt(item.substr(dots + 2));
      if (last < first) {
        // The expansion stops here; the rest stays as written.
        out += (out.empty() ? "" : ",") + text.substr(from);
        return out;
      }
      for (int64_t n = first; written < kMaxListNumbers; ++n) {
        out += (out.empty() ? "" : ",") + std::to_string(n);
        ++written;
        if (n == last) break;  // also keeps n from running past the 64-bit maximum
      }
    }
    from = comma + 1;
  }
  return out;
}

void ParseNumberList(const std::string& text, int& count, std::vector<int64_t>& numbers) {
  numbers.clear();
  const std::string list = ExpandRangeText(text);
  size_t from = 0;
  while (from <= list.size() && static_cast<int>(numbers.size()) < kMaxListNumbers) {
    size_t comma = list.find(',', from);
    if (comma == std::string::npos) comma = list.size();
    const std::string item = list.substr(from, comma - from);
    if (!TrimBoth(item).empty()) numbers.push_back(TextToInt(item));
    from = comma + 1;
  }
  count = static_cast<int>(numbers.size());
  DialogYes = count > 0;
}

bool IsNewComboText(const std::string& comboText, const std::vector<std::string>& comboItems,
                    const std::string& text, const std::string& exclude) {
  if (text.empty() || text.size() > 40) return false;
  if (!exclude.empty() && ContainsStr(exclude, comboText)) return false;
  return FindInStrings(comboItems, text) == 0;
}

std::string BlankToZero(const std::string& text) { return ReplaceChar(text, ' ', '0'); }

int64_t TrailingNumber(const std::string& text) {
  size_t begin = text.size();
  while (begin > 0 && IsDigit(text[begin - 1])) --begin;
  return DigitsValue(text.substr(begin));
}

int64_t LeadingNumber(const std::string& text) {
  size_t end = 0;
  while (end < text.size() && IsDigit(text[end])) ++end;
  return DigitsValue(text.substr(0, end));
}

}  // namespace fw
