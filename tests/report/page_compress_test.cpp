#include "report/page_compress.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/stream.h"
#include "report/page_fixtures.h"
#include "report/rpt_error.h"

using rpt::TRptCompress;

namespace {

std::string Compress(const std::string& bytes) {
  platform::MemoryStream out;
  {
    TRptCompress c(out, true);
    c.Compress(bytes.data(), bytes.size());
  }  // the last partial byte is written here
  return out.Take();
}

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
    out += ' ';
  }
  return out;
}

}  // namespace

// Codes worked out by hand from the initial tree (children 2j+1 and 2j+2, leaves 256 + b)
// and the semi-splay, with the first code bit in the lowest bit of a byte.
TEST(PageCompress, HandWorkedCodes) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"", ""},                                          // nothing at all, not even a last byte
      {std::string(1, '\0'), "\x80"},                    // 0000000 then 1 (leaf 256 is right of 127)
      {std::string(1, '\1'), "\x40"},                    // 000000 1 0
      {std::string(1, '\xFE'), "\xFF"},                  // eight right turns
      {std::string(1, '\xFF'), std::string("\0\0", 2)},  // nine left turns: one byte takes two
      {std::string(2, '\0'), "\x80\x0F"},                // after the splay, byte 0 sits four levels deep
  };
  for (const Case& c : cases) EXPECT_EQ(Hex(Compress(c.in)), Hex(c.out)) << Hex(c.in);
}

// After any sequence of splays the tables still describe one binary tree holding every
// leaf 256 to 512 exactly once.
TEST(PageCompress, SplayKeepsOneTree) {
  platform::MemoryStream unused;
  TRptCompress c(unused, true);
  EXPECT_EQ(c.Left(255), 511);
  EXPECT_EQ(c.Right(255), 512);
  EXPECT_EQ(c.Parent(512), 255);
  std::mt19937 rng(5);
  for (int round = 0; round < 2000; ++round) {
    c.Splay(static_cast<uint8_t>(rng() % 7 == 0 ? 255 : rng() & 0xFF));
    if (round % 200 != 0) continue;
    std::vector<int> seen(513, 0);
    std::vector<int> todo{0};
    while (!todo.empty()) {
      const int a = todo.back();
      todo.pop_back();
      ++seen[a];
      if (a > 255) continue;
      for (int child : {c.Left(a), c.Right(a)}) {
        ASSERT_EQ(c.Parent(child), a);
        todo.push_back(child);
      }
    }
    for (int a = 0; a <= 512; ++a) ASSERT_EQ(seen[a], 1) << "node " << a;
  }
}

// Runs round-trip, and the expander takes exactly the bytes the compressor wrote: it stops
// just before what follows the run.
TEST(PageCompress, RunsRoundTripUsingExactlyTheBytesWritten) {
  std::mt19937 rng(11);
  std::vector<std::pair<std::string, std::string>> runs = {
      {"empty", ""},
      {"long run of one byte", std::string(100000, 'A')},
      {"long run of 255", std::string(5000, '\xFF')},
      {"recorded page", rpttest::MakePage(3)},
  };
  std::string cycle, noise;
  for (int i = 0; i < 256 * 40; ++i) cycle += static_cast<char>(i & 0xFF);
  for (int i = 0; i < 100000; ++i) noise += static_cast<char>(rng() & 0xFF);
  runs.push_back({"every byte in turn", cycle});
  runs.push_back({"random bytes", noise});
  for (int b = 0; b < 256; ++b) runs.push_back({"single byte " + std::to_string(b), std::string(1, static_cast<char>(b))});

  for (const auto& [name, run] : runs) {
    SCOPED_TRACE(name);
    const std::string coded = Compress(run);
    platform::MemoryStream in(coded + "after");
    std::string back(run.size(), '\0');
    {
      TRptCompress e(in, false);
      ASSERT_TRUE(e.Expand(back.data(), back.size()));
      e.Finish();
    }
    EXPECT_TRUE(back == run);
    EXPECT_EQ(in.Position(), static_cast<int64_t>(coded.size()));
    // The same with the limit at the run's end.
    platform::MemoryStream limited(coded + "after");
    TRptCompress e(limited, false, static_cast<int64_t>(coded.size()));
    ASSERT_TRUE(e.Expand(back.data(), back.size()));
    if (run.size() == 1) {
      EXPECT_EQ(coded.size(), run[0] == '\xFF' ? 2u : 1u);
    }
  }
}

TEST(PageCompress, FrequentBytesGetShortCodes) {
  EXPECT_LT(Compress(std::string(10000, 'x')).size(), 10000u / 6);
  const std::string page = rpttest::MakePage(1);
  EXPECT_LT(Compress(page).size(), page.size() / 2);
}

TEST(PageCompress, DamagedRunsStopTheExpander) {
  uint8_t b = 0;
  // Eight left turns reach node 255; a right turn then reaches leaf 512, which stands for
  // no byte.
  platform::MemoryStream leaf512(std::string("\0\x01", 2));
  TRptCompress e1(leaf512, false);
  EXPECT_FALSE(e1.ExpandByte(b));
  // A run cut inside a code, and a limit that cuts it.
  const std::string coded = Compress("a longer text to cut short");
  platform::MemoryStream cut(coded.substr(0, coded.size() - 1));
  TRptCompress e2(cut, false);
  std::string out(26, '\0');
  EXPECT_FALSE(e2.Expand(out.data(), out.size()));
  platform::MemoryStream whole(coded);
  TRptCompress e3(whole, false, static_cast<int64_t>(coded.size()) - 1);
  EXPECT_FALSE(e3.Expand(out.data(), out.size()));
}

TEST(PageCompress, RefusedWritesRaise) {
  // A stream that takes no bytes.
  class Full final : public platform::Stream {
   public:
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void*, int64_t) override { return 0; }
    bool Seek(int64_t) override { return true; }
    int64_t Position() const override { return 0; }
    int64_t Size() const override { return 0; }
    bool SetSize(int64_t) override { return false; }
  } full;
  TRptCompress c(full, true);
  c.CompressByte('a');
  EXPECT_THROW(c.Finish(), rpt::ERptError);
}
