// Screen 1: the commit path — range and cross checks, the store writes of every input code
// and the derived values.
#include <QRadioButton>
#include <algorithm>
#include <cmath>

#include "app/ui/screen1.h"
#include "app/ui/screen1_util.h"
#include "framework/calc_state.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/weather_stations.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/input_behaviour.h"

namespace app {

using namespace s1;
using fw::CalcData;
using fw::Input;

namespace {

std::string HexText(int64_t value) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(std::max<int64_t>(0, value)));
  return buf;
}

// The mean of the twelve months of RecHH12, rounded, into its attribute columns.
void SetMonthAverage() {
  int64_t total = 0;
  for (int m = 1; m <= 12; ++m) total += fw::RecHH12.N[m];
  const int64_t mean = fw::Round(static_cast<double>(total) / 12.0);
  fw::SplitKey12(HexText(mean), fw::RecHH12.Attr[1], fw::RecHH12.Attr[2], fw::RecHH12.Attr[3]);
}

// The section a code belongs to, for the redisplay after its commit.
int SectionOf(int code) { return code / 100; }

}  // namespace

// ---- Commit -----------------------------------------------------------------------------------

void THARV1Form::CommitInput() {
  if (Input.InputCommitted || committing_) return;
  Input.InputCommitted = true;
  committing_ = true;
  const int code = Input.InputCode;
  const int section = SectionOf(code);
  const fw::StringList before = CalcData;

  refusal_ = Refusal{};
  bool stored = CheckInputRange() && StoreInput(code);
  if (!stored) {
    // Nothing is kept: the store as it was, the control shows the stored value again.
    CalcData = before;
    fw::ResetEditState();
  } else {
    if (CalcData != before) fw::DataState.Modified = 1;
    CheckInputComplete(false);
    MainWindowRefresh();
  }
  if (code == 2101) ShowSection(51);
  if (code == 3101 || section == 42 || section == 43 || section == 91) ShowSection(41);
  ShowSection(section);
  UpdateControls();
  // The refused value's message comes once the control shows its old text again.
  const Refusal refusal = refusal_;
  refusal_ = Refusal{};
  ShowRefusal(refusal);
  committing_ = false;
}

void THARV1Form::Refuse(const std::string& text, bool dialog) {
  if (committing_) {
    if (refusal_.text.empty()) refusal_ = Refusal{text, dialog};
    return;
  }
  ShowRefusal(Refusal{text, dialog});
}

void THARV1Form::ShowRefusal(const Refusal& refusal) {
  if (refusal.text.empty()) return;
  if (refusal.dialog)
    fw::MsgDialog(refusal.text, 1, 1);
  else
    fw::ShowErrorStatus(refusal.text);
}

void THARV1Form::RangeError(int code, double low, double high, int decimals) {
  // Whole bounds without decimals ("0 ～ 322.5").
  auto bound = [decimals](double x) { return fw::FormatFloatN(0, x == std::floor(x) ? 0 : decimals, x); };
  Refuse(J("＜") + ItemName(code) + J("＞の入力範囲は ") + bound(low) + J(" ～ ") + bound(high) + J(" です。"), false);
}

double THARV1Form::UsageFieldLimit(int field, double nominal) const {
  fw::ReadRecVV8(CalcData, kUsage);
  std::array<float, 13> v = fw::RecVV8.V;
  v[static_cast<size_t>(field)] = 0;
  const double base = ToiletDailyUse(v);
  v[static_cast<size_t>(field)] = 1;
  const double slope = ToiletDailyUse(v) - base;
  if (slope <= 0) return nominal;
  const int decimals = (field == 2) ? 0 : 1;
  const double scale = std::pow(10.0, decimals);
  const double limit = std::floor((kCellLimit - base) / slope * scale) / scale;
  return std::clamp(limit, 0.0, nominal);
}

