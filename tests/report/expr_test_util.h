// Shared fixture pieces of the expression tests: a started expression module and a small table.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/cp932.h"
#include "platform/text_format.h"
#include "report/dataset.h"
#include "report/expr_env.h"
#include "report/expr_eval.h"

namespace exprtest {

// A value as comparable text: the kind's name, ":" and the value as ResultToText writes it (the
// message for an error).
inline std::string Show(const rpt::TRptEvResult& r) {
  static constexpr const char* kKinds[] = {"INTEGER", "FLOAT", "STRING", "BOOLEAN", "ERROR"};
  const std::string value = r.kind == rpt::TRptEvKind::Error ? std::string(r.Text()) : rpt::ResultToText(r);
  return std::string(kKinds[static_cast<int>(r.kind)]) + ":" + value;
}

// CUST: NAME, QTY, PRICE, PAID, DAY (date), AT (time), BIG (large integer); three rows.
inline void FillCustomers(rpt::TTable& table) {
  using rpt::TRptFieldType;
  table.SetName("CUST");
  table.AddFieldDef("NAME", TRptFieldType::ftString);
  table.AddFieldDef("QTY", TRptFieldType::ftInteger);
  table.AddFieldDef("PRICE", TRptFieldType::ftFloat);
  table.AddFieldDef("PAID", TRptFieldType::ftBoolean);
  table.AddFieldDef("DAY", TRptFieldType::ftDate);
  table.AddFieldDef("AT", TRptFieldType::ftTime);
  table.AddFieldDef("BIG", TRptFieldType::ftLargeint);
  const double day = platform::EncodeDate(2024, 3, 5).value();
  table.AppendRow({std::string("Ann"), int64_t{1}, 2.5, true, day, 0.5, int64_t{1}});
  table.AppendRow({std::string("Bob"), int64_t{2}, 4.0, false, day + 1, 0.25, int64_t{2}});
  table.AppendRow({std::string("Cy"), int64_t{3}, 1.25, true, day + 2, 0.75, int64_t{3}});
}

class ExprTest : public ::testing::Test {
 protected:
  ExprTest() : module_("TestApp") {
    FillCustomers(table);
    table.Open();
    dataSets.push_back(&table);
  }

  // Compiles and runs once with the table as data set and `environment` (may be null).
  rpt::TRptEvResult Eval(const std::string& text, rpt::TRptEvEnvironment* environment = nullptr) {
    rpt::TRptEvaluator ev;
    ev.SetDataSets(&dataSets);
    ev.SetEnvironment(environment);
    return ev.EvaluateOnce(text);
  }

  rpt::ExprModuleScope module_;
  rpt::TTable table;
  rpt::TRptDataSetList dataSets;
};

}  // namespace exprtest
