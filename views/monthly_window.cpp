#include "views/monthly_window.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "chart/axis.h"
#include "chart/bar.h"
#include "chart/chart.h"
#include "chart/fast_line.h"
#include "framework/convert.h"
#include "framework/drawing.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/form_utils.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/hardcopy.h"
#include "framework/ui/input_behaviour.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/mbcs.h"
#include "platform/qt/qt_text.h"
#include "platform/ui.h"
#include "views/chart_panel.h"
#include "views/station_choosers.h"

namespace views {

using platform::J;

namespace {

constexpr int kFileListCode = 9000;
const char* const kCr2 = "\r\r";

std::string Trim(const std::string& s) {
  const size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

QLabel* Label(QWidget* parent, const char* name, const char* text, const QRect& r) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setObjectName(name);
  l->setGeometry(r);
  return l;
}

QToolButton* Button(QWidget* parent, const char* name, const char* text, const char* hint, const QRect& r) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(QString::fromUtf8(text));
  b->setToolTip(QString::fromUtf8(hint));
  b->setFocusPolicy(Qt::NoFocus);
  b->setGeometry(r);
  return b;
}

void SetText(QLabel* label, const std::string& cp932) { label->setText(platform::ToQString(cp932)); }

std::string MonthlyListPath() { return fw::DatDir + J("月次ﾌｧｲﾙ.DAT"); }

struct SeriesSpec {
  bool bar;
  const char* title;  // UTF-8
  chart::TColor color;
  int axis;  // 0 left, 1 right, 2 precipitation, 3 humidity
};

const std::vector<SeriesSpec>& SeriesOf(int number) {
  static const std::vector<SeriesSpec> overview = {
      {true, "全日射量", 0x0080FF, 1},  {true, "降水量", 0xFF8000, 2},   {true, "垂直壁南", 0x00A000, 1},
      {false, "平均気温", 0x0000FF, 0}, {false, "最高気温", 0x000080, 0}, {false, "最低気温", 0xFF0000, 0},
      {false, "極暑気温", 0x0080C0, 0}, {false, "極寒気温", 0x800000, 0}, {false, "相対湿度", 0x808000, 3},
      {false, "土中温度", 0x800080, 0},
  };
  static const std::vector<SeriesSpec> temperatures = {
      {false, "最高気温", 0x000080, 0}, {false, "最低気温", 0xFF0000, 0}, {false, "極暑気温", 0x0080C0, 0},
      {false, "極寒気温", 0x800000, 0}, {false, "土中温度", 0x800080, 0}, {false, "平均気温", 0x0000FF, 0},
  };
  static const std::vector<SeriesSpec> solar = {
      {true, "全日射量", 0x0080FF, 0}, {true, "４寸傾東", 0xFF8000, 0}, {true, "４寸傾西", 0x00A000, 0},
      {true, "４寸傾南", 0x0000FF, 0}, {true, "４寸傾北", 0x000080, 0}, {true, "垂直壁東", 0xFF0000, 0},
      {true, "垂直壁西", 0x808000, 0}, {true, "垂直壁南", 0x800080, 0}, {true, "垂直壁北", 0x808080, 0},
  };
  return number == 1 ? overview : number == 2 ? temperatures : solar;
}

void FixAxis(chart::TChartAxis* axis, double minimum, double maximum, double increment) {
  axis->SetMinMax(minimum, maximum);
  axis->SetIncrement(increment);
}

// The overview chart's radiation axis: −3000..6000 by 1500 for the grid's kcal values. For
// values multiplied by `factor` (SI units) the step is 1500 × factor rounded up to 1, 2 or 5
// times a power of ten and the range rounded out to it, so that every station's values fit and
// the zero stays level with the temperature axis's. `reach` steps more below and above follow
// the temperature axis's reach (OverviewReach).
void FixRadiationAxis(chart::TChartAxis* axis, double factor, const OverviewReach& reach) {
  double step = 1500, minimum = -3000, maximum = 6000;
  if (factor != 1) {
    const double raw = 1500 * factor;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    step = 10 * decade;
    for (double m : {1.0, 2.0, 5.0}) {
      if (m * decade >= raw) {
        step = m * decade;
        break;
      }
    }
    minimum = std::floor(-3000 * factor / step) * step;
    maximum = std::ceil(6000 * factor / step) * step;
  }
  FixAxis(axis, minimum - reach.down * step, maximum + reach.up * step, step);
}

// The overview chart's four value axes for a reach: temperature −20..40 by 10, radiation as
// above, precipitation −400..800 by 200, humidity −50..100 by 25, each with `reach` more of its
// own steps below and above.
void FixOverviewAxes(chart::TChart& c, double factor, const OverviewReach& reach) {
  FixAxis(c.LeftAxis(), -20 - 10.0 * reach.down, 40 + 10.0 * reach.up, 10);
  FixRadiationAxis(c.RightAxis(), factor, reach);
  if (chart::TChartAxis* precipitation = c.CustomAxes().Axis(0))
    FixAxis(precipitation, -400 - 200.0 * reach.down, 800 + 200.0 * reach.up, 200);
  if (chart::TChartAxis* humidity = c.CustomAxes().Axis(1))
    FixAxis(humidity, -50 - 25.0 * reach.down, 100 + 25.0 * reach.up, 25);
}

}  // namespace

