#include "app/ui/screen3.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "model/sim/run_state.h"
#include "app/ui/main_window.h"
#include "app/ui/program_state.h"
#include "app/ui/screen3_graphs.h"
#include "app/ui/screen3_save.h"
#include "app/ui/screen_activation.h"
#include "app/ui/screens.h"
#include "framework/ui/updown_frame.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/convert.h"
#include "framework/drawing.h"
#include "framework/file_names.h"
#include "framework/messages.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/input_behaviour.h"
#include "platform/cp932.h"
#include "platform/dc.h"
#include "platform/files.h"
#include "platform/qt/qt_text.h"
#include "framework/ui/picture_save.h"

namespace app {

using platform::J;
using platform::Q;

namespace {

constexpr int kYearsPage = 1, kMonthsPage = 2, kYearlyPage = 3, kAnalysisPage = 4, kWeatherPage = 5;
constexpr int kFrequencyRendered = 6;  // PageRendered entry of the frequency chart
constexpr int kSplitHandle = 5;
constexpr int kGraphWidth = 350, kGraphHeight = 360;

QFont FixedFont(int pixels) {
  QFont f(QString::fromStdString(platform::SubstituteFace("ＭＳ ゴシック")));
  f.setPixelSize(pixels);
  return f;
}

QToolButton* MakeToolButton(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(Q(caption));
  b->setAutoRaise(false);
  return b;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(Q(caption), parent);
  b->setObjectName(name);
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

QWidget* MakePanel(QWidget* parent, const char* name) {
  auto* p = new QFrame(parent);
  p->setObjectName(name);
  p->setFrameShape(QFrame::Panel);
  p->setFrameShadow(QFrame::Raised);
  p->setAutoFillBackground(true);
  p->hide();
  return p;
}

fw::TMemoEx* MakeMemo(QWidget* parent, const char* name) {
  auto* m = new fw::TMemoEx(parent);
  m->setObjectName(name);
  m->setReadOnly(true);
  m->SetWordWrap(false);
  m->setFont(FixedFont(12));
  return m;
}

// The width a memo needs to show `line` whole: its margins, frame and vertical scroll bar.
int MemoWidthFor(const fw::TMemoEx* memo, const QString& line) {
  const int text = QFontMetrics(memo->font()).horizontalAdvance(line);
  const int margins = 2 * static_cast<int>(std::ceil(memo->document()->documentMargin()));
  return text + margins + 2 * memo->frameWidth() + memo->verticalScrollBar()->sizeHint().width() + 4;
}

fw::TImageEx* MakeImage(QWidget* parent, const std::string& name) {
  auto* i = new fw::TImageEx(parent);
  i->setObjectName(QString::fromStdString(name));
  return i;
}

// The bar between a page's table and its chart: dragging it moves the border.
class SplitHandle : public QWidget {
 public:
  SplitHandle(QWidget* parent, const char* name) : QWidget(parent) {
    setObjectName(name);
    setCursor(Qt::SplitVCursor);
  }
  std::function<void(int dy)> OnDrag;
  std::function<void()> OnMoved;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(0, height() - 1, width(), height() - 1);
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) start_ = e->globalPosition().toPoint().y();
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!(e->buttons() & Qt::LeftButton)) return;
    const int y = e->globalPosition().toPoint().y();
    if (OnDrag) OnDrag(y - start_);
    start_ = y;
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && OnMoved) OnMoved();
  }

 private:
  int start_ = 0;
};

int TabBarHeight(QTabWidget* tabs) { return tabs->tabBar()->sizeHint().height(); }

// The size that shows every cell of a grid without scroll bars.
QSize GridContentSize(const fw::TStrGridEx* grid) {
  int w = 2 * grid->frameWidth(), h = 2 * grid->frameWidth();
  for (int c = 0; c < grid->ColCount(); ++c) w += grid->ColWidths(c) + 1;
  for (int r = 0; r < grid->RowCount(); ++r) h += grid->RowHeights(r) + 1;
  return {w, h};
}

