#include "framework/calc_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/appinit.h"
#include "framework/calc_store_kinds.h"
#include "framework/convert.h"
#include "framework/fake_status_bar.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "platform/files.h"
#include "platform/path.h"
#include "support/test_support.h"

namespace {

using fw::RecordKind;
using platform::ModalResult;
using testsupport::S;
using testsupport::U;

std::string Blanks(size_t n) { return std::string(n, ' '); }

// An 88-column line: the label and tag (UTF-8) in columns 1-12, then texts (UTF-8) placed at
// their 1-based columns.
std::string Line(const std::string& head, const std::vector<std::pair<int, std::string>>& cells = {}) {
  std::string line = Blanks(fw::kRecordWidth);
  const std::string h = S(head);
  line.replace(0, h.size(), h);
  for (const auto& [col, utf8] : cells) {
    const std::string t = S(utf8);
    line.replace(static_cast<size_t>(col - 1), t.size(), t);
  }
  line.resize(fw::kRecordWidth, ' ');
  return line;
}

std::string Header() { return std::string("---<<< HarvSim Ver.2.00 Input Data >>>--- 2024/04/01 09:00:00") + Blanks(27); }

std::string ReadBytes(const std::string& insidePath) {
  std::string bytes;
  EXPECT_TRUE(platform::ReadFileBytes(insidePath, bytes)) << U(insidePath);
  return bytes;
}

void WriteBytes(const std::string& insidePath, const std::string& bytes) {
  ASSERT_TRUE(platform::WriteFileBytesAtomic(insidePath, bytes)) << U(insidePath);
}

class CalcStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    fw::ProgramNameVersion = "HarvSim Ver.2.00";
    fw::CalcData = {Header()};
    fw::CalcDataSaved.clear();
    fw::DataState = {};
    fw::CalcDataLoaded = false;
    fw::CurrentFileName.clear();
    fw::ErrorText.clear();
    fw::RecLabelText.clear();
    fw::RecKindTag.clear();
    for (const auto& layout : fw::calc_store_detail::AllLayouts()) fw::ResetRecordKind(layout.name);
    ui.stepMs = 100;
  }

  testsupport::FakeUi ui;
  testsupport::StatusBarScope status;
  testsupport::TempFolder temp;
};

// ---------------------------------------------------------------------------------------------
// Readers: one fixture line per layout family.

struct ReadCase {
  const char* name;
  RecordKind kind;
  std::string line;
  std::map<size_t, std::string> texts;  // S[i] (UTF-8)
  std::map<size_t, int64_t> ints;       // N[i]
  std::map<size_t, float> reals;        // V[i]
  std::map<size_t, int> decimals;       // RecDecimals[i]; unlisted indexes must be 0
};

TEST_F(CalcStoreTest, ReadsEveryLayoutFamily) {
  const std::vector<ReadCase> cases = {
      {"texts of 16", RecordKind::SS4,
       Line("№1100<SS4> 22  5   13", {{25, "静岡県"}, {41, "浜松市"}, {57, "浜松  "}}),
       {{1, "静岡県"}, {2, "浜松市"}, {3, "浜松"}, {4, ""}}, {}, {}, {}},
      {"single characters kept", RecordKind::SS64, Line("№1200<SS64>", {{25, "A B"}, {88, "Z"}}),
       {{1, "A"}, {2, " "}, {3, "B"}, {4, " "}, {64, "Z"}}, {}, {}, {}},
      {"integers of 5 with a thousands comma", RecordKind::NN12,
       Line("№1300<NN12>", {{25, "    1  -201,234"}, {80, "   7x"}}), {}, {{1, 1}, {2, -20}, {3, 1234}, {4, 0}, {12, 7}},
       {}, {}},
      {"hexadecimal cells, blanks before the digits", RecordKind::HH12,
       Line("№9101<HH12>", {{25, "F423F   64    0  $1F  0x1"}}), {{1, "F423F"}, {2, "   64"}, {3, "    0"}},
       {{1, 999999}, {2, 100}, {3, 0}, {4, 31}, {5, 0}, {6, 0}}, {}, {}},
      {"hexadecimal bytes and a text", RecordKind::HH24, Line("№1400<HH24>", {{25, " FFF1G"}, {73, "NOTE"}}),
       {{1, " F"}, {2, "FF"}, {25, "NOTE"}}, {{1, 15}, {2, 255}, {3, 0}}, {}, {}},
      {"reals of 8 with their decimals", RecordKind::VV8,
       Line("№2100<VV8>", {{25, "   12.50"}, {41, " 1,234.5"}, {49, "  -0.125"}, {57, "     100"}}), {},
       {}, {{1, 12.5f}, {2, 0.0f}, {3, 1234.5f}, {4, -0.125f}, {5, 100.0f}}, {{1, 2}, {3, 1}, {4, 3}}},
      {"number and text items", RecordKind::NS4, Line("№4100<NS4>", {{25, "  1戸建住宅"}, {40, "999ABCDEFGHIJKL"}}),
       {{1, "戸建住宅"}, {2, "ABCDEFGHIJKL"}, {3, ""}}, {{1, 1}, {2, 999}, {3, 0}}, {}, {}},
      {"number, text of 29 and reals", RecordKind::NSV4,
       Line("№4201<NSV4>1   1   2", {{25, "  1大便器"}, {57, "   120.0     0.3     8.0     288"}}),
       {{1, "大便器"}}, {{1, 1}}, {{1, 120.0f}, {2, 0.3f}, {3, 8.0f}, {4, 288.0f}}, {{1, 1}, {2, 1}, {3, 1}}},
      {"interleaved x, y and real", RecordKind::XYV4,
       Line("№1500<XYV4>", {{25, "  12  34    5.25"}, {41, "   1   2      -1"}}), {},
       {{1, 12}, {5, 34}, {2, 1}, {6, 2}}, {{1, 5.25f}, {2, -1.0f}}, {{1, 2}}},
      {"bytes held to 0..255 and kept characters", RecordKind::CHDB,
       Line("№1600<CHDB>", {{25, "ABCDEF"}, {60, "xy"}, {68, " 999"}, {72, "TEXT"}, {79, " 12"}, {82, "abc"}}),
       {{1, "ABCDEF"}, {6, "x"}, {7, "y"}, {8, " "}, {14, "TEXT"}, {15, "abc"}}, {{1, 255}, {2, 12}}, {}, {}},
      {"date texts with decimals", RecordKind::YMD9, Line("№1700<YMD9>", {{25, "1995.5"}, {32, "12"}}),
       {{1, "1995.5"}, {2, "12"}}, {}, {}, {{1, 1}}},
      {"64-bit integers", RecordKind::MONY, Line("№1800<MONY>", {{25, "123456789012"}, {37, "       -1.50"}}), {},
       {{1, 123456789012LL}, {2, -1}}, {}, {{2, 2}}},
      {"integers held as reals", RecordKind::ZAI3, Line("№1900<ZAI3>", {{25, "鉄骨"}, {39, "   1234"}}),
       {{1, "鉄骨"}}, {}, {{1, 1234.0f}}, {}},
  };
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    fw::CalcData = {Header(), Line("№1000<SS1>", {{25, "表題"}}), c.line};
    const std::string head = c.line.substr(0, 6);
    const int number = std::stoi(c.line.substr(2, 4));
    ASSERT_EQ(head.substr(0, 2), S("№"));
    fw::ReadRecord(fw::CalcData, number, c.kind);
    ASSERT_TRUE(fw::LineFound);
    const fw::TRecordKindBuffer& b = fw::KindBuffer(c.kind);
    EXPECT_EQ(b.Label, S("№") + std::to_string(number));
    EXPECT_EQ(b.Tag, fw::TagOf(c.kind));
    for (const auto& [i, t] : c.texts) EXPECT_EQ(U(b.S[i]), t) << "S[" << i << "]";
    for (const auto& [i, n] : c.ints) EXPECT_EQ(b.N[i], n) << "N[" << i << "]";
    for (const auto& [i, v] : c.reals) EXPECT_FLOAT_EQ(b.V[i], v) << "V[" << i << "]";
    if (!c.decimals.empty() || c.kind == RecordKind::VV8) {
      for (size_t i = 1; i < fw::RecDecimals.size(); ++i) {
        const int want = c.decimals.count(i) ? c.decimals.at(i) : 0;
        EXPECT_EQ(fw::RecDecimals[i], want) << "RecDecimals[" << i << "]";
      }
    }
  }
}

