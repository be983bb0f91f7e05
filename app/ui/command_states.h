// Which commands of the main window are enabled, as a pure function of the case's state, so
// that the whole table can be checked without a window.
//
//   M  the case differs from its file            E  the calculation file exists
//   S  the current file is the sample            R  the file's results are registered
//   K  the case has a title, screen 1 found it complete, and no calculation runs
//   F  the report's last page metafile "(5).EMF" exists
//   P  a printer is known                        B  a calculation or the day playback runs
//
// While B holds, every file and screen command is off (the file combo included), so no
// screen can be freed and no file loaded or saved under a running loop.
#pragma once

namespace app {

struct CommandInputs {
  bool modified = false;      // M
  bool fileExists = false;    // E
  bool sample = false;        // S
  bool registered = false;    // R
  bool complete = false;      // K
  bool reportPage = false;    // F
  bool printer = false;       // P
  bool busy = false;          // B
  int currentScreen = 0;
};

struct CommandStates {
  bool newFile = false;     // ACT_New
  bool open = false;        // ACT_OpenAs
  bool save = false;        // ACT_Save
  bool saveAs = false;      // ACT_SaveAs
  bool report = false;      // ACT_Report (menu item and SBTN_Rep)
  bool calcMenu = false;    // MENU_Calc
  bool dispMenu = false;    // MENU_Disp
  bool hardCopy = false;    // "画面をハードコピー印刷(&H)..."
  bool editScreen = false;  // SBTN5 and the "入力編集(&E)" item
  bool calcScreen = false;  // SBTN6 and the "計算実行(&C)" item
  bool resultScreens = false;  // SBTN7, SBTN8, SBTN9 and the three display items
  bool fileCombo = false;   // CBOX0
  bool sampleMark = false;  // TXT_S visible
};

CommandStates ComputeCommandStates(const CommandInputs& in);

}  // namespace app
