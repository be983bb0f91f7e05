// The main window THARVForm: the MDI window the program opens with. Its creation starts the
// framework and the weather-station data and loads the last used case (or the sample); it
// holds the file commands (main_window_files.cpp), opens the three screens as MDI children,
// decides which commands are enabled, shows the splash and working pictures, and shuts the
// program down without losing work.
//
// Decisions of this implementation:
// - While a calculation runs or screen 2's day playback plays, closing is refused and every
//   file and screen command is disabled (the screen buttons and the file combo included), so
//   no window is freed and no file loaded or saved under a running loop.
// - File > Open loads the file the user chose, wherever it lies; the result folder and prefix
//   are derived again from the calculation file whenever it is set.
// - Saving writes the calculation file first and removes the folder's old results only when
//   the file was written; a failed Save as keeps the previous file name.
// - A chosen file that cannot be loaded leaves the current case and its file name as they were
//   (no "〔ファイル読込〕" note).
// - At start-up the last file named in the settings is used only when it exists and its
//   extension is exactly ".HVS"; otherwise the sample "CAL\HVS\TEST_HVS.HVS" is loaded (or,
//   when the sample is missing too, a new empty case is started under its name).
// - When the framework start-up fails (no settings file), the rest of the creation is skipped
//   and the program ends.
// - Leaving the file combo without choosing another file asks nothing; the question about
//   discarding an edited case comes only with a choice. Left for a field of a screen, the
//   focus stays in that field.
// - Exit mode 3 ("保存終了") closes only when the save succeeded.
// - The window runs its activation routine in full (header, title in the status bar, focus on
//   the status bar) when it is first shown; later activations refresh the header only, so a
//   closing dialog never overwrites the status text that the command after it shows.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStatusBar>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "app/ui/dialogs_memo.h"
#include "framework/messages.h"

class QAction;
class QFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolButton;

namespace fw {
class TCBoxEx;
class TImageEx;
}  // namespace fw

namespace app {

// The status bar with its four panels: 0 text, 1 change state, 2 typing mode, 3 file name.
class TStatusBar : public QStatusBar, public fw::StatusBarSink {
  Q_OBJECT
 public:
  explicit TStatusBar(QWidget* parent = nullptr);
  void SetPanelText(int panel, const std::string& text) override;
  void SetHint(const std::string& text) override;
  void Repaint() override;
  std::string PanelText(int panel) const;  // CP932
  std::array<QLabel*, 4> Panels{};
};

class THARVForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit THARVForm(QWidget* parent = nullptr);
  ~THARVForm() override;

  // The framework start-up failed; the program ends after the creation.
  bool StartupFailed() const { return startupFailed_; }

  // ---- Components
  TStatusBar* SBAR;
  QFrame* COOL;
  QFrame* PNL0_1;
  QToolButton* SBTN1;  // new
  QToolButton* SBTN2;  // open
  QToolButton* SBTN3;  // save
  QToolButton* SBTN4;  // save as
  QToolButton* SBTN5;  // screen commands, Tag 1 to 5
  QToolButton* SBTN6;
  QToolButton* SBTN7;
  QToolButton* SBTN8;
  QToolButton* SBTN9;
  QToolButton* SBTN_Rep;
  QLabel* LBL1;  // title of the case
  QFrame* PNL0_2;
  QLabel* LBL2;  // "ファイル名"
  fw::TCBoxEx* CBOX0;
  QToolButton* SBTN_MWD;
  QLabel* LBL3;
  QLabel* LBL0_1;  // site
  QLabel* LBL0_2;  // station
  QLabel* TXT_S;   // "<サンプル>"
  QMdiArea* MDI;
  fw::TImageEx* IMAG1;  // splash picture
  fw::TImageEx* IMAG2;  // working picture
  QLabel* LBL_U;
  QLabel* LBL_A;
  QTimer* TIMER;

  QAction* ACT_New;
  QAction* ACT_OpenAs;
  QAction* ACT_Save;
  QAction* ACT_SaveAs;
  QAction* ACT_CRT;
  QAction* ACT_CRTFree;
  QAction* ACT_Report;

