// Figures of the current case taken from the condition store (fw::CalcData) that more than one
// window shows: screen 1's usage section and input listing, and the printed report.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace app {

// Toilet use of the case in litres a day: for a facility with toilet detail rows the large and
// small totals of block 4200 (values 4 + 8), else block 4100 VV8 value 8.
double ToiletDailyUse();
// The name of use 1 to 3 of blocks 9101 to 9103: "散水" for sprinkling, the stored names of the
// two further uses (block 4100 SS4 names 2 and 3), "その他１" / "その他２" when a name is empty.
std::string FurtherUseName(int use);
// Month by month ([1..12]; [0] unused) the sum of sprinkling and the two further uses (blocks
// 9101 to 9103; an absent block counts 0), in litres a day.
std::array<int64_t, 13> MonthlyFurtherUse();

}  // namespace app
