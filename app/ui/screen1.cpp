// Screen 1: construction of the form, its wiring, activation and registration, and the rules
// that need no window.
#include "app/ui/screen1.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "model/sim/run_state.h"
#include "app/ui/main_window.h"
#include "app/ui/program_state.h"
#include "app/ui/screen1_util.h"
#include "app/ui/screen_activation.h"
#include "app/ui/screens.h"
#include "framework/calc_state.h"
#include "framework/convert.h"
#include "framework/drawing.h"
#include "framework/folders.h"
#include "framework/form_utils.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/input_behaviour.h"
#include "framework/weather_stations.h"
#include "platform/dc.h"
#include "platform/files.h"

namespace app {

using namespace s1;

// ---- Helpers ----------------------------------------------------------------------------------

namespace s1 {

QColor PaletteColour(int number) {
  const uint32_t c = fw::ColorOf(number);
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}


std::string FieldText(const fw::TEditEx* edit, double value) {
  fw::FieldFormat f;
  f.editType = edit->EditType();
  f.maxLength = edit->MaxLength();
  f.decimals = edit->UnderPoint();
  f.underInput = edit->UnderInput();
  f.zeroDisplay = edit->ZeroDisplay();
  f.entryText = edit->Text();
  return fw::VariantToFieldText(f, value);
}

std::string LabelKey(int label) { return J("№") + std::to_string(label); }
std::string LabelKey(int label, const char* kindTag) { return LabelKey(label) + kindTag; }

}  // namespace s1

// ---- Rules ------------------------------------------------------------------------------------

double LargeFlushLitres(const std::string& flushKind, const std::string& toiletKind) {
  const bool conventional = toiletKind == "1";
  if (flushKind == "1") return conventional ? 12 : 8;
  return conventional ? 15 : 13;
}

BuildingDefaults DefaultsOfType(int type) {
  switch (type) {
    case 1:
      return {4, 1, 1, 3.8, 5};
    case 2:
      return {3, 10, 1, 3.8, 5};
    case 3:
      return {100, 1, 0.3, 2.8, 5};
    default:
      return {};
  }
}

double ToiletDailyUse(const std::array<float, 13>& v) {
  return (static_cast<double>(v[3]) * v[4] + static_cast<double>(v[5]) * v[6]) * v[1] * v[2];
}

std::string RatioText(double numerator, double divisor) {
  if (divisor == 0) return std::string();
  const double r = numerator / divisor;
  const int decimals = r >= 10 ? 0 : r >= 1 ? 1 : 2;
  return fw::FormatFixed(r, decimals) + J(" 倍");
}

// ---- Construction -----------------------------------------------------------------------------

namespace {

QLabel* MakeLabel(QWidget* parent, const char* utf8, int x, int y, int w = 0) {
  auto* l = new QLabel(Q(utf8), parent);
  if (w > 0)
    l->setGeometry(x, y, w, 18);
  else {
    l->adjustSize();
    l->move(x, y);
  }
  return l;
}

QLabel* NamedLabel(QWidget* parent, const char* name, const char* utf8, int x, int y, int w) {
  QLabel* l = MakeLabel(parent, utf8, x, y, w);
  l->setObjectName(Q(name));
  return l;
}

QToolButton* MakeButton(QWidget* parent, const char* name, const char* caption, const QRect& r) {
  auto* b = new QToolButton(parent);
  b->setObjectName(Q(name));
  b->setText(Q(caption));
  b->setGeometry(r);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, const char* caption, int tag, int x, int y, int w) {
  auto* r = new QRadioButton(Q(caption), parent);
  r->setObjectName(Q(name));
  fw::SetTag(r, tag);
  r->setGeometry(x, y, w, 20);
  return r;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const char* caption, const QRect& r) {
  auto* g = new QGroupBox(Q(caption), parent);
  g->setObjectName(Q(name));
  g->setGeometry(r);
  return g;
}

QFrame* MakeMask(QWidget* parent, const char* name, const char* note, const QRect& r) {
  auto* m = new QFrame(parent);
  m->setObjectName(Q(name));
  m->setGeometry(r);
  m->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  m->setAutoFillBackground(true);
  QPalette p = m->palette();
  p.setColor(QPalette::Window, PaletteColour(206));
  m->setPalette(p);
  auto* l = new QLabel(Q(note), m);
  l->setGeometry(8, 6, r.width() - 16, 18);
  QPalette lp = l->palette();
  lp.setColor(QPalette::WindowText, QColor(96, 96, 96));
  l->setPalette(lp);
  return m;
}

void Colour(QWidget* w, const QColor& c) {
  w->setAutoFillBackground(true);
  QPalette p = w->palette();
  p.setColor(QPalette::Window, c);
  w->setPalette(p);
}

void TextColour(QWidget* w, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, c);
  p.setColor(QPalette::ButtonText, c);
  w->setPalette(p);
}

// The selected cell is drawn as the others (the arrow or the editor shows where input goes).
void DrawWithoutHighlight(fw::TStrGridEx* grid, int col, int row, const platform::Rect& rect, int state) {
  fw::DrawGridCellText(grid, col, row, state, rect);
}

QFrame* MakeHeader(QWidget* parent, const char* utf8, int width) {
  auto* h = new QFrame(parent);
  h->setGeometry(1, 1, width - 2, 20);
  Colour(h, PaletteColour(203));
  auto* l = new QLabel(Q(utf8), h);
  l->setGeometry(6, 1, width - 40, 18);
  return h;
}

}  // namespace