  QAction* MENU_0;
  QMenu* MENU_File;
  QAction* MENU_New;
  QAction* MENU_Open;
  QAction* MENU_Save;
  QAction* MENU_SaveAs;
  QAction* MENU_Report;
  QAction* MENU_HardCopy;
  QAction* MENU_PrinterSetup;
  QAction* MENU_Exit;
  QMenu* MENU_Edit;
  QAction* MENU_Input;  // Tag 1
  QMenu* MENU_Calc;
  QAction* MENU_Execute;  // Tag 2
  QMenu* MENU_Disp;
  QAction* MENU_Result;    // Tag 3
  QAction* MENU_Analysis;  // Tag 4
  QAction* MENU_Weather;   // Tag 5
  QMenu* MENU_Option;
  QAction* MENU_Manual;
  QAction* MENU_Version;
  QAction* MENU_User;

  // ---- Operations used by the screens
  bool LoadCalcFile();
  bool SaveCalcFile();
  void InitNewData();
  void RefreshHeader();
  void ShowHeaderInfo(int kind);
  void UpdateCommandStates();
  void UpdateState() { UpdateCommandStates(); }
  // After a choice in the file combo (kind 10: a calculation file was chosen).
  void SelectCalcFile(QWidget* sender, int kind, int col, int row);

  // ---- Commands
  void ACT_CRTExecute(int tag);
  void ACT_CRTFreeExecute();
  void ACT_NewExecute();
  void ACT_OpenAsExecute();
  void ACT_SaveExecute();
  void ACT_SaveAsExecute();
  void ACT_ReportExecute();
  void HardCopyClick();
  void MENU_UserClick();
  void MENU_ManualClick();
  void MENU_VersionClick();
  void MENU_0Click();
  void SBTN_MWDClick();
  void LBL_UClick();
  void TIMERTimer();
  // A mouse-up on the form or either picture swaps the pictures.
  void PictureMouseUp();
  int SplashTicks() const { return splashTicks_; }

  // The close question: false keeps the window open.
  bool FormCloseQuery();
  // Frees the screens and the windows kept until exit, then writes the settings.
  void FormClose();

  // The open form of screen 1, 2 or 3 (looked up by its name among the MDI children).
  QWidget* ScreenForm(int screen) const;
  QMdiSubWindow* ScreenWindow(int screen) const;
  TMEMForm* MemoWindow() const { return memo_; }

  // ---- Seams for the modal questions (tests answer them). Paths are inside paths.
  // The open (save = false) or save dialog: the chosen path, or nothing when cancelled.
  std::function<std::optional<std::string>(bool save, const std::string& startPath, const std::string& filter)>
      FileDialog;
  // The exit dialog: 0 cancelled, 1 to 4 the chosen way.
  std::function<int()> ExitDialog;

 signals:
  // After every successful save of the calculation file, whichever command made it.
  void CalcFileSaved();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void changeEvent(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  static constexpr int kFileComboCode = 1000;  // the input code of the file combo
  static constexpr int kFileSection = 10;      // ShowHeaderInfo / SelectCalcFile: a calculation file
  static constexpr int kSiteSection = 11;      // ShowHeaderInfo: site and station

  void CreateComponents();
  void CreateMenus();
  void FormCreate();
  void FormActivate();
  void ApplyPictures();
  void ShowPicture(bool splash);
  // Sets CalcFilePath and derives the result folder and prefix from it.
  void SetCalcFilePath(const std::string& path);
  // Loads `path` as the current case and opens screen 1; on failure the previous file stays.
  bool OpenCalcFile(const std::string& path);
  // SelectCalcFile with the chosen file's full path (empty: the combo's name in the current
  // folder); `confirmed` when the caller already asked about discarding edits.
  void SelectCalcFileAt(QWidget* sender, int kind, const std::string& fullPath, bool confirmed);
  void RunScreenCommand(QObject* sender);
  std::optional<std::string> RunFileDialog(bool save, const std::string& startPath, const std::string& filter);

  bool startupFailed_ = false;
  bool activated_ = false;
  bool closed_ = false;
  int splashTicks_ = 0;
  QPointer<TMEMForm> memo_;
  QPointer<QWidget> monthly_;
};

// The main window (null before it is created and after it is destroyed).
extern THARVForm* HARVForm;

}  // namespace app
