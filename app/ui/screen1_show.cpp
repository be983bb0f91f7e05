// Screen 1: display of the sections from the store, control states, the completeness check,
// hints, the two panels and their grids.
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>

#include "model/sim/run_state.h"
#include "app/ui/main_window.h"
#include "app/ui/program_state.h"
#include "model/results/conditions.h"
#include "app/ui/screen1.h"
#include "app/ui/screen1_util.h"
#include "framework/calc_state.h"
#include "framework/file_names.h"
#include "framework/form_utils.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/input_behaviour.h"
#include "platform/files.h"

namespace app {

using namespace s1;
using fw::CalcData;

namespace {

void CheckRadio(QButtonGroup* group, int id) {
  // An exclusive group shows "none" only while it is not exclusive.
  group->setExclusive(false);
  for (QAbstractButton* b : group->buttons()) {
    const QSignalBlocker block(b);
    b->setChecked(group->id(b) == id);
  }
  group->setExclusive(true);
}

void SetText(fw::TEditEx* edit, const std::string& text) {
  edit->SetText(text);
  edit->SetModified(false);
}

void SetValue(fw::TEditEx* edit, double value) { SetText(edit, FieldText(edit, value)); }

int AttrNumber(const std::string& text) { return static_cast<int>(fw::TextToInt(text)); }

// "男性" / "女性", "従来型" / "節水型" of a detail row's attribute.
std::string SexText(int sex) { return sex == 1 ? J("男性") : sex == 2 ? J("女性") : std::string(); }
std::string TypeText(int type) { return type == 1 ? J("従来型") : type == 2 ? J("節水型") : std::string(); }

}  // namespace

// ---- Values of the case -----------------------------------------------------------------------

double THARV1Form::ToiletUse() const { return ToiletDailyUse(); }

std::string THARV1Form::UseName(int use) const { return FurtherUseName(use); }

bool THARV1Form::MonthRowsVary() const {
  for (int use = 1; use <= 3; ++use) {
    fw::ReadRecHH12(CalcData, kMonths + use);
    if (!fw::LineFound) continue;
    for (int m = 2; m <= 12; ++m)
      if (fw::RecHH12.N[m] != fw::RecHH12.N[1]) return true;
  }
  return false;
}

// ---- Display ----------------------------------------------------------------------------------

void THARV1Form::ShowConditions() {
  fw::ReadRecSS4(CalcData, kLocation);
  const std::string prefecture = fw::RecSS4.S[1];
  FillCityAndStationLists(prefecture.empty() ? 0 : fw::SelectComboText(CBOX1_1, prefecture));
  for (int section : {10, 11, 21, 31, 41, 51}) ShowSection(section);
  if (!PNL_A->isHidden()) ShowSection(42);
  if (!PNL_M->isHidden()) ShowSection(91);
  CheckInputComplete(false);
  if (HARVForm) HARVForm->UpdateState();
  UpdateControls();
  fw::ShowStatus(J("〔入力データ表示完了〕"));
}

void THARV1Form::ShowSection(int section) {
  switch (section) {
    case 10: {
      fw::ReadRecSS1(CalcData, kTitle);
      SetText(EDIT0_1, fw::RecSS1.S[1]);
      break;
    }
    case 11: {
      fw::ReadRecSS4(CalcData, kLocation);
      const fw::TRecordKindBuffer r = fw::RecSS4;
      fw::TCBoxEx* combos[4] = {nullptr, CBOX1_1, CBOX1_2, CBOX1_3};
      for (int k = 1; k <= 3; ++k) {
        fw::TCBoxEx* c = combos[k];
        const int index = r.AttrNo[static_cast<size_t>(k)] - 1;
        // The stored item number, as long as it still names the stored text.
        if (index >= 0 && index < c->count() &&
            fw::StripLabelPrefix(platform::FromQString(c->itemText(index)).value_or("")) == r.S[static_cast<size_t>(k)])
          c->SetItemIndex(index);
        else if (r.S[static_cast<size_t>(k)].empty())
          c->SetItemIndex(-1);
        else
          fw::SelectComboText(c, r.S[static_cast<size_t>(k)]);
      }
      break;
    }
    case 21: {
      fw::ReadRecVV8(CalcData, kCatchment);
      const std::array<float, 13> v = fw::RecVV8.V;
      SetValue(EDIT2_1, v[1]);
      SetValue(EDIT2_2, v[2]);
      SetValue(EDIT2_3, v[3]);
      break;
    }
    case 31:
      SetValue(EDIT3_1, fw::GetVV8Value(CalcData, kStorage, 3));
      break;
    case 41: {
      fw::ReadRecNS4(CalcData, kUsage);
      const int type = static_cast<int>(fw::RecNS4.N[1]);
      CheckRadio(typeGroup_, type);
      const bool facility = type == 3;
      LBL4_01->setText(facility ? Q("利用者数") : Q("世帯人数"));
      LBL4_02->setText(facility ? Q("棟数") : Q("世帯数"));
      fw::ReadRecVV8(CalcData, kUsage);
      const fw::TRecordKindBuffer u = fw::RecVV8;
      fw::TEditEx* edits[7] = {nullptr, EDIT4_1, EDIT4_2, EDIT4_3, EDIT4_4, EDIT4_5, EDIT4_6};
      for (int i = 1; i <= 6; ++i) SetValue(edits[i], u.V[static_cast<size_t>(i)]);
      CheckRadio(flushGroup_, AttrNumber(u.Attr[2]));
      CheckRadio(toiletGroup_, AttrNumber(u.Attr[3]));
      fw::ReadRecWW8(CalcData, kUsage);
      const fw::TRecordKindBuffer w = fw::RecWW8;
      SetValue(EDIT4_7, w.V[1]);
      SetValue(EDIT4_8, w.V[2]);
      SetValue(EDIT4_9, w.V[3]);
      fw::ReadRecSS4(CalcData, kUsage);
      SetText(EDIT4_11, fw::RecSS4.S[2]);
      SetText(EDIT4_12, fw::RecSS4.S[3]);

      const double total = ToiletUse() + w.V[8];
      LBL4_TTL->setText(Q(fw::FormatFloatN(10, 0, total)));
      const double persons = static_cast<double>(u.V[1]) * u.V[2];
      const double minimum = persons * 150;
      LBL4_MIN->setText(Q(J("防災上の最低必要量＝ ") + fw::FormatFixed(persons, 1) + J("人×50㍑×３日分＝ ") +
                          fw::FormatFloatN(0, 0, minimum) + J("㍑")));
      LBL4_MIN->setEnabled(minimum != 0);
      const double tank = fw::GetVV8Value(CalcData, kStorage, 3);
      LBL4_R1->setText(Q(RatioText(tank, minimum)));
      LBL4_R2->setText(Q(RatioText(tank, total)));
      SBTN4_3->setText(MonthRowsVary() ? Q("変動あり　") : Q("変動なし　"));
      break;
    }
    case 42:
    case 43:
    case 44: {
      fw::ReadRecNSV6(CalcData, kDetail);
      const fw::TRecordKindBuffer head = fw::RecNSV6;
      const int use = static_cast<int>(head.N[1]);
      CBOX_A_1->SetItemIndex(use >= 1 && use <= CBOX_A_1->count() ? use - 1 : -1);
      SetText(EDIT_A_1, fw::FormatFloatN(6, 0, head.V[1]));
      SetText(EDIT_A_2, fw::FormatFloatN(6, 0, head.V[2]));
      for (int r = 1; r <= kDetailRows; ++r) {
        fw::ReadRecNSV4(CalcData, kDetail + r);
        const bool exists = fw::LineFound;
        const fw::TRecordKindBuffer b = fw::RecNSV4;
        STRG_A_1->SetRows(r, {std::to_string(r), exists ? b.S[1] : std::string(), SexText(b.AttrNo[2]),
                              TypeText(b.AttrNo[3])});
        if (exists)
          STRG_A_2->SetRows(r, {Fixed(8, 1, b.V[1]), Fixed(8, 1, b.V[2]), Fixed(8, 1, b.V[3]), Fixed(8, 0, b.V[4])});
        else
          STRG_A_2->SetRows(r, {"", "", "", ""});
      }
      fw::ReadRecVV8(CalcData, kDetail);
      const fw::TRecordKindBuffer t = fw::RecVV8;
      STRG_A_1->SetRows(kDetailRows + 1, {"", J("　大便器（合計・平均）"), "", ""});
      STRG_A_1->SetRows(kDetailRows + 2, {"", J("　小便器（合計・平均）"), "", ""});
      for (int k = 0; k < 2; ++k) {
        const size_t base = static_cast<size_t>(4 * k);
        STRG_A_2->SetRows(kDetailRows + 1 + k, {Fixed(8, 0, t.V[base + 1]), Fixed(8, 2, t.V[base + 2]),
                                                Fixed(8, 1, t.V[base + 3]), Fixed(8, 0, t.V[base + 4])});
      }
      const double male = head.V[1], female = head.V[2];
      LBL_A_N1->setText(Q(J("施設利用者人数 ： (男)") + fw::FormatFixed(male, 0) + J("＋(女)") + fw::FormatFixed(female, 0) +
                          J(" ＝ (合計) ") + fw::FormatFixed(male + female, 0) + J(" 人")));
      LBL_A_N2->setText(Q(J("トイレ利用人数 ： トイレ(大) ") + fw::FormatFixed(t.V[1], 0) + J(" 人  トイレ(小) ") +
                          fw::FormatFixed(t.V[5], 0) + J(" 人")));
      // Everybody uses a WC pan: its users should be the facility's users.
      LBL_A_N3->setVisible(DetailRowCount() > 0 && std::fabs(t.V[1] - (male + female)) >= 0.5);
      break;
    }
    case 51: {
      fw::ReadRecVV8(CalcData, kPrecipitation);
      const std::array<float, 13> v = fw::RecVV8.V;
      SetValue(EDIT5_1, v[1]);
      SetValue(EDIT5_2, v[2]);
      break;
    }
    case 91: {
      for (int use = 1; use <= 3; ++use) {
        std::vector<std::string> cells{UseName(use)};
        fw::ReadRecHH12(CalcData, kMonths + use);
        if (fw::LineFound) {
          for (int m = 1; m <= 12; ++m) cells.push_back(fw::IntToStrWidth(7, fw::RecHH12.N[m]));
          const std::string mean = fw::RecHH12.Attr[1] + fw::RecHH12.Attr[2] + fw::RecHH12.Attr[3];
          cells.push_back(fw::IntToStrWidth(7, fw::RadixTextToInt(fw::TrimBoth(mean))));
        } else {
          cells.resize(14);
        }
        STRG_M->SetRows(use, cells);
      }
      break;
    }
    default:
      break;
  }
}

void THARV1Form::UpdateControls() {
  const bool hasTitle = fw::LabelExists(CalcData, LabelKey(kTitle));
  const bool panelOpen = !PNL_A->isHidden() || !PNL_M->isHidden();
  for (QGroupBox* g : {GBOX1, GBOX2, GBOX3, GBOX4, GBOX5}) {
    g->setVisible(hasTitle);
    g->setEnabled(!panelOpen);
  }
  LBL0_N1->setVisible(!hasTitle);
  SBTN_Prnt->setEnabled(hasTitle);

  CBOX1_1->setEnabled(CBOX1_1->count() > 0);
  CBOX1_2->setEnabled(CBOX1_1->count() > 0);
  CBOX1_3->setEnabled(CBOX1_3->count() > 0);

  const bool hasCatchment = fw::LabelExists(CalcData, LabelKey(kCatchment));
  const bool hasType = fw::LabelExists(CalcData, LabelKey(kUsage, "<NS4>"));
  fw::ReadRecVV8(CalcData, kUsage);
  const bool hasPersons = fw::RecVV8.V[1] > 0 && fw::RecVV8.V[2] > 0;
  PNL2_M->setVisible(!hasCatchment);
  catchmentRows_->setEnabled(hasCatchment);
  const bool usage1 = hasCatchment && hasType;
  PNL4_M1->setVisible(!usage1);
  usageRows1_->setEnabled(usage1);
  PNL4_M2->setVisible(usage1 && !hasPersons);
  usageRows2_->setEnabled(hasPersons);

  fw::ReadRecNS4(CalcData, kUsage);
  const bool facility = fw::RecNS4.N[1] == 3;
  PNL4_3->setVisible(facility);
  const bool detailRows = DetailRowExists(1);
  const bool hasDetail = fw::LabelExists(CalcData, LabelKey(kDetail));
  for (QWidget* w : std::initializer_list<QWidget*>{EDIT4_1, EDIT4_2, EDIT4_3, EDIT4_4, EDIT4_5, EDIT4_6, LBL4_1, LBL4_2,
                                                    RBTN4_3_1, RBTN4_4_1, RBTN4_4_2})
    w->setEnabled(!detailRows);
  RBTN4_3_2->setEnabled(facility && !detailRows);
  SBTN_A_1->setEnabled(detailRows && DetailRowExists(STRG_A_1->Row()));
  SBTN_A_2->setEnabled(hasDetail);
  for (QWidget* w : std::initializer_list<QWidget*>{EDIT_A_1, EDIT_A_2, STRG_A_1, STRG_A_2}) w->setEnabled(hasDetail);

  SBTN4_1->setVisible(hasType);
  SBTN_Err->setVisible(!InputComplete);

  // "共通": the title as the file name, while it is not one yet.
  fw::ReadRecSS1(CalcData, kTitle);
  const std::string title = fw::TrimBoth(fw::RecSS1.S[1]);
  fw::SplitFileName(CalcFilePath);
  const std::string folder = fw::FileDir, ext = fw::FileExt.empty() ? std::string(".HVS") : fw::FileExt;
  const bool isName = !title.empty() && fw::UpperCaseJ(title) == fw::UpperCaseJ(fw::FileBaseName);
  CBTN_Com->setVisible(!title.empty());
  {
    const QSignalBlocker block(CBTN_Com);
    CBTN_Com->setChecked(isName);
  }
  const bool sampleName = fw::UpperCaseJ(title) == "TEST_HVS";
  CBTN_Com->setEnabled(!isName && !IsSampleFile && !sampleName && title.size() <= 40 &&
                       !platform::FileExists(folder + title + ext));

  const bool modified = fw::DataState.Modified != 0;
  LBL0_N2->setVisible(hasTitle && modified);
  LBL0_N3->setVisible(hasTitle && !modified && InputComplete && !ResultRegistered &&
                      platform::FileExists(CalcFilePath));
}

// ---- Completeness -----------------------------------------------------------------------------

bool THARV1Form::CheckInputComplete(bool show) {
  std::string missing;
  auto need = [&missing](bool present, const char* item) {
    if (missing.empty() && !present) missing = J(item);
  };
  fw::ReadRecSS1(CalcData, kTitle);
  need(fw::LabelExists(CalcData, LabelKey(kTitle)) && !fw::TrimBoth(fw::RecSS1.S[1]).empty(), "表題");
  fw::ReadRecSS4(CalcData, kLocation);
  const fw::TRecordKindBuffer location = fw::RecSS4;
  need(location.AttrNo[1] > 0 && !location.S[1].empty(), "都道府県");
  need(location.AttrNo[2] > 0 && !location.S[2].empty(), "市町村");
  fw::ReadRecNN8(CalcData, kLocation);
  need(fw::RecNN8.N[3] > 0 && location.AttrNo[3] > 0, "気象地点");
  fw::ReadRecVV8(CalcData, kCatchment);
  const std::array<float, 13> c = fw::RecVV8.V;
  need(c[1] > 0, "全屋根面積");
  need(c[2] > 0, "集水面積");
  need(c[3] > 0, "流出係数");
  fw::ReadRecNS4(CalcData, kUsage);
  const int type = static_cast<int>(fw::RecNS4.N[1]);
  need(type >= 1 && type <= 3, "建物種別");
  fw::ReadRecVV8(CalcData, kUsage);
  const std::array<float, 13> u = fw::RecVV8.V;
  need(u[1] > 0, "世帯人数");
  need(u[2] > 0, "世帯数");
  need(fw::GetVV8Value(CalcData, kStorage, 3) > 0, "貯水容量");
  if (type == 3 && fw::LabelExists(CalcData, LabelKey(kDetail))) {
    // A detail with a use but no rows would give the calculation no toilet use at all.
    bool ok = DetailRowCount() > 0;
    for (int r = 1; r <= kDetailRows && ok; ++r) {
      fw::ReadRecNSV4(CalcData, kDetail + r);
      if (fw::LineFound && !(fw::RecNSV4.V[4] > 0)) ok = false;
    }
    need(ok, "トイレ詳細");
  }

  missingItem_ = missing;
  const bool complete = missing.empty();
  InputComplete = complete;
  if (show) {
    fw::MsgDialog(complete ? J("入力データは良さそうです。") : J("＜") + missing + J("＞に未入力があります。"), 1, 1);
    if (!complete) {
      if (missing == J("トイレ詳細") && PNL_A->isHidden()) OpenDetailPanel();
      if (QWidget* w = ControlOfItem(missing)) w->setFocus(Qt::OtherFocusReason);
    }
  }
  fw::ShowStatus(J("〔入力データチェック完了〕"));
  return complete;
}

QWidget* THARV1Form::ControlOfItem(const std::string& item) const {
  const std::pair<const char*, QWidget*> controls[] = {
      {"表題", EDIT0_1},       {"都道府県", CBOX1_1}, {"市町村", CBOX1_2},   {"気象地点", CBOX1_3},
      {"全屋根面積", EDIT2_1}, {"集水面積", EDIT2_2}, {"流出係数", EDIT2_3}, {"建物種別", RBTN4_1},
      {"世帯人数", EDIT4_1},   {"世帯数", EDIT4_2},   {"貯水容量", EDIT3_1}, {"トイレ詳細", STRG_A_1}};
  for (const auto& [name, control] : controls)
    if (J(name) == item) return control;
  return nullptr;
}

// ---- Hints and item names ---------------------------------------------------------------------

std::string THARV1Form::FieldHint(int code) const {
  static const std::pair<int, const char*> hints[] = {
      {1000, "本計算のタイトルです。（max=60文字）"},
      {1101, "設置場所の都道府県名を選んで下さい。"},
      {1102, "設置場所の市町村名を選んで下さい。"},
      {1103, "計算に使用する気象データファイルの観測地点名です。"},
      {2101, "建物全体の屋根面積（㎡）です。（注：水平投影面積）"},
      {2102, "雨水を集める屋根の集水面積（㎡）です。（注：水平投影面積）"},
      {2103, "雨水を集める屋根からの流出係数（－）です。（屋根面0.85～0.95）"},
      {3101, "受水槽１セット当たりの容量（ﾘｯﾄﾙ/基本セット）です。（1m3＝1,000ﾘｯﾄﾙ）"},
      {4101, "一世帯当たりの居住者人数（人）です。"},
      {4102, "マンション等の世帯数です。"},
      {4103, "大便器トイレの１人１日平均の使用頻度（回/(人･日)）です。"},
      {4104, "大便器トイレ１回当たりの水使用量（ﾘｯﾄﾙ/日）です。（従来型:12㍑ 節水型:8㍑）"},
      {4105, "小便器トイレの１人１日平均の使用頻度（回/(人･日)）です。"},
      {4106, "小便器トイレ１回当たりの水使用量（ﾘｯﾄﾙ/日）です。（通常4㍑～6㍑程度）"},
      {4107, "１日平均で庭に散水する量（ﾘｯﾄﾙ/日）です。（※年間一定に設定する）"},
      {4111, "その他雨水利用の種類です。（max=8文字）"},
      {4112, "その他雨水利用の種類です。（max=8文字）"},
      {4200, "施設の用途を選んで下さい。"},
      {4211, "施設利用者の男性人数（人）です。"},
      {4212, "施設利用者の女性人数（人）です。"},
      {4201, "施設用トイレの種類を選んで下さい。"},
      {4202, "大便器トイレのタイプを選んで下さい。"},
      {4203, "トイレのタイプを選んで下さい。"},
      {4300, "施設の１日当たりの利用者人数（人/日）です。"},
      {4301, "トイレの１人１日平均の使用頻度（回/(人･日)）です。"},
      {4302, "トイレ１回当たりの水使用量（ﾘｯﾄﾙ/日）です。"},
      {5101, "降水が雪であるかの判定に使用する気温です。（通常2～3℃以下で雪）"},
      {5102, "集水面の汚れを除くための初期降水量（mm）です。（通常0.5mm程度）"},
  };
  if (code == 4108 || code == 4109)
    return J("＜") + UseName(code - 4106) + J("＞の雨水使用量（ﾘｯﾄﾙ/日）です。（※年間一定に設定する）");
  if (code >= 9101 && code <= 9103)
    return UseName(code - kMonths) + J("の〔") + std::to_string(fw::Input.GridCol) + J("月〕使用量（ﾘｯﾄﾙ/日）です。");
  for (const auto& [c, text] : hints)
    if (c == code) return J(text);
  return std::string();
}

std::string THARV1Form::ItemName(int code) const {
  static const std::pair<int, const char*> names[] = {
      {2101, "全屋根面積"},     {2102, "集水面積"},       {2103, "流出係数"},       {3101, "貯水容量"},
      {4101, "世帯人数"},       {4102, "世帯数"},         {4103, "大便器の使用頻度"}, {4104, "大便器の水使用量"},
      {4105, "小便器の使用頻度"}, {4106, "小便器の水使用量"}, {4107, "散水量"},         {4211, "男性人数"},
      {4212, "女性人数"},       {4300, "利用者人数"},     {4301, "使用頻度"},       {4302, "水使用量"},
      {5101, "降雪判定気温"},   {5102, "無効降水量"}};
  if (code == 4108 || code == 4109) return UseName(code - 4106) + J("の使用量");
  if (code >= 9101 && code <= 9103) return UseName(code - kMonths) + J("の使用量");
  for (const auto& [c, name] : names)
    if (c == code) return J(name);
  return std::string();
}

// ---- Panels and grids -------------------------------------------------------------------------

void THARV1Form::FinishCommand(const fw::StringList& before, bool ok) {
  if (!ok)
    CalcData = before;
  else if (CalcData != before)
    fw::DataState.Modified = 1;
  CheckInputComplete(false);
  MainWindowRefresh();
  for (int section : {10, 11, 21, 31, 41, 51}) ShowSection(section);
  if (!PNL_A->isHidden()) ShowSection(42);
  if (!PNL_M->isHidden()) ShowSection(91);
  UpdateControls();
}

void THARV1Form::SelectDetailRow(int row) {
  row = std::clamp(row, 1, kDetailRows);
  STRG_A_1->SetRow(row);
  STRG_A_1->SetCol(1);
  LBL_A_ARW->move(6, 73 + 19 * (row - 1));
  SBTN_A_1->setEnabled(DetailRowExists(row));
}

void THARV1Form::ShowPanel(QFrame* panel, bool show) {
  fw::CommitActiveEditor();
  if (show) {
    // One panel at a time.
    (panel == PNL_A ? PNL_M : PNL_A)->hide();
    panel->show();
    panel->raise();
    ShowSection(panel == PNL_A ? 42 : 91);
  } else {
    panel->hide();
    ShowSection(41);
  }
  UpdateControls();
}

void THARV1Form::OpenDetailPanel() {
  ShowPanel(PNL_A, true);
  SelectDetailRow(std::min(DetailRowCount() + 1, kDetailRows));
  if (!fw::LabelExists(CalcData, LabelKey(kDetail))) CBOX_A_1->setFocus(Qt::OtherFocusReason);
}

void THARV1Form::CloseDetailPanel() { ShowPanel(PNL_A, false); }
void THARV1Form::OpenMonthPanel() { ShowPanel(PNL_M, true); }
void THARV1Form::CloseMonthPanel() { ShowPanel(PNL_M, false); }

void THARV1Form::DetailGridClick() {
  const int col = STRG_A_1->Col(), row = STRG_A_1->Row();
  if (row < 1 || row > kDetailRows || col < 1 || col > 3) return;
  LBL_A_ARW->move(6, 73 + 19 * (row - 1));
  SBTN_A_1->setEnabled(DetailRowExists(row));
  if (!fw::LabelExists(CalcData, LabelKey(kDetail))) return;
  fw::TCBoxEx* combo = col == 1 ? CBOX_A_2 : col == 2 ? CBOX_A_3 : CBOX_A_4;
  fw::PlaceEditorOnGridCell(STRG_A_1, col, row);
  fw::SetCurrentItemNo(combo, 'X', 1);
  fw::ShowGridCombo(combo, fw::TComboBoxStyle::csDropDownList, false);
  fw::ShowStatus(FieldHint(kDetail + col));
}

void THARV1Form::DetailValueGridClick() {
  const int col = STRG_A_2->Col(), row = STRG_A_2->Row();
  if (row < 1 || row > kDetailRows || col < 0 || col > 2 || !DetailRowExists(row)) return;
  LBL_A_ARW->move(6, 73 + 19 * (row - 1));
  SBTN_A_1->setEnabled(true);
  {
    const QSignalBlocker block(STRG_A_1);
    STRG_A_1->SetRow(row);
  }
  fw::PlaceEditorOnGridCell(STRG_A_2, col, row);
  fw::SetCurrentItemNo(EDIT_A_3, 'X', 1);
  fw::ShowGridEdit(EDIT_A_3, fw::TEditType::etFloat, 8, 0, 1);
  fw::ShowStatus(FieldHint(4300 + col));
}

void THARV1Form::MonthGridClick() {
  const int col = STRG_M->Col(), row = STRG_M->Row();
  if (col < 1 || col > 12 || row < 1 || row > 3 || fw::TrimBoth(STRG_M->Cells(13, row)).empty()) return;
  fw::PlaceEditorOnGridCell(STRG_M, col, row);
  fw::SetCurrentItemNo(EDIT_M, 'Y', 1);
  fw::ShowGridEdit(EDIT_M, fw::TEditType::etInteger, 7, 0, 0);
  fw::ShowStatus(FieldHint(kMonths + row));
}

void THARV1Form::DeleteDetailRowClick() {
  fw::CommitActiveEditor();
  const int row = STRG_A_1->Row();
  if (!DetailRowExists(row)) return;
  fw::MsgDialog(J("この１行を削除しますか？"), 2, 2);
  if (!fw::DialogYes) return;
  const fw::StringList before = CalcData;
  fw::ReadRecNSV4(CalcData, kDetail + row);
  fw::DeleteLabelLine(CalcData, kDetail + row);
  for (int r = row + 1; r <= kDetailRows; ++r)
    if (DetailRowExists(r)) fw::RenumberLabel(CalcData, kDetail + r, kDetail + r - 1);
  FinishCommand(before, RecalcToiletDetail(false));
  SelectDetailRow(std::min(row, DetailRowCount() + 1));
}

void THARV1Form::DeleteDetailClick() {
  fw::CommitActiveEditor();
  fw::MsgDialog(J("トイレ全体の〔詳細データ〕を削除して、〔概略データ〕で計算しますか？"), 2, 2);
  if (!fw::DialogYes) return;
  const fw::StringList before = CalcData;
  fw::FilterLines(CalcData, J("№42"));
  PNL_A->hide();
  FinishCommand(before, true);
}

void THARV1Form::BuildingTypeClick(int type) {
  fw::CommitActiveEditor();
  fw::Input.InputCode = kUsage;
  fw::Input.InputSection = kUsage / 100;
  fw::Input.InputIntValue = type;
  fw::Input.InputValue = type;
  QRadioButton* radio = type == 1 ? RBTN4_1 : type == 2 ? RBTN4_2 : RBTN4_3;
  fw::Input.InputText = fw::Cp932Of(radio->text());
  fw::Input.InputUnchanged = false;
  fw::Input.InputCommitted = false;
  CommitInput();
}

void THARV1Form::FlushKindClick(int code) {
  fw::CommitActiveEditor();
  fw::Input.InputCode = code;
  fw::Input.InputSection = code / 100;
  fw::Input.InputIntValue = code % 10;
  fw::Input.InputValue = code % 10;
  fw::Input.InputText = std::to_string(code % 10);
  fw::Input.InputUnchanged = false;
  fw::Input.InputCommitted = false;
  CommitInput();
}

void THARV1Form::DefaultsClick() {
  fw::CommitActiveEditor();
  const fw::StringList before = CalcData;
  const bool stored = ApplyBuildingDefaults(true);
  FinishCommand(before, stored || fw::DialogYes == false);
}

}  // namespace app
