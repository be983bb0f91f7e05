// Stored report descriptions: the text form, a layout like the program's read and written back
// unchanged, errors naming file, line and property, and files.
#include <gtest/gtest.h>

#include <QWidget>
#include <cstring>

#include "platform/cp932.h"
#include "platform/emf_recorder.h"
#include "platform/files.h"
#include "platform/picture.h"
#include "report/report_text.h"
#include "report/rpt_ctrls.h"
#include "report/rpt_expr.h"
#include "report_fixtures.h"
#include "support/test_support.h"

using namespace rpt;
using platform::J;
using rpttest::LocaleScope;
using rpttest::TestPrintable;

namespace {

// A printable the tests store: a caption and its size.
class TTextLabel : public TestPrintable {
  Q_OBJECT
 public:
  explicit TTextLabel(QWidget* parent) : TestPrintable(parent) {}
  std::string caption;
};

void RegisterTextLabel() {
  RegisterReportClass(
      {"TTextLabel", "", [](QWidget* p) -> QObject* { return new TTextLabel(p); },
       [](QObject* o, const TextProperty& p, ReadContext&, std::string& m) {
         auto& l = *static_cast<TTextLabel*>(o);
         if (p.name == "Caption") return ValueToString(p.value, l.caption, m) ? PropertyResult::Taken : PropertyResult::Bad;
         if (p.name == "Size.Values") {
           std::vector<Real> v;
           if (!ValueToReals(p.value, 4, v, m)) return PropertyResult::Bad;
           l.size.SetValues(v);
           return PropertyResult::Taken;
         }
         return PropertyResult::Unknown;
       },
       [](const QObject* o, std::vector<TextProperty>& out) {
         const auto& l = *static_cast<const TTextLabel*>(o);
         out.push_back({"Caption", TextValue::Str(l.caption), 0});
         out.push_back({"Size.Values", TextValue::Floats(l.size.Values()), 0});
       }});
}

std::vector<std::string> OrderOf(TBandReport* report) {
  std::vector<std::string> names;
  for (TRptCustomBand* b : report->PrintOrder()) names.push_back(b->objectName().toStdString());
  return names;
}

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* l : lines) text += J(l) + "\r\n";
  return text;
}

// Page 1 of the program's report, as stored.
const std::string kProgramPage = Lines({
    "TBandReport RPT1 {",
    "  Units = MM",
    "  Page.PaperSize = A4",
    "  Page.Values = (100.0 2970.0 100.0 2100.0 100.0 100.0 0.0)",
    "  Font.Name = 'ＭＳ ゴシック'",
    "  Font.Height = -12",
    "  Description = ('計算結果' 'It''s page 1')",
    "  PrinterSettings.PrintQuality = 0",
    "  TRptBand TitleBand1 {",
    "    BandType = rbTitle",
    "    Size.Values = (0.0 1899.708333333333)",
    "  }",
    "  TTextLabel RPTLBL1_1 {",
    "    Caption = '計算名　　 ： テスト'#13#10'２行目'",
    "    Size.Values = (37.04166666666667 190.5 550.3333333333333 1844.145833333333)",
    "  }",
    "  TTextLabel RPTLBL1_2 {",
    "    Caption = ''",
    "    Size.Values = (37.04166666666667 190.5 600.0 1844.145833333333)",
    "  }",
    "}",
});