// Scroll bars only in a direction where the cells do not fit.
void FitScrollBars(fw::TStrGridEx* grid) {
  const QSize content = GridContentSize(grid);
  grid->setHorizontalScrollBarPolicy(content.width() <= grid->width() ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
  grid->setVerticalScrollBarPolicy(content.height() <= grid->height() ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

}  // namespace

// ---- Creation --------------------------------------------------------------------------------

THARV3Form::THARV3Form(QWidget* parent) : QWidget(parent) {
  setObjectName("HARV3Form");
  setWindowTitle(QString::fromStdString(ScreenCaption(3)));
  setMinimumSize(400, 300);
  resize(792, 430);
  BuildPages();
  BuildPanels();

  // Form creation: nothing chosen yet, the graph pages on graph 1, the frames set up.
  data_ = Screen3Data();
  data_.threshold = 1;
  data_.frequencyYear = kFirstYear;
  INPUDFM5->LBL_1->setText(QStringLiteral("  999"));
  INPUDFM5->Setup(1, 250, false, false, fw::TInpUpDnFrame::kInteger, 5);
  INPUDFM5_1->LBL_1->setText(QStringLiteral("9999"));
  INPUDFM5_1->Setup(kFirstYear, kLastYear, false, false, fw::TInpUpDnFrame::kInteger, 1);
  fw::SetTabIndexSilently(PCON4, 1);
  fw::SetRadioGroupSilently(RADG1Items, 0);
  LayOut();
  new ScreenActivation(this, [this] { FormActivate(); });
}

THARV3Form::~THARV3Form() {
  if (fw::CurrentGrid == STRG4) fw::CurrentGrid = nullptr;
}

void THARV3Form::BuildPages() {
  PCON = new QTabWidget(this);
  PCON->setObjectName("PCON");
  PCON->setDocumentMode(true);
  static const char* const kCaptions[] = {"計算結果(19??年)", "月次統計(15年間)", "年次統計(15年間)", "分析結果",
                                          "気象データ"};
  for (int page = 1; page <= 5; ++page) {
    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("TABS%1").arg(page));
    PCON->addTab(sheet, Q(kCaptions[page - 1]));
  }
  for (int page = 1; page <= 3; ++page) BuildResultPage(page);
  BuildAnalysisPage();
  BuildWeatherPage();
  connect(PCON, &QTabWidget::currentChanged, this, [this] { PCONChange(); });

  BTN1 = MakeButton(this, "BTN1", "標準サイズ");
  BTN2 = MakeButton(this, "BTN2", "貯水層容量");
  BTN3 = MakeButton(this, "BTN3", "年間降水量");
  BTN5 = MakeButton(this, "BTN5", "データ表示");
  BTN1->setEnabled(false);
  connect(BTN1, &QPushButton::clicked, this, [this] { BTN1Click(); });
  connect(BTN2, &QPushButton::clicked, this, [this] { BTN2Click(); });
  connect(BTN3, &QPushButton::clicked, this, [this] { BTN3Click(); });
  connect(BTN5, &QPushButton::clicked, this, [this] { BTN5Click(); });

  TXT_Meta = new QLabel(Q("※報告書用のメタファイルを作成しています．．．"), this);
  TXT_Meta->setObjectName("TXT_Meta");
  TXT_Meta->setAlignment(Qt::AlignCenter);
  QFont big = TXT_Meta->font();
  big.setPixelSize(16);
  TXT_Meta->setFont(big);
  TXT_Meta->hide();
}

void THARV3Form::BuildResultPage(int page) {
  QWidget* sheet = PCON->widget(page - 1);
  if (page == kYearsPage) {
    TABC1Box = new QWidget(sheet);
    TABC1Box->setObjectName("TABC1Box");
    TABC1 = new QTabBar(TABC1Box);
    TABC1->setObjectName("TABC1");
    TABC1->setExpanding(false);
    TABC1->setUsesScrollButtons(true);
    for (int year = kFirstYear; year <= kLastYear; ++year) TABC1->addTab(QString::number(year) + Q("年"));
    MEMO1 = MakeMemo(TABC1Box, "MEMO1");
    // A click on the tab already current chooses its year too (no tab counts as chosen before).
    connect(TABC1, &QTabBar::currentChanged, this, [this] {
      if (TABC1->signalsBlocked()) return;
      TABC1Change();
    });
    connect(TABC1, &QTabBar::tabBarClicked, this, [this](int index) {
      if (index >= 0 && index == TABC1->currentIndex() && data_.yearNumber != index + 1) TABC1Change();
    });
  } else {
    (page == kMonthsPage ? MEMO2 : MEMO3) = MakeMemo(sheet, page == kMonthsPage ? "MEMO2" : "MEMO3");
  }
  auto* handle = new SplitHandle(sheet, page == 1 ? "SPLIT1" : page == 2 ? "SPLIT2" : "SPLIT3");
  SPLIT[static_cast<size_t>(page)] = handle;
  handle->OnDrag = [this, page](int dy) {
    memoHeight_[static_cast<size_t>(page)] = std::max(40, memoHeight_[static_cast<size_t>(page)] + dy);
    LayOut();
  };
  handle->OnMoved = [this] { SPLIT1Moved(); };
  auto* image = MakeImage(sheet, "IMAG" + std::to_string(page));
  IMAG[static_cast<size_t>(page)] = image;
  image->OnMouseUp = [this](QWidget* sender, platform::TMouseButton button, platform::TShiftState, int, int) {
    if (button == platform::TMouseButton::mbRight) IMAG1MouseUp(static_cast<fw::TImageEx*>(sender));
  };
}

void THARV3Form::BuildAnalysisPage() {
  QWidget* sheet = PCON->widget(kAnalysisPage - 1);
  STRG4 = new fw::TStrGridEx(sheet);
  STRG4->setObjectName("STRG4");
  STRG4->SetColCount(kAnalysisCols);
  STRG4->SetRowCount(kAnalysisRows);
  STRG4->SetFixedCols(1);
  STRG4->SetFixedRows(2);
  STRG4->SetDefaultRowHeight(17);
  STRG4->SetDefaultColWidth(46);
  STRG4->SetColWidths(0, 34);
  STRG4->SetTotalStyle(fw::TTotalStyleType::tsAll);
  STRG4->setFont(FixedFont(12));
  STRG4_1 = new fw::TStrGridEx(sheet);
  STRG4_1->setObjectName("STRG4_1");
  STRG4_1->SetColCount(kFullTankCols);
  STRG4_1->SetRowCount(kFullTankRows);
  STRG4_1->SetFixedCols(1);
  STRG4_1->SetFixedRows(2);
  STRG4_1->SetDefaultRowHeight(17);
  STRG4_1->SetDefaultColWidth(44);
  STRG4_1->SetColWidths(0, 58);
  STRG4_1->setFont(FixedFont(12));
  STRG4_1->hide();
  static const char* const kFactors[] = {"1/4倍", "1/2倍", "1倍", "1.5倍", "2倍", "3倍", "4倍", "5倍"};
  STRG4_1->SetCells(0, 0, J("満水日数"));
  for (int col = 1; col <= 8; ++col) STRG4_1->SetCells(col, 0, J(kFactors[col - 1]));
  for (fw::TStrGridEx* grid : {STRG4, STRG4_1}) {
    grid->OnDrawCell = [this](fw::TStrGridEx* g, int col, int row, const platform::Rect& rect, int) {
      if (col < g->FixedCols() || row < g->FixedRows()) return;
      const std::string text = g->Cells(col, row);
      const int colour = AnalysisCellColorNumber(data_.graph, col, row, text);
      fw::DrawGridCellColored(g, rect, platform::ColorToRgb(fw::ColorOf(colour)), text);
    };
  }

  LBL4_2 = new QLabel(sheet);
  LBL4_2->setObjectName("LBL4_2");
  SBTN4_1 = MakeToolButton(sheet, "SBTN4_1", "<解説>");
  SBTN4_2 = MakeToolButton(sheet, "SBTN4_2", "<満水>");
  connect(SBTN4_1, &QToolButton::clicked, this, [this] { SBTN4_1Click(); });
  connect(SBTN4_2, &QToolButton::clicked, this, [this] { SBTN4_2Click(); });

  PCON4 = new QTabWidget(sheet);
  PCON4->setObjectName("PCON4");
  PCON4->setDocumentMode(true);
  for (int g = 1; g <= 4; ++g) {
    auto* graphSheet = new QWidget;
    graphSheet->setObjectName(QStringLiteral("TABS4_%1").arg(g));
    PCON4->addTab(graphSheet, Q(GraphCaption(g)));
    auto* image = MakeImage(graphSheet, "IMAG4_" + std::to_string(g));
    image->setGeometry(0, 0, kGraphWidth, kGraphHeight);
    IMAG4[static_cast<size_t>(g)] = image;
    image->OnMouseUp = [this](QWidget* sender, platform::TMouseButton button, platform::TShiftState, int, int) {
      if (button == platform::TMouseButton::mbRight) IMAG1MouseUp(static_cast<fw::TImageEx*>(sender));
    };
  }
  connect(PCON4, &QTabWidget::currentChanged, this, [this] {
    if (!PCON4->signalsBlocked()) PCON4Change();
  });
}

void THARV3Form::BuildWeatherPage() {
  QWidget* sheet = PCON->widget(kWeatherPage - 1);
  auto* image = MakeImage(sheet, "IMAG5");
  IMAG[kWeatherPage] = image;
  image->OnMouseUp = [this](QWidget* sender, platform::TMouseButton button, platform::TShiftState, int, int) {
    if (button == platform::TMouseButton::mbRight) IMAG1MouseUp(static_cast<fw::TImageEx*>(sender));
  };

  // The data panel: the threshold, every weather line and the lines at or above the threshold.
  PNL5 = MakePanel(sheet, "PNL5");
  auto* thresholdLabel = new QLabel(Q("降水量"), PNL5);
  thresholdLabel->setGeometry(6, 6, 40, 22);
  INPUDFM5 = new fw::TInpUpDnFrame(PNL5);
  INPUDFM5->setObjectName("INPUDFM5");
  INPUDFM5->setGeometry(46, 5, 64, 24);
  INPUDFM5->OnChange = [this](fw::TInpUpDnFrame*) { INPUDFM5UPDN_1Click(); };
  auto* unitLabel = new QLabel(Q("mm以上の日"), PNL5);
  unitLabel->setGeometry(114, 6, 80, 22);
  SBTN5_0 = MakeToolButton(PNL5, "SBTN5_0", "降水量頻度グラフ表示ON/OFF");
  SBTN5 = MakeToolButton(PNL5, "SBTN5", "×");
  MEMO5 = MakeMemo(PNL5, "MEMO5");
  MEMO5_1 = MakeMemo(PNL5, "MEMO5_1");
  connect(SBTN5_0, &QToolButton::clicked, this, [this] { SBTN5_0Click(); });
  connect(SBTN5, &QToolButton::clicked, this, [this] { ClosePanelClick(0); });

  // The frequency panel.
  PNL5_1 = MakePanel(sheet, "PNL5_1");
  auto* yearLabel = new QLabel(Q("年"), PNL5_1);
  INPUDFM5_1 = new fw::TInpUpDnFrame(PNL5_1);
  INPUDFM5_1->setObjectName("INPUDFM5_1");
  INPUDFM5_1->setGeometry(6, 5, 64, 24);
  yearLabel->setGeometry(74, 6, 20, 22);
  INPUDFM5_1->OnChange = [this](fw::TInpUpDnFrame*) { INPUDFM5_1UPDN_1Click(); };
  SBTN5_1 = MakeToolButton(PNL5_1, "SBTN5_1", "×");
  connect(SBTN5_1, &QToolButton::clicked, this, [this] { SBTN5_1Click(); });
  IMAG5_1 = MakeImage(PNL5_1, "IMAG5_1");
  IMAG5_1->OnMouseUp = [this](QWidget*, platform::TMouseButton button, platform::TShiftState, int, int) {
    if (button == platform::TMouseButton::mbRight) IMAG5_1MouseUp();
  };
}

void THARV3Form::BuildPanels() {
  // PNL1: the year of page 1.
  PNL1 = MakePanel(this, "PNL1");
  LBL1_1 = new QLabel(PNL1);
  LBL1_1->setObjectName("LBL1_1");
  SBTN1_1 = MakeToolButton(PNL1, "SBTN1_1", "×");
  RADG1 = new QGroupBox(Q("年間降水量"), PNL1);
  RADG1->setObjectName("RADG1");
  RADG1Items = new QButtonGroup(RADG1);
  RADG1Items->setExclusive(true);
  for (int k = 0; k < kYearCount; ++k) {
    auto* b = new QRadioButton(RADG1);
    b->setObjectName(QStringLiteral("RADG1_%1").arg(k + 1));
    b->setFont(FixedFont(12));
    b->setGeometry(8, 18 + 18 * k, 200, 18);
    RADG1Items->addButton(b, k);
  }
  connect(RADG1Items, &QButtonGroup::idClicked, this, [this] { RADG1Click(); });
  connect(SBTN1_1, &QToolButton::clicked, this, [this] { ClosePanelClick(0); });
  PNL1->resize(224, 26 + 18 + 18 * kYearCount + 10);
  LBL1_1->setGeometry(6, 4, 180, 18);
  SBTN1_1->setGeometry(PNL1->width() - 24, 3, 20, 20);
  RADG1->setGeometry(4, 24, PNL1->width() - 8, 18 * kYearCount + 26);

  // PNL2: the tank buttons, placed over the legend of the chart (which shows through).
  PNL2 = new QWidget(this);
  PNL2->setObjectName("PNL2");
  PNL2->hide();
  static const char* const kHints[] = {"1/4倍", "1/2倍", "1倍", "1.5倍", "2倍", "3倍", "4倍", "5倍"};
  for (int t = 1; t <= 8; ++t) {
    auto* b = new QToolButton(PNL2);
    b->setObjectName(QStringLiteral("SBTN_T%1").arg(t));
    b->setToolTip(Q(kHints[t - 1]));
    b->setAutoRaise(true);
    fw::SetTag(b, t);
    SBTN_T[static_cast<size_t>(t)] = b;
    connect(b, &QToolButton::clicked, this, [this, t] { SBTN_T1Click(t); });
  }
  SBTN2_1 = MakeToolButton(PNL2, "SBTN2_1", "×");
  fw::SetTag(SBTN2_1, 2);
  connect(SBTN2_1, &QToolButton::clicked, this, [this] { ClosePanelClick(2); });

  // PNL3: the years drawn in the analysis graphs.
  PNL3 = MakePanel(this, "PNL3");
  auto* title = new QLabel(Q("表示する年"), PNL3);
  title->setGeometry(6, 4, 120, 18);
  SBTN3_1 = MakeToolButton(PNL3, "SBTN3_1", "×");
  CLBOX3 = new QListWidget(PNL3);
  CLBOX3->setObjectName("CLBOX3");
  CLBOX3->setFont(FixedFont(12));
  connect(CLBOX3, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    // The tick itself was toggled by the list when the box was clicked; a click on the text
    // toggles it here.
    const int row = CLBOX3->row(item);
    if (!clboxTickToggled_) {
      const QSignalBlocker block(CLBOX3);
      item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    clboxTickToggled_ = false;
    CLBOX3Click(row);
  });
  connect(CLBOX3, &QListWidget::itemChanged, this, [this] { clboxTickToggled_ = true; });
  SBTN3_2 = MakeToolButton(PNL3, "SBTN3_2", "全てｸﾘｱｰ");
  SBTN3_3 = MakeToolButton(PNL3, "SBTN3_3", "全てﾁｪｯｸ");
  fw::SetTag(SBTN3_2, 0);
  fw::SetTag(SBTN3_3, 1);
  connect(SBTN3_1, &QToolButton::clicked, this, [this] { ClosePanelClick(0); });
  connect(SBTN3_2, &QToolButton::clicked, this, [this] { SBTN3_2Click(0); });
  connect(SBTN3_3, &QToolButton::clicked, this, [this] { SBTN3_2Click(1); });
  const int listH = (QFontMetrics(CLBOX3->font()).height() + 3) * kYearCount + 8;
  PNL3->resize(200, listH + 64);
  SBTN3_1->setGeometry(PNL3->width() - 24, 3, 20, 20);
  CLBOX3->setGeometry(4, 26, PNL3->width() - 8, listH);
  SBTN3_2->setGeometry(4, PNL3->height() - 30, 90, 24);
  SBTN3_3->setGeometry(PNL3->width() - 94, PNL3->height() - 30, 90, 24);

  for (QWidget* panel : {PNL1, PNL3}) {
    panel->installEventFilter(this);
    panel->setCursor(Qt::SizeAllCursor);
  }
  for (size_t i = 1; i <= 3; ++i) memoHeight_[i] = kStandardMemoHeight;
}

// ---- Geometry ---------------------------------------------------------------------------------

void THARV3Form::LayOut() {
  const int w = width(), h = height();
  PCON->setGeometry(0, 0, w, h);
  const int pageW = w, pageH = std::max(0, h - TabBarHeight(PCON));
  const QSize oldSizes[] = {IMAG[1]->size(), IMAG[2]->size(), IMAG[3]->size(), IMAG[5]->size()};

  // The buttons of the form stand at the right of the page tabs.
  const int buttonH = std::max(18, TabBarHeight(PCON) - 2);
  BTN5->setGeometry(713, 1, 75, buttonH);
  BTN3->setGeometry(713, 1, 75, buttonH);
  BTN2->setGeometry(636, 1, 75, buttonH);
  BTN1->setGeometry(559, 1, 75, buttonH);
  for (QWidget* b : {BTN1, BTN2, BTN3, BTN5}) b->raise();
  TXT_Meta->setGeometry(0, h / 2 - 20, w, 40);

  // Pages 1 to 3: the table above, the chart below, the bar between them.
  for (int page = 1; page <= 3; ++page) {
    const int memoH = std::clamp(memoHeight_[static_cast<size_t>(page)], 40, std::max(40, pageH - 60));
    QWidget* top = page == 1 ? TABC1Box : page == 2 ? static_cast<QWidget*>(MEMO2) : MEMO3;
    top->setGeometry(2, 2, pageW - 4, memoH);
    SPLIT[static_cast<size_t>(page)]->setGeometry(2, 2 + memoH, pageW - 4, kSplitHandle);
    IMAG[static_cast<size_t>(page)]->setGeometry(6, 2 + memoH + kSplitHandle, std::max(10, pageW - 12),
                                                 std::max(10, pageH - memoH - kSplitHandle - 4));
  }
  const int tabH = TABC1->sizeHint().height();
  TABC1->setGeometry(0, 0, TABC1Box->width(), tabH);
  MEMO1->setGeometry(0, tabH, TABC1Box->width(), std::max(0, TABC1Box->height() - tabH));

  // Page 4: the grids at the left, the graphs at the right.
  const int graphTabs = TabBarHeight(PCON4);
  const int graphsLeft = std::max(0, pageW - kGraphWidth - 4);
  PCON4->setGeometry(graphsLeft, 0, kGraphWidth + 2, kGraphHeight + graphTabs + 2);
  const int gridW = std::max(100, graphsLeft - 8);
  // Every row and the horizontal scroll bar.
  const int gridH = std::min(std::max(100, pageH - 60), GridContentSize(STRG4).height() + 16);
  STRG4->setGeometry(4, 4, gridW, gridH);
  // The full-tank grid lies over the analysis grid and covers it whole.
  STRG4_1->setGeometry(STRG4->geometry());
  FitScrollBars(STRG4);
  FitScrollBars(STRG4_1);
  LBL4_2->setGeometry(4, gridH + 6, gridW, 20);
  SBTN4_1->setGeometry(gridW - 112, gridH + 28, 54, 22);
  SBTN4_2->setGeometry(gridW - 54, gridH + 28, 54, 22);

  // Page 5: the chart over the whole page, the panels over it.
  IMAG[kWeatherPage]->setGeometry(2, 2, std::max(10, pageW - 8), std::max(10, pageH - 4));
  // Each list shows its longest line whole, the " ※" of a day of 100 mm or more included.
  const int memoW = std::max(192, MemoWidthFor(MEMO5, Q("1981/01/01 -10.0℃   100mm ※")));
  const int panel5W = 2 * memoW + 12;
  PNL5->setGeometry(std::max(0, pageW - panel5W - 8), 4, panel5W, std::min(std::max(120, pageH - 12), 360));
  SBTN5->setGeometry(PNL5->width() - 24, 5, 20, 20);
  SBTN5_0->setGeometry(196, 5, 172, 22);
  const int memoTop = 34;
  MEMO5->setGeometry(4, memoTop, memoW, PNL5->height() - memoTop - 4);
  MEMO5_1->setGeometry(8 + memoW, memoTop, memoW, PNL5->height() - memoTop - 4);
  PNL5_1->setGeometry(std::max(0, PNL5->x() - 349), 4, 345, 353);
  SBTN5_1->setGeometry(PNL5_1->width() - 24, 5, 20, 20);
  IMAG5_1->setGeometry(4, 34, 337, 315);

  // The floating panels stand at their places until the user drags them; they keep inside
  // the form.
  const auto place = [w, h](QWidget* panel, bool moved, int x, int y) {
    if (moved) {
      x = panel->x();
      y = panel->y();
    }
    panel->move(std::clamp(x, 0, std::max(0, w - panel->width())), std::clamp(y, 0, std::max(0, h - panel->height())));
  };
  place(PNL1, panelMoved_[0], w - PNL1->width() - 8, 28);
  place(PNL3, panelMoved_[1], graphsLeft - PNL3->width() - 8, 28);
  PlaceTankPanel();

  // A chart whose image changed its size is drawn again at the new size, once the sizes
  // settle (a drag of the bar or of the window gives many sizes in a row).
  const int pages[] = {1, 2, 3, 5};
  for (int i = 0; i < 4; ++i) {
    if (IMAG[static_cast<size_t>(pages[i])]->size() == oldSizes[i]) continue;
    PageRendered[static_cast<size_t>(pages[i])] = false;
    if (pages[i] == data_.page && !redrawPending_) {
      redrawPending_ = true;
      QTimer::singleShot(0, this, [this] {
        redrawPending_ = false;
        if (!fw::MakingReportMetafiles) DrawCurrentChart();
      });
    }
  }
}

void THARV3Form::PlaceTankPanel() {
  // Over the legend of the chart of the current page (pages 1 to 3).
  const int page = data_.page >= 1 && data_.page <= 3 ? data_.page : 1;
  fw::TImageEx* image = IMAG[static_cast<size_t>(page)];
  const QPoint origin = image->mapTo(this, QPoint(0, 0));
  const int plotW = std::max(80, image->width() - 80);
  const int step = plotW / 8;
  // The close button takes the end of the last tank's place, so the panel ends at the plot's
  // right edge and leaves the right axis labels free.
  constexpr int kClose = 17;
  PNL2->setGeometry(origin.x() + 38, origin.y() + 13, 8 * step, 17);
  for (int t = 1; t <= 8; ++t)
    SBTN_T[static_cast<size_t>(t)]->setGeometry((t - 1) * step, 0, t == 8 ? step - kClose : step, 17);
  SBTN2_1->setGeometry(8 * step - kClose, 0, kClose, 17);
}

void THARV3Form::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  LayOut();
}