bool THARV1Form::CheckInputRange() {
  const int code = Input.InputCode;
  // A blank text is not checked (it stores 0).
  if (fw::TrimBoth(Input.InputText).empty()) return true;
  const double v = Input.InputValue;
  auto floatRange = [&](double low, double high, int decimals) {
    if (fw::InRangeFloat(v, low, high)) return true;
    RangeError(code, low, high, decimals);
    return false;
  };
  auto intRange = [&](int64_t low, int64_t high) {
    if (fw::InRangeInt(Input.InputIntValue, low, high)) return true;
    RangeError(code, static_cast<double>(low), static_cast<double>(high), 0);
    return false;
  };
  switch (code) {
    case 2101: {
      if (!floatRange(0, 10000, 0)) return false;
      if (v < fw::GetVV8Value(CalcData, kCatchment, 2)) {
        Refuse(J("〔全屋根面積〕が〔集水面積〕を下回ります。"), true);
        return false;
      }
      return true;
    }
    case 2102: {
      if (!floatRange(0, 10000, 0)) return false;
      if (v > fw::GetVV8Value(CalcData, kCatchment, 1)) {
        Refuse(J("〔集水面積〕が〔全屋根面積〕を越えています。"), true);
        return false;
      }
      return true;
    }
    case 2103:
      return floatRange(0, 1, 0);
    case 3101:
      return intRange(0, 9999999);
    case 4101:
      return floatRange(0, UsageFieldLimit(1, 99999), 1);
    case 4102:
      return floatRange(0, UsageFieldLimit(2, 99999), 0);
    case 4103:
    case 4104:
    case 4105:
    case 4106: {
      const double limit = UsageFieldLimit(code - kUsage, 50);
      return floatRange(0, limit, limit == 50 ? 0 : 1);
    }
    case 4107:
    case 4108:
    case 4109:
      return intRange(0, 999999);
    case 4211:
    case 4212:
      return intRange(0, 99999);
    case 4300:
      return floatRange(0, 10000, 0);
    case 4301:
    case 4302:
      return floatRange(0, 50, 0);
    case 5101:
    case 5102:
      return floatRange(0, 10, 0);
    case 9101:
    case 9102:
    case 9103:
      return intRange(0, 999999);
    default:
      return true;
  }
}

// ---- Store writes -----------------------------------------------------------------------------

bool THARV1Form::StoreInput(int code) {
  const double v = Input.InputValue;
  switch (SectionOf(code)) {
    case 10:
      fw::ReadRecSS1(CalcData, kTitle);
      fw::RecSS1.S[1] = Input.InputText;
      return fw::WriteRecSS1(CalcData, kTitle);
    case 11:
      return StoreLocation(code);
    case 21: {
      fw::ReadRecVV8(CalcData, kCatchment);
      const bool first = code == 2101 && fw::RecVV8.V[2] == 0;
      fw::RecVV8.V[static_cast<size_t>(code - kCatchment)] = static_cast<float>(v);
      if (first) {
        // The first roof area also proposes the catchment, the runoff coefficient and the
        // precipitation parameters.
        fw::RecVV8.V[2] = static_cast<float>(v);
        fw::RecVV8.V[3] = 0.9f;
      }
      if (!fw::WriteRecVV8(CalcData, kCatchment, kMaskCatchment)) return false;
      if (!first) return true;
      fw::ReadRecVV8(CalcData, kPrecipitation);
      if (fw::RecVV8.V[1] == 0) fw::RecVV8.V[1] = 3.0f;
      if (fw::RecVV8.V[2] == 0) fw::RecVV8.V[2] = 0.5f;
      return fw::WriteRecVV8(CalcData, kPrecipitation, kMaskPrecipitation);
    }
    case 31: {
      static const float factors[8] = {0.25f, 0.5f, 1.0f, 1.5f, 2.0f, 3.0f, 4.0f, 5.0f};
      fw::ReadRecVV8(CalcData, kStorage);
      for (size_t i = 0; i < 8; ++i) fw::RecVV8.V[i + 1] = static_cast<float>(Input.InputIntValue) * factors[i];
      return fw::WriteRecVV8(CalcData, kStorage, kMaskStorage);
    }
    case 41:
      return StoreUsageValue(code);
    case 42:
    case 43:
      return StoreDetail(code);
    case 51:
      fw::ReadRecVV8(CalcData, kPrecipitation);
      fw::RecVV8.V[static_cast<size_t>(code - kPrecipitation)] = static_cast<float>(v);
      return fw::WriteRecVV8(CalcData, kPrecipitation, kMaskPrecipitation);
    case 91:
      return StoreMonth(code);
    default:
      return true;
  }
}

