// Screen 1 under test: the main window in a temporary installed tree with small made-up
// station tables (two prefectures), screen 1 opened from it, and helpers to type into its
// controls and to read the store's record lines.
#pragma once

#include <QComboBox>
#include <functional>
#include <QRadioButton>

#include "app/ui/screen1.h"
#include "app/ui/screens.h"
#include "app_ui_test_util.h"
#include "framework/ui/controls.h"
#include "framework/ui/input_behaviour.h"
#include "framework_ui/input_test_util.h"
#include "platform/files.h"

namespace s1test {

using apptest::S;
using apptest::U;

// Right-aligned fields of the given widths, as the station tables are written.
inline std::string Fields(const std::vector<std::pair<std::string, int>>& fields) {
  std::string line;
  for (const auto& [utf8, width] : fields) {
    const std::string text = S(utf8);
    line += std::string(static_cast<size_t>(std::max(0, width - static_cast<int>(text.size()))), ' ') + text;
  }
  return line;
}

// A record line of the store: the UTF-8 text in CP932, blank-padded to 88 bytes.
inline std::string Rec(const std::string& utf8) {
  std::string line = S(utf8);
  EXPECT_LE(line.size(), 88u) << utf8;
  line.resize(88, ' ');
  return line;
}

class Screen1Test : public apptest::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    app::RegisterScreen1();
    WriteStationTables();
  }

  // Areas: 1 北海道 (cities 1-2, stations 1-2), 2 静岡県 (cities 3-5, stations 3-5). City 5
  // (熱海市) names no station.
  void WriteStationTables() {
    const std::string wcd = "WCD/";
    platform::MakeFolders(tree.Path(wcd));
    std::vector<std::string> stat = {"     2     7", "    20     8     8     8     8     8    30"};
    stat.push_back(Fields({{"北海道", 20}, {"HK", 8}, {"1", 8}, {"2", 8}, {"1", 8}, {"2", 8}, {"北海道", 30}}));
    stat.push_back(Fields({{"静岡県", 20}, {"SZ", 8}, {"3", 8}, {"3", 8}, {"3", 8}, {"3", 8}, {"静岡県", 30}}));
    ASSERT_TRUE(platform::WriteTextLinesAtomic(tree.Path(wcd + "JPN_STAT.DAT"), stat));
    auto city = [](const char* name, const char* area, int station, const char* note) {
      return Fields({{name, 20}, {area, 8}, {"0", 8}, {"0", 8}, {"35.0", 8}, {"138.0", 8}, {"1.0", 8}, {"0", 8},
                     {std::to_string(station), 8}, {"0", 8}, {note, 30}});
    };
    const std::vector<std::string> cities = {city("札幌市", "HK", 1, "札幌"), city("函館市", "HK", 2, "函館"),
                                             city("静岡市", "SZ", 3, "静岡"), city("浜松市", "SZ", 5, "浜松"),
                                             city("熱海市", "SZ", 0, "")};
    ASSERT_TRUE(platform::WriteTextLinesAtomic(tree.Path(wcd + "JPN_CITY.DAT"), cities));
    std::vector<std::string> wpnt = {"     5    11",
                                     "    20     8     8     8     8     8     8     8     8     8    30"};
    auto station = [](const char* name, const char* area, const char* code, const char* note) {
      return Fields({{name, 20}, {area, 8}, {"0", 8}, {"1", 8}, {"35.0", 8}, {"138.0", 8}, {"10.0", 8}, {"5.0", 8},
                     {"1000.0", 8}, {code, 8}, {note, 30}});
    };
    wpnt.push_back(station("SAPPORO", "HK", "14163", "札幌"));
    wpnt.push_back(station("HAKODATE", "HK", "23232", "函館"));
    wpnt.push_back(station("SHIZUOKA", "SZ", "50331", "静岡"));
    wpnt.push_back(station("MISHIMA", "SZ", "50281", "三島"));
    wpnt.push_back(station("HAMAMATSU", "SZ", "50456", "浜松"));
    ASSERT_TRUE(platform::WriteTextLinesAtomic(tree.Path(wcd + "JPN_WPNT.DAT"), wpnt));
  }

  // Starts the main window on the sample and opens screen 1 from it.
  app::THARV1Form& Open() {
    app::THARVForm& w = Start();
    w.show();
    w.activateWindow();
    uitest::Pump();
    w.ACT_CRTExecute(1);
    uitest::Pump();
    screen = qobject_cast<app::THARV1Form*>(w.ScreenForm(1));
    EXPECT_NE(screen, nullptr);
    return *screen;
  }

  // Replaces the case by `lines` (header first) as a file `name` of CAL\HVS that is not the
  // sample, and shows it on the screen.
  void UseCase(const std::vector<std::string>& records, const std::string& name = "WORK.HVS") {
    app::CalcFilePath = tree.Path("CAL/HVS/" + name);
    fw::NewInputData(app::CalcFilePath, fw::CalcData);
    for (const std::string& r : records) fw::CalcData.push_back(r);
    fw::DataState.Modified = 0;
    form->RefreshHeader();
    screen->ShowConditions();
    uitest::Pump();
  }

  // The record line of a label and kind tag ("" when absent).
  static std::string Line(int label, const char* tag) {
    const std::string key = S("№") + std::to_string(label) + tag;
    for (size_t i = 1; i < fw::CalcData.size(); ++i)
      if (fw::CalcData[i].compare(0, key.size(), key) == 0) return fw::CalcData[i];
    return std::string();
  }
  static bool Has(int label) {
    return fw::LabelExists(fw::CalcData, S("№") + std::to_string(label));
  }

  // Types `utf8` into an edit as a user does (click, replace the text) and presses Enter.
  void TypeInto(fw::TEditEx* edit, const std::string& utf8) {
    ASSERT_TRUE(edit->isVisible() && edit->isEnabled()) << edit->objectName().toStdString();
    uitest::Click(edit);
    uitest::TypeOver(utf8);
    uitest::Enter();
    uitest::Pump();
  }
  // Chooses item `index` of a combo as a user does with the mouse.
  void Choose(fw::TCBoxEx* combo, int index) {
    ASSERT_TRUE(combo->isVisible() && combo->isEnabled()) << combo->objectName().toStdString();
    if (!combo->hasFocus()) uitest::Click(combo);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    uitest::Pump();
  }
  void ClickRadio(QRadioButton* radio) {
    ASSERT_TRUE(radio->isVisible() && radio->isEnabled()) << radio->objectName().toStdString();
    radio->click();
    uitest::Pump();
  }
  // Clicks a grid cell.
  void ClickCell(fw::TStrGridEx* grid, int col, int row) {
    const QPoint at = grid->CellRect(col, row).center() - grid->viewport()->pos();
    uitest::Click(grid->viewport(), at);
  }

  app::THARV1Form* screen = nullptr;
};

