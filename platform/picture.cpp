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

namespace {

// The pixels of `dib` that differ from its bottom-left pixel, as rectangles of `dest` (the
// bitmap scaled into it).
Region OpaquePixels(const Dib& dib, const Rect& dest) {
  const uint32_t clear = dib.At(0, dib.height - 1);
  std::vector<Rect> rects;
  auto column = [&](int c) { return dest.left + static_cast<int>(int64_t{c} * dest.Width() / dib.width); };
  for (int row = 0; row < dib.height; ++row) {
    const int top = dest.top + static_cast<int>(int64_t{row} * dest.Height() / dib.height);
    const int bottom = dest.top + static_cast<int>(int64_t{row + 1} * dest.Height() / dib.height);
    if (bottom <= top) continue;
    for (int c = 0; c < dib.width;) {
      if (dib.At(c, row) == clear) {
        ++c;
        continue;
      }
      const int first = c;
      while (c < dib.width && dib.At(c, row) != clear) ++c;
      if (column(c) > column(first)) rects.push_back(Rect{column(first), top, column(c), bottom});
    }
  }
  return Region::FromRects(rects);
}

}  // namespace

void TBitmapGraphic::Draw(Canvas& canvas, const Rect& r) const {
  if (dib_.Empty()) return;
  if (!Transparent()) {
    canvas.StretchDraw(r, dib_);
    return;
  }
  const Rect dest = r.Normalized();
  if (dest.IsEmpty()) return;
  DeviceContext& dc = canvas.Dc();
  const int level = dc.SaveDC();
  const Region opaque = OpaquePixels(dib_, dest);
  dc.SelectClipRegion(&opaque, RGN_AND);
  canvas.StretchDraw(r, dib_);
  dc.RestoreDC(level);
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
