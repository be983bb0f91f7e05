#include "app/ui/command_states.h"

namespace app {

CommandStates ComputeCommandStates(const CommandInputs& in) {
  const bool M = in.modified, E = in.fileExists, S = in.sample, R = in.registered;
  const bool K = in.complete && !in.busy, F = in.reportPage, P = in.printer;
  const bool idle = !in.busy;
  CommandStates s;
  s.newFile = idle && in.currentScreen <= 1;
  s.open = idle && in.currentScreen <= 1;
  s.save = idle && M && E && !S;
  s.saveAs = idle && M && !S;
  s.report = idle && E && !M && K && R && F && P;
  s.calcMenu = idle && E && !M && K;
  s.dispMenu = idle && K && !M && R;
  s.hardCopy = idle && P;
  s.editScreen = idle;
  s.calcScreen = idle && K && !M;
  s.resultScreens = idle && K && !M && R;
  s.fileCombo = idle;
  s.sampleMark = S;
  return s;
}

}  // namespace app
