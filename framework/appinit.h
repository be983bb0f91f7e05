// Start-up and shut-down of the framework: finding the folder that holds the program's data,
// the folder table (folders.h), the settings file "DATA\利用環境.WIN" with its 21 rows, facts
// about the machine, the shared lists, the unit-name table and the date texts.
//
// Where the program looks for its data (first folder holding "DATA\利用環境.WIN" wins):
//   1. the folder of the executable;
//   2. "share\harvsim\" beside the executable's parent folder (an installation in the usual
//      Linux layout: bin\harvsim with its data in share\harvsim\);
//   3. "\opt\Velorin\" at the root of the drive.
//
// Machine facts on Linux: "C:" (the root of the file system) is the only drive and the only
// fixed drive; there are no removable or CD-ROM drives, so the removable-drive text is the
// default "A:" and the CD-ROM text is empty. The system drive (WindowsDrive) is "C:".
// Memory figures come from /proc/meminfo (MemTotal and MemAvailable), the screen size from
// the installed user-interface services.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace fw {

// The program file (inside path). Set by the program before AppInit; when empty, AppInit uses
// the executable's folder + "harvsim". ManualPath and the base-folder candidates derive from it.
extern std::string ExecutablePath;

// Set by the main window before AppInit; rows 9 and 10 are written only when they are set.
extern std::string ProgramTitle;        // "雨水利用シミュレーション Ver2.00"
extern std::string ProgramNameVersion;  // "HarvSim Ver.2.00"

constexpr int kSettingsRowCount = 21;
constexpr int kSettingsRowWidth = 40;
extern std::array<std::string, kSettingsRowCount> SettingsRows;

extern int CountryNo;
extern std::string CountryName;

extern std::string WindowsDrive;
extern std::string DriveFD, DriveCD, DriveMC, DriveHD;

// Palette file: ColorDir + settings row 19.
extern std::string ColorFileName;
// The numbers of settings rows 16, 17 and 18: ColorGroups[g][k], g 0..2, k 0..5.
extern std::array<std::array<int, 6>, 3> ColorGroups;

extern int ScreenWidth, ScreenHeight;  // screen size at start
extern int MainWidth, MainHeight;      // the main window's size after start-up (800 x 573, +2 on "WindowsVista")

// Date texts, taken at start-up.
extern int ThisYear;               // 2024
extern std::string ThisYearText;   // "2024"
extern std::string ThisYear2;      // "24"
extern std::string TodayText;      // "yymmdd"
extern int Today;                  // yymmdd as an integer
extern int NextYear;               // 2025
extern std::string NextYearText;   // "2025"
extern std::string NextYear2;      // "25"

// The executable's path with the extension ".PDF" (the manual).
extern std::string ManualPath;

// Shared work list of the result screens and the report (result file lines).
extern std::vector<std::string> ResultLines;
// True between AppInit and AppDone (the shared lists exist).
extern bool SharedListsReady;

// The printing step of start-up: resets the print settings and reads the printer information
// (with its message). The program registers it at start-up (InstallStartupPrinting of
// printing.h); null: start-up skips that step.
extern void (*StartupPrinterHook)();

// Start-up. On a fatal failure DialogCancel is set, which the main window takes as the order
// to end the program. Sets the hint hide pause of the user interface to 3000 ms.
void AppInit();
// Writes the settings file with the current file name and the time of the run; frees the lists.
void AppDone(const std::string& currentFileName);

void LoadSettings();
// The last calculation file of settings rows 12 (folder in stored form), 13 (base name) and
// 14 (extension), expanded to a full path; the rows are read as LoadSettings leaves them.
std::string LastFileOfSettings();
// Rows 12 and 13 are rewritten only when fileName is not empty. The last file is stored in
// its stored form; a folder longer than the 40-byte row is split at a '\' between rows 12
// and 13 (reading joins rows 12, 13 and 14 back into the path); a path that still does not
// fit is reported and stored as "no file".
void SaveSettings(const std::string& fileName);
// Writes the 21 settings rows as they stand (each cut to its 40 bytes, never through a
// double-byte character) to DataDir + "利用環境.WIN". False when the file could not be
// written; the table writer has then shown why.
bool WriteSettingsFile();

// The n-th line (1-based) of a text file; empty when the file is missing or shorter.
std::string ReadLineOfFile(const std::string& path, int n);

// Drive types as the system reports them.
constexpr int kDriveNoRoot = 1;
constexpr int kDriveRemovable = 2;
constexpr int kDriveFixed = 3;
constexpr int kDriveRemote = 4;
constexpr int kDriveCdRom = 5;
int SystemDriveType(char letter);

// The first of the drives "A:" to "Z:" on which folder + fileName exists; empty when none.
std::string FindDriveWithFile(const std::string& fileName, const std::string& folder);
// The first of the first `count` drive letters from "A:" whose type is `driveType`, as "X:";
// sets FoundFlag when found, else empty.
std::string DriveLetters(int count, int driveType);
std::string FindRemovableDrive();  // among A to C, else "A:"
std::string FindFixedDrive();
std::string FindCdRomDrive();

}  // namespace fw
