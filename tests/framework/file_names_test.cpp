#include "framework/file_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/fake_status_bar.h"
#include "framework/folders.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace {

using platform::DialogKind;
using platform::ModalResult;
using testsupport::S;
using testsupport::U;

class FileNamesTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = {fw::BaseDrive, fw::BaseFolder, fw::DatDir, fw::ResultDir};
    fw::BaseDrive = "C:";
    fw::BaseFolder = temp.inside().substr(2);
    fw::DatDir = temp.inside();  // no error table: notes use the unregistered-error text
    fw::ResultDir.clear();
    ui.stepMs = 1000;  // error notes end after a few fake rounds
    fw::AskTextHook = nullptr;
    fw::CommitActiveEditHook = nullptr;
  }
  void TearDown() override {
    fw::BaseDrive = saved_[0];
    fw::BaseFolder = saved_[1];
    fw::DatDir = saved_[2];
    fw::ResultDir = saved_[3];
    fw::AskTextHook = nullptr;
    fw::CommitActiveEditHook = nullptr;
    fw::Input = fw::InputControlState{};
  }
  std::string Touch(const std::string& relUtf8, const std::string& bytes = "x\r\n") {
    const std::string p = temp.Path(relUtf8);
    SplitAndMake(p);
    EXPECT_TRUE(platform::WriteFileBytesAtomic(p, bytes));
    return p;
  }
  static void SplitAndMake(const std::string& path) {
    fw::SplitFileName(path);
    platform::MakeFolders(fw::FileDir);
  }
  std::vector<std::string> Listed() const {
    const auto& t = fw::TableBuffer;
    return std::vector<std::string>(t.FileNames.begin() + 1, t.FileNames.begin() + 1 + t.FileNamesCount);
  }
  std::string ShownText(size_t i) const { return i < ui.shown.size() ? U(ui.shown[i].text) : std::string(); }

  testsupport::TempFolder temp;
  testsupport::FakeUi ui;
  std::vector<std::string> saved_;
};

TEST_F(FileNamesTest, SplitFileNameSetsTheCurrentFileParts) {
  fw::SplitFileName("C:\\Work\\sub\\B.c.txt");
  EXPECT_EQ(fw::FilePath, "C:\\Work\\sub\\B.c.txt");
  EXPECT_EQ(fw::FileDrive, "C:");
  EXPECT_EQ(fw::FileDir, "C:\\Work\\sub\\");
  EXPECT_EQ(fw::FileDirNoDrive, "\\WORK\\SUB\\");
  EXPECT_EQ(fw::FileNameExt, "B.c.txt");
  EXPECT_EQ(fw::FileExt, ".TXT");
  EXPECT_EQ(fw::FileBaseName, "B");

  // 表 is 0x95 0x5C: its trail byte is no separator, in the folder or in the name.
  fw::SplitFileName("C:\\" + S("表") + "\\X");
  EXPECT_EQ(fw::FileDir, "C:\\" + S("表") + "\\");
  EXPECT_EQ(fw::FileNameExt, "X");
  EXPECT_EQ(fw::FileBaseName, "X");
  EXPECT_EQ(fw::FileExt, "");
  fw::SplitFileName("C:\\D\\" + S("表.HVS"));
  EXPECT_EQ(fw::FileDir, "C:\\D\\");
  EXPECT_EQ(fw::FileBaseName, S("表"));

  // "..." stands for the base folder.
  fw::SplitFileName("C:...CAL\\A.HVS");
  EXPECT_EQ(fw::FileDir, temp.inside() + "CAL\\");

  fw::SplitFileName("");
  EXPECT_EQ(fw::FileDir, "");
  EXPECT_EQ(fw::FileNameExt, "");
  EXPECT_EQ(fw::FileBaseName, "");
}

TEST_F(FileNamesTest, StoredFormRoundTrips) {
  const std::string full = temp.inside() + "CAL\\HVS\\" + S("雨水") + "\\" + S("雨水.HVS");
  const std::string stored = "C:...CAL\\HVS\\" + S("･･･") + "\\" + S("雨水.HVS");
  EXPECT_EQ(fw::AbbreviatePath(full), stored);
  EXPECT_EQ(fw::NormalizePath(stored), full);
  EXPECT_EQ(fw::FileBaseName, S("雨水"));
  // Outside the base folder only the same-name folder is shortened.
  EXPECT_EQ(fw::AbbreviatePath("C:\\x\\CASE\\CASE.HVS"), "C:\\x\\" + S("･･･") + "\\CASE.HVS");
  EXPECT_EQ(fw::ShortenPath("C:\\x\\CASE\\OTHER.HVS"), "C:\\x\\CASE\\OTHER.HVS");
  EXPECT_EQ(fw::ShortenPath("\\x\\CASE\\CASE.HVS"), "\\x\\CASE\\CASE.HVS");  // no drive: unchanged
}

