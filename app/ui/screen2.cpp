#include "app/ui/screen2.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

#include "model/sim/run_state.h"
#include "app/ui/main_window.h"
#include "app/ui/program_state.h"
#include "app/ui/screen_activation.h"
#include "app/ui/screens.h"
#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/convert.h"
#include "framework/drawing.h"
#include "framework/file_names.h"
#include "framework/messages.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "platform/cp932.h"
#include "platform/dc.h"
#include "platform/files.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/qt_text.h"

#include "app/ui/pictures.h"

namespace app {

using platform::J;
using platform::Q;

// ---- Date rules

int DayFileRow(int year, int month, int day) {
  const int n = fw::DayOfYear(month, day, year);
  fw::SetLeapYearFlag(year);
  return fw::LeapFlag && month >= 3 ? n - 1 : n;
}

ViewDate StepViewDay(const ViewDate& date, int position) {
  ViewDate d = date;
  if (position < 1) {
    if (d.month == 1) {
      d.day = 1;
    } else {
      d.month -= 1;
      d.day = kCommonMonthDays[d.month];
    }
  } else if (position > kCommonMonthDays[d.month]) {
    if (d.month == 12) {
      d.day = 31;
    } else {
      d.month += 1;
      d.day = 1;
    }
  } else {
    d.day = position;
  }
  return d;
}

namespace {

// printf into a UTF-8 buffer, then CP932.
template <typename... Args>
std::string Fmt(const char* utf8Format, Args... args) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, utf8Format, args...);
  return J(buffer);
}

// "%<width>.<decimals>f" with the program's rounding.
std::string Fixed(int width, int decimals, double x) {
  std::string text = fw::FormatFixed(x, decimals);
  if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
  return text;
}

QFont FixedFont(int pixels, bool bold = false) {
  QFont font(QString::fromStdString(platform::SubstituteFace("ＭＳ ゴシック")));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text = QString()) {
  auto* label = new QLabel(text, parent);
  if (name) label->setObjectName(Q(name));
  return label;
}

QLabel* ValueLabel(QWidget* parent, const char* name, int chars) {
  QLabel* label = MakeLabel(parent, name);
  label->setFont(FixedFont(13));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setMinimumWidth(QFontMetrics(label->font()).horizontalAdvance(QString(chars, QChar('0'))) + 4);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  return label;
}

void SetLabelColour(QLabel* label, uint32_t colorRef) {
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, platform::ColorRefToQColor(colorRef));
  label->setPalette(pal);
}

// The picture is drawn on a base of 800 x 450, scaled to fit and centred (pictures.h); these
// are the base positions of the four picture labels.
constexpr double kPictureW = 800;
constexpr double kPictureH = 450;
struct LabelSpot {
  double x, y;
};
constexpr LabelSpot kPictureSpots[5] = {{0, 0}, {24, 96}, {250, 128}, {500, 392}, {214, 392}};

const char* const kTankItems[8] = {"0.25", "0.5", "1", "1.5", "2", "3", "4", "5"};

}  // namespace

// ---- The form

THARV2Form::THARV2Form(QWidget* parent) : QWidget(parent) {
  setObjectName(Q("HARV2Form"));
  setWindowTitle(Q(ScreenCaption(2).c_str()));
  resize(790, 450);
  sim_.LoadConditions();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(6);
  BuildConditionsGroup();
  BuildResultGroup();
  layout->addWidget(GBOX1);
  layout->addWidget(GBOX2, 1);
  layout->addStretch(0);
  ClearDayView();
  SyncUpDowns();
  UpdateControls();
  new ScreenActivation(this, [this] { FormActivate(); });
}

THARV2Form::~THARV2Form() = default;

