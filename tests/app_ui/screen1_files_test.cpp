// Screen 1 and the case's file: "共通" (the title as the file name), the input listing, and a
// value that is saved and read back.
#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

#include "app/ui/screen2.h"
#include "screen1_fixture.h"

using namespace s1test;

namespace {

std::string FileBytes(const std::string& path) {
  std::string bytes;
  platform::ReadFileBytes(path, bytes);
  return bytes;
}

TEST_F(Screen1Test, CommonNameSavesUnderTheTitleBeforeTheOldFileGoes) {
  app::THARV1Form& s = Open();
  EXPECT_FALSE(s.CBTN_Com->isEnabled());  // never for the sample
  UseCase(HouseCase());
  const std::string old = app::CalcFilePath;
  ASSERT_TRUE(form->SaveCalcFile());
  TypeInto(s.EDIT0_1, "浜松の家");
  ASSERT_TRUE(s.CBTN_Com->isVisible());
  ASSERT_TRUE(s.CBTN_Com->isEnabled());
  const std::string picture = tree.Path("CAL/HVS/浜松の家(1).EMF");
  ASSERT_TRUE(platform::WriteFileBytesAtomic(picture, "emf"));

  s.CBTN_Com->click();  // yes, then the information
  uitest::Pump();
  const std::string renamed = tree.Path("CAL/HVS/浜松の家.HVS");
  EXPECT_EQ(app::CalcFilePath, renamed);
  EXPECT_FALSE(platform::FileExists(old));
  EXPECT_FALSE(platform::FileExists(picture));
  // The new file holds the case as edited (the title typed after the last save).
  std::vector<std::string> saved;
  ASSERT_TRUE(platform::ReadTextLines(renamed, saved));
  EXPECT_NE(std::find(saved.begin(), saved.end(), Rec("№1000<SS1>             浜松の家")), saved.end());
  EXPECT_EQ(fw::DataState.Modified, 0);
  EXPECT_TRUE(s.CBTN_Com->isChecked());
  EXPECT_FALSE(s.CBTN_Com->isEnabled());
}

TEST_F(Screen1Test, CommonNameRefusesATitleThatIsNoFileName) {
  app::THARV1Form& s = Open();
  UseCase(HouseCase());
  ASSERT_TRUE(form->SaveCalcFile());
  const std::string old = app::CalcFilePath;
  const std::string before = FileBytes(old);
  TypeInto(s.EDIT0_1, "A/B:C");
  ASSERT_TRUE(s.CBTN_Com->isEnabled());
  s.CBTN_Com->click();
  uitest::Pump();
  EXPECT_EQ(app::CalcFilePath, old);
  EXPECT_EQ(FileBytes(old), before);  // the old file stays as it was
  EXPECT_FALSE(s.CBTN_Com->isChecked());
}

TEST_F(Screen1Test, InputListingOfTheSample) {
  app::THARV1Form& s = Open();
  const std::vector<std::string> listing = s.InputListing();
  std::vector<std::string> text;
  for (const std::string& l : listing) text.push_back(U(l));
  const std::vector<std::string> expected = {
      "【雨水利用シミュレーション Ver2.00】入力データ",
      " ",
      "　表題　　　　サンプル：戸建住宅の雨水利用（静岡県浜松市）",
      " ",
      "＜所在データ＞",
      "　設置場所  　都道府県名：静岡県      市町村名：浜松市",
      "　気象データ  観測地点名：浜松",
      " ",
      "＜集水データ＞",
      "　全屋根面積     120.0 ㎡   （水平投影面積）",
      "　集水面積       100.0 ㎡   （水平投影面積）",
      "　流出係数        0.90      （屋根面は0.85～0.95）",
      " ",
      "＜降水データ＞",
      "　降雪判定　　  3.0 ℃以下（気温2～3℃で雪）",
      "　無効降水量　  0.5 mm以下（初期降水カット）",
      " ",
      "＜利用データ＞",
      "　建物種別　　戸建住宅",
      "　世帯人数　    4.0 人   世帯数      1 世帯",
      "　雨水利用　　トイレ(大)：頻度  1.00 回/(日･人) 　水使用量 12.0 ﾘｯﾄﾙ/回",
      "　　　　　　　トイレ(小)：頻度  3.80 回/(日･人) 　水使用量  5.0 ﾘｯﾄﾙ/回",
      "　　　　　　　トイレ(大)の種類　ﾛｰﾀﾝｸ 従来型",
      "　　　　　　　トイレの雨水利用量　　     124 ﾘｯﾄﾙ/日",
      "　　　　　　　散水    の雨水利用量　      60 ﾘｯﾄﾙ/日",
      "　　　　　　　洗車    の雨水利用量　      20 ﾘｯﾄﾙ/日",
      "　　　　　　　池補給  の雨水利用量　      10 ﾘｯﾄﾙ/日",
      "　　　　　　　全体の雨水利用量　　　     214 ﾘｯﾄﾙ/日　（合計）",
      "　　　　　　　トイレ以外の季節変動　      90 ﾘｯﾄﾙ/日　（平均）",
      "　　　　　　　　１月    50 ２月    50 ３月    70 ４月    90 ５月    90 ６月   110",
      "　　　　　　　　７月   150 ８月   150 ９月   110 10月    90 11月    70 12月    50",
      " ",
      "＜貯水データ＞",
      "　基本貯水容量  1,000.0 リットル/(基本単位) （1,000㍑=1m3）",
  };
  EXPECT_EQ(text, expected);

  // The listing is kept beside the results as ".PRN" (no printer here: nothing printed).
  s.SBTN_Prnt->click();
  std::vector<std::string> file;
  ASSERT_TRUE(platform::ReadTextLines(app::ResultPrefix + ".PRN", file));
  EXPECT_EQ(file, listing);
}

TEST_F(Screen1Test, AChangedCatchmentIsKeptThroughSaveAndReopen) {
  app::THARV1Form& s = Open();
  // The sample is saved under a new name first (it is never written itself).
  const std::string path = tree.Path("CAL/HVS/MYHOUSE.HVS");
  form->FileDialog = [path](bool, const std::string&, const std::string&) { return std::optional<std::string>(path); };
  TypeInto(s.EDIT2_2, "90");
  form->ACT_SaveAsExecute();
  uitest::Pump();
  ASSERT_EQ(app::CalcFilePath, path);
  EXPECT_EQ(fw::DataState.Modified, 0);
  EXPECT_FALSE(s.LBL0_N2->isVisible());  // the note on saving goes with the save

  fw::CalcData.clear();
  ASSERT_TRUE(form->LoadCalcFile());
  form->ACT_CRTExecute(1);
  uitest::Pump();
  EXPECT_EQ(s.EDIT2_2->Text(), "    90.0");
  EXPECT_FLOAT_EQ(fw::GetVV8Value(fw::CalcData, 2100, 2), 90);
}

// Every successful save refreshes the screen's notes: "※計算を実行するのには、一度保存する必要
// があります。" goes, "未計算" comes for a complete case without results.
TEST_F(Screen1Test, EverySaveRefreshesTheNotesOnSavingAndCalculating) {
  app::RegisterScreen2();
  struct Path {
    const char* name;
    std::function<void(app::THARVForm&)> save;
  };
  const std::vector<Path> paths = {
      {"toolbar", [](app::THARVForm& w) { w.SBTN3->click(); }},
      {"menu", [](app::THARVForm& w) { w.MENU_Save->trigger(); }},
      {"exit dialog, save and go on", [](app::THARVForm& w) {
         w.ExitDialog = [] { return 4; };
         EXPECT_FALSE(w.close());
       }},
      // The run itself stops at once here (the installed tree has no weather files).
      {"screen 2 before a run", [](app::THARVForm& w) {
         w.ACT_CRTExecute(2);
         uitest::Pump();
         auto* s2 = qobject_cast<app::THARV2Form*>(w.ScreenForm(2));
         ASSERT_NE(s2, nullptr);
         s2->ExecuteClick();
       }},
  };
  app::THARV1Form& s = Open();
  tree.CopySample("CAL/HVS/WORK.HVS");
  for (const Path& p : paths) {
    form->ExitDialog = nullptr;
    app::CalcFilePath = tree.Path("CAL/HVS/WORK.HVS");
    ASSERT_TRUE(form->LoadCalcFile());
    form->ACT_CRTExecute(1);
    uitest::Pump();
    TypeInto(s.EDIT0_1, std::string("保存 ") + p.name);
    ASSERT_FALSE(s.LBL0_N2->isHidden()) << p.name;
    ASSERT_TRUE(s.LBL0_N3->isHidden()) << p.name;

    p.save(*form);
    uitest::Pump();
    EXPECT_EQ(fw::DataState.Modified, 0) << p.name;
    EXPECT_TRUE(s.LBL0_N2->isHidden()) << p.name;
    EXPECT_FALSE(s.LBL0_N3->isHidden()) << p.name;
  }
}

}  // namespace
