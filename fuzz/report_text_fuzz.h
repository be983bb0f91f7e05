// What the stored-description fuzz target runs on one input, shared with the ordinary tests
// that replay the seeds and every input that once failed (tests/report/fuzz_replay_test.cpp).
// Needs a QApplication. Returns what went wrong, or nullptr; a crash or a sanitizer report is
// a finding too.
#pragma once

#include <QWidget>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "report/report_text.h"

namespace rptfuzz {

// `data` as a stored report description: it fails with an error, or it builds a report whose
// description, written, reads again and writes back the same.
inline const char* ReportText(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  rpt::ReportTextError error;
  QWidget form;
  QObject* report = rpt::ReadReport(text, "fuzz", &form, error);
  if (!report) return nullptr;
  const std::string first = rpt::WriteReport(*report);
  QWidget form2;
  QObject* again = rpt::ReadReport(first, "again", &form2, error);
  if (!again) return "a written description does not read";
  const std::string second = rpt::WriteReport(*again);
  QWidget form3;
  QObject* third = rpt::ReadReport(second, "third", &form3, error);
  if (!third) return "a written description does not read";
  if (rpt::WriteReport(*third) != second) return "a description does not read back the same";
  return nullptr;
}

}  // namespace rptfuzz
