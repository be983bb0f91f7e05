// Plays an Enhanced Metafile (ours, or one written by another program) onto any device
// context, with the picture frame mapped onto a rectangle of that context.
//
// Every record is checked before use: its size against the file, every count and offset
// against the record, every object handle against the header's handle count. A record that
// fails its checks or that this player does not know is skipped; a damaged record structure
// (a size of 0, a record running past the end) ends the play there. Mapping modes, window
// and viewport origins and extents and world transforms are applied to the coordinates;
// clipping of the metafile is kept inside the clip region the context had before, and the
// context's state is restored afterwards. Paths are replayed as the polygons they hold.
//
// The bitmaps one playback decodes are held to kMetafileDecodeBudget pixels in total (a bit
// block decodes only the source pixels that can reach the visible part of its destination, a
// pattern brush its whole bitmap); a bitmap record beyond it is skipped, the play goes on, and
// the result is not ok and names the budget.
#pragma once

#include <string>
#include <string_view>

#include "platform/dc.h"

namespace platform {

struct EmfPlayResult {
  bool ok = false;        // the header was valid and the records up to EMR_EOF were walked
  int played = 0;         // records drawn or applied
  int skipped = 0;        // records skipped (unknown, or failing their checks)
  std::string error;      // why the play stopped early or was refused
  int64_t decodedPixels = 0;  // bitmap pixels decoded
};

// The bitmap pixels one playback may decode: as many as the largest single bitmap has.
constexpr int64_t kMetafileDecodeBudget = kMaxDibPixels;

EmfPlayResult PlayEnhMetafile(DeviceContext& dc, std::string_view bytes, const Rect& dest);

}  // namespace platform
