#include "model/results/conditions.h"

#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "platform/cp932.h"

namespace app {

using platform::J;

double ToiletDailyUse() {
  fw::ReadRecNS4(fw::CalcData, 4100);
  if (fw::RecNS4.N[1] == 3 && fw::LabelExists(fw::CalcData, J("№4200")))
    return static_cast<double>(fw::GetVV8Value(fw::CalcData, 4200, 4)) + fw::GetVV8Value(fw::CalcData, 4200, 8);
  return fw::GetVV8Value(fw::CalcData, 4100, 8);
}

std::string FurtherUseName(int use) {
  if (use == 1) return J("散水");
  fw::ReadRecSS4(fw::CalcData, 4100);
  const std::string name = use == 2 || use == 3 ? fw::RecSS4.S[static_cast<size_t>(use)] : std::string();
  if (!name.empty()) return name;
  return use == 2 ? J("その他１") : J("その他２");
}

std::array<int64_t, 13> MonthlyFurtherUse() {
  std::array<int64_t, 13> months{};
  for (int use = 1; use <= 3; ++use) {
    fw::ReadRecHH12(fw::CalcData, 9100 + use);
    for (size_t m = 1; m <= 12; ++m) months[m] += fw::RecHH12.N[m];
  }
  return months;
}

}  // namespace app
