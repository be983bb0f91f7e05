// Screen 1's facility toilet detail (use, users, rows through the in-cell combos, typed row
// values, row and detail deletion) and the month-by-month grid.
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

#include "screen1_fixture.h"

using namespace s1test;

namespace {

// The facility of the sample "SAMPLE_FACILITY.HVS" before its toilet detail.
std::vector<std::string> FacilityCase() {
  return {Rec("№1000<SS1>             施設の試験"),
          Rec("№1100<NN8>                    2       4       5       0       0       0       0       0"),
          Rec("№1100<SS4> 2   2   3   静岡県          浜松市          浜松"),
          Rec("№2100<VV8>                800.0   600.0    0.85       0       0       0       0       0"),
          Rec("№3100<VV8>                 5000   10000   20000   30000   40000   60000   80000  100000"),
          Rec("№4100<NS4>               3施設          0              0              0"),
          Rec("№4100<VV8>     2   2      100.0       1     0.3    13.0     2.8     5.0       0    1790"),
          Rec("№5100<VV8>                  3.0     0.5       0       0       0       0       0       0")};
}

// The lines of a label in the installed sample with toilet detail.
std::string SampleLine(const std::string& samplePath, int label, const char* tag) {
  std::vector<std::string> lines;
  EXPECT_TRUE(platform::ReadTextLines(samplePath, lines));
  const std::string key = S("№") + std::to_string(label) + tag;
  for (const std::string& l : lines)
    if (l.compare(0, key.size(), key) == 0) return l;
  return std::string();
}

class Screen1Detail : public Screen1Test {
 protected:
  // One detail row through its three in-cell combos.
  void AddRow(int row, int fixture, int sex, int type) {
    ClickCell(screen->STRG_A_1, 1, row);
    ASSERT_TRUE(screen->CBOX_A_2->isVisible());
    Choose(screen->CBOX_A_2, fixture);
    ClickCell(screen->STRG_A_1, 2, row);
    Choose(screen->CBOX_A_3, sex);
    ClickCell(screen->STRG_A_1, 3, row);
    Choose(screen->CBOX_A_4, type);
  }
};

TEST_F(Screen1Detail, RowsTakeUsersUsesAndLitresFromTheTables) {
  app::THARV1Form& s = Open();
  UseCase(FacilityCase());
  ASSERT_TRUE(s.PNL4_3->isVisible());
  s.SBTN4_2->click();
  uitest::Pump();
  ASSERT_TRUE(s.PNL_A->isVisible());
  EXPECT_FALSE(s.GBOX4->isEnabled());  // the groups wait while the panel is open
  EXPECT_FALSE(s.STRG_A_1->isEnabled());  // no use yet

  Choose(s.CBOX_A_1, 0);  // 事務所
  EXPECT_TRUE(s.STRG_A_1->isEnabled());
  TypeInto(s.EDIT_A_1, "120");
  TypeInto(s.EDIT_A_2, "80");
  AddRow(1, 0, 0, 1);  // 大便器（洋式）, 男性, 節水型
  AddRow(2, 0, 1, 1);  // 大便器（洋式）, 女性, 節水型
  AddRow(3, 1, 0, 1);  // 小便器, 男性, 節水型

  // The same records as the installed sample case that was written with these choices.
  const std::string sample = tree.Path("CAL/HVS/SAMPLE_FACILITY.HVS");
  for (int label : {4201, 4202, 4203}) EXPECT_EQ(U(Line(label, "<NSV4>")), U(SampleLine(sample, label, "<NSV4>")));
  EXPECT_EQ(U(Line(4200, "<NSV6>")), U(SampleLine(sample, 4200, "<NSV6>")));
  EXPECT_EQ(U(Line(4200, "<VV8>")), U(SampleLine(sample, 4200, "<VV8>")));
  EXPECT_EQ(U(s.STRG_A_1->Cells(1, 3)), "小便器");
  EXPECT_EQ(U(s.STRG_A_2->Cells(3, 2)), "    1920");
  EXPECT_EQ(s.LBL_A_N1->text().toStdString(), "施設利用者人数 ： (男)120＋(女)80 ＝ (合計) 200 人");
  EXPECT_FALSE(s.LBL_A_N3->isVisible());

  // With detail rows the summary toilet fields are off, the detail totals count.
  s.SBTN_A_X->click();
  uitest::Pump();
  EXPECT_FALSE(s.PNL_A->isVisible());
  EXPECT_FALSE(s.EDIT4_3->isEnabled());
  EXPECT_FALSE(s.RBTN4_3_2->isEnabled());
  EXPECT_EQ(s.LBL4_TTL->text().toStdString(), "     3,552");  // 288 + 1,920 + 1,344
  EXPECT_TRUE(s.CheckInputComplete(false)) << U(s.MissingItem());
}

TEST_F(Screen1Detail, TypedRowValuesStayAndRowsAreDeletedAndRenumbered) {
  app::THARV1Form& s = Open();
  std::vector<std::string> lines;
  ASSERT_TRUE(platform::ReadTextLines(tree.Path("CAL/HVS/SAMPLE_FACILITY.HVS"), lines));
  UseCase(std::vector<std::string>(lines.begin() + 1, lines.end()));
  s.SBTN4_2->click();
  uitest::Pump();

  // A row's uses typed over: value 4 and the totals follow, the other values stay.
  ClickCell(s.STRG_A_2, 1, 1);
  ASSERT_TRUE(s.EDIT_A_3->isVisible());
  EXPECT_EQ(fw::Input.InputCode, 4301);
  uitest::TypeOver("0.5");
  uitest::Enter();
  uitest::Pump();
  EXPECT_FALSE(s.EDIT_A_3->isVisible());
  EXPECT_EQ(U(Line(4201, "<NSV4>")), U(Rec("№4201<NSV4>1   1   2     1大便器（洋式）                  120.0     0.5     8.0     480")));
  EXPECT_EQ(U(Line(4200, "<VV8>")),
            U(Rec("№4200<VV8> 2   1   3        200    1.75     8.0    2400     120    2.80     4.0    1344")));

  // Users and litres of a row typed over the same way.
  ClickCell(s.STRG_A_2, 0, 2);
  EXPECT_EQ(fw::Input.InputCode, 4300);
  uitest::TypeOver("100");
  uitest::Enter();
  ClickCell(s.STRG_A_2, 2, 2);
  EXPECT_EQ(fw::Input.InputCode, 4302);
  uitest::TypeOver("6");
  uitest::Enter();
  uitest::Pump();
  EXPECT_EQ(U(Line(4202, "<NSV4>")), U(Rec("№4202<NSV4>1   2   2     1大便器（洋式）                  100.0     3.0     6.0    1800")));
  ClickCell(s.STRG_A_2, 2, 2);
  uitest::TypeOver("51");  // litres per flush: 0 to 50
  uitest::Enter();
  uitest::Pump();
  EXPECT_EQ(U(fw::ErrorText), "＜水使用量＞の入力範囲は 0 ～ 50 です。");
  EXPECT_EQ(U(s.STRG_A_2->Cells(2, 2)), "     6.0");
  ClickCell(s.STRG_A_2, 0, 2);
  uitest::TypeOver("80");
  uitest::Enter();
  ClickCell(s.STRG_A_2, 2, 2);
  uitest::TypeOver("8");
  uitest::Enter();
  uitest::Pump();

  // A row can only follow the filled ones: row 5 selects row 4.
  ClickCell(s.STRG_A_1, 1, 5);
  uitest::Pump();
  EXPECT_EQ(s.STRG_A_1->Row(), 4);

  // Deleting row 1 moves the rows below up one number.
  fw::CloseActiveEditor();
  ClickCell(s.STRG_A_1, 1, 1);
  s.SBTN_A_1->click();
  uitest::Pump();
  EXPECT_EQ(U(ui.shown.back().text), "この１行を削除しますか？");
  EXPECT_EQ(U(Line(4201, "<NSV4>")), U(Rec("№4201<NSV4>1   2   2     1大便器（洋式）                   80.0     3.0     8.0    1920")));
  EXPECT_EQ(U(Line(4202, "<NSV4>")), U(Rec("№4202<NSV4>2   1   2     2小便器                          120.0     2.8     4.0    1344")));
  EXPECT_FALSE(Has(4203));
  EXPECT_EQ(U(Line(4200, "<VV8>")),
            U(Rec("№4200<VV8> 1   1   2         80    3.00     8.0    1920     120    2.80     4.0    1344")));
  EXPECT_TRUE(s.LBL_A_N3->isVisible());  // 80 users at WC pans, 200 in the facility

  // A new use with rows asks first; no keeps the old use and the rows.
  fw::StringList before = fw::CalcData;
  ui.answers.push_back(platform::ModalResult::No);
  Choose(s.CBOX_A_1, 2);  // 学校
  EXPECT_EQ(U(ui.shown.back().text), "用途が変更になったので、トイレの詳細入力データを削除してもいいですか？");
  EXPECT_EQ(fw::CalcData, before);
  EXPECT_EQ(U(s.CBOX_A_1->Text()), "  1:事務所");

  // The whole detail goes back to the summary figures.
  s.SBTN_A_2->click();
  uitest::Pump();
  EXPECT_EQ(U(ui.shown.back().text), "トイレ全体の〔詳細データ〕を削除して、〔概略データ〕で計算しますか？");
  EXPECT_FALSE(fw::LabelExists(fw::CalcData, S("№42")));
  EXPECT_FALSE(s.PNL_A->isVisible());
  EXPECT_TRUE(s.EDIT4_3->isEnabled());
  EXPECT_EQ(s.LBL4_TTL->text().toStdString(), "     1,990");  // 1,790 + 200
}

TEST_F(Screen1Detail, AHouseHasNoToiletDetail) {
  app::THARV1Form& s = Open();
  std::vector<std::string> lines;
  ASSERT_TRUE(platform::ReadTextLines(tree.Path("CAL/HVS/SAMPLE_FACILITY.HVS"), lines));
  UseCase(std::vector<std::string>(lines.begin() + 1, lines.end()));
  ClickRadio(s.RBTN4_1);  // yes, then the defaults
  EXPECT_FALSE(fw::LabelExists(fw::CalcData, S("№42")));
  EXPECT_EQ(U(Line(4100, "<NS4>")), U(Rec("№4100<NS4>               1戸建住宅      0              0              0")));
  EXPECT_FALSE(s.PNL4_3->isVisible());
}

TEST_F(Screen1Test, MonthGridStoresAMonthAndItsMean) {
  app::THARV1Form& s = Open();
  UseCase(HouseCase());
  TypeInto(s.EDIT4_11, "洗車");
  TypeInto(s.EDIT4_7, "60");
  EXPECT_EQ(s.SBTN4_3->text().toStdString(), "変動なし　");
  s.SBTN4_3->click();
  uitest::Pump();
  ASSERT_TRUE(s.PNL_M->isVisible());
  EXPECT_EQ(U(s.STRG_M->Cells(0, 1)), "散水");
  EXPECT_EQ(U(s.STRG_M->Cells(13, 1)), "     60");
  EXPECT_EQ(U(s.STRG_M->Cells(0, 2)), "洗車");
  EXPECT_EQ(U(s.STRG_M->Cells(13, 2)), "");  // no months for a use of 0

  ClickCell(s.STRG_M, 7, 1);
  ASSERT_TRUE(s.EDIT_M->isVisible());
  EXPECT_EQ(fw::Input.InputCode, 9101);
  uitest::TypeOver("120");
  uitest::Enter();
  uitest::Pump();
  EXPECT_EQ(U(Line(9101, "<HH12>")),
            U(Rec("№9101<HH12>41             3C   3C   3C   3C   3C   3C   78   3C   3C   3C   3C   3C")));
  EXPECT_EQ(U(s.STRG_M->Cells(7, 1)), "    120");
  EXPECT_EQ(U(s.STRG_M->Cells(13, 1)), "     65");  // (11 x 60 + 120) / 12

  // A use without months and the mean column take no editor.
  ClickCell(s.STRG_M, 3, 2);
  EXPECT_FALSE(s.EDIT_M->isVisible());
  ClickCell(s.STRG_M, 13, 1);
  EXPECT_FALSE(s.EDIT_M->isVisible());

  s.SBTN_M_X->click();
  uitest::Pump();
  EXPECT_FALSE(s.PNL_M->isVisible());
  EXPECT_EQ(s.SBTN4_3->text().toStdString(), "変動あり　");
}

}  // namespace
