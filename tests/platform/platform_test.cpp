#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