TEST_F(CalcStoreTest, ReaderFillsAttributesAndCurrentRecordState) {
  fw::CalcData.push_back(Line("№4100<VV8>     1   2", {{25, "     4.0"}}));
  fw::ReadRecVV8(fw::CalcData, 4100);
  EXPECT_EQ(fw::RecVV8.Attr[1], "");
  EXPECT_EQ(fw::RecVV8.Attr[2], "1");
  EXPECT_EQ(fw::RecVV8.AttrNo[3], 2);
  EXPECT_EQ(U(fw::RecLabelText), "№4100");
  EXPECT_EQ(fw::RecKindTag, "<VV8>");
  EXPECT_EQ(fw::RecLabelNo, 4100);
  EXPECT_EQ(fw::RecLine, fw::CalcData[1]);
  EXPECT_EQ(fw::RecAttrText, "    1   2   ");
  EXPECT_EQ(fw::RecValueText.size(), 64u);
  EXPECT_EQ(fw::RecValueText.substr(0, 8), "     4.0");
}

TEST_F(CalcStoreTest, AbsentRecordAndShortLinesReadBlank) {
  fw::ReadRecVV8(fw::CalcData, 2100);
  EXPECT_FALSE(fw::LineFound);
  EXPECT_EQ(fw::RecLine, Blanks(88));
  for (size_t i = 1; i <= 8; ++i) {
    EXPECT_EQ(fw::RecVV8.V[i], 0.0f);
    EXPECT_EQ(fw::RecDecimals[i], 0);
  }

  // A file whose lines stop early: the missing columns read as blanks.
  const std::string path = temp.Path("SHORT.HVS");
  WriteBytes(path, Header() + "\r\n" + S("№2100<VV8>") + Blanks(13) + "     150\r\n" + S("№1100<SS4> 22") + "\r\n" +
                       S("№1000<SS1>") + "\r\n");
  ASSERT_TRUE(fw::LoadInputData(path, fw::CalcData));
  fw::ReadRecVV8(fw::CalcData, 2100);
  EXPECT_TRUE(fw::LineFound);
  EXPECT_EQ(fw::RecVV8.V[1], 150.0f);
  EXPECT_EQ(fw::RecVV8.V[2], 0.0f);
  fw::ReadRecSS4(fw::CalcData, 1100);
  EXPECT_EQ(fw::RecSS4.Attr[1], "22");
  EXPECT_EQ(fw::RecSS4.S[1], "");
  EXPECT_EQ(fw::RecValueText, Blanks(64));
  fw::ReadRecSS1(fw::CalcData, 1000);
  EXPECT_TRUE(fw::LineFound);
  EXPECT_EQ(fw::RecSS1.S[1], "");
}

TEST_F(CalcStoreTest, MultiRecordKindsReadOneEntryPerNumber) {
  fw::CalcData.push_back(Line("№1000<ADR1>", {{25, " 12"}, {28, "TOKYO"}, {38, "ADDRESS ONE"}}));
  fw::CalcData.push_back(Line("№1000<ADR3>", {{25, "  3"}, {28, "OSAKA"}}));
  fw::CalcData.push_back(Line("№1000<KSA9>", {{25, "K9"}, {75, "     42"}, {82, "     -7"}}));
  fw::ReadRecADRS(fw::CalcData, 1000);
  EXPECT_EQ(fw::RecADRS.Entry[1].N[1], 12);
  EXPECT_EQ(fw::RecADRS.Entry[1].S[1], "TOKYO");
  EXPECT_EQ(fw::RecADRS.Entry[1].S[2], "ADDRESS ONE");
  EXPECT_EQ(fw::RecADRS.Entry[1].Tag, "<ADR1>");
  EXPECT_EQ(fw::RecADRS.Entry[2].S[1], "");
  EXPECT_EQ(fw::RecADRS.Entry[3].S[1], "OSAKA");
  EXPECT_EQ(fw::RecKindTag, "<ADR4>");
  fw::ReadRecKSAN(fw::CalcData, 1000);
  EXPECT_EQ(fw::RecKSAN.Entry[9].S[1], "K9");
  EXPECT_EQ(fw::RecKSAN.Entry[9].N[1], 42);
  EXPECT_EQ(fw::RecKSAN.Entry[9].N[2], -7);
  EXPECT_EQ(fw::RecKSAN.Entry[1].N[1], 0);
}

// Every cell of the kind table lies in the value part and every field has room in the buffer.
TEST_F(CalcStoreTest, KindTableFitsTheValuePartAndTheBuffers) {
  using fw::calc_store_detail::FieldType;
  for (const auto& layout : fw::calc_store_detail::AllLayouts()) {
    SCOPED_TRACE(layout.name);
    size_t s = 0, n = 0, v = 0, decimals = 0;  // decimals: highest RecDecimals index used
    for (const auto& run : layout.runs) {
      EXPECT_GE(run.col, 25);
      EXPECT_LE(run.col + run.stride * (run.count - 1) + run.width - 1, 88);
      const size_t count = static_cast<size_t>(run.count);
      switch (run.type) {
        case FieldType::TextDec:
          decimals = s + count;
          [[fallthrough]];
        case FieldType::Text:
        case FieldType::Kept:
          s += count;
          break;
        case FieldType::IntDec:
          decimals = n + count;
          [[fallthrough]];
        case FieldType::Int:
        case FieldType::Byte:
          n += count;
          break;
        case FieldType::Real:
          decimals = v + count;
          [[fallthrough]];
        case FieldType::IntReal:
          v += count;
          break;
        case FieldType::Hex:
        case FieldType::HexByte:
          s += count;
          n += count;
          break;
      }
    }
    EXPECT_LT(s, fw::RecSS1.S.size());
    EXPECT_LT(n, fw::RecSS1.N.size());
    EXPECT_LT(v, fw::RecSS1.V.size());
    EXPECT_LT(decimals, fw::RecDecimals.size());
    EXPECT_LE(fw::TagOf(layout.kind, layout.entries).size(), 6u);
  }
  EXPECT_EQ(fw::TagOf(RecordKind::ADNM, 2), "<ADN2>");
  EXPECT_EQ(fw::KindEntries(RecordKind::KSAN), 9);
}

// ---------------------------------------------------------------------------------------------
// Writers: the exact 88 bytes of every writer.

struct WriteCase {
  const char* name;
  int label;
  std::function<bool()> write;
  std::string expected;
};

