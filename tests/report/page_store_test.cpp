#include "report/page_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QTreeWidget>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <limits>
#include <thread>

#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/path.h"
#include "report/page_fixtures.h"
#include "report/report_fixtures.h"
#include "report/rpt_error.h"
#include "support/test_support.h"

using namespace rpt;
using rpttest::EnvGuard;
using rpttest::I32At;
using rpttest::MakePages;
using rpttest::PutI32At;

namespace {

// A page stream that counts the seeks made on it.
class CountingStream final : public TRptStream {
 public:
  using TRptStream::TRptStream;
  bool Seek(int64_t position) override {
    ++seeks;
    return TRptStream::Seek(position);
  }
  int seeks = 0;
};

std::string Bytes(TRptStream& s) {
  platform::MemoryStream m;
  EXPECT_TRUE(s.SaveToStream(m));
  return m.Take();
}

void Fill(TRptPageList& list, const std::vector<std::string>& pages) {
  for (const auto& p : pages) list.AddPage(p);
  list.WriteHeader();
}

std::string ReadAll(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(platform::ReadFileBytes(path, bytes));
  return bytes;
}

void WriteAll(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(platform::WriteFileBytesAtomic(path, bytes, nullptr, platform::Durability::Unsynced));
}

// Starts of the records of a page file.
std::vector<size_t> RecordStarts(const std::string& file, size_t headerLength = 128) {
  std::vector<size_t> starts;
  for (size_t s = headerLength; s + 8 <= file.size(); s = static_cast<size_t>(I32At(file, s + 4))) {
    starts.push_back(s);
    if (static_cast<size_t>(I32At(file, s + 4)) <= s) break;
  }
  return starts;
}

}  // namespace

TEST(PageStore, OnePageStreamLayout) {
  const std::string page = rpttest::MakePage(1);
  // Local time 9 hours east of UTC for this test (the zone is read again as the variable goes back).
  struct Zone {
    struct ReadAgain {
      ~ReadAgain() { tzset(); }
    } readAgain;
    EnvGuard tz{"TZ", "JST-9"};
    Zone() { tzset(); }
  } zone;
  for (bool compressed : {false, true}) {
    SCOPED_TRACE(compressed ? "compressed" : "plain");
    TRptPageList list;
    auto stream = std::make_shared<TRptStream>();
    list.SetStream(stream);
    list.SetCompression(compressed);
    const std::time_t written = std::time(nullptr);
    list.AddPage(page);
    const std::string b = Bytes(*stream);
    // Header.
    EXPECT_EQ(b[0], 3);
    EXPECT_EQ(b[2], 40);
    EXPECT_EQ(I32At(b, 8), 1);
    EXPECT_EQ(b[25], compressed ? 1 : 0);
    EXPECT_EQ(b.substr(26, 100), std::string(100, 'H'));
    for (int zero : {1, 3, 4, 5, 6, 7, 12, 13, 14, 15, 24, 126, 127}) EXPECT_EQ(b[zero], 0) << zero;
    double when;
    std::memcpy(&when, b.data() + 16, 8);
    // The local time of writing (days since 30 December 1899, 9 hours east of UTC), to the minute.
    const double nowLocal = (static_cast<double>(written) + 9 * 3600) / 86400.0 + 25569.0;
    EXPECT_NEAR(when, nowLocal, 1.0 / 1440);
    // One record: page 1, next = the stream's size, back = 128.
    EXPECT_EQ(I32At(b, 128), 1);
    EXPECT_EQ(I32At(b, 132), static_cast<int32_t>(b.size()));
    EXPECT_EQ(I32At(b, static_cast<int>(b.size()) - 4), 128);
    if (compressed) {
      EXPECT_EQ(I32At(b, 136), static_cast<int32_t>(page.size()));
      EXPECT_LT(b.size(), page.size());
    } else {
      EXPECT_EQ(b.substr(128), rpttest::HandMadeFile(128, {page}).substr(128));
    }
  }
}

