// Controllers: the report's own controller and those of sub-detail bands hold which bands
// make up their level of the report (header, detail, footer), the controllers printed before
// and after their detail, and their groups. The structure is collected by Prepare: every
// controller band and group of the report's form whose Master is this controller's master
// component joins this level, a controller band's controller before or after the detail by
// its print-before flag. Band order (TCustomBandReport::SortBands) walks this structure.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

namespace rpt {

class TCustomBandReport;
class TRptBasePanel;
class TRptCustomBand;
class TRptGroup;
class TRptDataSet;

class TRptCustomController : public QObject {
  Q_OBJECT
 public:
  // A controller of `owner` (a report or a controller band), comparing masters against
  // `masterComponent` (the owner unless said otherwise).
  explicit TRptCustomController(TRptBasePanel* owner);
  ~TRptCustomController() override;

  TCustomBandReport* ParentReport() const { return report_; }
  void SetParentReport(TCustomBandReport* report) { report_ = report; }
  TRptBasePanel* OwnerPanel() const { return owner_; }
  // The component whose sub-levels' Master names it.
  QObject* MasterComponent() const { return masterComponent_; }
  void SetMasterComponent(QObject* component) { masterComponent_ = component; }
  QObject* Master() const { return master_; }
  void SetMaster(QObject* master) { master_ = master; }
  bool PrintBefore() const { return printBefore_; }
  virtual void SetPrintBefore(bool before) { printBefore_ = before; }
  bool PrintIfEmpty() const { return printIfEmpty_; }
  void SetPrintIfEmpty(bool v) { printIfEmpty_ = v; }

  const std::vector<TRptCustomController*>& BeforeControllers() const { return before_; }
  const std::vector<TRptCustomController*>& AfterControllers() const { return after_; }
  const std::vector<TRptGroup*>& Groups() const { return groups_; }

  // Collects the sub-controllers and groups of this level from the report's form.
  virtual void Prepare();

  // The bands of this level (none in the base).
  virtual TRptCustomBand* HeaderBand() const { return nullptr; }
  virtual TRptCustomBand* DetailBand() const { return nullptr; }
  virtual TRptCustomBand* FooterBand() const { return nullptr; }

 protected:
  void PrepareLevel(int depth);
  TCustomBandReport* report_ = nullptr;
  TRptBasePanel* owner_;
  QPointer<QObject> masterComponent_;
  QPointer<QObject> master_;
  bool printBefore_ = false;
  bool printIfEmpty_ = true;
  std::vector<TRptCustomController*> before_, after_;
  std::vector<TRptGroup*> groups_;
};

class TRptController : public TRptCustomController {
  Q_OBJECT
 public:
  explicit TRptController(TRptBasePanel* owner);

  TRptCustomBand* HeaderBand() const override { return header_; }
  TRptCustomBand* DetailBand() const override { return detail_; }
  TRptCustomBand* FooterBand() const override { return footer_; }
  void SetHeaderBand(TRptCustomBand* band);
  void SetDetailBand(TRptCustomBand* band);
  void SetFooterBand(TRptCustomBand* band);
  int DetailNumber() const { return detailNumber_; }
  // The data set walked (not owned; none: the need-data callback decides).
  TRptDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TRptDataSet* dataSet) { dataSet_ = dataSet; }
  // Asked for more data when there is no dataset (owner, var more-data).
  std::function<void(QObject*, bool&)> OnNeedData;

 protected:
  QPointer<TRptCustomBand> header_, detail_, footer_;
  int detailNumber_ = 0;
  TRptDataSet* dataSet_ = nullptr;
};

}  // namespace rpt
