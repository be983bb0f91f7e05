// The stored point data of a series ("Data"): the program's block, write-read-write round
// trips, late differences in long series, long labels, and damaged blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "chart/errors.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "chart/unit.h"
#include "platform/cp932.h"
#include "platform/stream.h"

using namespace chart;

namespace {

class SeriesDataTest : public ::testing::Test {
 protected:
  ChartLibraryScope scope_;
};

// A kind whose main values run along X.
class HorizontalSeries : public TChartSeries {
 public:
  HorizontalSeries() { SetHorizontal(); }
};

// A kind with a third value per point.
class ThreeValueSeries : public TChartSeries {
 public:
  explicit ThreeValueSeries(bool horizontal = false) {
    if (horizontal) SetHorizontal();
    z = new TChartValueList(this, "Z");
  }
  TChartValueList* z;
};

template <class T>
void Append(std::string& out, T v) {
  char b[sizeof(T)];
  std::memcpy(b, &v, sizeof(T));
  out.append(b, sizeof(T));
}

const char* const kMonths[12] = {"１月", "２月", "３月", "４月", "５月", "６月",
                                 "７月", "８月", "９月", "１０月", "１１月", "１２月"};

// The "Data" block of a bar series on the program's forms: flags 6, the Y value, a colour and
// the month label of each of 12 points.
std::string ProgramBlock() {
  std::string b;
  Append<uint8_t>(b, 6);
  Append<int32_t>(b, 12);
  for (int i = 0; i < 12; ++i) {
    Append<double>(b, 10.5 * i - 3);
    Append<int32_t>(b, 0x00C08000 + i);
    const std::string label = platform::J(kMonths[i]);
    Append<uint8_t>(b, static_cast<uint8_t>(label.size()));
    b += label;
  }
  return b;
}

std::string Raised(TChartSeries& s, const std::string& block) {
  try {
    s.ReadDataBytes(block);
  } catch (const ChartException& e) {
    return e.what();
  }
  return {};
}

}  // namespace

TEST_F(SeriesDataTest, TheProgramsBlockReadsBackTwelveMonths) {
  const std::string block = ProgramBlock();
  ASSERT_EQ(block.size(), 215u);
  TChartSeries s;
  s.ReadDataBytes(block);
  ASSERT_EQ(s.PointCount(), 12);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(s.XValue(i), i);
    EXPECT_EQ(s.YValue(i), 10.5 * i - 3);
    EXPECT_EQ(s.ColorOfPoint(i), static_cast<TColor>(0x00C08000 + i));
    EXPECT_EQ(s.XLabel(i), platform::J(kMonths[i]));
  }
  EXPECT_TRUE(s.ManualData());
  EXPECT_TRUE(s.IsDataStored());
  EXPECT_EQ(s.DataStreamFlags(), 6);
  EXPECT_EQ(s.DataBytes(), block);

  // Through a stream, from its position to its end.
  platform::MemoryStream stream(block);
  TChartSeries t;
  t.ReadData(stream);
  EXPECT_EQ(t.PointCount(), 12);
  platform::MemoryStream out;
  t.WriteData(out);
  EXPECT_EQ(out.Bytes(), block);
}