bool THARV1Form::StoreLocationNumbers() {
  fw::ReadRecNN8(CalcData, kLocation);
  fw::RecNN8.N[1] = fw::TextToInt(CBOX1_1->Text());
  fw::RecNN8.N[2] = fw::TextToInt(CBOX1_2->Text());
  fw::RecNN8.N[3] = fw::TextToInt(CBOX1_3->Text());
  return fw::WriteRecNN8(CalcData, kLocation);
}

bool THARV1Form::StoreLocation(int code) {
  const int number = Input.SelectedNo;
  const std::string numberText = number > 0 ? std::to_string(number) : std::string();
  fw::ReadRecSS4(CalcData, kLocation);
  fw::TRecordKindBuffer& r = fw::RecSS4;
  switch (code) {
    case 1101:
      r.Attr[1] = numberText;
      r.S[1] = Input.InputText;
      r.Attr[2].clear();
      r.S[2].clear();
      r.Attr[3].clear();
      r.S[3].clear();
      FillCityAndStationLists(number);
      break;
    case 1102: {
      r.Attr[2] = numberText;
      r.S[2] = Input.InputText;
      r.Attr[3].clear();
      r.S[3].clear();
      CBOX1_3->SetItemIndex(-1);
      // The city's weather station is taken at once.
      const int prefecture = static_cast<int>(fw::TextToInt(CBOX1_1->Text()));
      int station = 0;
      std::string name;
      const fw::TRecordKindBuffer kept = fw::RecSS4;
      if (number > 0 && fw::LoadStationRecords(prefecture, number, station, name) && station >= firstStation_ &&
          firstStation_ > 0 && station - firstStation_ < CBOX1_3->count()) {
        fw::RecSS4 = kept;
        fw::RecSS4.Attr[3] = std::to_string(station - firstStation_ + 1);
        fw::RecSS4.S[3] = name;
        CBOX1_3->SetItemIndex(station - firstStation_);
      } else {
        fw::RecSS4 = kept;
      }
      break;
    }
    case 1103:
      r.Attr[3] = numberText;
      r.S[3] = Input.InputText;
      break;
    default:
      return true;
  }
  if (!fw::WriteRecSS4(CalcData, kLocation)) return false;
  return StoreLocationNumbers();
}

bool THARV1Form::WriteUsageRecord() {
  fw::RecVV8.V[8] = static_cast<float>(ToiletDailyUse(fw::RecVV8.V));
  return fw::WriteRecVV8(CalcData, kUsage, kMaskUsage);
}

bool THARV1Form::StoreUsageValue(int code) {
  const double v = Input.InputValue;
  if (code == kUsage) {
    // Building type: a change asks first; a house or an apartment has no toilet detail.
    const int type = Input.InputIntValue;
    fw::ReadRecNS4(CalcData, kUsage);
    const int old = static_cast<int>(fw::RecNS4.N[1]);
    if (old == type) return true;
    const std::string caption = Input.InputText;
    if (old != 0) {
      fw::MsgDialog(J("〔") + caption + J("〕に変更しますか？"), 2, 2);
      if (!fw::DialogYes) return false;
      fw::ReadRecNS4(CalcData, kUsage);
    }
    fw::RecNS4.N[1] = type;
    fw::RecNS4.S[1] = caption;
    if (!fw::WriteRecNS4(CalcData, kUsage)) return false;
    if (type < 3) {
      fw::FilterLines(CalcData, J("№42"));
      PNL_A->hide();
    }
    return ApplyBuildingDefaults(false);
  }
  if (code >= 4101 && code <= 4106) {
    fw::ReadRecVV8(CalcData, kUsage);
    fw::RecVV8.V[static_cast<size_t>(code - kUsage)] = static_cast<float>(v);
    return WriteUsageRecord();
  }
  if (code >= 4107 && code <= 4109) return StoreFurtherUse(code - 4106, Input.InputIntValue);
  if (code == 4111 || code == 4112) {
    fw::ReadRecSS4(CalcData, kUsage);
    fw::RecSS4.S[static_cast<size_t>(code - 4109)] = fw::TrimBoth(Input.InputText);
    if (fw::RecSS4.S[2].empty()) fw::RecSS4.S[2] = J("その他１");
    if (fw::RecSS4.S[3].empty()) fw::RecSS4.S[3] = J("その他２");
    return fw::WriteRecSS4(CalcData, kUsage);
  }
  if (code == 4121 || code == 4122 || code == 4131 || code == 4132) {
    // Flush kind and toilet kind: the litres per large flush follow them; a pair not yet
    // chosen takes low tank or conventional.
    fw::ReadRecVV8(CalcData, kUsage);
    const std::string choice = (code % 10 == 1) ? "1" : "2";
    fw::RecVV8.Attr[code < 4130 ? 2 : 3] = choice;
    if (fw::RecVV8.Attr[2].empty()) fw::RecVV8.Attr[2] = "1";
    if (fw::RecVV8.Attr[3].empty()) fw::RecVV8.Attr[3] = "1";
    fw::RecVV8.V[4] = static_cast<float>(LargeFlushLitres(fw::RecVV8.Attr[2], fw::RecVV8.Attr[3]));
    return WriteUsageRecord();
  }
  return true;
}

