#include "report/rpt_ctrls.h"

#include <QEvent>
#include <algorithm>
#include <cmath>

#include "platform/mbcs.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/picture_qt.h"
#include "platform/round.h"
#include "report/band_report.h"
#include "report/report_text.h"
#include "report/rpt_printer.h"

namespace rpt {

namespace {

// The resolution line heights are measured at for the page layout.
constexpr int kLayoutDpi = 600;

// Bytes of the character starting at `pos`.
size_t CharLength(const std::string& text, size_t pos) {
  return platform::IsCp932LeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

uint32_t TextAlignOf(TRptAlignment alignment) {
  switch (alignment) {
    case TRptAlignment::Right: return platform::TA_RIGHT;
    case TRptAlignment::Center: return platform::TA_CENTER;
    case TRptAlignment::Left: break;
  }
  return platform::TA_LEFT;
}

void FillSolid(platform::Canvas& canvas, const platform::Rect& r, uint32_t color) {
  canvas.Dc().FillRect(r, platform::LogBrush{platform::BS_SOLID, platform::ColorToRgb(color), 0, nullptr});
}

}  // namespace

// ---- TRptCustomLabel ---------------------------------------------------------------------

TRptCustomLabel::TRptCustomLabel(QWidget* parent) : TRptPrintable(parent) {
  font_.OnChange = [this](platform::CanvasObject&) { FontChanged(); };
  connect(this, &QObject::objectNameChanged, this, [this](const QString& name) {
    NameChanged(oldName_);
    oldName_ = name;
  });
}

TRptCustomLabel::~TRptCustomLabel() = default;

void TRptCustomLabel::NameChanged(const QString& oldName) {
  const std::string old = oldName.toStdString();
  if (caption_.empty() || caption_ == old) SetCaption(objectName().toStdString());
}

bool TRptCustomLabel::event(QEvent* e) {
  const bool result = TRptPrintable::event(e);
  if (e->type() == QEvent::ParentChange) FormatLines();
  return result;
}

void TRptCustomLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  doneFormat_ = false;
  FormatLines();
  update();
}

void TRptCustomLabel::SetAutoStretch(bool v) {
  autoStretch_ = v;
  update();
}

void TRptCustomLabel::SetWordWrap(bool v) {
  wordWrap_ = v;
  doneFormat_ = false;
  update();
}

void TRptCustomLabel::SetCaption(const std::string& text) {
  caption_ = text;
  printCaption_ = text;
  doneFormat_ = false;
  FormatLines();
  update();
}

void TRptCustomLabel::SetLinesValue(std::vector<std::string> lines) {
  lines_ = std::move(lines);
  doneFormat_ = false;
  update();
}

const platform::CanvasFont& TRptCustomLabel::Font() const {
  if (parentFont_) {
    if (auto* band = qobject_cast<TRptCustomBand*>(parentWidget())) return band->Font();
    if (auto* report = qobject_cast<TCustomBandReport*>(parentWidget())) return report->Font();
  }
  return font_;
}

platform::CanvasFont& TRptCustomLabel::MutableFont() {
  if (parentFont_) {
    const platform::CanvasFont& parent = Font();
    parentFont_ = false;
    font_.Assign(parent);
  }
  return font_;
}

void TRptCustomLabel::SetParentFont(bool v) {
  if (!v && parentFont_) {
    const platform::CanvasFont& parent = Font();
    parentFont_ = false;
    font_.Assign(parent);
  }
  parentFont_ = v;
  FontChanged();
}

void TRptCustomLabel::FontChanged() {
  doneFormat_ = false;
  FormatLines();
  update();
}

void TRptCustomLabel::SetBiDiMode(TBiDiMode mode) {
  biDiMode_ = mode;
  update();
}

void TRptCustomLabel::SetAlignment(TRptAlignment alignment) { TRptPrintable::SetAlignment(alignment); }

TRptAlignment TRptCustomLabel::BiDiAlignment() const {
  if (biDiMode_ != TBiDiMode::bdRightToLeft) return Alignment();
  if (Alignment() == TRptAlignment::Left) return TRptAlignment::Right;
  if (Alignment() == TRptAlignment::Right) return TRptAlignment::Left;
  return TRptAlignment::Center;
}

int TRptCustomLabel::StoredFontSize() const { return Font().Size(); }
void TRptCustomLabel::ReadStoredFontSize(int points) { storedFontSize_ = points; }
void TRptCustomLabel::ApplyStoredFontSize() {
  if (storedFontSize_ > 0) MutableFont().SetSize(storedFontSize_);
}

int TRptCustomLabel::LineWidth(const std::string& text) {
  if (TCustomBandReport* report = ParentReport()) return report->TextWidth(Font(), text);
  platform::Canvas& canvas = BufferCanvas();
  TakeFont(canvas, Font());
  return canvas.TextWidth(text);
}

int TRptCustomLabel::LineHeightW() {
  if (TCustomBandReport* report = ParentReport()) return report->TextHeight(Font(), "W");
  platform::Canvas& canvas = BufferCanvas();
  TakeFont(canvas, Font());
  return canvas.TextHeight("W");
}

Real TRptCustomLabel::PrintLineHeight() const {
  platform::EnsureQtFontEngine();
  platform::CanvasFont font;
  font.Assign(Font());
  font.SetPixelsPerInch(kLayoutDpi);
  font.SetSize(Font().Size());
  // As a device of kLayoutDpi pixels per inch measures it: its pixels over its pixels per 0.1 mm.
  return platform::CurrentFontEngine().Metrics(font.GetLogFont()).height / (static_cast<Real>(kLayoutDpi) / 254);
}

void TRptCustomLabel::FormatLines() {
  if (!parentWidget()) return;
  formatted_.clear();
  TCustomBandReport* report = ParentReport();
  stop_ = false;
  TRptPrintableSize& size = Size();
  Real left = size.Native(TRptPrintableSize::kLeft), width = size.Native(TRptPrintableSize::kWidth),
       height = size.Native(TRptPrintableSize::kHeight);
  // One line, inside the frame's drawn top and bottom as an auto-size width is inside its sides.
  int minHeight = 0;
  if (report) {
    minHeight = LineHeightW() + 1;
    if (Frame().DrawTop()) minHeight += Frame().Width();
    if (Frame().DrawBottom()) minHeight += Frame().Width();
  }
  bool resize = false;
  if (CaptionBased()) {
    FormatText(printCaption_);
    if (report && !updatingBounds_ && LayoutPixels(height) < minHeight) {
      height = minHeight * kTenthsPerLayoutPixel;
      resize = true;
    }
  } else if (!lines_.empty()) {
    if (autoSize_) {
      formatted_ = lines_;
    } else {
      for (const std::string& line : lines_) FormatText(line);
    }
  } else if (report && report->Designing()) {
    FormatText(objectName().toStdString());
  }
  if (autoSize_ && report && !updatingBounds_) {
    int widest = 0;
    for (const std::string& line : formatted_) widest = std::max(widest, LineWidth(line));
    if (Frame().DrawLeft()) widest += Frame().Width();
    if (Frame().DrawRight()) widest += Frame().Width();
    if (widest != LayoutPixels(width)) {
      const Real newWidth = widest * kTenthsPerLayoutPixel;
      const TRptAlignment alignment = BiDiAlignment();
      if (alignment == TRptAlignment::Right) left += width - newWidth;
      if (alignment == TRptAlignment::Center) left += (width - newWidth) / 2;
      width = newWidth;
      resize = true;
    }
    if (LayoutPixels(height) < minHeight || (report->Designing() && formatted_.empty())) {
      height = minHeight * kTenthsPerLayoutPixel;
      resize = true;
    }
    // A label grows no larger than a description holds, so that it saves and reads back.
    width = std::min(width, kMaxStoredGeometry);
    height = std::min(height, kMaxStoredGeometry);
    left = std::clamp(left, -kMaxStoredGeometry, kMaxStoredGeometry);
  }
  if (resize) {
    // Only what the text changed is stored; the other values stay as they are.
    updatingBounds_ = true;
    size.Store(TRptPrintableSize::kLeft, left);
    size.Store(TRptPrintableSize::kWidth, width);
    size.Store(TRptPrintableSize::kHeight, height);
    size.Apply();
    if (report) report->ClearPreviewPage();
    AlignIt();
    updatingBounds_ = false;
  }
  doneFormat_ = true;
}

void TRptCustomLabel::FormatText(const std::string& source) {
  std::string text;
  text.reserve(source.size());
  for (char c : source) {
    if (c != '\n') text += c;
  }
  if (text.find('\r') != std::string::npos) {
    size_t start = 0;
    for (;;) {
      size_t cr = text.find('\r', start);
      FormatText(text.substr(start, cr == std::string::npos ? std::string::npos : cr - start));
      if (cr == std::string::npos) break;
      start = cr + 1;
    }
    return;
  }
  if (autoSize_) {
    formatted_.push_back(text);
    return;
  }
  // A paragraph of its own: the words of an earlier one do not stop it.
  stop_ = false;
  const int width = LayoutPixels(Size().Native(TRptPrintableSize::kWidth));
  const size_t linesBefore = formatted_.size();
  std::string buffer;
  size_t pos = 0;
  while (pos < text.size() && !stop_) {
    size_t end = text.find_first_of(" -", pos);
    end = end == std::string::npos ? text.size() : end + 1;
    AppendWord(buffer, text.substr(pos, end - pos), width);
    pos = end;
  }
  // The rest makes the last line; a paragraph that ended with a cut word has it already.
  if (!stop_ && (!buffer.empty() || formatted_.size() == linesBefore)) formatted_.push_back(buffer);
}

void TRptCustomLabel::AppendWord(std::string& buffer, std::string word, int width) {
  if (LineWidth(buffer + word) <= width) {
    buffer += word;
    return;
  }
  if (buffer.empty()) {
    // The word alone is too wide: what fits of it, whole characters, and the rest is dropped.
    for (size_t pos = 0; pos < word.size();) {
      const size_t n = CharLength(word, pos);
      if (LineWidth(buffer + word.substr(pos, n)) >= width) break;
      buffer += word.substr(pos, n);
      pos += n;
    }
    formatted_.push_back(buffer);
    buffer.clear();
    if (!wordWrap_) stop_ = true;
    return;
  }
  formatted_.push_back(buffer);
  buffer.clear();
  if (!wordWrap_) {
    stop_ = true;
    return;
  }
  if (LineWidth(word) > width) {
    while (!word.empty() && (width <= 0 || LineWidth(word) > width)) {
      word.resize(platform::WholeCharPrefix(word, word.size() - 1));
    }
    formatted_.push_back(word);
    return;
  }
  buffer = word;
}

int TRptCustomLabel::ExpectedHeight() {
  FormatLines();
  const int lineHeight = ParentReport() ? LineHeightW() * Zoom() / 100 : LineHeightW();
  return static_cast<int>(formatted_.size()) * lineHeight;
}

int TRptCustomLabel::LayoutHeight() {
  FormatLines();
  return static_cast<int>(formatted_.size()) * LineHeightW();
}

void TRptCustomLabel::Prepare() {
  TRptPrintable::Prepare();
  currentLine_ = 0;
  SetCaption(caption_);
}

void TRptCustomLabel::Paint(platform::Canvas& canvas) {
  if (!doneFormat_) FormatLines();
  canvas.Font().Assign(Font());
  canvas.Font().SetSize(Round(static_cast<Real>(Font().Size()) * Zoom() / 100));
  const int lineHeight = canvas.TextHeight("W");
  const platform::Rect client{0, 0, width(), height()};
  if (!Transparent()) FillSolid(canvas, client, Color());
  int originX = 0, originY = 0;
  const int shift = Round(static_cast<Real>(Zoom()) * (Frame().Width() / 72.0L * ScreenPixelsPerInch()) / 100);
  if (Frame().DrawTop() && Frame().Width() > 0) originY += shift;
  if (Frame().DrawLeft() && Frame().Width() > 0) originX += shift;
  const TRptAlignment alignment = BiDiAlignment();
  int x = originX;
  if (alignment == TRptAlignment::Right) x = originX + client.Width();
  if (alignment == TRptAlignment::Center) x = originX + client.Width() / 2;
  canvas.Brush().SetStyle(platform::BrushStyle::Clear);
  canvas.RealizeBrush();
  canvas.Dc().SetBkMode(platform::TRANSPARENT);
  canvas.Dc().SetTextAlign(TextAlignOf(alignment) | platform::TA_TOP);
  for (size_t i = 0; i < formatted_.size(); ++i) {
    if (!formatted_[i].empty()) canvas.TextOut(x, originY + static_cast<int>(i) * lineHeight, formatted_[i]);
  }
  canvas.Dc().SetTextAlign(platform::TA_LEFT | platform::TA_TOP);
  TRptPrintable::Paint(canvas);
}

void TRptCustomLabel::PrintControl(Real offsetX, Real offsetY) {
  if (!IsShown()) return;
  if (!Printer()) Prepare();
  TRptPrinter* printer = Printer();
  if (!printer || !printer->Canvas()) return;
  platform::Canvas& canvas = *printer->Canvas();
  platform::DeviceContext& dc = canvas.Dc();
  TakeFont(canvas, Font());
  Real lineHeight = PrintLineHeight();
  const std::string savedCaption = printCaption_;
  if (OnPrint) {
    std::string value = printCaption_;
    OnPrint(this, value);
    TakeFont(canvas, Font());
    lineHeight = PrintLineHeight();
    if (value != printCaption_) printCaption_ = value;
  }
  FormatLines();
  // The label as formatting left it: fill, frame and text all stand where it now is.
  const Real left = Size().Native(TRptPrintableSize::kLeft) + offsetX;
  const Real top = Size().Native(TRptPrintableSize::kTop) + offsetY;
  const Real height = Size().Native(TRptPrintableSize::kHeight);
  const Real width = Size().Native(TRptPrintableSize::kWidth);
  TRptExportFilter* filter = Filter();
  const platform::Rect area{printer->XPos(left), printer->YPos(top), printer->XPos(left + width),
                            printer->YPos(top + height)};
  if (filter && !Transparent() && platform::ColorToRgb(Color()) != 0xFFFFFF) {
    TRptShape background(nullptr);
    background.Brush().SetColor(Color());
    background.Pen().SetStyle(platform::PenStyle::Clear);
    background.Size().SetNative(TRptPrintableSize::kWidth, width);
    background.Size().SetNative(TRptPrintableSize::kHeight, height);
    filter->Graphic(&background, area.top, area.left);
  }
  if (!Transparent()) FillSolid(canvas, area, Color());
  // The text lies inside the drawn sides of the frame.
  const Real f = Frame().AnyFrame() ? Frame().NativeWidth() : 0;
  const Real textLeft = left + (Frame().DrawLeft() ? f : 0);
  const Real textRight = left + width - (Frame().DrawRight() ? f : 0);
  const Real textTop = top + (Frame().DrawTop() ? f : 0);
  const TRptAlignment alignment = BiDiAlignment();
  Real x = textLeft;
  if (alignment == TRptAlignment::Right) x = textRight;
  if (alignment == TRptAlignment::Center) x = (textLeft + textRight) / 2;
  uint32_t textAlign = TextAlignOf(alignment) | platform::TA_TOP;
  if (biDiMode_ != TBiDiMode::bdLeftToRight) textAlign |= platform::TA_RTLREADING;
  canvas.Brush().SetStyle(platform::BrushStyle::Clear);
  canvas.RealizeBrush();
  dc.SetBkMode(platform::TRANSPARENT);
  dc.SetTextAlign(textAlign);

  Real y = textTop;
  Real limit = textTop + height + 1;
  if (PrintFinished()) currentLine_ = 0;
  TRptCustomBand* band = ParentBand();
  // Where the fill has reached: the band's growth is filled on from there, without a gap.
  int filled = area.bottom;
  const auto fillTo = [&](Real bottom) {
    const int to = printer->YPos(bottom);
    if (!Transparent() && to > filled) FillSolid(canvas, platform::Rect{area.left, filled, area.right, to}, Color());
    filled = std::max(filled, to);
  };
  int printedNow = 0;
  while (currentLine_ < static_cast<int>(formatted_.size())) {
    bool fits = y + lineHeight <= limit;
    if (!fits && autoStretch_ && band && textTop + height + 1 + band->Expanded() > limit) {
      // The band has grown already (for another label on it): that room is used first, so the
      // band grows to its longest label, not by the sum of them.
      limit = textTop + height + 1 + band->Expanded();
      fillTo(limit);
      fits = y + lineHeight <= limit;
    }
    if (!fits && autoStretch_ && band && band->CanExpand(lineHeight)) {
      Real bottom = 0;
      bool first = false;
      band->ExpandBand(lineHeight, bottom, first);
      limit = std::max(limit, textTop + height + 1 + band->Expanded());
      fillTo(limit);
      fits = y + lineHeight <= limit;
    }
    // A pass on a fresh column that has placed nothing yet places its next line anyway.
    if (!fits && autoStretch_ && band && band->StretchPass() && printedNow == 0) fits = true;
    if (!fits) break;
    const std::string& line = formatted_[static_cast<size_t>(currentLine_)];
    if (!line.empty()) {
      canvas.TextOut(printer->XPos(x), printer->YPos(y), line);
    }
    if (filter) {
      filter->TextOut(printer->XPos(x), printer->YPos(y), canvas.Font(), Font().Color(), alignment, line);
    }
    y += lineHeight;
    ++currentLine_;
    ++printedNow;
  }
  dc.SetTextAlign(platform::TA_LEFT | platform::TA_TOP);
  SetPrintFinished(!(currentLine_ < static_cast<int>(formatted_.size()) && autoStretch_));
  dc.SelectClipRegion(nullptr);
  if (Frame().AnyFrame()) {
    const Real expansion = band ? band->Expanded() : 0;
    Frame().PaintFrame(canvas,
                       platform::Rect{printer->XPos(left), printer->YPos(top), printer->XPos(left + width),
                                      printer->YPos(top + height + expansion)},
                       printer->YFactor(), printer->XFactor());
  }
  printCaption_ = savedCaption;
}

// ---- TRptLabel, TRptMemo -----------------------------------------------------------------

TRptLabel::TRptLabel(QWidget* parent) : TRptCustomLabel(parent) {}

TRptMemo::TRptMemo(QWidget* parent) : TRptCustomLabel(parent) {}

void TRptMemo::SetLines(std::vector<std::string> lines) { SetLinesValue(std::move(lines)); }

void TRptMemo::Paint(platform::Canvas& canvas) {
  if (!Lines().empty()) SetPrintCaption(std::string());
  TRptCustomLabel::Paint(canvas);
}

void TRptMemo::PrintControl(Real offsetX, Real offsetY) {
  SetPrintCaption(std::string());
  TRptCustomLabel::PrintControl(offsetX, offsetY);
  SetPrintCaption(objectName().toStdString());
}

// ---- TRptImage ---------------------------------------------------------------------------

TRptImage::TRptImage(QWidget* parent) : TRptPrintable(parent) {
  picture_.OnChange = [this](platform::TPicture&) { PictureChanged(); };
  SetBounds(0, 0, 105, 105);
  SetOpaque(false);
}

TRptImage::~TRptImage() = default;

void TRptImage::SetPicture(const platform::TPicture* picture) {
  if (picture) {
    picture_.Assign(*picture);
  } else {
    picture_.SetGraphic(nullptr);
  }
}

void TRptImage::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  PictureChanged();
}

