// The main window as a user sees it on the offscreen platform: its controls by name, its
// captions and hints, its menus, the pictures and the splash timer.
#include <QHelpEvent>
#include <QMenuBar>
#include <QTimer>
#include <QToolTip>

#include "app_ui_test_util.h"
#include "framework/ui/form_utils.h"

using namespace apptest;

namespace {

std::string Text(const QString& s) { return s.toStdString(); }

TEST_F(MainWindowTest, ControlsCaptionsAndMenusAreThoseOfTheWindow) {
  app::THARVForm& w = Start();
  w.show();
  QApplication::processEvents();
  EXPECT_EQ(w.objectName(), "HARVForm");
  EXPECT_EQ(Text(w.windowTitle()), "雨水利用シミュレーション Ver2.00");
  EXPECT_EQ(Text(QApplication::applicationName()), "HarvSim Ver.2.00");
  EXPECT_EQ(w.size(), QSize(800, 573));

  const char* names[] = {"SBAR", "COOL", "PNL0_1", "SBTN1", "SBTN2", "SBTN3", "SBTN4", "SBTN5", "SBTN6", "SBTN7",
                         "SBTN8", "SBTN9", "SBTN_Rep", "LBL1", "PNL0_2", "CBOX0", "SBTN_MWD", "LBL3", "LBL0_1",
                         "LBL0_2", "TXT_S", "IMAG1", "IMAG2", "LBL_U", "LBL_A", "TIMER", "ACT_New", "ACT_OpenAs",
                         "ACT_Save", "ACT_SaveAs", "ACT_CRT", "ACT_CRTFree", "ACT_Report", "MENU_0", "MENU_Calc",
                         "MENU_Disp", "MENU_User"};
  for (const char* name : names) EXPECT_NE(w.findChild<QObject*>(name), nullptr) << name;
  // Lookup by kind and number, as the forms find their controls.
  EXPECT_EQ(fw::FindSBtnComp(&w, "5"), w.SBTN5);
  EXPECT_EQ(fw::FindCBoxComp(&w, "0"), w.CBOX0);
  EXPECT_EQ(fw::FindImagComp(&w, "2"), w.IMAG2);

  struct Hint {
    QWidget* control;
    const char* text;
  };
  const Hint hints[] = {{w.SBTN5, "入力編集"},   {w.SBTN6, "計算実行／結果確認"}, {w.SBTN7, "計算結果"},
                        {w.SBTN8, "分析結果"},   {w.SBTN9, "気象データ"},         {w.SBTN_Rep, "計算結果プレビュー"},
                        {w.SBTN_MWD, "月次気象データ(参考)"}, {w.TXT_S, "このファイルは保存することができません"}};
  for (const Hint& h : hints) EXPECT_EQ(Text(h.control->toolTip()), h.text) << Text(h.control->objectName());
  for (int i = 0; i < 5; ++i) {
    QToolButton* b = std::array<QToolButton*, 5>{w.SBTN5, w.SBTN6, w.SBTN7, w.SBTN8, w.SBTN9}[static_cast<size_t>(i)];
    EXPECT_EQ(fw::Tag(b), i + 1);
  }
  EXPECT_EQ(fw::Tag(w.CBOX0), 1000);
  EXPECT_EQ(Text(w.LBL2->text()), "ファイル名");
  EXPECT_EQ(Text(w.LBL3->text()), "設置場所                               気象地点");
  EXPECT_EQ(Text(w.TXT_S->text()), "<サンプル>");
  EXPECT_EQ(Text(w.LBL_U->text()), "！");
  EXPECT_EQ(Text(w.LBL_A->text()), "1981年～1995年の日次統計アメダス気象データ");
  EXPECT_EQ(Text(w.ACT_New->text()), "新規作成");
  EXPECT_EQ(Text(w.ACT_OpenAs->text()), "ファイルを開く");
  EXPECT_EQ(Text(w.ACT_Save->text()), "上書き保存");
  EXPECT_EQ(Text(w.ACT_SaveAs->text()), "名前を付けて保存");
  EXPECT_EQ(Text(w.ACT_Report->text()), "報告書作成");

  // The menu bar: the unnamed first item, then the five menus with their items.
  QList<QAction*> top = w.menuBar()->actions();
  ASSERT_EQ(top.size(), 6);
  EXPECT_EQ(top[0], w.MENU_0);
  EXPECT_TRUE(w.MENU_0->text().isEmpty());
  const std::vector<std::pair<std::string, std::vector<std::string>>> menus = {
      {"ファイル(&F)",
       {"新規作成(&N)...", "ファイルを開く(&O)...", "上書き保存(&S)...", "名前を付けて保存(&A)...", "-",
        "計算結果プレビュー(&P)...", "画面をハードコピー印刷(&H)...", "プリンター設定(&T)...", "-", "全て終了(&X)"}},
      {"入力編集(&E)", {"入力編集(&E)"}},
      {"計算(&C)", {"計算実行(&C)"}},
      {"結果表示(&V)", {"計算結果(&V)", "分析結果(&R)", "気象データ(&W)"}},
      {"オプション(&O)", {"簡単操作ガイド(&G)", "バージョン情報(&V)", "※初期設定(&I)"}},
  };
  for (size_t m = 0; m < menus.size(); ++m) {
    QMenu* menu = top[static_cast<int>(m) + 1]->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Text(menu->title()), menus[m].first);
    std::vector<std::string> items;
    for (QAction* a : menu->actions()) items.push_back(a->isSeparator() ? "-" : Text(a->text()));
    EXPECT_EQ(items, menus[m].second) << menus[m].first;
  }
  EXPECT_FALSE(w.MENU_PrinterSetup->isVisible());
  EXPECT_TRUE(w.MENU_User->isVisible());
  EXPECT_EQ(w.MENU_Calc->objectName(), "MENU_Calc");
  EXPECT_EQ(w.MENU_Disp->objectName(), "MENU_Disp");
  const std::vector<std::pair<QAction*, int>> tags = {{w.MENU_Input, 1}, {w.MENU_Execute, 2}, {w.MENU_Result, 3},
                                                      {w.MENU_Analysis, 4}, {w.MENU_Weather, 5}};
  for (const auto& [a, tag] : tags) EXPECT_EQ(fw::Tag(a), tag);

