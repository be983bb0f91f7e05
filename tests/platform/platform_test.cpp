#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/mbcs.h"
#include "platform/path.h"
#include "support/test_support.h"

using namespace platform;

TEST(Cp932, RoundTripsProgramSymbols) {
  // №, ㎡, ①, the wave dash and the backslash must keep their Windows forms.
  for (const char* utf8 : {"№1000", "㎡", "①", "～", "C:\\CAL\\", "表示", "ｶﾅ", "＜RESULT＞"}) {
    auto cp = Utf8ToCp932(utf8);
    ASSERT_TRUE(cp.has_value()) << utf8;
    EXPECT_EQ(Cp932ToUtf8(*cp), utf8);
  }
  EXPECT_EQ(J("№"), std::string("\x87\x82", 2));
  EXPECT_EQ(J("表"), std::string("\x95\x5C", 2));  // trail byte 0x5C
  EXPECT_EQ(J("ｱ"), std::string("\xB1", 1));
}

TEST(Cp932, UnencodableAndDamagedText) {
  EXPECT_FALSE(Utf8ToCp932("😀").has_value());
  EXPECT_FALSE(Utf8ToCp932("\xC3").has_value());  // truncated UTF-8
  // An undefined byte pair still converts to valid text with a replacement mark.
  std::string bad("A\x85\x40Z", 4);
  std::string u = Cp932ToUtf8(bad);
  EXPECT_EQ(u.front(), 'A');
  EXPECT_EQ(u.back(), 'Z');
}

TEST(Mbcs, RolesScanFromTheStart) {
  std::string s = J("表A") + "\x5C";  // 0x95 0x5C 'A' 0x5C
  EXPECT_EQ(ByteRoleAt(s, 0), ByteRole::Lead);
  EXPECT_EQ(ByteRoleAt(s, 1), ByteRole::Trail);
  EXPECT_EQ(ByteRoleAt(s, 2), ByteRole::Single);
  EXPECT_EQ(ByteRoleAt(s, 3), ByteRole::Single);
  EXPECT_EQ(ByteRoleAt(J("ｱ表"), 0), ByteRole::Single);
  EXPECT_EQ(ByteRoleAt(J("ｱ表"), 2), ByteRole::Trail);
}

TEST(Path, InsideAndNativeForms) {
  EXPECT_EQ(ToNativePath("C:\\home\\x\\a.txt").value(), "/home/x/a.txt");
  EXPECT_EQ(ToNativePath(J("C:\\tmp\\表\\b")).value(), "/tmp/表/b");  // 0x5C trail byte is not a separator
  EXPECT_EQ(ToNativePath("rel\\a").value(), "rel/a");
  EXPECT_FALSE(ToNativePath("D:\\x").has_value());
  EXPECT_EQ(ToInsidePath("/tmp/表/b").value(), J("C:\\tmp\\表\\b"));
  EXPECT_FALSE(ToInsidePath("/tmp/😀").has_value());
}

TEST(Path, CaseInsensitiveLookupPerComponent) {
  testsupport::TempFolder t;
  std::filesystem::create_directories(t.native() + "Data/Sub");
  std::ofstream(t.native() + "Data/Sub/File.DAT") << "x";
  EXPECT_TRUE(FileExists(t.inside() + "DATA\\sub\\file.dat"));
  EXPECT_EQ(ToNativePath(t.inside() + "data\\SUB\\FILE.dat").value(), t.native() + "Data/Sub/File.DAT");
}

TEST(Files, LinesAndAtomicWrites) {
  testsupport::TempFolder t;
  std::string path = t.Path("テスト.txt");
  ASSERT_TRUE(WriteTextLinesAtomic(path, {J("一行目"), "", "last"}));
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, J("一行目") + "\r\n\r\nlast\r\n");
  std::vector<std::string> lines;
  SplitTextLines("a\r\nb\nc", lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c"}));
  // A read-only target is refused and left as it was.
  ASSERT_TRUE(SetReadOnly(path, true));
  std::string err;
  EXPECT_FALSE(WriteFileBytesAtomic(path, "new", &err));
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes.substr(0, 6), J("一行目"));
  // A write into a missing folder fails without creating anything.
  EXPECT_FALSE(WriteFileBytesAtomic(t.Path("nofolder/x.txt"), "x"));
  std::vector<FolderEntry> entries;
  ASSERT_TRUE(ListFolder(t.inside(), entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, J("テスト.txt"));
  EXPECT_TRUE(entries[0].info.readOnly);
}

