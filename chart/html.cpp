// The HTML text renderer.
#include "chart/html.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <vector>

#include "chart/unit.h"
#include "platform/color_names.h"
#include "platform/mbcs.h"

namespace chart {

using platform::BrushStyle;
using platform::PenStyle;

namespace {

// The unit's state: the two stacks and the image hooks.
std::vector<std::string> gTagStack;
std::vector<std::string> gFontStack;
THtmlGraphicFactory gGraphicFactory;
THtmlImageLoader gImageLoader;

constexpr int kMinFontSize = 1, kMaxFontSize = 1000;
// Image sizes beyond this many pixels either way are taken as this many, and the pen never
// moves further than kMaxPen from the origin: sums of positions and sizes stay in range.
constexpr int kMaxImageSide = 32767;
constexpr int64_t kMaxPen = 1 << 28;

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::optional<int> ParseInt(std::string_view s) {
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  int value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

int NumberOf(const std::string& value) {
  std::optional<int> n = ParseInt(value);
  if (!n) throw HtmlParserException("Not a number: " + value);
  return *n;
}

// One attribute of a tag: the upper-case name and the value (without surrounding quotes).
struct Attribute {
  std::string name;
  std::string value;
};

// The attributes of a tag's inside ("NAME=Courier New SIZE=10"): one per "=", the name before
// it, the value up to the space before the next name (the last one to the end).
std::vector<Attribute> ParseAttributes(std::string_view inside) {
  std::vector<Attribute> out;
  size_t pos = 0;
  size_t eq = inside.find('=');
  while (eq != std::string_view::npos) {
    Attribute a;
    a.name = platform::UpperAscii(Trim(inside.substr(pos, eq - pos)));
    const size_t next = inside.find('=', eq + 1);
    size_t end = inside.size();
    if (next != std::string_view::npos) {
      // The value ends at the last space before the next '='; the search stays between the two
      // signs, so a long run of "a=b=c…" is read in one pass.
      const size_t space = inside.substr(eq + 1, next - eq - 1).rfind(' ');
      end = space != std::string_view::npos ? eq + 1 + space : eq + 1;
    }
    a.value = Trim(inside.substr(eq + 1, end - eq - 1));
    if (a.value.size() >= 2 && a.value.front() == '"' && a.value.back() == '"') {
      a.value = a.value.substr(1, a.value.size() - 2);
    }
    out.push_back(std::move(a));
    pos = end;
    eq = next;
  }
  return out;
}

TColor HtmlColor(const std::string& text) {
  const std::string v = platform::UpperAscii(Trim(text));
  static const std::pair<const char*, TColor> kNames[] = {
      {"BLACK", 0x000000}, {"RED", 0x0000FF},    {"BLUE", 0xFF0000},  {"YELLOW", 0x00FFFF},
      {"WHITE", 0xFFFFFF}, {"GREEN", 0x008000}, {"LIME", 0x00FF00},
  };
  for (const auto& [name, color] : kNames) {
    if (v == name) return color;
  }
  if (v.empty() || v[0] != '#') {
    if (std::optional<uint32_t> c = platform::StringToColor(v)) return *c;
    throw HtmlParserException("Not a colour: " + text);
  }
  int channel[3];
  for (size_t k = 0; k < 3; ++k) {
    const size_t at = 1 + 2 * k;
    if (v.size() < at + 2 ||
        std::from_chars(v.data() + at, v.data() + at + 2, channel[k], 16).ptr != v.data() + at + 2) {
      throw HtmlParserException("Not a colour: " + text);
    }
  }
  return platform::RgbColor(channel[0], channel[1], channel[2]);
}

class Renderer {
 public:
  Renderer(TPlotCanvas& canvas, int x, int y, bool draw)
      : c_(canvas), x0_(x), y0_(y), x_(x), y_(y), lineHeight_(canvas.TextHeightW()), draw_(draw) {
    gTagStack.clear();
    gFontStack.clear();
  }

  void Run(std::string_view text) {
    while (!text.empty()) {
      std::string_view token;
      const size_t lt = text.find('<');
      if (lt == std::string_view::npos) {
        token = text;
        text = {};
      } else if (lt == 0) {
        const size_t gt = text.find('>');
        if (gt == std::string_view::npos) throw HtmlParserException("Missing > at " + std::string(text.substr(1)));
        token = text.substr(0, gt + 1);
        text.remove_prefix(gt + 1);
      } else {
        token = text.substr(0, lt);
        text.remove_prefix(lt);
      }
      Token(token);
    }
  }

  THtmlExtent Extent() const { return extent_; }

 private:
  int Size() const { return c_.Font().Size(); }
  void SetSize(int64_t points) {
    c_.Font().SetSize(static_cast<int>(std::clamp<int64_t>(points, kMinFontSize, kMaxFontSize)));
  }
  // Moves a pen coordinate by `by`, no further than kMaxPen from the origin.
  static void Advance(int& position, int64_t by) {
    position = static_cast<int>(std::clamp<int64_t>(int64_t{position} + by, -kMaxPen, kMaxPen));
  }
  void AddStyle(int flag) { c_.Font().SetStyle(c_.Font().Style() | flag); }
  void RemoveStyle(int flag) { c_.Font().SetStyle(c_.Font().Style() & ~flag); }

  void PushFont() {
    const platform::CanvasFont& f = c_.Font();
    std::string weight;
    const std::pair<int, const char*> styles[] = {{platform::fsBold, "BOLD"},
                                                  {platform::fsItalic, "ITALIC"},
                                                  {platform::fsUnderline, "UNDERLINE"},
                                                  {platform::fsStrikeOut, "STRIKE"}};
    for (const auto& [flag, name] : styles) {
      if (f.Style() & flag) weight += (weight.empty() ? "" : ", ") + std::string(name);
    }
    if (weight.empty()) weight = "NORMAL";
    gFontStack.push_back("<FONT size=" + std::to_string(f.Size()) + " name=" + f.Name() +
                         " color=" + std::to_string(static_cast<int32_t>(f.Color())) + " weight=" + weight + ">");
    pushed_ = true;
  }

  void PopFont() {
    std::string tag;
    if (!gFontStack.empty()) {
      tag = std::move(gFontStack.back());
      gFontStack.pop_back();
    }
    ApplyFontTag(tag);
  }

  void ApplyFontTag(std::string_view tag) {
    const std::string_view inside = tag.size() >= 7 ? tag.substr(6, tag.size() - 7) : std::string_view();
    for (const Attribute& a : ParseAttributes(inside)) {
      if (a.name == "NAME" || a.name == "FAMILY") {
        c_.Font().SetName(a.value);
      } else if (a.name == "SIZE") {
        const int n = NumberOf(a.value);
        SetSize(!a.value.empty() && (a.value[0] == '+' || a.value[0] == '-') ? int64_t{Size()} + n : n);
      } else if (a.name == "COLOR") {
        c_.Font().SetColor(HtmlColor(a.value));
      } else if (a.name == "WEIGHT") {
        c_.Font().SetStyle(Weight(a.value));
      } else {
        throw std::runtime_error("Unknown field in FONT: " + a.name);
      }
    }
  }

  static int Weight(const std::string& value) {
    const std::string upper = platform::UpperAscii(value);
    int style = 0;
    size_t pos = 0;
    while (pos <= upper.size()) {
      const size_t comma = upper.find(',', pos);
      const std::string item = Trim(std::string_view(upper).substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
      if (item == "BOLD") {
        style |= platform::fsBold;
      } else if (item == "ITALIC") {
        style |= platform::fsItalic;
      } else if (item == "UNDERLINE") {
        style |= platform::fsUnderline;
      } else if (item == "STRIKE") {
        style |= platform::fsStrikeOut;
      } else if (item == "NORMAL") {
        style = 0;
      } else {
        throw std::runtime_error("Unknown field in FONT WEIGHT=" + value);
      }
      if (comma == std::string::npos) break;
      pos = comma + 1;
    }
    return style;
  }

  void Token(std::string_view token) {
    pushed_ = false;
    if (StartsWith(token, "\r\n")) {
      y_ += c_.TextHeightW();
      x_ = x0_;
      lineHeight_ = 0;
      token.remove_prefix(2);
      if (token.empty()) return;
    }
    if (!Tag(token)) {
      TextRun(token);
      return;
    }
    previousPushed_ = pushed_;
  }

  // A tag of the table; false for a text run.
  bool Tag(std::string_view token) {
    const std::string t = platform::UpperAscii(token);
    if (t == "<BR>" || t == "<P>") {
      x_ = x0_;
      lineHeight_ = 0;
      y_ += c_.TextHeightW();
    } else if (t == "<BIG>") {
      PushFont();
      SetSize(int64_t{Size()} + 2);
    } else if (t == "<SMALL>") {
      PushFont();
      SetSize(int64_t{Size()} - 2);
    } else if (t == "<SUB>") {
      PushFont();
      SetSize(Size() / 2);
      y_ += c_.TextHeightW();
    } else if (t == "</SUB>") {
      PopFont();
      y_ -= c_.TextHeightW();
    } else if (t == "<SUPER>") {
      PushFont();
      SetSize(Size() / 2);
      y_ -= c_.TextHeightW() / 2;
    } else if (t == "</SUPER>") {
      PopFont();
      y_ += c_.TextHeightW() / 2;
    } else if (t.size() == 4 && StartsWith(t, "<H") && t[2] >= '1' && t[2] <= '6' && t[3] == '>') {
      static const int kSizes[] = {48, 36, 24, 18, 12, 8};
      PushFont();
      SetSize(kSizes[t[2] - '1']);
    } else if (t == "<PRE>") {
      PushFont();
      ApplyFontTag("<FONT NAME=\"COURIER NEW\">");
    } else if (t == "</PRE>") {
      PopFont();
    } else if (t == "<CENTER>") {
      centring_ = true;
    } else if (t == "</CENTER>") {
      centring_ = false;
    } else if (t == "<B>" || t == "<BOLD>" || t == "<STRONG>") {
      AddStyle(platform::fsBold);
      gTagStack.emplace_back(token);
    } else if (t == "<I>") {
      AddStyle(platform::fsItalic);
      gTagStack.emplace_back(token);
    } else if (t == "<U>") {
      AddStyle(platform::fsUnderline);
      gTagStack.emplace_back(token);
    } else if (t == "<STRIKE>") {
      AddStyle(platform::fsStrikeOut);
      gTagStack.emplace_back(token);
    } else if (t == "</B>" || t == "</BOLD>" || t == "</STRONG>") {
      RemoveStyle(platform::fsBold);
    } else if (t == "</I>") {
      RemoveStyle(platform::fsItalic);
    } else if (t == "</U>") {
      RemoveStyle(platform::fsUnderline);
    } else if (t == "</STRIKE>") {
      RemoveStyle(platform::fsStrikeOut);
    } else if (StartsWith(t, "<FONT ")) {
      PushFont();
      ApplyFontTag(token);
    } else if (StartsWith(t, "</FONT")) {
      PopFont();
    } else if (t == "</>") {
      GenericClose();
    } else if (t == "<HR>") {
      x_ = x0_;
      if (draw_) {
        c_.Pen().SetStyle(PenStyle::Solid);
        c_.Pen().SetWidth(1);
        c_.Pen().SetColor(clGray);
        c_.DrawLine(x0_, y_, x0_ + 100, y_);
      }
      y_ += c_.TextHeightW();
    } else if (StartsWith(t, "<IMG ")) {
      Image(token.substr(5));
    } else {
      return false;
    }
    return true;
  }

  void GenericClose() {
    if (previousPushed_) {
      PopFont();
      return;
    }
    // Nothing open: nothing to close.
    if (gTagStack.empty()) return;
    const std::string open = std::move(gTagStack.back());
    gTagStack.pop_back();
    Tag("</" + open.substr(1));
  }

  void TextRun(std::string_view token) {
    std::string run(token);
    // One pass per entity, each copying the text once: "&amp;lt;" gives "&lt;", not "<".
    for (const auto& [entity, plain] : {std::pair<std::string_view, char>{"&lt;", '<'},
                                        {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}}) {
      size_t at = run.find(entity);
      if (at == std::string::npos) continue;
      std::string replaced;
      replaced.reserve(run.size());
      size_t from = 0;
      for (; at != std::string::npos; at = run.find(entity, from)) {
        replaced.append(run, from, at - from);
        replaced += plain;
        from = at + entity.size();
      }
      replaced.append(run, from, std::string::npos);
      run = std::move(replaced);
    }
    const bool lineEnd = run.size() >= 2 && run.compare(run.size() - 2, 2, "\r\n") == 0;
    if (lineEnd) run.resize(run.size() - 2);
    if (!run.empty()) {
      const int w = c_.TextWidth(run);
      if (centring_) x_ = (c_.Bounds().left + c_.Bounds().right) / 2 - w / 2;
      const int h = c_.TextHeight(run);
      if (lineHeight_ == 0) {
        lineHeight_ = c_.TextHeightW();
        y_ += lineHeight_;
      } else if (h < lineHeight_) {
        y_ += lineHeight_ - h - 1;
      }
      if (draw_) c_.DrawText2D(x_, y_, run);
      Advance(x_, w);
      extent_.width = std::max(extent_.width, x_ - x0_);
      lineHeight_ = std::max(lineHeight_, h);
      extent_.height = std::max({extent_.height, lineHeight_, y_ - y0_ + h});
    }
    if (lineEnd) {
      lineHeight_ = 0;
      x_ = x0_;
    }
  }

  void Image(std::string_view rest) {
    if (StartsWith(rest, "\r\n")) rest.remove_prefix(2);
    if (!rest.empty() && rest.back() == '>') rest.remove_suffix(1);
    int width = 0, height = 0;
    std::string source;
    for (const Attribute& a : ParseAttributes(rest)) {
      if (a.name == "WIDTH") {
        width = std::clamp(NumberOf(a.value), -kMaxImageSide, kMaxImageSide);
      } else if (a.name == "HEIGHT") {
        height = std::clamp(NumberOf(a.value), -kMaxImageSide, kMaxImageSide);
      } else if (a.name == "SRC") {
        source = a.value;
      }
    }
    if (source.empty()) return;
    if (gGraphicFactory && gImageLoader) {
      const size_t dot = source.rfind('.');
      const std::string ext = dot == std::string::npos ? std::string() : platform::UpperAscii(source.substr(dot));
      if (std::unique_ptr<platform::TGraphic> graphic = gGraphicFactory(ext)) {
        std::string bytes;
        bool loaded = false;
        try {
          loaded = gImageLoader(source, bytes) == 0 && !bytes.empty() && graphic->LoadFromBytes(bytes);
        } catch (const std::exception&) {
          loaded = false;
        }
        if (loaded) {
          if (width == 0) width = graphic->Width();
          if (height == 0) height = graphic->Height();
          if (draw_) {
            if (width == graphic->Width() && height == graphic->Height()) {
              c_.DrawGraphic(x_, y_, graphic.get());
            } else {
              c_.StretchGraphic(TRect{x_, y_, x_ + width, y_ + height}, graphic.get());
            }
          }
          Advance(x_, width);
          Advance(y_, height);
          return;
        }
      }
    }
    if (!draw_) return;
    // The placeholder: a crossed box.
    const int w = width == 0 ? 40 : width, h = height == 0 ? 40 : height;
    c_.Pen().SetStyle(PenStyle::Solid);
    c_.Pen().SetWidth(1);
    c_.Pen().SetColor(clRed);
    c_.Brush().SetBitmap(nullptr);
    c_.Brush().SetStyle(BrushStyle::Solid);
    c_.Brush().SetColor(clWhite);
    c_.DrawRectangle(x_, y_, x_ + w, y_ + h);
    c_.DrawLine(x_, y_, x_ + w, y_ + h);
    c_.DrawLine(x_ + w, y_, x_, y_ + h);
  }

  TPlotCanvas& c_;
  int x0_, y0_, x_, y_;
  int lineHeight_;
  bool centring_ = false;
  bool pushed_ = false;
  bool previousPushed_ = false;
  THtmlExtent extent_;
  bool draw_;
};

void Draw(TPlotCanvas& canvas, int x, int y, const std::string& text) { DrawHtmlText(canvas, x, y, text); }

void Startup() { SetHtmlTextDrawer(Draw); }

void Shutdown() {
  SetHtmlTextDrawer(nullptr);
  gTagStack.clear();
  gFontStack.clear();
}

UnitCounter gUnit(Startup, Shutdown);

}  // namespace

namespace {

// The canvas font as it was before a text, back after it (also when the text raises).
struct KeepFont {
  platform::CanvasFont& font;
  platform::CanvasFont saved{font};
  ~KeepFont() { font.Assign(saved); }
};

}  // namespace

void DrawHtmlText(TPlotCanvas& canvas, int x, int y, const std::string& text) {
  KeepFont keep{canvas.Font()};
  Renderer renderer(canvas, x, y, true);
  renderer.Run(text);
}

THtmlExtent MeasureHtmlText(TPlotCanvas& canvas, const std::string& text) {
  KeepFont keep{canvas.Font()};
  Renderer renderer(canvas, 0, 0, false);
  renderer.Run(text);
  return renderer.Extent();
}

void SetHtmlImageHooks(THtmlGraphicFactory factory, THtmlImageLoader loader) {
  gGraphicFactory = std::move(factory);
  gImageLoader = std::move(loader);
}

void PlotHtmlStartup() { gUnit.Start(); }
void PlotHtmlShutdown() { gUnit.Stop(); }

}  // namespace chart