TEST(PageStore, ReadsPagesInAnyOrder) {
  const auto pages = MakePages(5);
  for (bool compressed : {false, true}) {
    SCOPED_TRACE(compressed ? "compressed" : "plain");
    TRptPageList list;
    auto stream = std::make_shared<CountingStream>();
    list.SetStream(stream);
    list.SetCompression(compressed);
    Fill(list, pages);
    auto read = [&](int n) {
      stream->seeks = 0;
      auto page = list.GetPage(n);
      ASSERT_TRUE(page.has_value()) << n;
      EXPECT_TRUE(*page == pages[n - 1]) << n;
    };
    // In order, each page takes one seek at most: the stream stands at the next record.
    for (int n : {1, 2, 3}) {
      read(n);
      EXPECT_LE(stream->seeks, 1) << n;
    }
    for (int n : {3, 1, 5, 5, 1, 4, 2}) read(n);
    stream->Seek(stream->Size());  // from the end
    read(2);
    // Numbers outside the pages give nothing and leave the stream where it is.
    const int64_t pos = stream->Position();
    for (int n : {0, -1, 6, std::numeric_limits<int32_t>::min()}) {
      stream->seeks = 0;
      EXPECT_FALSE(list.GetPage(n).has_value()) << n;
      EXPECT_FALSE(list.SeekPage(n)) << n;
      EXPECT_EQ(stream->seeks, 0);
      EXPECT_EQ(stream->Position(), pos);
    }
    // Positioning at a record start.
    auto pageAt = [&] {
      int32_t v = 0;
      const int64_t at = stream->Position();
      stream->ReadI32(v);
      stream->Seek(at);
      return v;
    };
    ASSERT_TRUE(list.SeekPage(4));
    EXPECT_EQ(pageAt(), 4);
    list.SeekToLast();
    EXPECT_EQ(pageAt(), 5);
    list.SeekToFirst();
    EXPECT_EQ(stream->Position(), 128);
  }
}

TEST(PageStore, PlainAndCompressedRunsGiveIdenticalPages) {
  const auto pages = MakePages(12);
  TRptPageList plain, packed;
  auto s1 = std::make_shared<TRptStream>(), s2 = std::make_shared<TRptStream>();
  plain.SetStream(s1);
  packed.SetStream(s2);
  packed.SetCompression(true);
  Fill(plain, pages);
  Fill(packed, pages);
  for (int n = 12; n >= 1; --n) {
    auto a = plain.GetPage(n), b = packed.GetPage(n);
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(*a == *b && *a == pages[n - 1]) << n;
  }
  EXPECT_LT(s2->Size() * 2, s1->Size());
}

TEST(PageStore, SpillsToATemporaryFileJustPastTheLimit) {
  std::string name;
  {
    TRptStream s(250000);
    const std::string block(1000, 'x');
    for (int i = 0; i < 250; ++i) ASSERT_TRUE(s.WriteExact(block.data(), 1000));
    EXPECT_TRUE(s.InMemory());
    EXPECT_EQ(s.FileName(), "");
    ASSERT_TRUE(s.WriteExact("y", 1));
    EXPECT_FALSE(s.InMemory());
    name = s.FileName();
    EXPECT_EQ(name.substr(0, platform::TempFolder().size() + 3), platform::TempFolder() + "RPT");
    EXPECT_TRUE(platform::FileExists(name));
    EXPECT_EQ(s.Size(), 250001);
    EXPECT_EQ(s.Position(), 250001);
    ASSERT_TRUE(s.Seek(249999));
    char b[2];
    ASSERT_TRUE(s.ReadExact(b, 2));
    EXPECT_EQ(std::string(b, 2), "xy");
  }
  EXPECT_FALSE(platform::FileExists(name));

  // A page list whose stream spills in the middle of a page.
  const auto pages = MakePages(6);
  TRptPageList list;
  auto stream = std::make_shared<TRptStream>(static_cast<int64_t>(pages[0].size() * 2 + 200));
  list.SetStream(stream);
  Fill(list, pages);
  EXPECT_FALSE(stream->InMemory());
  for (int n : {1, 6, 3, 4}) EXPECT_TRUE(list.GetPage(n) == pages[n - 1]) << n;
}

TEST(PageStore, FailedSpillKeepsTheMemoryStream) {
  const auto pages = MakePages(2);
  TRptPageList list;
  auto stream = std::make_shared<TRptStream>(static_cast<int64_t>(pages[0].size() + 500));
  list.SetStream(stream);
  list.AddPage(pages[0]);
  const std::string before = Bytes(*stream);
  {
    EnvGuard tmp("TMPDIR", "/nonexistent-harvsim-folder");
    try {
      list.AddPage(pages[1]);
      FAIL() << "the spill cannot succeed";
    } catch (const ERptError& e) {
      EXPECT_NE(std::string(e.what()).find("temporary file"), std::string::npos) << e.what();
    }
  }
  EXPECT_TRUE(stream->InMemory());
  EXPECT_EQ(list.PageCount(), 1);
  EXPECT_TRUE(Bytes(*stream) == before);
  EXPECT_TRUE(list.GetPage(1) == pages[0]);
  // With the temporary folder back, the run goes on.
  list.AddPage(pages[1]);
  EXPECT_FALSE(stream->InMemory());
  EXPECT_TRUE(list.GetPage(2) == pages[1]);
  EXPECT_THROW(list.AddPage("not a metafile"), ERptError);
  EXPECT_EQ(list.PageCount(), 2);
}

