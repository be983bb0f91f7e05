#include "report/dataset.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/cp932.h"
#include "platform/text_format.h"
#include "support/test_support.h"

using namespace rpt;
using platform::J;

namespace {

// Every record of the open data set as "cell|cell|..." lines, cells by AsString ("<null>").
std::string Dump(TRptDataSet& ds) {
  std::string out;
  for (ds.First(); !ds.Eof(); ds.Next()) {
    for (int k = 0; k < ds.FieldCount(); ++k) {
      const TRptField* f = ds.Field(k);
      out += (k ? "|" : "") + (f->IsNull() ? std::string("<null>") : f->AsString());
    }
    out += "\n";
  }
  return out;
}

}  // namespace

TEST(DataSet, CsvTextWithTypesQuotesAndNulls) {
  TTable t("T");
  const std::string csv = J(
      "NAME,Qty:integer,PRICE:Float,PAID:Boolean,DAY:Date,AT:Time,STAMP:DateTime,NOTE:Memo\r\n"
      "\"Doe, Ann\",3,2.5,True,2024/03/05,7:05,2024/03/05 14:07:09,\"say \"\"hi\"\"\"\r\n"
      "\r\n"
      "表示,,1e3, false ,,,,\"two\nlines\"\n"
      "\"\",-5,+0.25,TRUE,24/1/2,23:59:59,2024/01/02,x");
  std::string error;
  ASSERT_TRUE(t.LoadFromCsvText(csv, &error)) << error;
  ASSERT_EQ(t.FieldDefs().size(), 8u);
  EXPECT_EQ(t.FieldDefs()[1].name, "Qty");
  EXPECT_EQ(t.FieldDefs()[1].type, TRptFieldType::ftInteger);
  EXPECT_EQ(t.FieldDefs()[7].type, TRptFieldType::ftMemo);
  t.Open();
  EXPECT_EQ(t.RecordCount(), 3);
  EXPECT_EQ(Dump(t), J("Doe, Ann|3|2.5|True|2024/03/05|7:05:00|2024/03/05 14:07:09|say \"hi\"\n"
                       "表示|<null>|1000|False|<null>|<null>|<null>|two\nlines\n"
                       "|-5|0.25|True|2024/01/02|23:59:59|2024/01/02|x\n"));
  // A quoted empty text is an empty string, not null.
  t.First();
  t.Next();
  t.Next();
  EXPECT_FALSE(t.FindField("name")->IsNull());
  EXPECT_EQ(t.FindField("QTY")->AsInteger(), -5);
  EXPECT_EQ(t.FindField("price")->AsFloat(), 0.25);
  EXPECT_EQ(t.FindField("nope"), nullptr);
  EXPECT_EQ(t.Field(8), nullptr);
  EXPECT_EQ(t.Field(-1), nullptr);
}

TEST(DataSet, RefusedCsvTextsKeepTheTable) {
  TTable t("T");
  ASSERT_TRUE(t.LoadFromCsvText("A:Integer\n1\n2\n"));
  struct Bad {
    const char* csv;
    const char* message;
  } bad[] = {
      {"", "the text holds no field names"},
      {"\n\n", "the text holds no field names"},
      {"A,\"B\n", "line 1: a quoted cell is not closed"},
      {"A\n\"x\"y\n", "line 2: text after a closing quote"},
      {"A,B\n1\n", "line 2: 1 cells for 2 fields"},
      {"A,B\n1,2,3\n", "line 2: 3 cells for 2 fields"},
      {"A:Integer\n1\nx\n", "line 3, field A: \"x\" is not a Integer value"},
      {"A:Integer\n2147483648\n", "line 2, field A: \"2147483648\" is not a Integer value"},
      {"A:SmallInt\n32768\n", "line 2, field A: \"32768\" is not a SmallInt value"},
      {"A:Word\n-1\n", "line 2, field A: \"-1\" is not a Word value"},
      {"A:Float\n1e999\n", "line 2, field A: \"1e999\" is not a Float value"},
      {"A:Float\nnan\n", "line 2, field A: \"nan\" is not a Float value"},
      {"A:Boolean\nyes\n", "line 2, field A: \"yes\" is not a Boolean value"},
      {"A:Date\n2024/02/30\n", "line 2, field A: \"2024/02/30\" is not a Date value"},
      {"A:Colour\n", "line 1: unknown field type \"Colour\""},
      {"A,a\n", "line 1: the field name \"a\" is used twice"},
      {"A,:Integer\n", "line 1: a field has no name"},
      {"A\n\"multi\nline\",\n", "line 2: 2 cells for 1 fields"},
  };
  for (const Bad& b : bad) {
    std::string error;
    EXPECT_FALSE(t.LoadFromCsvText(b.csv, &error)) << b.csv;
    EXPECT_EQ(error, b.message) << b.csv;
  }
  t.Open();
  EXPECT_EQ(Dump(t), "1\n2\n");
}

