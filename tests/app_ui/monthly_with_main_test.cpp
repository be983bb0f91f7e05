// The monthly weather window opened from the main window, over a copy of the installed tree
// with the weather files built from the real observations: the chart panel's "保存" proposes
// the chart's own file whatever other file names the program split since, and the main
// window's file list loads the chosen file while the monthly window holds the input.
#include <QApplication>
#include <QTimer>
#include <filesystem>
#include <map>

#include "app_ui_test_util.h"
#include "chart/unit.h"
#include "framework/folders.h"
#include "framework/ui/picture_save.h"
#include "framework_ui/input_test_util.h"
#include "views/chart_panel.h"
#include "views/monthly_window.h"
#include "views/station_choosers.h"

using namespace apptest;

namespace {

namespace fs = std::filesystem;

// Every file of a folder (native) with its bytes.
std::map<std::string, std::string> FolderFiles(const std::string& native) {
  std::map<std::string, std::string> files;
  if (!fs::exists(native)) return files;
  for (const auto& e : fs::recursive_directory_iterator(native)) {
    if (!e.is_regular_file()) continue;
    std::string bytes;
    platform::ReadFileBytes(platform::ToInsidePath(e.path().string()).value_or(""), bytes);
    files[e.path().string()] = bytes;
  }
  return files;
}

class MonthlyWithMainTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    const std::string bin = testsupport::BinDir();
    if (!fs::exists(bin + "/WCD/JPN_MONT.DAT")) GTEST_SKIP() << "no weather files built in " << bin;
    // The weather files the build makes from the observations, beside the committed tree.
    fs::create_directories(tree.Native("WCD"));
    for (const char* name : {"WCD/JPN_STAT.DAT", "WCD/JPN_WPNT.DAT", "WCD/JPN_CITY.DAT", "WCD/JPN_MONT.DAT"})
      fs::copy_file(bin + "/" + name, tree.Native(name), fs::copy_options::overwrite_existing);
    tree.CopySample("CAL/HVS/OTHER.HVS");
  }

  // Starts the main window and opens the monthly window from its button.
  views::TMONForm& OpenMonthly() {
    app::THARVForm& w = Start();
    w.SBTN_MWD->click();
    uitest::Pump();
    auto* monthly = w.findChild<views::TMONForm*>();
    EXPECT_TRUE(monthly);
    return *monthly;
  }

  chart::ChartLibraryScope chartLibrary_;
};

TEST_F(MonthlyWithMainTest, ChartSaveProposesTheChartsOwnFileWhateverWasSplitSince) {
  views::TMONForm& monthly = OpenMonthly();
  views::TMWDDispFrame& frame = *monthly.MWDDispFM;
  frame.SBTN1->click();  // the chart
  uitest::Pump();
  views::TCPNLFrame& panel = *frame.CPNLFM1;
  const std::string own = fw::WcdDir + fw::StationSel.StationNote + "(C1).EMF";

  // A page picture of the report already in the result folder, which a wrong save would replace.
  const std::string resultNative = tree.Native("CAL/HVS/＜RESULT＞/");
  fs::create_directories(resultNative);
  const std::string page = fw::ResultDir + "HarvSim(2).EMF";
  ASSERT_TRUE(platform::WriteFileBytesAtomic(page, "page picture"));

  app::THARVForm& w = *form;
  struct Case {
    const char* what;
    std::function<void()> run;
  } cases[] = {
      {"after a calculation (its command states and result registry)", [&] { w.UpdateCommandStates(); }},
      {"after screen 3's graph-save dialog opened and cancelled",
       [&] {
         uitest::CloseNextModal();
         fw::ShowPictureSaveDialog(S("グラフ"), page, &w);
       }},
      {"after a calculation file was opened",
       [&] {
         fw::Input.InputCommitted = false;
         fw::Input.InputUnchanged = false;
         fw::Input.InputCode = 1000;
         fw::Input.InputText = "OTHER.HVS";
         w.SelectCalcFile(w.CBOX0, 10, 0, 0);
         ASSERT_TRUE(app::CalcFilePath.ends_with("OTHER.HVS"));
       }},
      {"after a calculation file was saved", [&] { ASSERT_TRUE(w.SaveCalcFile()); }},
  };
  for (const Case& c : cases) {
    c.run();
    uitest::Pump();
    ASSERT_TRUE(platform::WriteFileBytesAtomic(page, "page picture"));
    const auto before = FolderFiles(resultNative);
    ui.shown.clear();
    std::string proposed;
    QTimer::singleShot(0, [&proposed] {
      auto* dialog = qobject_cast<fw::TGRSVForm*>(QApplication::activeModalWidget());
      if (!dialog) return;
      proposed = dialog->EDIT1->Text();
      dialog->reject();
    });
    panel.SBTN_5->click();
    uitest::Pump();
    EXPECT_EQ(U(proposed), U(own)) << c.what;
    EXPECT_TRUE(ui.shown.empty()) << c.what << ": " << (ui.shown.empty() ? "" : U(ui.shown[0].text));
    EXPECT_EQ(FolderFiles(resultNative), before) << c.what;
  }
}

TEST_F(MonthlyWithMainTest, TheFileListLoadsTheChosenFileWhileTheMonthlyWindowHoldsTheInput) {
  views::TMONForm& monthly = OpenMonthly();
  app::THARVForm& w = *form;
  // The station number typed into the monthly window, as a user does before going back.
  fw::TEditEx* number = monthly.MWDDispFM->PNOINPFM->EDIT_No;
  uitest::Click(number);
  uitest::TypeOver("2");
  uitest::Tab();
  ASSERT_EQ(fw::Input.InputSection, 91);

  fw::TCBoxEx* files = w.CBOX0;
  const int other = files->findText("OTHER.HVS", Qt::MatchEndsWith);
  ASSERT_GE(other, 0);
  files->setCurrentIndex(other);
  emit files->activated(other);
  uitest::Pump();
  EXPECT_TRUE(app::CalcFilePath.ends_with("OTHER.HVS")) << U(app::CalcFilePath);
  EXPECT_EQ(fw::DataState.Modified, 0);
  EXPECT_EQ(U(w.SBAR->PanelText(1)), "変更なし");
}

}  // namespace
