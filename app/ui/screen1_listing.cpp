// Screen 1: the input listing and its printing, the "共通" file name, and the explanation
// buttons.
#include <QCheckBox>

#include "model/sim/run_state.h"
#include "model/results/conditions.h"
#include "app/ui/main_window.h"
#include "app/ui/program_state.h"
#include "app/ui/screen1.h"
#include "app/ui/screen1_util.h"
#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/file_names.h"
#include "framework/messages.h"
#include "framework/printing.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/input_behaviour.h"
#include "platform/files.h"

namespace app {

using namespace s1;
using fw::CalcData;

// ---- Input listing ----------------------------------------------------------------------------

std::vector<std::string> THARV1Form::InputListing() const {
  std::vector<std::string> out;
  const std::string blank = " ";
  auto n = [](int width, int decimals, double x) { return fw::FormatFloatN(width, decimals, x); };

  fw::ReadRecSS1(CalcData, kTitle);
  out.push_back(J("【") + fw::ProgramTitle + J("】入力データ"));
  out.push_back(blank);
  out.push_back(J("　表題　　　　") + fw::RecSS1.S[1]);
  out.push_back(blank);

  fw::ReadRecSS4(CalcData, kLocation);
  const fw::TRecordKindBuffer site = fw::RecSS4;
  out.push_back(J("＜所在データ＞"));
  out.push_back(J("　設置場所  　都道府県名：") + PadRight(site.S[1], 8) + J("    市町村名：") + site.S[2]);
  out.push_back(J("　気象データ  観測地点名：") + site.S[3]);
  out.push_back(blank);

  fw::ReadRecVV8(CalcData, kCatchment);
  const std::array<float, 13> c = fw::RecVV8.V;
  out.push_back(J("＜集水データ＞"));
  out.push_back(J("　全屋根面積  ") + n(8, 1, c[1]) + J(" ㎡   （水平投影面積）"));
  out.push_back(J("　集水面積    ") + n(8, 1, c[2]) + J(" ㎡   （水平投影面積）"));
  out.push_back(J("　流出係数    ") + Fixed(8, 2, c[3]) + J("      （屋根面は0.85～0.95）"));
  out.push_back(blank);

  fw::ReadRecVV8(CalcData, kPrecipitation);
  const std::array<float, 13> p = fw::RecVV8.V;
  out.push_back(J("＜降水データ＞"));
  out.push_back(J("　降雪判定　　") + Fixed(5, 1, p[1]) + J(" ℃以下（気温2～3℃で雪）"));
  out.push_back(J("　無効降水量　") + Fixed(5, 1, p[2]) + J(" mm以下（初期降水カット）"));
  out.push_back(blank);

  fw::ReadRecNS4(CalcData, kUsage);
  const int type = static_cast<int>(fw::RecNS4.N[1]);
  const std::string typeName = fw::RecNS4.S[1];
  fw::ReadRecVV8(CalcData, kUsage);
  const fw::TRecordKindBuffer u = fw::RecVV8;
  fw::ReadRecWW8(CalcData, kUsage);
  const std::array<float, 13> w = fw::RecWW8.V;
  out.push_back(J("＜利用データ＞"));
  out.push_back(J("　建物種別　　") + typeName);
  if (type == 3)
    out.push_back(J("　利用者人数　") + Fixed(7, 1, u.V[1]) + J(" 人   棟数  ") + Fixed(5, 0, u.V[2]) + J(" 棟"));
  else
    out.push_back(J("　世帯人数　") + Fixed(7, 1, u.V[1]) + J(" 人   世帯数  ") + Fixed(5, 0, u.V[2]) + J(" 世帯"));
  out.push_back(J("　雨水利用　　トイレ(大)：頻度 ") + Fixed(5, 2, u.V[3]) + J(" 回/(日･人) 　水使用量 ") +
                Fixed(4, 1, u.V[4]) + J(" ﾘｯﾄﾙ/回"));
  out.push_back(J("　　　　　　　トイレ(小)：頻度 ") + Fixed(5, 2, u.V[5]) + J(" 回/(日･人) 　水使用量 ") +
                Fixed(4, 1, u.V[6]) + J(" ﾘｯﾄﾙ/回"));
  const std::string flush = u.Attr[2] == "1" ? J("ﾛｰﾀﾝｸ") : u.Attr[2] == "2" ? J("洗浄弁") : std::string();
  const std::string kind = u.Attr[3] == "1" ? J("従来型") : u.Attr[3] == "2" ? J("節水型") : std::string();
  out.push_back(J("　　　　　　　トイレ(大)の種類　") + flush + " " + kind);
  const double toilet = ToiletUse();
  out.push_back(J("　　　　　　　トイレの雨水利用量　　") + n(8, 0, toilet) + J(" ﾘｯﾄﾙ/日"));
  for (int use = 1; use <= 3; ++use)
    out.push_back(J("　　　　　　　") + PadRight(UseName(use), 8) + J("の雨水利用量　") + n(8, 0, w[static_cast<size_t>(use)]) +
                  J(" ﾘｯﾄﾙ/日"));
  out.push_back(J("　　　　　　　全体の雨水利用量　　　") + n(8, 0, toilet + w[8]) + J(" ﾘｯﾄﾙ/日　（合計）"));
  const std::array<int64_t, 13> months = MonthlyFurtherUse();
  int64_t year = 0;
  for (size_t m = 1; m <= 12; ++m) year += months[m];
  out.push_back(J("　　　　　　　トイレ以外の季節変動　") + fw::IntToStrWidth(8, fw::Round(static_cast<double>(year) / 12.0)) +
                J(" ﾘｯﾄﾙ/日　（平均）"));
  static const char* const kMonthNames[13] = {"",    "１月", "２月", "３月", "４月", "５月", "６月",
                                              "７月", "８月", "９月", "10月", "11月", "12月"};
  for (int half = 0; half < 2; ++half) {
    std::string line = J("　　　　　　　　");
    for (int m = 1 + 6 * half; m <= 6 + 6 * half; ++m)
      line += (m == 1 + 6 * half ? std::string() : std::string(" ")) + J(kMonthNames[m]) + fw::IntToStrWidth(6, months[m]);
    out.push_back(line);
  }
  out.push_back(blank);

  out.push_back(J("＜貯水データ＞"));
  out.push_back(J("　基本貯水容量 ") + n(8, 1, fw::GetVV8Value(CalcData, kStorage, 3)) +
                J(" リットル/(基本単位) （1,000㍑=1m3）"));

  if (fw::LabelExists(CalcData, LabelKey(kDetail))) {
    fw::ReadRecNSV6(CalcData, kDetail);
    const fw::TRecordKindBuffer head = fw::RecNSV6;
    out.push_back(blank);
    out.push_back(J("※トイレ詳細（施設のみ）"));
    out.push_back(J("　施設用途　　") + head.S[1]);
    out.push_back(J("　利用者人数　(男)") + n(7, 0, head.V[1]) + J(" 人  (女)") + n(7, 0, head.V[2]) + J(" 人  (合計)") +
                  n(7, 0, static_cast<double>(head.V[1]) + head.V[2]) + J(" 人"));
    for (int r = 1; r <= kDetailRows; ++r) {
      fw::ReadRecNSV4(CalcData, kDetail + r);
      if (!fw::LineFound) continue;
      const fw::TRecordKindBuffer b = fw::RecNSV4;
      const std::string sex = b.AttrNo[2] == 1 ? J("男性") : b.AttrNo[2] == 2 ? J("女性") : std::string();
      const std::string kindText = b.AttrNo[3] == 1 ? J("従来型") : b.AttrNo[3] == 2 ? J("節水型") : std::string();
      out.push_back(J("　") + PadRight(b.S[1], 30) + " " + PadLeft(sex, 4) + "  " + PadLeft(kindText, 6) + "  " +
                    Fixed(6, 1, b.V[1]) + " " + Fixed(6, 1, b.V[2]) + " " + Fixed(6, 1, b.V[3]) + " " +
                    Fixed(6, 0, b.V[4]) + J(" ﾘｯﾄﾙ/日"));
    }
    const double both = static_cast<double>(fw::GetVV8Value(CalcData, kDetail, 4)) + fw::GetVV8Value(CalcData, kDetail, 8);
    out.push_back(J("　　　　　　　　　　　　　　　大小トイレの雨水利用量　（合計）　　") + n(8, 0, both) + J(" ﾘｯﾄﾙ/日"));
  }
  return out;
}

void THARV1Form::PrintClick() {
  fw::CommitActiveEditor();
  if (!fw::LabelExists(CalcData, LabelKey(kTitle)) || ResultPrefix.empty()) return;
  const std::string path = ResultPrefix + ".PRN";
  fw::SplitFileName(path);
  platform::MakeFolders(fw::FileDir);
  if (!platform::WriteTextLinesAtomic(path, InputListing())) {
    fw::ShowErrorStatus("<" + fw::AbbreviatePath(path) + J(">ファイルに書き込めません。"));
    return;
  }
  if (fw::PrintTextFile(path, false)) fw::ShowStatus(J("〔入力データ印刷完了〕"));
}

// ---- "共通" -----------------------------------------------------------------------------------

namespace {

class CommonCheckBox final : public fw::CheckBoxControl {
 public:
  explicit CommonCheckBox(QCheckBox* box) : box_(box) {}
  bool IsEnabled() const override { return box_->isEnabled(); }
  bool IsChecked() const override { return box_->isChecked(); }
  void UncheckSilently() override { fw::SetCheckBoxSilently(box_, false); }