// ---- Activation -------------------------------------------------------------------------------

void THARV3Form::FormActivate() {
  activatedOnce_ = true;
  FillYearItems();
  fw::SplitFileName(CalcFilePath);
  data_.ResetTanksAndYears();
  for (int t = 1; t <= 8; ++t)
    data_.tankVolume[static_cast<size_t>(t)] = fw::GetVV8Value(fw::CalcData, 3100, t);
  data_.basicVolume = fw::GetVV8Value(fw::CalcData, 3100, 3);
  {
    const QSignalBlocker block(CLBOX3);
    for (int k = 0; k < CLBOX3->count(); ++k) CLBOX3->item(k)->setCheckState(Qt::Checked);
  }
  ShowTankCaptions();
  // The tank lines and the years of the graphs are all shown again.
  for (int page = 1; page <= 4; ++page) PageRendered[static_cast<size_t>(page)] = false;
  if (data_.page == kAnalysisPage)
    PCON4Change();
  else if (data_.page >= 1 && data_.page <= 3)
    DrawCurrentChart();
}

void THARV3Form::FillYearItems() {
  std::vector<std::string> lines;
  platform::ReadTextLines(ResultPrefix + "(1981-1995).YER", lines);
  years_ = BuildYearList(lines);
  data_.representative = years_.representative;
  RepresentativeYears = years_.representative;
  const QList<QAbstractButton*> buttons = RADG1Items->buttons();
  for (int k = 0; k < kYearCount && k < buttons.size(); ++k)
    RADG1Items->button(k)->setText(Q(years_.items[static_cast<size_t>(k)]));
  const QSignalBlocker block(CLBOX3);
  CLBOX3->clear();
  for (const std::string& item : years_.items) {
    auto* entry = new QListWidgetItem(Q(item), CLBOX3);
    entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    entry->setCheckState(Qt::Checked);
  }
  LBL1_1->setText(Q(AnnualMeanText(years_.mean)));
}

