// Controllers: the report's own controller and those of sub-detail bands hold which bands
// make up their level of the report (header, detail, footer), the controllers printed before
// and after their detail, and their groups. The structure is collected by Prepare: every
// controller band and group of the report's form whose Master is this controller's master
// component joins this level, a controller band's controller before or after the detail by
// its print-before flag. Band order (TCustomBandReport::SortBands) walks this structure.
//
// Execute prints the level: TRptController walks its data set (an open one; or asks its
// need-data callback) and prints per record the headers of changed groups, the levels printed
// before the detail, the detail band, the levels printed after it and, where groups end, their
// footers; the header band before the first record and the footer band after the last. A
// level without data prints its header, detail and footer once when PrintIfEmpty is set. At the
// end of the data the last record is made current again, so the last group footers and the
// footer band show its values (a data set reads null past its last record).
//
// The report-level header flag (which lets one following forced new page be skipped) is set
// only when a title or column-header band was printed at the start, so a detail band with
// ForceNewPage on a report without a title still starts a page per record.
//
// Expression controls registered with a controller receive operation 0 each time a band of the
// controller is about to print (the detail band: aggregates count records).
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "report/expr_eval.h"

namespace rpt {

class TCustomBandReport;
class TRptBasePanel;
class TRptCustomBand;
class TRptGroup;
class TRptDataSet;
class TRptPrintable;

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

  // The value of the evaluator constant named after the owner (an error value in the base).
  virtual TRptEvResult GetValue();
  // Collects the sub-controllers and groups of this level from the report's form.
  virtual void Prepare();
  // Prints this level.
  virtual void Execute();
  // Before a run: the notify list cleared, sub-controllers activated, group evaluators
  // compiled, the evaluator constant looked up. Deactivate undoes it.
  virtual void Activate();
  virtual void Deactivate();
  virtual void PrintBeforeControllers();
  virtual void PrintAfterControllers();
  virtual void PrintEmptyController();
  virtual void AddBands() {}
  // Adds the level's open data sets (and those of its sub-levels) to the run's data sets.
  virtual void AddDataSets();
  // Stores GetValue into the evaluator constant.
  void UpdateConstant();

  // Expression controls told of each band of this level about to print.
  void AddNotifyExpression(TRptPrintable* control);
  void NotifyExpressions(int operation);

  // Evaluates the groups; true when any changed (the first change marks every later group).
  bool CheckGroups();
  // Prints the header of every group marked changed, in group order.
  void PrintGroupHeaders();
  // On a new page: repeats the headers of groups marked ReprintOnNewPage.
  void ReprintGroupHeaders();

  // The bands of this level (none in the base).
  virtual TRptCustomBand* HeaderBand() const { return nullptr; }
  virtual TRptCustomBand* DetailBand() const { return nullptr; }
  virtual TRptCustomBand* FooterBand() const { return nullptr; }

 protected:
  void PrepareLevel(int depth);
  // Whether this is the report's own controller.
  bool IsReportLevel() const;
  TCustomBandReport* report_ = nullptr;
  TRptBasePanel* owner_;
  QPointer<QObject> masterComponent_;
  QPointer<QObject> master_;
  bool printBefore_ = false;
  bool printIfEmpty_ = true;
  std::vector<TRptCustomController*> before_, after_;
  std::vector<TRptGroup*> groups_;
  std::vector<QPointer<TRptPrintable>> notify_;
  TRptEvElement* constant_ = nullptr;
  int depth_ = 0;
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

  // The detail loop.
  void Execute() override;
  void PrintDetailLoop();
  void Activate() override;
  void PrintEmptyController() override;
  void AddDataSets() override;
  // Prints the footers of the groups marked changed, in reverse group order.
  void PrintGroupFooters();

 protected:
  // Query parameters named in the report's environment take the entries' values.
  void RefreshParameters();
  QPointer<TRptCustomBand> header_, detail_, footer_;
  int detailNumber_ = 0;
  TRptDataSet* dataSet_ = nullptr;
  bool refreshParams_ = false;
};

}  // namespace rpt
