// Printer information, print settings, the print confirmation and text printing.
//
// Printing goes through the platform's printer service (platform/printer.h): the system's
// printers plus the built-in "PDF" printer. PrinterInfoType holds the current printer's
// metrics and paper; Print_DataType the settings of the print kinds "P" (printer), "D"
// (document) and "G" (graphic). AskPrint shows the confirmation form through the installed
// PrintConfirmDialog (the Qt form is framework/ui/hardcopy.h); without one, a yes/no message
// box asks the same question.
//
// Decisions of this implementation:
// - The built-in PDF printer counts as a PDF printer (IsPDF) as a device whose name contains
//   "Acrobat" does, so the confirmation names it as a PDF file.
// - The subtitle after the byte count of the title block is Print_DataType.Texts[0] (empty
//   unless a caller sets it).
// - PrintMemo turns a last line of 0 into the memo's line count before it checks the order,
//   and clamps the range to the memo's lines; a range that is then empty prints nothing.
// - A print job that cannot be started or written is reported with an error message; the
//   printer font is set back in every case.
// - Print titles are cut to 255 bytes on a character boundary, never through a double-byte
//   character.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace fw {

struct TPrinterInfo {
  std::string DeviceName;  // empty: no printer
  std::string FormName;
  std::string PaperLine;   // the matching row of the paper table
  int PhysicalWidth = 0, PhysicalHeight = 0;
  int PrintableWidth = 0, PrintableHeight = 0;
  int OffsetX = 0, OffsetY = 0;
  int LeftMargin = 0, RightMargin = 0, TopMargin = 0, BottomMargin = 0;
  int PixelsPerInchX = 0, PixelsPerInchY = 0;
  int Scale = 100;
  int PrintQuality = 0;
  int ColorMode = 0;     // 2 = colour
  int HardCopyKind = 0;  // below 0 no printer change, 0 plain, above 0 with the scale choice
  bool IsPDF = false;
  int PhysicalWidthMM = 0, PhysicalHeightMM = 0, PrintableWidthMM = 0, PrintableHeightMM = 0;
  int LeftMarginMM = 0, RightMarginMM = 0, TopMarginMM = 0, BottomMarginMM = 0;
};
extern TPrinterInfo PrinterInfoType;

struct TPrintData {
  char Kind = '*';
  // "P" printer
  std::string PrinterName, Paper;
  bool Portrait = true, Color = false, DateStamp = false;
  // "D" document
  int FirstLine = 0, LastLine = 0;  // 0: from the start / to the end
  std::array<std::string, 40> Texts;
  std::string DocFontName;
  int DocFontSize = 8;
  bool LineNumbers = true;
  std::string Title, Heading;  // up to 255 bytes each
  // "G" graphic
  std::array<uint8_t, 44> Graphic{};
  std::string GraphicFontName;
  int GraphicFontSize = 9;
  int GraphicValue1 = 0, GraphicValue2 = 0;
};
extern TPrintData Print_DataType;

// The font the printer text device starts with (SetPrinterFont).
struct TPrinterFont {
  std::string Name;
  int Size = 9;
  int Style = 0;  // platform::fs* flags
};
extern TPrinterFont PrinterFont;

// The confirmation form (TPRYNForm). Run shows it modally for the current PrinterInfoType
// and sets DialogYes, DialogCancel and Input.SelectedNo (the chosen scale, 0 when cancelled).
class PrintConfirmDialog {
 public:
  virtual ~PrintConfirmDialog() = default;
  virtual void Run() = 0;
};
// Installs `dialog` (not owned); nullptr: the message-box question.
void InstallPrintConfirmDialog(PrintConfirmDialog* dialog);

// The confirmation form's question for the current printer.
std::string PrintConfirmText();

// Registers the start-up step of the printing module with AppInit (StartupPrinterHook): the
// print settings are reset, then the printer is read (with its message when there is none).
void InstallStartupPrinting();

void ReadPrinterInfo(bool showMessage);
void ResetPrintSettings();
void ResetPrintKind(char kind);
bool AskPrint(int kind);
// axis 'X' or 'Y'; any other letter returns `pixels` unchanged.
int DeviceToMM(int pixels, char axis);
void SetPrinterFont(const std::string& name, int size, int style);
// Prints a text file (when IsTextFile accepts it) after AskPrint(0). Returns whether it printed.
bool PrintTextFile(const std::string& path, bool lineNumbers);
// Prints the memo lines Print_DataType.FirstLine..LastLine after AskPrint(0).
bool PrintMemo(const std::vector<std::string>& memoLines);

}  // namespace fw
