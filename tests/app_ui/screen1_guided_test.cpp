// Screen 1's guided entry: which groups and masks show as the blocks appear, and the
// completeness check in its order with its messages.
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

#include "screen1_fixture.h"

using namespace s1test;

namespace {

TEST_F(Screen1Test, GroupsAndMasksOpenAsTheBlocksAppear) {
  app::THARV1Form& s = Open();
  UseCase({});
  for (QGroupBox* g : {s.GBOX1, s.GBOX2, s.GBOX3, s.GBOX4, s.GBOX5}) EXPECT_FALSE(g->isVisible());
  EXPECT_TRUE(s.LBL0_N1->isVisible());
  EXPECT_FALSE(s.SBTN_Prnt->isEnabled());
  EXPECT_TRUE(s.SBTN_Err->isVisible());

  TypeInto(s.EDIT0_1, "段階入力");
  for (QGroupBox* g : {s.GBOX1, s.GBOX2, s.GBOX3, s.GBOX4, s.GBOX5}) EXPECT_TRUE(g->isVisible());
  EXPECT_FALSE(s.LBL0_N1->isVisible());
  EXPECT_TRUE(s.SBTN_Prnt->isEnabled());
  EXPECT_TRUE(s.PNL2_M->isVisible());   // the catchment mask
  EXPECT_TRUE(s.PNL4_M1->isVisible());  // the first usage mask
  EXPECT_FALSE(s.EDIT2_2->isEnabled());
  EXPECT_FALSE(s.SBTN4_1->isVisible());  // no building type yet

  TypeInto(s.EDIT2_1, "100");
  EXPECT_FALSE(s.PNL2_M->isVisible());
  EXPECT_TRUE(s.PNL4_M1->isVisible());
  ClickRadio(s.RBTN4_2);  // 集合住宅: its defaults fill persons and households
  EXPECT_FALSE(s.PNL4_M1->isVisible());
  EXPECT_FALSE(s.PNL4_M2->isVisible());
  EXPECT_TRUE(s.SBTN4_1->isVisible());
  EXPECT_FALSE(s.PNL4_3->isVisible());
  EXPECT_EQ(s.EDIT4_2->Text(), "    10");

  TypeInto(s.EDIT4_1, "0");  // no persons: the second mask covers the toilets again
  EXPECT_TRUE(s.PNL4_M2->isVisible());
  EXPECT_FALSE(s.EDIT4_3->isEnabled());
  ClickRadio(s.RBTN4_3);
  EXPECT_TRUE(s.PNL4_3->isVisible());
  EXPECT_FALSE(s.PNL4_M2->isVisible());  // the facility defaults set persons again
}

TEST_F(Screen1Test, CompletenessIsCheckedInOrder) {
  app::THARV1Form& s = Open();
  struct Step {
    const char* record;   // the record added before the check
    const char* missing;  // the first gap after it ("" complete)
  };
  const Step steps[] = {
      {nullptr, "表題"},
      {"№1000<SS1>             完全性", "都道府県"},
      {"№1100<SS4> 2           静岡県", "市町村"},
      {"№1100<SS4> 2   2       静岡県          浜松市", "気象地点"},
      {"№1100<SS4> 2   2   3   静岡県          浜松市          浜松", "気象地点"},
      {"№1100<NN8>                    2       4       5       0       0       0       0       0", "全屋根面積"},
      {"№2100<VV8>                100.0       0       0       0       0       0       0       0", "集水面積"},
      {"№2100<VV8>                100.0    80.0       0       0       0       0       0       0", "流出係数"},
      {"№2100<VV8>                100.0    80.0    0.90       0       0       0       0       0", "建物種別"},
      {"№4100<NS4>               3施設          0              0              0", "世帯人数"},
      {"№4100<VV8>                100.0       0       0       0       0       0       0       0", "世帯数"},
      {"№4100<VV8>                100.0       1       0       0       0       0       0       0", "貯水容量"},
      {"№3100<VV8>                  250     500    1000    1500    2000    3000    4000    5000", ""},
      // A facility detail with a use but no rows would leave the calculation without toilets.
      {"№4200<NSV6>              1事務所           120      80       0       0       0       0", "トイレ詳細"},
      {"№4201<NSV4>1   1   2     1大便器（洋式）                  120.0     0.3     8.0       0", "トイレ詳細"},
      {"№4201<NSV4>1   1   2     1大便器（洋式）                  120.0     0.3     8.0     288", ""},
  };
  std::vector<std::string> records;
  for (const Step& step : steps) {
    if (step.record) {
      const std::string line = Rec(step.record);
      auto same = std::find_if(records.begin(), records.end(),
                               [&](const std::string& r) { return r.compare(0, 12, line, 0, 12) == 0; });
      if (same != records.end())
        *same = line;
      else
        records.push_back(line);
    }
    UseCase(records);
    const bool complete = s.CheckInputComplete(false);
    EXPECT_EQ(U(s.MissingItem()), step.missing) << (step.record ? step.record : "(empty)");
    EXPECT_EQ(complete, std::string(step.missing).empty());
    EXPECT_EQ(app::InputComplete, complete);
    EXPECT_EQ(s.SBTN_Err->isVisible(), !complete);
  }
}

TEST_F(Screen1Test, CompletenessDialogNamesTheGapAndFocusesItsControl) {
  app::THARV1Form& s = Open();
  UseCase(HouseCase());
  s.SBTN_Err->click();
  uitest::Pump();
  EXPECT_EQ(U(ui.shown.back().text), "＜都道府県＞に未入力があります。");
  EXPECT_EQ(uitest::Focused(), s.CBOX1_1);

  fw::CalcData = fw::StringList{fw::CalcData[0]};
  s.CheckInputComplete(true);
  uitest::Pump();
  EXPECT_EQ(U(ui.shown.back().text), "＜表題＞に未入力があります。");
  EXPECT_EQ(uitest::Focused(), s.EDIT0_1);

  // The sample case is complete.
  app::CalcFilePath = tree.Path("CAL/HVS/TEST_HVS.HVS");
  ASSERT_TRUE(form->LoadCalcFile());
  s.CheckInputComplete(true);
  EXPECT_EQ(U(ui.shown.back().text), "入力データは良さそうです。");
  EXPECT_TRUE(app::InputComplete);
}

TEST_F(Screen1Test, UsageShowsTotalMinimumNeedAndRatios) {
  app::THARV1Form& s = Open();  // the sample: 4 persons in 1 household, a tank of 1,000 litres
  EXPECT_EQ(s.LBL4_TTL->text().toStdString(), "       214");  // toilets 124 + further uses 90
  EXPECT_EQ(s.LBL4_MIN->text().toStdString(), "防災上の最低必要量＝ 4.0人×50㍑×３日分＝ 600㍑");
  EXPECT_TRUE(s.LBL4_MIN->isEnabled());
  EXPECT_EQ(s.LBL4_R1->text().toStdString(), "1.7 倍");
  EXPECT_EQ(s.LBL4_R2->text().toStdString(), "4.7 倍");
  EXPECT_EQ(s.SBTN4_3->text().toStdString(), "変動あり　");

  TypeInto(s.EDIT4_2, "0");
  EXPECT_EQ(s.LBL4_MIN->text().toStdString(), "防災上の最低必要量＝ 0.0人×50㍑×３日分＝ 0㍑");
  EXPECT_FALSE(s.LBL4_MIN->isEnabled());  // dimmed
  EXPECT_EQ(s.LBL4_R1->text().toStdString(), "");
}

TEST(Screen1Rules, RatioDecimalsFollowItsSize) {
  struct Case {
    double numerator, divisor;
    const char* text;
  };
  const Case cases[] = {{1000, 50, "20 倍"}, {1000, 100, "10 倍"}, {1000, 600, "1.7 倍"},
                        {600, 600, "1.0 倍"}, {100, 600, "0.17 倍"}, {1000, 0, ""}};
  for (const Case& c : cases) EXPECT_EQ(U(app::RatioText(c.numerator, c.divisor)), c.text) << c.numerator << "/" << c.divisor;
}

TEST_F(Screen1Test, HintsFollowTheEnteredField) {
  app::THARV1Form& s = Open();
  UseCase(HouseCase());
  uitest::Click(s.EDIT2_3);
  EXPECT_NE(U(form->SBAR->PanelText(0)).find("雨水を集める屋根からの流出係数"), std::string::npos);
  uitest::Click(s.EDIT4_8);
  EXPECT_NE(U(form->SBAR->PanelText(0)).find("＜その他１＞の雨水使用量"), std::string::npos);
}

}  // namespace
