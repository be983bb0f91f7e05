#include "views/chart_panel.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "chart/axis.h"
#include "chart/series.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/messages.h"
#include "framework/ui/form_utils.h"
#include "platform/cp932.h"
#include "platform/qt/qt_text.h"
#include "platform/ui.h"
#include "framework/ui/picture_save.h"

namespace views {

using platform::J;

namespace chartops {

chart::TCustomChart* CurrentChart = nullptr;

void InitChartViewRect(SZDataType& view) { view = SZDataType{}; }

void InitChartPanelState(CPDataType& state) { state = CPDataType{}; }

void SetChartAxisTitle(chart::TCustomChart* chart, const std::string& axis, const std::string& text) {
  if (!chart) return;
  chart::TChartAxis* a = axis == "B"   ? chart->BottomAxis()
                         : axis == "L" ? chart->LeftAxis()
                         : axis == "R" ? chart->RightAxis()
                         : axis == "T" ? chart->TopAxis()
                                       : nullptr;
  if (a) a->Title().SetCaption(text);
}

std::string MonthLabel(int month) {
  static const char* const kMonths[12] = {"１月", "２月", "３月", "４月", "５月",  "６月",
                                          "７月", "８月", "９月", "１０月", "１１月", "１２月"};
  if (month >= 1 && month <= 12) return J(kMonths[month - 1]);
  return std::to_string(month);
}

namespace {

// The field's text without blanks; empty for a missing value.
std::string Field(const std::string& row, int start, int width) {
  if (start < 0 || start >= static_cast<int>(row.size())) return {};
  std::string f = row.substr(static_cast<size_t>(start), static_cast<size_t>(width));
  f.erase(std::remove(f.begin(), f.end(), ' '), f.end());
  return f;
}

}  // namespace

void FillChartSeriesFromRows(chart::TCustomChart* chart, const std::vector<std::string>* rows, int firstRow,
                             int lastRow, int startColumn, int width, int count, double factor) {
  CurrentChart = chart;
  if (!chart || !rows) return;
  platform::CurrentUi().SetCursorShape(platform::CursorShape::Wait);
  chart->UndoZoom();
  chart->hide();
  chart->SetRepaintEnabled(false);
  const int n = std::min(chart->SeriesCount(), lastRow - firstRow + 1);
  for (int k = 1; k <= n; ++k) {
    chart::TChartSeries* s = chart->SeriesAt(k - 1);
    s->Clear();
    const int index = firstRow + k - 1;
    const std::string row =
        index >= 0 && index < static_cast<int>(rows->size()) ? (*rows)[static_cast<size_t>(index)] : std::string();
    for (int j = 1; j <= count; ++j) {
      const std::string f = Field(row, startColumn + width * (j - 1), width);
      const std::string label = count == 12 ? MonthLabel(j) : std::to_string(j);
      if (f.empty()) {
        s->AddNull(label);
      } else {
        s->AddY(fw::TextToFloat(f) * factor, label);
      }
    }
  }
  chart->SetRepaintEnabled(true);
  chart->Invalidate();
  chart->show();
  platform::CurrentUi().SetCursorShape(platform::CursorShape::Default);
}

void ScrollChartAxis(chart::TCustomChart* chart, int step, const CPDataType& /*state*/) {
  if (!chart) return;
  double offset = 0;
  switch (step) {
    case 1: offset = -10; break;
    case 2: offset = -1; break;
    case 4: offset = 1; break;
    case 5: offset = 10; break;
    default: return;
  }
  chart->BottomAxis()->ShiftRange(offset, true);
  chart->Invalidate();
}

std::string XValueText(double x) {
  // Days since 1899/12/30, as the chart's date-time values count.
  const double days = std::floor(x);
  int64_t seconds = static_cast<int64_t>(std::llround((x - days) * 86400.0));
  int64_t z = static_cast<int64_t>(days) - 25569 + 719468;  // days since 1970/01/01, shifted to 0000/03/01
  if (seconds >= 86400) {
    seconds -= 86400;
    ++z;
  }
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  char text[96];
  std::snprintf(text, sizeof text, "%04lld/%02lld/%02lld %02lld:%02lld:%02lld", static_cast<long long>(y),
                static_cast<long long>(m), static_cast<long long>(d), static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

void ShowChartError(const std::string& message) {
  platform::CurrentUi().ShowMessageBox(message, "", platform::DialogKind::Error, platform::DialogButtons::Ok);
}

}  // namespace chartops

namespace {

// Written in pieces so that no "??/" trigraph stands in one literal.
constexpr const char* kUnknownX = "????" "/??" "/?? ??:??:??";

QToolButton* PanelButton(QWidget* parent, const char* name, const char* caption, const char* hint, int tag,
                         const QRect& r) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(QString::fromUtf8(caption));
  b->setToolTip(QString::fromUtf8(hint));
  b->setFocusPolicy(Qt::NoFocus);
  b->setAutoRaise(false);
  b->setGeometry(r);
  if (tag) fw::SetTag(b, tag);
  return b;
}

QLabel* PositionLabel(QWidget* parent, const char* name, const char* text, const QRect& r) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setObjectName(name);
  QFont f = l->font();
  f.setPixelSize(9);
  l->setFont(f);
  l->setGeometry(r);
  return l;
}

// The chart as the picture save dialog's source.
class ChartExport final : public fw::ChartSource {
 public:
  explicit ChartExport(chart::TCustomChart* chart) : chart_(chart) {}
  bool WriteMetafileFile(const std::string& path) override { return chart_->WriteMetafileFile(path); }
  bool WriteBitmapFile(const std::string& path) override { return chart_->WriteBitmapFile(path); }