TEST_F(CalcStoreTest, WritersGiveExactLines) {
  const std::vector<WriteCase> cases = {
      {"SS1 title", 1000,
       [] {
         fw::RecSS1 = {};
         fw::RecSS1.S[1] = S("表題");
         return fw::WriteRecSS1(fw::CalcData, 1000);
       },
       S("№1000<SS1> ") + Blanks(12) + S("表題") + Blanks(60)},
      {"SS1 six-digit label", 10000,
       [] {
         fw::RecSS1 = {};
         fw::RecSS1.S[1] = "X";
         return fw::WriteRecSS1(fw::CalcData, 10000);
       },
       "010000<SS1> " + Blanks(12) + "X" + Blanks(63)},
      {"SS4 four texts with attributes", 1100,
       [] {
         fw::RecSS4 = {};
         fw::RecSS4.Attr = {"", "22", "5", "13"};
         fw::RecSS4.S[1] = S("静岡県");
         fw::RecSS4.S[2] = S("浜松市");
         fw::RecSS4.S[3] = S("浜松");
         return fw::WriteRecSS4(fw::CalcData, 1100);
       },
       S("№1100<SS4> 22  5   13  静岡県          浜松市          浜松") + Blanks(28)},
      {"NN8 eight integers", 1100,
       [] {
         fw::RecNN8 = {};
         fw::RecNN8.N[1] = 22;
         fw::RecNN8.N[2] = -1234567;
         fw::RecNN8.N[3] = 12345678;
         return fw::WriteRecNN8(fw::CalcData, 1100);
       },
       S("№1100<NN8> ") + Blanks(12) + "      22-123456712345678       0       0       0       0       0"},
      {"HH12 upper-case hexadecimal", 9101,
       [] {
         fw::RecHH12 = {};
         fw::RecHH12.Attr[1] = "3C";
         fw::RecHH12.N[1] = 999999;
         fw::RecHH12.N[2] = 100;
         for (size_t m = 3; m <= 12; ++m) fw::RecHH12.N[m] = 60;
         fw::RecHH12.N[12] = 0;
         return fw::WriteRecHH12(fw::CalcData, 9101);
       },
       S("№9101<HH12>3C          ") + "F423F   64   3C   3C   3C   3C   3C   3C   3C   3C   3C    0" + Blanks(4)},
      {"NS4 kanji padded and cut in bytes", 4100,
       [] {
         fw::RecNS4 = {};
         fw::RecNS4.N[1] = 1;
         fw::RecNS4.S[1] = S("戸建住宅");
         fw::RecNS4.N[2] = 2;
         fw::RecNS4.S[2] = S("Aａｂｃｄｅｆ");  // 13 bytes: the last character would be split
         fw::RecNS4.N[3] = 3;
         fw::RecNS4.S[3] = S("ａｂｃｄｅｆｇ");  // 14 bytes
         return fw::WriteRecNS4(fw::CalcData, 4100);
       },
       S("№4100<NS4> ") + Blanks(12) + S("  1戸建住宅    ") + S("  2Aａｂｃｄｅ ") + S("  3ａｂｃｄｅｆ") + "  0" +
           Blanks(12) + Blanks(4)},
      {"VV8 with the mask 002-----", 2100,
       [] {
         fw::RecVV8 = {};
         fw::RecVV8.V[1] = 150;
         fw::RecVV8.V[2] = 120;
         fw::RecVV8.V[3] = 0.9f;
         return fw::WriteRecVV8(fw::CalcData, 2100, "002-----");
       },
       S("№2100<VV8> ") + Blanks(12) + "     150     120    0.90       0       0       0       0       0"},
      {"VV8 with a short mask", 5100,
       [] {
         fw::RecVV8 = {};
         fw::RecVV8.V[1] = 1.5f;
         fw::RecVV8.V[2] = 2.25f;
         fw::RecVV8.V[3] = -3;
         fw::RecVV8.V[8] = 0.125f;
         return fw::WriteRecVV8(fw::CalcData, 5100, "2");
       },
       S("№5100<VV8> ") + Blanks(12) + "    1.50       2      -3       0       0       0       0       0"},
      {"WW8 rounds halves away from zero", 4100,
       [] {
         fw::RecWW8 = {};
         fw::RecWW8.V[1] = 2.5f;
         fw::RecWW8.V[2] = 0.25f;
         fw::RecWW8.V[8] = 90;
         return fw::WriteRecWW8(fw::CalcData, 4100, "-1");
       },
       S("№4100<WW8> ") + Blanks(12) + "       3     0.3       0       0       0       0       0      90"},
      {"NSV4 number, text of 29 and four reals", 4203,
       [] {
         fw::RecNSV4 = {};
         fw::RecNSV4.Attr = {"", "2", "1", "2"};
         fw::RecNSV4.N[1] = 2;
         fw::RecNSV4.S[1] = S("小便器");
         fw::RecNSV4.V[1] = 120;
         fw::RecNSV4.V[2] = 2.8f;
         fw::RecNSV4.V[3] = 4;
         fw::RecNSV4.V[4] = 1344;
         return fw::WriteRecNSV4(fw::CalcData, 4203, "1110");
       },
       S("№4203<NSV4>2   1   2     2小便器") + Blanks(23) + "   120.0     2.8     4.0    1344"},
      {"NSV6 number, text of 12 and six reals", 4200,
       [] {
         fw::RecNSV6 = {};
         fw::RecNSV6.N[1] = 1;
         fw::RecNSV6.S[1] = S("事務所");
         fw::RecNSV6.V[1] = 120;
         fw::RecNSV6.V[2] = 80.5f;
         return fw::WriteRecNSV6(fw::CalcData, 4200, "01");
       },
       S("№4200<NSV6>") + Blanks(12) + S("  1事務所      ") + "     120    80.5       0       0       0       0 "},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.name);
    fw::CalcData = {Header()};
    ASSERT_TRUE(c.write());
    ASSERT_EQ(fw::CalcData.size(), 2u);
    const std::string& line = fw::CalcData[1];
    EXPECT_EQ(line.size(), 88u);
    EXPECT_EQ(U(line), U(c.expected));
    EXPECT_EQ(line, c.expected);
    EXPECT_EQ(fw::RecLine, line);
  }
  // The label's "№" is the two bytes 0x87 0x82.
  fw::CalcData = {Header()};
  fw::RecSS1.S[1] = "A";
  ASSERT_TRUE(fw::WriteRecSS1(fw::CalcData, 1000));
  EXPECT_EQ(fw::CalcData[1].substr(0, 6), std::string("\x87\x82" "1000", 6));
}

TEST_F(CalcStoreTest, WriterReplacesItsOwnLineAndRecordsItsDecimals) {
  fw::CalcData.push_back(Line("№2100<NN8>", {{25, "       1"}}));
  fw::RecVV8 = {};
  fw::RecVV8.V[3] = 0.9f;
  ASSERT_TRUE(fw::WriteRecVV8(fw::CalcData, 2100, "002-----"));
  EXPECT_FALSE(fw::LineFound);  // appended
  ASSERT_EQ(fw::CalcData.size(), 3u);
  EXPECT_EQ(fw::RecDecimals[3], 2);
  EXPECT_EQ(fw::RecDecimals[1], 0);
  EXPECT_EQ(U(fw::RecVV8.Label), "№2100");
  EXPECT_EQ(fw::RecVV8.Tag, "<VV8>");

  fw::RecVV8.V[3] = 0.85f;
  ASSERT_TRUE(fw::WriteRecVV8(fw::CalcData, 2100, "002"));
  EXPECT_TRUE(fw::LineFound);  // replaced
  ASSERT_EQ(fw::CalcData.size(), 3u);
  EXPECT_EQ(fw::CalcData[2].substr(40, 8), "    0.85");
  EXPECT_EQ(fw::CalcData[1], Line("№2100<NN8>", {{25, "       1"}}));  // the other kind is untouched

  // Reading back gives the values and their decimals.
  fw::ReadRecVV8(fw::CalcData, 2100);
  EXPECT_FLOAT_EQ(fw::RecVV8.V[3], 0.85f);
  EXPECT_EQ(fw::RecDecimals[3], 2);
}

