// The daily weather files read by a whole simulation run: either the input as it stands
// (temperature and precipitation files cut from it, the station from its first byte), or its
// bytes as the day values of records whose year fields are right, so that the run goes on
// into the balance and writes every result file.
// fuzz-options: -max_len=24000
#include <algorithm>

#include "model/sim/run_state.h"
#include "model/sim/simulation.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "support.h"

namespace {

void MakeCase(int station) {
  fw::CalcData.assign(1, std::string(fw::kRecordWidth, ' '));
  fw::ResetRecordKind("SS1");
  fw::RecSS1.S[1] = "fuzz";
  fw::WriteRecSS1(fw::CalcData, 1000);
  fw::ResetRecordKind("NN8");
  fw::RecNN8.N[3] = station;
  fw::WriteRecNN8(fw::CalcData, 1100);
  fw::ResetRecordKind("VV8");
  fw::RecVV8.V[1] = 120;
  fw::RecVV8.V[2] = 100;
  fw::RecVV8.V[3] = 0.9f;
  fw::WriteRecVV8(fw::CalcData, 2100, "112-----");
  static constexpr float kTanks[8] = {250, 500, 1000, 1500, 2000, 3000, 4000, 5000};
  fw::ResetRecordKind("VV8");
  for (int i = 1; i <= 8; ++i) fw::RecVV8.V[i] = kTanks[i - 1];
  fw::WriteRecVV8(fw::CalcData, 3100, "11111111");
  fw::ResetRecordKind("VV8");
  fw::RecVV8.V[8] = 200;
  fw::WriteRecVV8(fw::CalcData, 4100, "-------1");
  fw::ResetRecordKind("VV8");
  fw::RecVV8.V[1] = 3;
  fw::RecVV8.V[2] = 0.5f;
  fw::WriteRecVV8(fw::CalcData, 5100, "11------");
}

void PutInt16(std::string& out, int v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

// One station's fifteen records with the right years, day values taken from `bytes` in turn.
std::string Records(std::string_view bytes, size_t& at) {
  std::string out;
  for (int y = app::kFirstYear; y <= app::kLastYear; ++y) {
    PutInt16(out, 1);
    PutInt16(out, 0);
    PutInt16(out, y);
    for (int d = 0; d < app::kDaySlots; ++d) {
      int v = 0;
      if (bytes.size() >= 2) {
        v = static_cast<unsigned char>(bytes[at % bytes.size()]) | (static_cast<unsigned char>(bytes[(at + 1) % bytes.size()]) << 8);
        at += 2;
      }
      PutInt16(out, v);
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzsupport::InstallQuietUi();
  if (size < 1) return 0;
  const std::string_view rest = fuzzsupport::Bytes(data + 1, size - 1);
  std::string temperature, precipitation;
  int station = 1;
  if (data[0] & 0x80) {
    station = data[0] & 0x03;  // 0 .. 3: a station outside the files as well
    const size_t half = rest.size() / 2;
    temperature = std::string(rest.substr(0, half));
    precipitation = std::string(rest.substr(half));
  } else {
    size_t at = 0;
    temperature = Records(rest, at);
    precipitation = Records(rest, at);
  }
  const std::string& folder = fuzzsupport::ScratchFolder();
  fuzzsupport::WriteScratchFile(app::TemperatureFileName(), temperature);
  fuzzsupport::WriteScratchFile(app::PrecipitationFileName(), precipitation);
  MakeCase(station);
  fw::CalDir = folder;
  app::CalcFilePath = folder + "CASE.HVS";
  fw::ResultDir = folder + "RESULT\\";
  app::ResultPrefix = fw::ResultDir + app::ResultFilePrefixName();
  static app::Simulation* sim = new app::Simulation();
  sim->PauseEachYear = false;
  sim->LoadConditions();
  sim->RunSimulation();
  return 0;
}