void TRptImage::SetStretch(bool v) {
  if (v == stretch_) return;
  stretch_ = v;
  PictureChanged();
}

void TRptImage::SetCenter(bool v) {
  if (v == center_) return;
  center_ = v;
  PictureChanged();
}

void TRptImage::PictureChanged() {
  if (canvas_ && &canvas_->Graphic() != dynamic_cast<platform::TBitmapGraphic*>(picture_.Graphic())) canvas_.reset();
  const int w = picture_.Width(), h = picture_.Height();
  if (autoSize_ && w > 0 && h > 0) {
    // The picture's pixels are those of the layout at zoom 100: only the width and height are
    // stored, in 0.1 mm, and the place stays as it is stored.
    Size().Store(TRptPrintableSize::kWidth, w * kTenthsPerLayoutPixel);
    Size().Store(TRptPrintableSize::kHeight, h * kTenthsPerLayoutPixel);
    Size().Apply();
    if (ParentReport()) ParentReport()->ClearPreviewPage();
    AlignIt();
  }
  const bool bitmap = dynamic_cast<platform::TBitmapGraphic*>(picture_.Graphic()) != nullptr;
  SetOpaque(bitmap && w >= LayoutPixels(Size().Native(TRptPrintableSize::kWidth)) &&
            h >= LayoutPixels(Size().Native(TRptPrintableSize::kHeight)));
  update();
}

