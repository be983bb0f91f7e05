// The picture classes by file extension and clipboard format, and TMetafileEx, the metafile
// picture that draws completely even on a canvas with a clip region. The picture classes
// themselves (TGraphic, TBitmapGraphic, TMetafile) are the platform's (platform/picture.h).
//
// A picture class is registered for file extensions (case-insensitive, without the dot) and
// clipboard formats; LoadPicture and NewGraphicForFile pick the class by the extension. The
// program's start-up (and every test or benchmark main that loads metafiles) calls
// RegisterMetafileEx: TMetafileEx then takes the place of the plain metafile class for "emf"
// ("Enhanced Metafile"), "wmf" ("Windows Metafile") and the clipboard formats 3 and 14;
// UnregisterMetafileEx at the end removes it again. A registration counter makes both happen
// once however often they are called.
//
// Decisions kept on purpose:
// - Only enhanced metafiles can be drawn: a ".wmf" file that holds an enhanced metafile loads;
//   a Windows metafile of the older format does not.
// - Bitmaps ("bmp", "jpg", "jpeg") load into TBitmapGraphic through the platform's codecs.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/picture.h"

namespace fw {

using platform::TBitmapGraphic;
using platform::TGraphic;
using platform::TMetafile;

// The metafile picture that lifts the canvas's clip region while it draws and selects it again
// afterwards (also when drawing fails).
class TMetafileEx : public TMetafile {
 public:
  const char* ClassName() const override { return "TMetafileEx"; }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TMetafileEx>(*this); }
  void Draw(platform::Canvas& canvas, const platform::Rect& r) const override;
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

}  // namespace fw
