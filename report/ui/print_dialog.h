// The print dialog component: runs the platform's print dialog on a platform printer object and
// carries the chosen settings back. The printer's device mode decides what the dialog offers;
// on OK the printer object becomes the chosen printer with the chosen device mode.
//
// Copies: a printer that takes copies in its device mode answers 1 copy from the dialog, so a
// dialog answer of 1 reads the printer's own copy count.
//
// The window is centred across the screen and a third of the free height from its top; OnShow
// and OnClose fire as it opens and closes; with poHelp and a HelpContext other than 0 it shows a
// Help button that calls OnHelp with the context.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <set>

#include "report/units.h"

namespace platform {
class Printer;
}

namespace rpt {

enum class TPrintDialogOption : uint8_t { poPrintToFile, poPageNums, poSelection, poWarning, poHelp, poDisablePrintToFile };
using TPrintDialogOptions = std::set<TPrintDialogOption>;
enum class TPrintRange : uint8_t { prAllPages, prSelection, prPageNums };

class TRptCommonDialog : public QObject {
  Q_OBJECT
 public:
  explicit TRptCommonDialog(QObject* owner = nullptr) : QObject(owner) {}
  bool Ctl3D = true;
  int HelpContext = 0;
  std::function<void(QObject* sender)> OnClose, OnShow;
  // Called with HelpContext when the user asks for help.
  std::function<void(int helpContext)> OnHelp;
};

class TRptBasePrintDialog : public TRptCommonDialog {
  Q_OBJECT
 public:
  using TRptCommonDialog::TRptCommonDialog;
  // The printer object the dialog works on (the program's when none is set).
  platform::Printer* Printer() const;
  void SetPrinter(platform::Printer* printer) { printer_ = printer; }

 private:
  platform::Printer* printer_ = nullptr;
};

class TRptPrintDialog : public TRptBasePrintDialog {
  Q_OBJECT
 public:
  using TRptBasePrintDialog::TRptBasePrintDialog;

  bool Duplex = false;
  int DuplexCode = 0;
  int OutputBin = 0;   // Windows bin code
  int PaperSize = 0;   // Windows paper code: the one shown (0: the printer's) and the one chosen
  Real Paperwidth = 0, Paperlength = 0;  // 0.1 mm
  int Collate = 0;
  int FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0;
  int PrintQuality = 0;
  int ColorOption = 0;
  TPrintDialogOptions Options;
  bool PrintToFile = false;
  TPrintRange PrintRange = TPrintRange::prAllPages;
  int16_t Orientation = 1;  // 1 portrait, 2 landscape
  int Copies() const { return copies_; }
  // Stores the number and sets the printer's copy count.
  void SetCopies(int copies);
  // The device mode's field mask of the last choice.
  uint32_t FieldMask() const { return fields_; }

  // Shows the dialog; true when the user chose OK.
  bool RunDialog();

 private:
  int copies_ = 1;
  uint32_t fields_ = 0;
};

}  // namespace rpt