 private:
  QCheckBox* box_;
};

}  // namespace

void THARV1Form::CommonNameClick() {
  if (!CBTN_Com->isChecked()) {
    UpdateControls();
    return;
  }
  fw::CommitActiveEditor();
  fw::ReadRecSS1(CalcData, kTitle);
  const std::string title = fw::TrimBoth(fw::RecSS1.S[1]);
  CommonCheckBox box(CBTN_Com);
  std::string newFile;
  fw::ShareCalcAndFileName(&box, CalcFilePath, title, newFile);
  if (!fw::DialogYes || newFile.empty() || newFile == CalcFilePath) {
    UpdateControls();
    return;
  }
  // The case's pictures named by the title go; the case is saved under its new name.
  fw::SplitFileName(newFile);
  const std::string folder = fw::FileDir;
  for (int k = 0; k <= 2; ++k) {
    const std::string picture = folder + title + "(" + std::to_string(k) + ").EMF";
    if (platform::FileExists(picture)) platform::RemoveFile(picture);
  }
  CalcFilePath = newFile;
  if (HARVForm) {
    HARVForm->SaveCalcFile();
    HARVForm->LoadCalcFile();
  } else if (fw::SaveInputData(CalcFilePath, CalcData)) {
    fw::LoadInputData(CalcFilePath, CalcData);
  }
  ShowConditions();
}

// ---- Explanations -----------------------------------------------------------------------------

void THARV1Form::ExplanationClick(int tag) {
  std::string text;
  switch (tag) {
    case 2102: {
      const double area = fw::GetVV8Value(CalcData, kCatchment, 2);
      const std::string shown = area > 0 ? fw::FormatFloatN(0, 0, area) : std::string("1");
      text = J("屋根に降った雨を集める面積です。") + "\r\r" + J("集水面積") + shown + J("㎡は、１mmの降水で約") + shown +
             J("ﾘｯﾄﾙ集められます。");
      break;
    }
    case 2103:
      text = J("屋根に降った雨が途中蒸発や滲み込まずに流れ出る割合です。（1.0=全量流出）");
      break;
    case 5101:
      text = J("降水が雪であるかを判定する気温です。") + "\r\r" +
             J("日平均気温がこの値以下の日の降水は雪とみなし、屋根からは集水しません。（通常2～3℃以下で雪）");
      break;
    case 5102:
      text = J("集水面の汚れを除くための初期降水量です。") + "\r\r" +
             J("１日の降水量からこの量を差し引いて集水します。この量以下の降水は集水しません。（通常0.5mm程度）");
      break;
    default:
      return;
  }
  fw::MsgDialog(text, 1, 1);
}

}  // namespace app