bool THARV1Form::StoreFurtherUse(int use, int value) {
  fw::ReadRecWW8(CalcData, kUsage);
  fw::RecWW8.V[static_cast<size_t>(use)] = static_cast<float>(value);
  fw::RecWW8.V[8] = fw::RecWW8.V[1] + fw::RecWW8.V[2] + fw::RecWW8.V[3];
  if (!fw::WriteRecWW8(CalcData, kUsage, kMaskFurther)) return false;
  const int label = kMonths + use;
  fw::ReadRecHH12(CalcData, label);
  if (value == 0) {
    // A use of 0 has no months.
    if (fw::LineFound) fw::DeleteLabelLine(CalcData, label);
  } else {
    for (int m = 1; m <= 12; ++m) fw::RecHH12.N[m] = value;
    SetMonthAverage();
    if (!fw::WriteRecHH12(CalcData, label)) return false;
  }
  if (use >= 2) {
    fw::ReadRecSS4(CalcData, kUsage);
    if (fw::RecSS4.S[2].empty()) fw::RecSS4.S[2] = J("その他１");
    if (fw::RecSS4.S[3].empty()) fw::RecSS4.S[3] = J("その他２");
    return fw::WriteRecSS4(CalcData, kUsage);
  }
  return true;
}

bool THARV1Form::StoreMonth(int code) {
  const int label = code;
  const int month = Input.GridCol;
  if (month < 1 || month > 12) return false;
  fw::ReadRecHH12(CalcData, label);
  if (!fw::LineFound) return false;
  fw::RecHH12.N[month] = Input.InputIntValue;
  SetMonthAverage();
  return fw::WriteRecHH12(CalcData, label);
}

// ---- Toilet detail ----------------------------------------------------------------------------

bool THARV1Form::DetailRowExists(int row) const {
  return row >= 1 && row <= kDetailRows && fw::LabelExists(CalcData, LabelKey(kDetail + row, "<NSV4>"));
}

int THARV1Form::DetailRowCount() const {
  int count = 0;
  while (count < kDetailRows && DetailRowExists(count + 1)) ++count;
  return count;
}

double THARV1Form::UsesPerDay(int use, int kind, int sex) const {
  if (use < 1 || use > static_cast<int>(uses_.size()) || kind < 1 || kind > 2 || sex < 1 || sex > 2) return 0;
  return uses_[static_cast<size_t>(use - 1)].uses[static_cast<size_t>((sex - 1) * 2 + (kind - 1))];
}

double THARV1Form::LitresPerFlush(int fixture, int type) const {
  if (fixture < 1 || fixture > static_cast<int>(kinds_.size()) || type < 1 || type > 2) return 0;
  return kinds_[static_cast<size_t>(fixture - 1)].litres[static_cast<size_t>(type - 1)];
}