THARV1Form::THARV1Form(QWidget* parent) : QWidget(parent) {
  setObjectName(Q("HARV1Form"));
  setWindowTitle(Q("入力編集〔画面１〕"));
  QFont font(QString::fromStdString(platform::SubstituteFace("ＭＳ ゴシック")));
  font.setPixelSize(12);
  setFont(font);
  resize(790, 456);
  CreateComponents();
  LoadTables();
  new ScreenActivation(this, [this] { FormActivate(); });
  // The notes on saving and calculating follow every save of the case.
  if (HARVForm) connect(HARVForm, &THARVForm::CalcFileSaved, this, [this] { UpdateControls(); });
}

THARV1Form::~THARV1Form() = default;

void THARV1Form::WireEdit(fw::TEditEx* e) {
  e->OnEnter = [this](QWidget* s) { EDITcomEnter(s); };
  e->OnExit = [this](QWidget* s) { EDITcomExit(s); };
  e->OnKeyDown = [this](QWidget* s, int& k) { EDITcomKeyDown(s, k); };
  e->OnKeyPress = [this](QWidget* s, uint8_t& k) { EDITcomKeyPress(s, k); };
}

void THARV1Form::WireCombo(fw::TCBoxEx* c) {
  c->OnEnter = [this](QWidget* s) { CBOXcomEnter(s); };
  c->OnExit = [this](QWidget* s) { CBOXcomExit(s); };
  c->OnClick = [this](QWidget* s) { CBOXcomClick(s); };
  c->OnChange = fw::ComboChange;
  c->OnKeyPress = [this](QWidget* s, uint8_t& k) { CBOXcomKeyPress(s, k); };
}

namespace {

// An edit placed on the form (not an in-grid editor).
fw::TEditEx* PlaceEdit(QWidget* parent, const char* name, int tag, fw::TEditType type, int maxLength, int decimals,
                       const QRect& r) {
  auto* e = new fw::TEditEx(parent);
  e->setObjectName(Q(name));
  fw::SetTag(e, tag);
  e->SetEditType(type);
  e->SetMaxLength(maxLength);
  if (decimals > 0) e->SetUnderPoint(decimals);
  e->SetCellFrame(false);
  e->setGeometry(r);
  return e;
}

fw::TCBoxEx* PlaceCombo(QWidget* parent, const char* name, int tag, const QRect& r, bool cellFrame) {
  auto* c = new fw::TCBoxEx(parent);
  c->setObjectName(Q(name));
  fw::SetTag(c, tag);
  c->SetStyle(fw::TComboBoxStyle::csDropDownList);
  c->SetCellFrame(cellFrame);
  c->setGeometry(r);
  return c;
}

}  // namespace

