// The left-to-right expression evaluator of calculable fields, the unit system, statistics
// over a value array, sorting with origin indices and the parsing of day-table lines.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "framework/convert.h"
#include "framework/messages.h"
#include "platform/cp932.h"

namespace fw {

std::string UnitSystemName;
bool UnitSI = false;
std::array<float, 7> UnitFactor = {1, 1, 1, 1, 1, 1, 1};
std::vector<std::pair<std::string, std::string>> UnitNames;
bool FoundFlag = false;
DayTableCells DayCells;

namespace {

constexpr int kMaxOperators = 12;

bool IsOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/' || c == '='; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Expressions

void ParseExpression(const std::string& text, int& count, ExpressionParts& parts) {
  parts = ExpressionParts{};
  count = 0;
  std::string s = text;
  if (s.empty() || s.back() != '=') s += '=';
  const char* warning = nullptr;
  const int operators = static_cast<int>(std::count_if(s.begin(), s.end(), IsOperator));
  if (HasDoubleByte(s))
    warning = "※文字式に２バイト文字(漢字)が含まれています。";
  else if (s.find_first_of("()") != std::string::npos)
    warning = "※文字式に括弧'(',')'は使えません。（'0123456789+-*/.,'）";
  else if (operators > kMaxOperators)
    warning = "※演算子は最大12個までです。";
  if (warning != nullptr) {
    MsgDialog(platform::J(warning), 3, 1);
    return;
  }
  size_t operandStart = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (!IsOperator(s[i])) continue;
    parts.position[count] = static_cast<int16_t>(i + 1);
    parts.op[count] = s[i];
    parts.operand[count] = static_cast<float>(TextToFloat(s.substr(operandStart, i - operandStart)));
    operandStart = i + 1;
    ++count;
  }
}

double ExpressionToVariant(const std::string& text) {
  const std::string s = StripChar(TrimBoth(text));
  int count = 0;
  ExpressionParts parts;
  ParseExpression(s, count, parts);
  if (count < 1 || HasDoubleByte(s)) return 0;
  double value = parts.operand[0];
  for (int k = 0; k + 1 < count; ++k) {
    const double operand = parts.operand[k + 1];
    switch (parts.op[k]) {
      case '+': value += operand; break;
      case '-': value -= operand; break;
      case '*': value *= operand; break;
      case '/':
        if (operand != 0) value /= operand;  // division by zero is skipped
        break;
      default: break;
    }
  }
  return value;
}

// ---------------------------------------------------------------------------------------------
// Unit system

void SetUnitSystem(const std::string& name) {
  UnitSystemName = name;
  UnitSI = name == platform::J("ＳＩ単位");
  if (UnitSI)
    UnitFactor = {1.0f, 1.1627899f, 0.86f, 2083.6f, 0.00047994f, 1.1627899f, 1.1627899f};
  else
    UnitFactor = {1, 1, 1, 1, 1, 1, 1};
}

std::string UnitSymbolText(const std::string& text) {
  if (!UnitSI) return text;
  struct Symbol {
    std::string wide, narrow;
  };
  static const Symbol kSymbols[] = {
      {platform::J("℃"), platform::J("ﾟC")},
      {platform::J("Ｋ"), platform::J("ﾟK")},
      {platform::J("㎡"), "m2"},
  };
  std::string s = text;
  for (const Symbol& sym : kSymbols) s = ReplaceAll(sym.wide, sym.narrow, s);
  for (const auto& [from, to] : UnitNames) {
    if (from.empty() || !ContainsStr(from, s)) continue;
    s = ReplaceFirst(from, to, s);
    for (const Symbol& sym : kSymbols)
      if (ContainsStr(sym.wide, text)) s = ReplaceAll(sym.narrow, sym.wide, s);
    break;
  }
  return s;
}

// ---------------------------------------------------------------------------------------------
// Statistics

void FloatArrayStats(int count, std::span<const float> values, ArrayStats& stats) {
  stats = ArrayStats{};
  FoundFlag = false;
  const int n = std::clamp(count, 0, static_cast<int>(values.size()));
  if (n == 0) return;
  double sum = 0;
  for (int i = 0; i < n; ++i) {
    const float v = values[static_cast<size_t>(i)];
    if (v < stats.minimum) {
      stats.minimum = v;
      stats.minIndex = i + 1;
    }
    if (v > stats.maximum) {
      stats.maximum = v;
      stats.maxIndex = i + 1;
    }
    sum += v;
  }
  const int64_t mean = Round(sum / n);
  stats.mean = static_cast<float>(mean);
  // The nearest index is the first one with the smallest rounded distance from the mean, as
  // long as that distance is within the spread (max - min, rounded). Searching the minimum
  // directly gives the same index as trying the distances 0, 1, 2, ... in turn.
  const int64_t spread = Round(static_cast<double>(stats.maximum) - stats.minimum);
  int64_t best = -1;
  for (int i = 0; i < n; ++i) {
    const int64_t d = Round(std::fabs(static_cast<double>(values[static_cast<size_t>(i)]) - static_cast<double>(mean)));
    if (d <= spread && (best < 0 || d < best)) {
      best = d;
      stats.nearestIndex = i + 1;
    }
  }
  FoundFlag = best >= 0;
}

// ---------------------------------------------------------------------------------------------
// Sorting

// The order is byte order of the CP932 text with ASCII letters folded to upper case (double-byte
// characters compare by their bytes, unchanged), plus the "<nnn>" position suffix, so equal texts
// keep their input order. This is the stand-in for the platform's case-insensitive text order:
// it does not depend on the machine's locale, so every machine sorts alike.
bool SortStringsKeepIndex(char order, int count, std::vector<std::string>& texts, std::vector<int>& index) {
  if (count < 0 || count >= 1000 || count > static_cast<int>(texts.size())) return false;
  std::vector<std::string> keys(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    keys[static_cast<size_t>(i)] = UpperCaseJ(texts[static_cast<size_t>(i)]) + "<" + IntToStrWidth(3, i + 1) + ">";
  }
  std::vector<int> order1(static_cast<size_t>(count));
  std::iota(order1.begin(), order1.end(), 0);
  std::stable_sort(order1.begin(), order1.end(),
                   [&](int a, int b) { return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)]; });
  if (order == 'D') std::reverse(order1.begin(), order1.end());
  std::vector<std::string> sorted(static_cast<size_t>(count));
  if (index.size() < static_cast<size_t>(count)) index.resize(static_cast<size_t>(count));
  for (int j = 0; j < count; ++j) {
    sorted[static_cast<size_t>(j)] = std::move(texts[static_cast<size_t>(order1[static_cast<size_t>(j)])]);
    index[static_cast<size_t>(j)] = order1[static_cast<size_t>(j)] + 1;
  }
  std::move(sorted.begin(), sorted.end(), texts.begin());
  return true;
}

