// The picture classes.
#include "platform/picture.h"

#include <algorithm>

#include "platform/emf.h"
#include "platform/emf_player.h"
#include "platform/files.h"
#include "platform/image_codecs.h"

namespace platform {

bool TGraphic::LoadFromFile(const std::string& path) {
  std::string bytes;
  return ReadFileBytes(path, bytes) && LoadFromBytes(bytes);
}

// ---- TBitmapGraphic

bool TBitmapGraphic::LoadFromBytes(std::string_view bytes) {
  std::optional<Dib> dib = bytes.substr(0, 2) == "BM" ? DecodeBmp(bytes) : DecodeJpeg(bytes);
  dib_ = dib ? std::move(*dib) : Dib();
  return !dib_.Empty();
}

void TBitmapGraphic::Draw(Canvas& canvas, const Rect& r) const {
  if (!dib_.Empty()) canvas.StretchDraw(r, dib_);
}

// ---- TMetafile

bool TMetafile::LoadFromBytes(std::string_view bytes) {
  bytes_.clear();
  width_ = height_ = 0;
  std::optional<emf::Header> h = emf::ReadHeader(bytes);
  if (!h) return false;
  const Size size = emf::FrameSizePixels(*h);
  bytes_.assign(bytes.substr(0, h->bytes > 0 ? std::min<size_t>(h->bytes, bytes.size()) : bytes.size()));
  width_ = size.cx;
  height_ = size.cy;
  return true;
}

void TMetafile::Draw(Canvas& canvas, const Rect& r) const {
  if (!bytes_.empty()) PlayEnhMetafile(canvas.Dc(), bytes_, r);
}

// ---- TPicture

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  Changed();
}

void TPicture::Assign(const TPicture& other) {
  if (&other == this) return;
  SetGraphic(other.graphic_ ? other.graphic_->Clone() : nullptr);
}

void TPicture::Changed() {
  if (OnChange) OnChange(*this);
}

}  // namespace platform