void THARV3Form::RefreshScreen() {
  if (!fw::IsFormOpen("HARV3Form")) return;
  if (!activatedOnce_) FormActivate();
  UpdateButtons();
  CreateReportMetafiles();
  UpdateButtons();
  fw::ShowStatus(fw::Cp932Of(windowTitle()));
}

void THARV3Form::ShowPage(int page) {
  page = std::clamp(page, 1, 5);
  if (PCON->currentIndex() == page - 1) {
    PCONChange();
  } else {
    PCON->setCurrentIndex(page - 1);  // runs the page change
  }
}

// ---- Pages ------------------------------------------------------------------------------------

void THARV3Form::SyncPageState() {
  data_.page = PCON->currentIndex() + 1;
  if (data_.yearNumber != 0) data_.yearNumber = TABC1->currentIndex() + 1;
  data_.graph = PCON4->currentIndex() + 1;
  currentMemo_ = qobject_cast<fw::TMemoEx*>(fw::FindMemoComp(this, std::to_string(data_.page)));
  const std::string imageSuffix =
      data_.page == kAnalysisPage ? "4_" + std::to_string(data_.graph) : std::to_string(data_.page);
  currentImage_ = qobject_cast<fw::TImageEx*>(fw::FindImagComp(this, imageSuffix));
  if (data_.page >= 1 && data_.page <= 3) {
    data_.resultLines = pageLines_[static_cast<size_t>(data_.page)];
    data_.rowCount = std::max(0, static_cast<int>(data_.resultLines.size()) - 4);
  }
  data_.frequencyPanelShown = PNL5_1->isVisibleTo(this);
}

