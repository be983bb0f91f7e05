// Picture classes by extension and the clip-lifting metafile picture.
#include "framework/ui/metafile_picture.h"

#include <algorithm>
#include <map>

namespace fw {

// ---- TMetafileEx

void TMetafileEx::Draw(platform::Canvas& canvas, const platform::Rect& r) const {
  platform::DeviceContext& dc = canvas.Dc();
  platform::Region saved;
  if (!dc.GetClipRegion(saved)) {
    TMetafile::Draw(canvas, r);
    return;
  }
  // Select the saved region again however the drawing ends.
  struct Restore {
    platform::DeviceContext& dc;
    const platform::Region& region;
    ~Restore() { dc.SelectClipRegion(&region, platform::RGN_COPY); }
  } restore{dc, saved};
  dc.SelectClipRegion(nullptr, platform::RGN_COPY);
  TMetafile::Draw(canvas, r);
}

// ---- Picture classes

namespace {

struct Entry {
  std::string className;
  std::string description;
  GraphicFactory factory;
};

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
  return s;
}

struct Registry {
  std::map<std::string, Entry> files;
  std::map<int, Entry> clipboard;
};

// The platform's plain metafile class for its extensions and clipboard formats: a class the
// registry starts with, and what removing TMetafileEx gives back.
void AddPlainMetafile(Registry& r) {
  auto metafile = [] { return std::make_unique<TMetafile>(); };
  r.files["emf"] = {"TMetafile", "Enhanced Metafiles", metafile};
  r.files["wmf"] = {"TMetafile", "Metafiles", metafile};
  r.clipboard[CF_METAFILEPICT] = {"TMetafile", "", metafile};
  r.clipboard[CF_ENHMETAFILE] = {"TMetafile", "", metafile};
}

Registry& Classes() {
  static Registry registry = [] {
    Registry r;
    auto bitmap = [] { return std::make_unique<TBitmapGraphic>(); };
    r.files["bmp"] = {"TBitmap", "Bitmaps", bitmap};
    r.files["jpg"] = {"TBitmap", "JPEG Image File", bitmap};
    r.files["jpeg"] = {"TBitmap", "JPEG Image File", bitmap};
    AddPlainMetafile(r);
    return r;
  }();
  return registry;
}

std::map<std::string, Entry>& FileFormats() { return Classes().files; }
std::map<int, Entry>& ClipboardFormats() { return Classes().clipboard; }

std::string ExtensionOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  return Lower(path.substr(dot + 1));
}

int registrations = 0;

}  // namespace

void RegisterFileFormat(const std::string& extension, const std::string& description, const std::string& className,
                        GraphicFactory factory) {
  FileFormats()[Lower(extension)] = Entry{className, description, std::move(factory)};
}

void RegisterClipboardFormat(int format, const std::string& className, GraphicFactory factory) {
  ClipboardFormats()[format] = Entry{className, std::string(), std::move(factory)};
}

void UnregisterGraphicClass(const std::string& className) {
  std::erase_if(FileFormats(), [&](const auto& e) { return e.second.className == className; });
  std::erase_if(ClipboardFormats(), [&](const auto& e) { return e.second.className == className; });
}

std::unique_ptr<TGraphic> NewGraphicForFile(const std::string& path) {
  auto it = FileFormats().find(ExtensionOf(path));
  return it == FileFormats().end() ? nullptr : it->second.factory();
}

std::unique_ptr<TGraphic> NewGraphicForClipboard(int format) {
  auto it = ClipboardFormats().find(format);
  return it == ClipboardFormats().end() ? nullptr : it->second.factory();
}

std::string FileFormatDescription(const std::string& extension) {
  auto it = FileFormats().find(Lower(extension));
  return it == FileFormats().end() ? std::string() : it->second.description;
}

std::unique_ptr<TGraphic> LoadPicture(const std::string& path) {
  std::unique_ptr<TGraphic> graphic = NewGraphicForFile(path);
  if (!graphic || !graphic->LoadFromFile(path)) return nullptr;
  return graphic;
}

void RegisterMetafileEx() {
  if (registrations++ > 0) return;
  UnregisterGraphicClass("TMetafile");
  auto factory = [] { return std::make_unique<TMetafileEx>(); };
  RegisterFileFormat("wmf", "Windows Metafile", "TMetafileEx", factory);
  RegisterFileFormat("emf", "Enhanced Metafile", "TMetafileEx", factory);
  RegisterClipboardFormat(CF_METAFILEPICT, "TMetafileEx", factory);
  RegisterClipboardFormat(CF_ENHMETAFILE, "TMetafileEx", factory);
}

void UnregisterMetafileEx() {
  if (registrations <= 0 || --registrations > 0) return;
  UnregisterGraphicClass("TMetafileEx");
  AddPlainMetafile(Classes());
}

}  // namespace fw