// ---------------------------------------------------------------------------------------------
// Day-table lines

bool ParseDayTableLine(const std::string& line, int mode) {
  DayTableCells& c = DayCells;
  if (mode >= 0 && mode <= 3) {
    c.text.fill(std::string());
    c.number.fill(0.0);
  }
  c.count = 0;
  c.row = 0;
  if (line.empty() || mode < 0 || mode >= 5) return false;
  if (mode >= 1 && (line.size() < 27 || line[10] != ' ')) return false;
  // Entries beyond the buffer are dropped, never written past it.
  c.count = std::clamp((static_cast<int>(line.size()) - 19) / 7, 0, DayTableCells::kEntries);
  // Bytes [from, from + length) of the line, 1-based `from`; short or empty past the end.
  auto piece = [&](int from, int length) {
    const size_t at = static_cast<size_t>(from - 1);
    return at < line.size() ? line.substr(at, static_cast<size_t>(length)) : std::string();
  };
  switch (mode) {
    case 0:
      c.text[0] = line;
      break;
    case 1:
      c.row = static_cast<int>(TextToInt(line.substr(line.size() - 2)));
      for (int i = 0; i < c.count; ++i) c.text[static_cast<size_t>(i)] = piece(23 + 7 * i, 4);
      break;
    case 2:
    case 3:
      for (int i = 0; i < c.count; ++i) c.text[static_cast<size_t>(i)] = TrimRight(piece(21 + 7 * i, 6));
      break;
    case 4:
      c.text[0] = piece(1, 10);
      c.text[1] = piece(12, 8);
      for (int i = 0; i < c.count; ++i) c.number[static_cast<size_t>(i)] = TextToFloat(piece(21 + 7 * i, 6));
      break;
    default:
      break;
  }
  return true;
}

}  // namespace fw
