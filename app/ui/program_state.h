// Program-wide state of the main window and its screens that the simulation does not own.
// The simulation's own flags (Calculating, CalcFilePath, ResultPrefix) live in
// model/sim/run_state.h.
#pragma once

#include <array>

#include <QPointer>
#include <QWidget>

namespace app {

// Screen 2's day-by-day playback is running: closing is refused and the file and screen
// commands are disabled.
extern bool PlaybackRunning;
// Screen 1's completeness check passed.
extern bool InputComplete;
// The results of the current calculation file are registered in its result folder
// (looked up anew by every UpdateCommandStates).
extern bool ResultRegistered;
// The current file is the sample "TEST_HVS.HVS": never saved from the main window, closing
// never asks.
extern bool IsSampleFile;
// 0 before any screen was opened, else the screen (1, 2 or 3) opened last.
extern int CurrentScreen;
// Screen 3's page metafiles rendered since the last load or save ([1..7]; index 0 unused).
extern std::array<bool, 8> PageRendered;

// The open screens (null while a screen is not open). Each is the screen's form widget,
// named "HARV1Form", "HARV2Form" or "HARV3Form", shown inside an MDI sub-window.
extern QPointer<QWidget> HARV1Form;
extern QPointer<QWidget> HARV2Form;
extern QPointer<QWidget> HARV3Form;

// The long loops of the program (a simulation run, the day playback) are under way: no
// window may be freed and no file changed under them.
bool LoopRunning();

// Clears every PageRendered flag.
void ClearPageRendered();

}  // namespace app
