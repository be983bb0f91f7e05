// libFuzzer target: a monthly statistics file of any content, each of its records read by
// ReadMonthlyRecord and shown by ShowStationInfo (labels and grid, in both unit systems), as
// the monthly weather window does. The station table claims one station more than the file
// holds, so the short-file path runs as well. The seeds are files of whole 1947-byte records
// (and one cut inside a record); inputs up to four records and a bit are tried.
// fuzz-options: -max_len=8192
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/appinit.h"
#include "framework/convert.h"
#include "framework/folders.h"
#include "framework/table_file.h"
#include "framework/weather_stations.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/path.h"

namespace {

class NullView final : public fw::StationInfoView {
 public:
  size_t bytes = 0;
  void ShowTexts(const fw::StationInfoTexts& t) override {
    bytes += t.Position.size() + t.Heights.size() + t.Temperatures.size() + t.RecordName.size();
  }
  void SetCell(int, int, const std::string& text) override { bytes += text.size(); }
};

// A program folder in /tmp with the weather-item table; returns the monthly file's path.
const std::string& Setup() {
  static const std::string file = [] {
    char pattern[] = "/tmp/harvsim-fuzz-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (!made) std::abort();
    const std::string root = platform::ToInsidePath(std::string(made) + "/").value();
    fw::BaseDrive = root.substr(0, 2);
    fw::BaseFolder = root.substr(2);
    fw::SetFolderTable(root);
    platform::MakeFolders(fw::DatDir);
    fw::TTableBuffer& b = fw::TableBuffer;
    b.TableRows = fw::kMonthlyItems;
    b.TableCols = 2;
    b.TableWidths[1] = 12;
    b.TableWidths[2] = 12;
    for (int r = 1; r <= fw::kMonthlyItems; ++r) {
      b.TableKeys[r] = b.TableCells[r][1] = "item" + std::to_string(r);
      b.TableCells[r][2] = platform::J("kcal/㎡日");
    }
    if (!fw::DataSave(fw::DatDir + platform::J("気象項目.DAT"))) std::abort();
    return root + "JPN_MONT.DAT";
  }();
  return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& file = Setup();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  if (!platform::WriteFileBytesAtomic(file, bytes)) return 0;
  const int records = static_cast<int>(size / fw::kMonthlyRecordBytes);
  fw::StationCount = records + 1;
  fw::MonthlyFile.clear();
  fw::MonthlyDataFileName(file);
  NullView view;
  for (const char* system : {"工学単位", "ＳＩ単位"}) {
    fw::SetUnitSystem(platform::J(system));
    for (int station = 0; station <= fw::StationCount + 1 && station <= 4; ++station) fw::ShowStationInfo(view, station);
  }
  return 0;
}