TEST_F(FileNamesTest, PathDelimiters) {
  EXPECT_EQ(fw::IncludePathDelimiter("C:\\A"), "C:\\A\\");
  EXPECT_EQ(fw::IncludePathDelimiter("C:\\A\\"), "C:\\A\\");
  EXPECT_EQ(fw::IncludePathDelimiter("C:\\" + S("表")), "C:\\" + S("表") + "\\");  // trail 0x5C is no delimiter
  EXPECT_EQ(fw::IncludePathDelimiter("A"), "A");                                    // no drive: unchanged
  EXPECT_EQ(fw::ExcludePathDelimiter("C:\\A\\"), "C:\\A");
  EXPECT_EQ(fw::ExcludePathDelimiter("C:\\" + S("表")), "C:\\" + S("表"));
  EXPECT_EQ(fw::OpenDialogFilter("C:\\A\\B.hvs"), S("現在の拡張子(*.hvs)|*.hvs|"));
  EXPECT_EQ(fw::OpenDialogFilter("C:\\A\\B"), S("全てのファイル(*.*)|*.*|"));
}

TEST_F(FileNamesTest, FileSplitAllKeepsEightLevels) {
  std::array<std::string, 9> levels;
  int count = 0;
  std::string ext, base, drive;
  fw::FileSplit_All("C:\\A\\B\\C.TXT", levels, count, ext, base, drive);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(levels[0], "C:");
  EXPECT_EQ(levels[2], "B");
  EXPECT_EQ(ext, ".TXT");
  EXPECT_EQ(base, "C");
  EXPECT_TRUE(ui.shown.empty());

  fw::FileSplit_All("C:\\1\\2\\3\\4\\5\\6\\7\\8\\9\\F.TXT", levels, count, ext, base, drive);
  EXPECT_EQ(count, 8);
  EXPECT_EQ(levels[8], "8");
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_NE(ShownText(0).find("８階層以上"), std::string::npos);
}

TEST_F(FileNamesTest, IsValidFileNameNamesTheFaultyItem) {
  struct Case {
    std::string path;
    bool valid;
    const char* message;  // part of the warning
  };
  const std::vector<Case> cases = {
      {"C:\\A\\B.HVS", true, ""},
      {"B.HVS", true, ""},  // gets "C:\" in front
      {"C:\\A\\B;X.HVS", false, "名前部分の中に不正な文字<*?\"<>|;/.:>"},
      {"C:\\A*\\B.HVS", false, "ディレクトリ名の中に不正な文字"},
      {"C:\\A\\B.H?S", false, "拡張子名の中に不正な文字<*?\"<>|;/:>"},
      {"C:\\A\\\\B.HVS", false, "ファイル名が正しくありません。"},
      {"C:\\A\\B.C.HVS", false, "ファイル名が正しくありません。"},
      {"C:B.HVS", false, "ファイル名が正しくありません。"},
  };
  for (const Case& c : cases) {
    ui.shown.clear();
    EXPECT_EQ(fw::IsValidFileName(c.path, true), c.valid) << c.path;
    if (c.valid) {
      EXPECT_TRUE(ui.shown.empty()) << c.path;
    } else {
      ASSERT_EQ(ui.shown.size(), 1u) << c.path;
      EXPECT_NE(ShownText(0).find(c.message), std::string::npos) << c.path << " -> " << ShownText(0);
      EXPECT_EQ(ui.shown[0].kind, DialogKind::Warning);
    }
  }
  ui.shown.clear();
  EXPECT_FALSE(fw::IsValidFileName("C:\\A\\B;X.HVS", false));
  EXPECT_TRUE(ui.shown.empty());
}