TEST_F(CalcStoreTest, RefusedWritesLeaveTheStoreUnchanged) {
  fw::CalcData.push_back(Line("№2100<VV8>", {{25, "     150"}}));
  const fw::StringList before = fw::CalcData;

  struct Refusal {
    const char* name;
    std::function<bool()> write;
    std::vector<std::string> inMessage;  // UTF-8
  };
  const std::vector<Refusal> refusals = {
      {"label below 1000",
       [] {
         fw::RecSS1.S[1].assign(1, 'X');  // (a literal here trips a false -Wrestrict of g++ 12)
         return fw::WriteRecSS1(fw::CalcData, 999);
       },
       {"ラベル番号が1000未満は保存できません。(Write_SLDT)"}},
      {"real wider than its cell (existing record)",
       [] {
         fw::RecVV8 = {};
         fw::RecVV8.V[1] = 100000000;
         return fw::WriteRecVV8(fw::CalcData, 2100, "");
       },
       {"№2100<VV8>", "100000000", "(Write_SLDT)"}},
      {"real wider than its cell with decimals (new record)",
       [] {
         fw::RecVV8 = {};
         fw::RecVV8.V[2] = 999999.5f;
         return fw::WriteRecVV8(fw::CalcData, 3100, "-2");
       },
       {"№3100<VV8>", "999999.50"}},
      {"integer wider than %3d", [] {
         fw::RecNS4 = {};
         fw::RecNS4.N[2] = 1000;
         return fw::WriteRecNS4(fw::CalcData, 4100);
       },
       {"№4100<NS4>", "1000"}},
      {"hexadecimal wider than 5 digits", [] {
         fw::RecHH12 = {};
         fw::RecHH12.N[4] = 0x100000;
         return fw::WriteRecHH12(fw::CalcData, 9101);
       },
       {"№9101<HH12>", "100000"}},
      {"negative hexadecimal", [] {
         fw::RecHH12 = {};
         fw::RecHH12.N[1] = -1;
         return fw::WriteRecHH12(fw::CalcData, 9102);
       },
       {"-1"}},
      {"not a number", [] {
         fw::RecWW8 = {};
         fw::RecWW8.V[1] = std::nanf("");
         return fw::WriteRecWW8(fw::CalcData, 4100, "");
       },
       {"NAN"}},
      {"label wider than its six columns", [] {
         fw::RecSS1.S[1].assign(1, 'X');
         return fw::WriteRecSS1(fw::CalcData, 1000000);
       },
       {"1000000"}},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.name);
    fw::ErrorText.clear();
    fw::LineFound = true;
    EXPECT_FALSE(r.write());
    EXPECT_FALSE(fw::LineFound);
    EXPECT_EQ(fw::CalcData, before);
    for (const std::string& part : r.inMessage) EXPECT_NE(U(fw::ErrorText).find(part), std::string::npos) << U(fw::ErrorText);
  }

  // A text wider than its cell is cut without splitting a character, never refused.
  fw::RecSS1 = {};
  fw::RecSS1.S[1] = "A" + S("表") + std::string(56, 'x') + S("超過");  // 63 bytes; byte 60 is a lead byte
  fw::RecSS1.Attr[1] = S("表題表題");
  ASSERT_TRUE(fw::WriteRecSS1(fw::CalcData, 1000));
  const std::string& title = fw::CalcData.back();
  EXPECT_EQ(title.size(), 88u);
  EXPECT_EQ(title.substr(12, 4), S("表題"));
  EXPECT_EQ(title.substr(24, 60), "A" + S("表") + std::string(56, 'x') + " ");
  EXPECT_EQ(title.substr(84), Blanks(4));
}

TEST_F(CalcStoreTest, ControlCharactersNeverBreakALine) {
  fw::RecSS1 = {};
  fw::RecSS1.S[1] = "A\r\nB\tC";
  ASSERT_TRUE(fw::WriteRecSS1(fw::CalcData, 1000));
  EXPECT_EQ(fw::CalcData[1].substr(24, 6), "A  B C");
}

// ---------------------------------------------------------------------------------------------
// Lookups and list operations

TEST_F(CalcStoreTest, LabelLookups) {
  fw::CalcData = {Header(),
                  Line("№1000<SS1>", {{25, "見出し№2100<VV8>"}}),
                  Line("№2100<NN8>"),
                  Line("№2100<VV8>", {{25, "     150"}}),
                  Line("010000<SS1>", {{25, "six digits"}}),
                  Line("№5100<VV8>"),
                  Line("№9101<HH12>")};
  fw::RecKindTag = "<VV8>";
  EXPECT_EQ(fw::FindLabelLine(fw::CalcData, 2100), 3);  // not the title that holds the key
  EXPECT_TRUE(fw::LineFound);
  EXPECT_EQ(U(fw::RecLabelText), "№2100");

  EXPECT_EQ(fw::FindLabelLine(fw::CalcData, 0), 3);  // label 0: the label used last

  EXPECT_EQ(fw::FindLabelLine(fw::CalcData, 5), 5);  // 1..999: a line index
  EXPECT_TRUE(fw::LineFound);
  EXPECT_EQ(U(fw::RecLabelText), "№2100");  // left as it was
  EXPECT_EQ(fw::FindLabelLine(fw::CalcData, 7), 0);
  EXPECT_FALSE(fw::LineFound);

  fw::RecKindTag = "<SS1>";
  EXPECT_EQ(fw::FindLabelLine(fw::CalcData, 10000), 4);
  EXPECT_EQ(fw::RecLabelText, "010000");
  fw::ReadRecSS1(fw::CalcData, 10000);
  EXPECT_EQ(fw::RecSS1.S[1], "six digits");

  fw::RecKindTag = "<VV8>";
  EXPECT_EQ(fw::FindLabelLine(fw::CalcData, 4100), 0);
  EXPECT_FALSE(fw::LineFound);

  // FindLabelTagLine: a key, or the current label and tag.
  EXPECT_EQ(fw::FindLabelTagLine(fw::CalcData, S("№9101<HH12>")), 6);
  fw::ReadRecNN8(fw::CalcData, 2100);
  EXPECT_EQ(fw::FindLabelTagLine(fw::CalcData, ""), 2);
  EXPECT_EQ(fw::FindLabelTagLine(fw::CalcData, S("見出し")), 0);
  EXPECT_FALSE(fw::LineFound);
}

TEST_F(CalcStoreTest, LabelExists) {
  fw::CalcData = {Header(), Line("№1000<SS1>", {{25, "№4100<NS4>を含む表題"}}), Line("№4100<VV8>")};
  EXPECT_TRUE(fw::LabelExists(fw::CalcData, S("№1000")));
  EXPECT_TRUE(fw::LabelExists(fw::CalcData, S("№4100")));
  EXPECT_FALSE(fw::LabelExists(fw::CalcData, S("№4100<NS4>")));
  EXPECT_FALSE(fw::LabelExists(fw::CalcData, S("№2100")));
  fw::RecNS4 = {};
  fw::RecNS4.N[1] = 1;
  ASSERT_TRUE(fw::WriteRecNS4(fw::CalcData, 4100));
  EXPECT_TRUE(fw::LabelExists(fw::CalcData, S("№4100<NS4>")));
}

TEST_F(CalcStoreTest, DeleteLabelLineUsesTheKindOfTheLastCall) {
  fw::CalcData = {Header(), Line("№4100<NS4>"), Line("№4100<VV8>"), Line("№4100<WW8>")};
  fw::ReadRecVV8(fw::CalcData, 4100);
  EXPECT_TRUE(fw::DeleteLabelLine(fw::CalcData, 4100));
  EXPECT_EQ(fw::CalcData, (fw::StringList{Header(), Line("№4100<NS4>"), Line("№4100<WW8>")}));
  EXPECT_FALSE(fw::DeleteLabelLine(fw::CalcData, 4100));
  EXPECT_EQ(fw::CalcData.size(), 3u);
}

