#include "app/ui/program_state.h"

#include "model/sim/run_state.h"

namespace app {

bool PlaybackRunning = false;
bool InputComplete = false;
bool ResultRegistered = false;
bool IsSampleFile = false;
int CurrentScreen = 0;
std::array<bool, 8> PageRendered{};

QPointer<QWidget> HARV1Form;
QPointer<QWidget> HARV2Form;
QPointer<QWidget> HARV3Form;

bool LoopRunning() { return Calculating || PlaybackRunning; }

void ClearPageRendered() { PageRendered.fill(false); }

}  // namespace app