void THARV1Form::CreateComponents() {
  using fw::TEditType;
  const QColor panel = PaletteColour(206);

  // Title panel.
  PNL0 = new QFrame(this);
  PNL0->setObjectName(Q("PNL0"));
  PNL0->setGeometry(0, 0, 790, 30);
  PNL0->setFrameStyle(QFrame::Panel | QFrame::Raised);
  PNL0->setFocusPolicy(Qt::StrongFocus);
  Colour(PNL0, panel);
  QLabel* title = NamedLabel(PNL0, "LBL0_0", "表題", 8, 7, 30);
  TextColour(title, QColor(0, 0, 160));
  EDIT0_1 = PlaceEdit(PNL0, "EDIT0_1", 1000, TEditType::etString, 60, 0, QRect(40, 4, 376, 22));
  WireEdit(EDIT0_1);
  CBTN_Com = new QCheckBox(Q("共通"), PNL0);
  CBTN_Com->setObjectName(Q("CBTN_Com"));
  CBTN_Com->setGeometry(424, 5, 56, 20);
  CBTN_Com->setToolTip(Q("ファイル名と共通にする（半角40文字以内の場合）"));
  connect(CBTN_Com, &QCheckBox::clicked, this, [this] { CommonNameClick(); });
  SBTN_Prnt = MakeButton(PNL0, "SBTN_Prnt", "入力データの印刷", QRect(486, 3, 112, 24));
  connect(SBTN_Prnt, &QToolButton::clicked, this, [this] { PrintClick(); });
  SBTN_Err = MakeButton(PNL0, "SBTN_Err", "※未入力あり", QRect(604, 3, 96, 24));
  TextColour(SBTN_Err, QColor(200, 0, 0));
  connect(SBTN_Err, &QToolButton::clicked, this, [this] { CheckInputComplete(true); });
  LBL0_N3 = NamedLabel(PNL0, "LBL0_N3", "未計算", 712, 7, 70);
  TextColour(LBL0_N3, QColor(200, 0, 0));
  LBL0_N3->installEventFilter(this);

  LBL0_N1 = NamedLabel(this, "LBL0_N1", "※最初に〔表題〕を入力して下さい。", 20, 48, 360);
  TextColour(LBL0_N1, QColor(200, 0, 0));
  LBL0_N1->installEventFilter(this);
  LBL0_N2 = NamedLabel(this, "LBL0_N2", "※計算を実行するのには、一度保存する必要があります。", 8, 376, 380);
  TextColour(LBL0_N2, QColor(0, 0, 200));
  LBL0_N2->installEventFilter(this);

  // Location.
  GBOX1 = MakeGroup(this, "GBOX1", "＜所在データ＞", QRect(4, 34, 382, 78));
  MakeLabel(GBOX1, "都道府県", 10, 23);
  CBOX1_1 = PlaceCombo(GBOX1, "CBOX1_1", 1101, QRect(66, 20, 120, 22), false);
  MakeLabel(GBOX1, "市町村", 196, 23);
  CBOX1_2 = PlaceCombo(GBOX1, "CBOX1_2", 1102, QRect(238, 20, 136, 22), false);
  MakeLabel(GBOX1, "気象地点", 10, 49);
  CBOX1_3 = PlaceCombo(GBOX1, "CBOX1_3", 1103, QRect(66, 46, 120, 22), false);
  MakeLabel(GBOX1, "（アメダス観測地点）", 194, 49);
  for (fw::TCBoxEx* c : {CBOX1_1, CBOX1_2, CBOX1_3}) WireCombo(c);

  // Catchment.
  GBOX2 = MakeGroup(this, "GBOX2", "<集水データ>", QRect(4, 116, 382, 98));
  MakeLabel(GBOX2, "全屋根面積", 10, 23);
  EDIT2_1 = PlaceEdit(GBOX2, "EDIT2_1", 2101, TEditType::etFloat, 8, 1, QRect(84, 20, 72, 22));
  MakeLabel(GBOX2, "㎡（水平投影面積）", 160, 23);
  catchmentRows_ = new QWidget(GBOX2);
  catchmentRows_->setGeometry(4, 44, 327, 50);
  MakeLabel(catchmentRows_, "集水面積", 6, 5);
  EDIT2_2 = PlaceEdit(catchmentRows_, "EDIT2_2", 2102, TEditType::etFloat, 8, 1, QRect(80, 2, 72, 22));
  MakeLabel(catchmentRows_, "㎡（水平投影面積）", 156, 5);
  MakeLabel(catchmentRows_, "流出係数", 6, 30);
  EDIT2_3 = PlaceEdit(catchmentRows_, "EDIT2_3", 2103, TEditType::etFloat, 5, 2, QRect(80, 27, 72, 22));
  MakeLabel(catchmentRows_, "（屋根面0.85～0.95）", 156, 30);
  PNL2_M = MakeMask(GBOX2, "PNL2_M", "※先に〔全屋根面積〕を入力して下さい。", QRect(4, 44, 327, 50));
  SBTN2_1 = MakeButton(GBOX2, "SBTN2_1", "？", QRect(344, 46, 26, 22));
  fw::SetTag(SBTN2_1, 2102);
  SBTN2_2 = MakeButton(GBOX2, "SBTN2_2", "？", QRect(344, 71, 26, 22));
  fw::SetTag(SBTN2_2, 2103);

  // Storage.
  GBOX3 = MakeGroup(this, "GBOX3", "<貯水データ>", QRect(4, 218, 382, 50));
  MakeLabel(GBOX3, "基本貯水容量", 10, 23);
  EDIT3_1 = PlaceEdit(GBOX3, "EDIT3_1", 3101, TEditType::etInteger, 8, 0, QRect(84, 20, 72, 22));
  MakeLabel(GBOX3, "ﾘｯﾄﾙ/基本ｾｯﾄ（1m3＝1,000ﾘｯﾄﾙ）", 160, 23);

  // Precipitation.
  GBOX5 = MakeGroup(this, "GBOX5", "<降水データ>", QRect(4, 272, 382, 76));
  MakeLabel(GBOX5, "降雪判定気温", 10, 23);
  EDIT5_1 = PlaceEdit(GBOX5, "EDIT5_1", 5101, TEditType::etFloat, 5, 1, QRect(84, 20, 60, 22));
  MakeLabel(GBOX5, "℃以下の降水は雪とする", 148, 23);
  MakeLabel(GBOX5, "無効降水量", 10, 49);
  EDIT5_2 = PlaceEdit(GBOX5, "EDIT5_2", 5102, TEditType::etFloat, 5, 1, QRect(84, 46, 60, 22));
  MakeLabel(GBOX5, "mm（初期降水カット）", 148, 49);
  SBTN5_1 = MakeButton(GBOX5, "SBTN5_1", "？", QRect(344, 20, 26, 22));
  fw::SetTag(SBTN5_1, 5101);
  SBTN5_2 = MakeButton(GBOX5, "SBTN5_2", "？", QRect(344, 46, 26, 22));
  fw::SetTag(SBTN5_2, 5102);
  for (QToolButton* b : {SBTN2_1, SBTN2_2, SBTN5_1, SBTN5_2})
    connect(b, &QToolButton::clicked, this, [this, b] { ExplanationClick(fw::Tag(b)); });

  for (fw::TEditEx* e : {EDIT2_1, EDIT2_2, EDIT2_3, EDIT3_1, EDIT5_1, EDIT5_2}) WireEdit(e);

  CreateUsageGroup();
  CreateDetailPanel();
  CreateMonthPanel();
}

