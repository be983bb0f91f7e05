// Printer information, the print settings, the confirmation and text printing, on a fake
// printer that records its pages as device-context traces.
#include <gtest/gtest.h>

#include "framework/appinit.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/printing.h"
#include "platform/dc_trace.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "support/test_support.h"

using namespace fw;
using testsupport::S;

namespace {

// An A4 printer at 600 dpi with 100-pixel margins; every page is a trace.
class FakePrinter final : public platform::PrinterService {
 public:
  struct Job final : platform::PrintJob {
    explicit Job(FakePrinter& owner)
        : owner(owner), dc(std::make_unique<platform::TraceDc>(owner.caps.ToDeviceCaps())) {}
    platform::DeviceContext& Dc() override { return *dc; }
    bool NewPage() override {
      owner.pages.push_back(dc->log);
      dc->log.clear();
      ++pages_;
      return true;
    }
    bool End() override {
      owner.pages.push_back(dc->log);
      return owner.writeOk;
    }
    void Abort() override {}
    FakePrinter& owner;
    std::unique_ptr<platform::TraceDc> dc;
  };

  FakePrinter() {
    caps.deviceName = "Acrobat Distiller";
    caps.formName = "A4";
    caps.physicalWidth = 4961;
    caps.physicalHeight = 7016;
    caps.horzRes = 4761;
    caps.vertRes = 6816;
    caps.offsetX = caps.offsetY = 100;
    caps.dpiX = caps.dpiY = 600;
    caps.quality = 600;
    caps.color = 2;
    previous_ = platform::InstallPrinterService(this);
  }
  ~FakePrinter() override { platform::InstallPrinterService(previous_); }

  std::vector<std::string> PrinterNames() override { return present ? std::vector<std::string>{caps.deviceName} : std::vector<std::string>{}; }
  std::string CurrentPrinter() override { return present ? caps.deviceName : std::string(); }
  bool SelectPrinter(const std::string&) override { return present; }
  void SetLandscape(bool) override {}
  bool Caps(platform::PrinterCaps& out) override {
    out = caps;
    return present;
  }
  bool SetupDialog() override { return false; }
  std::unique_ptr<platform::PrintJob> BeginDoc(const std::string& t) override {
    title = t;
    ++jobs;
    return std::make_unique<Job>(*this);
  }
  void SetPdfOutputFile(const std::string&) override {}

  // The texts of all pages, in order, as UTF-8.
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& page : pages) {
      for (const std::string& l : page) {
        if (l.rfind("ExtTextOut", 0) == 0) out.push_back(l.substr(l.find('"') + 1, l.rfind('"') - l.find('"') - 1));
      }
    }
    return out;
  }
  // The font height selected before the first text that contains `needle`.
  int HeightBefore(const std::string& needle) const {
    int height = 0;
    for (const auto& page : pages) {
      for (const std::string& l : page) {
        if (l.rfind("SelectFont", 0) == 0) height = std::stoi(l.substr(l.find("height=") + 7));
        if (l.rfind("ExtTextOut", 0) == 0 && l.find(needle) != std::string::npos) return height;
      }
    }
    return 0;
  }

  platform::PrinterCaps caps;
  bool present = true;
  bool writeOk = true;
  int jobs = 0;
  std::string title;
  std::vector<std::vector<std::string>> pages;

 private:
  platform::PrinterService* previous_;
};

class PrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDatDir_ = DatDir;
    DatDir = tmp.inside();
    std::vector<std::string> table = {"    4     1", "    24"};
    for (const char* row : {"A4(210x297)", "A3(297x420)", "A4横(297x210)", "Letter(216x279)"}) {
      std::string r = S(row);
      table.push_back(std::string(24 - r.size(), ' ') + r);
    }
    ASSERT_TRUE(platform::WriteTextLinesAtomic(tmp.Path("印刷用紙.DAT"), table));
    PrinterInfoType = TPrinterInfo{};
    Print_DataType = TPrintData{};
    ResetPrintKind('D');
  }
  void TearDown() override { DatDir = savedDatDir_; }

  std::string TextFile(const std::string& name, const std::vector<std::string>& lines) {
    std::string path = tmp.Path(name);
    EXPECT_TRUE(platform::WriteTextLinesAtomic(path, lines));
    return path;
  }

  testsupport::TempFolder tmp;
  testsupport::FakeUi ui;
  FakePrinter printer;
  std::string savedDatDir_;
};

}  // namespace

TEST_F(PrintingTest, ReadPrinterInfoTakesMetricsAndThePaperRow) {
  ReadPrinterInfo(true);
  const TPrinterInfo& p = PrinterInfoType;
  EXPECT_EQ(p.DeviceName, "Acrobat Distiller");
  EXPECT_TRUE(p.IsPDF);
  EXPECT_EQ(p.PhysicalWidthMM, 210);
  EXPECT_EQ(p.PhysicalHeightMM, 297);
  EXPECT_EQ(p.LeftMargin, 100);
  EXPECT_EQ(p.RightMargin, 100);
  EXPECT_EQ(p.BottomMargin, 100);
  EXPECT_EQ(p.LeftMarginMM, 4);
  EXPECT_EQ(p.Scale, 100);
  EXPECT_EQ(p.PaperLine, S("A4(210x297)"));
  EXPECT_EQ(Print_DataType.PrinterName, "Acrobat Distiller");
  EXPECT_TRUE(Print_DataType.Portrait);
  EXPECT_TRUE(Print_DataType.Color);
  EXPECT_TRUE(ui.shown.empty());
}