platform::Canvas* TRptImage::GetCanvas() {
  if (!picture_.Graphic()) {
    const int w = std::max(1, LayoutPixels(Size().Native(TRptPrintableSize::kWidth)));
    const int h = std::max(1, LayoutPixels(Size().Native(TRptPrintableSize::kHeight)));
    auto bitmap = std::make_unique<platform::TBitmapGraphic>();
    bitmap->SetBitmap(platform::Dib::Filled(w, h, 0xFFFFFF));
    picture_.SetGraphic(std::move(bitmap));
  }
  auto* bitmap = dynamic_cast<platform::TBitmapGraphic*>(picture_.Graphic());
  if (!bitmap) return nullptr;
  if (!canvas_) canvas_ = std::make_unique<platform::BitmapGraphicCanvas>(*bitmap);
  return &canvas_->canvas();
}

void TRptImage::StoreCanvas() {
  if (canvas_) canvas_->Store();
}

void TRptImage::Paint(platform::Canvas& canvas) {
  StoreCanvas();
  platform::DeviceContext& dc = canvas.Dc();
  const platform::Rect client{0, 0, width(), height()};
  if (ParentReport() && ParentReport()->Designing()) {
    dc.SelectPen(platform::LogPen{platform::PS_DASH, 0, 0, {}});
    dc.SelectBrush(platform::LogBrush{platform::BS_NULL, 0, 0, nullptr});
    dc.Rectangle(client.left, client.top, client.right, client.bottom);
  }
  const platform::TGraphic* graphic = picture_.Graphic();
  if (graphic && !graphic->Empty()) {
    platform::Rect r = client;
    if (!stretch_) {
      r = center_ ? platform::Rect{(client.Width() - graphic->Width()) / 2, (client.Height() - graphic->Height()) / 2,
                                   0, 0}
                  : platform::Rect{0, 0, 0, 0};
      r.right = r.left + graphic->Width();
      r.bottom = r.top + graphic->Height();
      if (Zoom() != 100) {
        r.right = r.left + Zoom() * graphic->Width() / 100;
        r.bottom = r.top + Zoom() * graphic->Height() / 100;
      }
    }
    graphic->Draw(canvas, r);
  }
  TRptPrintable::Paint(canvas);
}