 private:
  chart::TCustomChart* chart_;
};

}  // namespace

TCPNLFrame::TCPNLFrame(QWidget* parent) : QFrame(parent) {
  setObjectName("CPNLFrame");
  resize(135, 93);
  PNL_0 = new QFrame(this);
  PNL_0->setObjectName("PNL_0");
  PNL_0->setFrameShape(QFrame::Panel);
  PNL_0->setFrameShadow(QFrame::Raised);
  PNL_0->setAutoFillBackground(true);
  PNL_0->setGeometry(0, 0, 135, 93);
  PNL_0->installEventFilter(this);
  LBL_0 = new QLabel(QString::fromUtf8("グラフ操作"), PNL_0);
  LBL_0->setObjectName("LBL_0");
  LBL_0->setGeometry(3, 2, 56, 14);
  LBL_0->setAttribute(Qt::WA_TransparentForMouseEvents);
  // Row 1: legend, clear, save, close; zoom at the wide sizes.
  SBTN_1 = PanelButton(PNL_0, "SBTN_1", "凡例", "凡例表示ON/OFF", 0, QRect(2, 17, 26, 20));
  SBTN_2 = PanelButton(PNL_0, "SBTN_2", "ｸﾘｱｰ", "全てのチェック", 0, QRect(28, 17, 26, 20));
  SBTN_5 = PanelButton(PNL_0, "SBTN_5", "保存", "グラフ保存", 0, QRect(54, 17, 24, 20));
  SBTN_6 = PanelButton(PNL_0, "SBTN_6", "×", "閉じる", 0, QRect(62, 1, 16, 15));
  SBTN_3 = PanelButton(PNL_0, "SBTN_3", "＋", "拡大", 1, QRect(80, 17, 26, 20));
  SBTN_4 = PanelButton(PNL_0, "SBTN_4", "－", "縮小", 2, QRect(106, 17, 26, 20));
  // Row 2: scrolling and the whole view, the year box.
  SBTN_LL = PanelButton(PNL_0, "SBTN_LL", "≪", "左へ１０", 1, QRect(2, 38, 15, 17));
  SBTN_L = PanelButton(PNL_0, "SBTN_L", "<", "左へ１", 2, QRect(17, 38, 15, 17));
  SBTN_AL = PanelButton(PNL_0, "SBTN_AL", "全", "全体表示", 3, QRect(32, 38, 16, 17));
  SBTN_R = PanelButton(PNL_0, "SBTN_R", ">", "右へ１", 4, QRect(48, 38, 15, 17));
  SBTN_RR = PanelButton(PNL_0, "SBTN_RR", "≫", "右へ１０", 5, QRect(63, 38, 15, 17));
  SBTN_7 = PanelButton(PNL_0, "SBTN_7", "全体", "全体表示", 0, QRect(80, 38, 26, 17));
  CBTN_1 = new QCheckBox(QString::fromUtf8("年間"), PNL_0);
  CBTN_1->setObjectName("CBTN_1");
  CBTN_1->setToolTip(QString::fromUtf8("年間表示ON/OFF"));
  CBTN_1->setFocusPolicy(Qt::NoFocus);
  CBTN_1->setGeometry(107, 38, 27, 17);
  // Rows 3 and 4: the positions of the whole graph and of the visible part.
  LBL_1_1 = PositionLabel(PNL_0, "LBL_1_1", kUnknownX, QRect(2, 57, 90, 9));
  LBL_1_2 = PositionLabel(PNL_0, "LBL_1_2", "Left =??????", QRect(92, 57, 42, 9));
  LBL_2_1 = PositionLabel(PNL_0, "LBL_2_1", kUnknownX, QRect(2, 66, 90, 9));
  LBL_2_2 = PositionLabel(PNL_0, "LBL_2_2", "Right=??????", QRect(92, 66, 42, 9));
  LBL_3_1 = PositionLabel(PNL_0, "LBL_3_1", kUnknownX, QRect(2, 75, 90, 9));
  LBL_3_2 = PositionLabel(PNL_0, "LBL_3_2", "Left =??????", QRect(92, 75, 42, 9));
  LBL_4_1 = PositionLabel(PNL_0, "LBL_4_1", kUnknownX, QRect(2, 84, 90, 9));
  LBL_4_2 = PositionLabel(PNL_0, "LBL_4_2", "Right=??????", QRect(92, 84, 42, 9));

  connect(SBTN_1, &QToolButton::clicked, this, [this] { SBTN_1Click(); });
  connect(SBTN_2, &QToolButton::clicked, this, [this] { SBTN_2Click(); });
  connect(SBTN_3, &QToolButton::clicked, this, [this] { ZoomClick(1); });
  connect(SBTN_4, &QToolButton::clicked, this, [this] { ZoomClick(2); });
  for (QToolButton* b : {SBTN_LL, SBTN_L, SBTN_R, SBTN_RR}) {
    connect(b, &QToolButton::clicked, this, [this, b] { ScrollClick(fw::Tag(b)); });
  }
  connect(SBTN_AL, &QToolButton::clicked, this, [this] { WholeClick(); });
  connect(SBTN_7, &QToolButton::clicked, this, [this] { WholeClick(); });
  connect(SBTN_5, &QToolButton::clicked, this, [this] { SBTN_5Click(); });
  connect(SBTN_6, &QToolButton::clicked, this, [this] { SBTN_6Click(); });
  connect(CBTN_1, &QCheckBox::clicked, this, [this] { CBTN_1Click(); });
  chartops::InitChartPanelState(state_);
}

void TCPNLFrame::AttachChart(int mode) {
  chart::TCustomChart* chart = chartops::CurrentChart;
  if (!chart) return;
  chart_ = chart;
  const int units = mode % 10, tens = mode / 10;
  if ((units == 1 || units == 2) && tens >= 1 && tens <= 3) {
    const int w = units == 1 ? 80 : 135;
    const int h = tens == 1 ? 41 : tens == 2 ? 57 : 93;
    if (parentWidget() != chart) setParent(chart);
    PNL_0->setGeometry(0, 0, w, h);
    setGeometry(chart->width() - w - 5, 5, w, h);
    SBTN_6->move(w - 18, 1);
    state_.Mode = static_cast<int16_t>(mode);
    show();
    raise();
  }
  state_.ZoomNotAllowed = !chart->Zoom().Allow();
  state_.Zoomed = false;
  state_.AllHidden = false;
  state_.Ratio = 1.0;
  state_.PointCount = 0;
  chart->SetScrollMouseButton(platform::TMouseButton::mbLeft);
  UpdateButtons();
  if (mode != 0) fw::MovePointerToControl(SBTN_6);
}

void TCPNLFrame::UpdateButtons() {
  if (!chart_) return;
  const bool wide = state_.Mode > 20;
  SBTN_3->setVisible(wide);
  SBTN_4->setVisible(wide);
  const bool zoomAllowed = !state_.ZoomNotAllowed;
  SBTN_3->setEnabled(zoomAllowed);
  const bool scroll = state_.Zoomed && zoomAllowed;
  for (QToolButton* b : {SBTN_4, SBTN_7, SBTN_LL, SBTN_L, SBTN_AL, SBTN_R, SBTN_RR}) b->setEnabled(scroll);
  SBTN_5->setEnabled(true);
  ShowViewPositions();
}

void TCPNLFrame::ReadChartView(bool changed) {
  if (!chart_) return;
  state_.Zoomed = changed;
  if (!changed) {
    state_.Ratio = 1.0;
    state_.ChartRect = chart_->ChartRect();
  }
  if (chart_->SeriesCount() == 0) {
    chartops::InitChartViewRect(state_.Whole);
    chartops::InitChartViewRect(state_.Part);
  } else {
    chart::TChartSeries* first = chart_->SeriesAt(0);
    state_.PointCount = first->Count();
    SZDataType& whole = state_.Whole;
    whole.Rect = chart_->ChartRect();
    whole.X1 = first->Count() > 0 ? first->XValue(0) : 0;
    whole.X2 = first->Count() > 0 ? first->XValue(first->Count() - 1) : 0;
    whole.X1Text = chartops::XValueText(whole.X1);
    whole.X2Text = chartops::XValueText(whole.X2);
    whole.Width = std::max(0, whole.Rect.right - whole.Rect.left + 1);
    SZDataType& part = state_.Part;
    const chart::TChartAxis* bottom = chart_->BottomAxis();
    part.Rect = chart::TRect{bottom->IStartPos(), chart_->ChartRect().top, bottom->IEndPos(), chart_->ChartRect().bottom};
    // The X values at the axis area's ends: after a zoom or a scroll the bottom axis's new ends
    // (the pixels map them once the chart is drawn again), at rest the whole graph's.
    part.X1 = changed ? bottom->Minimum() : whole.X1;
    part.X2 = changed ? bottom->Maximum() : whole.X2;
    part.X1Text = chartops::XValueText(part.X1);
    part.X2Text = chartops::XValueText(part.X2);
    part.Width = std::max(0, part.Rect.right - part.Rect.left + 1);
    // How much of the whole X range the visible part shows: whole span over visible span.
    const double visible = part.X2 - part.X1;
    state_.Ratio = changed && part.Width > 0 && visible > 0 ? std::max(0.0, (whole.X2 - whole.X1) / visible) : 1.0;
  }
  UpdateButtons();
}

void TCPNLFrame::ShowViewPositions() {
  LBL_0->setText(QString());
  auto set = [](QLabel* label, const std::string& text, const char* hintPrefix) {
    label->setText(QString::fromStdString(text));
    label->setToolTip(QString::fromUtf8(hintPrefix) + QString::fromStdString(text));
  };
  char pixels[32];
  set(LBL_1_1, state_.Whole.X1Text, "全体グラフ表示位置(左端) ");
  std::snprintf(pixels, sizeof pixels, "Left =%6d", state_.Whole.Rect.left);
  set(LBL_1_2, pixels, "全体グラフ表示位置(左端) ");
  set(LBL_2_1, state_.Whole.X2Text, "全体グラフ表示位置(右端) ");
  std::snprintf(pixels, sizeof pixels, "Right=%6d", state_.Whole.Rect.right);
  set(LBL_2_2, pixels, "全体グラフ表示位置(右端) ");
  set(LBL_3_1, state_.Part.X1Text, "部分グラフ表示位置(左端) ");
  std::snprintf(pixels, sizeof pixels, "Left =%6d", state_.Part.Rect.left);
  set(LBL_3_2, pixels, "部分グラフ表示位置(左端) ");
  set(LBL_4_1, state_.Part.X2Text, "部分グラフ表示位置(右端) ");
  std::snprintf(pixels, sizeof pixels, "Right=%6d", state_.Part.Rect.right);
  set(LBL_4_2, pixels, "部分グラフ表示位置(右端) ");
}

void TCPNLFrame::SBTN_1Click() {
  if (!chart_) return;
  chart_->Legend().SetVisible(!chart_->Legend().Visible());
}

void TCPNLFrame::SBTN_2Click() {
  if (!chart_) return;
  if (SBTN_2->text() == QString::fromUtf8("ｸﾘｱｰ")) {
    state_.AllHidden = true;
    SBTN_2->setText(QString::fromUtf8("ﾁｪｯｸ"));
  } else {
    state_.AllHidden = false;
    SBTN_2->setText(QString::fromUtf8("ｸﾘｱｰ"));
  }
  const bool keepLast = CBTN_1->isVisibleTo(this) && CBTN_1->isChecked();
  const int n = chart_->SeriesCount();
  for (int i = 0; i < n; ++i) {
    if (keepLast && i == n - 1) continue;
    chart_->SeriesAt(i)->SetActive(!state_.AllHidden);
  }
  UpdateButtons();
}

void TCPNLFrame::ZoomClick(int tag) {
  if (!chart_) return;
  chart_->ZoomByPercent(tag == 1 ? 130 : 70);
  state_.Zoomed = true;
  ReadChartView(true);
}

void TCPNLFrame::ScrollClick(int tag) {
  if (!chart_) return;
  chartops::ScrollChartAxis(chart_, tag, state_);
  ReadChartView(true);
}

void TCPNLFrame::WholeClick() {
  if (!chart_) return;
  chartops::CurrentChart = chart_;
  AttachChart(0);
  chart_->UndoZoom();
  ReadChartView(false);
}

void TCPNLFrame::SBTN_5Click() {
  if (!chart_) return;
  const std::string& path = saveFileName_;
  if (path.find(".EMF") != std::string::npos) {
    ChartExport source(chart_);
    fw::ChartSource* before = fw::CurrentChart;
    fw::CurrentChart = &source;
    fw::ShowPictureSaveDialog(J("チャート"), path, window());
    fw::CurrentChart = before;
    fw::MovePointerToControl(SBTN_5);
  } else {
    fw::MsgDialog(J("保存ファイル名 ： ") + path + "\r\r" + J("ファイル名の拡張子が正しくありません。（拡張子は'.EMF'です）"),
                  3, 1);
  }
}

void TCPNLFrame::SBTN_6Click() {
  if (!chart_) return;
  chart_->hide();
  state_.Spare = 0;
  if (OnClose) OnClose(this);
}

void TCPNLFrame::CBTN_1Click() {
  state_.YearView = CBTN_1->isChecked();
  state_.Spare = 0;
}

void TCPNLFrame::resizeEvent(QResizeEvent* e) {
  QFrame::resizeEvent(e);
  const int16_t mode = state_.Mode;
  chartops::InitChartPanelState(state_);
  state_.Mode = mode;  // the layout the panel was given stays
  if (chart_) state_.ZoomNotAllowed = !chart_->Zoom().Allow();
  UpdateButtons();
}

bool TCPNLFrame::eventFilter(QObject* watched, QEvent* e) {
  // Dragging the panel moves the frame over its chart.
  if (watched == PNL_0 && fw::IsMouseDragEvent(e)) {
    fw::DragPanelByMouse(this, e);
    return true;
  }
  return QFrame::eventFilter(watched, e);
}

}  // namespace views
