// Pictures loaded from files: the picture classes by file extension and clipboard format, the
// metafile picture (an enhanced metafile drawn by the EMF player) and TMetafileEx, the
// metafile picture that draws completely even on a canvas with a clip region.
//
// A picture class is registered for file extensions (case-insensitive, without the dot) and
// clipboard formats; LoadPicture and NewGraphicForFile pick the class by the extension. At
// program start TMetafileEx takes the place of the plain metafile class for "emf" ("Enhanced
// Metafile"), "wmf" ("Windows Metafile") and the clipboard formats 3 and 14; at program end it
// is removed again. A registration counter makes both happen once however often they are called.
//
// Decisions kept on purpose:
// - Only enhanced metafiles can be drawn: a ".wmf" file that holds an enhanced metafile loads;
//   a Windows metafile of the older format does not (LoadFromBytes is false).
// - Bitmaps ("bmp", "jpg", "jpeg") load into TBitmapGraphic through the program's own codecs.
#pragma once

#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/dc_canvas.h"

namespace views {

class TGraphic {
 public:
  virtual ~TGraphic() = default;
  virtual const char* ClassName() const = 0;
  // Loads the picture from a file's bytes; false (and empty) when they are not one.
  virtual bool LoadFromBytes(std::string_view bytes) = 0;
  bool LoadFromFile(const std::string& path);
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Draws the picture scaled into `r` of the canvas.
  virtual void Draw(platform::Canvas& canvas, const platform::Rect& r) = 0;
  // The picture at its own size on a white RGB32 image.
  QImage ToImage();
};

// A bitmap picture.
class TBitmapGraphic : public TGraphic {
 public:
  const char* ClassName() const override { return "TBitmap"; }
  bool LoadFromBytes(std::string_view bytes) override;
  bool Empty() const override { return image_.isNull(); }
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  void Draw(platform::Canvas& canvas, const platform::Rect& r) override;
  const QImage& Image() const { return image_; }
  void SetImage(const QImage& image) { image_ = image.convertToFormat(QImage::Format_RGB32); }

 private:
  QImage image_;
};

// An enhanced-metafile picture: the file's bytes; its size is the frame in pixels of the
// reference device.
class TMetafile : public TGraphic {
 public:
  const char* ClassName() const override { return "TMetafile"; }
  bool LoadFromBytes(std::string_view bytes) override;
  bool Empty() const override { return bytes_.empty(); }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Draw(platform::Canvas& canvas, const platform::Rect& r) override;
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
  int width_ = 0, height_ = 0;
};

// The metafile picture that lifts the canvas's clip region while it draws and selects it again
// afterwards (also when drawing fails).
class TMetafileEx : public TMetafile {
 public:
  const char* ClassName() const override { return "TMetafileEx"; }
  void Draw(platform::Canvas& canvas, const platform::Rect& r) override;
};

// ---- Picture classes

using GraphicFactory = std::function<std::unique_ptr<TGraphic>()>;
// Registers `factory` (making pictures of class `className`) for a file extension or a
// clipboard format; a later registration replaces an earlier one.
void RegisterFileFormat(const std::string& extension, const std::string& description, const std::string& className,
                        GraphicFactory factory);
void RegisterClipboardFormat(int format, const std::string& className, GraphicFactory factory);
// Removes every registration of the class.
void UnregisterGraphicClass(const std::string& className);
// A new empty picture of the class registered for the path's extension / the clipboard format;
// null when none is.
std::unique_ptr<TGraphic> NewGraphicForFile(const std::string& path);
std::unique_ptr<TGraphic> NewGraphicForClipboard(int format);
// The description registered for an extension; empty when none.
std::string FileFormatDescription(const std::string& extension);
// Loads a picture file (inside path) into the class of its extension; null when the file is
// missing, its extension has no class, or its bytes are not such a picture.
std::unique_ptr<TGraphic> LoadPicture(const std::string& path);

constexpr int CF_METAFILEPICT = 3, CF_ENHMETAFILE = 14;
// Replaces the plain metafile class by TMetafileEx (first call only) / restores it (last call).
void RegisterMetafileEx();
void UnregisterMetafileEx();

}  // namespace views
