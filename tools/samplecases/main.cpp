// Writes the sample calculation files of the installed tree through the condition store's own
// readers and writers, in the order a user fills screen 1, and saves them as the program does
// (padded, sorted, header first). The header carries a fixed date so that a run reproduces the
// committed files byte for byte.
//
//   make_sample_cases <folder>     e.g. make_sample_cases data/tree/CAL/HVS
//
// The cases:
//   TEST_HVS.HVS         a detached house in 浜松市 at the station 浜松 (the program's default
//                        station), with sprinkling and two further uses varying by month.
//   SAMPLE_FACILITY.HVS  an office building in 浜松市中区 with toilet detail rows.
//
// The location block follows the station tables of the installed weather data: prefecture 22
// 静岡県 (area "SZ"), city number within the prefecture, station 浜松 = number 13 within the
// prefecture and row 507 of WCD\JPN_WPNT.DAT (AMeDAS 50456), which the simulation uses to
// find the station's daily records.
//
// Stored forms chosen here for the values whose form the screens decide:
//   2100 VV8 mask "002-----" (areas without decimals, runoff coefficient with two)
//   3100 VV8 mask "--------" (tank volumes in whole litres)
//   4100 VV8 mask "10101000", attribute 2 flush kind ("1" low tank, "2" flush valve),
//        attribute 3 toilet kind ("1" conventional, "2" water-saving)
//   4100 WW8 mask "--------"; 5100 VV8 mask "11------"
//   9101-9103 HH12: the twelve months, attribute 1 the rounded average as "%X"
//   4200 NSV6: facility use number and name, values 1 and 2 male and female users, mask "00------";
//        4200 VV8 sums and averages of the detail rows, mask "02100210", attributes the counts
//        of large, small and all rows
//   4201-4208 NSV4: toilet kind number and name, attributes kind (1 large, 2 small), sex
//        (1 male, 2 female), type (1 conventional, 2 water-saving); values users per day,
//        uses per person and day, litres per flush, litres per day; mask "1110"
#include <cstdio>
#include <filesystem>
#include <string>

#include "framework/appinit.h"
#include "framework/calc_store.h"
#include "framework/convert.h"
#include "platform/cp932.h"
#include "platform/path.h"

namespace {

using fw::CalcData;
using platform::J;

bool ok = true;

void Check(bool written, const char* what) {
  if (!written) {
    std::fprintf(stderr, "make_sample_cases: %s was not written\n", what);
    ok = false;
  }
}

std::string Hex(int64_t value) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(value));
  return buf;
}

void StartCase(const std::string& path) {
  fw::NewInputData(path, CalcData);
  fw::DateTime when;
  when.year = 2024;
  when.month = 4;
  when.day = 1;
  when.hour = 9;
  std::string header = fw::MakeDataHeader(path, when);
  header.resize(fw::kRecordWidth, ' ');
  CalcData[0] = header;
}

void Title(const char* utf8) {
  fw::ReadRecSS1(CalcData, 1000);
  fw::RecSS1.S[1] = J(utf8);
  Check(fw::WriteRecSS1(CalcData, 1000), "1000 SS1");
}

// Prefecture, city and station as screen 1 stores the three combo choices.
void Location(int pref, const char* prefName, int city, const char* cityName, int stationInPref,
              const char* stationName, int stationNo) {
  fw::ReadRecSS4(CalcData, 1100);
  fw::RecSS4.Attr[1] = std::to_string(pref);
  fw::RecSS4.S[1] = J(prefName);
  fw::RecSS4.Attr[2] = std::to_string(city);
  fw::RecSS4.S[2] = J(cityName);
  fw::RecSS4.Attr[3] = std::to_string(stationInPref);
  fw::RecSS4.S[3] = J(stationName);
  Check(fw::WriteRecSS4(CalcData, 1100), "1100 SS4");
  fw::ReadRecNN8(CalcData, 1100);
  fw::RecNN8.N[1] = pref;
  fw::RecNN8.N[2] = city;
  fw::RecNN8.N[3] = stationNo;
  Check(fw::WriteRecNN8(CalcData, 1100), "1100 NN8");
}

void Catchment(float roof, float catchment, float coefficient) {
  fw::ReadRecVV8(CalcData, 2100);
  fw::RecVV8.V[1] = roof;
  fw::RecVV8.V[2] = catchment;
  fw::RecVV8.V[3] = coefficient;
  Check(fw::WriteRecVV8(CalcData, 2100, "002-----"), "2100 VV8");
}

