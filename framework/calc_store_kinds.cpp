// The value-part layout of every kind of the condition store. Columns are 1-based byte columns
// of the whole 88-column line (the value part is columns 25-88).
#include "framework/calc_store_kinds.h"

#include <cstdlib>

namespace fw::calc_store_detail {
namespace {

using F = FieldType;

// Shorthands: one cell, or `count` cells `stride` apart (the stride defaults to the width).
FieldRun One(F type, int col, int width) { return {type, col, width, 1, width}; }
FieldRun Many(F type, int col, int width, int count, int stride = 0) {
  return {type, col, width, count, stride == 0 ? width : stride};
}

KindLayout Single(RecordKind kind, const char* name, std::vector<FieldRun> runs) {
  return {kind, name, std::string("<") + name, 1, std::move(runs)};
}
KindLayout Multi(RecordKind kind, const char* name, const char* tagBase, int entries, std::vector<FieldRun> runs) {
  return {kind, name, tagBase, entries, std::move(runs)};
}

std::vector<KindLayout> BuildLayouts() {
  using K = RecordKind;
  const auto text64 = std::vector<FieldRun>{One(F::Text, 25, 64)};
  const auto text60 = std::vector<FieldRun>{One(F::Text, 25, 60)};
  const auto text2 = std::vector<FieldRun>{Many(F::Text, 25, 30, 2)};
  const auto text3 = std::vector<FieldRun>{Many(F::Text, 25, 20, 3)};
  const auto text4 = std::vector<FieldRun>{Many(F::Text, 25, 16, 4)};
  const auto int8 = std::vector<FieldRun>{Many(F::Int, 25, 8, 8)};
  const auto int10 = std::vector<FieldRun>{Many(F::Int, 25, 6, 10)};
  const auto int12 = std::vector<FieldRun>{Many(F::Int, 25, 5, 12)};
  const auto int16 = std::vector<FieldRun>{Many(F::Int, 25, 4, 16)};
  const auto int20 = std::vector<FieldRun>{Many(F::Int, 25, 3, 20)};
  const auto real8 = std::vector<FieldRun>{Many(F::Real, 25, 8, 8)};
  const auto real10 = std::vector<FieldRun>{Many(F::Real, 25, 6, 10)};
  const FieldRun no3 = One(F::Int, 25, 3);  // the leading "%3d" of the NS... kinds

  std::vector<KindLayout> t = {
      Single(K::AA0, "AA0", text64),
      Single(K::SS0, "SS0", text64),
      Single(K::AA1, "AA1", text60),
      Single(K::SS1, "SS1", text60),
      Single(K::AA2, "AA2", text2),
      Single(K::SS2, "SS2", text2),
      Single(K::AA3, "AA3", text3),
      Single(K::SS3, "SS3", text3),
      Single(K::AA4, "AA4", text4),
      Single(K::SS4, "SS4", text4),
      Single(K::SS8, "SS8", {Many(F::Text, 25, 8, 8)}),
      Single(K::SS16, "SS16", {Many(F::Text, 25, 4, 16)}),
      Single(K::SS20, "SS20", {Many(F::Text, 25, 3, 20)}),
      Single(K::SS24, "SS24", {Many(F::Text, 25, 2, 24), One(F::Text, 73, 16)}),
      Single(K::SS64, "SS64", {Many(F::Kept, 25, 1, 64)}),
      Single(K::NN8, "NN8", int8),
      Single(K::MM8, "MM8", int8),
      Single(K::NN10, "NN10", int10),
      Single(K::MM10, "MM10", int10),
      Single(K::NN12, "NN12", int12),
      Single(K::MM12, "MM12", int12),
      Single(K::PX12, "PX12", int12),
      Single(K::PY12, "PY12", int12),
      Single(K::NN13, "NN13", {Many(F::Int, 25, 4, 13), One(F::Text, 77, 12)}),
      Single(K::NN16, "NN16", int16),
      Single(K::MM16, "MM16", int16),
      Single(K::NN20, "NN20", int20),
      Single(K::MM20, "MM20", int20),
      Single(K::NN24, "NN24", {Many(F::Int, 25, 2, 24), One(F::Text, 73, 16)}),
      Single(K::NN32, "NN32", {Many(F::Int, 25, 2, 32)}),
      Single(K::HH12, "HH12", {Many(F::Hex, 25, 5, 12)}),
      Single(K::HH24, "HH24", {Many(F::HexByte, 25, 2, 24), One(F::Text, 73, 16)}),
      Single(K::HH32, "HH32", {Many(F::HexByte, 25, 2, 32)}),
      Single(K::VV6, "VV6", {Many(F::Real, 25, 10, 6)}),
      Single(K::VV8, "VV8", real8),
      Single(K::WW8, "WW8", real8),
      Single(K::VV9, "VV9", {Many(F::Real, 25, 7, 9)}),
      Single(K::VV10, "VV10", real10),
      Single(K::WW10, "WW10", real10),
      Single(K::VV12, "VV12", {Many(F::Real, 25, 5, 12)}),
      Single(K::NV4, "NV4", {Many(F::Int, 25, 6, 4), Many(F::Real, 49, 10, 4)}),
      Single(K::NV8, "NV8", {Many(F::Int, 25, 3, 8), Many(F::Real, 49, 5, 8)}),
      Single(K::NS8, "NS8", {Many(F::Int, 25, 3, 8, 7), Many(F::Text, 28, 4, 8, 7)}),
      Single(K::NS6, "NS6", {Many(F::Int, 25, 3, 6, 9), Many(F::Text, 28, 6, 6, 9)}),
      Single(K::NS4, "NS4", {Many(F::Int, 25, 3, 4, 15), Many(F::Text, 28, 12, 4, 15)}),
      Single(K::NS3, "NS3", {Many(F::Int, 25, 3, 3, 21), Many(F::Text, 28, 18, 3, 21)}),
      Single(K::NS2, "NS2", {Many(F::Int, 25, 3, 2, 32), Many(F::Text, 28, 29, 2, 32)}),
      Single(K::NS1, "NS1", {no3, One(F::Text, 28, 60)}),
      Single(K::NSS1, "NSS1", {no3, One(F::Text, 28, 29), One(F::Text, 57, 30)}),
      Single(K::NSN4, "NSN4", {no3, One(F::Text, 28, 29), Many(F::Int, 57, 8, 4)}),
      Single(K::NSN8, "NSN8", {no3, One(F::Text, 28, 29), Many(F::Int, 57, 4, 8)}),
      Single(K::NSV3, "NSV3", {no3, One(F::Text, 28, 30), Many(F::Real, 58, 8, 3)}),
      Single(K::NSV4, "NSV4", {no3, One(F::Text, 28, 29), Many(F::Real, 57, 8, 4)}),
      Single(K::NSV5, "NSV5", {no3, One(F::Text, 28, 20), Many(F::Real, 48, 8, 5)}),
      Single(K::NSV6, "NSV6", {no3, One(F::Text, 28, 12), Many(F::Real, 40, 8, 6)}),
      Single(K::N8S4, "N8S4", {Many(F::Int, 25, 4, 8), Many(F::Text, 57, 8, 4)}),
      Single(K::N4S2, "N4S2", {Many(F::Int, 25, 8, 4), Many(F::Text, 57, 16, 2)}),
      Single(K::N4S4, "N4S4", {Many(F::Int, 25, 8, 4), Many(F::Text, 57, 8, 4)}),
      Single(K::V4S2, "V4S2", {Many(F::Real, 25, 8, 4), Many(F::Text, 57, 16, 2)}),
      Single(K::V4S4, "V4S4", {Many(F::Real, 25, 8, 4), Many(F::Text, 57, 8, 4)}),
      // Item i: x in N[i], y in N[4 + i], the real in V[i].
      Single(K::XYV4, "XYV4",
             {Many(F::Int, 25, 4, 4, 16), Many(F::Int, 29, 4, 4, 16), Many(F::Real, 33, 8, 4, 16)}),
      Single(K::CADA, "CADA", {no3, One(F::Text, 28, 20), Many(F::Int, 48, 3, 13)}),
      Single(K::CADB, "CADB",
             {Many(F::Int, 25, 3, 2, 23), Many(F::Text, 28, 20, 2, 23), Many(F::Real, 71, 8, 2)}),
      Single(K::CHDA, "CHDA",
             {One(F::Text, 25, 20), One(F::Text, 45, 12), Many(F::Text, 57, 9, 2), One(F::Text, 75, 7),
              One(F::Text, 82, 7)}),
      Single(K::CHDB, "CHDB",
             {Many(F::Text, 25, 6, 5, 7), Many(F::Kept, 60, 1, 8), One(F::Byte, 68, 4), One(F::Text, 72, 7),
              One(F::Byte, 79, 3), One(F::Text, 82, 3), One(F::Text, 85, 3)}),
      Single(K::CHDC, "CHDC", {One(F::Text, 25, 40), Many(F::Text, 45, 4, 6)}),
      Single(K::DT8, "DT8", {One(F::Text, 25, 12), Many(F::Int, 38, 6, 8)}),
      Single(K::ZAI3, "ZAI3", {Many(F::Text, 25, 14, 3, 21), Many(F::IntReal, 39, 7, 3, 21)}),
      Single(K::YMD9, "YMD9", {Many(F::TextDec, 25, 6, 9, 7)}),
      Single(K::MONY, "MONY", {Many(F::IntDec, 25, 12, 5)}),
      Multi(K::ADNM, "ADNM", "<ADN", 4, text4),
      Multi(K::ADRS, "ADRS", "<ADR", 4, {no3, One(F::Text, 28, 10), One(F::Text, 38, 50)}),
      Multi(K::MONO, "MONO", "<MON", 4,
            {One(F::Text, 25, 10), One(F::Text, 35, 36), One(F::Int, 71, 6), One(F::Int, 77, 12)}),
      Multi(K::KSAN, "KSAN", "<KSA", 9,
            {One(F::Text, 25, 6), One(F::Text, 31, 30), One(F::Text, 61, 14), One(F::Int, 75, 7),
             One(F::Int, 82, 7)}),
  };
  // The table is indexed by the kind: its order must follow the enumeration.
  for (size_t i = 0; i < t.size(); ++i) {
    if (static_cast<size_t>(t[i].kind) != i) std::abort();
  }
  if (t.size() != static_cast<size_t>(RecordKind::Count)) std::abort();
  return t;
}

}  // namespace

const std::vector<KindLayout>& AllLayouts() {
  static const std::vector<KindLayout> layouts = BuildLayouts();
  return layouts;
}

const KindLayout& LayoutOf(RecordKind kind) { return AllLayouts()[static_cast<size_t>(kind)]; }

}  // namespace fw::calc_store_detail