TEST_F(PrintingTest, PaperRowByOrientationAndTheLastRowWithoutAMatch) {
  std::swap(printer.caps.physicalWidth, printer.caps.physicalHeight);
  ReadPrinterInfo(false);
  EXPECT_EQ(PrinterInfoType.PaperLine, S("A4横(297x210)"));
  EXPECT_FALSE(Print_DataType.Portrait);
  printer.caps.physicalWidth = 1000;  // 42 x 297 mm: no row
  ReadPrinterInfo(false);
  EXPECT_EQ(PrinterInfoType.PaperLine, S("Letter(216x279)"));
  EXPECT_TRUE(Print_DataType.Portrait);
}

TEST_F(PrintingTest, DeviceToMillimetres) {
  ReadPrinterInfo(false);
  EXPECT_EQ(DeviceToMM(600, 'X'), 25);
  EXPECT_EQ(DeviceToMM(1200, 'Y'), 51);
  EXPECT_EQ(DeviceToMM(600, 'Z'), 600);
  printer.present = false;
  ReadPrinterInfo(false);
  EXPECT_EQ(DeviceToMM(600, 'X'), 0);
}

TEST_F(PrintingTest, NoPrinterWarnsAndRefusesEveryPrint) {
  printer.present = false;
  EXPECT_FALSE(AskPrint(0));
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].text, S("デフォルトプリンターが設定されていないので、印刷はできません。"));
  EXPECT_TRUE(PrinterInfoType.DeviceName.empty());
  ResetPrintSettings();  // nothing to reset without a printer
  EXPECT_EQ(Print_DataType.Kind, 'D');
}

// Start-up resets the print settings first and then reads the printer, so the printer block
// keeps the printer's name, paper and colour.
TEST_F(PrintingTest, StartUpReadsThePrinterAfterTheReset) {
  StartupPrinterHook = nullptr;
  InstallStartupPrinting();
  ASSERT_NE(StartupPrinterHook, nullptr);
  for (int start = 1; start <= 2; ++start) {  // the second with a printer already known
    StartupPrinterHook();
    EXPECT_EQ(Print_DataType.PrinterName, "Acrobat Distiller") << start;
    EXPECT_EQ(Print_DataType.Paper, S("A4(210x297)")) << start;
    EXPECT_TRUE(Print_DataType.Color) << start;
  }
  EXPECT_TRUE(ui.shown.empty());
  StartupPrinterHook = nullptr;
}

TEST_F(PrintingTest, ResetKinds) {
  ReadPrinterInfo(false);
  Print_DataType.FirstLine = 7;
  Print_DataType.DateStamp = true;
  ResetPrintSettings();
  EXPECT_EQ(Print_DataType.Kind, 'G');
  EXPECT_EQ(Print_DataType.FirstLine, 0);
  EXPECT_FALSE(Print_DataType.DateStamp);
  EXPECT_EQ(Print_DataType.DocFontName, S("ＭＳ ゴシック"));
  EXPECT_EQ(Print_DataType.GraphicFontSize, 9);
  ResetPrintKind('X');
  EXPECT_EQ(Print_DataType.Kind, 'G');
}

TEST_F(PrintingTest, ConfirmationAsksAboutThePrinterAndAnswersWithTheChoice) {
  EXPECT_TRUE(AskPrint(1));
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].text, S("Acrobat Distiller（ＰＤＦファイル）でいいですか？"));
  EXPECT_EQ(PrinterInfoType.HardCopyKind, 1);
  EXPECT_EQ(Input.SelectedNo, 1);
  ui.answers.push_back(platform::ModalResult::No);
  printer.caps.deviceName = "Laser";
  printer.caps.isPdf = false;
  EXPECT_FALSE(AskPrint(0));
  EXPECT_EQ(ui.shown[1].text, S("Laser（プリンター）の準備はいいですか？"));
}

TEST_F(PrintingTest, TextFileWithLineNumbersTitleAndDateStamp) {
  std::string path = TextFile("memo.txt", {"first line", S("二行目"), "third", "fourth"});
  Print_DataType.FirstLine = 2;
  Print_DataType.LastLine = 3;
  ASSERT_TRUE(PrintTextFile(path, true));
  std::vector<std::string> texts = printer.Texts();
  ASSERT_GE(texts.size(), 5u);
  EXPECT_NE(texts[0].find("テキストファイル  "), std::string::npos);
  EXPECT_EQ(texts[1].rfind("(", 0), 0u);
  EXPECT_NE(texts[1].find(" bytes)  "), std::string::npos);
  EXPECT_EQ(texts[2], "           2:二行目");
  EXPECT_EQ(texts[3], "           3:third");
  EXPECT_EQ(texts.back().substr(texts.back().size() - 7), " 印刷");
  EXPECT_EQ(printer.HeightBefore("2:"), -75);  // ＭＳ 明朝 9 points at 600 dpi
  EXPECT_EQ(PrinterFont.Name, S("ＭＳ 明朝"));
  EXPECT_EQ(PrinterFont.Size, 9);
}

