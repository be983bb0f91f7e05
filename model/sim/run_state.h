// Program-wide state of the simulation and main windows that the simulation reads or sets.
// The main window sets the calculation file and the result prefix; the simulation sets
// Calculating for the whole of a run, and every window disables its commands while it is set.
#pragma once

#include <string>

namespace app {

// A simulation run is under way (commands that would change the case are disabled).
extern bool Calculating;

// The current calculation file (inside path, "C:\...\CAL\HVS\TEST_HVS.HVS").
extern std::string CalcFilePath;

// Result folder of the calculation file followed by the program name: every result file is
// ResultPrefix + a suffix such as "(1981).DAY". Set by the main window together with
// fw::ResultDir ("＜RESULT＞\" beside the calculation file) + "HarvSim".
extern std::string ResultPrefix;

// The name the result files start with inside the result folder.
std::string ResultFilePrefixName();  // "HarvSim"

}  // namespace app