bool THARV1Form::StoreDetail(int code) {
  const double v = Input.InputValue;
  const int row = Input.GridRow;
  if (code == kDetail) {
    // The facility use: a change with detail rows removes them (after asking).
    const int use = Input.SelectedNo;
    if (use < 1) return false;
    fw::ReadRecNSV6(CalcData, kDetail);
    const bool existed = fw::LineFound;
    const int old = static_cast<int>(fw::RecNSV6.N[1]);
    if (existed && old == use) return true;
    if (DetailRowCount() > 0) {
      fw::MsgDialog(J("用途が変更になったので、トイレの詳細入力データを削除してもいいですか？"), 2, 2);
      if (!fw::DialogYes) return false;
      for (int r = 1; r <= kDetailRows; ++r) {
        fw::ReadRecNSV4(CalcData, kDetail + r);
        if (fw::LineFound) fw::DeleteLabelLine(CalcData, kDetail + r);
      }
    }
    fw::ReadRecNSV6(CalcData, kDetail);
    fw::RecNSV6.N[1] = use;
    fw::RecNSV6.S[1] = Input.InputText;
    if (!fw::WriteRecNSV6(CalcData, kDetail, kMaskDetailHead)) return false;
    return RecalcToiletDetail(true);
  }
  if (code == 4211 || code == 4212) {
    fw::ReadRecNSV6(CalcData, kDetail);
    fw::RecNSV6.V[static_cast<size_t>(code - 4210)] = static_cast<float>(Input.InputIntValue);
    if (!fw::WriteRecNSV6(CalcData, kDetail, kMaskDetailHead)) return false;
    return RecalcToiletDetail(true);
  }
  if (code >= 4201 && code <= 4203) {
    if (row < 1 || row > kDetailRows || (row > 1 && !DetailRowExists(row - 1))) return false;
    const int label = kDetail + row;
    const int choice = Input.SelectedNo;
    if (code == 4201) {
      if (choice < 1 || choice > static_cast<int>(kinds_.size())) return false;
      fw::ReadRecNSV4(CalcData, label);
      const ToiletKindRow& kind = kinds_[static_cast<size_t>(choice - 1)];
      fw::RecNSV4.Attr[1] = std::to_string(kind.kind);
      fw::RecNSV4.N[1] = choice;
      fw::RecNSV4.S[1] = kind.name;
    } else {
      if (!DetailRowExists(row) || choice < 1 || choice > 2) return false;
      fw::ReadRecNSV4(CalcData, label);
      fw::RecNSV4.Attr[static_cast<size_t>(code - kDetail)] = std::to_string(choice);
    }
    if (!fw::WriteRecNSV4(CalcData, label, kMaskDetailRow)) return false;
    return RecalcToiletDetail(true);
  }
  if (code >= 4300 && code <= 4302) {
    if (!DetailRowExists(row)) return false;
    fw::ReadRecNSV4(CalcData, kDetail + row);
    fw::RecNSV4.V[static_cast<size_t>(code - 4299)] = static_cast<float>(v);
    if (!fw::WriteRecNSV4(CalcData, kDetail + row, kMaskDetailRow)) return false;
    return RecalcToiletDetail(false);
  }
  return true;
}

bool THARV1Form::RecalcToiletDetail(bool fromDetail) {
  fw::ReadRecNSV6(CalcData, kDetail);
  const int use = static_cast<int>(fw::RecNSV6.N[1]);
  const double users[3] = {0, fw::RecNSV6.V[1], fw::RecNSV6.V[2]};
  double sumUsers[3] = {}, sumUses[3] = {}, sumLitres[3] = {}, sumDay[3] = {};
  int rows[3] = {};
  for (int r = 1; r <= kDetailRows; ++r) {
    const int label = kDetail + r;
    fw::ReadRecNSV4(CalcData, label);
    if (!fw::LineFound) continue;
    fw::TRecordKindBuffer& b = fw::RecNSV4;
    const int kind = b.AttrNo[1], sex = b.AttrNo[2], type = b.AttrNo[3];
    if (kind < 1 || kind > 2 || sex < 1 || sex > 2 || type < 1 || type > 2) continue;
    if (fromDetail) {
      b.V[1] = static_cast<float>(users[sex]);
      b.V[2] = static_cast<float>(UsesPerDay(use, kind, sex));
      b.V[3] = static_cast<float>(LitresPerFlush(static_cast<int>(b.N[1]), type));
    }
    b.V[4] = b.V[1] * b.V[2] * b.V[3];
    if (!fw::WriteRecNSV4(CalcData, label, kMaskDetailRow)) return false;
    sumUsers[kind] += fw::RecNSV4.V[1];
    sumUses[kind] += fw::RecNSV4.V[2];
    sumLitres[kind] += fw::RecNSV4.V[3];
    sumDay[kind] += fw::RecNSV4.V[4];
    ++rows[kind];
  }
  fw::ReadRecVV8(CalcData, kDetail);
  for (int kind = 1; kind <= 2; ++kind) {
    const size_t base = kind == 1 ? 0 : 4;
    const double n = rows[kind] > 0 ? rows[kind] : 1;
    fw::RecVV8.V[base + 1] = static_cast<float>(sumUsers[kind]);
    fw::RecVV8.V[base + 2] = static_cast<float>(sumUses[kind] / n);
    fw::RecVV8.V[base + 3] = static_cast<float>(sumLitres[kind] / n);
    fw::RecVV8.V[base + 4] = static_cast<float>(sumDay[kind]);
  }
  fw::RecVV8.Attr[1] = fw::FormatFixed(rows[1], 0);
  fw::RecVV8.Attr[2] = fw::FormatFixed(rows[2], 0);
  fw::RecVV8.Attr[3] = fw::FormatFixed(rows[1] + rows[2], 0);
  return fw::WriteRecVV8(CalcData, kDetail, kMaskDetailTotals);
}