void THARV1Form::CreateUsageGroup() {
  using fw::TEditType;
  GBOX4 = MakeGroup(this, "GBOX4", "＜利用データ＞", QRect(390, 34, 399, 348));
  typeGroup_ = new QButtonGroup(this);
  RBTN4_1 = MakeRadio(GBOX4, "RBTN4_1", "戸建住宅", 1, 10, 18, 84);
  RBTN4_2 = MakeRadio(GBOX4, "RBTN4_2", "集合住宅", 2, 96, 18, 84);
  RBTN4_3 = MakeRadio(GBOX4, "RBTN4_3", "施設", 3, 182, 18, 60);
  for (QRadioButton* r : {RBTN4_1, RBTN4_2, RBTN4_3}) {
    typeGroup_->addButton(r, fw::Tag(r));
    connect(r, &QRadioButton::clicked, this, [this, r] { BuildingTypeClick(fw::Tag(r)); });
  }
  SBTN4_1 = MakeButton(GBOX4, "SBTN4_1", "ﾃﾞﾌｫﾙﾄ値", QRect(300, 16, 90, 24));
  connect(SBTN4_1, &QToolButton::clicked, this, [this] { DefaultsClick(); });

  // Under the first usage mask: persons and households, the facility panel.
  usageRows1_ = new QWidget(GBOX4);
  usageRows1_->setGeometry(4, 42, 391, 300);
  LBL4_01 = NamedLabel(usageRows1_, "LBL4_01", "世帯人数", 6, 5, 60);
  EDIT4_1 = PlaceEdit(usageRows1_, "EDIT4_1", 4101, TEditType::etFloat, 8, 1, QRect(68, 2, 64, 22));
  MakeLabel(usageRows1_, "人", 134, 5);
  LBL4_02 = NamedLabel(usageRows1_, "LBL4_02", "世帯数", 154, 5, 44);
  EDIT4_2 = PlaceEdit(usageRows1_, "EDIT4_2", 4102, TEditType::etInteger, 6, 0, QRect(200, 2, 56, 22));
  PNL4_3 = new QFrame(usageRows1_);
  PNL4_3->setObjectName(Q("PNL4_3"));
  PNL4_3->setGeometry(286, 0, 100, 26);
  SBTN4_2 = MakeButton(PNL4_3, "SBTN4_2", "トイレ詳細", QRect(0, 1, 100, 24));
  connect(SBTN4_2, &QToolButton::clicked, this, [this] { OpenDetailPanel(); });

  // Under the second usage mask: toilets, further uses, totals.
  usageRows2_ = new QWidget(usageRows1_);
  usageRows2_->setGeometry(0, 28, 391, 272);
  QWidget* u = usageRows2_;
  LBL4_1 = NamedLabel(u, "LBL4_1", "トイレ(大)", 6, 5, 62);
  MakeLabel(u, "頻度", 70, 5);
  EDIT4_3 = PlaceEdit(u, "EDIT4_3", 4103, TEditType::etFloat, 5, 1, QRect(96, 2, 48, 22));
  MakeLabel(u, "回/人･日", 146, 5);
  MakeLabel(u, "水量", 208, 5);
  EDIT4_4 = PlaceEdit(u, "EDIT4_4", 4104, TEditType::etFloat, 5, 1, QRect(234, 2, 48, 22));
  MakeLabel(u, "ﾘｯﾄﾙ/回", 284, 5);
  LBL4_2 = NamedLabel(u, "LBL4_2", "トイレ(小)", 6, 31, 62);
  MakeLabel(u, "頻度", 70, 31);
  EDIT4_5 = PlaceEdit(u, "EDIT4_5", 4105, TEditType::etFloat, 5, 1, QRect(96, 28, 48, 22));
  MakeLabel(u, "回/人･日", 146, 31);
  MakeLabel(u, "水量", 208, 31);
  EDIT4_6 = PlaceEdit(u, "EDIT4_6", 4106, TEditType::etFloat, 5, 1, QRect(234, 28, 48, 22));
  MakeLabel(u, "ﾘｯﾄﾙ/回", 284, 31);

  auto* flush = new QFrame(u);
  flush->setObjectName(Q("PNL4_31"));
  flush->setGeometry(4, 54, 190, 24);
  flush->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  MakeLabel(flush, "大便器", 4, 4);
  RBTN4_3_1 = MakeRadio(flush, "RBTN4_3_1", "ﾛｰﾀﾝｸ", 4121, 48, 2, 66);
  RBTN4_3_2 = MakeRadio(flush, "RBTN4_3_2", "洗浄弁", 4122, 116, 2, 70);
  auto* kind = new QFrame(u);
  kind->setObjectName(Q("PNL4_41"));
  kind->setGeometry(198, 54, 188, 24);
  kind->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  RBTN4_4_1 = MakeRadio(kind, "RBTN4_4_1", "従来型", 4131, 14, 2, 76);
  RBTN4_4_2 = MakeRadio(kind, "RBTN4_4_2", "節水型", 4132, 98, 2, 76);
  flushGroup_ = new QButtonGroup(this);
  toiletGroup_ = new QButtonGroup(this);
  flushGroup_->addButton(RBTN4_3_1, 1);
  flushGroup_->addButton(RBTN4_3_2, 2);
  toiletGroup_->addButton(RBTN4_4_1, 1);
  toiletGroup_->addButton(RBTN4_4_2, 2);
  for (QRadioButton* r : {RBTN4_3_1, RBTN4_3_2, RBTN4_4_1, RBTN4_4_2})
    connect(r, &QRadioButton::clicked, this, [this, r] { FlushKindClick(fw::Tag(r)); });

  MakeLabel(u, "散水", 6, 87);
  EDIT4_7 = PlaceEdit(u, "EDIT4_7", 4107, TEditType::etInteger, 7, 0, QRect(96, 84, 64, 22));
  MakeLabel(u, "ﾘｯﾄﾙ/日", 162, 87);
  EDIT4_11 = PlaceEdit(u, "EDIT4_11", 4111, TEditType::etString, 8, 0, QRect(4, 110, 88, 22));
  EDIT4_8 = PlaceEdit(u, "EDIT4_8", 4108, TEditType::etInteger, 7, 0, QRect(96, 110, 64, 22));
  MakeLabel(u, "ﾘｯﾄﾙ/日", 162, 113);
  EDIT4_12 = PlaceEdit(u, "EDIT4_12", 4112, TEditType::etString, 8, 0, QRect(4, 136, 88, 22));
  EDIT4_9 = PlaceEdit(u, "EDIT4_9", 4109, TEditType::etInteger, 7, 0, QRect(96, 136, 64, 22));
  MakeLabel(u, "ﾘｯﾄﾙ/日", 162, 139);
  SBTN4_3 = MakeButton(u, "SBTN4_3", "変動？？ ", QRect(240, 110, 100, 24));
  SBTN4_3->setToolTip(Q("月別の使用量"));
  connect(SBTN4_3, &QToolButton::clicked, this, [this] { OpenMonthPanel(); });

  auto* line = new QFrame(u);
  line->setGeometry(4, 164, 382, 2);
  line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  MakeLabel(u, "合計使用量", 6, 173);
  LBL4_TTL = NamedLabel(u, "LBL4_TTL", "", 96, 173, 110);
  LBL4_TTL->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  MakeLabel(u, "ﾘｯﾄﾙ/日", 210, 173);
  LBL4_MIN = NamedLabel(u, "LBL4_MIN", "", 6, 199, 380);
  MakeLabel(u, "基本貯水容量÷防災上の最低必要量", 6, 223);
  LBL4_R1 = NamedLabel(u, "LBL4_R1", "", 230, 223, 100);
  LBL4_R1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  MakeLabel(u, "基本貯水容量÷全体の１日使用量", 6, 245);
  LBL4_R2 = NamedLabel(u, "LBL4_R2", "", 230, 245, 100);
  LBL4_R2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  PNL4_M1 = MakeMask(GBOX4, "PNL4_M1", "※先に〔集水データ〕と〔建物種別〕を入力して下さい。",
                     QRect(4, 42, 391, 300));
  PNL4_M2 = MakeMask(GBOX4, "PNL4_M2", "※〔世帯人数〕と〔世帯数〕を入力して下さい。", QRect(4, 70, 391, 272));

  for (fw::TEditEx* e : {EDIT4_1, EDIT4_2, EDIT4_3, EDIT4_4, EDIT4_5, EDIT4_6, EDIT4_7, EDIT4_8, EDIT4_9, EDIT4_11,
                         EDIT4_12})
    WireEdit(e);
}

