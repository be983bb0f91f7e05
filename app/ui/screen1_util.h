// Small helpers shared by the source files of screen 1 (not part of its interface).
#pragma once

#include <QColor>
#include <QString>
#include <string>

#include "framework/convert.h"
#include "framework/ui/controls.h"
#include "platform/cp932.h"
#include "platform/qt/qt_text.h"

namespace app::s1 {

using platform::J;

using platform::Q;

// A colour number of the palette as a widget colour.
QColor PaletteColour(int number);

// "%*.*f": fixed notation right-aligned in `width` bytes.
inline std::string Fixed(int width, int decimals, double x) { return fw::FormatFixedWidth(width, decimals, x); }
// "%-*s" and "%*s" over CP932 bytes.
using fw::PadLeft;
using fw::PadRight;

// The text a number edit shows for a value (the formatting of a commit).
std::string FieldText(const fw::TEditEx* edit, double value);

// Block numbers and the input codes of screen 1.
constexpr int kTitle = 1000, kLocation = 1100, kCatchment = 2100, kStorage = 3100, kUsage = 4100;
constexpr int kDetail = 4200, kPrecipitation = 5100, kMonths = 9100;
constexpr int kDetailRows = 8;

// Digit masks of the stored forms.
inline constexpr char kMaskCatchment[] = "112-----";
inline constexpr char kMaskStorage[] = "--------";
inline constexpr char kMaskUsage[] = "10111100";
inline constexpr char kMaskFurther[] = "--------";
inline constexpr char kMaskPrecipitation[] = "11------";
inline constexpr char kMaskDetailHead[] = "00------";
inline constexpr char kMaskDetailTotals[] = "02100210";
inline constexpr char kMaskDetailRow[] = "1110";

// "№" + the label in four digits (the label text of blocks 1000 to 9999).
std::string LabelKey(int label);
std::string LabelKey(int label, const char* kindTag);

}  // namespace app::s1
