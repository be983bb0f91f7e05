#include "model/sim/run_state.h"

namespace app {

bool Calculating = false;
std::string CalcFilePath;
std::string ResultPrefix;

std::string ResultFilePrefixName() { return "HarvSim"; }

}  // namespace app
