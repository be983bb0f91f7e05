// The pictures of the main window, drawn in code: the splash picture shown at start (the
// program's title over a quiet scene of a house whose roof gathers the rain into a storage
// tank) and the working picture that replaces it (the same scene without the title, in the
// softer light after the rain), and the small glyphs of the command buttons.
#pragma once

#include <QIcon>
#include <QImage>
#include <QSize>
#include <string>

namespace app {

// The splash picture at `size`; `title` (UTF-8) is the only text in it.
QImage DrawSplashPicture(const QSize& size, const std::string& titleUtf8);
// The working picture at `size`; no text.
QImage DrawWorkingPicture(const QSize& size);

enum class Glyph { New, Open, Save, SaveAs, Edit, Calc, Results, Analysis, Weather, Report, Monthly, Drop };
// A 20 x 20 button glyph.
QIcon GlyphIcon(Glyph glyph);

}  // namespace app