TEST_F(PrintingTest, BodySizeFollowsTheLengthOfTheThirdLine) {
  struct Case {
    size_t length;
    int height;  // at 600 dpi
  };
  const Case cases[] = {{110, -75}, {111, -58}, {140, -58}, {141, -42}};
  for (const Case& c : cases) {
    printer.pages.clear();
    std::string path = TextFile("wide.txt", {"a", "b", std::string(c.length, 'x'), "d"});
    ASSERT_TRUE(PrintTextFile(path, false));
    EXPECT_EQ(printer.HeightBefore("           b"), c.height) << c.length;
  }
}

TEST_F(PrintingTest, NonTextFileIsNotPrinted) {
  std::string path = tmp.Path("data.bin");
  ASSERT_TRUE(platform::WriteFileBytesAtomic(path, std::string("\x01\x02 no line ends", 14)));
  EXPECT_FALSE(PrintTextFile(path, true));
  EXPECT_EQ(printer.jobs, 0);
  EXPECT_TRUE(ui.shown.empty());
}

TEST_F(PrintingTest, LongTextRunsOverSeveralPages) {
  std::vector<std::string> lines(250, "line");
  ASSERT_TRUE(PrintTextFile(TextFile("long.txt", lines), true));
  EXPECT_GE(printer.pages.size(), 2u);
  EXPECT_EQ(printer.Texts()[251], "         250:line");
}

TEST_F(PrintingTest, MemoRangeChecksAndClamps) {
  const std::vector<std::string> memo = {"m1", "m2", "m3", "m4", "m5", "m6"};
  Print_DataType.FirstLine = 5;
  Print_DataType.LastLine = 3;
  EXPECT_FALSE(PrintMemo(memo));
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].text, S("印刷開始行と終了行とが逆転しています。"));
  EXPECT_EQ(printer.jobs, 0);

  // A last line of 0 is "to the end", not a reversed range.
  Print_DataType.FirstLine = 5;
  Print_DataType.LastLine = 0;
  ASSERT_TRUE(PrintMemo(memo));
  std::vector<std::string> texts = printer.Texts();
  EXPECT_EQ(texts[2], "           5:m5");
  EXPECT_EQ(texts[3], "           6:m6");
  EXPECT_NE(texts[0].find("メモ用紙  "), std::string::npos);

  // A range past the end is cut to the memo's lines.
  printer.pages.clear();
  Print_DataType.FirstLine = 2;
  Print_DataType.LastLine = 100;
  ASSERT_TRUE(PrintMemo(memo));
  texts = printer.Texts();
  EXPECT_EQ(texts[2], "           2:m2");
  EXPECT_EQ(texts[texts.size() - 2], "           6:m6");
}

// The memo's title names the current file as it was before the confirmation read the paper
// table; a title cut to 255 bytes never ends in half a character.
TEST_F(PrintingTest, MemoTitleNamesTheCurrentFileAndIsCutOnACharacterBoundary) {
  const std::vector<std::string> memo = {"m1"};
  SplitFileName(S("C:\\CASES\\雨水.HVS"));
  ASSERT_TRUE(PrintMemo(memo));
  EXPECT_EQ(Print_DataType.Title, S("メモ用紙  C:\\CASES\\雨水.HVS"));
  EXPECT_EQ(printer.title, Print_DataType.Title);

  // "メモ用紙  C:" is 13 bytes; 241 more put the lead byte of "雨" at byte 255.
  const std::string path = "C:\\" + std::string(241, 'A') + S("雨水.HVS");
  SplitFileName(path);
  ASSERT_TRUE(PrintMemo(memo));
  EXPECT_EQ(Print_DataType.Title, S("メモ用紙  ") + path.substr(0, 244) + " ");
  // The same for a text file: "テキストファイル  " is 18 bytes.
  const size_t bees = 255 - 1 - 18 - tmp.inside().size();
  ASSERT_TRUE(PrintTextFile(TextFile(std::string(bees, 'B') + "雨.txt", {"a"}), true));
  EXPECT_EQ(Print_DataType.Title.size(), 255u);
  EXPECT_EQ(Print_DataType.Title.back(), ' ');  // "雨" did not fit whole
}

TEST_F(PrintingTest, FailedWriteIsReportedAndThePrinterFontIsSetBack) {
  printer.writeOk = false;
  SetPrinterFont(S("ＭＳ ゴシック"), 12, 0);
  EXPECT_FALSE(PrintTextFile(TextFile("x.txt", {"a"}), true));
  ASSERT_EQ(ui.shown.size(), 2u);  // the question, then the failure
  EXPECT_EQ(ui.shown[1].kind, platform::DialogKind::Error);
  EXPECT_EQ(PrinterFont.Name, S("ＭＳ 明朝"));
  EXPECT_EQ(PrinterFont.Size, 9);
}