void Precipitation(float snowTemp, float ineffective) {
  fw::ReadRecVV8(CalcData, 5100);
  fw::RecVV8.V[1] = snowTemp;
  fw::RecVV8.V[2] = ineffective;
  Check(fw::WriteRecVV8(CalcData, 5100, "11------"), "5100 VV8");
}

void Storage(float basic) {
  static const float factors[8] = {0.25f, 0.5f, 1.0f, 1.5f, 2.0f, 3.0f, 4.0f, 5.0f};
  fw::ReadRecVV8(CalcData, 3100);
  for (size_t i = 0; i < 8; ++i) fw::RecVV8.V[i + 1] = basic * factors[i];
  Check(fw::WriteRecVV8(CalcData, 3100, "--------"), "3100 VV8");
}

void BuildingType(int type, const char* caption, const char* use1, const char* use2) {
  fw::ReadRecNS4(CalcData, 4100);
  fw::RecNS4.N[1] = type;
  fw::RecNS4.S[1] = J(caption);
  Check(fw::WriteRecNS4(CalcData, 4100), "4100 NS4");
  fw::ReadRecSS4(CalcData, 4100);
  fw::RecSS4.S[2] = J(use1);
  fw::RecSS4.S[3] = J(use2);
  Check(fw::WriteRecSS4(CalcData, 4100), "4100 SS4");
}

// Persons, households, large and small toilet uses and litres; value 8 the daily toilet use.
void Toilets(float persons, float households, float largeUses, float largeLitres, float smallUses,
             float smallLitres, const char* flushKind, const char* toiletKind) {
  fw::ReadRecVV8(CalcData, 4100);
  fw::RecVV8.Attr[2] = flushKind;
  fw::RecVV8.Attr[3] = toiletKind;
  fw::RecVV8.V[1] = persons;
  fw::RecVV8.V[2] = households;
  fw::RecVV8.V[3] = largeUses;
  fw::RecVV8.V[4] = largeLitres;
  fw::RecVV8.V[5] = smallUses;
  fw::RecVV8.V[6] = smallLitres;
  fw::RecVV8.V[8] = (largeUses * largeLitres + smallUses * smallLitres) * persons * households;
  Check(fw::WriteRecVV8(CalcData, 4100, "10101000"), "4100 VV8");
}

// Sprinkling and the two further uses: WW8 values 1-3 and their sum as value 8; one HH12 block
// per use that is not 0.
void FurtherUses(const int (&months)[3][12], const float (&constant)[3]) {
  fw::ReadRecWW8(CalcData, 4100);
  float sum = 0;
  for (size_t u = 0; u < 3; ++u) {
    fw::RecWW8.V[u + 1] = constant[u];
    sum += constant[u];
  }
  fw::RecWW8.V[8] = sum;
  Check(fw::WriteRecWW8(CalcData, 4100, "--------"), "4100 WW8");
  for (size_t u = 0; u < 3; ++u) {
    if (constant[u] == 0) continue;
    const int label = 9101 + static_cast<int>(u);
    fw::ReadRecHH12(CalcData, label);
    int64_t total = 0;
    for (size_t m = 0; m < 12; ++m) {
      fw::RecHH12.N[m + 1] = months[u][m];
      total += months[u][m];
    }
    fw::RecHH12.Attr[1] = Hex(fw::Round(static_cast<double>(total) / 12.0));
    Check(fw::WriteRecHH12(CalcData, label), "91xx HH12");
  }
}

struct DetailRow {
  int kind;  // 1 large, 2 small
  int sex;   // 1 male, 2 female
  int type;  // 1 conventional, 2 water-saving
  int kindNo;
  const char* kindName;
  float users, uses, litres;
};