void THARV2Form::BuildConditionsGroup() {
  GBOX1 = new QGroupBox(Q("計算条件"), this);
  GBOX1->setObjectName(Q("GBOX1"));
  auto* grid = new QGridLayout(GBOX1);
  grid->setContentsMargins(8, 4, 8, 6);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);

  struct Row {
    const char* caption;
    const char* unit;
    int chars;
  };
  // LBL1_11 .. LBL1_18: site, building type, catchment area, tank volume, persons, total use,
  // ineffective precipitation, runoff coefficient.
  const Row rows[9] = {{},
                       {"設置場所", "", 0},
                       {"建物種別", "", 0},
                       {"集水面積", "㎡", 8},
                       {"基本貯水容量", "ﾘｯﾄﾙ", 8},
                       {"人数", "人", 8},
                       {"雨水利用量", "/日", 10},
                       {"無効降水量", "mm", 8},
                       {"流出係数", "", 8}};
  const char* names[9] = {nullptr, "LBL1_11", "LBL1_12", "LBL1_13", "LBL1_14",
                          "LBL1_15", "LBL1_16", "LBL1_17", "LBL1_18"};
  // Where each value stands: grid row, column block (0 left, 1 right).
  const int place[9][2] = {{0, 0}, {0, 0}, {0, 1}, {1, 0}, {2, 0}, {3, 0}, {3, 1}, {2, 1}, {1, 1}};
  for (int i = 1; i <= 8; ++i) {
    const int r = place[i][0];
    const int c = place[i][1] * 4;
    grid->addWidget(MakeLabel(GBOX1, nullptr, Q(rows[i].caption)), r, c);
    if (rows[i].chars == 0) {
      LBL1_1x[i] = MakeLabel(GBOX1, names[i]);
      LBL1_1x[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      LBL1_1x[i]->setMinimumWidth(180);
      grid->addWidget(LBL1_1x[i], r, c + 1, 1, 2);
    } else {
      LBL1_1x[i] = ValueLabel(GBOX1, names[i], rows[i].chars);
      grid->addWidget(LBL1_1x[i], r, c + 1);
      grid->addWidget(MakeLabel(GBOX1, nullptr, Q(rows[i].unit)), r, c + 2);
    }
  }
  grid->setColumnMinimumWidth(3, 16);

  // The uses: toilet, sprinkling and the two further uses, and the variation button.
  auto* uses = new QHBoxLayout;
  uses->setSpacing(12);
  const char* useNames[5] = {nullptr, "LBL_101", "LBL_102", "LBL_103", "LBL_104"};
  for (int i = 1; i <= 4; ++i) {
    LBL_10x[i] = MakeLabel(GBOX1, useNames[i]);
    uses->addWidget(LBL_10x[i]);
  }
  SBTN1_1 = new QToolButton(GBOX1);
  SBTN1_1->setObjectName(Q("SBTN1_1"));
  SBTN1_1->setAutoRaise(true);
  uses->addWidget(SBTN1_1);
  uses->addStretch(1);
  grid->addWidget(MakeLabel(GBOX1, nullptr, Q("利用内訳")), 4, 0);
  grid->addLayout(uses, 4, 1, 1, 7);

  // The state of the results and the Execute button.
  auto* right = new QVBoxLayout;
  LBL1 = MakeLabel(GBOX1, "LBL1");
  LBL1->setAlignment(Qt::AlignCenter);
  LBL1->setFont(FixedFont(14, true));
  LBL1->installEventFilter(this);
  BBTN1 = new QPushButton(Q("実行(&G)..."), GBOX1);
  BBTN1->setObjectName(Q("BBTN1"));
  BBTN1->setMinimumSize(120, 40);
  right->addWidget(LBL1);
  right->addWidget(BBTN1);
  right->addStretch(1);
  grid->setColumnStretch(8, 1);
  grid->addLayout(right, 0, 9, 5, 1);

  connect(BBTN1, &QPushButton::clicked, this, [this] { ExecuteClick(); });
  connect(SBTN1_1, &QToolButton::clicked, this, [this] {
    const bool varies = fw::Cp932Of(SBTN1_1->text()).find(J("あり")) != std::string::npos;
    fw::MsgDialog(varies ? J("トイレ以外の雨水利用には季節変動があります。") : J("トイレ以外の雨水利用は年間一定です。"),
                  1, 1);
  });
}

