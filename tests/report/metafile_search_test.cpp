// Text search in page metafiles: wide and ANSI text records, Japanese text, case folding of
// ASCII letters, and records whose string does not fit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/emf.h"
#include "platform/emf_recorder.h"
#include "report/metafile_search.h"

using platform::J;
using rpt::MetafileContainsText;

namespace {

// An EMR_EXTTEXTOUTA record drawing `cp932` whose character count is `count` (the string's
// length unless given).
std::string AnsiTextRecord(const std::string& cp932, int64_t count = -1) {
  platform::emf::FieldWriter w;
  w.U32(platform::emf::EMR_EXTTEXTOUTA);
  w.U32(0);  // size, patched below
  w.RectL({0, 0, 100, 20});
  w.U32(1);  // graphics mode
  w.F32(1);
  w.F32(1);
  w.I32(10);  // reference point
  w.I32(10);
  w.U32(static_cast<uint32_t>(count < 0 ? static_cast<int64_t>(cp932.size()) : count));
  w.U32(76);  // string offset
  w.U32(0);   // options
  w.RectL({0, 0, 0, 0});
  w.U32(0);  // no advances
  w.Bytes(cp932);
  w.PadTo4();
  w.PatchU32(4, static_cast<uint32_t>(w.Size()));
  return w.Buffer();
}

// A metafile drawing the wide texts and then holding the further records before its end.
std::string Page(const std::vector<std::u16string>& wide, const std::vector<std::string>& records = {}) {
  platform::EmfRecorder r(200, 100);
  int y = 0;
  for (const std::u16string& t : wide) r.TextOut(5, y += 12, t);
  std::string bytes = r.Finish();
  auto header = platform::emf::ReadHeader(bytes);
  EXPECT_TRUE(header);
  const size_t eof = bytes.size() - 20;  // the end-of-file record of 20 bytes
  std::string inserted;
  for (const std::string& rec : records) inserted += rec;
  bytes.insert(eof, inserted);
  header->bytes = static_cast<uint32_t>(bytes.size());
  header->records += static_cast<uint32_t>(records.size());
  platform::emf::WriteHeader(bytes, *header);
  return bytes;
}

}  // namespace

TEST(MetafileSearch, FindsTextOfEitherRecordKind) {
  const std::string page = Page({u"Monthly Balance", u"雨水利用 1981"}, {AnsiTextRecord("Tank volume"), AnsiTextRecord(J("貯留槽の容量"))});
  struct Case {
    std::string text;
    bool matchCase;
    bool found;
  };
  const Case cases[] = {
      {"Balance", true, true},          {"balance", true, false},
      {"balance", false, true},         {"MONTHLY BAL", false, true},
      {"tank VOLUME", false, true},     {"tank volume", true, false},
      {J("雨水利用"), true, true},       {J("貯留槽"), false, true},
      {J("容量"), true, true},           {J("雨水利用 1981"), false, true},
      {"Balance Tank", false, false},   {J("降水量"), false, false},
      {"", false, false},               {"1981", true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MetafileContainsText(c.text, page, c.matchCase), c.found) << platform::Cp932ToUtf8(c.text) << " " << c.matchCase;
  }
}

TEST(MetafileSearch, OnlyAsciiLettersAreFolded) {
  // Full-width letters keep their case; a Japanese text next to ASCII is found as it stands.
  const std::string page = Page({u"ＡＢＣ abc"});
  EXPECT_TRUE(MetafileContainsText(J("ＡＢＣ ABC"), page, false));
  EXPECT_FALSE(MetafileContainsText(J("ａｂｃ"), page, false));
}

TEST(MetafileSearch, StringsOutsideTheirRecordAndDamagedPagesFindNothing) {
  // A count that runs past the record is skipped; the records after it are still searched.
  const std::string overrun = Page({}, {AnsiTextRecord("secret", 4000), AnsiTextRecord("visible")});
  EXPECT_FALSE(MetafileContainsText("secret", overrun, false));
  EXPECT_TRUE(MetafileContainsText("visible", overrun, false));
  // A wide string read two bytes a character: "secret" written as six ANSI bytes is not found
  // in a wide record of six characters that would reach past the record.
  std::string wideRecord = AnsiTextRecord("secret!!");
  wideRecord.replace(0, 4, std::string("\x54\0\0\0", 4));  // EMR_EXTTEXTOUTW
  EXPECT_FALSE(MetafileContainsText("secret", Page({}, {wideRecord}), false));

  EXPECT_FALSE(MetafileContainsText("x", "", false));
  EXPECT_FALSE(MetafileContainsText("x", "not a metafile at all", false));
  std::string cut = Page({u"before"}, {AnsiTextRecord("after")});
  EXPECT_FALSE(MetafileContainsText("before", cut.substr(0, cut.size() - 40), false));  // header past the end
  // A record size that breaks the chain ends the walk: what came before it is still found.
  const size_t at = cut.size() - 20 - AnsiTextRecord("after").size();
  cut.replace(at + 4, 4, std::string("\x03\0\0\0", 4));
  EXPECT_TRUE(MetafileContainsText("before", cut, false));
  EXPECT_FALSE(MetafileContainsText("after", cut, false));
}
