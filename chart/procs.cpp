// Palette, date-time steps, sorting, hit tests and the other shared routines.
#include "chart/procs.h"

#include <QObject>
#include <QString>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>

#include "chart/unit.h"
#include "platform/dc_canvas.h"

namespace chart {

// ---- Palette ------------------------------------------------------------------------------

namespace {
std::vector<TColor> gPalette;
std::map<int, Qt::CursorShape> gCursors;
}  // namespace

const std::vector<TColor>& DefaultPaletteColors() {
  static const std::vector<TColor> kColors = {
      clRed,    clGreen, clYellow, clBlue,  clWhite,  clGray,   clFuchsia, clTeal,   clNavy,   clMaroon,
      clLime,   clOlive, clPurple, clSilver, clAqua,  clBlack,  0xC0DCC0,  0xF0CAA6, 0xF0FBFF, 0xA4A0A0,
  };
  return kColors;
}

TColor DefaultPaletteColor(int index) {
  if (gPalette.empty()) return clBlack;
  const int n = static_cast<int>(gPalette.size());
  return gPalette[static_cast<size_t>(((index % n) + n) % n)];
}

void SetDefaultPalette(const std::vector<TColor>& colors, int highestIndex) {
  if (highestIndex <= 0 || colors.empty()) {
    gPalette = DefaultPaletteColors();
    return;
  }
  const size_t count = std::min(colors.size(), static_cast<size_t>(highestIndex) + 1);
  gPalette.assign(colors.begin(), colors.begin() + static_cast<std::ptrdiff_t>(count));
}

// ---- Texts --------------------------------------------------------------------------------

std::string IntToText(int n) { return std::to_string(n); }

std::string ReplaceCharInString(const std::string& text, char oldChar, char newChar) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != oldChar) {
      out.push_back(c);
    } else if (newChar != '\0') {
      out.push_back(newChar);
    }
  }
  return out;
}

const std::string ShortDateFormat = "yyyy/mm/dd";
const std::string ShortTimeFormat = "h:nn";

const std::string& DateTimeFormatFor(double value) { return value > 1 ? ShortDateFormat : ShortTimeFormat; }

// ---- Dates --------------------------------------------------------------------------------

namespace {

using namespace std::chrono;

constexpr sys_days kDayZero = sys_days{year{1899} / December / 30};
constexpr double kDay1900 = 2.0;  // 1900-01-01

year_month_day DateOf(double serial) {
  // Whole days below the value; dates before the day zero count backwards as well.
  return year_month_day{kDayZero + days{static_cast<long>(std::floor(serial))}};
}

double SerialOf(const year_month_day& ymd) { return static_cast<double>((sys_days{ymd} - kDayZero).count()); }

year_month_day AddMonths(const year_month_day& ymd, int months, unsigned day) {
  const year_month ym = year_month{ymd.year(), ymd.month()} + std::chrono::months{months};
  return year_month_day{ym.year(), ym.month(), std::chrono::day{day}};
}

}  // namespace

double EncodeDate(int y, int m, int d) {
  return SerialOf(year_month_day{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}});
}

void DecodeDate(double date, int& y, int& m, int& d) {
  year_month_day ymd = DateOf(date);
  y = static_cast<int>(ymd.year());
  m = static_cast<int>(static_cast<unsigned>(ymd.month()));
  d = static_cast<int>(static_cast<unsigned>(ymd.day()));
}

const double DateTimeStep[kDateTimeStepCount] = {
    1.0 / 86400000000.0, 1.0 / 86400000.0, 1.0 / 86400.0, 5.0 / 86400.0, 10.0 / 86400.0, 15.0 / 86400.0,
    30.0 / 86400.0,      1.0 / 1440.0,     5.0 / 1440.0,  10.0 / 1440.0, 15.0 / 1440.0,  30.0 / 1440.0,
    1.0 / 24.0,          2.0 / 24.0,       6.0 / 24.0,    12.0 / 24.0,   1,              2,
    3,                   7,                15,            30,            60,             90,
    120,                 182,              365,
};

TDateTimeStep FindDateTimeStep(double value) {
  for (int k = kDateTimeStepCount - 1; k >= 0; --k) {
    if (std::fabs(DateTimeStep[k] - value) < DateTimeStep[dtOneMicroSecond]) return static_cast<TDateTimeStep>(k);
  }
  return dtNone;
}

double LargerDateTimeStep(double value) {
  for (int k = kDateTimeStepCount - 2; k >= 0; --k) {
    if (value >= DateTimeStep[k]) return DateTimeStep[k + 1];
  }
  return DateTimeStep[dtOneYear];
}

