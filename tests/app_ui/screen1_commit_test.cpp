// Screen 1 commits: what a typed value leaves in the store (the exact 88-byte record lines),
// the derived values, and the range and cross checks that refuse a value.
#include "screen1_fixture.h"

using namespace s1test;

namespace {

struct Expect {
  int label;
  const char* tag;
  const char* line;  // UTF-8 record line; nullptr: the record is absent
};

struct CommitCase {
  const char* control;  // objectName of the edit
  const char* typed;
  std::vector<Expect> expect;
};

class Screen1Commit : public Screen1Test, public ::testing::WithParamInterface<CommitCase> {};

TEST_P(Screen1Commit, TypedTextGivesTheseRecordLines) {
  const CommitCase& c = GetParam();
  app::THARV1Form& s = Open();
  UseCase(HouseCase());
  auto* edit = s.findChild<fw::TEditEx*>(c.control);
  ASSERT_NE(edit, nullptr) << c.control;
  TypeInto(edit, c.typed);
  for (const Expect& e : c.expect)
    EXPECT_EQ(U(Line(e.label, e.tag)), e.line ? U(Rec(e.line)) : std::string()) << c.control << " " << e.label << e.tag;
  EXPECT_EQ(fw::DataState.Modified, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, Screen1Commit,
    ::testing::Values(
        CommitCase{"EDIT0_1", "新しい表題", {{1000, "<SS1>", "№1000<SS1>             新しい表題"}}},
        CommitCase{"EDIT2_1",
                   "200",
                   {{2100, "<VV8>", "№2100<VV8>                200.0   120.0    0.90       0       0       0       0       0"}}},
        CommitCase{"EDIT2_2",
                   "100.5",
                   {{2100, "<VV8>", "№2100<VV8>                150.0   100.5    0.90       0       0       0       0       0"}}},
        CommitCase{"EDIT2_3",
                   "0.85",
                   {{2100, "<VV8>", "№2100<VV8>                150.0   120.0    0.85       0       0       0       0       0"}}},
        // A blank text is not range-checked: it stores 0.
        CommitCase{"EDIT2_3",
                   "",
                   {{2100, "<VV8>", "№2100<VV8>                150.0   120.0    0.00       0       0       0       0       0"}}},
        // The tank multiples.
        CommitCase{"EDIT3_1",
                   "1000",
                   {{3100, "<VV8>", "№3100<VV8>                  250     500    1000    1500    2000    3000    4000    5000"}}},
        // Persons, households and the toilet figures recompute the daily toilet use (value 8).
        CommitCase{"EDIT4_1",
                   "5",
                   {{4100, "<VV8>", "№4100<VV8>     1   1        5.0       1     1.0    12.0     3.8     5.0       0     155"}}},
        CommitCase{"EDIT4_2",
                   "2",
                   {{4100, "<VV8>", "№4100<VV8>     1   1        4.0       2     1.0    12.0     3.8     5.0       0     248"}}},
        CommitCase{"EDIT4_3",
                   "2",
                   {{4100, "<VV8>", "№4100<VV8>     1   1        4.0       1     2.0    12.0     3.8     5.0       0     172"}}},
        CommitCase{"EDIT4_4",
                   "8",
                   {{4100, "<VV8>", "№4100<VV8>     1   1        4.0       1     1.0     8.0     3.8     5.0       0     108"}}},
        CommitCase{"EDIT4_5",
                   "3",
                   {{4100, "<VV8>", "№4100<VV8>     1   1        4.0       1     1.0    12.0     3.0     5.0       0     108"}}},
        CommitCase{"EDIT4_6",
                   "4",
                   {{4100, "<VV8>", "№4100<VV8>     1   1        4.0       1     1.0    12.0     3.8     4.0       0     109"}}},
        // Sprinkling: its constant, the sum, and the same amount in every month (mean "3C").
        CommitCase{"EDIT4_7",
                   "60",
                   {{4100, "<WW8>", "№4100<WW8>                   60       0       0       0       0       0       0      60"},
                    {9101, "<HH12>", "№9101<HH12>3C             3C   3C   3C   3C   3C   3C   3C   3C   3C   3C   3C   3C"}}},
        // A further use also names the uses that have no name yet.
        CommitCase{"EDIT4_8",
                   "20",
                   {{4100, "<WW8>", "№4100<WW8>                    0      20       0       0       0       0       0      20"},
                    {9102, "<HH12>", "№9102<HH12>14             14   14   14   14   14   14   14   14   14   14   14   14"},
                    {4100, "<SS4>", "№4100<SS4>                             その他１        その他２"}}},
        CommitCase{"EDIT4_9",
                   "10",
                   {{4100, "<WW8>", "№4100<WW8>                    0       0      10       0       0       0       0      10"},
                    {9103, "<HH12>", "№9103<HH12>A               A    A    A    A    A    A    A    A    A    A    A    A"}}},
        CommitCase{"EDIT4_11", "洗車", {{4100, "<SS4>", "№4100<SS4>                             洗車            その他２"}}},
        CommitCase{"EDIT4_12", "池補給", {{4100, "<SS4>", "№4100<SS4>                             その他１        池補給"}}},
        CommitCase{"EDIT5_1",
                   "2.5",
                   {{5100, "<VV8>", "№5100<VV8>                  2.5     0.5       0       0       0       0       0       0"}}},
        CommitCase{"EDIT5_2",
                   "1",
                   {{5100, "<VV8>", "№5100<VV8>                  3.0     1.0       0       0       0       0       0       0"}}}));

TEST_F(Screen1Test, FirstRoofAreaProposesCatchmentRunoffAndPrecipitation) {
  app::THARV1Form& s = Open();
  UseCase({Rec("№1000<SS1>             新しいケース")});
  EXPECT_FALSE(s.EDIT2_2->isEnabled());  // under the catchment mask
  TypeInto(s.EDIT2_1, "200");
  EXPECT_EQ(U(Line(2100, "<VV8>")),
            U(Rec("№2100<VV8>                200.0   200.0    0.90       0       0       0       0       0")));
  EXPECT_EQ(U(Line(5100, "<VV8>")),
            U(Rec("№5100<VV8>                  3.0     0.5       0       0       0       0       0       0")));
  EXPECT_TRUE(s.EDIT2_2->isEnabled());
  EXPECT_EQ(s.EDIT5_1->Text(), "  3.0");

  // Only the first one: a later roof area leaves the catchment as it is. Tab commits as
  // Enter does; Esc gives the entry text back and commits nothing.
  uitest::Click(s.EDIT2_2);
  uitest::TypeOver("150");
  uitest::Tab();
  uitest::Pump();
  EXPECT_EQ(uitest::Focused(), s.EDIT2_3);
  uitest::TypeOver("0.5");
  uitest::Esc();
  EXPECT_EQ(s.EDIT2_3->Text(), " 0.90");
  uitest::Click(s.EDIT3_1);
  TypeInto(s.EDIT2_1, "300");
  EXPECT_EQ(U(Line(2100, "<VV8>")),
            U(Rec("№2100<VV8>                300.0   150.0    0.90       0       0       0       0       0")));
}

TEST_F(Screen1Test, FlushKindSetsTheLargeFlushAndBuildingTypeSetsTheDefaults) {
  app::THARV1Form& s = Open();
  UseCase(HouseCase());
  EXPECT_FALSE(s.RBTN4_3_2->isEnabled());  // a house has no flush valve
  ClickRadio(s.RBTN4_4_2);  // water-saving
  EXPECT_EQ(U(Line(4100, "<VV8>")),
            U(Rec("№4100<VV8>     1   2        4.0       1     1.0     8.0     3.8     5.0       0     108")));
  ClickRadio(s.RBTN4_4_1);  // conventional again
  EXPECT_EQ(U(Line(4100, "<VV8>")),
            U(Rec("№4100<VV8>     1   1        4.0       1     1.0    12.0     3.8     5.0       0     124")));
  ClickRadio(s.RBTN4_4_2);

  // A facility: asked, then informed of its defaults, which are stored.
  ClickRadio(s.RBTN4_3);
  ASSERT_GE(ui.shown.size(), 2u);
  EXPECT_EQ(U(ui.shown[ui.shown.size() - 2].text), "〔施設〕に変更しますか？");
  EXPECT_NE(U(ui.shown.back().text).find("現在の建物種別 ＜施設＞のデフォルト値"), std::string::npos);
  EXPECT_NE(U(ui.shown.back().text).find("上記のデフォルト値に設定します。"), std::string::npos);
  EXPECT_EQ(U(Line(4100, "<NS4>")), U(Rec("№4100<NS4>               3施設          0              0              0")));
  EXPECT_EQ(U(Line(4100, "<VV8>")),
            U(Rec("№4100<VV8>     1   2      100.0       1     0.3     8.0     2.8     5.0       0    1640")));
  EXPECT_TRUE(s.RBTN4_3_2->isEnabled());
  ClickRadio(s.RBTN4_3_2);  // flush valve, water-saving: 13 litres
  EXPECT_EQ(U(Line(4100, "<VV8>")),
            U(Rec("№4100<VV8>     2   2      100.0       1     0.3    13.0     2.8     5.0       0    1790")));
  ClickRadio(s.RBTN4_3_1);  // low tank, water-saving: 8 litres
  EXPECT_EQ(U(Line(4100, "<VV8>")),
            U(Rec("№4100<VV8>     1   2      100.0       1     0.3     8.0     2.8     5.0       0    1640")));

  // Refusing the question keeps the type.
  const fw::StringList before = fw::CalcData;
  ui.answers.push_back(platform::ModalResult::No);
  ClickRadio(s.RBTN4_2);
  EXPECT_EQ(fw::CalcData, before);
  EXPECT_TRUE(s.RBTN4_3->isChecked());
  EXPECT_FALSE(s.RBTN4_2->isChecked());
}

TEST_F(Screen1Test, DefaultsButtonAsksAndStoresOnYes) {
  app::THARV1Form& s = Open();
  UseCase(HouseCase());
  TypeInto(s.EDIT4_1, "6");
  ui.answers.push_back(platform::ModalResult::No);
  s.SBTN4_1->click();
  EXPECT_NE(U(ui.shown.back().text).find("上記のデフォルト値に設定しますか？"), std::string::npos);
  EXPECT_EQ(s.EDIT4_1->Text(), "     6.0");
  s.SBTN4_1->click();  // yes
  EXPECT_EQ(U(Line(4100, "<VV8>")),
            U(Rec("№4100<VV8>     1   1        4.0       1     1.0    12.0     3.8     5.0       0     124")));
  EXPECT_EQ(s.EDIT4_1->Text(), "     4.0");
}

TEST_F(Screen1Test, SprinklingOfZeroRemovesItsMonths) {
  app::THARV1Form& s = Open();
  UseCase(HouseCase());
  TypeInto(s.EDIT4_7, "60");
  ASSERT_TRUE(Has(9101));
  TypeInto(s.EDIT4_7, "0");
  EXPECT_FALSE(Has(9101));
  EXPECT_EQ(U(Line(4100, "<WW8>")),
            U(Rec("№4100<WW8>                    0       0       0       0       0       0       0       0")));
}

// ---- Location ------------------------------------------------------------------------------

TEST_F(Screen1Test, LocationStoresItemNumbersNamesAndTableRows) {
  app::THARV1Form& s = Open();
  UseCase(HouseCase());
  ASSERT_EQ(s.CBOX1_1->count(), 2);
  Choose(s.CBOX1_1, 1);  // 静岡県
  EXPECT_EQ(U(Line(1100, "<SS4>")), U(Rec("№1100<SS4> 2           静岡県")));
  EXPECT_EQ(U(Line(1100, "<NN8>")),
            U(Rec("№1100<NN8>                    2       0       0       0       0       0       0       0")));
  ASSERT_EQ(s.CBOX1_2->count(), 3);
  EXPECT_EQ(U(s.CBOX1_2->Text()), "");
  EXPECT_EQ(U(fw::Cp932Of(s.CBOX1_2->itemText(0))), "  3:静岡市");  // numbered by the city table's row

  // The city takes its station at once: number 3 within the prefecture, row 5 of the table.
  Choose(s.CBOX1_2, 1);  // 浜松市
  EXPECT_EQ(U(Line(1100, "<SS4>")), U(Rec("№1100<SS4> 2   2   3   静岡県          浜松市          浜松")));
  EXPECT_EQ(U(Line(1100, "<NN8>")),
            U(Rec("№1100<NN8>                    2       4       5       0       0       0       0       0")));
  EXPECT_EQ(U(s.CBOX1_3->Text()), "  5:浜松");

  // A station of the second prefecture stores its row of the station table (the
  // calculation's station number).
  Choose(s.CBOX1_3, 1);  // 三島
  EXPECT_EQ(U(Line(1100, "<SS4>")), U(Rec("№1100<SS4> 2   2   2   静岡県          浜松市          三島")));
  EXPECT_EQ(U(Line(1100, "<NN8>")),
            U(Rec("№1100<NN8>                    2       4       4       0       0       0       0       0")));

  // A city without a station leaves the station to be chosen: the case is not complete.
  Choose(s.CBOX1_2, 2);  // 熱海市
  EXPECT_EQ(U(Line(1100, "<NN8>")),
            U(Rec("№1100<NN8>                    2       5       0       0       0       0       0       0")));
  EXPECT_FALSE(s.CheckInputComplete(false));
  EXPECT_EQ(U(s.MissingItem()), "気象地点");

  // A new prefecture clears city and station.
  Choose(s.CBOX1_1, 0);
  EXPECT_EQ(U(Line(1100, "<SS4>")), U(Rec("№1100<SS4> 1           北海道")));
  EXPECT_EQ(s.CBOX1_3->count(), 2);
}

// ---- Range and cross checks -----------------------------------------------------------------

struct RefusedCase {
  const char* control;
  const char* typed;
  const char* message;  // the error note, or the dialog text
  bool dialog;
};

class Screen1Refused : public Screen1Test, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(Screen1Refused, OutOfRangeShowsTheMessageAndLeavesTheStore) {
  const RefusedCase& c = GetParam();
  app::THARV1Form& s = Open();
  UseCase(HouseCase());
  auto* edit = s.findChild<fw::TEditEx*>(c.control);
  ASSERT_NE(edit, nullptr);
  const std::string shownBefore = edit->Text();
  const fw::StringList before = fw::CalcData;
  fw::ErrorText.clear();
  // What the field shows while the message is up: the old text is back at once.
  std::string shownWithMessage = "(no message)";
  ui.onShow = [&](const std::string&) { shownWithMessage = edit->Text(); };
  ui.onPump = [&](platform::PumpScope) {
    if (form->SBAR->PanelText(0).find(S("※")) != std::string::npos) shownWithMessage = edit->Text();
  };
  TypeInto(edit, c.typed);
  EXPECT_EQ(fw::CalcData, before);
  EXPECT_EQ(fw::DataState.Modified, 0);
  EXPECT_EQ(edit->Text(), shownBefore);  // the old text back
  EXPECT_EQ(shownWithMessage, shownBefore);
  if (c.dialog) {
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(U(ui.shown.back().text), c.message);
  } else {
    EXPECT_EQ(U(fw::ErrorText), c.message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Checks, Screen1Refused,
    ::testing::Values(RefusedCase{"EDIT2_1", "10001", "＜全屋根面積＞の入力範囲は 0 ～ 10,000 です。", false},
                      RefusedCase{"EDIT2_1", "100", "〔全屋根面積〕が〔集水面積〕を下回ります。", true},
                      RefusedCase{"EDIT2_2", "151", "〔集水面積〕が〔全屋根面積〕を越えています。", true},
                      RefusedCase{"EDIT2_3", "1.5", "＜流出係数＞の入力範囲は 0 ～ 1 です。", false},
                      RefusedCase{"EDIT3_1", "10000000", "＜貯水容量＞の入力範囲は 0 ～ 9,999,999 です。", false},
                      RefusedCase{"EDIT4_2", "100000", "＜世帯数＞の入力範囲は 0 ～ 99,999 です。", false},
                      RefusedCase{"EDIT4_3", "51", "＜大便器の使用頻度＞の入力範囲は 0 ～ 50 です。", false},
                      RefusedCase{"EDIT4_7", "1000000", "＜散水量＞の入力範囲は 0 ～ 999,999 です。", false},
                      RefusedCase{"EDIT5_2", "10.5", "＜無効降水量＞の入力範囲は 0 ～ 10 です。", false}));

// Persons and households multiply into the daily toilet use, an 8-column cell: a value that
// would overflow it is refused with the range that still fits.
TEST_F(Screen1Test, PersonsAndHouseholdsKeepTheToiletUseInItsCell) {
  app::THARV1Form& s = Open();
  UseCase(HouseCase(10000));
  const fw::StringList before = fw::CalcData;
  TypeInto(s.EDIT4_1, "400");  // 31 litres x 400 x 10,000 = 124,000,000
  EXPECT_EQ(U(fw::ErrorText), "＜世帯人数＞の入力範囲は 0 ～ 322.5 です。");
  EXPECT_EQ(fw::CalcData, before);

  TypeInto(s.EDIT4_1, "300");
  EXPECT_EQ(U(Line(4100, "<VV8>")),
            U(Rec("№4100<VV8>     1   1      300.0   10000     1.0    12.0     3.8     5.0       093000000")));
  fw::ErrorText.clear();
  TypeInto(s.EDIT4_2, "20000");
  EXPECT_EQ(U(fw::ErrorText), "＜世帯数＞の入力範囲は 0 ～ 10,752 です。");
  TypeInto(s.EDIT4_3, "50");
  EXPECT_EQ(U(fw::ErrorText), "＜大便器の使用頻度＞の入力範囲は 0 ～ 1.1 です。");
  for (const std::string& line : fw::CalcData) EXPECT_LE(line.size(), 88u);
}

}  // namespace