void THARV2Form::BuildResultGroup() {
  GBOX2 = new QGroupBox(Q("日次計算結果"), this);
  GBOX2->setObjectName(Q("GBOX2"));
  auto* row = new QHBoxLayout(GBOX2);
  row->setContentsMargins(8, 4, 8, 6);
  row->setSpacing(10);

  auto* left = new QVBoxLayout;
  left->setSpacing(4);
  row->addLayout(left);

  // The date with its three up-downs.
  auto* dateRow = new QHBoxLayout;
  dateRow->setSpacing(2);
  QLabel** dateLabels[3] = {&LBL_01, &LBL_02, &LBL_03};
  const char* dateNames[3] = {"LBL_01", "LBL_02", "LBL_03"};
  const char* updnNames[4] = {nullptr, "UPDN_01", "UPDN_02", "UPDN_03"};
  const int minimum[4] = {0, kFirstYear, 1, 0};
  const int maximum[4] = {0, kLastYear, 12, 32};
  for (int tag = 1; tag <= 3; ++tag) {
    QLabel* label = ValueLabel(GBOX2, dateNames[tag - 1], tag == 1 ? 8 : 5);
    *dateLabels[tag - 1] = label;
    dateRow->addWidget(label);
    UPDN[tag] = new fw::TUpDown(GBOX2);
    UPDN[tag]->setObjectName(Q(updnNames[tag]));
    fw::SetTag(UPDN[tag], tag);
    UPDN[tag]->setRange(minimum[tag], maximum[tag]);
    UPDN[tag]->setFixedSize(17, 26);
    UPDN[tag]->OnClick = [this, tag](QWidget*) { UpDownClick(tag); };
    dateRow->addWidget(UPDN[tag]);
    dateRow->addSpacing(6);
  }
  dateRow->addStretch(1);
  left->addLayout(dateRow);

  // The day's values.
  auto* values = new QGridLayout;
  values->setHorizontalSpacing(6);
  values->setVerticalSpacing(2);
  const char* captions[9] = {nullptr, "気温", "降水量", "流出係数", "集水量", "受水量", "使用量", "貯水量", "貯水率"};
  const char* units[9] = {nullptr, "℃", "mm", "", "ﾘｯﾄﾙ", "ﾘｯﾄﾙ", "ﾘｯﾄﾙ", "ﾘｯﾄﾙ", "％"};
  const char* valueNames[9] = {nullptr, "LBL2_11", "LBL2_12", "LBL2_13", "LBL2_14",
                               "LBL2_15", "LBL2_16", "LBL2_17", "LBL2_18"};
  for (int i = 1; i <= 8; ++i) {
    values->addWidget(MakeLabel(GBOX2, nullptr, Q(captions[i])), i - 1, 0);
    LBL2_1x[i] = ValueLabel(GBOX2, valueNames[i], 9);
    values->addWidget(LBL2_1x[i], i - 1, 1);
    values->addWidget(MakeLabel(GBOX2, nullptr, Q(units[i])), i - 1, 2);
  }
  values->setColumnStretch(3, 1);
  left->addLayout(values);

  // The tank size and its fill.
  RADG2 = new QGroupBox(Q("貯水容量"), GBOX2);
  RADG2->setObjectName(Q("RADG2"));
  auto* radios = new QGridLayout(RADG2);
  radios->setContentsMargins(6, 2, 6, 4);
  radios->setVerticalSpacing(0);
  RADG2Items = new QButtonGroup(RADG2);
  for (int i = 0; i < 8; ++i) {
    auto* item = new QRadioButton(Q(kTankItems[i]), RADG2);
    RADG2Items->addButton(item, i);
    radios->addWidget(item, i / 4, i % 4);
  }
  RADG2Items->button(2)->setChecked(true);
  connect(RADG2Items, &QButtonGroup::idClicked, this, [this](int) { ShowDay(); });
  left->addWidget(RADG2);
  PBAR2 = new QProgressBar(GBOX2);
  PBAR2->setObjectName(Q("PBAR2"));
  PBAR2->setRange(0, 100);
  PBAR2->setFixedHeight(16);
  left->addWidget(PBAR2);

  // Playback and next precipitation.
  auto* buttons = new QHBoxLayout;
  SBTN_01 = new QToolButton(GBOX2);
  SBTN_01->setObjectName(Q("SBTN_01"));
  SBTN_01->setText(Q("連続再生"));
  SBTN_02 = new QToolButton(GBOX2);
  SBTN_02->setObjectName(Q("SBTN_02"));
  SBTN_02->setText(Q("次の降水"));
  for (QToolButton* b : {SBTN_01, SBTN_02}) {
    b->setMinimumSize(92, 26);
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  left->addLayout(buttons);
  connect(SBTN_01, &QToolButton::clicked, this, [this] { PlaybackClick(); });
  connect(SBTN_02, &QToolButton::clicked, this, [this] { NextPrecipClick(); });
  left->addStretch(1);

  // The picture panel: the date over the scene, and the four picture labels.
  auto* pictureSide = new QVBoxLayout;
  pictureSide->setSpacing(2);
  row->addLayout(pictureSide, 1);
  LBL_10 = MakeLabel(GBOX2, "LBL_10");
  LBL_10->setFont(FixedFont(18, true));
  LBL_10->setAlignment(Qt::AlignCenter);
  pictureSide->addWidget(LBL_10);
  PNL2 = new QWidget(GBOX2);
  PNL2->setObjectName(Q("PNL2"));
  PNL2->setMinimumSize(320, 200);
  PNL2->installEventFilter(this);
  pictureSide->addWidget(PNL2, 1);
  IMAG2 = new fw::TImageEx(PNL2);
  IMAG2->setObjectName(Q("IMAG2"));
  const char* pictureNames[5] = {nullptr, "LBL_11", "LBL_12", "LBL_13", "LBL_14"};
  for (int i = 1; i <= 4; ++i) {
    LBL_1x[i] = MakeLabel(PNL2, pictureNames[i]);
    LBL_1x[i]->setFont(FixedFont(13, true));
    LBL_1x[i]->setAutoFillBackground(true);
    QPalette pal = LBL_1x[i]->palette();
    pal.setColor(QPalette::Window, QColor(255, 255, 255, 210));
    LBL_1x[i]->setPalette(pal);
    LBL_1x[i]->setMargin(2);
  }
  pictureSide->addWidget(MakeLabel(GBOX2, nullptr, Q("※統計処理の都合上、うるう年(2/29)は計算対象外にしています。")));
  pictureSide->addWidget(MakeLabel(GBOX2, nullptr, Q("※計算では毎年1月1日に貯水槽をリセット（空）にしています。")));
}

bool THARV2Form::eventFilter(QObject* watched, QEvent* e) {
  if (watched == PNL2 && e->type() == QEvent::Resize) {
    LayOutPicture();
  } else if (watched == LBL1 && e->type() == QEvent::MouseButtonRelease) {
    // Calculated: the pointer goes to the main window's results button.
    if (fw::LookupResultName(CalcFilePath) && HARVForm) fw::MoveMouseToControl(HARVForm->SBTN7);
  }
  return QWidget::eventFilter(watched, e);
}

void THARV2Form::LayOutPicture() {
  const QSize size = PNL2->size();
  IMAG2->setGeometry(0, 0, size.width(), size.height());
  IMAG2->SetPicture(DrawWorkingPicture(size));
  PlacePictureLabels();
}

void THARV2Form::PlacePictureLabels() {
  const QSize size = PNL2->size();
  const double scale = std::min(size.width() / kPictureW, size.height() / kPictureH);
  const double offsetX = (size.width() - kPictureW * scale) / 2;
  const double offsetY = (size.height() - kPictureH * scale) / 2;
  for (int i = 1; i <= 4; ++i) {
    QLabel* label = LBL_1x[i];
    label->adjustSize();
    int x = static_cast<int>(offsetX + kPictureSpots[i].x * scale);
    int y = static_cast<int>(offsetY + kPictureSpots[i].y * scale);
    x = std::clamp(x, 0, std::max(0, size.width() - label->width()));
    y = std::clamp(y, 0, std::max(0, size.height() - label->height()));
    label->move(x, y);
    label->raise();
  }
}

// ---- Activation and the conditions

void THARV2Form::FormActivate() {
  // A run in progress keeps the parameters it was started with.
  if (Calculating) return;
  sim_.LoadConditions();
  PlaybackRunning = false;
  ViewYear = kFirstYear;
  ViewMonth = 1;
  ViewDay = 1;
  if (LoadDayFile(kFirstYear)) {
    GotoDay(kFirstYear, 1, 1);
  } else {
    ClearDayView();
    SyncUpDowns();
  }
  UpdateControls();
  fw::MoveMouseToControl(BBTN1);
}

void THARV2Form::RefreshConditions() {
  const fw::StringList& data = fw::CalcData;
  fw::ReadRecSS4(data, 1100);
  std::string site = fw::RecSS4.S[1];
  if (!fw::RecSS4.S[2].empty()) site += J("　") + fw::RecSS4.S[2];
  LBL1_1x[1]->setText(Q(site));

  fw::ReadRecNS4(data, 4100);
  std::string building = fw::RecNS4.S[1];
  if (fw::RecNS4.N[1] == 3 && fw::LabelExists(data, J("№4200"))) {
    fw::ReadRecNSV6(data, 4200);
    building = fw::RecNSV6.S[1];
  }
  LBL1_1x[2]->setText(Q(building));

  fw::ReadRecVV8(data, 4100);
  const double persons = static_cast<double>(fw::RecVV8.V[1]) * fw::RecVV8.V[2];
  fw::ReadRecSS4(data, 4100);
  std::string useNames[4] = {"", J("散水"), fw::RecSS4.S[2], fw::RecSS4.S[3]};
  if (useNames[2].empty()) useNames[2] = J("その他１");
  if (useNames[3].empty()) useNames[3] = J("その他２");
  fw::ReadRecWW8(data, 4100);
  const float constant[4] = {0, fw::RecWW8.V[1], fw::RecWW8.V[2], fw::RecWW8.V[3]};
  const double otherUse = fw::RecWW8.V[8];

  LBL1_1x[3]->setText(Q(fw::FormatFloatN(8, 0, sim_.Parameters.CatchArea)));
  LBL1_1x[4]->setText(Q(fw::FormatFloatN(8, 0, sim_.Parameters.TankCapacity[3])));
  LBL1_1x[5]->setText(Q(fw::FormatFloatN(8, 0, persons)));
  LBL1_1x[6]->setText(Q(fw::FormatFloatN(0, 0, sim_.Parameters.BaseUse + otherUse) + J("㍑")));
  LBL1_1x[7]->setText(Q(fw::FloatToTextDigits(sim_.Parameters.IneffectivePrecip, 8, 1)));
  LBL1_1x[8]->setText(Q(Fixed(8, 2, sim_.Parameters.RunoffCoef)));

  // Seasonal variation: a month of blocks 9101 to 9103 that differs from the use's constant
  // daily amount.
  bool varies = false;
  for (int k = 1; k <= 3; ++k) {
    fw::ReadRecHH12(data, 9100 + k);
    for (int m = 1; m <= 12; ++m)
      if (fw::RecHH12.N[m] != fw::Round(constant[k])) varies = true;
  }
  SBTN1_1->setText(varies ? Q("（変動あり）") : Q("（変動なし）"));

  const double amounts[5] = {0, sim_.Parameters.BaseUse, constant[1], constant[2], constant[3]};
  LBL_10x[1]->setText(Q(J("トイレ ") + fw::FormatFloatN(0, 0, amounts[1]) + J(" ﾘｯﾄﾙ")));
  for (int i = 2; i <= 4; ++i)
    LBL_10x[i]->setText(Q(useNames[i - 1] + " " + fw::FormatFloatN(0, 0, amounts[i]) + J(" ﾘｯﾄﾙ")));
  for (int i = 1; i <= 4; ++i) LBL_10x[i]->setEnabled(amounts[i] != 0);

  fw::ShowStatus(building);
  UpdateControls();
}

void THARV2Form::UpdateControls() {
  const bool registered = fw::LookupResultName(CalcFilePath);
  LBL1->setText(registered ? Q("計算済み") : Q("-<未計算>-"));
  BBTN1->setEnabled(!PlaybackRunning && !Calculating);
  for (int tag = 1; tag <= 3; ++tag) UPDN[tag]->setEnabled(!PlaybackRunning);
  SBTN_02->setEnabled(!PlaybackRunning);
  SBTN_01->setText(PlaybackRunning ? Q("再生停止") : Q("連続再生"));
  const bool showResults = registered && !Calculating;
  GBOX2->setVisible(showResults);
  PNL2->setVisible(showResults);
}

void THARV2Form::MainWindowUpdateState() {
  if (HARVForm) HARVForm->UpdateState();
}

// ---- The day view

std::string THARV2Form::DayFileName(int year) const { return ResultPrefix + "(" + std::to_string(year) + ").DAY"; }
std::string THARV2Form::DayFileName() const { return DayFileName(ViewYear); }

int THARV2Form::SelectedTank() const { return std::max(0, RADG2Items->checkedId()) + 1; }

bool THARV2Form::LoadDayFile(int year) {
  const std::string path = DayFileName(year);
  std::vector<std::string> lines;
  if (!platform::FileExists(path) || !platform::ReadTextLines(path, lines)) return false;
  fw::ResultLines = std::move(lines);
  return true;
}

bool THARV2Form::ReadCurrentRow(fw::TDayRecord& record) {
  const int row = DayFileRow(ViewYear, ViewMonth, ViewDay);
  auto read = [&] {
    int count = 0;
    return fw::ReadDayRow(fw::ResultLines, row, count, record) && record.Year == ViewYear &&
           record.Month == ViewMonth && record.Day == ViewDay;
  };
  if (read()) return true;
  // Another window has put another table into the shared list: read the year's file again.
  return LoadDayFile(ViewYear) && read();
}

void THARV2Form::ClearDayView() {
  LBL_01->setText(Q(Fmt("19%2d年", ViewYear - 1900)));
  LBL_02->setText(Q(Fmt("%2d月", ViewMonth)));
  LBL_03->setText(Q(Fmt("%2d日", ViewDay)));
  LBL_10->clear();
  for (int i = 1; i <= 8; ++i) LBL2_1x[i]->clear();
  for (int i = 1; i <= 4; ++i) LBL_1x[i]->clear();
  for (int i = 1; i <= 4; ++i) LBL_1x[i]->hide();
  PBAR2->setValue(0);
}

void THARV2Form::ShowDay() {
  fw::TDayRecord rec;
  if (!ReadCurrentRow(rec)) {
    ClearDayView();
    return;
  }
  const int tank = SelectedTank();
  const int y2 = rec.Year - 1900;
  LBL_01->setText(Q(Fmt("19%2d年", y2)));
  LBL_02->setText(Q(Fmt("%2d月", static_cast<int>(rec.Month))));
  LBL_03->setText(Q(Fmt("%2d日", static_cast<int>(rec.Day))));
  LBL_10->setText(Q(Fmt("19%2d年 %2d月 %2d日", y2, static_cast<int>(rec.Month), static_cast<int>(rec.Day))));

  const double temperature = rec.Values[1];
  const double precipitation = rec.Values[2];
  const double level = rec.Values[5 + tank];
  const double capacity = sim_.Parameters.TankCapacity[tank];
  const double fill = capacity > 0 ? level / capacity * 100 : 0;
  const double mains = std::max(0.0, static_cast<double>(sim_.Parameters.MonthlyUse[rec.Month]) - level);
  LBL2_1x[1]->setText(Q(fw::FloatToTextDigits(temperature, 7, 1)));
  LBL2_1x[2]->setText(Q(fw::FloatToTextDigits(precipitation, 7, 0)));
  LBL2_1x[3]->setText(Q(fw::FloatToTextDigits(sim_.Parameters.MonthCoef[rec.Month], 7, 2)));
  LBL2_1x[4]->setText(Q(fw::FloatToTextDigits(rec.Values[3], 7, 0)));
  LBL2_1x[5]->setText(Q(fw::FloatToTextDigits(rec.Values[4], 7, 0)));
  LBL2_1x[6]->setText(Q(fw::FloatToTextDigits(rec.Values[5], 7, 0)));
  LBL2_1x[7]->setText(Q(fw::FloatToTextDigits(level, 7, 0)));
  LBL2_1x[8]->setText(Q(fw::FloatToTextDigits(fill, 7, 0)));

  LBL_1x[1]->setText(Q(Fmt("気温%5.1f ℃", temperature)));
  LBL_1x[2]->setText(Q(Fmt("降水量%4.0f mm", precipitation)));
  LBL_1x[3]->setText(Q(Fmt("貯水量%7.0f ﾘｯﾄﾙ", level)));
  LBL_1x[4]->setText(Q(Fmt("水道水%7.0f ﾘｯﾄﾙ", mains)));
  SetLabelColour(LBL_1x[2], fw::ColorIf(precipitation > 0, 12, 13));
  SetLabelColour(LBL_1x[3], fw::ColorIf(level > 0, 12, 13));
  SetLabelColour(LBL_1x[4], fw::ColorIf(mains > 0, 6, 7));
  for (int i = 1; i <= 4; ++i) LBL_1x[i]->show();
  PlacePictureLabels();
  PBAR2->setValue(static_cast<int>(std::clamp<int64_t>(fw::Round(fill), 0, 100)));
}

void THARV2Form::SyncUpDowns() {
  fw::SetUpDownSilently(UPDN[1], ViewYear);
  fw::SetUpDownSilently(UPDN[2], ViewMonth);
  fw::SetUpDownSilently(UPDN[3], ViewDay);
}

void THARV2Form::GotoDay(int year, int month, int day) {
  ViewYear = year;
  ViewMonth = month;
  ViewDay = day;
  ShowDay();
  SyncUpDowns();
}

void THARV2Form::UpDownClick(int tag) {
  if (tag < 1 || tag > 3 || PlaybackRunning) return;
  const int position = UPDN[tag]->value();
  if (tag == 1) {
    ViewYear = std::clamp(position, kFirstYear, kLastYear);
    ViewMonth = 1;
    ViewDay = 1;
    LoadDayFile(ViewYear);
  } else if (tag == 2) {
    ViewMonth = std::clamp(position, 1, 12);
    ViewDay = 1;
  } else {
    const ViewDate next = StepViewDay({ViewYear, ViewMonth, ViewDay}, position);
    ViewMonth = next.month;
    ViewDay = next.day;
  }
  ShowDay();
  SyncUpDowns();
  UpdateControls();
}

// ---- Commands

void THARV2Form::ExecuteClick() {
  if (Calculating || PlaybackRunning) return;
  fw::MsgDialog(J("この計算条件で実行しますか？"), 2, 2);
  if (!fw::DialogYes) return;
  // Saving removes the folder's old results; a case that could not be saved is not run.
  if (HARVForm && !HARVForm->SaveCalcFile()) return;

  QPointer<THARV2Form> self(this);
  Calculating = true;  // the run holds it until it ends; set here so the commands go off first
  UpdateControls();
  MainWindowUpdateState();
  const bool ok = sim_.RunSimulation();
  if (!self) return;
  if (!ok) {
    // The run has reported why; no completion note, the view stays as it was.
    Calculating = false;
    UpdateControls();
    MainWindowUpdateState();
    return;
  }
  // Screen 3's pages belong to the old results.
  if (HARVForm) {
    if (QMdiSubWindow* screen3 = HARVForm->ScreenWindow(3)) {
      // Out of the MDI area and nameless at once, freed when control is back in the event loop
      // (as the main window frees its screens).
      screen3->widget()->setObjectName(QString());
      screen3->hide();
      HARVForm->MDI->removeSubWindow(screen3);
      screen3->deleteLater();
      HARV3Form = nullptr;
    }
  }
  fw::MsgDialog(J("雨水利用計算を終了しました。"), 1, 1);
  if (!self) return;
  LoadDayFile(kFirstYear);
  GotoDay(kFirstYear, 1, 1);
  RefreshConditions();
  MainWindowUpdateState();
  fw::MoveMouseToControl(BBTN1);
}

void THARV2Form::PlaybackClick() {
  if (PlaybackRunning) {
    // The second press: the running loop ends at its next day.
    PlaybackRunning = false;
    SBTN_01->setText(Q("連続再生"));
    return;
  }
  if (Calculating) return;
  PlaybackRunning = true;
  UpdateControls();
  MainWindowUpdateState();
  fw::ShowStatus(J("※連続再生中．．．"));
  if (ViewMonth == 12 && ViewDay == 31) {
    ViewMonth = 1;
    ViewDay = 1;
  }
  QPointer<THARV2Form> self(this);
  fw::TDayRecord rec;
  if (ReadCurrentRow(rec)) {
    const int last = static_cast<int>(fw::ResultLines.size()) - fw::kDayHeaderLines;
    for (int row = DayFileRow(ViewYear, ViewMonth, ViewDay); row <= last && PlaybackRunning; ++row) {
      int count = 0;
      if (!fw::ReadDayRow(fw::ResultLines, row, count, rec) || rec.Year != ViewYear) break;
      ViewMonth = rec.Month;
      ViewDay = rec.Day;
      ShowDay();
      SyncUpDowns();
      fw::WaitSeconds(0.2);
      if (!self) return;
    }
  }
  PlaybackRunning = false;
  UpdateControls();
  MainWindowUpdateState();
  fw::ShowStatus(J("【再生終了】"));
}

void THARV2Form::NextPrecipClick() {
  if (PlaybackRunning) return;
  fw::TDayRecord rec;
  if (!ReadCurrentRow(rec)) return;
  const int last = static_cast<int>(fw::ResultLines.size()) - fw::kDayHeaderLines;
  const int row = DayFileRow(ViewYear, ViewMonth, ViewDay);
  if (row >= last) return;
  for (int r = row + 1; r <= last; ++r) {
    int count = 0;
    if (!fw::ReadDayRow(fw::ResultLines, r, count, rec)) return;
    if (rec.Values[2] > 0 || r == last) {
      GotoDay(rec.Year, rec.Month, rec.Day);
      return;
    }
  }
}

void THARV2Form::closeEvent(QCloseEvent* e) {
  // A run or the playback works inside this window's handlers: it stays open until they end.
  if (Calculating || PlaybackRunning) {
    e->ignore();
    return;
  }
  QWidget::closeEvent(e);
}

// ---- Registration

void RegisterScreen2() {
  ScreenEntry entry;
  entry.create = [] { return static_cast<QWidget*>(new THARV2Form); };
  entry.refresh = [](QWidget* form, int) {
    if (auto* screen = qobject_cast<THARV2Form*>(form)) screen->RefreshConditions();
  };
  RegisterScreen(2, std::move(entry));
}

}  // namespace app