double TruncToDateTimeStep(TDateTimeStep step, double date) {
  if (date <= kDay1900) return date;
  year_month_day ymd = DateOf(date);
  switch (step) {
    case dtHalfMonth:
      return SerialOf(ymd.year() / ymd.month() / day{ymd.day() < day{15} ? 1u : 15u});
    case dtOneMonth:
    case dtTwoMonths:
    case dtThreeMonths:
    case dtFourMonths:
    case dtSixMonths:
      return SerialOf(ymd.year() / ymd.month() / day{1});
    case dtOneYear:
      return SerialOf(ymd.year() / January / day{1});
    default:
      return std::floor(date);
  }
}

double AdvanceDateTime(bool isDateTime, bool forward, double value, TDateTimeStep step, double stepLength) {
  if (!isDateTime) return forward ? value + stepLength : value - stepLength;
  const int sign = forward ? 1 : -1;
  year_month_day ymd = DateOf(value);
  switch (step) {
    case dtOneMonth: return SerialOf(AddMonths(ymd, sign * 1, 1));
    case dtTwoMonths: return SerialOf(AddMonths(ymd, sign * 2, 1));
    case dtThreeMonths: return SerialOf(AddMonths(ymd, sign * 3, 1));
    case dtFourMonths: return SerialOf(AddMonths(ymd, sign * 4, 1));
    case dtSixMonths: return SerialOf(AddMonths(ymd, sign * 6, 1));
    case dtOneYear: {
      year_month_day next{ymd.year() + years{sign}, ymd.month(), ymd.day()};
      if (!next.ok()) next = year_month_day_last{next.year(), month_day_last{next.month()}};
      return SerialOf(next);
    }
    case dtHalfMonth: {
      const unsigned d = static_cast<unsigned>(ymd.day());
      if (forward) return d < 15 ? SerialOf(AddMonths(ymd, 0, 15)) : SerialOf(AddMonths(ymd, 1, 1));
      if (d == 1) return SerialOf(AddMonths(ymd, -1, 15));
      return SerialOf(AddMonths(ymd, 0, d <= 15 ? 1 : 15));
    }
    default: return value + sign * stepLength;
  }
}

// ---- Numeric axis steps -------------------------------------------------------------------

double NextAxisStep(double x) {
  if (!(x > 0) || std::isinf(x)) return 1;
  // The steps of the recursive definition x >= 10: 10 * step(x / 10), x < 1: 0.1 * step(x * 10),
  // taken in the same order so that the results are the same doubles.
  int up = 0, down = 0;
  while (x >= 10) {
    x /= 10;
    ++up;
  }
  while (x < 1) {
    x *= 10;
    ++down;
  }
  double r = x < 2 ? 2 : x < 5 ? 5 : 10;
  for (int k = 0; k < up; ++k) r *= 10;
  for (int k = 0; k < down; ++k) r *= 0.1;
  return r;
}

// ---- Sorting ------------------------------------------------------------------------------

void SortWithCallbacks(int first, int last, const std::function<int(int, int)>& compare,
                       const std::function<void(int, int)>& swap) {
  // The smaller part is sorted by recursion and the larger one by the loop, which keeps the
  // stack shallow; the parts are disjoint, so the order of the swaps within each is as ever.
  while (first < last) {
    int i = first, j = last, m = first + (last - first) / 2;
    while (i < j) {
      // The bounds only matter for a compare that contradicts itself.
      while (i < last && compare(i, m) < 0) ++i;
      while (j > first && compare(m, j) < 0) --j;
      if (i < j) {
        swap(i, j);
        if (i == m) {
          m = j;
        } else if (j == m) {
          m = i;
        }
      }
      if (i <= j) {
        ++i;
        --j;
      }
    }
    if (j - first < last - i) {
      if (first < j) SortWithCallbacks(first, j, compare, swap);
      first = i;
    } else {
      if (i < last) SortWithCallbacks(i, last, compare, swap);
      last = j;
    }
  }
}

// ---- Hit tests ----------------------------------------------------------------------------