TEST(PageStore, SaveAndLoadKeepCountFlagAndPages) {
  testsupport::TempFolder t;
  const auto pages = MakePages(4);
  for (bool compressed : {false, true}) {
    SCOPED_TRACE(compressed ? "compressed" : "plain");
    const std::string path = t.Path(compressed ? "packed.RPT" : "plain.RPT");
    TRptPageList run;
    run.SetStream(std::make_shared<TRptStream>(1000));  // saved from a spilled stream
    run.SetCompression(compressed);
    Fill(run, pages);
    run.WriteFile(path);
    const std::string file = ReadAll(path);
    EXPECT_EQ(file[0], 3);
    EXPECT_EQ(file[25], compressed ? 1 : 0);

    TRptPageList loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.PageCount(), 4);
    EXPECT_EQ(loaded.Compression(), compressed);
    EXPECT_EQ(loaded.Stream()->FileName(), path);
    EXPECT_EQ(loaded.Stream()->Position(), loaded.Stream()->Size());
    for (int n : {4, 1, 2, 3}) EXPECT_TRUE(loaded.GetPage(n) == pages[n - 1]) << n;
  }
  // A run without pages saves a bare header, which loads as no pages.
  TRptPageList empty;
  empty.SetStream(std::make_shared<TRptStream>());
  empty.WriteHeader();
  empty.WriteFile(t.Path("empty.RPT"));
  EXPECT_EQ(ReadAll(t.Path("empty.RPT")).size(), 128u);
  TRptPageList loaded;
  loaded.LoadFromFile(t.Path("empty.RPT"));
  EXPECT_EQ(loaded.PageCount(), 0);
  EXPECT_FALSE(loaded.GetPage(1).has_value());
}

TEST(PageStore, OlderHeaderLengthsLoad) {
  testsupport::TempFolder t;
  const auto pages = MakePages(3);
  for (int length : {124, 96, 128}) {
    SCOPED_TRACE(length);
    std::string file = rpttest::HandMadeFile(length, pages);
    if (length == 124) {
      const double when = 36000.5;
      std::memcpy(file.data() + 12, &when, 8);
      std::memset(file.data() + 22, 'H', 102);
    }
    if (length == 96) file[25] = 1;  // not a flag in this layout
    const std::string path = t.Path("old" + std::to_string(length) + ".RPT");
    WriteAll(path, file);
    TRptPageList list;
    list.LoadFromFile(path);
    EXPECT_EQ(list.HeaderLength(), length);
    EXPECT_EQ(list.PageCount(), 3);
    EXPECT_FALSE(list.Compression());
    if (length == 124) {
      EXPECT_EQ(list.Header().dateTime, 36000.5);
    }
    for (int n : {2, 3, 1}) EXPECT_TRUE(list.GetPage(n) == pages[n - 1]) << n;
  }
}

