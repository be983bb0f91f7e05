#include "framework/appinit.h"

#include <cstdio>
#include <vector>

#include "framework/calc_state.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/mbcs.h"
#include "platform/path.h"
#include "platform/ui.h"

namespace fw {

using platform::J;

std::string ExecutablePath;
std::string ProgramTitle;
std::string ProgramNameVersion;
std::array<std::string, kSettingsRowCount> SettingsRows;
int CountryNo = 1;
std::string CountryName;
std::string WindowsDrive;
std::string DriveFD, DriveCD, DriveMC, DriveHD;
std::string ColorFileName;
std::array<std::array<int, 6>, 3> ColorGroups{};
int ScreenWidth = 0, ScreenHeight = 0;
int MainWidth = 0, MainHeight = 0;
int ThisYear = 0;
std::string ThisYearText, ThisYear2, TodayText;
int Today = 0;
int NextYear = 0;
std::string NextYearText, NextYear2;
std::string ManualPath;
std::vector<std::string> ResultLines;
bool SharedListsReady = false;
void (*StartupPrinterHook)() = nullptr;

namespace {

constexpr int kMainWidth = 800;
constexpr int kMainHeight = 573;
constexpr int kHintHidePauseMs = 3000;  // how long a hint stays

std::string SettingsPath() { return DataDir + J("利用環境.WIN"); }

// Folder part of an inside path, with drive and trailing '\'.
std::string FolderOf(const std::string& path) {
  SplitFileName(path);
  return FileDir;
}

// The parent of a folder written with leading and trailing '\' ("\a\b\" -> "\a\").
std::string ParentFolder(const std::string& folder) {
  std::string f = ExcludePathDelimiter(folder);
  SplitFileName("C:" + f);
  std::string parent = FileDir.size() > 2 ? FileDir.substr(2) : std::string("\\");
  return parent.empty() ? std::string("\\") : parent;
}

// Total and available physical memory in MB from /proc/meminfo (0 when unknown).
void MemoryMegabytes(int64_t& total, int64_t& available) {
  total = available = 0;
  std::vector<std::string> lines;
  if (!platform::ReadTextLines("C:\\proc\\meminfo", lines)) return;
  for (const std::string& line : lines) {
    // "MemTotal:       16314788 kB"
    if (line.rfind("MemTotal:", 0) == 0) total = TextToInt(line.substr(9)) >> 10;
    if (line.rfind("MemAvailable:", 0) == 0) available = TextToInt(line.substr(13)) >> 10;
  }
}

std::string Format(const char* fmt, auto... args) {
  char buf[128];
  std::snprintf(buf, sizeof buf, fmt, args...);
  return buf;
}

// A row for the 40-byte settings field: cut after 40 bytes, never through a double-byte character.
std::string FitRow(const std::string& row) {
  std::string first, rest;
  SplitAtBytes(row, kSettingsRowWidth, first, rest);
  return first;
}

// The last file in rows 12 (folder), 13 (name) and 14 (extension). The folder is in stored form;
// when it is longer than the row, its last levels move to the front of row 13 (reading joins
// the three rows back into the same path). False when even that does not fit.
bool LastFileRows(const std::string& folder, const std::string& name, std::string& row12, std::string& row13) {
  row12 = folder;
  row13 = name;
  if (static_cast<int>(row13.size()) > kSettingsRowWidth) return false;
  if (static_cast<int>(row12.size()) <= kSettingsRowWidth) return true;
  // The latest '\' that leaves row 12 within the row; the levels after it go to row 13.
  size_t cut = std::string::npos;
  for (size_t i = 0; i < folder.size() && static_cast<int>(i) < kSettingsRowWidth; ++i) {
    const auto c = static_cast<unsigned char>(folder[i]);
    if (platform::IsCp932LeadByte(c)) {
      ++i;
      continue;
    }
    if (c == '\\') cut = i;
  }
  if (cut == std::string::npos) return false;
  row12 = folder.substr(0, cut + 1);
  row13 = folder.substr(cut + 1) + name;
  return static_cast<int>(row13.size()) <= kSettingsRowWidth;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

int SystemDriveType(char letter) {
  if (letter >= 'a' && letter <= 'z') letter -= 32;
  return letter == 'C' ? kDriveFixed : kDriveNoRoot;
}

std::string FindDriveWithFile(const std::string& fileName, const std::string& folderIn) {
  std::string folder = folderIn;
  if (folder.empty() || folder[0] != '\\') folder = "\\" + folder;
  for (char d = 'A'; d <= 'Z'; ++d) {
    const std::string drive = std::string(1, d) + ":";
    if (FileCheck(drive + folder + fileName, 0)) return drive;
  }
  return std::string();
}

std::string DriveLetters(int count, int driveType) {
  FoundFlag = false;
  for (int i = 0; i < count && i < 26; ++i) {
    const char letter = static_cast<char>('A' + i);
    if (SystemDriveType(letter) == driveType) {
      FoundFlag = true;
      return std::string(1, letter) + ":";
    }
  }
  return std::string();
}

std::string FindRemovableDrive() {
  std::string d = DriveLetters(3, kDriveRemovable);
  return FoundFlag ? d : std::string("A:");
}

std::string FindFixedDrive() { return DriveLetters(26, kDriveFixed); }

std::string FindCdRomDrive() { return DriveLetters(26, kDriveCdRom); }

std::string ReadLineOfFile(const std::string& path, int n) {
  std::vector<std::string> lines;
  if (n < 1 || !platform::ReadTextLines(path, lines) || n > static_cast<int>(lines.size())) return std::string();
  return lines[static_cast<size_t>(n - 1)];
}

// ---------------------------------------------------------------------------------------------

std::string LastFileOfSettings() {
  std::string folder = SettingsRows[12];
  const std::string placeholder = "<?\?\?>";  // escaped: not a trigraph
  if (ContainsStr("\\" + placeholder, folder)) folder = ReplaceFirst(placeholder, SettingsRows[13], folder);
  folder = IncludePathDelimiter(folder);
  return NormalizePath(folder + SettingsRows[13] + SettingsRows[14]);
}

void LoadSettings() {
  if (DataLoad(SettingsPath())) {
    const int rows = TableBuffer.TableRows < kSettingsRowCount ? TableBuffer.TableRows : kSettingsRowCount;
    for (int i = 0; i < rows; ++i) SettingsRows[static_cast<size_t>(i)] = TableBuffer.TableKeys[static_cast<size_t>(i + 1)];
  }

  // Country: the number after "国№" in row 10, its name from the country table.
  const std::string mark = J("国№");
  const std::string& row10 = SettingsRows[10];
  const size_t at = row10.find(mark);
  CountryNo = at == std::string::npos ? 0 : static_cast<int>(TextToInt(row10.substr(at + mark.size(), 2)));
  CountryName.clear();
  const bool countries = DataLoad(DatDir + J("国名.DAT"));
  if (countries && CountryNo >= 1 && CountryNo <= TableBuffer.TableRows) {
    CountryName = TableBuffer.TableKeys[static_cast<size_t>(CountryNo)];
  } else {
    CountryNo = 1;
    CountryName = J("日本");
  }

  // The last calculation file.
  const std::string full = LastFileOfSettings();
  if (full.empty() || !platform::FileExists(full)) {
    const std::string none = J("なし.???");
    NormalizePath(BaseDrive + "..." + none);
    FileDrive = BaseDrive;
    FileDir = BaseDrive + "...";
    FileNameExt = none;
    FileExt = ".???";
    FileBaseName = J("なし");
  }

  // Drives of row 15 ("FD[A:] CD[  ] MC[  ] HD[C:]"), colour groups of rows 16 to 18.
  const std::string& row15 = SettingsRows[15];
  auto two = [&](size_t pos) { return row15.size() >= pos + 1 ? row15.substr(pos - 1, 2) : std::string(); };
  DriveFD = two(4);
  DriveCD = two(11);
  DriveMC = two(18);
  DriveHD = two(25);
  for (int g = 0; g < 3; ++g) {
    const std::string row = TrimBoth(SettingsRows[static_cast<size_t>(16 + g)]);
    for (int k = 0; k < 6; ++k) {
      const size_t pos = static_cast<size_t>(1 + 5 * k);  // characters 2, 7, 12, ... (1-based)
      ColorGroups[static_cast<size_t>(g)][static_cast<size_t>(k)] =
          pos < row.size() ? static_cast<int>(TextToInt(row.substr(pos, 3))) : 0;
    }
  }
  ColorFileName = ColorDir + SettingsRows[19];
}

void SaveSettings(const std::string& fileName) {
  auto& rows = SettingsRows;
  rows[4] = "Windows Drive[" + WindowsDrive + "]";
  rows[5] = "Start Drive[" + BaseDrive + "]";
  SplitAtBytes(BaseFolder, kSettingsRowWidth, rows[6], rows[7]);
  rows[8] = BaseFolder.empty() ? DataDir : ReplaceFirst(BaseFolder, "...", DataDir);
  if (!ProgramTitle.empty()) rows[9] = ProgramTitle;
  if (!ProgramNameVersion.empty()) rows[10] = ProgramNameVersion + J(" (国№") + Format("%2d", CountryNo) + ")";
  rows[11] = DateStampText(NowDateTime());

  if (!fileName.empty()) {
    const std::string full = NormalizePath(fileName);
    std::string folder = BaseDrive + "...", name = J("なし"), ext = FileExt;
    if (!full.empty() && platform::FileExists(full)) {
      SplitFileName(AbbreviatePath(full));
      folder = RelativeToBase(FileDir);
      ext = FileExt;
      // The name without its extension, so that a name holding dots comes back whole.
      name = FileNameExt.substr(0, FileNameExt.size() - ext.size());
    }
    std::string row12, row13;
    if (!LastFileRows(folder, name, row12, row13)) {
      MsgDialog(J("ファイル名 ： ") + full + "\r\r" +
                    J("ファイル名が長すぎるので、利用環境ファイルに記録できませんでした。"),
                3, 1);
      row12 = BaseDrive + "...";
      row13 = J("なし");
    }
    rows[12] = row12;
    rows[13] = row13;
    rows[14] = ext;
  }

  rows[15] = "FD[" + Format("%2s", DriveFD.c_str()) + "] CD[" + Format("%2s", DriveCD.c_str()) + "] MC[" +
             Format("%2s", DriveMC.c_str()) + "] HD[" + Format("%2s", DriveHD.c_str()) + "]";
  for (int g = 0; g < 3; ++g) {
    std::string row(10, ' ');
    for (int k = 0; k < 6; ++k) row += "[" + Format("%3d", ColorGroups[static_cast<size_t>(g)][static_cast<size_t>(k)]) + "]";
    rows[static_cast<size_t>(16 + g)] = row;
  }
  {
    SplitFileName(ColorFileName);
    rows[19] = FileNameExt;
  }

  WriteSettingsFile();
}

bool WriteSettingsFile() {
  TTableBuffer& t = TableBuffer;
  t.TableRows = kSettingsRowCount;
  t.TableCols = 1;
  t.TableWidths[1] = kSettingsRowWidth;
  for (int i = 0; i < kSettingsRowCount; ++i) {
    // Rows that are only carried along are kept within the field, so the save is never refused.
    const std::string row = FitRow(SettingsRows[static_cast<size_t>(i)]);
    t.TableKeys[static_cast<size_t>(i + 1)] = row;
    t.TableCells[static_cast<size_t>(i + 1)][1] = row;
  }
  return DataSave(SettingsPath());
}

// ---------------------------------------------------------------------------------------------

void AppInit() {
  DialogCancel = false;
  std::string exe = ExecutablePath.empty() ? platform::ExecutableFolder() + "harvsim" : ExecutablePath;
  BaseDrive = exe.substr(0, 2);
  const std::string exeFolder = FolderOf(exe);
  const std::string own = exeFolder.size() > 2 ? exeFolder.substr(2) : std::string("\\");
  SplitFileName(exe);
  const std::string manual =
      FileDir + FileNameExt.substr(0, FileNameExt.size() - FileExt.size()) + ".PDF";
  const std::vector<std::string> candidates = {own, ParentFolder(own) + "share\\harvsim\\", "\\opt\\Velorin\\"};

  bool found = false;
  for (const std::string& c : candidates) {
    BaseFolder = c;
    if (platform::FileExists(BaseDrive + c + "DATA\\" + J("利用環境.WIN"))) {
      found = true;
      break;
    }
  }
  if (!found) {
    MsgDialog(J("利用環境ファイルが見つからないので、プログラムは実行できません。"), 4, 1);
    DialogCancel = true;
    return;
  }

  SetFolderTable(BaseDrive + BaseFolder);
  LoadSettings();

  WindowsDrive = platform::FolderExists("C:\\Program Files\\") ? std::string("C:") : FindDriveWithFile("MSDOS.SYS", "\\");
  if (WindowsDrive.empty()) WindowsDrive = "C:";  // the Linux root holds the system

  platform::Ui& ui = platform::CurrentUi();
  ScreenWidth = ui.ScreenWidth();
  ScreenHeight = ui.ScreenHeight();
  int64_t total = 0, available = 0;
  MemoryMegabytes(total, available);
  SettingsRows[3] = J("ﾒﾓﾘ:") + std::to_string(total) + "MB(" + std::to_string(available) + "MB) CRT:" +
                    std::to_string(ScreenWidth) + "x" + std::to_string(ScreenHeight);

  MainWidth = kMainWidth + (ContainsStr("WindowsVista", SettingsRows[2]) ? 2 : 0);
  MainHeight = kMainHeight;

  DriveFD = FindRemovableDrive();
  DriveHD = FindFixedDrive();
  DriveCD = FindCdRomDrive();

  SaveSettings(std::string());

  Input.OverwriteMode = 0;
  Input.InputText.clear();
  ResultLines.clear();
  CalcData.clear();
  CalcDataSaved.clear();
  SharedListsReady = true;

  const DateTime now = NowDateTime();
  ThisYear = now.year;
  ThisYearText = Format("%04d", now.year);
  ThisYear2 = ThisYearText.substr(2, 2);
  TodayText = DateStampShort(now).substr(0, 6);
  Today = static_cast<int>(TextToInt(TodayText));
  NextYear = now.year + 1;
  NextYearText = Format("%4d", NextYear);
  NextYear2 = NextYearText.substr(2, 2);

  SetUnitSystem(J("工学単位"));
  UnitNames.clear();
  if (DataLoad(DatDir + J("単位系SIW.DAT"))) {
    const int n = TableBuffer.TableRows < 100 ? TableBuffer.TableRows : 100;
    for (int i = 1; i <= n; ++i)
      UnitNames.emplace_back(TableBuffer.TableCells[static_cast<size_t>(i)][1],
                             TableBuffer.TableCells[static_cast<size_t>(i)][2]);
  }

  DataState = TDataState{};
  LastStatusText.clear();
  ErrorText.clear();

  // Printer information; a warning about a missing printer is only a note here: however it
  // was closed, start-up goes on.
  if (StartupPrinterHook) StartupPrinterHook();

  CenterMouseCursor();
  ui.SetHintHidePause(kHintHidePauseMs);
  ManualPath = manual;
  // Only a missing settings file ends the program; no earlier dialog answer may.
  DialogCancel = false;
}

void AppDone(const std::string& currentFileName) {
  SaveSettings(currentFileName);
  ResultLines.clear();
  ResultLines.shrink_to_fit();
  SharedListsReady = false;
}

}  // namespace fw