// ---- Defaults of the building type ------------------------------------------------------------

bool THARV1Form::ApplyBuildingDefaults(bool ask) {
  fw::ReadRecNS4(CalcData, kUsage);
  const int type = static_cast<int>(fw::RecNS4.N[1]);
  const std::string caption = fw::RecNS4.S[1];
  if (type < 1 || type > 3) return true;
  fw::ReadRecVV8(CalcData, kUsage);
  std::string flush = fw::RecVV8.Attr[2].empty() ? std::string("1") : fw::RecVV8.Attr[2];
  std::string toilet = fw::RecVV8.Attr[3].empty() ? std::string("1") : fw::RecVV8.Attr[3];
  const BuildingDefaults d = DefaultsOfType(type);
  const double largeLitres = LargeFlushLitres(flush, toilet);

  std::string text = J("【各種建物における大小便器の使用頻度(回/人)】空調便覧") + "\r";
  for (const ToiletUseRow& u : uses_)
    text += J("　") + PadRight(u.name, 14) + J("男子 大") + Fixed(5, 1, u.uses[0]) + J(" 小") + Fixed(5, 1, u.uses[1]) +
            J("　女子") + Fixed(5, 1, u.uses[2]) + "\r";
  text += "\r" + J("【大小トイレの水使用量(ﾘｯﾄﾙ/回)】") + "\r";
  for (const ToiletKindRow& k : kinds_)
    text += J("　") + PadRight(k.name, 24) + J("従来型") + Fixed(5, 1, k.litres[0]) + J("　節水型") +
            Fixed(5, 1, k.litres[1]) + "\r";
  const bool facility = type == 3;
  text += "\r" + J("現在の建物種別 ＜") + caption + J("＞のデフォルト値") + "\r";
  text += (facility ? J("　　利用者人数　　 ") : J("　　世帯人数　　　 ")) + Fixed(5, 1, d.persons) + J(" (人)") + "\r";
  text += (facility ? J("　　棟数　　　　　 ") : J("　　世帯数　　　　 ")) + Fixed(5, 0, d.households) + "\r";
  text += J("　　大便器の使用頻度 ") + Fixed(4, 1, d.largeUses) + J(" (回/人)") + "\r";
  text += J("　　大便器の水使用量 ") + Fixed(4, 1, largeLitres) + J(" (ﾘｯﾄﾙ/回)") + "\r";
  text += J("　　小便器の使用頻度 ") + Fixed(4, 1, d.smallUses) + J(" (回/人)") + "\r";
  text += J("　　小便器の水使用量 ") + Fixed(4, 1, d.smallLitres) + J(" (ﾘｯﾄﾙ/回)") + "\r\r";
  text += ask ? J("上記のデフォルト値に設定しますか？") : J("上記のデフォルト値に設定します。");
  fw::MsgDialog(text, ask ? 2 : 1, ask ? 2 : 1);
  if (ask && !fw::DialogYes) return false;

  fw::ReadRecVV8(CalcData, kUsage);
  fw::RecVV8.Attr[2] = flush;
  fw::RecVV8.Attr[3] = toilet;
  fw::RecVV8.V[1] = static_cast<float>(d.persons);
  fw::RecVV8.V[2] = static_cast<float>(d.households);
  fw::RecVV8.V[3] = static_cast<float>(d.largeUses);
  fw::RecVV8.V[4] = static_cast<float>(largeLitres);
  fw::RecVV8.V[5] = static_cast<float>(d.smallUses);
  fw::RecVV8.V[6] = static_cast<float>(d.smallLitres);
  return WriteUsageRecord();
}

}  // namespace app
