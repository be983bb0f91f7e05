// The framework set up on the installed data tree beside the executable (station tables and the
// monthly statistics file built from the real observations), as the program finds it: Japan,
// engineering units with the SI unit names of the program's table, station 1 chosen. Shared by
// the monthly window's benchmark and runner.
#pragma once

#include <algorithm>
#include <string>

#include "framework/appinit.h"
#include "framework/convert.h"
#include "framework/folders.h"
#include "framework/table_file.h"
#include "framework/weather_stations.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/path.h"

namespace monthlyinstalled {

// False when the station tables or the monthly file are missing.
inline bool UseInstalledData() {
  const std::string root = platform::ExecutableFolder();
  fw::BaseDrive = root.substr(0, 2);
  fw::BaseFolder = root.substr(2);
  fw::SetFolderTable(root);
  fw::CountryNo = 1;
  fw::SetUnitSystem(platform::J("工学単位"));
  fw::UnitNames.clear();
  if (fw::DataLoad(fw::DatDir + platform::J("単位系SIW.DAT"))) {
    for (int i = 1; i <= std::min(fw::TableBuffer.TableRows, 100); ++i)
      fw::UnitNames.emplace_back(fw::TableBuffer.TableCells[static_cast<size_t>(i)][1],
                                 fw::TableBuffer.TableCells[static_cast<size_t>(i)][2]);
  }
  fw::WCD_Data_Init();
  fw::SelectStation(1);
  fw::SetWeatherDataPaths();
  return fw::StationCount >= 1 && platform::FileExists(fw::MonthlyFile);
}

}  // namespace monthlyinstalled