TEST_F(SeriesDataTest, WriteReadWriteGivesTheSameBytes) {
  struct Case {
    const char* name;
    std::function<std::unique_ptr<TChartSeries>()> make;
    std::function<void(TChartSeries&)> fill;
    uint8_t flags;
  };
  auto plain = [] { return std::make_unique<TChartSeries>(); };
  const Case kCases[] = {
      {"values only", plain, [](TChartSeries& s) { for (int i = 0; i < 5; ++i) s.AddY(i * 1.5); }, 0},
      {"empty", plain, [](TChartSeries&) {}, 0},
      {"X values", plain, [](TChartSeries& s) { s.AddPoint(1, 2); s.AddPoint(5, -3); s.AddPoint(2.5, 0); }, 1},
      {"colours and labels", plain,
       [](TChartSeries& s) { s.AddY(1, "a", clRed); s.AddY(2); s.AddY(3, platform::J("３月"), clNone); }, 6},
      {"series colour only", plain,
       [](TChartSeries& s) { s.SetSeriesColor(clBlue); s.AddY(1, "", clBlue); s.AddY(2); }, 0},
      {"mark positions", plain,
       [](TChartSeries& s) {
         s.AddY(1);
         s.AddY(2);
         s.AddY(3);
         TSeriesMarkPosition p;
         p.arrowFrom = {10, 20};
         p.arrowFix = true;
         p.arrowTo = {-30, 40};
         p.height = 12;
         p.leftTop = {5, 6};
         p.width = 70;
         s.Marks().Positions().SetPosition(1, p);  // index 0 stays a gap
       },
       8},
      {"everything", [] { return std::unique_ptr<TChartSeries>(new ThreeValueSeries); },
       [](TChartSeries& s) {
         auto& z = *static_cast<ThreeValueSeries&>(s).z;
         for (int i = 0; i < 4; ++i) {
           z.SetPendingValue(100 + i);
           s.AddPoint(i * 2, i, i == 2 ? "two" : "", i == 3 ? clLime : clDefault);
         }
         TSeriesMarkPosition p;
         p.width = 9;
         s.Marks().Positions().SetPosition(3, p);
       },
       15},
      {"horizontal", [] { return std::unique_ptr<TChartSeries>(new HorizontalSeries); },
       [](TChartSeries& s) { s.AddValue(7); s.AddValue(3); s.AddPoint(9, 5); }, 1},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    auto a = c.make();
    c.fill(*a);
    EXPECT_EQ(a->DataStreamFlags(), c.flags);
    const std::string first = a->DataBytes();
    auto b = c.make();
    b->SetSeriesColor(a->ColorValue());  // stored beside "Data" as its own property
    b->ReadDataBytes(first);
    ASSERT_EQ(b->PointCount(), a->PointCount());
    for (int i = 0; i < a->PointCount(); ++i) {
      EXPECT_EQ(b->XValue(i), a->XValue(i));
      EXPECT_EQ(b->YValue(i), a->YValue(i));
      EXPECT_EQ(b->ColorOfPoint(i), a->ColorOfPoint(i));
      EXPECT_EQ(b->XLabel(i), a->XLabel(i));
    }
    EXPECT_EQ(b->Marks().Positions().ExistCustom(), a->Marks().Positions().ExistCustom());
    EXPECT_EQ(b->DataBytes(), first);
  }
}

// Stored points out of order read to exactly the points adding them one by one in stored
// order gives (stable order of equal X values, NaNs where they came), with their labels,
// colours and further values, for either order of the X list and for main values along X.
TEST_F(SeriesDataTest, PointsOutOfOrderReadAsAddingThemOneByOne) {
  struct Point {
    double first, second, z;
    std::string label;
    TColor color;
  };
  std::vector<Point> points;
  for (int i = 0; i < 40; ++i) {
    const double first = i == 7 || i == 23 ? std::nan("") : static_cast<double>((i * 7) % 5) - (i > 30 ? i : 0);
    points.push_back({first, static_cast<double>(i), 100.0 + i, i % 3 ? "" : "p" + std::to_string(i),
                      i % 4 ? clDefault : static_cast<TColor>(0x010203 * i)});
  }
  for (const bool horizontal : {false, true}) {
    for (const TChartListOrder order : {loAscending, loDescending, loNone}) {
      SCOPED_TRACE(std::to_string(order) + (horizontal ? " horizontal" : ""));
      auto make = [horizontal, order] {
        auto s = std::make_unique<ThreeValueSeries>(horizontal);
        s->NotMandatoryValueList().SetOrder(order);
        return s;
      };
      auto add = [horizontal](ThreeValueSeries& s, const Point& p) {
        s.z->SetPendingValue(p.z);
        if (horizontal) {
          s.AddPoint(p.second, p.first, p.label, p.color);
        } else {
          s.AddPoint(p.first, p.second, p.label, p.color);
        }
      };
      auto stored = make(), added = make(), read = make();
      stored->NotMandatoryValueList().SetOrder(loNone);
      for (const Point& p : points) {
        add(*stored, p);
        add(*added, p);
      }
      read->ReadDataBytes(stored->DataBytes());
      EXPECT_EQ(read->DataBytes(), added->DataBytes());
      if (order == loNone) {
        EXPECT_EQ(read->DataBytes(), stored->DataBytes());
      }
    }
  }
  // 260,000 points in falling X order: one sort, not an insertion each.
  constexpr int kPoints = 260000;
  std::string block;
  Append<uint8_t>(block, kDataHasX);
  Append<int32_t>(block, kPoints);
  for (int i = 0; i < kPoints; ++i) {
    Append<double>(block, kPoints - i);
    Append<double>(block, i);
  }
  TChartSeries s;
  s.ReadDataBytes(block);
  ASSERT_EQ(s.PointCount(), kPoints);
  EXPECT_EQ(s.XValue(0), 1);
  EXPECT_EQ(s.YValue(0), kPoints - 1);
  EXPECT_EQ(s.XValue(kPoints - 1), kPoints);
  EXPECT_EQ(s.YValue(kPoints - 1), 0);
}