TEST_F(CalcStoreTest, FilterAndRenumberMatchTheLabelColumnsOnly) {
  const std::string title = Line("№1000<SS1>", {{25, "トイレ№42の例 №4203"}});
  fw::CalcData = {Header(),          title,          Line("№4100<NS4>"),   Line("№4200<NSV6>"),
                  Line("№4200<VV8>"), Line("№4201<NSV4>"), Line("№4203<NSV4>"), Line("№5100<VV8>")};

  fw::StringList renumbered = fw::CalcData;
  renumbered[0] = S("№4203 in the header line");
  EXPECT_EQ(fw::RenumberLabel(renumbered, 4203, 4202), 1);
  EXPECT_EQ(renumbered[6], Line("№4202<NSV4>"));
  EXPECT_EQ(renumbered[0], S("№4203 in the header line"));
  EXPECT_EQ(renumbered[1], title);
  // A number outside 1000..9999 would change the label's width: nothing changes.
  fw::StringList unchanged = fw::CalcData;
  EXPECT_EQ(fw::RenumberLabel(unchanged, 4203, 10000), 0);
  EXPECT_EQ(fw::RenumberLabel(unchanged, 999, 4203), 0);
  EXPECT_EQ(unchanged, fw::CalcData);

  EXPECT_EQ(fw::FilterLines(fw::CalcData, " "), 0);
  EXPECT_EQ(fw::FilterLines(fw::CalcData, S(" №42 ")), 4);
  EXPECT_EQ(fw::CalcData, (fw::StringList{Header(), title, Line("№4100<NS4>"), Line("№5100<VV8>")}));
}

