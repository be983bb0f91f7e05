// Printer information, print settings, confirmation and text printing.
#include "framework/printing.h"

#include <algorithm>
#include <memory>

#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "platform/cp932.h"
#include "platform/dc_canvas.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "platform/ui.h"

namespace fw {

using namespace platform;

TPrinterInfo PrinterInfoType;
TPrintData Print_DataType;
TPrinterFont PrinterFont{J("ＭＳ 明朝"), 9, 0};

namespace {

PrintConfirmDialog* gConfirm = nullptr;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Start-up: the print settings of every kind back to their reset values, then the printer
// read, so its name, paper and colour stay in the "P" block.
void StartupPrinting() {
  ResetPrintSettings();
  ReadPrinterInfo(true);
}

// A print title: at most 255 bytes, never ending in half a double-byte character.
std::string TitleText(const std::string& text) { return LeftStrJ(text, 255); }

// An open print job with its canvas and text device, ending with the printer font set back.
class TextJob {
 public:
  explicit TextJob(const std::string& title) : job_(CurrentPrinterService().BeginDoc(title)) {
    if (!job_) return;
    canvas_ = std::make_unique<Canvas>(job_->Dc());
    device_ = std::make_unique<PrinterTextDevice>(*job_, *canvas_);
    ApplyFont();
  }
  bool Ok() const { return job_ != nullptr; }
  void Font(const std::string& name, int size) {
    SetPrinterFont(name, size, 0);
    ApplyFont();
  }
  void Size(int size) {
    PrinterFont.Size = size;
    ApplyFont();
  }
  PrinterTextDevice& Out() { return *device_; }
  bool End() {
    bool ok = job_->End();
    SetPrinterFont(J("ＭＳ 明朝"), 9, 0);
    return ok;
  }