TEST_F(FileNamesTest, FileCheckModes) {
  testsupport::StatusBarScope status;
  const std::string there = Touch("CAL/A.HVS");
  EXPECT_TRUE(fw::FileCheck(there, 1));
  EXPECT_TRUE(fw::FileCheck("C:...CAL\\A.HVS", 1));  // stored form is expanded first
  EXPECT_TRUE(fw::FileCheck("rf-anything", 1));
  EXPECT_TRUE(status.bar.panel0History.empty());

  const std::string missing = temp.Path("CAL/B.HVS");
  EXPECT_FALSE(fw::FileCheck(missing, 0));
  EXPECT_FALSE(fw::FileCheck(temp.inside() + S("なし.???"), 1));  // the placeholder: silent
  EXPECT_FALSE(fw::FileCheck("", 2));
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_TRUE(status.bar.panel0History.empty());

  EXPECT_FALSE(fw::FileCheck(missing, 1));
  EXPECT_TRUE(status.bar.Showed("<C:...CAL\\B.HVS" + S(">が見つかりません。(ﾌｧｲﾙﾁｪｯｸ)")));
  EXPECT_FALSE(fw::FileCheck(missing, 2));
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].text, "<" + missing + ">\r\r" + S("ファイルがみつかりません。"));
  EXPECT_EQ(ui.shown[0].kind, DialogKind::Information);
}

TEST_F(FileNamesTest, KindsSizesAndTextFiles) {
  const std::string plain = Touch("a.dat", "line\r\nnext");
  const std::string binary = Touch("b.dat", std::string("\x01\x02\n\x03", 4));
  const std::string noExt = Touch("README", "");
  const std::string hidden = Touch(".h.dat");
  const std::string locked = Touch("r.dat");
  ASSERT_TRUE(platform::SetReadOnly(locked, true));

  EXPECT_EQ(fw::FileKindText(""), "NoFile");
  EXPECT_EQ(fw::FileKindText(temp.Path("none.dat")), "NoFile");
  EXPECT_EQ(fw::FileKindText(temp.inside()), "Directory");
  EXPECT_EQ(fw::FileKindText(hidden), "Hidden");
  EXPECT_EQ(fw::FileKindText(locked), "ReadOnly");
  EXPECT_EQ(fw::FileKindText(plain), "Archive");

  EXPECT_EQ(fw::FileSizeChecked(plain, false), 10);
  EXPECT_EQ(fw::FileNameExt, "a.dat");
  EXPECT_EQ(fw::FileSizeChecked(hidden, false), 0);
  EXPECT_EQ(fw::FileSizeChecked(temp.Path("none.dat"), false), 0);

  EXPECT_TRUE(fw::IsTextFile(plain));
  EXPECT_FALSE(fw::IsTextFile(binary));
  EXPECT_TRUE(fw::IsTextFile(noExt));  // no extension counts as text
  EXPECT_TRUE(fw::IsTextFile("C:\\x\\NOTES.txt"));
  EXPECT_TRUE(fw::IsTextFile(S("C:\\x\\(新規).HVS")));

  int64_t when = -1;
  std::string text;
  EXPECT_TRUE(fw::FileDateText(plain, when, text));
  EXPECT_GT(when, 0);
  EXPECT_EQ(text.size(), 19u);
  EXPECT_FALSE(fw::FileDateText(temp.Path("none.dat"), when, text));
  EXPECT_EQ(when, 0);
  EXPECT_EQ(text, "");
}

TEST_F(FileNamesTest, MatchesMaskFollowsWindowsRules) {
  struct Case {
    const char* name;  // UTF-8
    const char* mask;
    bool match;
  };
  const std::vector<Case> cases = {
      {"README", "*.*", true},
      {"README", "*.", true},
      {"a.txt", "*.", false},
      {"a.HVS", "*.hvs", true},
      {"a.hvs.bak", "*.hvs", false},
      {"HarvSim(1981).DAY", "*HARVSIM*.*", true},
      {"FILE_NEM.DAT", "*HarvSim*.*", false},
      {"ＡＢ.txt", "??.TXT", true},  // a double-byte character is one character
      {"ＡＢ.txt", "?.TXT", false},
      {"＜RESULT＞", "＜result＞", true},
      {"ａ.txt", "Ａ.txt", false},  // full-width letters keep their case
  };
  for (const Case& c : cases) EXPECT_EQ(fw::MatchesMask(S(c.name), S(c.mask)), c.match) << c.name << " " << c.mask;
}