TEST_F(CalcStoreTest, SplitKey12) {
  struct Case {
    const char* text;
    const char* a1;
    const char* a2;
    const char* a3;
  };
  const Case cases[] = {
      {"", "", "", ""},
      {"AB", "AB  ", "    ", "    "},
      {"ABCDEFGHIJKLMN", "ABCD", "EFGH", "IJKL"},
      {"ABC漢字", "ABC?", "?字 ", "    "},           // a kanji across byte 4
      {"ABCDEFG漢X", "ABCD", "EFG?", "?X  "},        // across byte 8
      {"ABCDEFGHIJK漢", "ABCD", "EFGH", "IJK "},     // byte 12: LeftStrJ leaves a blank
      {"漢字かな", "漢字", "かな", "    "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string a1, a2, a3;
    fw::SplitKey12(S(c.text), a1, a2, a3);
    EXPECT_EQ(U(a1), c.a1);
    EXPECT_EQ(U(a2), c.a2);
    EXPECT_EQ(U(a3), c.a3);
  }
}

TEST_F(CalcStoreTest, HH12ValuesRoundTrip) {
  fw::RecHH12 = {};
  fw::RecHH12.N[1] = 999999;
  fw::RecHH12.N[2] = 0;
  ASSERT_TRUE(fw::WriteRecHH12(fw::CalcData, 9101));
  fw::RecHH12 = {};
  fw::ReadRecHH12(fw::CalcData, 9101);
  EXPECT_EQ(fw::RecHH12.N[1], 999999);
  EXPECT_EQ(fw::RecHH12.S[1], "F423F");
  EXPECT_EQ(fw::RecHH12.N[2], 0);
  EXPECT_EQ(fw::RecHH12.S[2], "    0");
}

TEST_F(CalcStoreTest, GetValuesAndResetKinds) {
  fw::CalcData.push_back(Line("№3100<VV8>", {{25, "     250     500    1000"}}));
  fw::CalcData.push_back(Line("№4100<WW8>", {{81, "      90"}}));
  EXPECT_EQ(fw::GetVV8Value(fw::CalcData, 3100, 3), 1000.0f);
  EXPECT_EQ(fw::GetWW8Value(fw::CalcData, 4100, 8), 90.0f);
  EXPECT_EQ(fw::GetVV8Value(fw::CalcData, 2100, 1), 0.0f);
  EXPECT_EQ(fw::GetVV8Value(fw::CalcData, 3100, 9), 0.0f);
  EXPECT_NE(U(fw::ErrorText).find("GetVV8Value"), std::string::npos);
  EXPECT_EQ(fw::GetWW8Value(fw::CalcData, 4100, 0), 0.0f);

  fw::RecHH24.N[1] = 5;
  fw::RecCHDA.S[1] = "A";
  fw::RecCHDC.S[2] = "B";
  fw::RecVV8.V[1] = 7;
  fw::RecADNM.Entry[4].S[1] = "C";
  fw::ResetRecordKind("XYZ");
  fw::ResetRecordKind("VV");
  EXPECT_EQ(fw::RecVV8.V[1], 7.0f);
  fw::ResetRecordKind("HR24");
  EXPECT_EQ(fw::RecHH24.N[1], 0);
  fw::ResetRecordKind("CH");
  EXPECT_EQ(fw::RecCHDA.S[1], "");
  EXPECT_EQ(fw::RecCHDC.S[2], "");
  fw::ResetRecordKind("VV8");
  EXPECT_EQ(fw::RecVV8.V[1], 0.0f);
  fw::ResetRecordKind("ADNM");
  EXPECT_EQ(fw::RecADNM.Entry[4].S[1], "");
}

TEST_F(CalcStoreTest, PadLinesTo88) {
  fw::StringList list = {"", "abc", std::string(100, 'x')};
  fw::PadLinesTo88(list);
  EXPECT_EQ(list[0], Blanks(88));
  EXPECT_EQ(list[1], "abc" + Blanks(85));
  EXPECT_EQ(list[2], std::string(100, 'x'));
}

// ---------------------------------------------------------------------------------------------
// Files

TEST_F(CalcStoreTest, HeaderAndNewData) {
  const fw::DateTime when{2024, 1, 2, 3, 4, 5};
  EXPECT_EQ(fw::MakeDataHeader("C:\\CAL\\HVS\\A.HVS", when),
            "---<<< HarvSim Ver.2.00 Input Data >>>--- 2024/01/02 03:04:05");
  EXPECT_EQ(fw::MakeDataHeader("A.HVS", when), "A.HVS");

  fw::DataState.Modified = 1;
  fw::NewInputData(temp.Path("CASE.HVS"), fw::CalcData);
  ASSERT_EQ(fw::CalcData.size(), 1u);
  EXPECT_EQ(fw::CalcData[0].size(), 88u);
  EXPECT_EQ(fw::CalcData[0].rfind("---<<< HarvSim Ver.2.00 Input Data >>>--- 20", 0), 0u);
  EXPECT_EQ(fw::CalcDataSaved, fw::CalcData);
  EXPECT_EQ(fw::DataState.Modified, 0);
  EXPECT_EQ(fw::CurrentFileName, "CASE");

  // A header longer than 88 bytes (a path without a drive) is cut without splitting a character.
  fw::NewInputData(std::string(87, 'a') + S("表"), fw::CalcData);
  EXPECT_EQ(fw::CalcData[0], std::string(87, 'a') + " ");
}

TEST_F(CalcStoreTest, LoadingAMissingFileKeepsTheStore) {
  fw::CalcData.push_back(Line("№1000<SS1>", {{25, "keep"}}));
  const fw::StringList before = fw::CalcData;
  fw::CurrentFileName = "OLD.HVS";
  EXPECT_FALSE(fw::LoadInputData(temp.Path("MISSING.HVS"), fw::CalcData));
  EXPECT_EQ(fw::CalcData, before);
  EXPECT_EQ(fw::CurrentFileName, "OLD.HVS");
  EXPECT_FALSE(fw::CalcDataLoaded);
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(U(ui.shown[0].text), "読込むファイル名が見つかりません。\r\r" + U(temp.Path("MISSING.HVS")));
  EXPECT_EQ(ui.shown[0].kind, platform::DialogKind::Warning);
}

TEST_F(CalcStoreTest, SaveSortsPadsAndLoadsBack) {
  fw::RecSS1.S[1] = S("表題");
  fw::RecVV8 = {};
  fw::RecVV8.V[1] = 3;
  ASSERT_TRUE(fw::WriteRecVV8(fw::CalcData, 5100, "1"));
  fw::CalcData.push_back(S("№4100<WW8>"));  // short: padded on saving
  ASSERT_TRUE(fw::WriteRecSS1(fw::CalcData, 1000));
  fw::RecNS4 = {};
  ASSERT_TRUE(fw::WriteRecNS4(fw::CalcData, 4100));
  fw::DataState.Modified = 1;

  const std::string path = temp.Path("CASE.HVS");
  ASSERT_TRUE(fw::SaveInputData(path, fw::CalcData));
  EXPECT_TRUE(ui.shown.empty());  // the folder exists: no question
  EXPECT_EQ(fw::DataState.Modified, 0);
  EXPECT_TRUE(fw::CalcDataLoaded);
  EXPECT_EQ(fw::CurrentFileName, "CASE.HVS");
  EXPECT_EQ(fw::CalcDataSaved, fw::CalcData);

  const std::string expected = Header() + "\r\n" + S("№1000<SS1> ") + Blanks(12) + S("表題") + Blanks(60) + "\r\n" +
                               S("№4100<NS4> ") + Blanks(12) + "  0" + Blanks(12) + "  0" + Blanks(12) + "  0" +
                               Blanks(12) + "  0" + Blanks(16) + "\r\n" + S("№4100<WW8>") + Blanks(77) + "\r\n" +
                               S("№5100<VV8> ") + Blanks(12) + "     3.0" + std::string(7, ' ') + "0" +
                               std::string(7, ' ') + "0" + std::string(7, ' ') + "0" + std::string(7, ' ') + "0" +
                               std::string(7, ' ') + "0" + std::string(7, ' ') + "0" + std::string(7, ' ') + "0\r\n";
  EXPECT_EQ(U(ReadBytes(path)), U(expected));

  fw::StringList loaded;
  ASSERT_TRUE(fw::LoadInputData(path, loaded));
  EXPECT_EQ(loaded, fw::CalcData);
}

TEST_F(CalcStoreTest, SaveChecksThePathAndTheFolder) {
  EXPECT_FALSE(fw::SaveInputData("CASE.HVS", fw::CalcData));
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(U(ui.shown[0].text), "保存するファイル名が正しくありません。\r\rCASE.HVS");

  // A missing folder: the user is asked; No ends the save.
  ui.shown.clear();
  const std::string path = temp.Path("新規/CASE.HVS");
  ui.answers = {ModalResult::No};
  fw::DataState.Modified = 1;
  EXPECT_FALSE(fw::SaveInputData(path, fw::CalcData));
  EXPECT_FALSE(platform::FileExists(path));
  EXPECT_EQ(fw::DataState.Modified, 1);
  ASSERT_EQ(ui.shown.size(), 2u);
  EXPECT_NE(U(ui.shown[0].text).find("を作成しますか？"), std::string::npos);
  EXPECT_EQ(U(ui.shown[1].text), "保存用のディレクトリが作成できませんでした。（保存中止）");

  ui.shown.clear();
  ui.answers = {ModalResult::Yes};
  EXPECT_TRUE(fw::SaveInputData(path, fw::CalcData));
  EXPECT_TRUE(platform::FileExists(path));
  EXPECT_EQ(ui.shown.size(), 1u);

  // Saving again into the existing folder asks nothing.
  ui.shown.clear();
  EXPECT_TRUE(fw::SaveInputData(path, fw::CalcData));
  EXPECT_TRUE(ui.shown.empty());
}

TEST_F(CalcStoreTest, FailedWriteIsReported) {
  // The target name is taken by a folder: the rename of the written temporary file fails.
  const std::string path = temp.Path("TAKEN.HVS");
  ASSERT_TRUE(platform::MakeFolder(path));
  fw::DataState.Modified = 1;
  fw::CalcDataSaved.clear();
  EXPECT_FALSE(fw::SaveInputData(path, fw::CalcData));
  EXPECT_EQ(fw::DataState.Modified, 1);
  EXPECT_TRUE(fw::CalcDataSaved.empty());
  ASSERT_EQ(ui.shown.size(), 1u);
  // The cause in Japanese, no system text.
  EXPECT_EQ(U(ui.shown[0].text), "ファイルを保存できませんでした。（保存中止）\r\r" + U(path) + "\r\r同じ名前のフォルダがあります");
  EXPECT_TRUE(platform::FolderExists(path));
  std::vector<platform::FolderEntry> left;
  ASSERT_TRUE(platform::ListFolder(temp.inside(), left));
  EXPECT_EQ(left.size(), 1u);  // no temporary file is left behind
}

TEST_F(CalcStoreTest, FileWithoutHeaderGetsOne) {
  const std::string path = temp.Path("NOHEAD.HVS");
  WriteBytes(path, Line("№1000<SS1>", {{25, "A"}}) + "\r\n");
  ASSERT_TRUE(fw::LoadInputData(path, fw::CalcData));
  ASSERT_EQ(fw::CalcData.size(), 2u);
  EXPECT_EQ(fw::CalcData[0].rfind("---<<< ", 0), 0u);
  fw::ReadRecSS1(fw::CalcData, 1000);
  EXPECT_EQ(fw::RecSS1.S[1], "A");

  WriteBytes(path, "");
  ASSERT_TRUE(fw::LoadInputData(path, fw::CalcData));
  ASSERT_EQ(fw::CalcData.size(), 1u);
  EXPECT_EQ(fw::CalcData[0].rfind("---<<< ", 0), 0u);
}

TEST_F(CalcStoreTest, OverlongAndShortRecordsLoadAndSaveWhole) {
  const std::string good1 = Line("№1000<SS1>", {{25, "表題"}});
  const std::string good2 = Line("№2100<VV8>", {{25, "     120     100    0.90"}});
  const std::string longRecord = Line("№3100<VV8>", {{25, "     250     500    1000"}}) + std::string(1912, '#');
  const std::string bytes = Header() + "\r\n" + good1 + "\r\n" + good2 + "\r\n" + longRecord + "\r\n" +
                            S("№5100<VV8>") + Blanks(13) + "   3.0\r\n";  // a short last record
  const std::string path = temp.Path("LONG.HVS");
  WriteBytes(path, bytes);
  ASSERT_TRUE(fw::LoadInputData(path, fw::CalcData));

  auto checkReadable = [] {
    fw::ReadRecSS1(fw::CalcData, 1000);
    EXPECT_EQ(U(fw::RecSS1.S[1]), "表題");
    EXPECT_FLOAT_EQ(fw::GetVV8Value(fw::CalcData, 2100, 3), 0.9f);
    EXPECT_FLOAT_EQ(fw::GetVV8Value(fw::CalcData, 3100, 3), 1000.0f);
    EXPECT_FLOAT_EQ(fw::GetVV8Value(fw::CalcData, 5100, 1), 3.0f);
  };
  checkReadable();
  // Every reader copes with every line.
  for (size_t k = 0; k < static_cast<size_t>(RecordKind::Count); ++k) {
    for (int label = 1; label < static_cast<int>(fw::CalcData.size()); ++label) {
      fw::ReadRecord(fw::CalcData, label, static_cast<RecordKind>(k));
    }
  }

  const std::string saved = temp.Path("SAVED.HVS");
  ASSERT_TRUE(fw::SaveInputData(saved, fw::CalcData));
  fw::CalcData.clear();
  ASSERT_TRUE(fw::LoadInputData(saved, fw::CalcData));
  checkReadable();
  const std::string out = ReadBytes(saved);
  EXPECT_NE(out.find(good1), std::string::npos);
  EXPECT_NE(out.find(good2), std::string::npos);
  EXPECT_NE(out.find(longRecord), std::string::npos);
}

// A file cut off inside its last record, holding a real value beyond the range of a float, or
// holding a line that is not a record of a calculation file, is refused with a message naming
// the file; the store stays as it was.
TEST_F(CalcStoreTest, FileCutInsideARecordOrWithValuesBeyondNumbersIsRefused) {
  const std::string rec2100 = Line("№2100<VV8>", {{25, "     120     100    0.90"}});
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;  // empty: loads
  };
  const Case cases[] = {
      {"last record cut without its line end", Header() + "\r\n" + rec2100.substr(0, 40),
       "ファイルが記録の途中で終わっています。（読込中止）"},
      {"header cut without its line end", Header().substr(0, 30), "ファイルが記録の途中で終わっています。（読込中止）"},
      {"a short last record with its line end", Header() + "\r\n" + rec2100.substr(0, 40) + "\r\n", ""},
      {"a whole last record without a line end", Header() + "\r\n" + rec2100, ""},
      {"a real cell of 1e300", Header() + "\r\n" + Line("№5100<VV8>", {{25, "     3.0   1e300"}}) + "\r\n",
       "値<1e300>（№5100<VV8>）が数値の範囲を超えています。（読込中止）"},
      {"a real cell of 1e39 in a record without a header", Line("№3100<NSV4>", {{57, "    1e39"}}) + "\r\n",
       "値<1e39>（№3100<NSV4>）が数値の範囲を超えています。（読込中止）"},
      {"3.4e38 still fits a float", Header() + "\r\n" + Line("№5100<VV8>", {{25, "  3.4e38"}}) + "\r\n", ""},
      {"1e300 in a text record", Header() + "\r\n" + Line("№1000<SS1>", {{25, "1e300"}}) + "\r\n", ""},
      {"a line of damaged bytes among the records",
       Header() + "\r\n" + rec2100 + "\r\n" + std::string("\x88\x01\xfe damaged") + "\r\n",
       "このファイルは計算ファイルの形式ではありません。（読込中止）"},
      {"a record of an unknown kind", Header() + "\r\n" + Line("№2100<QQ8>", {{25, "     120"}}) + "\r\n",
       "このファイルは計算ファイルの形式ではありません。（読込中止）"},
      {"a header without records that is not the program's", "some text\r\n",
       "このファイルは計算ファイルの形式ではありません。（読込中止）"},
      {"an empty file: an empty case", "", ""},
      {"blank lines among the records", Header() + "\r\n\r\n" + rec2100 + "\r\n   \r\n", ""},
  };
  const std::string path = temp.Path("CASE.HVS");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(path, c.bytes);
    fw::CalcData = {Header(), Line("№1000<SS1>", {{25, "keep"}})};
    const fw::StringList before = fw::CalcData;
    ui.shown.clear();
    const bool loaded = fw::LoadInputData(path, fw::CalcData);
    if (*c.message == 0) {
      EXPECT_TRUE(loaded);
      EXPECT_TRUE(ui.shown.empty());
      continue;
    }
    EXPECT_FALSE(loaded);
    EXPECT_EQ(fw::CalcData, before);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(U(ui.shown[0].text), std::string(c.message) + "\r\r" + U(path));
  }
}