// ---- Tables -------------------------------------------------------------------------------------

OverviewReach OverviewReachOf(const chart::TChart& c) {
  OverviewReach reach;
  for (int k = 0; k < c.SeriesCount(); ++k) {
    const chart::TChartSeries* s = c.SeriesAt(k);
    if (s->VertAxis() != chart::aLeftAxis) continue;
    for (int i = 0; i < s->Count(); ++i) {
      if (s->IsNull(i)) continue;
      const double t = s->YValue(i);
      if (t < -20) reach.down = std::max(reach.down, static_cast<int>(std::ceil((-20 - t) / 10)));
      if (t > 40) reach.up = std::max(reach.up, static_cast<int>(std::ceil((t - 40) / 10)));
    }
  }
  return reach;
}

std::string MonthlyChartRows(int number) {
  return number == 1 ? "13,2,20,1,9..12,23,24" : number == 2 ? "9..12,24,1" : "13..21";
}

int MonthlyRowColorNumber(int row) {
  if (row == 1 || row == 24) return 164;
  if (row >= 6 && row <= 8) return 168;
  if (row == 9 || row == 11) return 176;
  if (row == 10 || row == 12 || row == 23) return 187;
  if (row == 13) return 201;
  return 0;
}

std::string MonthlyClickPrefix(int row) {
  if ((row >= 1 && row <= 4) || (row >= 9 && row <= 12)) return {};
  if (row == 5 || row == 23 || row == 24) return J("平均");
  if (row >= 6 && row <= 8) return J("１日平均");
  return J("積算");
}

namespace {

// The byte offset of `needle` in `text` from `from`, found only at character boundaries (a
// double-byte character's trail byte never starts a match); npos when absent.
size_t FindCp932(const std::string& text, const std::string& needle, size_t from = 0) {
  for (size_t i = 0; i < text.size();) {
    if (i >= from && text.compare(i, needle.size(), needle) == 0) return i;
    const auto c = static_cast<unsigned char>(text[i]);
    i += platform::IsCp932LeadByte(c) ? 2 : 1;
  }
  return std::string::npos;
}

}  // namespace

std::string MonthlyClickText(int row, int col, const std::string& explanation, const std::string& itemName,
                             const std::string& cell) {
  std::string text = Trim(explanation);
  const bool year = col == 14;
  if (year) {
    const size_t m = FindCp932(text, J("月"));
    if (m != std::string::npos) text.replace(m, J("月").size(), J("年"));
  }
  std::string unit;
  const size_t open = FindCp932(text, J("（"));
  if (open != std::string::npos) {
    const size_t close = FindCp932(text, J("）"), open);
    unit = close == std::string::npos ? text.substr(open) : text.substr(open, close - open + J("）").size());
  }
  const std::string name = MonthlyClickPrefix(row) + Trim(itemName);
  const std::string value = Trim(cell);
  const std::string head = year ? J("年間の") : chartops::MonthLabel(col - 1) + J("の");
  const std::string sentence = value.empty() ? head + name + J("はデータがありません。")
                                             : head + name + J("は") + value + " " + unit + J("です。");
  return fw::UnitSymbolText(text + kCr2 + sentence);
}