void THARV1Form::CreateDetailPanel() {
  using fw::TEditType;
  PNL_A = new QFrame(this);
  PNL_A->setObjectName(Q("PNL_A"));
  PNL_A->setGeometry(194, 34, 596, 336);
  PNL_A->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Colour(PNL_A, PaletteColour(206));
  MakeHeader(PNL_A, "トイレ詳細データ（施設）", 596);
  SBTN_A_X = MakeButton(PNL_A, "SBTN_A_X", "×", QRect(572, 2, 20, 18));
  connect(SBTN_A_X, &QToolButton::clicked, this, [this] { CloseDetailPanel(); });

  MakeLabel(PNL_A, "施設用途", 8, 29);
  CBOX_A_1 = PlaceCombo(PNL_A, "CBOX_A_1", 4200, QRect(60, 26, 124, 22), false);
  MakeLabel(PNL_A, "男性", 198, 29);
  EDIT_A_1 = PlaceEdit(PNL_A, "EDIT_A_1", 4211, TEditType::etInteger, 6, 0, QRect(226, 26, 56, 22));
  MakeLabel(PNL_A, "人", 284, 29);
  MakeLabel(PNL_A, "女性", 304, 29);
  EDIT_A_2 = PlaceEdit(PNL_A, "EDIT_A_2", 4212, TEditType::etInteger, 6, 0, QRect(332, 26, 56, 22));
  MakeLabel(PNL_A, "人", 390, 29);
  SBTN_A_1 = MakeButton(PNL_A, "SBTN_A_1", "１行削除", QRect(420, 25, 76, 24));
  SBTN_A_2 = MakeButton(PNL_A, "SBTN_A_2", "詳細削除", QRect(502, 25, 84, 24));
  connect(SBTN_A_1, &QToolButton::clicked, this, [this] { DeleteDetailRowClick(); });
  connect(SBTN_A_2, &QToolButton::clicked, this, [this] { DeleteDetailClick(); });

  LBL_A_ARW = NamedLabel(PNL_A, "LBL_A_ARW", "→", 6, 73, 16);
  TextColour(LBL_A_ARW, QColor(200, 0, 0));

  STRG_A_1 = new fw::TStrGridEx(PNL_A);
  STRG_A_1->setObjectName(Q("STRG_A_1"));
  STRG_A_1->SetColCount(4);
  STRG_A_1->SetRowCount(kDetailRows + 3);
  STRG_A_1->SetFixedCols(1);
  STRG_A_1->SetFixedRows(1);
  STRG_A_1->SetColWidths(0, 22);
  STRG_A_1->SetColWidths(1, 166);
  STRG_A_1->SetColWidths(2, 40);
  STRG_A_1->SetColWidths(3, 52);
  STRG_A_1->setGeometry(24, 53, 22 + 166 + 40 + 52 + 4 + 4, (kDetailRows + 3) * 19 + 4);
  STRG_A_1->SetColTitles({"", J("トイレの種類"), J("性別"), J("タイプ")});
  STRG_A_1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  STRG_A_1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  STRG_A_1->OnSelectCell = [this](fw::TStrGridEx*, int col, int row, bool& can) {
    // A row follows the filled ones; sex and type need the row's fixture.
    if (row > kDetailRows) {
      can = false;
      return;
    }
    if (row > 1 && !DetailRowExists(row - 1)) {
      can = false;
      QMetaObject::invokeMethod(this, [this] { SelectDetailRow(DetailRowCount() + 1); }, Qt::QueuedConnection);
      return;
    }
    if (col > 1 && !DetailRowExists(row)) can = false;
  };
  STRG_A_1->OnClick = [this](QWidget*) { DetailGridClick(); };
  STRG_A_1->OnDrawCell = DrawWithoutHighlight;

  STRG_A_2 = new fw::TStrGridEx(PNL_A);
  STRG_A_2->setObjectName(Q("STRG_A_2"));
  STRG_A_2->SetColCount(4);
  STRG_A_2->SetRowCount(kDetailRows + 3);
  STRG_A_2->SetFixedCols(0);
  STRG_A_2->SetFixedRows(1);
  const int valueWidths[4] = {62, 62, 66, 70};
  int width = 4;
  for (int c = 0; c < 4; ++c) {
    STRG_A_2->SetColWidths(c, valueWidths[c]);
    width += valueWidths[c] + 1;
  }
  STRG_A_2->setGeometry(24 + STRG_A_1->width() + 4, 53, width, STRG_A_1->height());
  STRG_A_2->SetColTitles({J("　人/日"), J("　回/日"), J("　ﾘｯﾄﾙ/回"), J("　ﾘｯﾄﾙ/日")});
  STRG_A_2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  STRG_A_2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  STRG_A_2->OnSelectCell = [this](fw::TStrGridEx*, int col, int row, bool& can) {
    can = row <= kDetailRows && col <= 2 && DetailRowExists(row);
  };
  STRG_A_2->OnClick = [this](QWidget*) { DetailValueGridClick(); };
  STRG_A_2->OnDrawCell = DrawWithoutHighlight;

  CBOX_A_2 = PlaceCombo(PNL_A, "CBOX_A_2", 4200, QRect(0, 0, 10, 10), true);
  CBOX_A_3 = PlaceCombo(PNL_A, "CBOX_A_3", 4200, QRect(0, 0, 10, 10), true);
  CBOX_A_4 = PlaceCombo(PNL_A, "CBOX_A_4", 4200, QRect(0, 0, 10, 10), true);
  fw::SetComboItems(CBOX_A_3, {fw::NumberedItem(1, J("男性")), fw::NumberedItem(2, J("女性"))});
  fw::SetComboItems(CBOX_A_4, {fw::NumberedItem(1, J("従来型")), fw::NumberedItem(2, J("節水型"))});
  EDIT_A_3 = new fw::TEditEx(PNL_A);
  EDIT_A_3->setObjectName(Q("EDIT_A_3"));
  fw::SetTag(EDIT_A_3, 4300);
  EDIT_A_3->SetEditType(TEditType::etFloat);
  EDIT_A_3->SetMaxLength(8);
  EDIT_A_3->SetUnderPoint(1);
  for (fw::TCBoxEx* c : {CBOX_A_1, CBOX_A_2, CBOX_A_3, CBOX_A_4}) WireCombo(c);
  for (fw::TEditEx* e : {EDIT_A_1, EDIT_A_2, EDIT_A_3}) WireEdit(e);

  const int below = 53 + STRG_A_1->height() + 6;
  LBL_A_N1 = NamedLabel(PNL_A, "LBL_A_N1", "", 24, below, 560);
  LBL_A_N2 = NamedLabel(PNL_A, "LBL_A_N2", "", 24, below + 20, 560);
  LBL_A_N3 = NamedLabel(PNL_A, "LBL_A_N3", "※施設利用者人数とトイレ利用人数が一致していません。", 24, below + 40, 560);
  TextColour(LBL_A_N3, QColor(200, 0, 0));
  PNL_A->hide();
}