void THARV3Form::SetPageCaption(int page, const std::string& cp932) { PCON->setTabText(page - 1, Q(cp932)); }

void THARV3Form::PCONChange() {
  SyncPageState();
  showFullTank_ = false;
  STRG4_1->hide();
  imageFile_ = MetafileName(ResultPrefix, data_);
  platform::CurrentUi().SetCursorShape(platform::CursorShape::Wait);
  switch (data_.page) {
    case kYearsPage:
      if (data_.yearNumber == 0) {
        yearPanelOn_ = true;
        if (!fw::MakingReportMetafiles && RADG1Items->checkedId() < 0 && data_.representative[3] > 0)
          ChooseYear(data_.representative[3]);
      }
      DrawCurrentChart();
      break;
    case kMonthsPage:
      LoadMemoFile(ResultPrefix + "(1981-1995).MON");
      DrawCurrentChart();
      break;
    case kYearlyPage:
      LoadMemoFile(ResultPrefix + "(1981-1995).YER");
      DrawCurrentChart();
      break;
    case kAnalysisPage:
      fw::CurrentGrid = STRG4;
      PCON4Change();
      break;
    case kWeatherPage:
      DrawCurrentChart();
      break;
    default:
      break;
  }
  platform::CurrentUi().SetCursorShape(platform::CursorShape::Default);
  UpdateButtons();
  const std::string note = data_.page <= 3 ? J("　※右クリックすると現在のグラフを保存できます。") : J("　※グラフ保存済み");
  fw::ShowStatus(note + J("〔") + fw::Cp932Of(PCON->tabText(PCON->currentIndex())) + J("グラフ表示〕"));
}

void THARV3Form::ChooseYear(int yearNumber) {
  if (yearNumber < 1 || yearNumber > kYearCount) return;
  fw::SetTabIndexSilently(TABC1, yearNumber);
  TABC1Change();
}

void THARV3Form::TABC1Change() {
  if (!TABC1->isEnabled()) return;
  data_.yearNumber = TABC1->currentIndex() + 1;
  SyncPageState();
  const int year = kFirstYear - 1 + data_.yearNumber;
  data_.dailyFileName = ResultPrefix + "(" + std::to_string(year) + ").DAY";
  PageRendered[kYearsPage] = false;
  SetPageCaption(kYearsPage, J("計算結果(") + std::to_string(year) + J(")年"));
  MEMO1->clear();
  // The page's table is the year's table, also while another page is shown.
  const int shownPage = data_.page;
  data_.page = kYearsPage;
  currentMemo_ = MEMO1;
  currentImage_ = IMAG[kYearsPage];
  LoadMemoFile(data_.dailyFileName);
  if (shownPage == kYearsPage) DrawCurrentChart();
  SyncPageState();
  fw::SetRadioGroupSilently(RADG1Items, data_.yearNumber);
  UpdateButtons();
}

