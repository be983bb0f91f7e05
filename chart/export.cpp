// The chart panel drawn off screen into a new metafile or bitmap, and written to files.
#include <QImage>
#include <algorithm>
#include <cstdint>

#include "chart/panel.h"
#include "platform/dc_canvas.h"
#include "platform/emf_recorder.h"
#include "platform/files.h"
#include "platform/image_codecs.h"
#include "platform/qt/dc_qt.h"

namespace chart {

void TCustomPlotPanel::DrawToCanvas(platform::Canvas& canvas, const TRect& rect) {
  // Buffering off for this drawing, but the screen buffer is kept; everything comes back,
  // and the panel is repainted, also when drawing fails.
  struct Restore {
    TCustomPlotPanel& panel;
    bool buffered;
    ~Restore() {
      panel.canvas_->SetBufferedDisplay(buffered);
      panel.canvas_->SetKeepBuffer(false);
      panel.Invalidate();
    }
  } restore{*this, canvas_->GetBufferedDisplay()};
  canvas_->SetKeepBuffer(true);
  canvas_->SetBufferedDisplay(false);
  Draw(canvas, rect);
}

void TCustomPlotPanel::DrawToMetafile(platform::Canvas& metafileCanvas, const TRect& rect) {
  struct Flag {
    TPlotCanvas& canvas;
    ~Flag() { canvas.SetMetafiling(false); }
  } flag{*canvas_};
  canvas_->SetMetafiling(true);
  DrawToCanvas(metafileCanvas, rect);
}

std::unique_ptr<platform::TMetafile> TCustomPlotPanel::MakeMetafile(bool, const TRect& rect) {
  // Recorded as an enhanced metafile whatever the flag: the platform records no other kind.
  platform::EmfRecorder recorder(std::max(1, rect.Width()), std::max(1, rect.Height()));
  {
    platform::Canvas canvas(recorder);
    DrawToMetafile(canvas, rect);
  }
  auto metafile = std::make_unique<platform::TMetafile>();
  metafile->LoadFromBytes(recorder.Finish());
  return metafile;
}

namespace {

// Writes `bytes` through a temporary file; a failure names the file.
bool WriteExport(const std::string& path, const std::string& bytes, std::string* error) {
  std::string reason;
  if (platform::WriteFileBytesAtomic(path, bytes, &reason)) return true;
  if (error) *error = "Cannot write the file " + path + ": " + reason;
  return false;
}

bool Failed(const std::string& path, const std::exception& e, std::string* error) {
  if (error) *error = "Cannot draw the chart for " + path + ": " + e.what();
  return false;
}

}  // namespace

bool TCustomPlotPanel::WriteMetafileFile(const std::string& path, std::string* error) {
  return WriteMetafileFileRect(true, path, GetPanelRect(), error);
}

bool TCustomPlotPanel::WriteMetafileFileRect(bool enhanced, const std::string& path, const TRect& rect,
                                             std::string* error) {
  std::unique_ptr<platform::TMetafile> metafile;
  try {
    metafile = MakeMetafile(enhanced, rect);
  } catch (const std::exception& e) {
    return Failed(path, e, error);
  }
  return WriteExport(path, metafile->Bytes(), error);
}

namespace {

// The panel drawn into a new white bitmap of the rectangle's size, over `backColor`.
QImage DrawnImage(TCustomPlotPanel& panel, TColor backColor, const TRect& rect) {
  QImage image(std::max(1, rect.Width()), std::max(1, rect.Height()), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    platform::QtDc dc(image);
    platform::Canvas canvas(dc);
    if (ColorToRGB(backColor) != ColorToRGB(clWhite)) {
      dc.FillRect(rect, platform::LogBrush{platform::BS_SOLID, ColorToRGB(backColor), 0, {}});
    }
    panel.DrawToCanvas(canvas, rect);
  }
  return image;
}

void PutU16(char* at, uint32_t v) {
  at[0] = static_cast<char>(v & 0xFF);
  at[1] = static_cast<char>((v >> 8) & 0xFF);
}
void PutU32(char* at, uint32_t v) {
  PutU16(at, v & 0xFFFF);
  PutU16(at + 2, v >> 16);
}

// A 24-bit BMP file of an RGB32 image (the bytes platform::EncodeBmp24 writes for its pixels):
// each scan line goes straight into its file row, the rows from the bottom.
std::string EncodeBmp24(const QImage& image) {
  constexpr size_t kHeaders = 14 + 40;
  const int width = image.width(), height = image.height();
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  const size_t bitsSize = stride * static_cast<size_t>(height);
  std::string file(kHeaders + bitsSize, '\0');
  char* h = file.data();
  h[0] = 'B';
  h[1] = 'M';
  PutU32(h + 2, static_cast<uint32_t>(file.size()));
  PutU32(h + 10, static_cast<uint32_t>(kHeaders));
  PutU32(h + 14, 40);
  PutU32(h + 18, static_cast<uint32_t>(width));
  PutU32(h + 22, static_cast<uint32_t>(height));  // bottom-up
  PutU16(h + 26, 1);
  PutU16(h + 28, 24);
  PutU32(h + 34, static_cast<uint32_t>(bitsSize));
  PutU32(h + 38, 3780);  // 96 dpi in pixels per metre
  PutU32(h + 42, 3780);
  for (int y = 0; y < height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    auto* row = reinterpret_cast<unsigned char*>(file.data() + kHeaders + static_cast<size_t>(height - 1 - y) * stride);
    for (int x = 0; x < width; ++x) {
      const QRgb p = line[x];
      row[3 * x] = static_cast<unsigned char>(p & 0xFF);
      row[3 * x + 1] = static_cast<unsigned char>((p >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<unsigned char>((p >> 16) & 0xFF);
    }
  }
  return file;
}

}  // namespace

std::unique_ptr<platform::TBitmapGraphic> TCustomPlotPanel::MakeBitmap(TColor backColor, const TRect& rect,
                                                                      TPixelFormat) {
  // A new bitmap is white; the chart paints over it.
  auto bitmap = std::make_unique<platform::TBitmapGraphic>();
  bitmap->SetBitmap(platform::DibFromImage(DrawnImage(*this, backColor, rect)));
  return bitmap;
}

std::unique_ptr<platform::TBitmapGraphic> TCustomPlotPanel::MakePanelBitmap() {
  return MakeBitmap(Color(), GetPanelRect(), pfDevice);
}

bool TCustomPlotPanel::WriteBitmapFile(const std::string& path, std::string* error) {
  return WriteBitmapFileRect(path, GetPanelRect(), error);
}

bool TCustomPlotPanel::WriteBitmapFileRect(const std::string& path, const TRect& rect, std::string* error) {
  QImage image;
  try {
    image = DrawnImage(*this, clWhite, rect);
  } catch (const std::exception& e) {
    return Failed(path, e, error);
  }
  return WriteExport(path, EncodeBmp24(image), error);
}

bool TCustomPlotPanel::AssignTo(platform::TPicture& picture) {
  picture.SetGraphic(MakeBitmap(Color(), GetPanelRect(), pfDevice));
  return true;
}

bool TCustomPlotPanel::AssignTo(platform::TGraphic& graphic) {
  auto* target = dynamic_cast<platform::TBitmapGraphic*>(&graphic);
  if (!target) return false;
  target->SetBitmap(MakeBitmap(Color(), GetPanelRect(), pfDevice)->Bitmap());
  return true;
}

}  // namespace chart