void THARV1Form::CreateMonthPanel() {
  PNL_M = new QFrame(this);
  PNL_M->setObjectName(Q("PNL_M"));
  PNL_M->setGeometry(4, 250, 786, 114);
  PNL_M->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Colour(PNL_M, PaletteColour(206));
  MakeHeader(PNL_M, "月別の雨水使用量（ﾘｯﾄﾙ/日）　※平均は自動計算", 786);
  SBTN_M_X = MakeButton(PNL_M, "SBTN_M_X", "×", QRect(762, 2, 20, 18));
  connect(SBTN_M_X, &QToolButton::clicked, this, [this] { CloseMonthPanel(); });

  STRG_M = new fw::TStrGridEx(PNL_M);
  STRG_M->setObjectName(Q("STRG_M"));
  STRG_M->SetColCount(14);
  STRG_M->SetRowCount(4);
  STRG_M->SetFixedCols(1);
  STRG_M->SetFixedRows(1);
  int width = 4;
  for (int c = 0; c < 14; ++c) {
    const int w = c == 0 ? 70 : c == 13 ? 52 : 47;
    STRG_M->SetColWidths(c, w);
    width += w + 1;
  }
  STRG_M->setGeometry(8, 28, width, 4 * 19 + 4);
  std::vector<std::string> titles{""};
  for (int m = 1; m <= 12; ++m) titles.push_back(PadLeft(std::to_string(m) + J("月"), 6));
  titles.push_back(J("　平均"));
  STRG_M->SetColTitles(titles);
  STRG_M->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  STRG_M->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  STRG_M->OnSelectCell = [this](fw::TStrGridEx*, int col, int row, bool& can) {
    can = col >= 1 && col <= 12 && row >= 1 && row <= 3 && !fw::TrimBoth(STRG_M->Cells(13, row)).empty();
  };
  STRG_M->OnClick = [this](QWidget*) { MonthGridClick(); };
  STRG_M->OnDrawCell = DrawWithoutHighlight;
  EDIT_M = new fw::TEditEx(PNL_M);
  EDIT_M->setObjectName(Q("EDIT_M"));
  fw::SetTag(EDIT_M, kMonths);
  EDIT_M->SetEditType(fw::TEditType::etInteger);
  EDIT_M->SetMaxLength(7);
  WireEdit(EDIT_M);
  PNL_M->hide();
}

