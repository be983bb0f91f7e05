// The stored point data of a series: the binary form property "Data".
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "chart/errors.h"
#include "chart/messages.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "platform/mbcs.h"
#include "platform/stream.h"

namespace chart {

namespace {

constexpr size_t kMarkPositionBytes = 4 * 2 + 1 + 4 * 2 + 1 + 4 + 4 * 2 + 4;

template <class T>
void Put(std::string& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));  // the platform is little-endian, as the block is
  out.append(bytes, sizeof(T));
}

// Reads the block front to back; every read is checked against its end.
class BlockReader {
 public:
  explicit BlockReader(const std::string& bytes) : bytes_(bytes) {}
  size_t Remaining() const { return bytes_.size() - pos_; }
  template <class T>
  T Get() {
    T value;
    Need(sizeof(T));
    std::memcpy(&value, bytes_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return value;
  }
  std::string Text(size_t length) {
    Need(length);
    std::string text = bytes_.substr(pos_, length);
    pos_ += length;
    return text;
  }
  static void Fail() { throw ChartException(MsgWrongChartFileFormat); }

 private:
  void Need(size_t n) const {
    if (n > Remaining()) Fail();
  }
  const std::string& bytes_;
  size_t pos_ = 0;
};

}  // namespace

uint8_t TChartSeries::DataStreamFlags() const {
  SeriesDataFacts facts;
  facts.xStored = xStored_;
  facts.xValues = notMandatory_->Values();
  if (hasColors_) facts.colors = colors_;
  facts.seriesColor = SeriesColor();
  facts.labels = labels_.Texts();
  facts.customMarkPositions = marks_->Positions().ExistCustom();
  return SeriesDataStreamFlags(facts);
}

std::string TChartSeries::DataBytes() const {
  const uint8_t flags = DataStreamFlags();
  const int n = PointCount();
  const int extra = valueLists_.Count() - 2;
  std::string out;
  size_t record = 8 + 8 * static_cast<size_t>(extra);
  if (flags & kDataHasX) record += 8;
  if (flags & kDataHasColors) record += 4;
  if (flags & kDataHasLabels) record += 1;
  if (flags & kDataHasMarkPositions) record += kMarkPositionBytes;
  out.reserve(5 + record * static_cast<size_t>(n));
  Put<uint8_t>(out, flags);
  Put<int32_t>(out, n);
  for (int i = 0; i < n; ++i) {
    if (flags & kDataHasX) Put<double>(out, notMandatory_->ValueAt(i));
    Put<double>(out, mandatory_->ValueAt(i));
    if (flags & kDataHasColors) {
      const TColor c = i < static_cast<int>(colors_.size()) ? colors_[static_cast<size_t>(i)] : clDefault;
      Put<int32_t>(out, static_cast<int32_t>(c));
    }
    if (flags & kDataHasLabels) {
      // One length byte: a longer label is cut to 255 bytes, never inside a character.
      const std::string& label = labels_.Label(i);
      const size_t length = platform::WholeCharPrefix(label, 255);
      Put<uint8_t>(out, static_cast<uint8_t>(length));
      out.append(label, 0, length);
    }
    for (int k = 2; k < valueLists_.Count(); ++k) Put<double>(out, valueLists_[k]->ValueAt(i));
    if (flags & kDataHasMarkPositions) {
      const TSeriesMarkPosition* p = marks_->Positions().Position(i);
      const TSeriesMarkPosition none;
      if (!p) p = &none;
      Put<int32_t>(out, p->arrowFrom.x);
      Put<int32_t>(out, p->arrowFrom.y);
      Put<uint8_t>(out, p->arrowFix ? 1 : 0);
      Put<int32_t>(out, p->arrowTo.x);
      Put<int32_t>(out, p->arrowTo.y);
      Put<uint8_t>(out, p->custom ? 1 : 0);
      Put<int32_t>(out, p->height);
      Put<int32_t>(out, p->leftTop.x);
      Put<int32_t>(out, p->leftTop.y);
      Put<int32_t>(out, p->width);
    }
  }
  return out;
}