void THARV3Form::RADG1Click() {
  if (!RADG1->isEnabled()) return;
  const int number = RADG1Items->checkedId() + 1;
  if (number < 1) return;
  fw::SetTabIndexSilently(TABC1, number);
  TABC1Change();
}

bool THARV3Form::LoadMemoFile(const std::string& path) {
  std::vector<std::string>& lines = pageLines_[static_cast<size_t>(std::clamp(data_.page, 0, 3))];
  fw::TMemoEx* memo = currentMemo_;
  // A table longer than fifteen years of days is refused by name, not shown line by line.
  std::string error;
  if (!platform::FileExists(path) || !ReadResultTable(path, lines, &error)) {
    if (!error.empty()) fw::MsgDialog(error, 4, 1);
    lines.clear();
    data_.resultLines.clear();
    data_.rowCount = 0;
    if (memo) {
      memo->clear();
      QPalette pal = memo->palette();
      pal.setColor(QPalette::Base, fw::ButtonFaceColor());
      memo->setPalette(pal);
      memo->hide();
    }
    return false;
  }
  data_.resultLines = lines;
  data_.rowCount = std::max(0, static_cast<int>(lines.size()) - 4);
  if (memo) {
    fw::LoadMemoFromFile(memo, path, false);
    QPalette pal = memo->palette();
    pal.setColor(QPalette::Base, QApplication::palette().color(QPalette::Base));
    memo->setPalette(pal);
    memo->show();
  }
  return true;
}

// ---- Analysis page ------------------------------------------------------------------------------

void THARV3Form::PCON4Change() {
  SyncPageState();
  PageRendered[kAnalysisPage] = false;
  STRG4->SetCells(1, 2, std::string());
  FillAnalysisGrid();
  DrawCurrentChart();
  UpdateButtons();
}

void THARV3Form::FillAnalysisGrid() {
  if (!STRG4->Cells(1, 2).empty()) return;
  std::vector<std::string> lines;
  platform::ReadTextLines(ResultPrefix + "(1981-1995).YER", lines);
  if (!FillAnalysisTable(lines, data_.graph, data_.analysis)) return;
  for (int row = 0; row < kAnalysisRows; ++row)
    for (int col = 0; col < kAnalysisCols; ++col) STRG4->SetCells(col, row, data_.analysis.Cell(col, row));
  LBL4_2->setText(Q(BasicVolumeNote(data_.basicVolume)));

  std::vector<std::string> full;
  platform::ReadTextLines(ResultPrefix + "(FULL).DAT", full);
  FillFullTankTable(full, data_.fullTank);
  for (int row = 1; row < kFullTankRows; ++row)
    for (int col = 0; col < kFullTankCols; ++col) STRG4_1->SetCells(col, row, data_.fullTank.Cell(col, row));
  STRG4->viewport()->update();
  STRG4_1->viewport()->update();
}

void THARV3Form::CLBOX3Click(int item) {
  if (item < 0 || item >= CLBOX3->count()) return;
  for (int k = 0; k < kYearCount && k < CLBOX3->count(); ++k)
    data_.yearChecked[static_cast<size_t>(k + 1)] = CLBOX3->item(k)->checkState() == Qt::Checked;
  data_.yearChecked[kYearCount + 1] = true;
  PCON4Change();
}

void THARV3Form::SBTN3_2Click(int tag) {
  {
    const QSignalBlocker block(CLBOX3);
    for (int k = 0; k < CLBOX3->count(); ++k) CLBOX3->item(k)->setCheckState(tag == 1 ? Qt::Checked : Qt::Unchecked);
  }
  for (int k = 1; k <= kYearCount; ++k) data_.yearChecked[static_cast<size_t>(k)] = tag == 1;
  data_.yearChecked[kYearCount + 1] = true;
  PCON4Change();
}

void THARV3Form::SBTN4_1Click() {
  if (data_.graph < 1 || data_.graph > 4) return;
  const std::string title = J("【") + GraphCaption(data_.graph) + J("】");
  platform::CurrentUi().ShowMessageBox(ExplanationText(data_.graph, ReadConditionFigures()), title,
                                       platform::DialogKind::Information, platform::DialogButtons::Ok);
}

void THARV3Form::SBTN4_2Click() {
  if (data_.graph != 1) return;
  showFullTank_ = !showFullTank_;
  STRG4_1->setVisible(showFullTank_);
  if (showFullTank_) STRG4_1->raise();
}

// ---- Weather page -------------------------------------------------------------------------------

void THARV3Form::DrawWeatherPage() {
  fw::TImageEx* image = IMAG[kWeatherPage];
  QImage picture(image->size(), QImage::Format_RGB32);
  WeatherChartResult result;
  const std::string title = WeatherChartTitle();
  DrawOnImage(picture, [&](platform::Canvas& c, int w, int h) {
    result = DrawWeatherChart(c, ResultPrefix, title, w, h);
  });
  image->SetPicture(picture);
  data_.weatherLines = std::move(result.lines);
  if (!result.written) fw::ShowErrorStatus(result.error);
  fw::LoadMemoFromFile(MEMO5, WeatherLineFileName(ResultPrefix), false);
  FilterPrecipDays();
  CountPrecipFrequency();
  PageRendered[kFrequencyRendered] = false;
  DrawFrequencyChart();
}

void THARV3Form::FilterPrecipDays() {
  MEMO5_1->SetLines(app::FilterPrecipDays(data_.weatherLines, data_.threshold));
}

void THARV3Form::CountPrecipFrequency() { app::CountPrecipFrequency(data_.weatherLines, data_.frequency); }

void THARV3Form::DrawFrequencyChart() {
  QImage picture(IMAG5_1->size(), QImage::Format_RGB32);
  DrawOnImage(picture, [this](platform::Canvas& c, int w, int h) { DrawPrecipFrequency(c, data_, w, h); });
  IMAG5_1->SetPicture(picture);
  PageRendered[kFrequencyRendered] = true;
}

void THARV3Form::INPUDFM5UPDN_1Click() {
  data_.threshold = static_cast<int>(fw::Round(fw::UpDownValue));
  FilterPrecipDays();
}

void THARV3Form::INPUDFM5_1UPDN_1Click() {
  data_.frequencyYear = static_cast<int>(fw::Round(fw::UpDownValue));
  DrawFrequencyChart();
}

// ---- Charts -------------------------------------------------------------------------------------