void THARV1Form::LoadTables() {
  // The toilet tables fill the facility combos.
  uses_.clear();
  kinds_.clear();
  if (fw::DataLoad(fw::DatDir + J("トイレ頻度.DAT"))) {
    const fw::TTableBuffer& t = fw::TableBuffer;
    for (int i = 1; i <= t.TableRows; ++i) {
      ToiletUseRow row;
      row.name = t.TableCells[i][1];
      for (int k = 0; k < 4; ++k) row.uses[static_cast<size_t>(k)] = fw::TextToFloat(t.TableCells[i][2 + k]);
      uses_.push_back(row);
    }
  }
  if (fw::DataLoad(fw::DatDir + J("トイレ種類.DAT"))) {
    const fw::TTableBuffer& t = fw::TableBuffer;
    for (int i = 1; i <= t.TableRows; ++i) {
      ToiletKindRow row;
      row.name = t.TableCells[i][1];
      row.kind = static_cast<int>(fw::TextToInt(t.TableCells[i][2]));
      row.litres = {fw::TextToFloat(t.TableCells[i][3]), fw::TextToFloat(t.TableCells[i][4])};
      row.note = t.TableCells[i][5];
      kinds_.push_back(row);
    }
  }
  std::vector<std::string> items;
  for (size_t i = 0; i < uses_.size(); ++i) items.push_back(fw::NumberedItem(static_cast<int>(i + 1), uses_[i].name));
  fw::SetComboItems(CBOX_A_1, items);
  items.clear();
  for (size_t i = 0; i < kinds_.size(); ++i) items.push_back(fw::NumberedItem(static_cast<int>(i + 1), kinds_[i].name));
  fw::SetComboItems(CBOX_A_2, items);

  // The city and station tables, and the prefectures.
  const std::string code = fw::StationSel.CountryCode.empty() ? std::string("JPN") : fw::StationSel.CountryCode;
  const std::string wcd = fw::WcdDir.empty() ? fw::BaseDrive + fw::BaseFolder + "WCD\\" : fw::WcdDir;
  std::vector<std::string> lines;
  cityNames_.assign(1, std::string());
  if (platform::ReadTextLines(wcd + code + "_CITY.DAT", lines)) {
    for (int n = 1; n <= static_cast<int>(lines.size()); ++n) {
      fw::CityRecord city;
      fw::ReadCityRecord(lines, n, city);
      cityNames_.push_back(city.Name);
    }
  }
  stationNames_.assign(1, std::string());
  if (platform::ReadTextLines(wcd + code + "_WPNT.DAT", lines)) {
    for (int n = 1; n <= static_cast<int>(lines.size()) - 2; ++n) {
      fw::StationRecord station;
      fw::ReadStationRecord(lines, n, station);
      stationNames_.push_back(station.Text);
    }
  }
  areaLines_.clear();
  platform::ReadTextLines(wcd + code + "_STAT.DAT", areaLines_);
  std::vector<std::string> prefectures;
  fw::FillPrefectureLists(prefectures);
  fw::SetComboItems(CBOX1_1, prefectures);
}

