// What the fuzz targets of the report's data sets and expressions run on one input, shared with
// the ordinary tests that replay the seeds and every input that once failed
// (tests/report/fuzz_replay_test.cpp). Each returns what went wrong, or nullptr; a crash,
// a sanitizer report or an exception (other than the evaluator's EExprError) is a finding too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/mbcs.h"
#include "platform/text_format.h"
#include "report/dataset.h"
#include "report/expr_env.h"
#include "report/expr_eval.h"
#include "report/expr_format.h"

namespace rptfuzz {

// `data` as a CSV text for a query. A text that loads must give as many records as its count
// says, every field readable in every form; filtered by the first field's value in the first
// record, the query must keep that record and no more records than it had.
inline const char* TableCsv(const uint8_t* data, size_t size) {
  rpt::TQuery query("Q");
  std::string error;
  if (!query.LoadFromCsvText(std::string_view(reinterpret_cast<const char*>(data), size), &error)) return nullptr;
  query.Open();
  int records = 0;
  rpt::TRptValue first;
  for (query.First(); !query.Eof(); query.Next(), ++records) {
    for (int k = 0; k < query.FieldCount(); ++k) {
      const rpt::TRptField* f = query.Field(k);
      (void)f->AsString();
      (void)f->AsInteger();
      (void)f->AsFloat();
      (void)f->AsBoolean();
    }
    if (records == 0 && query.FieldCount() > 0) first = query.Field(0)->Value();
  }
  if (query.RecordCount() != records) return "the record count differs from the records read";
  if (records == 0 || query.FieldCount() == 0) return nullptr;
  query.AddParam(query.Field(0)->FieldName(), query.Field(0)->DataType()).value = first;
  query.Close();
  query.Open();
  const int kept = query.RecordCount().value_or(-1);
  if (kept < 1) return "filtering by a value of the first record lost that record";
  if (kept > records) return "filtering added records";
  return nullptr;
}

// `data` as an expression, compiled and evaluated plainly and in aggregate passes against a
// small table and an environment whose entries refer to each other; also used as a float-format
// mask, a money format and a date-time format. Texts must stay within 255 bytes and never end
// in half a double-byte character.
inline const char* ReportExpression(const uint8_t* data, size_t size) {
  struct World {
    rpt::ExprModuleScope module{"Fuzz"};
    rpt::TTable table{"T"};
    rpt::TRptDataSetList dataSets;
    rpt::TRptEvEnvironment env;
    World() {
      table.AddFieldDef("N", rpt::TRptFieldType::ftInteger);
      table.AddFieldDef("S", rpt::TRptFieldType::ftString);
      table.AddFieldDef("F", rpt::TRptFieldType::ftFloat);
      table.AppendRow({int64_t{2147483647}, std::string("abc"), 2.5});
      table.AppendRow({int64_t{-5}, std::string(300, 'x'), -1e300});
      table.Open();
      dataSets.push_back(&table);
      env.SetDataSets(&dataSets);
      env.AddEntry("PAGENUMBER", "0");
      env.AddEntry("A", "B + 1");
      env.AddEntry("B", "IF(PAGENUMBER > 0, A, SUM(N))");
    }
  };
  World world;  // per input, so that replaying leaves no module started behind
  const std::string text(reinterpret_cast<const char*>(data), size);
  auto wellFormed = [](const rpt::TRptEvResult& r) {
    return platform::WholeCharPrefix(r.Text(), rpt::TRptEvResult::kMaxText) == r.length;
  };
  const char* problem = nullptr;
  world.env.BeginUse();
  {
    rpt::TRptEvaluator ev;
    ev.SetDataSets(&world.dataSets);
    ev.SetEnvironment(&world.env);
    try {
      ev.Compile(text);
      for (world.table.First(); !world.table.Eof(); world.table.Next()) ev.AggregatePass();
      const rpt::TRptEvResult r = ev.Run();
      if (!wellFormed(r)) problem = "a result text ends in half a character";
      if (r.kind != rpt::TRptEvKind::Error) (void)rpt::ResultToText(r);
      rpt::TRptEvEnvironment::StoreInteger(world.env.ConstantElement("PAGENUMBER"), 1);
      if (!wellFormed(ev.Run())) problem = "a result text ends in half a character";
      rpt::TRptEvEnvironment::StoreInteger(world.env.ConstantElement("PAGENUMBER"), 0);
      ev.ResetAggregates();
    } catch (const rpt::EExprError&) {
    }
  }
  world.env.EndUse();
  if (rpt::GlobalEnvironment()->UseCount() != 0) return "the global environment stays in use";
  for (double v : {0.0, -1234.5678, 1e300, 5e-324}) {
    (void)platform::FormatFloatMask(text, v);
    (void)rpt::FormatWithValue(text, v);
  }
  (void)platform::FormatDateTime(text, 45356.5);
  return problem;
}

}  // namespace rptfuzz