TEST_F(FileNamesTest, ListFilesWithWildcardsAndShiftJisNames) {
  for (const char* name : {"b.hvs", "A.HVS", "c.txt", "表.HVS", ".hidden.HVS", "README"}) Touch(name);
  Touch("＜RESULT＞/HarvSim(1981).DAY");
  Touch("＜RESULT＞/HarvSim(FULL).DAT");
  Touch("＜RESULT＞/FILE_NEM.DAT");

  fw::ListFiles(temp.inside(), "*", ".HVS");
  EXPECT_EQ(Listed(), (std::vector<std::string>{"A.HVS", "b.hvs", S("表.HVS")}));
  EXPECT_EQ(fw::TableBuffer.FileNamesLongest, 40);

  fw::ListFiles(temp.inside(), "?.x", ".HVS");  // the name counts up to its first "."
  EXPECT_EQ(Listed().size(), 3u);

  fw::ListFiles(temp.inside() + fw::ResultFolderName(), "*", "HarvSim*.*");
  EXPECT_EQ(Listed(), (std::vector<std::string>{"HarvSim(1981).DAY", "HarvSim(FULL).DAT"}));

  fw::ListFiles(temp.inside(), "*", "*.*");  // folders and hidden files are not listed
  EXPECT_EQ(Listed(), (std::vector<std::string>{"A.HVS", "b.hvs", "c.txt", "README", S("表.HVS")}));

  fw::ListFiles(temp.Path("missing"), "*", "*.*");
  EXPECT_EQ(fw::TableBuffer.FileNamesCount, 0);
}

TEST_F(FileNamesTest, DeleteFilesConfirmAsksForEachFile) {
  const std::string a = Touch("d/a.tmp"), b = Touch("d/b.tmp"), c = Touch("d/c.tmp"), keep = Touch("d/k.dat");
  ui.answers = {ModalResult::Cancel, ModalResult::Yes, ModalResult::No};
  fw::DeleteFilesConfirm(temp.Path("d"), ".tmp", true);
  EXPECT_EQ(ui.shown.size(), 3u);
  EXPECT_TRUE(platform::FileExists(a));  // Cancel skips the file like No, and the next is still asked
  EXPECT_FALSE(platform::FileExists(b));
  EXPECT_TRUE(platform::FileExists(c));
  EXPECT_TRUE(platform::FileExists(keep));

  ui.answers = {ModalResult::No};
  fw::DeleteFileConfirm(a, true);
  EXPECT_TRUE(fw::DialogCancel);
  EXPECT_TRUE(platform::FileExists(a));
  fw::DeleteFileConfirm(a, false);
  EXPECT_FALSE(fw::DialogCancel);
  EXPECT_FALSE(platform::FileExists(a));
  fw::DeleteFileConfirm(temp.Path("d/*.tmp"), false);  // masks are never deleted
  EXPECT_TRUE(platform::FileExists(c));
}

TEST_F(FileNamesTest, CreateFolderConfirm) {
  const std::string deep = temp.Path("n1/n2/n3") + "\\";
  ui.answers = {ModalResult::No};
  EXPECT_FALSE(fw::CreateFolderConfirm(deep, true));
  EXPECT_TRUE(fw::DialogCancel);
  EXPECT_FALSE(platform::FolderExists(deep));

  EXPECT_TRUE(fw::CreateFolderConfirm(deep, true));
  EXPECT_FALSE(fw::DialogCancel);
  EXPECT_TRUE(platform::FolderExists(deep));
  EXPECT_TRUE(fw::DirCheck(deep, false));
  EXPECT_FALSE(fw::DirCheck(temp.Path("none"), false));
  EXPECT_FALSE(fw::DirCheck("D:\\", false));  // only "C:" has a medium
  EXPECT_TRUE(fw::IsDiskReady("c:\\"));
  EXPECT_FALSE(fw::IsDiskReady("\\x"));
}

TEST_F(FileNamesTest, CheckSaveFolder) {
  EXPECT_TRUE(fw::CheckSaveFolder(temp.Path("CAL/HVS/A.HVS"), "\\CAL\\HVS\\"));
  EXPECT_TRUE(fw::CheckSaveFolder("C:\\elsewhere\\A.HVS", ""));
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_FALSE(fw::CheckSaveFolder("C:\\elsewhere\\A.HVS", "\\CAL\\HVS\\"));
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].text, S("指定場所 ： ") + temp.inside() + "CAL\\HVS\\\r\r" + S("保存場所 ： ") +
                                  "C:\\elsewhere\\\r\r" + S("この場所には保存できません。（指定以外）"));
}