TEST(Files, FileErrorsGiveTheirCommonCausesInJapanese) {
  struct Case {
    int code;
    const char* cause;  // UTF-8; empty: the system's own text
  } cases[] = {
      {ENOENT, "保存先のフォルダがありません"}, {ENOTDIR, "保存先のフォルダがありません"},
      {EACCES, "アクセスが許可されていません"}, {EPERM, "アクセスが許可されていません"},
      {EROFS, "アクセスが許可されていません"},  {ENOSPC, "ディスクの空き容量が足りません"},
      {EDQUOT, "ディスクの空き容量が足りません"}, {EBUSY, "ファイルが使用中です"},
      {ETXTBSY, "ファイルが使用中です"},         {EIO, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FileErrorCause(c.code), *c.cause ? J(c.cause) : std::string(std::strerror(c.code))) << c.code;

  // The writers report those causes.
  testsupport::TempFolder t;
  std::string err;
  EXPECT_FALSE(WriteFileBytesAtomic(t.Path("nofolder/x.txt"), "x", &err));
  EXPECT_EQ(err, J("保存先のフォルダがありません"));
  const std::string path = t.Path("ro.txt");
  ASSERT_TRUE(WriteFileBytesAtomic(path, "old"));
  ASSERT_TRUE(SetReadOnly(path, true));
  err.clear();
  EXPECT_FALSE(WriteTextLinesAtomic(path, {"new"}, &err));
  EXPECT_EQ(err, J("ファイルが読み取り専用です"));
  ASSERT_TRUE(MakeFolders(t.Path("folder/")));
  err.clear();
  EXPECT_FALSE(WriteFileBytesAtomic(t.Path("folder"), "x", &err));
  EXPECT_EQ(err, J("同じ名前のフォルダがあります"));
}

TEST(Files, RandomAccessReads) {
  testsupport::TempFolder t;
  ASSERT_TRUE(WriteFileBytesAtomic(t.Path("r.bin"), "0123456789"));
  RandomAccessFile f;
  ASSERT_TRUE(f.Open(t.Path("r.bin")));
  char buf[4];
  ASSERT_TRUE(f.ReadAt(6, buf, 4));
  EXPECT_EQ(std::string(buf, 4), "6789");
  EXPECT_FALSE(f.ReadAt(8, buf, 4));  // short read
  EXPECT_EQ(f.Size(), 10);
}

// The same stream behaviour in memory and in a file.
TEST(Streams, MemoryAndFileStreamsBehaveAlike) {
  testsupport::TempFolder t;
  ReadWriteFile file;
  ASSERT_TRUE(file.Create(t.Path("s.bin")));
  MemoryStream memory;
  for (Stream* s : {static_cast<Stream*>(&memory), static_cast<Stream*>(&file)}) {
    SCOPED_TRACE(s == &memory ? "memory" : "file");
    ASSERT_TRUE(s->WriteExact("abcdef", 6));
    ASSERT_TRUE(s->WriteI32(-2));
    EXPECT_EQ(s->Size(), 10);
    ASSERT_TRUE(s->Seek(2));
    char b[4];
    ASSERT_TRUE(s->ReadExact(b, 4));
    EXPECT_EQ(std::string(b, 4), "cdef");
    int32_t v = 0;
    ASSERT_TRUE(s->ReadI32(v));
    EXPECT_EQ(v, -2);
    EXPECT_EQ(s->Read(b, 4), 0);  // at the end
    EXPECT_FALSE(s->ReadExact(b, 1));
    // A write past the end fills the gap with zero bytes; cutting keeps the position.
    ASSERT_TRUE(s->Seek(12));
    ASSERT_TRUE(s->WriteExact("z", 1));
    ASSERT_TRUE(s->Seek(9));
    ASSERT_TRUE(s->ReadExact(b, 4));
    EXPECT_EQ(std::string(b, 4), std::string("\xFF\0\0z", 4));
    ASSERT_TRUE(s->SetSize(3));
    EXPECT_EQ(s->Size(), 3);
    EXPECT_EQ(s->Position(), 13);
    EXPECT_FALSE(s->Seek(-1));
  }
  // Read-only files refuse writes and say why.
  ReadWriteFile ro;
  ASSERT_TRUE(ro.OpenRead(t.Path("s.bin")));
  EXPECT_EQ(ro.Size(), 3);
  EXPECT_EQ(ro.Write("x", 1), 0);
  EXPECT_EQ(ro.Error(), FileErrorCause(EBADF));
  EXPECT_FALSE(ro.OpenRead(t.Path("missing.bin")));
  EXPECT_FALSE(ro.OpenRead(t.inside()));  // a folder
}

TEST(Files, UniqueTemporaryFiles) {
  testsupport::TempFolder t;
  ReadWriteFile a, b;
  ASSERT_TRUE(a.CreateUnique("RPT", t.inside()));
  ASSERT_TRUE(b.CreateUnique("RPT", t.inside()));
  EXPECT_NE(a.Path(), b.Path());
  EXPECT_EQ(a.Path().substr(0, t.inside().size() + 3), t.inside() + "RPT");
  EXPECT_TRUE(FileExists(a.Path()));
  EXPECT_EQ(a.Size(), 0);
  ReadWriteFile c;
  ASSERT_TRUE(c.CreateUnique("RPT"));
  EXPECT_EQ(c.Path().substr(0, TempFolder().size() + 3), TempFolder() + "RPT");
  RemoveFile(c.Path());
  EXPECT_FALSE(c.CreateUnique("RPT", t.Path("missing")));
  EXPECT_FALSE(c.Error().empty());
}

TEST(Files, AtomicWriterReplacesOnlyOnCommit) {
  testsupport::TempFolder t;
  const std::string path = t.Path("a.bin");
  ASSERT_TRUE(WriteFileBytesAtomic(path, "old"));
  std::string bytes;
  {
    AtomicFileWriter w;
    ASSERT_TRUE(w.Begin(path));
    ASSERT_TRUE(w.Out().WriteExact("new!", 4));
    ASSERT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ(bytes, "old");
  }  // dropped without commit
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, "old");
  std::vector<FolderEntry> entries;
  ASSERT_TRUE(ListFolder(t.inside(), entries));
  EXPECT_EQ(entries.size(), 1u);  // no temporary file left
  AtomicFileWriter w;
  ASSERT_TRUE(w.Begin(path));
  ASSERT_TRUE(w.Out().WriteExact("new!", 4));
  ASSERT_TRUE(w.Commit());
  ASSERT_TRUE(ReadFileBytes(path, bytes));
  EXPECT_EQ(bytes, "new!");
  EXPECT_FALSE(w.Commit());  // only once
  std::string err;
  EXPECT_FALSE(w.Begin(t.inside(), &err));  // a folder
  EXPECT_FALSE(err.empty());
}

