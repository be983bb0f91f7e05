// The stored point data of a chart series (the form property "Data"), read into a plain
// series, a horizontal one and one with a third value per point. A block that reads must
// write a block that reads back to the same bytes and point count; one that does not may only
// raise ChartException and must leave the series empty.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "chart/errors.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "support.h"

namespace {

class HorizontalSeries : public chart::TChartSeries {
 public:
  HorizontalSeries() { SetHorizontal(); }
};

class ThreeValueSeries : public chart::TChartSeries {
 public:
  ThreeValueSeries() { new chart::TChartValueList(this, "Z"); }
};

template <class Kind>
const char* ReadWriteRead(const std::string& block) {
  Kind series;
  series.AddY(1, "before", chart::clRed);
  try {
    series.ReadDataBytes(block);
  } catch (const chart::ChartException&) {
    if (series.PointCount() != 0 || !series.Labels().Empty() || series.HasPointColors())
      return "a damaged block left points behind";
    return nullptr;
  }
  const std::string written = series.DataBytes();
  Kind again;
  try {
    again.ReadDataBytes(written);
  } catch (const chart::ChartException&) {
    return "a written block does not read back";
  }
  if (again.PointCount() != series.PointCount()) return "a written block reads back another point count";
  if (again.DataBytes() != written) return "a written block reads back to other bytes";
  return nullptr;
}

void Check(const char* problem) {
  if (!problem) return;
  std::fprintf(stderr, "%s\n", problem);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static chart::ChartLibraryScope scope;  // the library's texts
  const std::string block(fuzzsupport::Bytes(data, size));
  Check(ReadWriteRead<chart::TChartSeries>(block));
  Check(ReadWriteRead<HorizontalSeries>(block));
  Check(ReadWriteRead<ThreeValueSeries>(block));
  return 0;
}
