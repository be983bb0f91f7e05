// What the stored-point-data fuzz target runs on one input, shared with the ordinary tests
// that replay the seeds and every input that once failed. The input is a "Data" block read
// into a plain series, a horizontal one and one with a third value per point. A block that
// reads must write a block that reads back to the same bytes; one that does not may only raise
// ChartException and must leave the series empty. A crash, a sanitizer report or another
// exception is a finding too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "chart/errors.h"
#include "chart/series.h"

namespace chartfuzz {

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
  series.AddY(1, "before");
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

// The chart library must be started (chart::ChartLibraryScope) for its texts.
inline const char* SeriesData(const uint8_t* data, size_t size) {
  const std::string block(reinterpret_cast<const char*>(data), size);
  if (const char* p = ReadWriteRead<chart::TChartSeries>(block)) return p;
  if (const char* p = ReadWriteRead<HorizontalSeries>(block)) return p;
  return ReadWriteRead<ThreeValueSeries>(block);
}

}  // namespace chartfuzz