void FacilityDetail(int useNo, const char* useName, float male, float female, const DetailRow* rows, int count) {
  fw::ReadRecNSV6(CalcData, 4200);
  fw::RecNSV6.N[1] = useNo;
  fw::RecNSV6.S[1] = J(useName);
  fw::RecNSV6.V[1] = male;
  fw::RecNSV6.V[2] = female;
  Check(fw::WriteRecNSV6(CalcData, 4200, "00------"), "4200 NSV6");

  float sumUsers[3] = {}, sumUses[3] = {}, sumLitres[3] = {}, sumDay[3] = {};
  int rowsOf[3] = {};
  for (int r = 0; r < count; ++r) {
    const DetailRow& row = rows[r];
    fw::ReadRecNSV4(CalcData, 4201 + r);
    fw::RecNSV4.Attr[1] = std::to_string(row.kind);
    fw::RecNSV4.Attr[2] = std::to_string(row.sex);
    fw::RecNSV4.Attr[3] = std::to_string(row.type);
    fw::RecNSV4.N[1] = row.kindNo;
    fw::RecNSV4.S[1] = J(row.kindName);
    fw::RecNSV4.V[1] = row.users;
    fw::RecNSV4.V[2] = row.uses;
    fw::RecNSV4.V[3] = row.litres;
    fw::RecNSV4.V[4] = row.users * row.uses * row.litres;
    Check(fw::WriteRecNSV4(CalcData, 4201 + r, "1110"), "42xx NSV4");
    sumUsers[row.kind] += row.users;
    sumUses[row.kind] += row.uses;
    sumLitres[row.kind] += row.litres;
    sumDay[row.kind] += fw::RecNSV4.V[4];
    ++rowsOf[row.kind];
  }
  fw::ReadRecVV8(CalcData, 4200);
  for (int k = 1; k <= 2; ++k) {
    const size_t base = k == 1 ? 0 : 4;
    const float n = rowsOf[k] > 0 ? static_cast<float>(rowsOf[k]) : 1.0f;
    fw::RecVV8.V[base + 1] = sumUsers[k];
    fw::RecVV8.V[base + 2] = sumUses[k] / n;
    fw::RecVV8.V[base + 3] = sumLitres[k] / n;
    fw::RecVV8.V[base + 4] = sumDay[k];
  }
  fw::RecVV8.Attr[1] = fw::FormatFixed(rowsOf[1], 0);
  fw::RecVV8.Attr[2] = fw::FormatFixed(rowsOf[2], 0);
  fw::RecVV8.Attr[3] = fw::FormatFixed(rowsOf[1] + rowsOf[2], 0);
  Check(fw::WriteRecVV8(CalcData, 4200, "02100210"), "4200 VV8");
}

void SaveCase(const std::string& path) {
  if (!fw::SaveInputData(path, CalcData)) {
    std::fprintf(stderr, "make_sample_cases: cannot save %s\n", platform::Cp932ToUtf8(path).c_str());
    ok = false;
    return;
  }
  std::printf("%s: %zu lines\n", platform::Cp932ToUtf8(path).c_str(), CalcData.size());
}

void DetachedHouse(const std::string& path) {
  StartCase(path);
  Title("サンプル：戸建住宅の雨水利用（静岡県浜松市）");
  Location(22, "静岡県", 5, "浜松市", 13, "浜松", 507);
  Catchment(120, 100, 0.9f);
  Precipitation(3.0f, 0.5f);
  Storage(1000);
  BuildingType(1, "戸建住宅", "洗車", "池補給");
  Toilets(4, 1, 1, 12, 3.8f, 5, "1", "1");
  const int months[3][12] = {{20, 20, 40, 60, 60, 80, 120, 120, 80, 60, 40, 20},
                             {20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20},
                             {10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10}};
  const float constant[3] = {60, 20, 10};
  FurtherUses(months, constant);
  SaveCase(path);
}

void OfficeBuilding(const std::string& path) {
  StartCase(path);
  Title("サンプル：事務所ビルの雨水利用（トイレ詳細入力）");
  Location(22, "静岡県", 6, "浜松市中区", 13, "浜松", 507);
  Catchment(800, 600, 0.85f);
  Precipitation(3.0f, 0.5f);
  Storage(20000);
  BuildingType(3, "施設", "その他１", "その他２");
  Toilets(100, 1, 0.3f, 13, 2.8f, 5, "2", "2");
  const int months[3][12] = {{200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200, 200}, {}, {}};
  const float constant[3] = {200, 0, 0};
  FurtherUses(months, constant);
  const DetailRow rows[] = {
      {1, 1, 2, 1, "大便器（洋式）", 120, 0.3f, 8},
      {1, 2, 2, 1, "大便器（洋式）", 80, 3.0f, 8},
      {2, 1, 2, 2, "小便器", 120, 2.8f, 4},
  };
  FacilityDetail(1, "事務所", 120, 80, rows, 3);
  SaveCase(path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sample_cases <folder>\n");
    return 2;
  }
  std::string folder = std::filesystem::absolute(argv[1]).string();
  if (!folder.empty() && folder.back() != '/') folder += '/';
  const auto house = platform::ToInsidePath(folder + "TEST_HVS.HVS");
  const auto office = platform::ToInsidePath(folder + "SAMPLE_FACILITY.HVS");
  if (!house || !office) {
    std::fprintf(stderr, "make_sample_cases: the folder name cannot be used\n");
    return 2;
  }
  fw::ProgramNameVersion = "HarvSim Ver.2.00";
  DetachedHouse(*house);
  OfficeBuilding(*office);
  return ok ? 0 : 1;
}