// The names in a folder and their bytes (temporary files included).
std::map<std::string, std::string> FolderContents(const std::string& inside) {
  std::map<std::string, std::string> out;
  std::vector<FolderEntry> entries;
  ListFolder(inside, entries);
  for (const auto& e : entries) ReadFileBytes(inside + e.name, out[e.name]);
  return out;
}

TEST(Files, AtomicFileSetReplacesAllOrNothing) {
  testsupport::TempFolder t;
  // A folder name whose second byte is 0x5C: the set must not split the path there.
  const std::string folder = t.Path("表＜RESULT＞\\");
  ASSERT_TRUE(MakeFolders(folder));
  for (Durability durability : {Durability::Synced, Durability::Unsynced}) {
    SCOPED_TRACE(durability == Durability::Synced ? "synced" : "unsynced");
    ASSERT_TRUE(WriteFileBytesAtomic(folder + "a.DAY", "old a"));
    ASSERT_TRUE(WriteFileBytesAtomic(folder + "b.day", "old b"));  // found by b.DAY, as on Windows
    RemoveFile(folder + "c.DAY");
    const auto before = FolderContents(folder);
    {
      AtomicFileSet set;
      ASSERT_TRUE(set.Write(folder + "a.DAY", "new a", nullptr, durability));
      ASSERT_TRUE(set.Write(folder + "b.DAY", "new b", nullptr, durability));
      ASSERT_TRUE(set.Write(folder + "c.DAY", "new c", nullptr, durability));
      EXPECT_EQ(set.Size(), 3u);
      // Nothing is replaced before Commit; a set dropped without it leaves no trace.
      for (const auto& [name, bytes] : before) EXPECT_EQ(FolderContents(folder)[name], bytes) << name;
    }
    EXPECT_EQ(FolderContents(folder), before);

    AtomicFileSet set;
    ASSERT_TRUE(set.Write(folder + "a.DAY", "new a", nullptr, durability));
    ASSERT_TRUE(set.Write(folder + "b.DAY", "new b", nullptr, durability));
    ASSERT_TRUE(set.Write(folder + "c.DAY", "new c", nullptr, durability));
    ASSERT_TRUE(set.Commit());
    EXPECT_EQ(set.Size(), 0u);
    const std::map<std::string, std::string> after = {{"a.DAY", "new a"}, {"b.day", "new b"}, {"c.DAY", "new c"}};
    EXPECT_EQ(FolderContents(folder), after);
  }

  // A read-only target is refused by Write; the set's other files are removed with it.
  ASSERT_TRUE(SetReadOnly(folder + "b.day", true));
  const auto before = FolderContents(folder);
  {
    AtomicFileSet set;
    ASSERT_TRUE(set.Write(folder + "a.DAY", "newer a"));
    std::string error;
    EXPECT_FALSE(set.Write(folder + "b.DAY", "newer b", &error));
    EXPECT_FALSE(error.empty());
    set.Discard();
    EXPECT_EQ(set.Size(), 0u);
  }
  EXPECT_EQ(FolderContents(folder), before);
}