void TChartSeries::WriteData(platform::Stream& out) const {
  const std::string bytes = DataBytes();
  out.WriteExact(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TChartSeries::ReadData(platform::Stream& in) {
  const int64_t size = in.Size() - in.Position();
  std::string bytes(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
  if (size > 0 && !in.ReadExact(bytes.data(), size)) {
    RemoveAllPoints();
    BlockReader::Fail();
  }
  ReadDataBytes(bytes);
}

void TChartSeries::ReadDataBytes(const std::string& bytes) {
  BeginUpdate();
  try {
    RemoveAllPoints();
    BlockReader in(bytes);
    const uint8_t flags = in.Get<uint8_t>();
    const int32_t n = in.Get<int32_t>();
    const int extra = valueLists_.Count() - 2;
    size_t record = 8 + 8 * static_cast<size_t>(extra);
    if (flags & kDataHasX) record += 8;
    if (flags & kDataHasColors) record += 4;
    if (flags & kDataHasLabels) record += 1;
    if (flags & kDataHasMarkPositions) record += kMarkPositionBytes;
    // Every record takes at least `record` bytes: a count the block cannot hold is damage.
    if (n < 0 || static_cast<size_t>(n) > in.Remaining() / record) BlockReader::Fail();
    // The whole block is read first, then the points are added in the order adding them one
    // by one in stored order would leave them: a block in falling X order costs one sort, not
    // an insertion per point.
    const size_t count = static_cast<size_t>(n);
    const size_t extras = static_cast<size_t>(std::max(extra, 0));
    std::vector<double> firsts(count), seconds(count), extraValues(extras * count);
    std::vector<TColor> colors;
    std::vector<std::string> labels;
    std::vector<TSeriesMarkPosition> positions;
    if (flags & kDataHasColors) colors.resize(count);
    if (flags & kDataHasLabels) labels.resize(count);
    if (flags & kDataHasMarkPositions) positions.resize(count);
    for (size_t i = 0; i < count; ++i) {
      firsts[i] = (flags & kDataHasX) ? in.Get<double>() : static_cast<double>(i);
      seconds[i] = in.Get<double>();
      if (flags & kDataHasColors) colors[i] = static_cast<TColor>(in.Get<int32_t>());
      if (flags & kDataHasLabels) labels[i] = in.Text(in.Get<uint8_t>());
      for (size_t k = 0; k < extras; ++k) extraValues[i * extras + k] = in.Get<double>();
      if (flags & kDataHasMarkPositions) {
        TSeriesMarkPosition& position = positions[i];
        position.arrowFrom.x = in.Get<int32_t>();
        position.arrowFrom.y = in.Get<int32_t>();
        position.arrowFix = in.Get<uint8_t>() != 0;
        position.arrowTo.x = in.Get<int32_t>();
        position.arrowTo.y = in.Get<int32_t>();
        position.custom = in.Get<uint8_t>() != 0;
        position.height = in.Get<int32_t>();
        position.leftTop.x = in.Get<int32_t>();
        position.leftTop.y = in.Get<int32_t>();
        position.width = in.Get<int32_t>();
      }
    }
    // The first value of a record goes to the list that orders the points. Adding one by one
    // puts a value after the equal ones and never before a NaN already there: the result is
    // the stored order sorted stably between NaNs. A series that vets each point before adding
    // it sees them in stored order.
    std::vector<size_t> order(count);
    for (size_t i = 0; i < count; ++i) order[i] = i;
    const TChartListOrder listOrder = notMandatory_->Order();
    if (listOrder != loNone && !OnBeforeAdd) {
      const auto before = [&firsts, listOrder](size_t a, size_t b) {
        return listOrder == loAscending ? firsts[a] < firsts[b] : firsts[a] > firsts[b];
      };
      size_t start = 0;
      for (size_t i = 0; i <= count; ++i) {
        if (i < count && !std::isnan(firsts[i])) continue;
        std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(start),
                         order.begin() + static_cast<std::ptrdiff_t>(i), before);
        start = i + 1;
      }
    }
    static const std::string kNoLabel;
    for (const size_t i : order) {
      for (size_t k = 0; k < extras; ++k)
        valueLists_[static_cast<int>(k) + 2]->SetPendingValue(extraValues[i * extras + k]);
      const std::string& label = labels.empty() ? kNoLabel : labels[i];
      const TColor color = colors.empty() ? clDefault : colors[i];
      if (yMandatory_) {
        AddPoint(firsts[i], seconds[i], label, color);
      } else {
        AddPoint(seconds[i], firsts[i], label, color);
      }
    }
    for (const TSeriesMarkPosition& position : positions) marks_->Positions().Add(position);
  } catch (...) {
    ClearAllLists();
    EndUpdate();
    throw;
  }
  EndUpdate();
  manualData_ = true;
}

}  // namespace chart
