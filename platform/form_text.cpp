// The lexical form of stored descriptions.
#include "platform/form_text.h"

#include "platform/mbcs.h"

namespace platform {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
}  // namespace

bool IsFormNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsFormNameChar(char c) { return IsFormNameStart(c) || IsDigit(c); }

void FormScanner::SkipSpace() {
  while (pos_ < s_.size()) {
    const char c = s_[pos_];
    if (c == '\n') {
      ++line_;
    } else if (c != ' ' && c != '\t' && c != '\r') {
      break;
    }
    ++pos_;
  }
}

bool FormScanner::AtWord(std::string_view word) const {
  if (s_.size() - pos_ < word.size() || UpperAscii(s_.substr(pos_, word.size())) != UpperAscii(word)) return false;
  const size_t after = pos_ + word.size();
  return after >= s_.size() || !IsFormNameChar(s_[after]);
}

std::string FormScanner::Name() {
  const size_t start = pos_;
  if (pos_ >= s_.size() || !IsFormNameStart(s_[pos_])) return std::string();
  while (pos_ < s_.size() &&
         (IsFormNameChar(s_[pos_]) || (s_[pos_] == '.' && pos_ + 1 < s_.size() && IsFormNameStart(s_[pos_ + 1])))) {
    ++pos_;
  }
  return std::string(s_.substr(start, pos_ - start));
}

bool FormScanner::Number(std::string& text, bool& isFloat, std::string& error) {
  const size_t start = pos_;
  isFloat = false;
  if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
  while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
  if (pos_ < s_.size() && s_[pos_] == '.') {
    isFloat = true;
    ++pos_;
    while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
  }
  if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
    isFloat = true;
    ++pos_;
    if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
    const size_t digits = pos_;
    while (pos_ < s_.size() && IsDigit(s_[pos_])) ++pos_;
    if (digits == pos_) {
      error = "bad number";
      return false;
    }
  }
  text = std::string(s_.substr(start, pos_ - start));
  return true;
}

bool FormScanner::String(std::string& out, std::string& error) {
  while (pos_ < s_.size() && (s_[pos_] == '\'' || s_[pos_] == '#')) {
    if (s_[pos_] == '#') {
      ++pos_;
      const bool hex = pos_ < s_.size() && s_[pos_] == '$';
      if (hex) ++pos_;
      const size_t start = pos_;
      int code = 0;
      while (pos_ < s_.size() && pos_ - start < (hex ? 2u : 3u)) {
        const int d = hex ? HexValue(s_[pos_]) : IsDigit(s_[pos_]) ? s_[pos_] - '0' : -1;
        if (d < 0) break;
        code = code * (hex ? 16 : 10) + d;
        ++pos_;
      }
      if (start == pos_ || code > 255) {
        error = "bad character code";
        return false;
      }
      out += static_cast<char>(code);
      continue;
    }
    ++pos_;
    for (;;) {
      if (pos_ >= s_.size() || s_[pos_] == '\n' || s_[pos_] == '\r') {
        error = "unterminated string";
        return false;
      }
      const char c = s_[pos_++];
      if (c == '\'') {
        if (pos_ < s_.size() && s_[pos_] == '\'') {
          out += '\'';
          ++pos_;
          continue;
        }
        break;
      }
      out += c;
    }
  }
  return true;
}

std::string FormStringText(std::string_view bytes) {
  if (bytes.empty()) return "''";
  std::string out;
  bool open = false;
  for (char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20) {
      if (open) out += '\'';
      open = false;
      out += '#' + std::to_string(u);
      continue;
    }
    if (!open) out += '\'';
    open = true;
    out += c;
    if (c == '\'') out += '\'';
  }
  if (open) out += '\'';
  return out;
}

}  // namespace platform