TEST_F(SeriesDataTest, LateDifferencesInLongSeriesAreKept) {
  const struct {
    const char* name;
    std::function<void(TChartSeries&)> change;
    std::function<void(const TChartSeries&)> check;
  } kCases[] = {
      {"X value", [](TChartSeries& s) { s.SetXValue(15000, 15000.5); },
       [](const TChartSeries& s) { EXPECT_EQ(s.XValue(15000), 15000.5); }},
      {"colour", [](TChartSeries& s) { s.SetPointColor(15000, clRed); },
       [](const TChartSeries& s) { EXPECT_EQ(s.ColorOfPoint(15000), clRed); }},
      {"label", [](TChartSeries& s) { s.SetXLabel(15000, "late"); },
       [](const TChartSeries& s) { EXPECT_EQ(s.XLabel(15000), "late"); }},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    TChartSeries s;
    s.SetSeriesColor(clBlue);
    for (int i = 0; i < 20000; ++i) s.AddY(i % 7);
    c.change(s);
    TChartSeries back;
    back.ReadDataBytes(s.DataBytes());
    ASSERT_EQ(back.PointCount(), 20000);
    c.check(back);
  }
}

TEST_F(SeriesDataTest, ALongLabelIsCutOnAWholeCharacter) {
  std::string label;
  for (int i = 0; i < 150; ++i) label += platform::J("あ");  // 300 bytes
  TChartSeries s;
  s.AddY(1, label);
  s.AddY(2, "next");
  TChartSeries back;
  back.ReadDataBytes(s.DataBytes());
  ASSERT_EQ(back.PointCount(), 2);
  EXPECT_EQ(back.XLabel(0), label.substr(0, 254));  // 255 would split the 128th character
  EXPECT_EQ(back.XLabel(1), "next");
  EXPECT_EQ(back.YValue(1), 2);
}

TEST_F(SeriesDataTest, DamagedBlocksRaiseAndLeaveTheSeriesEmpty) {
  ThreeValueSeries whole;
  for (int i = 0; i < 3; ++i) whole.AddPoint(i * 3, i, "ab", clRed);
  TSeriesMarkPosition p;
  whole.Marks().Positions().SetPosition(2, p);
  const std::string block = whole.DataBytes();
  ASSERT_EQ(block[0], 15);

  std::vector<std::string> damaged;
  for (size_t n = 0; n < block.size(); ++n) damaged.push_back(block.substr(0, n));
  for (int32_t count : {-1, 0x7FFFFFFF, 4}) {
    std::string b = block;
    std::memcpy(&b[1], &count, 4);
    damaged.push_back(b);
  }
  std::string longLabel = block;
  longLabel[1 + 4 + 8 + 8 + 4] = static_cast<char>(200);  // the first label runs past the end
  damaged.push_back(longLabel);

  for (const std::string& b : damaged) {
    ThreeValueSeries s;
    s.AddY(5, "old");
    EXPECT_EQ(Raised(s, b), "Wrong *.drx file format") << b.size();
    EXPECT_EQ(s.PointCount(), 0);
    EXPECT_EQ(s.z->Count(), 0);
    EXPECT_TRUE(s.Labels().Empty());
    EXPECT_FALSE(s.Marks().Positions().ExistCustom());
  }
  ThreeValueSeries s;
  EXPECT_EQ(Raised(s, block), "");
  EXPECT_EQ(s.PointCount(), 3);
}
