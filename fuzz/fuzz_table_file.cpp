// A fixed-width table file (settings, tables of the installation, the result-name registry)
// read into the table buffer, and the buffer searched as the readers of the tables do.
#include "framework/table_file.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzsupport::InstallQuietUi();
  const std::string path = fuzzsupport::WriteScratchFile("TABLE.DAT", fuzzsupport::Bytes(data, size));
  if (fw::DataLoad(path)) {
    const fw::TTableBuffer& t = fw::TableBuffer;
    fw::FindInTable(t.TableRows, t.TableKeys, t.TableKeys[t.TableRows]);
    fw::FindInStrings(std::span<const std::string>(t.FileNames.data() + 1, static_cast<size_t>(t.FileNamesCount)),
                      t.TableCells[1][t.TableCols]);
  }
  return 0;
}