// A header of 150,000 fields is checked for repeated names by one look-up per name.
TEST(DataSet, AWideHeaderIsCheckedInOnePass) {
  constexpr int kFields = 150000;
  std::string header, row;
  for (int k = 0; k < kFields; ++k) {
    header += (k ? ",F" : "F") + std::to_string(k);
    row += (k ? "," : "") + std::to_string(k % 10);
  }
  TTable t("T");
  std::string error;
  ASSERT_TRUE(t.LoadFromCsvText(header + "\r\n" + row + "\r\n", &error)) << error;
  t.Open();
  ASSERT_EQ(t.FieldCount(), kFields);
  EXPECT_EQ(t.Field(kFields - 1)->AsString(), "9");
  t.Close();
  EXPECT_FALSE(t.LoadFromCsvText(header + ",f149998\r\n", &error));
  EXPECT_EQ(error, "line 1: the field name \"f149998\" is used twice");
}

TEST(DataSet, CsvFileErrorsNameTheFile) {
  testsupport::TempFolder folder;
  std::ofstream(folder.native() + "good.csv") << "A:Integer\r\n7\r\n";
  std::ofstream(folder.native() + "bad.csv") << "A:Integer\r\nx\r\n";
  TTable t("T");
  std::string error;
  ASSERT_TRUE(t.LoadFromCsvFile(folder.inside() + "GOOD.CSV", &error)) << error;
  EXPECT_FALSE(t.LoadFromCsvFile(folder.inside() + "bad.csv", &error));
  EXPECT_EQ(error, folder.inside() + "bad.csv: line 2, field A: \"x\" is not a Integer value");
  EXPECT_FALSE(t.LoadFromCsvFile(folder.inside() + "missing.csv", &error));
  EXPECT_EQ(error, folder.inside() + "missing.csv: the file cannot be read");
  t.Open();
  EXPECT_EQ(Dump(t), "7\n");
}

TEST(DataSet, NavigationFieldsAndRowsInCode) {
  TTable t("T");
  t.AddFieldDef("N", TRptFieldType::ftInteger);
  t.AddFieldDef("S", TRptFieldType::ftString);
  t.AddFieldDef("D", TRptFieldType::ftDate);
  EXPECT_TRUE(t.Eof());  // closed
  EXPECT_EQ(t.FieldCount(), 0);
  t.AppendRow({int64_t{1}, std::string("a"), int64_t{45356}});  // an integer day count is a date
  t.AppendRow({TRptValue{}, std::string("b"), 45357.5});
  EXPECT_THROW(t.AppendRow({std::string("x"), std::string("c"), 0.0}), std::invalid_argument);
  EXPECT_THROW(t.AppendRow({int64_t{1}, std::string("c")}), std::invalid_argument);
  EXPECT_THROW(t.AppendRow({int64_t{1} << 40, std::string("c"), 0.0}), std::invalid_argument);
  t.Open();
  EXPECT_EQ(t.RowCount(), 2);
  EXPECT_EQ(Dump(t), "1|a|2024/03/05\n<null>|b|2024/03/06\n");
  EXPECT_THROW(t.AppendRow({int64_t{3}, std::string("c"), 0.0}), std::logic_error);
  EXPECT_THROW(t.AddFieldDef("X", TRptFieldType::ftString), std::logic_error);
  t.Next();
  t.Next();
  t.Next();
  EXPECT_TRUE(t.Eof());
  EXPECT_TRUE(t.Field(0)->IsNull());
  t.Close();
  EXPECT_EQ(t.FieldCount(), 0);
  t.ClearRows();
  t.Open();
  EXPECT_TRUE(t.Eof());
  EXPECT_EQ(t.RecordCount(), 0);
}

TEST(DataSet, QueryReFiltersWithItsParametersWhenReopened) {
  TQuery q("Q");
  ASSERT_TRUE(q.LoadFromCsvText("CITY,N:Integer,OK:Boolean\nTokyo,1,True\nOsaka,2,False\nTokyo,3,True\nNara,,True\n"));
  TRptParam& city = q.AddParam("city", TRptFieldType::ftString);
  EXPECT_EQ(&q.AddParam("CITY", TRptFieldType::ftInteger), &city);  // one parameter per name
  EXPECT_EQ(q.ParamCount(), 1);
  EXPECT_EQ(q.FindParam("CITY"), &city);
  EXPECT_EQ(q.Param(1), nullptr);
  q.Open();
  EXPECT_EQ(q.RecordCount(), 4);  // a null parameter does not filter
  city.value = std::string("Tokyo");
  EXPECT_EQ(q.RecordCount(), 4);  // still open: not re-filtered
  q.Close();
  q.Open();
  EXPECT_EQ(Dump(q), "Tokyo|1|True\nTokyo|3|True\n");
  TRptParam& n = q.AddParam("N", TRptFieldType::ftInteger);
  n.value = std::string("3");  // a text parameter read as the field's type
  q.Close();
  q.Open();
  EXPECT_EQ(Dump(q), "Tokyo|3|True\n");
  n.value = std::string(" ");  // a text that reads as no number matches no row
  q.Close();
  q.Open();
  EXPECT_EQ(q.RecordCount(), 0);
  n.value = 2.0;
  city.Clear();
  q.AddParam("OK", TRptFieldType::ftBoolean).value = false;
  q.Close();
  q.Open();
  EXPECT_EQ(Dump(q), "Osaka|2|False\n");
  q.AddParam("NOFIELD", TRptFieldType::ftString).value = std::string("x");  // names no field
  n.value = int64_t{9};
  q.Close();
  q.Open();
  EXPECT_EQ(q.RecordCount(), 0);
  EXPECT_TRUE(q.Eof());
  TTable t("T");
  EXPECT_EQ(t.FindParam("CITY"), nullptr);
}
