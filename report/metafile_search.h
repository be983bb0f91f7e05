// Text search over the pages of a report: whether a page (an enhanced metafile) shows a text.
//
// Every text record is read as the characters it draws: a wide record as UTF-16, an ANSI record
// as CP932, each with its character count and string offset checked against the record, so
// Japanese text is found whichever record drew it. Without match case, ASCII letters compare
// without regard to case; other characters compare as they are. An empty search text finds
// nothing. A page that is not a metafile finds nothing; a damaged record ends the search of
// that page with what was found before it.
//
// Searches run one at a time (a second one waits for the first).
#pragma once

#include <string>
#include <string_view>

namespace rpt {

// True when a text record of `metafile` contains `text` (CP932).
bool MetafileContainsText(const std::string& text, std::string_view metafile, bool matchCase);

}  // namespace rpt