TEST(ReportTextForm, ValuesRoundTrip) {
  TextObject root;
  root.className = "TThing";
  root.name = "Thing1";
  root.properties = {
      {"A", TextValue::Int(-42), 0},
      {"B", TextValue::Float(0.1L), 0},
      {"C", TextValue::Float(1e20L), 0},
      {"D", TextValue::Ident("rbTitle"), 0},
      {"E", TextValue::Str(J("表示's") + "\r\n\x01" + J("ソ")), 0},  // "ソ" has the trail byte 0x5C
      {"F", TextValue::SetOf({"fsBold", "fsItalic"}), 0},
      {"G", TextValue::SetOf({}), 0},
      {"H", TextValue::Floats({0, 2970, -1.5L}), 0},
      {"Sub.Name", TextValue::Strings({"", "x"}), 0},
      {"I", TextValue::Str(""), 0},
  };
  root.children.push_back(TextObject{"TChild", "", 0, {{"X", TextValue::Bool(true), 0}}, {}});
  std::string text = WriteReportText(root);
  EXPECT_NE(text.find("  B = 0.1\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("  H = (0.0 2970.0 -1.5)\r\n"), std::string::npos);
  EXPECT_NE(text.find("  F = [fsBold, fsItalic]\r\n"), std::string::npos);
  EXPECT_NE(text.find("#13#10#1"), std::string::npos);
  TextObject back;
  ReportTextError error;
  ASSERT_TRUE(ParseReportText(text, back, error)) << error.Text();
  EXPECT_EQ(back, root);
  EXPECT_EQ(WriteReportText(back), text);
}

TEST(ReportTextForm, ProgramLayoutReadsAndWritesBackUnchanged) {
  LocaleScope locale(false, true);
  RegisterTextLabel();
  QWidget form;
  ReportTextError error;
  QObject* object = ReadReport(kProgramPage, "RPT1.txt", &form, error);
  ASSERT_NE(object, nullptr) << error.Text();
  auto* report = qobject_cast<TBandReport*>(object);
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report->objectName(), "RPT1");
  EXPECT_EQ(report->Units(), TRptUnit::MM);
  EXPECT_EQ(report->Font().Name(), J("ＭＳ ゴシック"));
  EXPECT_EQ(report->PrinterSettings().PrintQuality, 0);
  ASSERT_EQ(report->AllBands().size(), 1u);
  EXPECT_EQ(report->AllBands()[0]->BandType(), TRptBandType::rbTitle);
  EXPECT_EQ(report->AllBands()[0]->height(), 0);
  auto* label = report->findChild<TTextLabel*>("RPTLBL1_1");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->geometry(), QRect(72, 208, 697, 14));
  EXPECT_EQ(label->caption, J("計算名　　 ： テスト") + "\r\n" + J("２行目"));
  EXPECT_EQ(WriteReport(*report), kProgramPage);
}

// A model with every band kind and the report's settings changed: described, written, read
// and described again gives the same.
TEST(ReportTextForm, ModelRoundTrip) {
  LocaleScope locale(false, false);
  QWidget form;
  auto* report = new TBandReport(&form);
  report->setObjectName("Report");
  report->SetZoom(75);
  report->Page().SetOrientation(TRptOrientation::Landscape);
  report->Page().SetColumns(2);
  report->Page().SetRuler(false);
  report->Options.Set(TBandReportOption::Compression);
  report->ReportTitle = J("月報");
  report->ShowProgress = false;
  report->PrevInitialZoom = TRptZoomState::rpZoomToWidth;
  report->SetPreviewWidth(640);
  report->PrinterSettings().Copies = 3;
  report->PrinterSettings().OutputBin = TRptBin::Cassette;
  report->PrinterSettings().MemoryLimit = 1000;
  report->Font().SetStyle(platform::fsBold | platform::fsUnderline);
  TRptBand* detail = report->CreateBand(TRptBandType::rbDetail);
  TRptBand* summary = report->CreateBand(TRptBandType::rbSummary);
  detail->SetLinkBand(summary);
  detail->SetColor(0x00C0C0C0);
  detail->MutableFont().SetSize(14);
  summary->SetAlignToBottom(true);
  summary->SetHasChild(true);
  auto* sub = new TRptSubDetail(report);
  sub->setObjectName("Sub");
  sub->Bands().SetHasHeader(true);
  sub->SetPrintBefore(true);
  auto* nested = new TRptSubDetail(report);
  nested->setObjectName("Nested");
  nested->SetMaster(sub);
  auto* group = new TRptGroup(report);
  group->setObjectName("Group");
  group->SetExpression("[CODE]");
  group->SetFooterBand(report->CreateBand(TRptBandType::rbGroupFooter));
  group->SetReprintOnNewPage(true);
  report->Functions().AddEntry("TOTAL", "1+2");

  TextObject described = DescribeReport(*report);
  std::string text = WriteReportText(described);
  QWidget form2;
  ReportTextError error;
  QObject* read = ReadReport(text, "model", &form2, error);
  ASSERT_NE(read, nullptr) << error.Text() << "\n" << text;
  EXPECT_EQ(DescribeReport(*read), described);
  EXPECT_EQ(WriteReport(*read), text);
  auto* copy = qobject_cast<TBandReport*>(read);
  EXPECT_EQ(copy->Page().Native(TRptPage::kWidth), 2970);
  EXPECT_EQ(copy->PrinterSettings().OutputBin, TRptBin::Cassette);
  // The entries the sub-details make for themselves are not stored but made again.
  EXPECT_EQ(copy->Functions().Names(),
            (std::vector<std::string>{"PAGENUMBER", "COLUMNNUMBER", "REPORTTITLE", "TOTAL", "SUB", "NESTED"}));
  EXPECT_EQ(copy->Functions().WriteData()[3], "1+2");
  EXPECT_NE(text.find("Functions.DATA = ('0' '0' '''''' '1+2')"), std::string::npos) << text;
  EXPECT_EQ(OrderOf(copy), OrderOf(report));
}