// Records written through the store (not under test here) as the base of a test.
inline std::vector<std::string> Records(const std::function<void(fw::StringList&)>& write) {
  fw::StringList list{std::string(88, ' ')};
  write(list);
  return fw::StringList(list.begin() + 1, list.end());
}

// A case with a title, a roof, a detached house with its toilet figures, and the
// precipitation parameters.
inline std::vector<std::string> HouseCase(float households = 1) {
  return Records([households](fw::StringList& l) {
    fw::ResetRecordKind("SS1");
    fw::RecSS1.S[1] = S("試験ケース");
    fw::WriteRecSS1(l, 1000);
    fw::ResetRecordKind("VV8");
    fw::RecVV8.V[1] = 150;
    fw::RecVV8.V[2] = 120;
    fw::RecVV8.V[3] = 0.9f;
    fw::WriteRecVV8(l, 2100, "112-----");
    fw::ResetRecordKind("NS4");
    fw::RecNS4.N[1] = 1;
    fw::RecNS4.S[1] = S("戸建住宅");
    fw::WriteRecNS4(l, 4100);
    fw::ResetRecordKind("VV8");
    fw::RecVV8.Attr[2] = "1";
    fw::RecVV8.Attr[3] = "1";
    const float v[9] = {0, 4, households, 1, 12, 3.8f, 5, 0, 31 * 4 * households};
    for (int i = 1; i <= 8; ++i) fw::RecVV8.V[static_cast<size_t>(i)] = v[i];
    fw::WriteRecVV8(l, 4100, "10111100");
    fw::ResetRecordKind("VV8");
    fw::RecVV8.V[1] = 3;
    fw::RecVV8.V[2] = 0.5f;
    fw::WriteRecVV8(l, 5100, "11------");
  });
}

}  // namespace s1test
