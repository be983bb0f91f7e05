// The folder table: every folder the program reads or writes, built from the base folder
// under which "DATA\利用環境.WIN" was found. Inside paths (CP932, '\'), each ending in '\'.
#pragma once

#include <string>

namespace fw {

extern std::string BaseDrive;   // "C:"
extern std::string BaseFolder;  // with leading and trailing '\'

extern std::string DataDir, CalDir, CadDir, EdsDir, NqzDir, QzCalDir, QzGalDir, QzLogDir, QzWcdDir;
extern std::string DatDir, QzDatDir, CityDir, ColorDir, PictDir, HelpDir;

// Builds the table from root = BaseDrive + BaseFolder (a trailing '\' is added when missing).
void SetFolderTable(const std::string& root);

}  // namespace fw