// ---------------------------------------------------------------------------------------------
// The shipped calculation files

// The repository: from the test environment, else from where this file was compiled.
std::filesystem::path RepoDir() {
  const std::filesystem::path env = testsupport::SourceDir();
  if (std::filesystem::exists(env / "data" / "tree")) return env;
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

std::vector<std::filesystem::path> ShippedCases() {
  std::vector<std::filesystem::path> files;
  const std::filesystem::path tree = RepoDir() / "data" / "tree";
  if (!std::filesystem::exists(tree)) return files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(tree)) {
    std::string ext = e.path().extension().string();
    for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (e.is_regular_file() && ext == ".HVS") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Inside(const std::filesystem::path& native) { return platform::ToInsidePath(native.string()).value(); }

std::string SamplePath(const char* name) {
  return Inside(RepoDir() / "data" / "tree" / "CAL" / "HVS" / name);
}

// The mask a writer needs to reproduce the decimals just read.
std::string MaskFromDecimals(int count) {
  std::string mask;
  for (int i = 1; i <= count; ++i) mask += static_cast<char>('0' + fw::RecDecimals[static_cast<size_t>(i)]);
  return mask;
}

TEST_F(CalcStoreTest, EveryShippedCaseLoadsAndIsWhatTheWritersWrite) {
  const auto files = ShippedCases();
  ASSERT_GE(files.size(), 2u);
  const std::map<std::string, std::function<bool(fw::StringList&, int)>> rewrite = {
      {"<SS1>", [](fw::StringList& l, int n) { fw::ReadRecSS1(l, n); return fw::WriteRecSS1(l, n); }},
      {"<SS4>", [](fw::StringList& l, int n) { fw::ReadRecSS4(l, n); return fw::WriteRecSS4(l, n); }},
      {"<NN8>", [](fw::StringList& l, int n) { fw::ReadRecNN8(l, n); return fw::WriteRecNN8(l, n); }},
      {"<HH12>", [](fw::StringList& l, int n) { fw::ReadRecHH12(l, n); return fw::WriteRecHH12(l, n); }},
      {"<NS4>", [](fw::StringList& l, int n) { fw::ReadRecNS4(l, n); return fw::WriteRecNS4(l, n); }},
      {"<VV8>", [](fw::StringList& l, int n) { fw::ReadRecVV8(l, n); return fw::WriteRecVV8(l, n, MaskFromDecimals(8)); }},
      {"<WW8>", [](fw::StringList& l, int n) { fw::ReadRecWW8(l, n); return fw::WriteRecWW8(l, n, MaskFromDecimals(8)); }},
      {"<NSV4>", [](fw::StringList& l, int n) { fw::ReadRecNSV4(l, n); return fw::WriteRecNSV4(l, n, MaskFromDecimals(4)); }},
      {"<NSV6>", [](fw::StringList& l, int n) { fw::ReadRecNSV6(l, n); return fw::WriteRecNSV6(l, n, MaskFromDecimals(6)); }},
  };
  for (const auto& file : files) {
    SCOPED_TRACE(file.string());
    fw::CalcData.clear();
    ASSERT_TRUE(fw::LoadInputData(Inside(file), fw::CalcData));
    ASSERT_GE(fw::CalcData.size(), 2u);
    EXPECT_EQ(fw::CalcData[0].rfind("---<<< HarvSim Ver.2.00 Input Data >>>--- ", 0), 0u);
    EXPECT_TRUE(fw::LabelExists(fw::CalcData, S("№1000<SS1>")));
    for (size_t i = 1; i < fw::CalcData.size(); ++i) {
      const std::string line = fw::CalcData[i];
      SCOPED_TRACE(U(line));
      ASSERT_EQ(line.size(), 88u);
      ASSERT_EQ(line.substr(0, 2), S("№"));
      const int label = std::stoi(line.substr(2, 4));
      const std::string tag = line.substr(6, line.find('>', 6) - 5);
      ASSERT_TRUE(rewrite.count(tag)) << tag;
      fw::StringList copy = fw::CalcData;
      ASSERT_TRUE(rewrite.at(tag)(copy, label));
      EXPECT_EQ(copy, fw::CalcData);
    }
  }
}

TEST_F(CalcStoreTest, SamplesSaveLoadSaveByteIdentical) {
  for (const char* name : {"TEST_HVS.HVS", "SAMPLE_FACILITY.HVS"}) {
    SCOPED_TRACE(name);
    const std::string original = ReadBytes(SamplePath(name));
    ASSERT_FALSE(original.empty());
    ASSERT_TRUE(fw::LoadInputData(SamplePath(name), fw::CalcData));
    const std::string first = temp.Path(std::string("1_") + name);
    const std::string second = temp.Path(std::string("2_") + name);
    ASSERT_TRUE(fw::SaveInputData(first, fw::CalcData));
    fw::CalcData.clear();
    ASSERT_TRUE(fw::LoadInputData(first, fw::CalcData));
    ASSERT_TRUE(fw::SaveInputData(second, fw::CalcData));
    EXPECT_EQ(ReadBytes(first), original);
    EXPECT_EQ(ReadBytes(second), original);
  }
}

// The house sample is a complete case at the default station.
TEST_F(CalcStoreTest, HouseSampleContents) {
  ASSERT_TRUE(fw::LoadInputData(SamplePath("TEST_HVS.HVS"), fw::CalcData));
  EXPECT_EQ(fw::CurrentFileName, "TEST_HVS.HVS");
  for (const char* key : {"№1000<SS1>", "№1100<SS4>", "№1100<NN8>", "№2100<VV8>", "№3100<VV8>", "№4100<NS4>",
                          "№4100<SS4>", "№4100<VV8>", "№4100<WW8>", "№5100<VV8>", "№9101<HH12>", "№9102<HH12>",
                          "№9103<HH12>"}) {
    EXPECT_TRUE(fw::LabelExists(fw::CalcData, S(key))) << key;
  }
  EXPECT_FALSE(fw::LabelExists(fw::CalcData, S("№42")));
  fw::ReadRecSS4(fw::CalcData, 1100);
  EXPECT_EQ(U(fw::RecSS4.S[1]), "静岡県");
  EXPECT_EQ(U(fw::RecSS4.S[3]), "浜松");
  fw::ReadRecNS4(fw::CalcData, 4100);
  EXPECT_EQ(fw::RecNS4.N[1], 1);
  // Daily toilet use = (large uses x litres + small uses x litres) x persons x households.
  const float toilet = (fw::GetVV8Value(fw::CalcData, 4100, 3) * fw::GetVV8Value(fw::CalcData, 4100, 4) +
                        fw::GetVV8Value(fw::CalcData, 4100, 5) * fw::GetVV8Value(fw::CalcData, 4100, 6)) *
                       fw::GetVV8Value(fw::CalcData, 4100, 1) * fw::GetVV8Value(fw::CalcData, 4100, 2);
  EXPECT_FLOAT_EQ(fw::GetVV8Value(fw::CalcData, 4100, 8), toilet);
  for (int n = 1; n <= 8; ++n) {
    const float factors[] = {0.25f, 0.5f, 1, 1.5f, 2, 3, 4, 5};
    EXPECT_FLOAT_EQ(fw::GetVV8Value(fw::CalcData, 3100, n), fw::GetVV8Value(fw::CalcData, 3100, 3) * factors[n - 1]);
  }
  EXPECT_FLOAT_EQ(fw::GetWW8Value(fw::CalcData, 4100, 8), fw::GetWW8Value(fw::CalcData, 4100, 1) +
                                                              fw::GetWW8Value(fw::CalcData, 4100, 2) +
                                                              fw::GetWW8Value(fw::CalcData, 4100, 3));
}

TEST_F(CalcStoreTest, FacilitySampleHasToiletDetail) {
  ASSERT_TRUE(fw::LoadInputData(SamplePath("SAMPLE_FACILITY.HVS"), fw::CalcData));
  fw::ReadRecNS4(fw::CalcData, 4100);
  EXPECT_EQ(fw::RecNS4.N[1], 3);
  EXPECT_TRUE(fw::LabelExists(fw::CalcData, S("№4200<NSV6>")));
  float large = 0, small = 0;
  int rows = 0;
  for (int label = 4201; label <= 4208; ++label) {
    fw::ReadRecNSV4(fw::CalcData, label);
    if (!fw::LineFound) continue;
    ++rows;
    EXPECT_FLOAT_EQ(fw::RecNSV4.V[4], fw::RecNSV4.V[1] * fw::RecNSV4.V[2] * fw::RecNSV4.V[3]);
    (fw::RecNSV4.AttrNo[1] == 1 ? large : small) += fw::RecNSV4.V[4];
  }
  EXPECT_GE(rows, 2);
  EXPECT_FLOAT_EQ(fw::GetVV8Value(fw::CalcData, 4200, 4), large);
  EXPECT_FLOAT_EQ(fw::GetVV8Value(fw::CalcData, 4200, 8), small);
  EXPECT_EQ(fw::RecVV8.AttrNo[3], rows);
}

// The location block names rows of the installed station tables (built from the weather
// observations; skipped where they were not built).
TEST_F(CalcStoreTest, SampleLocationMatchesTheStationTables) {
  // The installed tree beside the test executable.
  const std::string wcd = platform::ExecutableFolder() + "WCD\\";
  if (!platform::FileExists(wcd + "JPN_WPNT.DAT")) GTEST_SKIP() << "station tables not built";
  for (const char* name : {"TEST_HVS.HVS", "SAMPLE_FACILITY.HVS"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(fw::LoadInputData(SamplePath(name), fw::CalcData));
    fw::ReadRecNN8(fw::CalcData, 1100);
    const int64_t pref = fw::RecNN8.N[1], city = fw::RecNN8.N[2], station = fw::RecNN8.N[3];
    fw::ReadRecSS4(fw::CalcData, 1100);
    const fw::TRecordKindBuffer place = fw::RecSS4;
    EXPECT_EQ(place.AttrNo[1], pref);
    EXPECT_EQ(place.AttrNo[2], city);

    ASSERT_TRUE(fw::DataLoad(wcd + "JPN_STAT.DAT"));
    const auto& area = fw::TableBuffer.TableCells[static_cast<size_t>(pref)];
    EXPECT_EQ(U(area[1]), U(place.S[1]));
    EXPECT_EQ(area[2], "SZ");
    const int firstCity = std::stoi(area[3]);
    const int firstStation = std::stoi(area[5]);
    EXPECT_EQ(place.AttrNo[3], station - firstStation + 1);

    ASSERT_TRUE(fw::DataLoad(wcd + "JPN_WPNT.DAT"));
    const auto& row = fw::TableBuffer.TableCells[static_cast<size_t>(station)];
    EXPECT_EQ(row[1], "HAMAMATSU");
    EXPECT_EQ(row[10], "50456");
    EXPECT_EQ(U(row[11]), U(place.S[3]));

    fw::StringList cities;
    ASSERT_TRUE(platform::ReadTextLines(wcd + "JPN_CITY.DAT", cities));
    const std::string& cityLine = cities.at(static_cast<size_t>(firstCity + city - 2));
    EXPECT_EQ(U(fw::TrimBoth(cityLine.substr(0, 20))), U(place.S[2]));
    EXPECT_EQ(std::stoi(cityLine.substr(76, 8)), station);
  }
}

}  // namespace