void SetupMonthlyChart(chart::TChart& c, int number) {
  c.SetView3D(false);
  c.SetAllowPanning(chart::pmNone);
  c.Zoom().SetAllow(false);
  chart::TChartLegend& legend = c.Legend();
  legend.SetAlignment(chart::laTop);
  legend.SetCheckBoxes(true);
  legend.SetLegendStyle(chart::lsSeries);
  legend.SetFontSeriesColor(true);
  legend.Symbol().SetVisible(false);
  legend.SetTopPos(0);
  c.BottomAxis()->SetLabelStyle(chart::talText);
  c.SetBackColor(0xFFFFFF);
  chart::TChartAxis* precipitation = nullptr;
  chart::TChartAxis* humidity = nullptr;
  if (number == 1) {
    c.LeftAxis()->Title().SetCaption(J("温度（℃）"));
    // The precipitation and humidity scales stand outside the left and right axes, with their
    // zero and grid lines level with the temperature axis.
    precipitation = c.CustomAxes().Add();
    precipitation->SetOtherSide(true);
    precipitation->SetPositionUnits(chart::muPixels);
    precipitation->SetPositionPercent(-62);
    precipitation->Title().SetCaption(J("降水量（mm）"));
    precipitation->Grid().SetVisible(false);
    humidity = c.CustomAxes().Add();
    humidity->SetPositionUnits(chart::muPixels);
    humidity->SetPositionPercent(-52);
    humidity->Title().SetCaption(J("湿度（％）"));
    humidity->Grid().SetVisible(false);
    FixOverviewAxes(c, 1, {});
    c.SetMarginUnits(chart::muPixels);
    c.SetMarginLeft(100);
    c.SetMarginRight(110);
  } else if (number == 2) {
    c.LeftAxis()->SetAutomatic(true);
    c.LeftAxis()->SetIncrement(10);
    c.LeftAxis()->Title().SetCaption(J("温度（℃）"));
  } else {
    c.LeftAxis()->SetAutomaticMaximum(true);
    c.LeftAxis()->SetAutomaticMinimum(false);
    c.LeftAxis()->SetMinimum(0);
    c.LeftAxis()->SetIncrement(1000);
  }
  for (const SeriesSpec& spec : SeriesOf(number)) {
    chart::TChartSeries* s = nullptr;
    if (spec.bar) {
      auto* bar = new chart::TBarSeries();
      bar->SetBarWidthPercent(70);
      bar->BarPen().SetVisible(false);
      s = bar;
    } else {
      auto* line = new chart::TFastLineSeries();
      line->LinePen().SetWidth(2);
      line->SetIgnoreNulls(false);  // a missing month is a gap in the line
      s = line;
    }
    s->Marks().SetVisible(false);
    s->SetTitle(J(spec.title));
    s->SetSeriesColor(spec.color);
    c.AddSeries(s);
    if (spec.axis == 1) s->SetVertAxis(chart::aRightAxis);
    if (spec.axis == 2) s->SetCustomVertAxis(precipitation);
    if (spec.axis == 3) s->SetCustomVertAxis(humidity);
  }
}

// ---- TMWDDispFrame ------------------------------------------------------------------------------

