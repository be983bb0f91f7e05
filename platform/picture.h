// Pictures: TGraphic with its two kinds, the bitmap (TBitmapGraphic, a Dib read from BMP or
// JPEG bytes) and the enhanced metafile (TMetafile, the file's bytes drawn by the EMF player),
// and TPicture, the holder that owns one graphic and tells its owner when it changes.
// Plain C++ over the device context; which class a file's extension gets is the business of
// whoever loads files by name (the program keeps that registry in views/).
//
// Decisions kept on purpose:
// - Only enhanced metafiles can be drawn: bytes of the older Windows metafile format do not
//   load (LoadFromBytes is false).
// - A picture draws scaled into the rectangle it is given; a bitmap by StretchDIBits, a
//   metafile by playing it into the rectangle.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/dc.h"
#include "platform/dc_canvas.h"

namespace platform {

class TGraphic {
 public:
  virtual ~TGraphic() = default;
  virtual const char* ClassName() const = 0;
  // A copy of the same class holding the same picture.
  virtual std::unique_ptr<TGraphic> Clone() const = 0;
  // Loads the picture from a file's bytes; false (and empty) when they are not one.
  virtual bool LoadFromBytes(std::string_view bytes) = 0;
  // Loads an inside path; false when the file cannot be read or is not such a picture.
  bool LoadFromFile(const std::string& path);
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Draws the picture scaled into `r` of the canvas.
  virtual void Draw(Canvas& canvas, const Rect& r) const = 0;
  // A transparent bitmap leaves the pixels of its transparent colour (the bottom-left pixel)
  // undrawn; a metafile never paints more than its records, whatever the flag.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on) { transparent_ = on; }

 private:
  bool transparent_ = false;
};

// A bitmap picture.
class TBitmapGraphic : public TGraphic {
 public:
  const char* ClassName() const override { return "TBitmap"; }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TBitmapGraphic>(*this); }
  // BMP bytes (starting "BM") or JPEG bytes.
  bool LoadFromBytes(std::string_view bytes) override;
  bool Empty() const override { return dib_.Empty(); }
  int Width() const override { return dib_.width; }
  int Height() const override { return dib_.height; }
  void Draw(Canvas& canvas, const Rect& r) const override;
  const Dib& Bitmap() const { return dib_; }
  void SetBitmap(Dib dib) { dib_ = std::move(dib); }

 private:
  Dib dib_;
};

// An enhanced-metafile picture: the file's bytes; its size is the frame in pixels of the
// reference device.
class TMetafile : public TGraphic {
 public:
  const char* ClassName() const override { return "TMetafile"; }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TMetafile>(*this); }
  bool LoadFromBytes(std::string_view bytes) override;
  bool Empty() const override { return bytes_.empty(); }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Draw(Canvas& canvas, const Rect& r) const override;
  const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
  int width_ = 0, height_ = 0;
};

// Holds at most one graphic. Every change of the graphic (a new one, a copy, none) calls
// OnChange, the owner's notification.
class TPicture {
 public:
  TPicture() = default;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  TGraphic* Graphic() const { return graphic_.get(); }
  // Takes `graphic` (null: none).
  void SetGraphic(std::unique_ptr<TGraphic> graphic);
  // A copy of the other picture's graphic (or none).
  void Assign(const TPicture& other);
  // 0 without a graphic.
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  std::function<void(TPicture& sender)> OnChange;

 private:
  void Changed();
  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace platform