 private:
  void ApplyFont() {
    canvas_->Font().SetName(PrinterFont.Name);
    canvas_->Font().SetSize(PrinterFont.Size);
    canvas_->Font().SetStyle(PrinterFont.Style);
    canvas_->Font().SetColor(0);
  }
  std::unique_ptr<PrintJob> job_;
  std::unique_ptr<Canvas> canvas_;
  std::unique_ptr<PrinterTextDevice> device_;
};

void ReportPrintFailure() {
  MsgDialog(PrinterInfoType.DeviceName + J(" で印刷できませんでした。"), 4, 1);
  SetPrinterFont(J("ＭＳ 明朝"), 9, 0);
}

// The title block, the heading, lines first..last (1-based, inclusive) and the date stamp.
bool PrintLines(const std::vector<std::string>& lines, int first, int last, int64_t bytes,
                const std::string& bodyFont, int bodySize) {
  TPrintData& d = Print_DataType;
  TextJob job(d.Title);
  if (!job.Ok()) {
    ReportPrintFailure();
    return false;
  }
  PrinterTextDevice& out = job.Out();
  job.Font(J("ＭＳ ゴシック"), 9);
  out.Write("        " + d.Title + "    ");
  job.Size(7);
  out.Write("(" + FormatNumberN(0, static_cast<double>(bytes)) + " bytes)  " + d.Texts[0]);
  out.NewLine();
  if (!d.Heading.empty()) {
    job.Font(J("ＭＳ 明朝"), 9);
    out.WriteLine("        " + d.Heading);
  }
  job.Font(bodyFont, bodySize);
  for (int i = first; i <= last && i <= static_cast<int>(lines.size()); ++i) {
    const std::string& line = lines[static_cast<size_t>(i) - 1];
    if (d.LineNumbers) {
      out.WriteLine("  " + IntToStrWidth(10, i) + ":" + line);
    } else {
      out.WriteLine("  " + std::string(10, ' ') + " " + line);
    }
  }
  if (d.DateStamp) {
    job.Font(J("ＭＳ ゴシック"), 7);
    out.NewLine();
    out.WriteLine(std::string(10, ' ') + DateStampText(NowDateTime()) + J(" 印刷"));
  }
  if (!job.End()) {
    ReportPrintFailure();
    return false;
  }
  return true;
}

}  // namespace

void InstallStartupPrinting() { StartupPrinterHook = &StartupPrinting; }

void InstallPrintConfirmDialog(PrintConfirmDialog* dialog) { gConfirm = dialog; }

std::string PrintConfirmText() {
  const std::string& name = PrinterInfoType.DeviceName;
  if (Contains(name, "Acrobat") || PrinterInfoType.IsPDF) return name + J("（ＰＤＦファイル）でいいですか？");
  return name + J("（プリンター）の準備はいいですか？");
}

int DeviceToMM(int pixels, char axis) {
  if (axis != 'X' && axis != 'Y') return pixels;
  int ppi = axis == 'X' ? PrinterInfoType.PixelsPerInchX : PrinterInfoType.PixelsPerInchY;
  if (PrinterInfoType.DeviceName.empty() || ppi == 0) return 0;
  return static_cast<int>(Round(pixels * 25.4 / ppi));
}

void ReadPrinterInfo(bool showMessage) {
  TPrinterInfo& p = PrinterInfoType;
  PrinterService& service = CurrentPrinterService();
  PrinterCaps caps;
  if (service.PrinterNames().empty() || service.CurrentPrinter().empty() || !service.Caps(caps)) {
    if (showMessage && !Contains(ExecutablePath, "Lumora")) {
      MsgDialog(J("デフォルトプリンターが設定されていないので、印刷はできません。"), 3, 1);
    }
    p.DeviceName.clear();
    return;
  }
  p.DeviceName = caps.deviceName;  // set first: DeviceToMM needs a printer
  p.PhysicalWidth = caps.physicalWidth;
  p.PhysicalHeight = caps.physicalHeight;
  p.PrintableWidth = caps.horzRes;
  p.PrintableHeight = caps.vertRes;
  p.OffsetX = caps.offsetX;
  p.OffsetY = caps.offsetY;
  p.LeftMargin = p.OffsetX;
  p.RightMargin = p.PhysicalWidth - p.PrintableWidth - p.OffsetX;
  p.TopMargin = p.OffsetY;
  p.BottomMargin = p.PhysicalHeight - p.PrintableHeight - p.OffsetY;
  p.PixelsPerInchX = caps.dpiX;
  p.PixelsPerInchY = caps.dpiY;
  p.PhysicalWidthMM = DeviceToMM(p.PhysicalWidth, 'X');
  p.PhysicalHeightMM = DeviceToMM(p.PhysicalHeight, 'Y');
  p.PrintableWidthMM = DeviceToMM(p.PrintableWidth, 'X');
  p.PrintableHeightMM = DeviceToMM(p.PrintableHeight, 'Y');
  p.LeftMarginMM = DeviceToMM(p.LeftMargin, 'X');
  p.RightMarginMM = DeviceToMM(p.RightMargin, 'X');
  p.TopMarginMM = DeviceToMM(p.TopMargin, 'Y');
  p.BottomMarginMM = DeviceToMM(p.BottomMargin, 'Y');
  p.Scale = caps.scaleSet ? caps.scale : 100;
  p.PrintQuality = caps.quality;
  p.ColorMode = caps.color;
  p.FormName = caps.formName.substr(0, 32);
  p.HardCopyKind = 0;
  p.IsPDF = Contains(p.DeviceName, "Acrobat") || caps.isPdf;
  Print_DataType.PrinterName = p.DeviceName;

  // The paper row: the first whose first column holds "(" + width "x" height in mm.
  p.PaperLine.clear();
  if (DataLoad(DatDir + J("印刷用紙.DAT")) && TableBuffer.TableRows > 0) {
    const std::string size = "(" + std::to_string(Round(p.PhysicalWidth * 25.4 / std::max(1, p.PixelsPerInchX))) + "x" +
                             std::to_string(Round(p.PhysicalHeight * 25.4 / std::max(1, p.PixelsPerInchY)));
    p.PaperLine = TableBuffer.TableKeys[TableBuffer.TableRows];
    for (int i = 1; i <= TableBuffer.TableRows; ++i) {
      if (Contains(TableBuffer.TableKeys[i], size)) {
        p.PaperLine = TableBuffer.TableKeys[i];
        break;
      }
    }
  }
  Print_DataType.Paper = p.PaperLine;
  Print_DataType.Portrait = !Contains(p.PaperLine, J("横"));
  Print_DataType.Color = p.ColorMode == 2;
}

void ResetPrintKind(char kind) {
  TPrintData& d = Print_DataType;
  switch (kind) {
    case 'P':
      d.PrinterName.clear();
      d.Paper.clear();
      d.Portrait = true;
      d.Color = false;
      d.DateStamp = false;
      d.Kind = '*';
      break;
    case 'D':
      d.FirstLine = 0;
      d.LastLine = 0;
      d.Texts.fill(std::string());
      d.DocFontName = J("ＭＳ ゴシック");
      d.DocFontSize = 8;
      d.LineNumbers = true;
      d.Title.clear();
      d.Heading.clear();
      d.Kind = 'D';
      break;
    case 'G':
      d.Graphic.fill(0);
      d.GraphicFontName = J("ＭＳ ゴシック");
      d.GraphicFontSize = 9;
      d.GraphicValue1 = 0;
      d.GraphicValue2 = 0;
      d.Kind = 'G';
      break;
    default: break;
  }
}

void ResetPrintSettings() {
  if (PrinterInfoType.DeviceName.empty()) return;
  ResetPrintKind('P');
  ResetPrintKind('D');
  ResetPrintKind('G');
}

bool AskPrint(int kind) {
  ReadPrinterInfo(true);
  if (PrinterInfoType.DeviceName.empty()) {
    DialogYes = false;
    return false;
  }
  PrinterInfoType.HardCopyKind = kind;
  DialogYes = false;
  DialogCancel = true;
  if (gConfirm) {
    gConfirm->Run();
  } else {
    MsgDialog(PrintConfirmText(), 2, 2);
    Input.SelectedNo = DialogYes ? 1 : 0;
  }
  CurrentUi().ProcessEvents(PumpScope::ExceptUserInput);  // the closed form is repainted over
  return DialogYes;
}

void SetPrinterFont(const std::string& name, int size, int style) {
  PrinterFont.Name = name;
  PrinterFont.Size = size;
  PrinterFont.Style = style;
}

bool PrintTextFile(const std::string& path, bool lineNumbers) {
  if (!IsTextFile(path)) return false;
  TPrintData& d = Print_DataType;
  d.Title = TitleText(J("テキストファイル  ") + ShortenPath(path));
  if (d.FirstLine == 0) d.FirstLine = 1;
  if (d.LastLine == 0) d.LastLine = 65535;
  d.DocFontSize = 8;
  d.LineNumbers = lineNumbers;
  d.DateStamp = true;
  const int64_t bytes = FileSizeChecked(path, false);
  if (!AskPrint(0)) return false;
  std::vector<std::string> lines;
  if (!ReadTextLines(path, lines)) return false;
  const size_t sample = lines.size() >= 3 ? lines[2].size() : 0;
  const int bodySize = sample < 111 ? 9 : sample <= 140 ? 7 : 5;
  return PrintLines(lines, d.FirstLine, d.LastLine, bytes, J("ＭＳ 明朝"), bodySize);
}

bool PrintMemo(const std::vector<std::string>& memoLines) {
  TPrintData& d = Print_DataType;
  const int count = static_cast<int>(memoLines.size());
  int first = d.FirstLine == 0 ? 1 : d.FirstLine;
  int last = d.LastLine == 0 ? count : d.LastLine;
  if (last < first) {
    MsgDialog(J("印刷開始行と終了行とが逆転しています。"), 3, 1);
    return false;
  }
  // The current file, named before AskPrint: it loads the paper table, which changes the
  // current-file parts.
  const std::string title = TitleText(J("メモ用紙  ") + ShortenPath(FilePath));
  if (!AskPrint(0)) return false;
  d.Title = title;
  d.FirstLine = first;
  d.LastLine = last;
  d.DocFontName = J("ＭＳ 明朝");
  d.DocFontSize = 8;
  d.LineNumbers = true;
  d.DateStamp = true;
  first = std::max(first, 1);
  last = std::min(last, count);
  int64_t bytes = 0;
  for (const std::string& l : memoLines) bytes += static_cast<int64_t>(l.size()) + 2;
  return PrintLines(memoLines, first, last, bytes, d.DocFontName, d.DocFontSize);
}

}  // namespace fw