TMWDDispFrame::TMWDDispFrame(QWidget* parent) : QWidget(parent) {
  // What the charts cannot raise to us (their paints, their mouse handlers) is shown here.
  chart::SetChartErrorHook(chartops::ShowChartError);
  setObjectName("MWDDispFM");
  resize(760, 390);
  PNOINPFM = new TPNOINPFrame(this);
  PNOINPFM->move(4, 4);
  LBL10 = Label(this, "LBL10", "", QRect(160, 8, 300, 18));
  PNL_SI = Label(this, "PNL_SI", "", QRect(470, 6, 70, 20));
  PNL_SI->setAutoFillBackground(true);
  PNL_SI->setStyleSheet("background-color: yellow; border: 1px solid gray;");
  PNL_SI->setAlignment(Qt::AlignCenter);
  PNL_SI->setToolTip(QString::fromUtf8("説明文"));
  PNL_SI->installEventFilter(this);
  SBTN1 = Button(this, "SBTN1", "グラフ", "グラフ表示", QRect(548, 4, 50, 24));
  SBTN2 = Button(this, "SBTN2", "印刷", "画面をハードコピー印刷", QRect(600, 4, 40, 24));
  SBTN2->hide();
  SBTN3 = Button(this, "SBTN3", "ﾌｧｲﾙ", "他の月次気象データファイル入力表示（※開発者のみ）", QRect(704, 4, 50, 24));
  LBL7 = Label(this, "LBL7", "", QRect(8, 32, 200, 16));
  LBL8 = Label(this, "LBL8", "", QRect(210, 32, 100, 16));
  LBL3 = Label(this, "LBL3", "", QRect(320, 32, 300, 16));
  LBL4 = Label(this, "LBL4", "", QRect(8, 50, 250, 16));
  LBL5 = Label(this, "LBL5", "", QRect(260, 50, 260, 16));
  LBL_ERR = Label(this, "LBL_ERR", "-<未登録>-", QRect(530, 50, 90, 16));
  LBL_ERR->setStyleSheet("color: red;");
  LBL_ERR->hide();
  LBL9 = Label(this, "LBL9", "", QRect(8, 68, 360, 16));
  LBL11 = Label(this, "LBL11", "※数値をクリックすると正しい単位を表示します。", QRect(400, 68, 356, 16));

  STRG1 = new fw::TStrGridEx(this);
  STRG1->setObjectName("STRG1");
  STRG1->SetColCount(15);
  STRG1->SetRowCount(37);
  STRG1->SetFixedCols(2);
  STRG1->SetFixedRows(1);
  const int widths[15] = {66, 44, 42, 42, 42, 42, 42, 42, 42, 42, 42, 42, 42, 43, 49};
  for (int c = 0; c < 15; ++c) STRG1->SetColWidths(c, widths[c]);
  std::vector<std::string> titles = {J("  項  目"), J("単位※")};
  for (int m = 1; m <= 12; ++m) {
    const std::string month = chartops::MonthLabel(m);
    titles.push_back(m < 10 ? J("  ") + month : month);
  }
  titles.push_back(J(" 年 間"));
  STRG1->SetColTitles(titles);
  STRG1->OnDrawCell = [](fw::TStrGridEx* grid, int col, int row, const platform::Rect& rect, int) {
    if (col < 2 || row < 1) return;
    const int number = MonthlyRowColorNumber(row);
    fw::DrawGridCellColored(grid, rect, number ? fw::ColorOf(number) : 0xFFFFFF, grid->Cells(col, row));
  };
  STRG1->OnClick = [this](QWidget*) { GridClick(STRG1->Col(), STRG1->Row()); };

  PNL2 = new QWidget(this);
  PNL2->setObjectName("PNL2");
  PNL2->setAutoFillBackground(true);
  RBTN2_1 = new QRadioButton(QString::fromUtf8("気象概要"), PNL2);
  RBTN2_2 = new QRadioButton(QString::fromUtf8("温度"), PNL2);
  RBTN2_3 = new QRadioButton(QString::fromUtf8("日射量"), PNL2);
  int tag = 0;
  for (QRadioButton* r : {RBTN2_1, RBTN2_2, RBTN2_3}) {
    ++tag;
    r->setObjectName(QString("RBTN2_%1").arg(tag));
    fw::SetTag(r, tag);
    r->setFocusPolicy(Qt::NoFocus);
    r->setGeometry(32 + (tag - 1) * 90, 0, 86, 20);
    connect(r, &QRadioButton::clicked, this, [this, tag] { ChooseChart(tag); });
  }
  RBTN2_1->setChecked(true);
  for (int n = 1; n <= 3; ++n) {
    auto* c = new chart::TChart(PNL2);
    c->setObjectName(QString("CHAT%1").arg(n));
    SetupMonthlyChart(*c, n);
    c->hide();
    charts_[static_cast<size_t>(n - 1)] = c;
    auto* panel = new TCPNLFrame(c);
    panel->setObjectName(QString("CPNLFM%1").arg(n));
    panel->OnClose = [this](TCPNLFrame*) {
      UpdateChartState();
      fw::MovePointerToControl(SBTN1);
    };
    panels_[static_cast<size_t>(n - 1)] = panel;
  }
  CHAT1 = charts_[0];
  CHAT2 = charts_[1];
  CHAT3 = charts_[2];
  CPNLFM1 = panels_[0];
  CPNLFM2 = panels_[1];
  CPNLFM3 = panels_[2];
  PNL2->hide();

  PNL3 = new QWidget(this);
  PNL3->setObjectName("PNL3");
  PNL3->setAutoFillBackground(true);
  PNL3->setGeometry(160, 28, 420, 58);
  CBOX3_1 = new fw::TCBoxEx(PNL3);
  CBOX3_1->setObjectName("CBOX3_1");
  CBOX3_1->SetCellFrame(false);
  CBOX3_1->SetStyle(fw::TComboBoxStyle::csDropDownList);
  fw::SetTag(CBOX3_1, kFileListCode);
  CBOX3_1->setGeometry(2, 2, 370, 22);
  CBOX3_1->OnClick = [this](QWidget*) { ChooseMonthlyFile(CBOX3_1->Text()); };
  LBL3_1 = Label(PNL3, "LBL3_1", "？", QRect(376, 4, 24, 18));
  LBL3_2 = Label(PNL3, "LBL3_2", "", QRect(4, 28, 390, 18));
  SBTN3_1 = Button(PNL3, "SBTN3_1", "×", "閉じる", QRect(400, 2, 18, 18));
  PNL3->hide();

  PSTINPFM = new TPSTINPFrame(this);
  PSTINPFM->hide();

  connect(SBTN1, &QToolButton::clicked, this, [this] { SBTN1Click(); });
  connect(SBTN2, &QToolButton::clicked, this, [this] { fw::PrintFormHardCopy(window()); });
  connect(SBTN3, &QToolButton::clicked, this, [this] { SBTN3Click(); });
  connect(SBTN3_1, &QToolButton::clicked, this, [this] { PNL3->hide(); });
  PNOINPFM->OnCommit = [this](int code, bool fromUpDown) {
    // The pointer stays where it was across an up-down click.
    const platform::Point pointer = platform::CurrentUi().CursorPos();
    CommitInput(code);
    if (fromUpDown) platform::CurrentUi().SetCursorPos(pointer);
  };
  PNOINPFM->OnNameChooser = [this] { NameChooserClick(); };
  PSTINPFM->OnCommit = [](int) {};
  PSTINPFM->OnCommit = [this](int) { ShowStation(fw::RememberedStationNo); };
  PSTINPFM->OnClose = [this] { fw::MovePointerToControl(PNOINPFM->SBTN_No); };
  LayoutBody();
}