TEST(ReportTextForm, ErrorsNameFileLineAndProperty) {
  LocaleScope locale(false, false);
  RegisterTextLabel();
  struct Case {
    std::string text;
    int line;
    std::string property, message;
  };
  const std::string head = "TBandReport R {\n";
  const Case cases[] = {
      {"", 1, "", "unexpected end of the description"},
      {"TBandReport R\n{\n  Zoom = 50\n", 4, "", "unexpected end of the description"},
      {"TNoSuch X {\n}\n", 1, "", "unknown class TNoSuch"},
      {head + "  Zoom = 'x'\n}\n", 2, "Zoom", "an integer expected"},
      {head + "  Zoom = 99999999999999999999\n}\n", 2, "Zoom", "integer out of range"},
      {head + "  Colour = 1\n}\n", 2, "Colour", "unknown property of TBandReport"},
      {head + "  Units = Furlongs\n}\n", 2, "Units", "unknown value Furlongs"},
      {head + "  ReportTitle = 'open\n}\n", 2, "ReportTitle", "unterminated string"},
      {head + "  ReportTitle = 'a'#999\n}\n", 2, "ReportTitle", "bad character code"},
      {head + "  Page.Values = (1 2 3)\n}\n", 2, "Page.Values", "a list of 7 numbers expected"},
      {head + "  Page.Values = (1 2 3 4 5 6 1e300)\n}\n", 2, "Page.Values", "value out of range"},
      {head + "  Page.Values = (1 2 3 4 5 6 1e99999)\n}\n", 2, "Page.Values", "number out of range"},
      {head + "  TRptBand B {\n    TRptShape S {\n      RoundFactor = 1e300\n    }\n  }\n}\n", 4, "RoundFactor",
       "value out of range"},
      {head + "  Options = [FirstPageHeader LastPageFooter]\n}\n", 2, "Options", "',' or ']' expected"},
      {head + "  Options = [Sometimes]\n}\n", 2, "Options", "unknown value Sometimes"},
      {head + "  TRptBand B {\n  }\n  TRptBand b {\n  }\n}\n", 4, "", "duplicate name b"},
      {head + "  TRptBand B {\n    LinkBand = Missing\n  }\n}\n", 3, "LinkBand", "no object named Missing"},
      {head + "  TRptBand A {\n    LinkBand = B\n  }\n  TRptBand B {\n    LinkBand = A\n  }\n}\n", 6, "LinkBand",
       "Circular linking not allowed"},
      {head + "  TRptSubDetail S {\n    Master = T\n  }\n  TRptBand T {\n  }\n}\n", 3, "Master",
       "not a report or a sub-detail band"},
      {head + "}\n}\n", 3, "", "text after the end of the description"},
      {head + "  Zoom = @\n}\n", 2, "Zoom", "unexpected character"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    QWidget form;
    ReportTextError error;
    EXPECT_EQ(ReadReport(c.text, "bad.txt", &form, error), nullptr);
    EXPECT_EQ(error.file, "bad.txt");
    EXPECT_EQ(error.line, c.line);
    EXPECT_EQ(error.property, c.property);
    EXPECT_EQ(error.message, c.message);
    EXPECT_TRUE(form.findChildren<QObject*>().isEmpty());  // nothing left behind
  }
  ReportTextError error{"R.txt", 7, "Zoom", "an integer expected"};
  EXPECT_EQ(error.Text(), "R.txt(7): Zoom: an integer expected");
}

// What the library writes reads back and writes the same again: labels grown by long texts
// (an auto-sized label grows no larger than a description holds), long expressions and every
// stored property at the limits its reader takes.
TEST(ReportTextForm, WrittenDescriptionsReadBackAtTheLimits) {
  LocaleScope locale(false, false);
  const std::string longText(8192, 'W');
  std::string sum = "1";
  for (int k = 1; k < 10000; ++k) sum += "+1";
  QWidget form;
  auto* report = new TBandReport(&form);
  report->setObjectName("Report");
  TRptBand* band = report->CreateBand(TRptBandType::rbDetail);
  for (TRptAlignment alignment : {TRptAlignment::Left, TRptAlignment::Right, TRptAlignment::Center}) {
    auto* label = new TRptLabel(band);
    label->SetAlignment(alignment);
    label->SetCaption(longText);
    EXPECT_LE(label->Size().Native(TRptPrintableSize::kWidth), kMaxStoredGeometry);
    EXPECT_GE(label->Size().Native(TRptPrintableSize::kLeft), -kMaxStoredGeometry);
  }
  auto* expr = new TRptExpr(band);
  expr->SetExpression(sum);
  expr->SetMask(longText);
  auto* memo = new TRptMemo(band);
  memo->SetLines({longText, sum, ""});
  const std::string written = WriteReport(*report);
  QWidget form2;
  ReportTextError error;
  QObject* read = ReadReport(written, "long", &form2, error);
  ASSERT_NE(read, nullptr) << error.Text();
  EXPECT_EQ(WriteReport(*read), written);

  // Every stored property at its limit, read, written, read and written again.
  const std::string quotedLong = "'" + longText + "'";
  std::string limits;
  for (const std::string& line : std::vector<std::string>{
      "TBandReport Limits {",
      "  Units = Native",
      "  Zoom = 300",
      "  Page.PaperSize = Custom",
      "  Page.Values = (100000.0 100000.0 100000.0 100000.0 100000.0 100000.0 100000.0)",
      "  Page.Columns = 1000",
      "  Font.Color = 4294967295",
      "  Font.Charset = 255",
      "  Frame.Color = -2147483648",
      "  Frame.Width = 1000",
      "  ReportTitle = " + quotedLong,
      "  PrevFormStyle = -2147483648",
      "  PreviewInitialState = 2147483647",
      "  PreviewWidth = 2147483647",
      "  PreviewHeight = -2147483648",
      "  PrinterSettings.Copies = 2147483647",
      "  PrinterSettings.FirstPage = -2147483648",
      "  PrinterSettings.LastPage = 2147483647",
      "  PrinterSettings.CustomBinCode = -2147483648",
      "  PrinterSettings.ExtendedDuplex = 2147483647",
      "  PrinterSettings.CustomPaperCode = 2147483647",
      "  PrinterSettings.MemoryLimit = 2147483647",
      "  PrinterSettings.PrintQuality = -2147483648",
      "  PrinterSettings.Collate = 2147483647",
      "  PrinterSettings.ColorOption = -2147483648",
      "  TRptBand Band {",
      "    BandType = rbDetail",
      "    Color = 4294967295",
      "    Size.Values = (100000.0 100000.0)",
      "  TRptLabel Big {",
      "    Tag = -2147483648",
      "    Color = 4294967295",
      "    Frame.Width = -1",
      "    Size.Values = (100000.0 -100000.0 100000.0 100000.0)",
      "    Caption = " + quotedLong,
      "  }",
      "  TRptShape Shape {",
      "    Tag = 2147483647",
      "    Pen.Width = 1000",
      "    RoundFactor = 3.0e38",
      "    VertAdjust = -2147483648",
      "    Size.Values = (-100000.0 -100000.0 -100000.0 -100000.0)",
      "  }",
      "  TRptExpr Sum {",
      "    Expression = '" + sum + "'",
      "    Mask = " + quotedLong,
      "  }",
      "  }",
      "}",
       })
    limits += line + "\r\n";
  QWidget form3, form4;
  QObject* first = ReadReport(limits, "limits", &form3, error);
  ASSERT_NE(first, nullptr) << error.Text();
  const std::string again = WriteReport(*first);
  QObject* second = ReadReport(again, "limits again", &form4, error);
  ASSERT_NE(second, nullptr) << error.Text();
  EXPECT_EQ(WriteReport(*second), again);
}

// Every stored property of every class, each at a value other than its default, is written
// in its place: the description reads and writes back byte for byte.
TEST(ReportTextForm, EveryStoredPropertyWritesBackInItsPlace) {
  LocaleScope locale(false, false);
  const std::string text = Lines({
      "TBandReport Report {",
      "  Units = Inches",
      "  Zoom = 75",
      "  Page.Orientation = Landscape",
      "  Page.PaperSize = Letter",
      "  Page.Values = (127.0 2159.0 127.0 2794.0 127.0 127.0 50.0)",
      "  Page.Columns = 2",
      "  Page.Ruler = False",
      "  Options = [FirstPageHeader, Compression]",
      "  Font.Name = 'Arial'",
      "  Font.Height = -13",
      "  Font.Style = [fsBold, fsUnderline]",
      "  Font.Color = 255",
      "  Font.Charset = 128",
      "  Frame.Color = 255",
      "  Frame.DrawTop = True",
      "  Frame.DrawBottom = True",
      "  Frame.DrawLeft = True",
      "  Frame.DrawRight = True",
      "  Frame.Style = psDash",
      "  Frame.Width = 2",
      "  Functions.Strings = ('PAGENUMBER' 'COLUMNNUMBER' 'REPORTTITLE' 'TOTAL')",
      "  Functions.DATA = ('0' '0' '''''' '1+2')",
      "  PrintIfEmpty = False",
      "  ReportTitle = '月報'",
      "  ShowProgress = False",
      "  SnapToGrid = False",
      "  BackImageControl = 'Back'",
      "  Description = ('a' 'b')",
      "  PrevFormStyle = 1",
      "  PreviewInitialState = 2",
      "  PreviewWidth = 640",
      "  PreviewHeight = 480",
      "  PrevShowThumbs = False",
      "  PrevShowSearch = False",
      "  PrevInitialZoom = rpZoomToWidth",
      "  PrinterSettings.Copies = 3",
      "  PrinterSettings.OutputBin = Cassette",
      "  PrinterSettings.Duplex = True",
      "  PrinterSettings.FirstPage = 2",
      "  PrinterSettings.LastPage = 5",
      "  PrinterSettings.UseStandardprinter = True",
      "  PrinterSettings.UseCustomBinCode = True",
      "  PrinterSettings.CustomBinCode = 7",
      "  PrinterSettings.ExtendedDuplex = 1",
      "  PrinterSettings.UseCustomPaperCode = True",
      "  PrinterSettings.CustomPaperCode = 9",
      "  PrinterSettings.PrintMetaFile = True",
      "  PrinterSettings.MemoryLimit = 1000",
      "  PrinterSettings.PrintQuality = 300",
      "  PrinterSettings.Collate = 1",
      "  PrinterSettings.ColorOption = 2",
      "  TRptBand Detail {",
      "    BandType = rbDetail",
      "    AlignToBottom = True",
      "    Color = 12632256",
      "    Enabled = False",
      "    TransparentBand = True",
      "    ParentFont = False",
      "    Font.Name = 'Arial'",
      "    Font.Height = -19",
      "    Font.Style = [fsBold, fsUnderline]",
      "    Font.Color = 255",
      "    Font.Charset = 128",
      "    ForceNewColumn = True",
      "    ForceNewPage = True",
      "    LinkBand = Summary",
      "    Size.Values = (50.0 1243.541666666667)",
      "    PreCaluculateBandHeight = True",
      "    KeepOnOnePage = True",
      "    Frame.DrawBottom = True",
      "    TRptLabel Label {",
      "      Caption = 'one'",
      "      AutoSize = False",
      "      AutoStretch = True",
      "      WordWrap = False",
      "      Transparent = True",
      "      BiDiMode = bdRightToLeft",
      "      ParentBiDiMode = False",
      "      ParentFont = False",
      "      Font.Name = 'Arial'",
      "      Font.Height = -13",
      "      Font.Style = [fsItalic, fsStrikeOut]",
      "      Font.Color = 255",
      "      Font.Charset = 128",
      "      FontSize = 10",
      "      Alignment = taCenter",
      "      AlignToBand = True",
      "      Color = 65535",
      "      Enabled = False",
      "      Visible = False",
      "      Tag = 7",
      "      Frame.DrawLeft = True",
      "      Size.Values = (50.0 10.0 10.0 400.0)",
      "    }",
      "    TRptMemo Memo {",
      "      Lines.Strings = ('a' 'b')",
      "      Size.Values = (50.0 10.0 10.0 400.0)",
      "    }",
      "    TRptExpr Expr {",
      "      Expression = 'SUM(1)'",
      "      Mask = '#,##0.0'",
      "      Master = Sub",
      "      ResetAfterPrint = True",
      "      Size.Values = (50.0 10.0 10.0 400.0)",
      "    }",
      "    TRptImage Image {",
      "      AutoSize = True",
      "      Stretch = True",
      "      Center = True",
      "      Size.Values = (50.0 10.0 10.0 400.0)",
      "    }",
      "    TRptShape Shape {",
      "      Shape = rpsRoundRect",
      "      Brush.Color = 65535",
      "      Brush.Style = bsCross",
      "      Pen.Color = 255",
      "      Pen.Width = 2",
      "      Pen.Style = psDash",
      "      RoundFactor = 0.25",
      "      VertAdjust = 3",
      "      Size.Values = (50.0 10.0 10.0 400.0)",
      "    }",
      "  }",
      "  TRptBand Summary {",
      "    BandType = rbSummary",
      "    Size.Values = (80.0 2540.0)",
      "  }",
      "  TRptChildBand Child {",
      "    ParentBand = Summary",
      "    Size.Values = (20.0 2540.0)",
      "  }",
      "  TRptSubDetail Sub {",
      "    PrintBefore = True",
      "    PrintIfEmpty = False",
      "    HeaderBand = SubHeader",
      "    FooterBand = SubFooter",
      "    Size.Values = (20.0 1243.541666666667)",
      "  }",
      "  TRptBand SubHeader {",
      "    BandType = rbGroupHeader",
      "    Size.Values = (20.0 1243.541666666667)",
      "  }",
      "  TRptBand SubFooter {",
      "    BandType = rbGroupFooter",
      "    Size.Values = (20.0 1243.541666666667)",
      "  }",
      "  TRptSubDetail Nested {",
      "    Master = Sub",
      "    Size.Values = (20.0 1243.541666666667)",
      "  }",
      "  TRptGroup Group {",
      "    Expression = '[CODE]'",
      "    FooterBand = GroupFooter",
      "    Master = Sub",
      "    ReprintOnNewPage = True",
      "    Size.Values = (20.0 1243.541666666667)",
      "  }",
      "  TRptBand GroupFooter {",
      "    BandType = rbGroupFooter",
      "    Size.Values = (20.0 1243.541666666667)",
      "  }",
      "}",
  });
  QWidget form;
  ReportTextError error;
  QObject* read = ReadReport(text, "every", &form, error);
  ASSERT_NE(read, nullptr) << error.Text();
  EXPECT_EQ(WriteReport(*read), text);
}

// Many objects side by side read (in time growing with their count: bench_report_store), and
// names are found in any case.
TEST(ReportTextForm, ManySiblingsAndNamesInAnyCase) {
  LocaleScope locale(false, false);
  std::string text;
  ASSERT_TRUE(platform::ReadFileBytes(testsupport::SourceDir() +
                                          "/tests/report/fuzz_regressions/report_text/"
                                          "one_thousand_sibling_labels_and_names_in_any_case.txt",
                                      text));
  QWidget form;
  ReportTextError error;
  QObject* read = ReadReport(text, "labels", &form, error);
  ASSERT_NE(read, nullptr) << error.Text();
  auto* detail = read->findChild<TRptBand*>("Detail");
  ASSERT_NE(detail, nullptr);
  EXPECT_EQ(detail->LinkBand(), read->findChild<TRptBand*>("Summary"));
  EXPECT_EQ(detail->findChild<TRptExpr*>("Total")->Master(), read);
  EXPECT_EQ(detail->findChildren<TRptLabel*>().size(), 1000);
}

// Images keep their pictures through a description: a bitmap and a metafile come back of
// their class with the same size, pixels and bytes, and what is read writes back the same.
TEST(ReportTextForm, PicturesAreStoredAndReadBack) {
  LocaleScope locale(false, false);
  QWidget form;
  auto* report = new TBandReport(&form);
  report->setObjectName("Report");
  TRptBand* title = report->CreateBand(TRptBandType::rbTitle);
  platform::Dib dib = platform::Dib::Filled(7, 5, platform::RgbColor(255, 255, 255));
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) dib.SetPixel(x, y, platform::RgbColor(x * 36, y * 60, (x * y) % 256));
  }
  auto* bitmapImage = new TRptImage(title);
  bitmapImage->setObjectName("Bitmap");
  auto bitmap = std::make_unique<platform::TBitmapGraphic>();
  bitmap->SetBitmap(dib);
  bitmapImage->Picture().SetGraphic(std::move(bitmap));
  auto* metafileImage = new TRptImage(report);
  metafileImage->setObjectName("Metafile");
  metafileImage->SetStretch(true);
  platform::EmfRecorder recorder(40, 30);
  recorder.Rectangle(2, 3, 38, 27);
  const std::string emf = recorder.Finish();
  auto metafile = std::make_unique<platform::TMetafile>();
  ASSERT_TRUE(metafile->LoadFromBytes(emf));
  metafileImage->Picture().SetGraphic(std::move(metafile));
  (new TRptImage(report))->setObjectName("Empty");

  const std::string written = WriteReport(*report);
  EXPECT_NE(written.find("Picture.Data = ('TBitmap' '424D"), std::string::npos) << written;
  EXPECT_NE(written.find("Picture.Data = ('TMetafile' '01000000"), std::string::npos) << written;
  QWidget form2;
  ReportTextError error;
  QObject* read = ReadReport(written, "pictures", &form2, error);
  ASSERT_NE(read, nullptr) << error.Text();
  EXPECT_EQ(WriteReport(*read), written);
  auto* bitmapBack =
      dynamic_cast<platform::TBitmapGraphic*>(read->findChild<TRptImage*>("Bitmap")->Picture().Graphic());
  ASSERT_NE(bitmapBack, nullptr);
  EXPECT_TRUE(bitmapBack->Bitmap() == dib);
  auto* metafileBack =
      dynamic_cast<platform::TMetafile*>(read->findChild<TRptImage*>("Metafile")->Picture().Graphic());
  ASSERT_NE(metafileBack, nullptr);
  EXPECT_EQ(metafileBack->Bytes(), emf);
  EXPECT_EQ(metafileBack->Width(), 40);
  EXPECT_EQ(metafileBack->Height(), 30);
  EXPECT_EQ(read->findChild<TRptImage*>("Empty")->Picture().Graphic(), nullptr);

  // Data that is no picture is an error naming the image.
  struct Bad {
    const char* data;
    const char* message;
  };
  std::vector<Bad> bad = {
      {"('TBitmap')", "a class and its data expected"},
      {"('TGif' '00')", "unknown picture class TGif"},
      {"('TBitmap' '4D4')", "its data is not hexadecimal"},
      {"('TBitmap' '4X4D')", "its data is not hexadecimal"},
      {"('TBitmap' '424D00000000')", "its data is no bitmap"},
      {"('TMetafile' '0100000004')", "its data is no enhanced metafile"},
  };
  // A metafile whose frame is 100 m high: an auto-sized image would outgrow any description.
  // One 20 m high does too, whatever the zoom and the units (a picture's pixel is one of the
  // layout at zoom 100).
  auto tallData = [&](int32_t metres) {
    std::string tall = emf;
    const int32_t frameBottom = metres * 1000 * 100;  // in 0.01 mm
    std::memcpy(tall.data() + 36, &frameBottom, 4);
    std::string tallHex;
    for (const char c : tall) {
      static constexpr char kDigits[] = "0123456789ABCDEF";
      tallHex += kDigits[static_cast<unsigned char>(c) >> 4];
      tallHex += kDigits[static_cast<unsigned char>(c) & 15];
    }
    return "('TMetafile' '" + tallHex + "')";
  };
  const std::string tall100 = tallData(100), tall20 = tallData(20);
  bad.push_back({tall100.c_str(), "it is larger than a description holds"});
  bad.push_back({tall20.c_str(), "it is larger than a description holds"});
  for (const char* report : {"", "  Units = Pixels\n  Zoom = 300\n"}) {
    for (const auto& b : bad) {
      SCOPED_TRACE(std::string(report) + b.data);
      const std::string text = "TBandReport R {\n" + std::string(report) +
                               "  TRptImage Picture1 {\n    AutoSize = True\n    Picture.Data = " +
                               std::string(b.data) + "\n  }\n}\n";
      QWidget holder;
      EXPECT_EQ(ReadReport(text, "bad.txt", &holder, error), nullptr);
      EXPECT_EQ(error.line, *report ? 6 : 4);
      EXPECT_EQ(error.property, "Picture.Data");
      EXPECT_EQ(error.message, std::string("the picture of Picture1 cannot be read: ") + b.message);
    }
  }
}

