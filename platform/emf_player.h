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
};

EmfPlayResult PlayEnhMetafile(DeviceContext& dc, std::string_view bytes, const Rect& dest);

}  // namespace platform