TMWDDispFrame::~TMWDDispFrame() {
  // The charts do not own their series.
  for (chart::TChart* c : charts_) c->FreeAllSeries();
  if (chartops::CurrentChart == CHAT1 || chartops::CurrentChart == CHAT2 || chartops::CurrentChart == CHAT3)
    chartops::CurrentChart = nullptr;
}

void TMWDDispFrame::LayoutBody() {
  const int top = 88;
  const int h = std::max(100, height() - top - 2);
  STRG1->setGeometry(4, top, std::min(width() - 8, 706), h);
  PNL2->setGeometry(0, top - 20, width(), h + 20);
  for (chart::TChart* c : charts_) {
    if (c) c->setGeometry(32, 20, std::max(100, PNL2->width() - 36), std::max(80, PNL2->height() - 22));
  }
}

void TMWDDispFrame::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  LayoutBody();
}

bool TMWDDispFrame::eventFilter(QObject* watched, QEvent* e) {
  if (watched == PNL_SI && e->type() == QEvent::MouseButtonRelease) {
    PNL_SIClick();
    return true;
  }
  return QWidget::eventFilter(watched, e);
}

void TMWDDispFrame::Setup() {
  if (setUp_) return;
  setUp_ = true;
  PSTINPFM->move(554, 30);
  chartNo_ = 1;
  fw::RememberedStationNo = fw::StationSel.StationNo;
  fw::SelectStation(fw::RememberedStationNo);
  PNOINPFM->SetInputEnabled(true, 1);
  ShowAll();
}

void TMWDDispFrame::ShowAll() {
  ShowMonthlyFile("Z");
  ShowMonthlyFile("[");
  UpdateChartState();
}

void TMWDDispFrame::ShowMonthlyFile(const std::string& code) {
  if (code == "Z") {
    const std::string list = MonthlyListPath();
    if (platform::FileExists(list) && fw::DataLoad(list)) {
      std::vector<std::string> items;
      int row = 0;
      for (int i = 1; i <= fw::TableBuffer.TableRows; ++i) {
        const auto& cells = fw::TableBuffer.TableCells[static_cast<size_t>(i)];
        items.push_back(fw::NumberedItem(i, cells[1]));
        if (row == 0 && fw::NormalizePath(cells[1]) == fw::MonthlyFile) row = i;
      }
      const std::string kind = row ? fw::TableBuffer.TableCells[static_cast<size_t>(row)][2] : std::string();
      CBOX3_1->SetItems(items);
      CBOX3_1->SetItemIndex(row - 1);
      const platform::FileInfo info = platform::GetFileInfo(fw::MonthlyFile);
      if (info.exists && !info.isDir) {
        SetText(LBL3_1, J(kind == "QZ" ? "ＱＺ" : kind == "UY" ? "ＵＹ" : "？"));
        const std::string when = fw::DateStampText(fw::LocalDateTime(info.modified));
        const std::string size = fw::FormatNumberN(0, static_cast<double>(info.size));
        SetText(LBL3_2, J("作成日付　") + when + J("　　サイズ　") + size + J(" バイト"));
      } else {
        SetText(LBL3_1, J("？"));
        SetText(LBL3_2, J("※ファイルなし"));
      }
    }
  }
  ShowStation(fw::RememberedStationNo);
}

