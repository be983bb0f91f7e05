#include "report/band_report.h"

#include <QEvent>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

#include "platform/cp932.h"
#include "platform/emf_player.h"
#include "platform/locale_info.h"
#include "platform/qt/dc_qt.h"
#include "report/controller.h"
#include "report/printer_settings.h"
#include "report/rpt_printer.h"

namespace rpt {

namespace {

const char* const kBandTypeNames[kBandTypeCount] = {
    "rbTitle",       "rbPageHeader",  "rbDetail",    "rbPageFooter",   "rbSummary", "rbGroupHeader",
    "rbGroupFooter", "rbSubDetail",   "rbColumnHeader", "rbOverlay",   "rbChild"};
const char* const kBandPrefixes[kBandTypeCount] = {
    "TitleBand",       "PageHeaderBand",  "DetailBand",       "PageFooterBand", "SummaryBand", "GroupHeaderBand",
    "GroupFooterBand", "SubDetailBand",   "ColumnHeaderBand", "OverlayBand",    "ChildBand"};
const char* const kBandDisplayNames[kBandTypeCount] = {
    "Title",        "Page Header", "Detail",        "Page Footer", "Summary", "Group Header",
    "Group Footer", "Sub Detail",  "Column Header", "Overlay",     "Child"};
const char* const kOptionNames[] = {"FirstPageHeader", "LastPageFooter", "Compression"};
const char* const kZoomStateNames[] = {"rpZoomToFit", "rpZoomToWidth", "rpZoomOther"};

template <class E, size_t N>
std::optional<E> ByName(const char* const (&names)[N], std::string_view name) {
  for (size_t i = 0; i < N; ++i) {
    if (name == names[i]) return static_cast<E>(i);
  }
  return std::nullopt;
}

// Chains of links, parents and masters are never longer than this in a sound model.
constexpr int kMaxChain = 10000;

// Ruler and margin colours: a light palette for screens of more than 256 colours.
struct DesignPalette {
  platform::ColorRef minor, major, text, margin, outline;
};
const DesignPalette kLightPalette{platform::RgbColor(232, 236, 248), platform::RgbColor(176, 190, 230),
                                  platform::RgbColor(96, 96, 160), platform::RgbColor(128, 128, 128),
                                  platform::RgbColor(160, 160, 160)};
const DesignPalette kDarkPalette{platform::RgbColor(192, 192, 192), platform::RgbColor(128, 128, 128),
                                 platform::RgbColor(0, 0, 128), platform::RgbColor(128, 128, 128),
                                 platform::RgbColor(128, 128, 128)};
const DesignPalette& Palette() {
  static const DesignPalette& palette = platform::DeviceCaps::Screen(1, 1).bitsPixel > 8 ? kLightPalette : kDarkPalette;
  return palette;
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

}  // namespace

const char* BandTypeName(TRptBandType type) { return kBandTypeNames[static_cast<int>(type)]; }
std::optional<TRptBandType> BandTypeByName(std::string_view name) { return ByName<TRptBandType>(kBandTypeNames, name); }
const char* BandNamePrefix(TRptBandType type) { return kBandPrefixes[static_cast<int>(type)]; }
const char* BandDisplayName(TRptBandType type) { return kBandDisplayNames[static_cast<int>(type)]; }
const char* OptionName(TBandReportOption option) { return kOptionNames[static_cast<int>(option)]; }
std::optional<TBandReportOption> OptionByName(std::string_view name) {
  return ByName<TBandReportOption>(kOptionNames, name);
}
const char* ZoomStateName(TRptZoomState state) { return kZoomStateNames[static_cast<int>(state)]; }
std::optional<TRptZoomState> ZoomStateByName(std::string_view name) {
  return ByName<TRptZoomState>(kZoomStateNames, name);
}

// ---- TRptBasePanel -----------------------------------------------------------------------

TRptBasePanel::TRptBasePanel(QWidget* parent) : platform::CanvasWidget(parent) {}

void TRptBasePanel::SetZoom(int zoom) { zoom_ = zoom; }

bool TRptBasePanel::Designing() const { return Report() && Report()->Designing(); }

void TRptBasePanel::PaintRuler(platform::Canvas& canvas, TRptUnit units) {
  // Step between lines in 0.1 mm, lines per numbered line, and the zoom from which the
  // unnumbered lines show.
  Real stepX = 0, stepY = 0;
  int perMajor = 1, minorFrom = 0;
  switch (units) {
    case TRptUnit::Inches: stepX = stepY = 254.0L / 4; perMajor = 4; minorFrom = 50; break;
    case TRptUnit::MM: stepX = stepY = 50; perMajor = 2; minorFrom = 60; break;
    case TRptUnit::Characters: {
      Real s = std::max(1, CharacterFontSize());
      stepX = 80.0L / s / 2.54L * 10;
      stepY = 145.3L / s / 2.54L * 10;
      break;
    }
    case TRptUnit::Pixels:
    case TRptUnit::Native: return;
  }
  const DesignPalette& palette = Palette();
  const Real perTenth = ScreenPixelsPerInch() / 254.0L * Zoom() / 100;
  const bool minors = perMajor == 1 || Zoom() >= minorFrom;
  platform::DeviceContext& dc = canvas.Dc();
  auto line = [&](int x1, int y1, int x2, int y2, platform::ColorRef color) {
    dc.SelectPen(platform::LogPen{platform::PS_SOLID, 0, color, {}});
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
  };
  platform::LogFont lf;
  lf.height = -9;
  lf.faceName = "Arial";
  dc.SelectFont(lf);
  dc.SetBkMode(platform::TRANSPARENT);
  dc.SetTextColor(palette.text);
  if (stepX * perTenth < 2 || stepY * perTenth < 2) return;  // too dense to show
  for (int i = 1;; ++i) {
    int x = Round(i * stepX * perTenth);
    if (x >= width()) break;
    bool major = i % perMajor == 0;
    if (!major && !minors) continue;
    line(x, 0, x, height(), major ? palette.major : palette.minor);
    if (major && perMajor > 1) dc.TextOutA(x + 1, 0, std::to_string(i / perMajor));
  }
  for (int i = 1;; ++i) {
    int y = Round(i * stepY * perTenth);
    if (y >= height()) break;
    bool major = i % perMajor == 0;
    if (!major && !minors) continue;
    line(0, y, width(), y, major ? palette.major : palette.minor);
    if (major && perMajor > 1) dc.TextOutA(1, y + 1, std::to_string(i / perMajor));
  }
}

// ---- TRptCustomBand ----------------------------------------------------------------------

TRptCustomBand::TRptCustomBand(QWidget* parent, TRptBandType type)
    : TRptBasePanel(parent), type_(type), size_(*this) {
  font_.OnChange = [this](platform::CanvasObject&) { update(); };
  if (auto* report = qobject_cast<TCustomBandReport*>(parent)) SetParentReport(report);
  SizeChanged();
}

TRptCustomBand::~TRptCustomBand() {
  if (report_) report_->RemoveBand(this);
}

void TRptCustomBand::SetParentReport(TCustomBandReport* report) {
  if (report == report_) return;
  if (report_) report_->RemoveBand(this);
  report_ = report;
  size_.SetParentReport(report);
  if (report) {
    size_.SetUnits(report->Units());
    SetZoom(report->Zoom());
    report->AddBand(this);
  }
}

bool TRptCustomBand::event(QEvent* e) {
  if (e->type() == QEvent::ParentChange) SetParentReport(qobject_cast<TCustomBandReport*>(parentWidget()));
  return TRptBasePanel::event(e);
}

void TRptCustomBand::SetZoom(int zoom) {
  TRptBasePanel::SetZoom(zoom);
  size_.SetZoom(zoom);
}

int TRptCustomBand::PixelHeight() const { return Round(size_.NativeToPixels(size_.Native(TRptBandSize::kHeight), false)); }

void TRptCustomBand::SizeChanged() {
  resize(width(), std::max(0, PixelHeight()));
  if (report_) report_->BandsChanged();
}

void TRptCustomBand::SetColor(uint32_t c) {
  color_ = c;
  update();
}

void TRptCustomBand::SetEnabled(bool v) {
  enabled_ = v;
  update();
}

void TRptCustomBand::SetTransparentBand(bool v) {
  transparent_ = v;
  update();
}

const platform::CanvasFont& TRptCustomBand::Font() const {
  return parentFont_ && report_ ? report_->Font() : font_;
}

platform::CanvasFont& TRptCustomBand::MutableFont() {
  if (parentFont_) {
    if (report_) font_.Assign(report_->Font());
    parentFont_ = false;
  }
  return font_;
}

void TRptCustomBand::SetParentFont(bool v) {
  if (!v && parentFont_ && report_) font_.Assign(report_->Font());
  parentFont_ = v;
  update();
}

TRptChildBand* TRptCustomBand::ChildBand() const {
  if (!report_) return nullptr;
  for (TRptCustomBand* b : report_->AllBands()) {
    auto* child = qobject_cast<TRptChildBand*>(b);
    if (child && child->ParentBand() == this) return child;
  }
  return nullptr;
}

void TRptCustomBand::SetHasChild(bool v) {
  TRptChildBand* child = ChildBand();
  if (v && !child && report_) {
    auto* band = new TRptChildBand(report_);
    band->setObjectName(report_->FreeName(BandNamePrefix(TRptBandType::rbChild)));
    band->SetParentBand(this);
  } else if (!v && child) {
    delete child;
  }
}

bool TRptCustomBand::SetLinkBand(TRptCustomBand* band) {
  int n = 0;
  for (TRptCustomBand* b = band; b; b = b->LinkBand()) {
    if (b == this || ++n > kMaxChain) return false;
  }
  linkBand_ = band;
  return true;
}

void TRptCustomBand::Paint(platform::Canvas& canvas) {
  platform::DeviceContext& dc = canvas.Dc();
  platform::Rect all{0, 0, width(), height()};
  if (!Designing()) {
    dc.FillRect(all, platform::LogBrush{platform::BS_SOLID, 0xFFFFFF, 0, nullptr});
    return;
  }
  dc.FillRect(all, platform::LogBrush{platform::BS_SOLID, platform::ColorToRgb(color_), 0, nullptr});
  if (report_ && report_->Page().Ruler()) {
    SetCharacterFontSize(std::abs(report_->Font().Size()));
    PaintRuler(canvas, report_->Units());
  }
  dc.SelectPen(platform::LogPen{platform::PS_SOLID, 0, Palette().outline, {}});
  dc.SelectBrush(platform::LogBrush{platform::BS_NULL, 0, 0, nullptr});
  dc.Rectangle(0, 0, width(), height());
  platform::LogFont lf;
  lf.height = -11;
  lf.faceName = "Arial";
  dc.SelectFont(lf);
  dc.SetBkMode(platform::TRANSPARENT);
  dc.SetTextColor(Palette().outline);
  dc.TextOutA(2, 1, DisplayName());
}

// ---- Band kinds --------------------------------------------------------------------------

TRptBand::TRptBand(QWidget* parent, TRptBandType type) : TRptCustomBand(parent, type) {}

void TRptBand::SetBandType(TRptBandType type) {
  if (type == BandType()) return;
  SetBandTypeValue(type);
  if (ParentReport()) ParentReport()->BandsChanged();  // nothing while the report loads
  update();
}

TRptChildBand::TRptChildBand(QWidget* parent) : TRptCustomBand(parent, TRptBandType::rbChild) {}

bool TRptChildBand::SetParentBand(TRptCustomBand* band) {
  int n = 0;
  for (TRptCustomBand* b = band; b; b = qobject_cast<TRptChildBand*>(b) ? static_cast<TRptChildBand*>(b)->ParentBand() : nullptr) {
    if (b == this || ++n > kMaxChain) return false;
  }
  parentBand_ = band;
  if (ParentReport()) ParentReport()->BandsChanged();
  return true;
}

namespace {

// Whether the chain of masters from `master` reaches `self`.
bool MasterChainReaches(QObject* master, const QObject* self) {
  int n = 0;
  for (QObject* m = master; m; ++n) {
    if (m == self || n > kMaxChain) return true;
    if (auto* band = qobject_cast<TRptControllerBand*>(m)) {
      m = band->Master();
    } else if (auto* group = qobject_cast<TRptGroup*>(m)) {
      m = group->Master();
    } else {
      m = nullptr;
    }
  }
  return false;
}

}  // namespace

TRptControllerBand::TRptControllerBand(QWidget* parent, TRptBandType type)
    : TRptCustomBand(nullptr, type), controller_(std::make_unique<TRptController>(this)) {
  controller_->SetDetailBand(this);
  connect(this, &QObject::objectNameChanged, this, [this] { RegisterFunction(); });
  setParent(parent);
  if (auto* report = qobject_cast<TCustomBandReport*>(parent)) SetParentReport(report);
}

TRptControllerBand::~TRptControllerBand() { UnregisterFunction(); }

void TRptControllerBand::RegisterFunction() {
  UnregisterFunction();
  if (!ParentReport() || objectName().isEmpty()) return;
  TRptEvEnvironment& functions = ParentReport()->Functions();
  std::string name = FunctionName();
  for (const std::string& n : functions.Names()) {
    if (QString::fromStdString(n).compare(QString::fromStdString(name), Qt::CaseInsensitive) == 0) return;  // not ours
  }
  functions.AddEntry(name, "0");
  registered_ = name;
}

void TRptControllerBand::UnregisterFunction() {
  if (registered_.empty()) return;
  if (ParentReport()) ParentReport()->Functions().RemoveEntry(registered_);
  registered_.clear();
}

QObject* TRptControllerBand::Master() const { return controller_->Master(); }

bool TRptControllerBand::SetMaster(QObject* master) {
  if (MasterChainReaches(master, this)) return false;
  controller_->SetMaster(master);
  if (ParentReport()) ParentReport()->BandsChanged();
  return true;
}

void TRptControllerBand::SetParentReport(TCustomBandReport* report) {
  if (report != ParentReport()) UnregisterFunction();
  TRptCustomBand::SetParentReport(report);
  controller_->SetParentReport(report);
  if (report && !Master()) SetMaster(report);
  RegisterFunction();
}

TRptSubDetail::TRptSubDetail(QWidget* parent) : TRptControllerBand(parent, TRptBandType::rbSubDetail), bands_(*this) {}

TRptCustomBand* TRptSubDetail::HeaderBand() const { return Controller().HeaderBand(); }
TRptCustomBand* TRptSubDetail::FooterBand() const { return Controller().FooterBand(); }

void TRptSubDetail::SetHeaderBand(TRptCustomBand* band) {
  Controller().SetHeaderBand(band);
  if (ParentReport()) ParentReport()->BandsChanged();
}

void TRptSubDetail::SetFooterBand(TRptCustomBand* band) {
  Controller().SetFooterBand(band);
  if (ParentReport()) ParentReport()->BandsChanged();
}

bool TRptSubDetail::PrintBefore() const { return Controller().PrintBefore(); }

void TRptSubDetail::SetPrintBefore(bool v) {
  Controller().SetPrintBefore(v);
  if (ParentReport()) ParentReport()->BandsChanged();
}

bool TRptSubDetail::PrintIfEmpty() const { return Controller().PrintIfEmpty(); }
void TRptSubDetail::SetPrintIfEmpty(bool v) { Controller().SetPrintIfEmpty(v); }
std::function<void(QObject*, bool&)>& TRptSubDetail::OnNeedData() { return Controller().OnNeedData; }
TRptDataSet* TRptSubDetail::DataSet() const { return Controller().DataSet(); }
void TRptSubDetail::SetDataSet(TRptDataSet* dataSet) { Controller().SetDataSet(dataSet); }

bool TRptSubDetailGroupBands::HasHeader() const { return owner_.HeaderBand() != nullptr; }
bool TRptSubDetailGroupBands::HasFooter() const { return owner_.FooterBand() != nullptr; }

void TRptSubDetailGroupBands::SetHasHeader(bool v) {
  if (v == HasHeader()) return;
  if (!v) {
    delete owner_.HeaderBand();
  } else if (TCustomBandReport* report = owner_.ParentReport()) {
    owner_.SetHeaderBand(report->CreateBand(TRptBandType::rbGroupHeader));
  }
}

void TRptSubDetailGroupBands::SetHasFooter(bool v) {
  if (v == HasFooter()) return;
  if (!v) {
    delete owner_.FooterBand();
  } else if (TCustomBandReport* report = owner_.ParentReport()) {
    owner_.SetFooterBand(report->CreateBand(TRptBandType::rbGroupFooter));
  }
}

TRptGroup::TRptGroup(QWidget* parent) : TRptCustomBand(parent, TRptBandType::rbGroupHeader) {
  if (ParentReport() && !master_) master_ = ParentReport();
}

void TRptGroup::SetFooterBand(TRptBand* band) {
  footer_ = band;
  if (ParentReport()) ParentReport()->BandsChanged();
}

bool TRptGroup::SetMaster(QObject* master) {
  if (MasterChainReaches(master, this)) return false;
  master_ = master;
  if (ParentReport()) ParentReport()->BandsChanged();
  return true;
}

void TRptGroup::SetParentReport(TCustomBandReport* report) {
  TRptCustomBand::SetParentReport(report);
  if (report && !master_) master_ = report;
}

// ---- TBandReportBands --------------------------------------------------------------------

bool TBandReportBands::Has(TRptBandType type) const {
  for (TRptCustomBand* b : report_.AllBands()) {
    if (b->BandType() == type) return true;
  }
  return false;
}

void TBandReportBands::Set(TRptBandType type, bool v) {
  if (v == Has(type)) return;
  if (v) {
    report_.CreateBand(type);
    return;
  }
  for (TRptCustomBand* b : report_.AllBands()) {
    if (b->BandType() == type) {
      delete b;
      return;
    }
  }
}

// ---- TCustomBandReport -------------------------------------------------------------------

TCustomBandReport::TCustomBandReport(QWidget* parent)
    : TRptBasePanel(parent),
      bands_(*this),
      page_(*this),
      functions_(std::make_unique<TRptEvEnvironment>()),
      printerSettings_(std::make_unique<TBandReportPrinterSettings>(this)),
      deviceSettings_(std::make_unique<TPrinterSettings>()),
      controller_(std::make_unique<TRptCustomController>(this)) {
  font_.OnChange = [this](platform::CanvasObject&) { FontChanged(); };
  TCustomBandReport::InitReport();
}

TCustomBandReport::~TCustomBandReport() {
  destroying_ = true;
  // Bands and controls go first, while the lists they leave still exist.
  for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) delete w;
}

void TCustomBandReport::InitReport() {
  platform::EnsureQtFontEngine();
  setAutoFillBackground(false);
  move(0, 0);
  font_.Assign(platform::CanvasFont());
  if (!platform::LocaleIsJapanese()) {
    font_.SetName("Arial");
    font_.SetSize(10);
  }
  Options = TBandReportOptions{}.Set(TBandReportOption::FirstPageHeader).Set(TBandReportOption::LastPageFooter);
  functions_->Clear();
  functions_->AddEntry("PAGENUMBER", "0");
  functions_->AddEntry("COLUMNNUMBER", "0");
  functions_->AddEntry("REPORTTITLE", "''");
  const bool inches = LocaleUnit() == TRptUnit::Inches;
  const Real margin = inches ? 127 : 100;  // 0.5 in or 10 mm
  page_.SetUnits(inches ? TRptUnit::Inches : TRptUnit::MM);
  page_.SetPaperSize(inches ? TRptPaperSize::Letter : TRptPaperSize::A4);
  page_.SetNative(TRptPage::kBottomMargin, 0);
  page_.SetNative(TRptPage::kTopMargin, margin);
  page_.SetNative(TRptPage::kBottomMargin, margin);
  page_.SetNative(TRptPage::kLeftMargin, margin);
  page_.SetNative(TRptPage::kRightMargin, margin);
  page_.SetNative(TRptPage::kColumnSpace, 0);
  page_.SetRuler(true);
  page_.SetColumns(1);
  controller_->SetParentReport(this);
  controller_->SetPrintIfEmpty(true);
  ShowProgress = true;
  SnapToGrid = true;
  previewWidth_ = previewHeight_ = 500;
  PrevShowThumbs = PrevShowSearch = true;
  SetZoom(100);
  TakePrinterPaper();
}

void TCustomBandReport::TakePrinterPaper() {
  TRptPrinter printer(this);
  if (printer.Settings().HasDeviceMode()) page_.SetPaperSize(printer.Settings().PaperSize());
}

void TCustomBandReport::SetController(std::unique_ptr<TRptCustomController> controller) {
  controller->SetParentReport(this);
  controller->SetPrintIfEmpty(controller_ ? controller_->PrintIfEmpty() : true);
  auto* from = dynamic_cast<TRptController*>(controller_.get());
  auto* to = dynamic_cast<TRptController*>(controller.get());
  if (from && to) to->SetDataSet(from->DataSet());
  controller_ = std::move(controller);
}

TRptDataSet* TCustomBandReport::DataSet() const {
  auto* c = dynamic_cast<TRptController*>(controller_.get());
  return c ? c->DataSet() : nullptr;
}

void TCustomBandReport::SetDataSet(TRptDataSet* dataSet) {
  if (auto* c = dynamic_cast<TRptController*>(controller_.get())) c->SetDataSet(dataSet);
}

bool TCustomBandReport::PrintIfEmpty() const { return controller_->PrintIfEmpty(); }
void TCustomBandReport::SetPrintIfEmpty(bool v) { controller_->SetPrintIfEmpty(v); }

QWidget* TCustomBandReport::OwnerForm() const {
  QWidget* form = window();
  return form ? form : const_cast<TCustomBandReport*>(this);
}

QString TCustomBandReport::FreeName(const char* prefix) const {
  QWidget* owner = OwnerForm();
  QList<QObject*> components = owner->findChildren<QObject*>();
  components.append(owner);
  for (int n = 1;; ++n) {
    QString name = QString::fromLatin1(prefix) + QString::number(n);
    bool used = std::any_of(components.begin(), components.end(),
                            [&](QObject* o) { return SameName(o->objectName(), name); });
    if (!used) return name;
  }
}

TRptBand* TCustomBandReport::CreateBand(TRptBandType type) {
  QString name = FreeName(BandNamePrefix(type));
  auto* band = new TRptBand(nullptr, type);
  band->setObjectName(name);
  band->setParent(this);
  band->SetParentReport(this);
  band->show();
  return band;
}

TRptBand* TCustomBandReport::FirstBandOf(TRptBandType type) const {
  for (TRptCustomBand* b : allBands_) {
    if (b->BandType() == type) {
      if (auto* band = qobject_cast<TRptBand*>(b)) return band;
    }
  }
  return nullptr;
}

void TCustomBandReport::AddBand(TRptCustomBand* band) {
  if (std::find(allBands_.begin(), allBands_.end(), band) != allBands_.end()) return;
  allBands_.push_back(band);
  if (band->parentWidget() != this) band->setParent(this);
  band->show();
  BandsChanged();
}

void TCustomBandReport::RemoveBand(TRptCustomBand* band) {
  allBands_.erase(std::remove(allBands_.begin(), allBands_.end(), band), allBands_.end());
  printOrder_.erase(std::remove(printOrder_.begin(), printOrder_.end(), band), printOrder_.end());
  if (!destroying_) BandsChanged();
}

void TCustomBandReport::AddPrintableSize(TRptPrintableSize* size) {
  if (std::find(printables_.begin(), printables_.end(), size) == printables_.end()) printables_.push_back(size);
}

void TCustomBandReport::RemovePrintableSize(TRptPrintableSize* size) {
  printables_.erase(std::remove(printables_.begin(), printables_.end(), size), printables_.end());
}

void TCustomBandReport::BandsChanged() {
  if (loading_ || destroying_) return;
  SortBands();
  LayoutBands();
}

void TCustomBandReport::PageChanged() {
  if (destroying_) return;
  int w = Round(page_.NativeToPixels(page_.Native(TRptPage::kWidth), true));
  int h = Round(page_.NativeToPixels(page_.Native(TRptPage::kLength), false));
  resize(std::max(0, w), std::max(0, h));
  LayoutBands();
  update();
}

// What a sort knows of the report's bands: every band, the first child band of each (the child
// bands in the order of the list of all bands) and the bands placed so far.
struct TCustomBandReport::SortState {
  std::unordered_set<const TRptCustomBand*> all, placed;
  std::unordered_map<const TRptCustomBand*, TRptChildBand*> child;
};

void TCustomBandReport::PlaceBand(SortState& sort, TRptCustomBand* band) {
  ++sortSteps_;
  if (!band || sort.placed.count(band) || !sort.all.count(band)) return;
  printOrder_.push_back(band);
  sort.placed.insert(band);
  for (auto it = sort.child.find(band); it != sort.child.end() && !sort.placed.count(it->second);
       it = sort.child.find(it->second)) {
    ++sortSteps_;
    printOrder_.push_back(it->second);
    sort.placed.insert(it->second);
  }
}

void TCustomBandReport::PlaceLevel(SortState& sort, TRptCustomController& controller, int depth) {
  if (depth > 64) return;
  PlaceBand(sort, controller.HeaderBand());
  for (TRptGroup* group : controller.Groups()) PlaceBand(sort, group);
  for (TRptCustomController* sub : controller.BeforeControllers()) PlaceLevel(sort, *sub, depth + 1);
  PlaceBand(sort, controller.DetailBand());
  for (TRptCustomController* sub : controller.AfterControllers()) PlaceLevel(sort, *sub, depth + 1);
  for (auto it = controller.Groups().rbegin(); it != controller.Groups().rend(); ++it) {
    PlaceBand(sort, (*it)->FooterBand());
  }
  PlaceBand(sort, controller.FooterBand());
}

void TCustomBandReport::SortBands() {
  printOrder_.clear();
  SortState sort;
  for (TRptCustomBand* b : allBands_) {
    ++sortSteps_;
    sort.all.insert(b);
    auto* child = qobject_cast<TRptChildBand*>(b);
    if (child && child->ParentBand()) sort.child.emplace(child->ParentBand(), child);
  }
  auto placeKind = [&](TRptBandType type) {
    for (TRptCustomBand* b : allBands_) {
      ++sortSteps_;
      if (b->BandType() == type) PlaceBand(sort, b);
    }
  };
  placeKind(TRptBandType::rbPageHeader);
  if (bands_.HasTitle()) placeKind(TRptBandType::rbTitle);
  placeKind(TRptBandType::rbColumnHeader);
  HandBandsToController();
  controller_->Prepare();
  PlaceLevel(sort, *controller_, 0);
  placeKind(TRptBandType::rbPageFooter);
  for (TRptCustomBand* b : allBands_) PlaceBand(sort, b);
}

void TCustomBandReport::LayoutBands() {
  if (loading_ || destroying_ || layoutDepth_ > 0) return;
  ++layoutDepth_;
  // The printable and column widths in whole pixels, on screen at the zoom and in the layout at
  // zoom 100; a band's stored width comes from the latter, so the zoom shown changes no width
  // printed (nor the column step a detail band's width sets).
  struct Widths {
    int printable, column;
  };
  const int columns = page_.Columns();
  auto widths = [&](auto px) {
    const int printable = Round(px(TRptPage::kWidth) - px(TRptPage::kLeftMargin) - px(TRptPage::kRightMargin));
    return Widths{printable, (printable - Round(px(TRptPage::kColumnSpace)) * (columns - 1)) / columns};
  };
  auto px = [&](int index) { return page_.NativeToPixels(page_.Native(index), true); };
  const Widths shown = widths(px);
  const Widths laid = widths([&](int index) { return page_.Native(index) * kScreenPerTenth; });
  const int left = Round(px(TRptPage::kLeftMargin));
  int top = Round(page_.NativeToPixels(page_.Native(TRptPage::kTopMargin), false));
  for (TRptCustomBand* band : printOrder_) {
    TRptBandType kind = band->BandType();
    int n = 0;
    for (TRptCustomBand* b = band; kind == TRptBandType::rbChild && b && ++n < kMaxChain;) {
      auto* child = qobject_cast<TRptChildBand*>(b);
      b = child ? child->ParentBand() : nullptr;
      if (b) kind = b->BandType();
    }
    bool fullWidth = kind == TRptBandType::rbTitle || kind == TRptBandType::rbPageHeader ||
                     kind == TRptBandType::rbPageFooter || kind == TRptBandType::rbSummary ||
                     kind == TRptBandType::rbOverlay;
    const int width = fullWidth ? shown.printable : shown.column;
    const int height = std::max(0, band->PixelHeight());
    band->setGeometry(left, top, std::max(0, width), height);
    band->Size().Store(TRptBandSize::kWidth, (fullWidth ? laid.printable : laid.column) * kTenthsPerLayoutPixel);
    top += height;
  }
  --layoutDepth_;
  update();
}

TRptUnit TCustomBandReport::Units() const { return page_.Units(); }

void TCustomBandReport::SetUnits(TRptUnit units) {
  page_.SetUnits(units);
  for (TRptCustomBand* b : allBands_) b->Size().SetUnits(units);
  for (TRptPrintableSize* s : printables_) s->SetUnits(units);
  update();
}

void TCustomBandReport::SetZoom(int zoom) {
  if (zoom < 1 || zoom > 300) return;
  TRptBasePanel::SetZoom(zoom);
  ++layoutDepth_;
  for (TRptCustomBand* b : allBands_) b->SetZoom(zoom);
  --layoutDepth_;
  page_.SetZoom(zoom);  // resizes and re-lays the report
  for (TRptPrintableSize* s : printables_) s->Apply();
}

void TCustomBandReport::FontChanged() {
  measure_.reset();
  update();
}

void TCustomBandReport::SetLoading(bool loading) {
  // The sizes read are applied while the report still counts as loading, so that no band
  // re-sorts and re-lays the report on its own: the report is sorted and laid out once.
  if (loading) loading_ = true;
  page_.SetLoading(loading);
  for (TRptCustomBand* b : allBands_) b->Size().SetLoading(loading);
  for (TRptPrintableSize* s : printables_) s->SetLoading(loading);
  if (!loading) {
    loading_ = false;
    SortBands();
    PageChanged();
  }
}

void TCustomBandReport::SetDesigning(bool designing) {
  designing_ = designing;
  update();
  for (TRptCustomBand* b : allBands_) b->update();
}

namespace {
platform::Size MeasureA(platform::DeviceContext& dc, const platform::CanvasFont& font, const std::string& text) {
  platform::LogFont lf = font.GetLogFont();
  dc.SelectFont(lf);
  return dc.GetTextExtentA(text);
}
}  // namespace

struct TCustomBandReport::Measure {
  QImage image{1, 1, QImage::Format_RGB32};
  platform::QtDc dc{image};
};

platform::DeviceContext& TCustomBandReport::ScreenDc() {
  if (!measure_) {
    platform::EnsureQtFontEngine();
    measure_ = std::make_unique<Measure>();
  }
  return measure_->dc;
}

int TCustomBandReport::TextWidth(const std::string& cp932) { return TextWidth(font_, cp932); }
int TCustomBandReport::TextHeight(const std::string& cp932) { return TextHeight(font_, cp932); }
int TCustomBandReport::TextWidth(const platform::CanvasFont& font, const std::string& cp932) {
  return MeasureA(ScreenDc(), font, cp932).cx + 1;
}
int TCustomBandReport::TextHeight(const platform::CanvasFont& font, const std::string& cp932) {
  return MeasureA(ScreenDc(), font, cp932).cy;
}

void TCustomBandReport::PaintMargins(platform::Canvas& canvas) {
  platform::DeviceContext& dc = canvas.Dc();
  auto px = [&](int index, bool across) { return Round(page_.NativeToPixels(page_.Native(index), across)); };
  int left = px(TRptPage::kLeftMargin, true), top = px(TRptPage::kTopMargin, false);
  int right = width() - px(TRptPage::kRightMargin, true), bottom = height() - px(TRptPage::kBottomMargin, false);
  dc.SelectPen(platform::LogPen{platform::PS_DOT, 0, Palette().margin, {}});
  dc.SelectBrush(platform::LogBrush{platform::BS_NULL, 0, 0, nullptr});
  dc.SetBkMode(platform::TRANSPARENT);
  dc.Rectangle(left, top, right, bottom);
  int columns = page_.Columns();
  if (columns <= 1) return;
  int space = px(TRptPage::kColumnSpace, true);
  int columnWidth = (right - left - space * (columns - 1)) / columns;
  for (int c = 1; c < columns; ++c) {
    int x = left + c * columnWidth + (c - 1) * space;
    for (int edge : {x, x + space}) {
      dc.MoveTo(edge, top);
      dc.LineTo(edge, bottom);
    }
  }
}

void TCustomBandReport::Paint(platform::Canvas& canvas) {
  platform::DeviceContext& dc = canvas.Dc();
  dc.FillRect(platform::Rect{0, 0, width(), height()}, platform::LogBrush{platform::BS_SOLID, 0xFFFFFF, 0, nullptr});
  if (!designing_) {
    if (!previewPage_.empty()) platform::PlayEnhMetafile(dc, previewPage_, platform::Rect{0, 0, width(), height()});
    return;
  }
  if (page_.Ruler()) {
    SetCharacterFontSize(std::abs(font_.Size()));
    PaintRuler(canvas, Units());
  }
  PaintMargins(canvas);
}

// ---- TBandReport -------------------------------------------------------------------------

TBandReport::TBandReport(QWidget* parent) : TCustomBandReport(parent) { InstallController(); }

void TBandReport::InitReport() {
  TCustomBandReport::InitReport();
  InstallController();
}

void TBandReport::InstallController() { SetController(std::make_unique<TRptController>(this)); }

TRptController& TBandReport::ReportController() { return static_cast<TRptController&>(Controller()); }

void TBandReport::HandBandsToController() {
  TRptController& c = ReportController();
  c.SetHeaderBand(FirstBandOf(TRptBandType::rbTitle));
  c.SetDetailBand(FirstBandOf(TRptBandType::rbDetail));
  c.SetFooterBand(FirstBandOf(TRptBandType::rbSummary));
}

}  // namespace rpt