void THARV3Form::DrawCurrentChart() {
  const int page = data_.page;
  if (page < 1 || page > 5 || !currentImage_) return;
  if (PageRendered[static_cast<size_t>(page)] && !fw::MakingReportMetafiles) return;
  if (page == kWeatherPage) {
    DrawWeatherPage();
  } else {
    if (page <= 3 && data_.rowCount <= 0) return;  // no table: the chart is not drawn
    QImage picture(currentImage_->size(), QImage::Format_RGB32);
    DrawOnImage(picture, [this, page](platform::Canvas& c, int w, int h) {
      if (page == kAnalysisPage)
        DrawAnalysisGraph(c, data_, w, h);
      else
        DrawResultChart(c, data_, w, h);
    });
    currentImage_->SetPicture(picture);
  }
  PageRendered[static_cast<size_t>(page)] = true;
}

void THARV3Form::ClearImage(fw::TImageEx* image) {
  if (image) image->SetPicture(QImage());
}

// ---- Buttons and panels -------------------------------------------------------------------------

void THARV3Form::UpdateButtons() {
  const bool making = fw::MakingReportMetafiles;
  TXT_Meta->setVisible(making);
  if (making) {
    for (QWidget* w : {static_cast<QWidget*>(BTN1), static_cast<QWidget*>(BTN2), static_cast<QWidget*>(BTN3),
                       static_cast<QWidget*>(BTN5), PNL1, PNL2, PNL3, PNL5, PNL5_1})
      w->hide();
    return;
  }
  const int page = data_.page;
  const bool resultPage = page >= 1 && page <= 3;
  const bool memoStandard = !resultPage || memoHeight_[static_cast<size_t>(page)] == kStandardMemoHeight;
  BTN1->setVisible(resultPage && !memoStandard);
  BTN1->setEnabled(!memoStandard);
  BTN2->setVisible(resultPage);
  BTN3->setVisible(page == kYearsPage || page == kAnalysisPage);
  BTN5->setVisible(page == kWeatherPage);
  const bool tanksApply = page == kMonthsPage || page == kYearlyPage || (page == kYearsPage && data_.yearNumber > 0);
  PNL2->setVisible(tanksApply && tankPanelOn_ && memoStandard);
  PNL1->setVisible(page == kYearsPage && yearPanelOn_);
  PNL3->setVisible(page == kAnalysisPage && yearCheckPanelOn_);
  PNL5->setVisible(page == kWeatherPage && dataPanelOn_);
  PNL5_1->setVisible(PNL5->isVisibleTo(this) && frequencyPanelOn_);
  data_.frequencyPanelShown = PNL5_1->isVisibleTo(this);
  SBTN4_2->setVisible(data_.graph == 1);
  if (data_.graph != 1) {
    showFullTank_ = false;
    STRG4_1->hide();
  }
  PlaceTankPanel();
  for (QWidget* panel : {PNL2, PNL1, PNL3}) panel->raise();
}

void THARV3Form::MovePointerTo(QWidget* control) { fw::MovePointerToControl(control); }

void THARV3Form::BTN1Click() {
  for (size_t page = 1; page <= 3; ++page) memoHeight_[page] = kStandardMemoHeight;
  LayOut();
  BTN1->setEnabled(false);
  PNL2->setEnabled(true);
  UpdateButtons();
}

void THARV3Form::SPLIT1Moved() {
  UpdateButtons();  // the tank panel hides and "標準サイズ" shows while a memo is not 201 high
}

bool THARV3Form::TogglePanel(bool& on, QWidget* panel, QWidget* closeButton) {
  on = !on;
  UpdateButtons();
  if (!panel->isVisibleTo(this)) return false;
  panel->raise();
  MovePointerTo(closeButton);
  return true;
}

void THARV3Form::BTN2Click() { TogglePanel(tankPanelOn_, PNL2, SBTN2_1); }

void THARV3Form::BTN3Click() {
  if (data_.page == kYearsPage) {
    fw::SetRadioGroupSilently(RADG1Items, data_.yearNumber);
    TogglePanel(yearPanelOn_, PNL1, SBTN1_1);
  } else if (data_.page == kAnalysisPage) {
    TogglePanel(yearCheckPanelOn_, PNL3, SBTN3_1);
  }
}

void THARV3Form::BTN5Click() {
  if (TogglePanel(dataPanelOn_, PNL5, SBTN5)) INPUDFM5->SetValue(data_.threshold);
}

void THARV3Form::ClosePanelClick(int tag) {
  if (tag == 2) {
    tankPanelOn_ = false;
    UpdateButtons();
    if (data_.page >= 1 && data_.page <= 3) MovePointerTo(BTN2);
    return;
  }
  switch (data_.page) {
    case kYearsPage:
      yearPanelOn_ = false;
      break;
    case kAnalysisPage:
      yearCheckPanelOn_ = false;
      break;
    case kWeatherPage:
      dataPanelOn_ = false;
      break;
    default:
      break;
  }
  UpdateButtons();
  MovePointerTo(data_.page == kWeatherPage ? BTN5 : BTN3);
}

void THARV3Form::SBTN5_0Click() {
  if (TogglePanel(frequencyPanelOn_, PNL5_1, SBTN5_1)) INPUDFM5_1->SetValue(data_.frequencyYear);
}

void THARV3Form::SBTN5_1Click() {
  frequencyPanelOn_ = false;
  UpdateButtons();
  MovePointerTo(SBTN5_0);
}

void THARV3Form::ShowTankCaptions() {
  for (int t = 1; t <= 8; ++t)
    SBTN_T[static_cast<size_t>(t)]->setText(Q(TankVolumeCaption(data_.tankVolume[static_cast<size_t>(t)])));
  PaintTankButtons();
}

void THARV3Form::PaintTankButtons() {
  for (int t = 1; t <= 8; ++t) {
    QToolButton* b = SBTN_T[static_cast<size_t>(t)];
    const int colour = data_.tankShownColor[static_cast<size_t>(t)];
    const platform::ColorRef rgb = platform::ColorToRgb(fw::ColorOf(colour));
    const platform::ColorRef back = platform::ColorToRgb(fw::ColorOf(kChartBackColor));
    QPalette pal = b->palette();
    pal.setColor(QPalette::ButtonText, QColor(platform::RedOf(rgb), platform::GreenOf(rgb), platform::BlueOf(rgb)));
    const QColor backColor(platform::RedOf(back), platform::GreenOf(back), platform::BlueOf(back));
    pal.setColor(QPalette::Button, backColor);
    pal.setColor(QPalette::Window, backColor);
    b->setPalette(pal);
    b->setAutoFillBackground(true);
    QFont f = b->font();
    f.setBold(colour != kHiddenTankColor);
    f.setStrikeOut(colour == kHiddenTankColor);
    b->setFont(f);
  }
}