void TMWDDispFrame::ShowStation(int stationNo) {
  ShowStationHeader(stationNo);
  if (PNL2->isVisibleTo(this)) DrawMonthlyChart();
}

void TMWDDispFrame::ShowStationHeader(int stationNo) {
  fw::ShowStationInfo(*this, stationNo);
  PNOINPFM->Setup();
  PNOINPFM->SetInputEnabled(true, 1);
  SetText(PNL_SI, fw::UnitSystemName);
  // "-<未登録>-" for a station without a single monthly figure (no record, or nothing but
  // missing or zero values); a station missing some months shows the rest.
  bool figures = false;
  for (int row = 1; row < STRG1->RowCount() && !figures; ++row)
    for (int col = 2; col <= 14 && !figures; ++col) {
      const std::string cell = Trim(STRG1->Cells(col, row));
      figures = !cell.empty() && fw::TextToFloat(cell) != 0;
    }
  LBL_ERR->setVisible(!figures);
  const bool exists = platform::FileExists(fw::MonthlyFile);
  SetText(LBL9, exists ? fw::AbbreviatePath(fw::MonthlyFile) : J("※ファイルなし"));
  LBL9->setStyleSheet(exists ? "color: black;" : "color: red;");
  setToolTip(platform::ToQString(fw::MonthlyFile));
}

void TMWDDispFrame::ShowTexts(const fw::StationInfoTexts& t) {
  SetText(LBL10, t.Title);
  SetText(LBL7, t.AreaStation);
  SetText(LBL8, t.RecordName);
  SetText(LBL3, t.Position);
  SetText(LBL4, t.Heights);
  SetText(LBL5, t.Temperatures);
  SetText(LBL9, t.FileName);
}

void TMWDDispFrame::SetCell(int col, int row, const std::string& text) { STRG1->SetCells(col, row, text); }

void TMWDDispFrame::DrawMonthlyChart() {
  for (chart::TChart* c : charts_) c->hide();
  chart::TChart* c = Chart(chartNo_);
  chartops::CurrentChart = c;
  TCPNLFrame* panel = Panel(chartNo_);
  panel->AttachChart(11);
  const std::string title = fw::UnitSymbolText(J("日射量（kcal/㎡日）"));
  if (chartNo_ == 1) chartops::SetChartAxisTitle(c, "R", title);
  if (chartNo_ == 3) chartops::SetChartAxisTitle(c, "L", title);
  std::vector<std::string> rows;
  fw::GridToStrings(STRG1, MonthlyChartRows(chartNo_), 10, rows);
  chartops::FillChartSeriesFromRows(c, &rows, 0, static_cast<int>(rows.size()) - 1, 20, 10, 12, 1.0);
  if (chartNo_ == 1) {
    // The radiation axis follows the unit system, and all four axes the temperatures drawn
    // (set again only when either changed, so that a wheel shift stays).
    const double factor = fw::UnitSI ? fw::UnitFactor[6] : 1.0;
    const OverviewReach reach = OverviewReachOf(*c);
    if (factor != radiationFactor_ || reach != overviewReach_) {
      radiationFactor_ = factor;
      overviewReach_ = reach;
      FixOverviewAxes(*c, factor, reach);
    }
  }
  char name[64];
  std::snprintf(name, sizeof name, "(C%d)", chartNo_);
  const std::string file = fw::WcdDir + fw::StationSel.StationNote + name + ".EMF";
  fw::SplitFileName(file);
  panel->SetSaveFileName(file);  // the panel's save writes this chart's own file only
  panel->ReadChartView(false);
}