// Page.Columns out of range is ignored, as setting it is.
TEST(ReportTextForm, ColumnsOutOfRangeAreIgnored) {
  LocaleScope locale(false, false);
  for (const char* columns : {"0", "-3", "1001", "9223372036854775807"}) {
    SCOPED_TRACE(columns);
    const std::string text =
        "TBandReport R {\n  Page.Columns = 3\n  Page.Columns = " + std::string(columns) + "\n}\n";
    QWidget form;
    ReportTextError error;
    auto* read = qobject_cast<TBandReport*>(ReadReport(text, "columns", &form, error));
    ASSERT_NE(read, nullptr) << error.Text();
    EXPECT_EQ(read->Page().Columns(), 3);
  }
  QWidget form;
  ReportTextError error;
  EXPECT_EQ(ReadReport("TBandReport R {\n  Page.Columns = 'two'\n}\n", "columns", &form, error), nullptr);
  EXPECT_EQ(error.message, "an integer expected");
}

// A description of many bands is sorted once, when loading ends: the sorting steps grow with
// the number of bands (each stored BandType once re-sorted every band read so far).
TEST(ReportTextForm, ManyBandsAreSortedOnceWhenLoadingEnds) {
  LocaleScope locale(false, false);
  for (int bands : {1000, 10000}) {
    SCOPED_TRACE(bands);
    std::string text = "TBandReport R {\r\n  TRptBand Title {\r\n    BandType = rbTitle\r\n  }\r\n";
    for (int i = 1; i <= bands; ++i) {
      text += "  TRptBand D" + std::to_string(i) + " {\r\n    BandType = " +
              (i % 2 ? "rbDetail" : "rbGroupFooter") + "\r\n  }\r\n";
    }
    text += "  TRptChildBand C {\r\n    ParentBand = Title\r\n  }\r\n}\r\n";
    QWidget form;
    ReportTextError error;
    auto* read = qobject_cast<TBandReport*>(ReadReport(text, "bands", &form, error));
    ASSERT_NE(read, nullptr) << error.Text();
    const std::vector<std::string> order = OrderOf(read);
    ASSERT_EQ(order.size(), static_cast<size_t>(bands + 2));
    EXPECT_EQ(order[0], "Title");
    EXPECT_EQ(order[1], "C");
    EXPECT_EQ(order[2], "D1");  // the report's detail band, then every other band in its place
    EXPECT_EQ(order[3], "D2");
    EXPECT_EQ(order.back(), "D" + std::to_string(bands));
    EXPECT_LE(read->SortSteps(), 10 * (bands + 2));
  }
}

TEST(ReportTextForm, FilesAreSavedWholeAndLoaded) {
  LocaleScope locale(false, true);
  RegisterTextLabel();
  testsupport::TempFolder tmp;
  QWidget form;
  ReportTextError error;
  QObject* report = ReadReport(kProgramPage, "page", &form, error);
  ASSERT_NE(report, nullptr);
  std::string path = tmp.Path("レポート.txt");
  std::string message;
  ASSERT_TRUE(SaveReportFile(path, *report, message)) << message;
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, kProgramPage);
  QWidget form2;
  QObject* loaded = LoadReportFile(path, &form2, error);
  ASSERT_NE(loaded, nullptr) << error.Text();
  EXPECT_EQ(WriteReport(*loaded), kProgramPage);
  EXPECT_FALSE(SaveReportFile(tmp.Path("no such folder\\x.txt"), *report, message));
  EXPECT_EQ(LoadReportFile(tmp.Path("missing.txt"), &form2, error), nullptr);
  EXPECT_EQ(error.message, "the file cannot be read");
}

}  // namespace

#include "report_text_test.moc"
