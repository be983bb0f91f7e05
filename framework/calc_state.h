// The current case: the calculation-condition store and its change state. The store's
// routines (load, save, record readers and writers) live in calc_store.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

struct TDataState {
  uint8_t Modified = 0;  // 1 once the case was changed since the last new, load or save
  uint8_t Second = 0;
};

extern std::vector<std::string> CalcData;       // line 0 the header line, then the record lines
extern std::vector<std::string> CalcDataSaved;  // the state last saved
extern TDataState DataState;
extern bool CalcDataLoaded;
extern std::string CurrentFileName;             // shown in the status bar

}  // namespace fw