// A rename that fails in the middle of Commit: the targets replaced before it get their old
// contents back (a new target goes again, one written twice its first contents), the later
// ones are never touched, and no temporary file is left.
TEST(Files, AtomicFileSetCommitFailingMidwayLeavesTheOldFiles) {
  testsupport::TempFolder t;
  const std::string folder = t.Path("SET\\");
  ASSERT_TRUE(MakeFolders(folder));
  for (Durability durability : {Durability::Synced, Durability::Unsynced}) {
    SCOPED_TRACE(durability == Durability::Synced ? "synced" : "unsynced");
    ASSERT_TRUE(WriteFileBytesAtomic(folder + "a.DAY", "old a"));
    ASSERT_TRUE(WriteFileBytesAtomic(folder + "c.DAY", "old c"));
    ASSERT_TRUE(WriteFileBytesAtomic(folder + "d.DAY", "old d"));
    RemoveFile(folder + "n.DAY");
    const auto before = FolderContents(folder);
    AtomicFileSet set;
    ASSERT_TRUE(set.Write(folder + "a.DAY", "new a", nullptr, durability));
    ASSERT_TRUE(set.Write(folder + "n.DAY", "new n", nullptr, durability));
    ASSERT_TRUE(set.Write(folder + "a.DAY", "newer a", nullptr, durability));
    ASSERT_TRUE(set.Write(folder + "c.DAY", "new c", nullptr, durability));
    ASSERT_TRUE(set.Write(folder + "d.DAY", "new d", nullptr, durability));
    // The new file of c vanishes, so its rename fails.
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(ListFolder(folder, entries));
    int removed = 0;
    for (const FolderEntry& e : entries)
      if (e.name.rfind("c.DAY.tmp-", 0) == 0 && RemoveFile(folder + e.name)) ++removed;
    ASSERT_EQ(removed, 1);
    std::string error, failed;
    EXPECT_FALSE(set.Commit(&error, &failed));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(failed, folder + "c.DAY");
    EXPECT_EQ(set.Size(), 0u);
    EXPECT_EQ(FolderContents(folder), before);
  }
}
