// The chart panel drawn off screen into a new metafile or bitmap, and written to files.
#include <QImage>

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

std::unique_ptr<platform::TBitmapGraphic> TCustomPlotPanel::MakeBitmap(TColor backColor, const TRect& rect,
                                                                      TPixelFormat) {
  // A new bitmap is white; the chart paints over it.
  QImage image(std::max(1, rect.Width()), std::max(1, rect.Height()), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    platform::QtDc dc(image);
    platform::Canvas canvas(dc);
    if (ColorToRGB(backColor) != ColorToRGB(clWhite)) {
      dc.FillRect(rect, platform::LogBrush{platform::BS_SOLID, ColorToRGB(backColor), 0, {}});
    }
    DrawToCanvas(canvas, rect);
  }
  auto bitmap = std::make_unique<platform::TBitmapGraphic>();
  bitmap->SetBitmap(platform::DibFromImage(image));
  return bitmap;
}

std::unique_ptr<platform::TBitmapGraphic> TCustomPlotPanel::MakePanelBitmap() {
  return MakeBitmap(Color(), GetPanelRect(), pfDevice);
}

bool TCustomPlotPanel::WriteBitmapFile(const std::string& path, std::string* error) {
  return WriteBitmapFileRect(path, GetPanelRect(), error);
}

bool TCustomPlotPanel::WriteBitmapFileRect(const std::string& path, const TRect& rect, std::string* error) {
  std::unique_ptr<platform::TBitmapGraphic> bitmap;
  try {
    bitmap = MakeBitmap(clWhite, rect, pfDevice);
  } catch (const std::exception& e) {
    return Failed(path, e, error);
  }
  return WriteExport(path, platform::EncodeBmp24(bitmap->Bitmap()), error);
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
