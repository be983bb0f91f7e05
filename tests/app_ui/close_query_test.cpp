// Closing the program: refused under a running loop, silent for an unchanged case or the
// sample, and the four ways of the exit dialog; the exit dialog itself.
#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "app/ui/dialogs_exit.h"
#include "app_ui_test_util.h"

using namespace apptest;

namespace {

class CloseTest : public MainWindowTest {
 protected:
  // Starts on a copy of the sample that is not the sample itself.
  app::THARVForm& StartOnCopy() {
    tree.CopySample("CAL/HVS/WORK/CASE.HVS");
    tree.SetLastFile("C:..." + S("CAL\\HVS\\WORK\\"), "CASE", ".HVS");
    app::THARVForm& w = Start();
    w.ExitDialog = [this] {
      ++asked;
      return mode;
    };
    return w;
  }
  int mode = 0;
  int asked = 0;
};

TEST_F(CloseTest, RefusedWhileACalculationOrThePlaybackRuns) {
  app::THARVForm& w = StartOnCopy();
  for (bool* flag : {&app::Calculating, &app::PlaybackRunning}) {
    *flag = true;
    EXPECT_FALSE(w.FormCloseQuery());
    *flag = false;
  }
  EXPECT_EQ(asked, 0);
  EXPECT_TRUE(w.FormCloseQuery());
}

TEST_F(CloseTest, SilentForAnUnchangedCaseOrTheSample) {
  app::THARVForm& w = StartOnCopy();
  EXPECT_TRUE(w.FormCloseQuery());
  EditTitle("変更");
  app::IsSampleFile = true;
  EXPECT_TRUE(w.FormCloseQuery());
  EXPECT_EQ(asked, 0);
}

struct ExitCase {
  int mode;
  bool closes;
  bool saved;
};

class ExitModes : public CloseTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitModes, DoWhatTheySay) {
  const ExitCase& c = GetParam();
  app::THARVForm& w = StartOnCopy();
  const std::string path = app::CalcFilePath;
  EditTitle("終了前の変更");
  mode = c.mode;
  w.show();
  w.close();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(w.isVisible(), !c.closes);
  EXPECT_EQ(FileText(path).find(S("終了前の変更")) != std::string::npos, c.saved);
  EXPECT_EQ(fw::DataState.Modified == 0, c.saved);
  if (c.closes) {
    // The settings were written at shut-down with the current file.
    EXPECT_EQ(U(fw::SettingsRows[13]), "CASE");
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, ExitModes,
                         ::testing::Values(ExitCase{0, false, false}, ExitCase{1, true, false},
                                           ExitCase{2, true, false}, ExitCase{3, true, true},
                                           ExitCase{4, false, true}),
                         [](const ::testing::TestParamInfo<ExitCase>& info) { return "Mode" + std::to_string(info.param.mode); });

TEST_F(CloseTest, SaveAndQuitStaysWhenTheSaveFails) {
  app::THARVForm& w = StartOnCopy();
  EditTitle("保存できない変更");
  const std::string path = app::CalcFilePath;
  platform::RemoveFile(path);
  platform::MakeFolders(path + "\\");  // a folder in the file's place
  mode = 3;
  EXPECT_FALSE(w.FormCloseQuery());
  EXPECT_EQ(fw::DataState.Modified, 1);
  platform::RemoveFolder(path);
}

// ---- The exit dialog

TEST(ExitDialog, OffersTheWaysOnlyForAModifiedCase) {
  testsupport::FakeUi ui;
  fw::ProgramNameVersion = "HarvSim Ver.2.00";
  for (bool modified : {false, true}) {
    fw::DataState.Modified = modified ? 1 : 0;
    app::TCLOSEForm f;
    f.FormActivate();
    EXPECT_EQ(f.RADG1->isEnabled(), modified);
    EXPECT_EQ(f.RADG1Items->checkedId(), modified ? 1 : 0);
    EXPECT_EQ(f.BTN1->text().toStdString(), modified ? "破棄終了(&Y)" : "終了(&Y)");
    EXPECT_EQ(f.LBL1->text().toStdString(), "HarvSim Ver.2.00 を終了しますか？");
    EXPECT_EQ(fw::Input.SelectedNo, 0);
  }
  EXPECT_EQ(ui.beeps, 2);
  fw::DataState.Modified = 0;
}

TEST(ExitDialog, TheChosenItemNamesTheButtonAndBecomesTheMode) {
  testsupport::FakeUi ui;
  fw::DataState.Modified = 1;
  const char* captions[4] = {"終了(&Y)", "破棄終了(&Y)", "保存終了(&Y)", "保存再開(&Y)"};
  for (int item = 0; item < 4; ++item) {
    app::TCLOSEForm f;
    f.FormActivate();
    f.Items[static_cast<size_t>(item)]->click();
    EXPECT_EQ(f.BTN1->text().toStdString(), captions[item]);
    f.BTN1->click();
    EXPECT_EQ(fw::Input.SelectedNo, item + 1);
    EXPECT_TRUE(fw::DialogYes);
    EXPECT_EQ(f.result(), QDialog::Accepted);
  }
  app::TCLOSEForm f;
  f.FormActivate();
  f.reject();  // the title bar's close box is "中止"
  EXPECT_EQ(fw::Input.SelectedNo, 0);
  EXPECT_TRUE(fw::DialogCancel);
  fw::DataState.Modified = 0;
}

}  // namespace
