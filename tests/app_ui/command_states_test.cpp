// Which commands the main window enables: the whole table over the case's state, and the
// window applying it to its buttons, menus and the file combo.
#include <QMdiSubWindow>

#include "app/ui/command_states.h"
#include "app_ui_test_util.h"
#include "framework/printing.h"

using namespace apptest;

namespace {

struct Row {
  const char* what;
  app::CommandInputs in;
  // Expected: new/open, save, saveAs, report, calcMenu, dispMenu, hardCopy, edit, calc, results,
  // combo, sample mark.
  std::array<bool, 12> out;
};

app::CommandInputs In(bool M, bool E, bool S, bool R, bool K, bool F, bool P, int screen = 0, bool busy = false) {
  app::CommandInputs in;
  in.modified = M;
  in.fileExists = E;
  in.sample = S;
  in.registered = R;
  in.complete = K;
  in.reportPage = F;
  in.printer = P;
  in.currentScreen = screen;
  in.busy = busy;
  return in;
}

std::array<bool, 12> Out(const app::CommandStates& s) {
  EXPECT_EQ(s.newFile, s.open);
  return {s.newFile, s.save, s.saveAs, s.report, s.calcMenu, s.dispMenu,
          s.hardCopy, s.editScreen, s.calcScreen, s.resultScreens, s.fileCombo, s.sampleMark};
}

constexpr bool T = true, F_ = false;

TEST(CommandStates, Table) {
  const Row rows[] = {
      // what                         M   E   S   R   K   F   P  screen busy
      {"nothing yet", In(F_, F_, F_, F_, F_, F_, F_), {T, F_, F_, F_, F_, F_, F_, T, F_, F_, T, F_}},
      {"saved, incomplete", In(F_, T, F_, F_, F_, F_, F_), {T, F_, F_, F_, F_, F_, F_, T, F_, F_, T, F_}},
      {"saved, complete", In(F_, T, F_, F_, T, F_, F_), {T, F_, F_, F_, T, F_, F_, T, T, F_, T, F_}},
      {"complete but never saved", In(F_, F_, F_, F_, T, F_, F_), {T, F_, F_, F_, F_, F_, F_, T, T, F_, T, F_}},
      {"edited", In(T, T, F_, T, T, T, T), {T, T, T, F_, F_, F_, T, T, F_, F_, T, F_}},
      {"edited, new file", In(T, F_, F_, F_, T, F_, F_), {T, F_, T, F_, F_, F_, F_, T, F_, F_, T, F_}},
      {"edited sample", In(T, T, T, F_, T, F_, F_), {T, F_, F_, F_, F_, F_, F_, T, F_, F_, T, T}},
      {"calculated", In(F_, T, F_, T, T, F_, F_), {T, F_, F_, F_, T, T, F_, T, T, T, T, F_}},
      {"calculated, no report page", In(F_, T, F_, T, T, F_, T), {T, F_, F_, F_, T, T, T, T, T, T, T, F_}},
      {"calculated, no printer", In(F_, T, F_, T, T, T, F_), {T, F_, F_, F_, T, T, F_, T, T, T, T, F_}},
      {"report ready", In(F_, T, F_, T, T, T, T), {T, F_, F_, T, T, T, T, T, T, T, T, F_}},
      {"report ready, sample", In(F_, T, T, T, T, T, T), {T, F_, F_, T, T, T, T, T, T, T, T, T}},
      {"results of another file", In(F_, T, F_, F_, T, T, T), {T, F_, F_, F_, T, F_, T, T, T, F_, T, F_}},
      {"on screen 1", In(F_, T, F_, F_, F_, F_, F_, 1), {T, F_, F_, F_, F_, F_, F_, T, F_, F_, T, F_}},
      {"on screen 2", In(F_, T, F_, F_, T, F_, F_, 2), {F_, F_, F_, F_, T, F_, F_, T, T, F_, T, F_}},
      {"on screen 3", In(T, T, F_, T, T, T, T, 3), {F_, T, T, F_, F_, F_, T, T, F_, F_, T, F_}},
      // A running calculation or playback switches every file and screen command off.
      {"calculating", In(F_, T, F_, T, T, T, T, 2, true), {F_, F_, F_, F_, F_, F_, F_, F_, F_, F_, F_, F_}},
      {"calculating, edited", In(T, T, F_, T, T, T, T, 1, true), {F_, F_, F_, F_, F_, F_, F_, F_, F_, F_, F_, F_}},
      {"calculating the sample", In(F_, T, T, F_, T, F_, T, 2, true), {F_, F_, F_, F_, F_, F_, F_, F_, F_, F_, F_, T}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(Out(app::ComputeCommandStates(r.in)), r.out) << r.what;
  }
}

// The window takes M, E, S, R, K, F and P from the case, the files and the printer.
TEST_F(MainWindowTest, TheWindowAppliesTheTableToItsControls) {
  tree.CopySample("CAL/HVS/WORK/CASE.HVS");
  tree.SetLastFile("C:..." + S("CAL\\HVS\\WORK\\"), "CASE", ".HVS");
  app::THARVForm& w = Start();
  EXPECT_FALSE(w.SBTN6->isEnabled());  // screen 1 has not found the case complete
  EXPECT_FALSE(w.MENU_Calc->isEnabled());
  EXPECT_FALSE(w.TXT_S->isVisibleTo(&w));

  // Results registered, the report's last page drawn, a printer known.
  app::InputComplete = true;
  fw::RegisterResultName(app::CalcFilePath);
  ASSERT_TRUE(platform::WriteFileBytesAtomic(app::ResultPrefix + "(5).EMF", "emf"));
  fw::PrinterInfoType.DeviceName = "PDF";
  w.UpdateCommandStates();
  EXPECT_TRUE(app::ResultRegistered);
  for (QObject* o : std::initializer_list<QObject*>{w.ACT_Report, w.MENU_Report, w.SBTN_Rep, w.MENU_Calc, w.MENU_Execute,
                                                    w.MENU_Disp, w.MENU_Result, w.SBTN6, w.SBTN7, w.SBTN8, w.SBTN9,
                                                    w.MENU_HardCopy, w.ACT_New, w.SBTN1, w.MENU_New}) {
    EXPECT_TRUE(o->property("enabled").toBool()) << o->objectName().toStdString();
  }
  EXPECT_FALSE(w.ACT_Save->isEnabled());

  // An edit disables the report and the screens that need the saved case.
  EditTitle("変更");
  EXPECT_FALSE(w.ACT_Report->isEnabled());
  EXPECT_FALSE(w.SBTN6->isEnabled());
  EXPECT_TRUE(w.ACT_Save->isEnabled());
  EXPECT_TRUE(w.SBTN3->isEnabled());
  EXPECT_TRUE(w.MENU_Save->isEnabled());

  // While a calculation runs nothing that loads, saves or changes screens is enabled.
  app::Calculating = true;
  w.UpdateCommandStates();
  for (QObject* o : std::initializer_list<QObject*>{w.ACT_New, w.ACT_OpenAs, w.ACT_Save, w.ACT_SaveAs, w.ACT_Report,
                                                    w.SBTN1, w.SBTN2, w.SBTN3, w.SBTN4, w.SBTN5, w.SBTN6, w.SBTN7,
                                                    w.SBTN8, w.SBTN9, w.SBTN_Rep, w.CBOX0, w.MENU_Input,
                                                    w.MENU_Execute, w.MENU_Result, w.MENU_HardCopy}) {
    EXPECT_FALSE(o->property("enabled").toBool()) << o->objectName().toStdString();
  }
  // Even a command that reaches the window directly opens and frees nothing.
  w.ACT_CRTExecute(1);
  EXPECT_EQ(w.ScreenForm(1), nullptr);
  fw::PrinterInfoType.DeviceName.clear();
}

TEST_F(MainWindowTest, TheSampleMarkFollowsTheFile) {
  app::THARVForm& w = Start();
  EXPECT_TRUE(app::IsSampleFile);
  EXPECT_TRUE(w.TXT_S->isVisibleTo(&w));
  EXPECT_EQ(U(fw::Cp932Of(w.TXT_S->toolTip())), "このファイルは保存することができません");
  EditTitle("見本の変更");
  EXPECT_FALSE(w.ACT_Save->isEnabled());
  EXPECT_FALSE(w.ACT_SaveAs->isEnabled());
}

}  // namespace