  // The status bar shows the title on activation, the change state and the file name.
  EXPECT_NE(U(w.SBAR->PanelText(0)).find("雨水利用シミュレーション Ver2.00"), std::string::npos);
  EXPECT_EQ(U(w.SBAR->PanelText(1)), "変更なし");
  EXPECT_EQ(U(w.SBAR->PanelText(3)), "TEST_HVS.HVS");
}

TEST_F(MainWindowTest, TheSplashGivesWayToTheWorkingPictureAfterTenSeconds) {
  app::THARVForm& w = Start();
  w.show();
  QApplication::processEvents();
  QWidget* client = w.IMAG1->parentWidget();
  EXPECT_EQ(w.IMAG1->geometry(), client->rect());
  EXPECT_FALSE(w.IMAG1->Picture().isNull());
  EXPECT_EQ(w.IMAG1->Picture().size(), client->size());
  EXPECT_NE(w.IMAG1->Picture(), w.IMAG2->Picture());
  EXPECT_TRUE(w.IMAG1->isVisible());
  EXPECT_TRUE(w.LBL_U->isVisible());
  EXPECT_FALSE(w.LBL_A->isVisible());
  for (int i = 0; i < 9; ++i) w.TIMERTimer();
  EXPECT_TRUE(w.IMAG1->isVisible());
  w.TIMERTimer();
  EXPECT_FALSE(w.IMAG1->isVisible());
  EXPECT_TRUE(w.IMAG2->isVisible());
  EXPECT_TRUE(w.LBL_A->isVisible());
  EXPECT_FALSE(w.LBL_U->isVisible());
  EXPECT_FALSE(w.TIMER->isActive());

  // A click swaps the pictures back and restarts the count.
  w.PictureMouseUp();
  EXPECT_TRUE(w.IMAG1->isVisible());
  EXPECT_EQ(w.SplashTicks(), 0);
  EXPECT_TRUE(w.TIMER->isActive());
  w.PictureMouseUp();
  EXPECT_TRUE(w.IMAG2->isVisible());
  EXPECT_FALSE(w.TIMER->isActive());
}

TEST_F(MainWindowTest, TheExclamationMarkExplainsTheProgram) {
  app::THARVForm& w = Start();
  w.LBL_UClick();
  ASSERT_FALSE(ui.shown.empty());
  EXPECT_EQ(ui.shown.back().text.rfind(S("【雨水利用プログラムについて】"), 0), 0u);
  EXPECT_TRUE(ShownContains("全国８４２地点の日次データ（気温,降水量）を作成し計算に用いています。"));
}

TEST_F(MainWindowTest, TheQuickGuideOpensOnceInTheMemoWindow) {
  app::THARVForm& w = Start();
  w.MENU_ManualClick();
  app::TMEMForm* memo = w.MemoWindow();
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(app::MemoFile, tree.Path("harvsim.TXT"));
  EXPECT_EQ(Text(memo->windowTitle()), "メモ用紙 － harvsim.TXT");
  EXPECT_EQ(memo->CBOX1->count(), 9);  // the nine headings of the guide
  EXPECT_EQ(U(memo->CBOX1->Items()[0]).rfind("１．このプログラムでできること --- (", 0), 0u);
  w.MENU_ManualClick();
  EXPECT_EQ(w.MemoWindow(), memo);
}

// The first panel is narrower than the longest status texts; its tip shows the text whole.
TEST_F(MainWindowTest, TheFirstStatusPanelShowsALongTextWholeInItsTip) {
  app::THARVForm& w = Start();
  w.show();
  QApplication::processEvents();
  const std::string text = "※右クリックすると現在のグラフを保存できます。〔計算結果(1988)年グラフ表示〕";
  fw::ShowStatus(S(text));
  QLabel* panel = w.SBAR->Panels[0];
  ASSERT_GT(panel->fontMetrics().horizontalAdvance(panel->text()), panel->contentsRect().width());
  QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), panel->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(panel, &tip);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(Text(QToolTip::text()), "　" + text);
  QToolTip::hideText();
}

// The settings editor's request leaves the status bar with the editor.
TEST_F(MainWindowTest, AfterTheSettingsEditorTheMainWindowsStatusComesBack) {
  app::THARVForm& w = Start();
  w.show();
  QApplication::processEvents();
  QTimer::singleShot(0, [] {
    if (QWidget* editor = QApplication::activeModalWidget()) editor->close();
  });
  w.MENU_UserClick();
  EXPECT_EQ(U(w.SBAR->PanelText(0)).find("動作環境の初期設定を行って下さい。"), std::string::npos);
  EXPECT_NE(U(w.SBAR->PanelText(0)).find("雨水利用シミュレーション Ver2.00"), std::string::npos);
}

}  // namespace