// A damaged file fails with ERptError naming the file, and the list keeps what it had. The
// same bytes read page by page without the load's checks fail as cleanly.
TEST(PageStore, DamagedFilesFailCleanly) {
  testsupport::TempFolder t;
  const auto pages = MakePages(3);
  const std::string goodPath = t.Path("good.RPT");
  WriteAll(goodPath, rpttest::ListBytes(pages, false));
  const std::string plain = rpttest::ListBytes(pages, false);
  const std::string packed = rpttest::ListBytes(pages, true);
  using Mutate = std::function<void(std::string&, const std::vector<size_t>&)>;
  struct Case {
    const char* name;
    bool compressed;
    Mutate mutate;
  } cases[] = {
      {"cut header", false, [](std::string& b, auto&) { b.resize(100); }},
      {"empty file", false, [](std::string& b, auto&) { b.clear(); }},
      {"cut record", false, [](std::string& b, auto&) { b.resize(b.size() - 10); }},
      {"trailing bytes", false, [](std::string& b, auto&) { b += "junk"; }},
      {"next points back", false, [](std::string& b, auto& r) { PutI32At(b, r[1] + 4, static_cast<int32_t>(r[0])); }},
      {"next points to itself", false, [](std::string& b, auto& r) { PutI32At(b, r[1] + 4, static_cast<int32_t>(r[1])); }},
      {"next past the end", false,
       [](std::string& b, auto& r) { PutI32At(b, r[1] + 4, static_cast<int32_t>(b.size() + 100)); }},
      {"negative next", false, [](std::string& b, auto& r) { PutI32At(b, r[0] + 4, -8); }},
      {"wrong back", false, [](std::string& b, auto& r) { PutI32At(b, r[2] - 4, static_cast<int32_t>(r[0])); }},
      {"last back outside", false,
       [](std::string& b, auto&) { PutI32At(b, b.size() - 4, std::numeric_limits<int32_t>::max()); }},
      {"wrong page number", false, [](std::string& b, auto& r) { PutI32At(b, r[1], 7); }},
      {"count too large", false, [](std::string& b, auto&) { PutI32At(b, 8, 4); }},
      {"count huge", false, [](std::string& b, auto&) { PutI32At(b, 8, std::numeric_limits<int32_t>::max()); }},
      {"count negative", false, [](std::string& b, auto&) { PutI32At(b, 8, -1); }},
      {"body no metafile", false, [](std::string& b, auto& r) { b[r[1] + 8 + 41] = 'X'; }},
      {"body records broken", false, [](std::string& b, auto& r) { PutI32At(b, r[1] + 8 + 108 + 4, 6); }},
      {"plain read as compressed", false, [](std::string& b, auto&) { b[25] = 1; }},
      {"coded count negative", true, [](std::string& b, auto& r) { PutI32At(b, r[1] + 8, -5); }},
      {"coded count huge", true,
       [](std::string& b, auto& r) { PutI32At(b, r[1] + 8, std::numeric_limits<int32_t>::max()); }},
      {"coded count past 8 per byte", true,
       [](std::string& b, auto& r) { PutI32At(b, r[1] + 8, static_cast<int32_t>(8 * (r[2] - 4 - (r[1] + 12)) + 1)); }},
      {"coded count short", true, [](std::string& b, auto& r) { PutI32At(b, r[1] + 8, I32At(b, r[1] + 8) - 4); }},
      {"coded run damaged", true, [](std::string& b, auto& r) { b[(r[1] + r[2]) / 2] ^= 0x5A; }},
      {"compressed read as plain", true, [](std::string& b, auto&) { b[25] = 0; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string bytes = c.compressed ? packed : plain;
    const auto records = RecordStarts(bytes);
    ASSERT_EQ(records.size(), 3u);
    c.mutate(bytes, records);
    const std::string path = t.Path("bad.RPT");
    WriteAll(path, bytes);

    TRptPageList list;
    list.LoadFromFile(goodPath);
    try {
      list.LoadFromFile(path);
      ADD_FAILURE() << "loaded";
    } catch (const ERptError& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_EQ(list.PageCount(), 3);
    EXPECT_EQ(list.Stream()->FileName(), goodPath);
    EXPECT_TRUE(list.GetPage(2) == pages[1]);

    TRptPageList raw;
    raw.SetStream(TRptStream::CreateFromFile(path));
    try {
      raw.ReadHeader();
    } catch (const ERptError&) {
      continue;
    }
    for (int n : {1, 2, 3, 4, 3, 1, 4, 2, raw.PageCount()}) {
      try {
        if (auto page = raw.GetPage(n)) {
          ASSERT_LE(n, 3);
          EXPECT_TRUE(*page == pages[n - 1]) << n;
        }
      } catch (const ERptError& e) {
        EXPECT_NE(std::string(e.what()).find("Page " + std::to_string(n)), std::string::npos) << e.what();
      }
    }
  }
  EXPECT_THROW(TRptPageList().LoadFromFile(t.Path("missing.RPT")), ERptError);
}

TEST(PageStore, SavingNeverDestroysTheOldFile) {
  testsupport::TempFolder t;
  const auto pages = MakePages(3);
  // Saving onto the file the list was loaded from.
  const std::string path = t.Path("report.RPT");
  const std::string saved = rpttest::ListBytes(pages, true);
  WriteAll(path, saved);
  TRptPageList list;
  list.LoadFromFile(path);
  list.WriteFile(path);
  EXPECT_TRUE(ReadAll(path) == saved);
  for (int n : {3, 1, 2}) EXPECT_TRUE(list.GetPage(n) == pages[n - 1]);
  list.LoadFromFile(path);
  EXPECT_EQ(list.PageCount(), 3);

  // Saving into a folder where no file can be made: the old file stays and nothing is left.
  ASSERT_EQ(::chmod(t.native().c_str(), 0755), 0);
  ASSERT_EQ(::mkdir((t.native() + "ro").c_str(), 0755), 0);
  const std::string target = t.Path("ro/old.RPT");
  WriteAll(target, "old");
  ASSERT_EQ(::chmod((t.native() + "ro").c_str(), 0555), 0);
  TRptPageList fresh;
  fresh.SetStream(std::make_shared<TRptStream>());
  Fill(fresh, pages);
  auto save = [&]() -> int {
    try {
      fresh.WriteFile(target);
      return 1;
    } catch (const ERptError& e) {
      return std::string(e.what()).find(target) == std::string::npos ? 2 : 0;
    }
  };
  // The superuser writes anywhere: saved as an ordinary user.
  EXPECT_EQ(testsupport::RunAsOrdinaryUser(save), 0);
  EXPECT_EQ(ReadAll(target), "old");
  std::vector<platform::FolderEntry> entries;
  ASSERT_TRUE(platform::ListFolder(t.Path("ro"), entries));
  EXPECT_EQ(entries.size(), 1u);
  ::chmod((t.native() + "ro").c_str(), 0755);
}

TEST(PageStore, PagesAreReadWhileOthersAreAdded) {
  const auto pages = MakePages(8);
  TRptPageList list;
  list.SetStream(std::make_shared<TRptStream>(100000));  // spills during the run
  list.SetCompression(true);
  std::atomic<bool> done{false};
  std::atomic<int> reads{0}, wrong{0};
  std::thread reader([&] {
    unsigned seed = 1;
    while (!done) {
      const int count = list.PageCount();
      if (count == 0) continue;
      seed = seed * 1103515245u + 12345u;
      const int n = 1 + static_cast<int>((seed >> 8) % static_cast<unsigned>(count));
      auto page = list.GetPage(n);
      if (!page || *page != pages[(n - 1) % 8]) ++wrong;
      ++reads;
    }
  });
  for (int i = 0; i < 150; ++i) list.AddPage(pages[i % 8]);
  done = true;
  reader.join();
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(reads, 0);
  EXPECT_EQ(list.PageCount(), 150);
}

namespace {
// The program's application (tests/report/main.cpp).
QApplication& App() { return *qApp; }

// The tree as text: "A(B C(D)) E".
std::string TreeText(QTreeWidgetItem* item) {
  std::string s = item->text(0).toStdString();
  if (item->childCount() == 0) return s;
  s += "(";
  for (int i = 0; i < item->childCount(); ++i) s += (i ? " " : "") + TreeText(item->child(i));
  return s + ")";
}

std::string TreeText(QTreeWidget& tree) {
  std::string s;
  for (int i = 0; i < tree.topLevelItemCount(); ++i) s += (i ? " " : "") + TreeText(tree.topLevelItem(i));
  return s;
}
}  // namespace

TEST(PageStore, OutlineTree) {
  App();
  QTreeWidget tree;
  TRptOutline outline;
  auto add = [&outline](const char* text, int level, int key = 0, int page = 0) {
    TRptOutlineEntry e;
    e.text = platform::J(text);
    e.level = level;
    e.key = key;
    e.page = page;
    e.area = platform::Rect{key, 0, key + 10, 20};
    outline.Add(e);
  };
  add("A", 0);
  add("B", 1, 7, 2);
  add("C", 1);
  outline.SetTree(&tree);  // builds at once
  EXPECT_EQ(TreeText(tree), "A(B C)");
  add("D", 2);
  add("E", 0);
  EXPECT_EQ(TreeText(tree), "A(B C(D)) E");
  // A deep entry after a shallower one never hangs below an earlier branch.
  add("F", 2);
  add("表", 1);
  EXPECT_EQ(TreeText(tree), "A(B C(D)) E(F 表)");

  platform::Rect area;
  int32_t page = -1;
  outline.FindEntry(7, area, page);
  EXPECT_EQ(page, 2);
  EXPECT_EQ(area, (platform::Rect{7, 0, 17, 20}));
  outline.FindEntry(99, area, page);
  EXPECT_EQ(page, 0);
  EXPECT_TRUE(area.IsEmpty());

  // Texts keep at most 51 bytes, never half a double-byte character.
  std::string longText;
  for (int i = 0; i < 30; ++i) longText += "表";
  add(longText.c_str(), 0);
  EXPECT_EQ(outline.Entries().back().text.size(), 50u);
  outline.Clear();
  EXPECT_EQ(tree.topLevelItemCount(), 0);
}
