#include "views/report_form.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QToolButton>
#include <algorithm>

#include "model/results/page_metafiles.h"
#include "model/sim/run_state.h"
#include "framework/appinit.h"
#include "framework/messages.h"
#include "framework/ui/form_utils.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "platform/qt/qt_text.h"
#include "report/band_report.h"
#include "report/rpt_ctrls.h"
#include "views/report_content.h"
#include "views/report_layouts.h"
#include "views/report_pages.h"

namespace views {

using platform::J;
using platform::Q;

namespace {

constexpr int kTabHeight = 24, kBarHeight = 36, kSide = 8;

QRadioButton* Radio(QWidget* parent, const char* name, const char* text, int tag) {
  auto* r = new QRadioButton(Q(text), parent);
  r->setObjectName(Q(name));
  r->setProperty("Tag", tag);
  return r;
}

QFrame* ModePanel(QWidget* parent, const char* name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(Q(name));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setAutoFillBackground(true);
  panel->setCursor(Qt::SizeAllCursor);
  return panel;
}

rpt::TRptAlignment AlignmentOf(ReportAlign align) {
  switch (align) {
    case ReportAlign::Right:
      return rpt::TRptAlignment::Right;
    case ReportAlign::Center:
      return rpt::TRptAlignment::Center;
    default:
      return rpt::TRptAlignment::Left;
  }
}

void Place(rpt::TRptPrintable& control, const ReportControlLayout& c) {
  control.Size().SetNative(rpt::TRptPrintableSize::kLeft, c.left);
  control.Size().SetNative(rpt::TRptPrintableSize::kTop, c.top);
  control.Size().SetNative(rpt::TRptPrintableSize::kWidth, c.width);
  control.Size().SetNative(rpt::TRptPrintableSize::kHeight, c.height);
}

// Creates the controls of a page on its report as the page's layout has them.
void CreateControls(rpt::TBandReport& report, int page) {
  for (const ReportControlLayout& c : ReportLayout(page)) {
    rpt::TRptPrintable* control = nullptr;
    rpt::TRptCustomLabel* text = nullptr;
    if (c.kind == ReportControlKind::Image) {
      auto* image = new rpt::TRptImage(&report);
      image->SetStretch(true);
      control = image;
    } else {
      text = c.kind == ReportControlKind::Memo ? static_cast<rpt::TRptCustomLabel*>(new rpt::TRptMemo(&report))
                                               : new rpt::TRptLabel(&report);
      text->SetAutoSize(false);
      text->SetWordWrap(c.wordWrap);
      text->SetAlignment(AlignmentOf(c.alignment));
      text->MutableFont().SetName(J(kReportFontFace));
      text->MutableFont().SetSize(c.fontSize);
      control = text;
    }
    control->setObjectName(QString::fromStdString(c.name));
    Place(*control, c);
    if (text && c.kind == ReportControlKind::Label) text->SetCaption(c.caption);
  }
}

const ReportControlLayout* Authored(int page, const std::string& name) {
  for (const ReportControlLayout& c : ReportLayout(page))
    if (c.name == name) return &c;
  return nullptr;
}

}  // namespace

THARVRPTForm::THARVRPTForm(QWidget* parent, ReportInputs inputs) : QDialog(parent), inputs_(std::move(inputs)) {
  setObjectName(Q("HARVRPTForm"));
  setWindowTitle(Q("レポート作成〔プレビュー画面〕"));
  setModal(true);

  Tabs = new QButtonGroup(this);
  const char* const kTabNames[3] = {"計算結果", "分析結果", "気象データ"};
  for (int page = 1; page <= 3; ++page) {
    auto* tab = new QToolButton(this);
    tab->setObjectName(Q(("TAB" + std::to_string(page)).c_str()));
    tab->setText(Q(kTabNames[page - 1]));
    tab->setCheckable(true);
    tab->setAutoRaise(false);
    Tabs->addButton(tab, page);
    (page == 1 ? TAB1 : page == 2 ? TAB2 : TAB3) = tab;
  }
  Tabs->setExclusive(true);
  connect(Tabs, &QButtonGroup::idClicked, this, [this](int page) { PageChosen(page); });

  BBTN1 = new QPushButton(Q("印刷(&P)..."), this);
  BBTN1->setObjectName(Q("BBTN1"));
  connect(BBTN1, &QPushButton::clicked, this, [this] { PrintReportPage(*this); });
  RBTN_Z1 = Radio(this, "RBTN_Z1", "100％", 1);
  RBTN_Z2 = Radio(this, "RBTN_Z2", "50％縮小", 0);
  RBTN_Z2->setChecked(true);
  connect(RBTN_Z1, &QRadioButton::clicked, this, [this] { ZoomClick(true); });
  connect(RBTN_Z2, &QRadioButton::clicked, this, [this] { ZoomClick(false); });
  LBL_Prn = new QLabel(this);
  LBL_Prn->setObjectName(Q("LBL_Prn"));

  PCON = new QStackedWidget(this);
  PCON->setObjectName(Q("PCON"));
  PCON->addWidget(new QWidget);  // no page chosen
  CreateReports();

  PNL1 = ModePanel(this, "PNL1");
  RBTN1_1 = Radio(PNL1, "RBTN1_1", "日次結果（降水量最低年・最高年・平均年）", 1);
  RBTN1_2 = Radio(PNL1, "RBTN1_2", "月次統計(15年間)、年次統計(15年間)", 2);
  PNL2 = ModePanel(this, "PNL2");
  RBTN2_1 = Radio(PNL2, "RBTN2_1", "雨水利用日数", 1);
  RBTN2_2 = Radio(PNL2, "RBTN2_2", "集水屋根面積に対する雨水流出率", 2);
  RBTN2_3 = Radio(PNL2, "RBTN2_3", "全体屋根面積に対する流出抑制率", 3);
  int y = 4;
  for (QRadioButton* r : {RBTN1_1, RBTN1_2}) {
    r->setGeometry(8, y, 300, 20);
    y += 22;
    connect(r, &QRadioButton::clicked, this, [this, r] { ModeClick(1, r->property("Tag").toInt()); });
  }
  PNL1->resize(316, y + 4);
  y = 4;
  for (QRadioButton* r : {RBTN2_1, RBTN2_2, RBTN2_3}) {
    r->setGeometry(8, y, 240, 20);
    y += 22;
    connect(r, &QRadioButton::clicked, this, [this, r] { ModeClick(2, r->property("Tag").toInt()); });
  }
  PNL2->resize(256, y + 4);
  for (QFrame* panel : {PNL1, PNL2}) {
    panel->installEventFilter(this);
    panel->hide();
  }

  // Both modes 1 with their radios checked; the geometry at its start.
  RBTN1_1->setChecked(true);
  RBTN2_1->setChecked(true);
  InitPreviewSize(*this);
  PlaceControls();
  UpdateButtons();
}

THARVRPTForm::~THARVRPTForm() = default;

void THARVRPTForm::CreateReports() {
  for (int page = 1; page <= 3; ++page) {
    auto* area = new QScrollArea;
    area->setObjectName(Q(("SBOX" + std::to_string(page)).c_str()));
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area->setFrameShape(QFrame::NoFrame);
    area->setBackgroundRole(QPalette::Dark);
    auto* report = new rpt::TBandReport;
    report->setObjectName(Q(("RPT" + std::to_string(page)).c_str()));
    report->SetUnits(rpt::TRptUnit::MM);
    report->Page().SetPaperSize(rpt::TRptPaperSize::A4);
    report->Page().SetOrientation(rpt::TRptOrientation::Portrait);
    report->Page().SetTopMargin(10);
    report->Page().SetBottomMargin(10);
    report->Page().SetLeftMargin(10);
    report->Page().SetRightMargin(10);
    report->Options = rpt::TBandReportOptions{}
                          .Set(rpt::TBandReportOption::FirstPageHeader)
                          .Set(rpt::TBandReportOption::LastPageFooter);
    report->SetPrintIfEmpty(true);
    report->Font().SetName(J(kReportFontFace));
    report->Font().SetSize(8);
    report->ReportTitle = J("レポート作成");
    // A report without data takes no user input between the start and the end of its document:
    // the page start lets the progress form's Cancel be pressed.
    report->OnStartPage = [](rpt::TCustomBandReport*) {
      platform::CurrentUi().ProcessEvents(platform::PumpScope::WithUserInput);
    };
    rpt::TRptBand* title = report->CreateBand(rpt::TRptBandType::rbTitle);
    title->Size().SetHeight(0);
    CreateControls(*report, page);
    area->setWidget(report);
    PCON->addWidget(area);
    SBOX[static_cast<size_t>(page)] = area;
    (page == 1 ? RPT1 : page == 2 ? RPT2 : RPT3) = report;
  }
}

rpt::TBandReport* THARVRPTForm::Report(int page) const {
  switch (page) {
    case 1:
      return RPT1;
    case 2:
      return RPT2;
    case 3:
      return RPT3;
    default:
      return nullptr;
  }
}

int THARVRPTForm::SelectedPage() const { return std::max(Tabs->checkedId(), 0); }

void THARVRPTForm::SelectPage(int page) {
  if (page < 1 || page > ReportPageCount) {
    // An exclusive group keeps one button pressed: let go of it to choose none.
    Tabs->setExclusive(false);
    for (QAbstractButton* b : Tabs->buttons()) b->setChecked(false);
    Tabs->setExclusive(true);
    PCON->setCurrentIndex(0);
    UpdateButtons();
    return;
  }
  Tabs->button(page)->setChecked(true);
  PageChosen(page);
}

void THARVRPTForm::PageChosen(int page) {
  ReportPage = page;
  PCON->setCurrentIndex(page);
  BuildPage(page);
  PNL1->setVisible(page == 1);
  PNL2->setVisible(page == 2);
  if (page == 1) PNL1->raise();
  if (page == 2) PNL2->raise();
  FitReportPreview(*this);
  UpdateButtons();
}

void THARVRPTForm::BuildPage(int page) {
  if (page < 1 || page > 3 || PageBuilt[static_cast<size_t>(page)]) return;
  if (page == 1) BuildResultsPage();
  if (page == 2) BuildAnalysisPage();
  if (page == 3) BuildWeatherPage();
  PageBuilt[static_cast<size_t>(page)] = true;
}

rpt::TRptPrintable* THARVRPTForm::Control(int page, const std::string& name) const {
  rpt::TBandReport* report = Report(page);
  return report ? report->findChild<rpt::TRptPrintable*>(QString::fromStdString(name)) : nullptr;
}

rpt::TRptImage* THARVRPTForm::Image(int page, int number) const {
  return qobject_cast<rpt::TRptImage*>(Control(page, "RPTIMAG" + std::to_string(page) + "_" + std::to_string(number)));
}

rpt::TRptMemo* THARVRPTForm::Memo(int page) const {
  return qobject_cast<rpt::TRptMemo*>(Control(page, "RPTMEMO" + std::to_string(page) + "_1"));
}

void THARVRPTForm::SetLabel(int page, const std::string& line, const std::string& text) {
  if (rpt::TRptLabel* label = FindRptLabel(*this, page, line)) label->SetCaption(text);
}

void THARVRPTForm::ApplyLayout(int page, int mode) {
  const std::vector<ReportControlLayout> placed = PlacedControls(page, mode);
  for (const ReportControlLayout& authored : ReportLayout(page)) {
    rpt::TRptPrintable* control = Control(page, authored.name);
    if (!control) continue;
    auto it = std::find_if(placed.begin(), placed.end(), [&](const auto& c) { return c.name == authored.name; });
    if (it != placed.end()) Place(*control, *it);
    // Hidden on screen (the widget) and left out of printing (disabled).
    control->setVisible(it != placed.end());
    control->SetEnabled(it != placed.end());
  }
}

void THARVRPTForm::LoadImages(int page, int mode, int count) {
  for (int i = 1; i <= count; ++i) {
    rpt::TRptImage* image = Image(page, i);
    if (image && image->IsShown())
      LoadReportImage(image, ReportImageFile(inputs_.resultPrefix, page, mode, i, inputs_.representativeYears));
  }
}

void THARVRPTForm::FillConditions(int page) {
  SetReportPageHeader(*this, page, inputs_.calcFilePath);
  const auto lines = ConditionLines();
  for (int i = 1; i <= kConditionLines; ++i) SetLabel(page, std::to_string(i), lines[static_cast<size_t>(i)]);
}

void THARVRPTForm::BuildResultsPage() {
  FillConditions(1);
  if (rpt::TRptMemo* memo = Memo(1)) memo->SetLines(YearlyTableLines(fw::ResultLines, 1));
  ApplyLayout(1, ReportMode1);
  if (ReportMode1 == 1) {
    inputs_.representativeYears = PickRepresentativeYears(fw::ResultLines);
    for (int i = 1; i <= 3; ++i) {
      const std::string line = "1" + std::to_string(i);
      if (const ReportControlLayout* c = Authored(1, "RPTLBL1_" + line))
        SetLabel(1, line, YearCaption(c->caption, inputs_.representativeYears[static_cast<size_t>(i)]));
    }
  }
  LoadImages(1, ReportMode1, 3);
}

void THARVRPTForm::BuildAnalysisPage() {
  FillConditions(2);
  if (rpt::TRptMemo* memo = Memo(2)) memo->SetLines(YearlyTableLines(fw::ResultLines, ReportMode2));
  ApplyLayout(2, ReportMode2);
  LoadImages(2, ReportMode2, 2);
  const auto findings = Findings(fw::ResultLines, ReportMode2);
  SetLabel(2, "11", findings[0]);
  SetLabel(2, "12", findings[1]);
}

void THARVRPTForm::BuildWeatherPage() {
  SetReportPageHeader(*this, 3, inputs_.calcFilePath);
  ApplyLayout(3, 1);
  SetLabel(3, "1", StationLine());
  const auto files = WeatherFileLines();
  SetLabel(3, "2", files[0]);
  SetLabel(3, "3", files[1]);
  const auto years = WeatherYears(fw::ResultLines, inputs_.resultPrefix);
  for (int k = 1; k <= 16; ++k) {
    const std::string line = k < 10 ? "0" + std::to_string(k) : std::to_string(k);
    SetLabel(3, line, WeatherYearLine(WeatherLineCaption(k), years[static_cast<size_t>(k)]));
  }
  LoadImages(3, 1, 1);
}

void THARVRPTForm::ModeClick(int page, int tag) {
  if (page == 1) ReportMode1 = tag;
  if (page == 2) ReportMode2 = tag;
  PageBuilt[static_cast<size_t>(page)] = false;
  BuildPage(page);
}

void THARVRPTForm::ZoomClick(bool wholePage) {
  Preview.wholePage = wholePage;
  FitReportPreview(*this);
}

void THARVRPTForm::UpdateButtons() {
  const bool chosen = SelectedPage() > 0;
  BBTN1->setEnabled(chosen);
  RBTN_Z1->setEnabled(chosen);
  RBTN_Z2->setEnabled(chosen);
}

QSize THARVRPTForm::PageAreaSize() const { return PCON->size(); }

void THARVRPTForm::ApplyPreviewFit(int zoom, int formWidth, int formHeight, const std::string& zoomText) {
  ++fitting_;
  if (!zoomText.empty()) RBTN_Z2->setText(platform::ToQString(zoomText));
  for (int page = 1; page <= 3; ++page) {
    Report(page)->SetZoom(zoom);
    QScrollArea* area = SBOX[static_cast<size_t>(page)];
    const Qt::ScrollBarPolicy bars = Preview.wholePage ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    area->setHorizontalScrollBarPolicy(bars);
    area->setVerticalScrollBarPolicy(bars);
  }
  resize(formWidth > 0 ? formWidth : width(), formHeight > 0 ? formHeight : height());
  PlaceControls();
  --fitting_;
}

void THARVRPTForm::PlaceControls() {
  const int w = width(), h = height();
  int x = kSide;
  for (QToolButton* tab : {TAB1, TAB2, TAB3}) {
    tab->setGeometry(x, 4, 84, kTabHeight);
    x += 86;
  }
  const int bar = 4 + kTabHeight + 2;
  BBTN1->setGeometry(kSide, bar + 4, 90, 26);
  RBTN_Z1->setGeometry(kSide + 98, bar + 8, 60, 20);
  RBTN_Z2->setGeometry(kSide + 160, bar + 8, 100, 20);
  LBL_Prn->setGeometry(kSide + 264, bar + 8, std::max(0, w - kSide * 2 - 264), 20);
  // The page area: 16 pixels narrower and 68 lower than the form.
  PCON->setGeometry(kSide, bar + kBarHeight + 4 - 2, std::max(0, w - 2 * kSide), std::max(0, h - 68));
  for (QFrame* panel : {PNL1, PNL2}) {
    if (!panel->property("moved").toBool()) panel->move(std::max(0, w - panel->width() - kSide - 20), PCON->y() + 8);
  }
}

void THARVRPTForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (activated_) return;
  activated_ = true;
  fw::ResultLines.clear();
  platform::ReadTextLines(inputs_.resultPrefix + "(1981-1995).YER", fw::ResultLines);
  FitReportPreview(*this);
  UpdateButtons();
  fw::ShowStatus(J("レポート作成〔プレビュー画面〕"));
}

void THARVRPTForm::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  PlaceControls();
  if (fitting_ == 0 && !Preview.wholePage) FitReportPreview(*this);
}

bool THARVRPTForm::eventFilter(QObject* watched, QEvent* e) {
  if ((watched == PNL1 || watched == PNL2) && fw::DragPanelByMouse(static_cast<QWidget*>(watched), e))
    watched->setProperty("moved", true);
  return QDialog::eventFilter(watched, e);
}

ReportInputs ProgramReportInputs() { return {app::CalcFilePath, app::ResultPrefix, app::RepresentativeYears}; }

void ShowReportForm(QWidget* parent, const ReportInputs& inputs) {
  THARVRPTForm form(parent, inputs);
  form.exec();
}

}  // namespace views