double PointToSegmentDistance(TPoint p, TPoint a, TPoint b) {
  const double px = p.x, py = p.y, ax = a.x, ay = a.y, bx = b.x, by = b.y;
  if (a.x == b.x && a.y == b.y) return std::hypot(px - ax, py - ay);
  const double dx = bx - ax, dy = by - ay;
  const double t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
  if (t < 0) return std::hypot(px - ax, py - ay);
  if (t > 1) return std::hypot(px - bx, py - by);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

bool IsPointNearSegment(TPoint p, TPoint a, TPoint b, int tolerance) {
  if ((p.x == a.x && p.y == a.y) || (p.x == b.x && p.y == b.y)) return true;
  return PointToSegmentDistance(p, a, b) <= tolerance + 1;
}

bool IsPointNearSegmentExact(TPoint p, TPoint a, TPoint b) { return IsPointNearSegment(p, a, b, 0); }

bool IsPointInPolygon(TPoint p, std::span<const TPoint> points) {
  bool inside = false;
  const size_t n = points.size();
  for (size_t i = 0; i < n; ++i) {
    const TPoint& a = points[i];
    const TPoint& b = points[(i + 1) % n];
    const bool spans = (a.y <= p.y && p.y < b.y) || (b.y <= p.y && p.y < a.y);
    if (spans && p.x < static_cast<double>(b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

bool IsPointInTriangle(TPoint p, int x0, int x1, int y0, int y1) {
  const TPoint tri[3] = {{x0, y1}, {(x0 + x1) / 2, y0}, {x1, y1}};
  return IsPointInPolygon(p, tri);
}

bool IsPointInEllipse(TPoint p, const TRect& r) {
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  const double a2 = static_cast<double>(cx - r.left) * (cx - r.left);
  const double b2 = static_cast<double>(cy - r.top) * (cy - r.top);
  if (a2 == 0 || b2 == 0) return false;
  const double dx = p.x - cx, dy = p.y - cy;
  return dx * dx / a2 + dy * dy / b2 <= 1;
}

// ---- Components ---------------------------------------------------------------------------

std::string UniqueComponentName(const QObject* owner, const std::string& base) {
  if (!owner) return base + "1";
  const QList<QObject*> owned = owner->findChildren<QObject*>();
  for (int n = 1;; ++n) {
    const std::string name = base + std::to_string(n);
    const QString candidate = QString::fromStdString(name);
    bool used = false;
    for (const QObject* o : owned) {
      if (o->objectName().compare(candidate, Qt::CaseInsensitive) == 0) {
        used = true;
        break;
      }
    }
    if (!used) return name;
  }
}

QObject* FindComponent(const QObject* within, const std::string& name) {
  if (!within || name.empty()) return nullptr;
  const QObject* root = within;
  while (root->parent()) root = root->parent();
  const QString wanted = QString::fromStdString(name);
  if (root != within && root->objectName().compare(wanted, Qt::CaseInsensitive) == 0) return const_cast<QObject*>(root);
  for (QObject* o : root->findChildren<QObject*>()) {
    if (o != within && o->objectName().compare(wanted, Qt::CaseInsensitive) == 0) return o;
  }
  return nullptr;
}

// ---- Screen cursors -----------------------------------------------------------------------

std::optional<Qt::CursorShape> ScreenCursor(int number) {
  auto it = gCursors.find(number);
  if (it == gCursors.end()) return std::nullopt;
  return it->second;
}

// ---- Check box ----------------------------------------------------------------------------

void PaintCheckBox(int x, int y, platform::Canvas& canvas, bool checked, bool checkBox) {
  const uint32_t state = (checkBox ? platform::DFCS_BUTTONCHECK : platform::DFCS_BUTTONRADIO) |
                         (checked ? platform::DFCS_CHECKED : 0);
  canvas.Dc().DrawFrameControl(TRect{x, y, x + 13, y + 13}, platform::DFC_BUTTON, state);
}

// ---- Stored point data --------------------------------------------------------------------

uint8_t SeriesDataStreamFlags(const SeriesDataFacts& s) {
  // Every point is looked at: a series whose later points differ must keep them when stored.
  uint8_t flags = 0;
  const size_t n = s.xValues.size();
  if (s.xStored && n > 0) {
    for (size_t i = 0; i < n; ++i) {
      if (s.xValues[i] != static_cast<double>(i)) {
        flags |= kDataHasX;
        break;
      }
    }
  }
  if (n > 0) {
    const size_t colors = std::min(s.colors.size(), n);
    for (size_t i = 0; i < colors; ++i) {
      if (s.colors[i] != clDefault && s.colors[i] != s.seriesColor) {
        flags |= kDataHasColors;
        break;
      }
    }
    const size_t labels = std::min(s.labels.size(), n);
    for (size_t i = 0; i < labels; ++i) {
      if (!s.labels[i].empty()) {
        flags |= kDataHasLabels;
        break;
      }
    }
  }
  if (s.customMarkPositions) flags |= kDataHasMarkPositions;
  return flags;
}

// ---- Unit ---------------------------------------------------------------------------------

namespace {

void Startup() {
  gPalette = DefaultPaletteColors();
  gCursors[crChartHand] = Qt::PointingHandCursor;
}

void Shutdown() {
  gPalette.clear();
  gCursors.erase(crChartHand);
}

UnitCounter gUnit(Startup, Shutdown);

}  // namespace

void PlotProcsStartup() { gUnit.Start(); }
void PlotProcsShutdown() { gUnit.Stop(); }

}  // namespace chart