void TMWDDispFrame::UpdateChartState() {
  const bool b = Chart(chartNo_)->isVisibleTo(PNL2);
  SBTN1->setEnabled(!b);
  SBTN3->setVisible(true);
  PNL2->setVisible(b);
  LBL11->setVisible(!b);
}

void TMWDDispFrame::CommitInput(int /*code*/) { ShowAll(); }

bool TMWDDispFrame::CheckInputRange(int value) { return value >= 1 && value <= fw::StationCount; }

void TMWDDispFrame::GridClick(int col, int row) {
  if (row < 1 || row > 36 || col < 2 || col > 14) return;
  std::string explanation;
  if (fw::DataLoad(fw::DatDir + J("気象項目.EXP")) && row <= fw::TableBuffer.TableRows)
    explanation = fw::TableBuffer.TableCells[static_cast<size_t>(row)][1];
  fw::MsgDialog(MonthlyClickText(row, col, explanation, STRG1->Cells(0, row), STRG1->Cells(col, row)), 1, 1);
}

void TMWDDispFrame::SBTN1Click() {
  PNL2->show();
  DrawMonthlyChart();
  UpdateChartState();
  fw::MovePointerToControl(Panel(chartNo_)->SBTN_6);
}

void TMWDDispFrame::ChooseChart(int number) {
  if (number < 1 || number > 3) return;
  chartNo_ = number;
  QRadioButton* buttons[3] = {RBTN2_1, RBTN2_2, RBTN2_3};
  fw::SetRadioButtonSilently(buttons[number - 1], true);
  DrawMonthlyChart();
}

void TMWDDispFrame::SBTN3Click() {
  std::vector<std::string> items;
  fw::FillStringsFromFile(items, MonthlyListPath(), true);
  CBOX3_1->SetItems(items);
  PNL3->show();
  PNL3->raise();
}

void TMWDDispFrame::ChooseMonthlyFile(const std::string& text) {
  std::string name = fw::StripLabelPrefix(text);
  if (text.find(J("【")) == std::string::npos) {
    name = fw::NormalizePath(name);
    if (!fw::FileCheck(name, 2)) return;
  }
  fw::MonthlyFile = name;
  ShowMonthlyFile("Z");
}

void TMWDDispFrame::PNL_SIClick() {
  fw::LoadTableAsText(fw::DatDir + J("単位系.EXP"));
  fw::MovePointerToControl(PNL_SI);
}

void TMWDDispFrame::NameChooserClick() {
  PSTINPFM->Setup();
  PSTINPFM->show();
  PSTINPFM->raise();
  fw::MovePointerToControl(PSTINPFM->SBTN_St);
}

// ---- TMONForm -----------------------------------------------------------------------------------

TMONForm::TMONForm(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint) {
  setObjectName("MONForm");
  setWindowTitle(QString::fromUtf8("月次気象データの表示"));
  setFixedWidth(768);
  setMinimumHeight(415);
  resize(768, 415);
  MWDDispFM = new TMWDDispFrame(this);
  MWDDispFM->setGeometry(4, 4, 760, height() - 8);
  if (parent) {
    const QRect owner = parent->window()->geometry();
    move(owner.center() - QPoint(width() / 2, height() / 2));
  }
}

bool TMONForm::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::Resize:
      MWDDispFM->setGeometry(4, 4, 760, std::max(0, height() - 8));
      break;
    case QEvent::WindowActivate: {
      MWDDispFM->Setup();
      if (first_) {
        first_ = false;
        const std::string cr2 = kCr2;
        fw::MsgDialog(J("※ご注意") + cr2 + J("この【月次気象データ】は、主として結露計算や熱負荷計算に用いるもので、") + cr2 +
                          J("15年間のアメダス気象データから代表的（≒平均的）なある年の月を抽出し、") + cr2 +
                          J("これらをつなぎ合わせて＜標準年気象データ＞を作成しています。") + cr2 +
                          J("ここに表示した月次データは、この＜標準年気象データ＞を統計処理したものです。") + cr2 +
                          J("従って、毎月のデータついては１年間としての正確な連続性はありません。") + cr2 +
                          J("※特に降水量データについては注意が必要です。（あくまで目安です）"),
                      1, 1);
      }
      break;
    }
    case QEvent::WindowDeactivate:
      if (!first_) fw::InitWeatherSelection();
      break;
    default:
      break;
  }
  return QWidget::event(e);
}

}  // namespace views