void THARV3Form::SBTN_T1Click(int tag) {
  if (tag < 1 || tag > 8) return;
  const auto t = static_cast<size_t>(tag);
  data_.tankShownColor[t] = data_.tankShownColor[t] == kHiddenTankColor ? data_.tankColor[t] : kHiddenTankColor;
  PaintTankButtons();
  for (int page = 1; page <= 3; ++page) PageRendered[static_cast<size_t>(page)] = false;
  DrawCurrentChart();
}

bool THARV3Form::eventFilter(QObject* watched, QEvent* e) {
  if (watched == PNL1 || watched == PNL3) DragPanel(static_cast<QWidget*>(watched), e);
  return QWidget::eventFilter(watched, e);
}

void THARV3Form::DragPanel(QWidget* panel, QEvent* e) {
  if (fw::DragPanelByMouse(panel, e)) panelMoved_[panel == PNL1 ? 0 : 1] = true;
}

// ---- Saving graphs and the report metafiles -------------------------------------------------------

bool THARV3Form::SaveGraphMetafile(const std::string& path) {
  std::string error;
  const bool ok = app::SaveGraphMetafile(path, ResultPrefix, data_, &error);
  if (!ok) fw::MsgDialog(error, 4, 1);
  // The page's image is emptied, to be drawn again.
  ClearImage(currentImage_);
  if (data_.page >= 1 && data_.page <= 5) PageRendered[static_cast<size_t>(data_.page)] = false;
  return ok;
}

void THARV3Form::IMAG1MouseUp(fw::TImageEx* image) {
  if (!image || fw::MakingReportMetafiles) return;
  SyncPageState();
  if (image != currentImage_) return;
  SaveGraphFromImage(image, false);
}

void THARV3Form::IMAG5_1MouseUp() {
  if (fw::MakingReportMetafiles) return;
  SyncPageState();
  if (data_.page != kWeatherPage) return;
  SaveGraphFromImage(IMAG5_1, true);
}

bool THARV3Form::SaveGraphFromImage(fw::TImageEx* image, bool frequencyChart) {
  imageFile_ = frequencyChart ? ResultPrefix + FrequencyMetafileSuffix(data_.frequencyYear)
                              : MetafileName(ResultPrefix, data_);
  if (imageFile_.empty()) return false;
  fw::SplitFileName(imageFile_);
  PictureSaveChoice choice;
  if (!AskPictureSave(image, imageFile_, choice)) return false;

  // The metafile goes where the user confirmed, when the metafile format was asked for.
  const std::string savedFile = choice.path;
  PageRendered[static_cast<size_t>(data_.page)] = false;
  if (choice.metafile) {
    Screen3Data saved = data_;
    if (frequencyChart) saved.frequencyPanelShown = true;
    std::string error;
    if (!app::SaveGraphMetafile(savedFile, ResultPrefix, saved, &error)) {
      fw::MsgDialog(error, 4, 1);
      return false;
    }
  }
  PageRendered[static_cast<size_t>(data_.page)] = false;
  if (frequencyChart) {
    DrawFrequencyChart();
    fw::MsgDialog(J("〔グラフ〕を保存しました。"), 1, 1);
  } else {
    if (data_.page == kYearsPage && data_.yearNumber > 0) {
      PCONChange();
      TABC1Change();
    } else {
      PCONChange();
    }
    fw::MsgDialog(J("グラフを保存しました。"), 1, 1);
  }
  fw::ShowStatus(J("〔グラフ保存完了〕") + fw::AbbreviatePath(savedFile));
  UpdateCommandStates();
  return true;
}

namespace {

// Screen 3's part in making the report set (model/results/page_metafiles.h): each step is the
// page shown as the user would choose it (its tab, its year, its graph), then written.
class ScreenMetafileMaker : public ReportMetafileMaker {
 public:
  explicit ScreenMetafileMaker(THARV3Form& form) : form_(form) {}
  void Prepare() override {
    form_.PCON->hide();
    form_.UpdateButtons();
  }
  void Show(const ReportMetafileStep& step) override {
    if (step.page != shownPage_) {
      LeaveGraphs();
      {
        const QSignalBlocker block(form_.PCON);
        form_.PCON->setCurrentIndex(step.page - 1);
      }
      form_.PCONChange();
      shownPage_ = step.page;
    }
    if (step.page == 1) {
      form_.ChooseYear(step.yearNumber);
    } else if (step.page == 4) {
      {
        const QSignalBlocker block(form_.PCON4);
        form_.PCON4->setCurrentIndex(step.graph - 1);
      }
      form_.PCON4Change();
    }
  }
  bool Write() override {
    form_.SyncPageState();
    const std::string name = MetafileName(ResultPrefix, form_.Data());
    return name.empty() || form_.SaveGraphMetafile(name);
  }
  // After the graphs of page 4 the graph page control is back on graph 1.
  void LeaveGraphs() {
    if (shownPage_ != 4) return;
    const QSignalBlocker block(form_.PCON4);
    form_.PCON4->setCurrentIndex(0);
  }

 private:
  THARV3Form& form_;
  int shownPage_ = 0;
};

}  // namespace

void THARV3Form::CreateReportMetafiles() {
  if (ReportMetafilesComplete(ResultPrefix)) return;
  // Without the yearly table there are no representative years and no report to make.
  const std::vector<ReportMetafileStep> steps = ReportMetafileSteps(data_.representative);
  if (steps.empty()) return;

  fw::MakingReportMetafiles = true;
  struct Reset {
    ~Reset() { fw::MakingReportMetafiles = false; }
  } reset;
  ScreenMetafileMaker maker(*this);
  MakeReportMetafiles(steps, maker);
  maker.LeaveGraphs();
  PCON->show();
  fw::MakingReportMetafiles = false;
  {
    const QSignalBlocker block(PCON);
    PCON->setCurrentIndex(0);
  }
  PCONChange();
  TABC1Change();
  yearPanelOn_ = true;
  UpdateButtons();
  UpdateCommandStates();
}

void THARV3Form::UpdateCommandStates() {
  if (HARVForm) HARVForm->UpdateCommandStates();
}

// ---- Registration -----------------------------------------------------------------------------

void RegisterScreen3() {
  ScreenEntry entry;
  entry.create = [] { return static_cast<QWidget*>(new THARV3Form); };
  entry.refresh = [](QWidget* form, int tag) {
    auto* screen = qobject_cast<THARV3Form*>(form);
    if (!screen) return;
    screen->RefreshScreen();
    screen->ShowPage(tag == 4 ? 4 : tag == 5 ? 5 : 1);
  };
  RegisterScreen(3, std::move(entry));
}

}  // namespace app