void THARV1Form::FillCityAndStationLists(int prefecture) {
  fw::AreaRecord area;
  std::vector<std::string> cities, stations;
  firstStation_ = 0;
  if (fw::ReadAreaRecord(areaLines_, prefecture, area)) {
    const int firstCity = static_cast<int>(area.Numbers[0]);
    const int lastCity = std::min<int>(firstCity + static_cast<int>(area.Numbers[1]) - 1,
                                       static_cast<int>(cityNames_.size()) - 1);
    if (firstCity >= 1) fw::FillStringsFromTable(cities, cityNames_, firstCity, lastCity, true);
    firstStation_ = static_cast<int>(area.Numbers[2]);
    const int lastStation = std::min<int>(firstStation_ + static_cast<int>(area.Numbers[3]) - 1,
                                          static_cast<int>(stationNames_.size()) - 1);
    if (firstStation_ >= 1) fw::FillStringsFromTable(stations, stationNames_, firstStation_, lastStation, true);
  }
  fw::SetComboItems(CBOX1_2, cities);
  fw::SetComboItems(CBOX1_3, stations);
}

// ---- Input handlers ---------------------------------------------------------------------------

void THARV1Form::EDITcomEnter(QWidget* sender) {
  fw::EditEnter(sender);
  fw::ShowStatus(FieldHint(fw::Input.InputCode));
}

void THARV1Form::EDITcomExit(QWidget* sender) {
  fw::EditExit(sender);
  if (!fw::Input.InputUnchanged) CommitInput();
}

void THARV1Form::EDITcomKeyDown(QWidget* sender, int& key) { fw::EditKeyDown(sender, key); }

void THARV1Form::EDITcomKeyPress(QWidget* sender, uint8_t& key) {
  const uint8_t typed = key;
  fw::EditKeyPress(sender, key);
  if (typed != 13) return;
  auto* edit = qobject_cast<fw::TEditEx*>(sender);
  if (!edit) return;
  if (edit->CellFrame()) {
    // An in-grid editor ends on Enter: the grid takes the focus back and the exit commits.
    if (fw::CurrentGrid) fw::CurrentGrid->setFocus(Qt::OtherFocusReason);
    return;
  }
  if (fw::Input.InputUnchanged) return;
  CommitInput();
  // The field stays entered with the committed text as its new entry value.
  if (edit->hasFocus()) {
    edit->SetModified(false);
    fw::BeginFieldInput(edit->Text());
  }
}

void THARV1Form::CBOXcomEnter(QWidget* sender) {
  fw::ComboEnter(sender);
  fw::ShowStatus(FieldHint(fw::Input.InputCode));
}

void THARV1Form::CBOXcomExit(QWidget* sender) {
  fw::ComboExit(sender);
  if (!fw::Input.InputUnchanged) CommitInput();
}

void THARV1Form::CBOXcomClick(QWidget* sender) {
  fw::ComboChange(sender);
  EndComboChoice(qobject_cast<fw::TCBoxEx*>(sender));
}

void THARV1Form::CBOXcomKeyPress(QWidget* sender, uint8_t& key) {
  const uint8_t typed = key;
  fw::ComboKeyPress(sender, key);
  if (typed == 13) EndComboChoice(qobject_cast<fw::TCBoxEx*>(sender));
}

void THARV1Form::EndComboChoice(fw::TCBoxEx* combo) {
  if (!combo) return;
  if (combo->CellFrame()) {
    // An in-cell combo ends with the choice: the exit writes the cell and commits.
    if (fw::CurrentGrid) fw::CurrentGrid->setFocus(Qt::OtherFocusReason);
    return;
  }
  if (fw::Input.InputUnchanged) return;
  CommitInput();
  if (combo->hasFocus()) fw::ComboEnter(combo);  // the choice is the new entry value
}

// ---- Activation and notes ---------------------------------------------------------------------

void THARV1Form::FormActivate() {
  CheckInputComplete(false);
  UpdateControls();
  PNL0->setFocus(Qt::OtherFocusReason);
}

bool THARV1Form::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::MouseButtonRelease) {
    if (watched == LBL0_N1) {
      EDIT0_1->setFocus(Qt::MouseFocusReason);
    } else if (watched == LBL0_N2) {
      if (HARVForm) fw::MovePointerToControl(HARVForm->SBTN3);
    } else if (watched == LBL0_N3) {
      if (HARVForm) fw::MovePointerToControl(HARVForm->SBTN6);
    }
  }
  return QWidget::eventFilter(watched, e);
}

void THARV1Form::MainWindowRefresh() {
  if (HARVForm) HARVForm->RefreshHeader();
}

// ---- Registration -----------------------------------------------------------------------------

void RegisterScreen1() {
  ScreenEntry entry;
  entry.create = [] { return static_cast<QWidget*>(new THARV1Form); };
  entry.refresh = [](QWidget* form, int) {
    if (auto* screen = qobject_cast<THARV1Form*>(form)) screen->ShowConditions();
  };
  RegisterScreen(1, std::move(entry));
}

}  // namespace app
