#include "framework/calc_state.h"

namespace fw {

std::vector<std::string> CalcData;
std::vector<std::string> CalcDataSaved;
TDataState DataState;
bool CalcDataLoaded = false;
std::string CurrentFileName;

}  // namespace fw