namespace {

// A bitmap as a device-independent bitmap stretched colour-on-colour; other graphics drawn.
void DrawGraphic(platform::Canvas& canvas, const platform::TGraphic& graphic, const platform::Rect& r) {
  if (auto* bitmap = dynamic_cast<const platform::TBitmapGraphic*>(&graphic)) {
    const platform::Dib& dib = bitmap->Bitmap();
    canvas.Dc().SetStretchBltMode(platform::COLORONCOLOR);
    canvas.Dc().StretchDIBits(r, platform::Rect{0, 0, dib.width, dib.height}, dib, platform::SRCCOPY);
    return;
  }
  graphic.Draw(canvas, r);
}

}  // namespace

void TRptImage::PrintControl(Real offsetX, Real offsetY) {
  if (!IsShown()) return;
  if (!Printer()) Prepare();
  TRptPrinter* printer = Printer();
  if (!printer || !printer->Canvas()) return;
  StoreCanvas();
  platform::Canvas& canvas = *printer->Canvas();
  const platform::Rect r = DeviceRect(offsetX, offsetY);
  if (TRptExportFilter* filter = Filter()) filter->Graphic(this, r.top, r.left);
  const platform::TGraphic* graphic = picture_.Graphic();
  if (graphic && !graphic->Empty()) {
    if (stretch_) {
      DrawGraphic(canvas, *graphic, r);
    } else {
      canvas.Dc().IntersectClipRect(r);
      platform::Rect d{r.left, r.top,
                       r.left + Round(graphic->Width() / static_cast<Real>(ScreenPixelsPerInch()) * 254 * printer->XFactor()),
                       r.top + Round(graphic->Height() / static_cast<Real>(ScreenPixelsPerInch()) * 254 * printer->YFactor())};
      if (center_) {
        const int dx = (printer->XSize(Size().Native(TRptPrintableSize::kWidth)) - d.Width()) / 2;
        const int dy = (printer->YSize(Size().Native(TRptPrintableSize::kHeight)) - d.Height()) / 2;
        d = platform::Rect{d.left + dx, d.top + dy, d.right + dx, d.bottom + dy};
      }
      DrawGraphic(canvas, *graphic, d);
      canvas.Dc().SelectClipRegion(nullptr);
    }
  }
  TRptPrintable::PrintControl(offsetX, offsetY);
}