TEST_F(FileNamesTest, ConfirmDiscardEditKeepsTheRefusal) {
  static int commits = 0;
  commits = 0;
  fw::CommitActiveEditHook = [] { ++commits; };
  fw::Input.InputMode = true;
  EXPECT_TRUE(fw::ConfirmDiscardEdit(false));
  EXPECT_EQ(commits, 1);
  EXPECT_TRUE(ui.shown.empty());

  ui.answers = {ModalResult::No, ModalResult::Ok};
  EXPECT_FALSE(fw::ConfirmDiscardEdit(true));  // the hint's OK must not turn "No" into yes
  EXPECT_FALSE(fw::DialogYes);
  EXPECT_EQ(fw::DialogAnswer, 2);
  ASSERT_EQ(ui.shown.size(), 2u);
  EXPECT_EQ(U(ui.shown[1].text), "一度、現在編集中のデータを保存して下さい。");

  ui.answers = {ModalResult::Yes};
  EXPECT_TRUE(fw::ConfirmDiscardEdit(true));
  ui.answers = {ModalResult::Cancel};
  EXPECT_FALSE(fw::ConfirmDiscardEdit(true));
  EXPECT_EQ(ui.shown.size(), 4u);
}

// The auxiliary input dialog stand-in: answers from a script.
struct ScriptedAsk {
  static inline bool accept = true;
  static inline std::string answer;
  static inline std::string lastPrompt;
  static bool Ask(const std::string&, const std::string& prompt, std::string& value) {
    lastPrompt = prompt;
    if (accept) value = answer;
    return accept;
  }
};

TEST_F(FileNamesTest, InputNewFileName) {
  fw::AskTextHook = &ScriptedAsk::Ask;
  struct Case {
    bool accept;
    const char* answer;
    const char* result;
    bool yes;
    size_t dialogs;
  };
  const std::vector<Case> cases = {
      {true, "NEW", "NEW", true, 0},
      {true, "", "(新規)", true, 0},
      {true, "a.b", "OLD", false, 1},  // forbidden character: warning, the current name stays
      {true, "x:y", "OLD", false, 1},
      {false, "NEW", "OLD", false, 0},
  };
  for (const Case& c : cases) {
    ui.shown.clear();
    ScriptedAsk::accept = c.accept;
    ScriptedAsk::answer = S(c.answer);
    EXPECT_EQ(U(fw::InputNewFileName("OLD")), c.result) << c.answer;
    EXPECT_EQ(fw::DialogYes, c.yes) << c.answer;
    EXPECT_EQ(ui.shown.size(), c.dialogs) << c.answer;
  }
  EXPECT_EQ(U(ScriptedAsk::lastPrompt), "現在の名前は<OLD>です。（拡張子不要）");
  ui.shown.clear();
  ScriptedAsk::accept = true;
  ScriptedAsk::answer = "a.b";
  fw::InputNewFileName("OLD");
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(U(ui.shown[0].text), "入力した文字列 ： a.b\r\r文字列中に不正な文字〔*?\"<>|;/.:〕があります。");

  // Without the input dialog the question offers the proposed name.
  fw::AskTextHook = nullptr;
  ui.answers = {ModalResult::Yes};
  EXPECT_EQ(fw::InputNewFileName("OLD"), "OLD");
  EXPECT_TRUE(fw::DialogYes);
}

TEST_F(FileNamesTest, ConfirmSaveFile) {
  fw::AskTextHook = &ScriptedAsk::Ask;
  ScriptedAsk::accept = true;
  const std::string current = Touch("CAL/CUR.HVS");
  ScriptedAsk::answer = "NEW";
  ui.answers = {ModalResult::Yes};
  EXPECT_TRUE(fw::ConfirmSaveFile(current));
  EXPECT_EQ(fw::FilePath, temp.Path("CAL/NEW.HVS"));
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].kind, DialogKind::Confirmation);
  EXPECT_NE(U(ui.shown[0].text).find("新しい入力ファイルとして保存しますか？"), std::string::npos);

  ui.shown.clear();
  ScriptedAsk::answer = "CUR";
  ui.answers = {ModalResult::No};
  EXPECT_FALSE(fw::ConfirmSaveFile(current));
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].kind, DialogKind::Warning);
  EXPECT_NE(U(ui.shown[0].text).find("既存入力ファイルに上書き保存してもいいですか？"), std::string::npos);

  ui.shown.clear();
  ScriptedAsk::answer = "bad;name";
  EXPECT_FALSE(fw::ConfirmSaveFile(current));  // the rejected name ends the question
  EXPECT_EQ(ui.shown.size(), 1u);
}

