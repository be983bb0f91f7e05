#include "report/ui/print_dialog.h"

#include "platform/printer.h"

namespace rpt {

platform::Printer* TRptBasePrintDialog::Printer() const {
  return printer_ ? printer_ : &platform::Printer::Global();
}

void TRptPrintDialog::SetCopies(int copies) {
  copies_ = copies;
  platform::Printer& printer = *Printer();
  platform::DeviceMode mode;
  if (printer.GetMode(mode)) {
    mode.copies = copies;
    printer.SetMode(mode);
  }
}

bool TRptPrintDialog::RunDialog() {
  platform::Printer& printer = *Printer();
  platform::PrintDialogData data;
  data.printer = printer.Device();
  if (!printer.GetMode(data.mode)) platform::CurrentPrinterService().DefaultMode(data.printer, data.mode);
  if (data.mode.fields & platform::DM_ORIENTATION) data.mode.orientation = Orientation;
  if (PaperSize > 0 && (data.mode.fields & platform::DM_PAPERSIZE)) data.mode.paperSize = PaperSize;
  data.copies = copies_;
  data.collate = Collate != 0;
  data.range = PrintRange == TPrintRange::prSelection  ? platform::PrintDialogData::kSelection
               : PrintRange == TPrintRange::prPageNums ? platform::PrintDialogData::kPageNumbers
                                                       : platform::PrintDialogData::kAllPages;
  data.fromPage = FromPage;
  data.toPage = ToPage;
  data.minPage = MinPage;
  data.maxPage = MaxPage;
  data.printToFile = PrintToFile;
  data.showPrintToFile = Options.count(TPrintDialogOption::poPrintToFile) > 0;
  data.disablePrintToFile = Options.count(TPrintDialogOption::poDisablePrintToFile) > 0;
  data.allowPageNumbers = Options.count(TPrintDialogOption::poPageNums) > 0;
  data.allowSelection = Options.count(TPrintDialogOption::poSelection) > 0;
  data.onShow = [this] {
    if (OnShow) OnShow(this);
  };
  data.onClose = [this] {
    if (OnClose) OnClose(this);
  };
  if (Options.count(TPrintDialogOption::poHelp) && HelpContext != 0) {
    data.onHelp = [this] {
      if (OnHelp) OnHelp(HelpContext);
    };
  }
  if (!platform::RunPrintDialog(data)) return false;

  const std::vector<std::string> names = printer.Printers();
  for (size_t i = 0; i < names.size(); ++i) {
    if (names[i] == data.printer && static_cast<int>(i) != printer.Index()) printer.SetIndex(static_cast<int>(i));
  }
  printer.SetMode(data.mode);
  PrintToFile = data.printToFile;
  PrintRange = data.range == platform::PrintDialogData::kSelection     ? TPrintRange::prSelection
               : data.range == platform::PrintDialogData::kPageNumbers ? TPrintRange::prPageNums
                                                                       : TPrintRange::prAllPages;
  FromPage = data.fromPage;
  ToPage = data.toPage;
  copies_ = data.copies == 1 ? data.mode.copies : data.copies;
  const platform::DeviceMode& m = data.mode;
  fields_ = m.fields;
  OutputBin = m.defaultSource;
  PaperSize = m.paperSize;
  Paperlength = m.paperLength;
  Paperwidth = m.paperWidth;
  Orientation = static_cast<int16_t>(m.orientation);
  PrintQuality = m.printQuality;
  ColorOption = m.color;
  DuplexCode = m.duplex;
  Duplex = m.duplex != platform::DMDUP_SIMPLEX;
  Collate = m.collate;
  return true;
}

}  // namespace rpt