// ---- TRptShape ---------------------------------------------------------------------------

TRptShape::TRptShape(QWidget* parent) : TRptPrintable(parent) {
  brush_.OnChange = [this](platform::CanvasObject&) { update(); };
  pen_.OnChange = [this](platform::CanvasObject&) { update(); };
  SetBounds(0, 0, 65, 65);
}

void TRptShape::SetShape(TRptShapeType shape) {
  if (shape == shape_) return;
  shape_ = shape;
  update();
}

void TRptShape::SetRoundFactor(float f) {
  if (f == roundFactor_) return;
  roundFactor_ = f;
  update();
}

void TRptShape::DrawFigure(platform::Canvas& canvas, const platform::Rect& r, int corner, int midX, int midY) {
  canvas.Pen().Assign(pen_);
  canvas.Brush().Assign(brush_);
  switch (shape_) {
    case TRptShapeType::rpsRectangle: canvas.Rectangle(r.left, r.top, r.right, r.bottom); break;
    case TRptShapeType::rpsCircle: canvas.Ellipse(r.left, r.top, r.right, r.bottom); break;
    case TRptShapeType::rpsVertLine:
      canvas.MoveTo(midX, r.top);
      canvas.LineTo(midX, r.bottom);
      break;
    case TRptShapeType::rpsHorLine:
      canvas.MoveTo(r.left, midY);
      canvas.LineTo(r.right, midY);
      break;
    case TRptShapeType::rpsTopAndBottom:
      canvas.MoveTo(r.left, r.top);
      canvas.LineTo(r.right, r.top);
      canvas.MoveTo(r.left, r.bottom - 1);
      canvas.LineTo(r.right, r.bottom - 1);
      break;
    case TRptShapeType::rpsRightAndLeft:
      canvas.MoveTo(r.left, r.top);
      canvas.LineTo(r.left, r.bottom);
      canvas.MoveTo(r.right - 1, r.top);
      canvas.LineTo(r.right - 1, r.bottom);
      break;
    case TRptShapeType::rpsRoundRect: canvas.RoundRect(r.left, r.top, r.right, r.bottom, corner, corner); break;
  }
}

void TRptShape::Paint(platform::Canvas& canvas) {
  const int w = width(), h = height();
  DrawFigure(canvas, platform::Rect{0, 0, w, h}, Round(w * static_cast<Real>(roundFactor_)), w / 2, h / 2);
}

void TRptShape::PrintControl(Real offsetX, Real offsetY) {
  if (!Printer()) Prepare();
  TRptPrinter* printer = Printer();
  if (!printer || !printer->Canvas() || !Enabled()) return;
  const Real left = Size().Native(TRptPrintableSize::kLeft) + offsetX;
  const Real top = Size().Native(TRptPrintableSize::kTop) + offsetY;
  const Real width = Size().Native(TRptPrintableSize::kWidth), height = Size().Native(TRptPrintableSize::kHeight);
  if (TRptExportFilter* filter = Filter()) filter->Graphic(this, printer->YPos(top), printer->XPos(left));
  const platform::Rect r{printer->XPos(left), printer->YPos(top), printer->XPos(left + width),
                         printer->YPos(top + height)};
  DrawFigure(*printer->Canvas(), r, Round(printer->XSize(width) * static_cast<Real>(roundFactor_)),
             printer->XPos(left + width / 2), printer->YPos(top + height / 2));
}

}  // namespace rpt