class FakeCheckBox final : public fw::CheckBoxControl {
 public:
  bool enabled = true, checked = true;
  bool IsEnabled() const override { return enabled; }
  bool IsChecked() const override { return checked; }
  void UncheckSilently() override { checked = false; }
};

TEST_F(FileNamesTest, ShareCalcAndFileNameWritesTheNewFileFirst) {
  const std::string old = Touch("CAL/OLD.HVS", "case data\r\n");
  FakeCheckBox box;
  std::string newFile;

  fw::ShareCalcAndFileName(&box, old, S("雨水"), newFile);  // Yes by default
  EXPECT_EQ(newFile, temp.Path("CAL/雨水.HVS"));
  EXPECT_FALSE(platform::FileExists(old));
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(newFile, bytes));
  EXPECT_EQ(bytes, "case data\r\n");
  EXPECT_TRUE(box.checked);
  EXPECT_EQ(U(ui.shown.back().text), "計算名とファイル名を共通にしました。");

  // A name taken, a name that is no file name, a No, an unchecked box: the file stays.
  const std::string current = newFile;
  Touch("CAL/TAKEN.HVS");
  for (const char* calcName : {"TAKEN", "a/b", "a\\b", "  "}) {
    box.checked = true;
    fw::ShareCalcAndFileName(&box, current, S(calcName), newFile);
    EXPECT_EQ(newFile, current) << calcName;
    EXPECT_FALSE(fw::DialogYes) << calcName;
    EXPECT_FALSE(box.checked) << calcName;
    EXPECT_TRUE(platform::FileExists(current)) << calcName;
  }
  box.checked = true;
  ui.answers = {ModalResult::No};
  fw::ShareCalcAndFileName(&box, current, "OTHER", newFile);
  EXPECT_EQ(newFile, current);
  EXPECT_FALSE(box.checked);

  const size_t asked = ui.shown.size();
  box.checked = false;
  fw::ShareCalcAndFileName(&box, current, "OTHER", newFile);
  EXPECT_EQ(ui.shown.size(), asked);
  EXPECT_EQ(newFile, current);
}

TEST_F(FileNamesTest, ResultRegistryRoundTrip) {
  const std::string calc = Touch("CAL/HVS/CASE.HVS");
  const std::string results = temp.Path("CAL/HVS/＜RESULT＞") + "\\";
  const std::string registry = results + "FILE_NEM.DAT";

  // No result folder yet: registering creates it with a one-row registry.
  fw::RegisterResultName(calc);
  EXPECT_TRUE(platform::FileExists(registry));
  EXPECT_TRUE(fw::LookupResultName(calc));
  EXPECT_FALSE(fw::LookupResultName(Touch("CAL/HVS/OTHER.HVS")));
  EXPECT_FALSE(fw::LookupResultName(temp.Path("CAL/HVS/GONE.HVS")));

  Touch("CAL/HVS/＜RESULT＞/HarvSim(1981).DAY");
  Touch("CAL/HVS/＜RESULT＞/HarvSim(1981-1995).YER");
  const std::string other = Touch("CAL/HVS/＜RESULT＞/notes.txt");
  fw::ResetResultFiles(calc, "HarvSim");
  fw::ListFiles(results, "*", "HarvSim*.*");
  EXPECT_EQ(fw::TableBuffer.FileNamesCount, 0);
  EXPECT_TRUE(platform::FileExists(other));
  EXPECT_FALSE(fw::LookupResultName(calc));
  ASSERT_TRUE(fw::DataLoad(registry));
  EXPECT_EQ(fw::TableBuffer.TableKeys[1], S("-<なし>-"));

  // ResultDir wins when set; a name longer than the registry's column widens it.
  fw::ResultDir = results;
  const std::string longName(60, 'L');
  const std::string longCalc = Touch("CAL/HVS/" + longName + ".HVS");
  fw::RegisterResultName(longCalc);
  EXPECT_TRUE(fw::LookupResultName(longCalc));
  EXPECT_FALSE(fw::LookupResultName(calc));

  // A missing registry in an existing folder is created by a reset.
  ASSERT_TRUE(platform::RemoveFile(registry));
  fw::ResetResultFiles(calc, "HarvSim");
  EXPECT_TRUE(platform::FileExists(registry));
}

}  // namespace
