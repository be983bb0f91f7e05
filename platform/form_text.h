// The lexical form of stored descriptions, shared by the chart's and the report's: names
// (letters, digits and '_', parts joined by '.': "Border.Visible"), numbers (an optional '-',
// digits, a fraction, an exponent), and strings as quoted pieces ('' stands for a quote) and
// character codes (#13, #$0D) side by side: 'It''s'#13#10'ok'. Lines end in CR LF or LF alone.
#pragma once

#include <string>
#include <string_view>

namespace platform {

bool IsFormNameStart(char c);
bool IsFormNameChar(char c);

// Reads the pieces of a text from a position, counting lines.
class FormScanner {
 public:
  explicit FormScanner(std::string_view text) : s_(text) {}

  // Skips spaces, tabs and line ends.
  void SkipSpace();
  bool AtEnd() const { return pos_ >= s_.size(); }
  // The character at the position; '\0' at the end.
  char Peek() const { return AtEnd() ? '\0' : s_[pos_]; }
  void Skip() { ++pos_; }
  int Line() const { return line_; }
  size_t Pos() const { return pos_; }
  std::string_view Text() const { return s_; }
  // Whether the word (a name compared without regard to case) stands at the position, whole.
  bool AtWord(std::string_view word) const;

  // A name; empty when none starts at the position.
  std::string Name();
  // A number; false with `error` "bad number" when an exponent has no digits.
  bool Number(std::string& text, bool& isFloat, std::string& error);
  // Quoted pieces and character codes; false with `error` "unterminated string" (a piece that
  // meets a line end) or "bad character code" (no digits, or above 255).
  bool String(std::string& out, std::string& error);

 private:
  std::string_view s_;
  size_t pos_ = 0;
  int line_ = 1;
};

// `bytes` in the quoted form: printable bytes in quotes, control bytes as #codes; '' when empty.
std::string FormStringText(std::string_view bytes);

}  // namespace platform
