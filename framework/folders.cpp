#include "framework/folders.h"

#include "platform/cp932.h"

namespace fw {

std::string BaseDrive;
std::string BaseFolder;
std::string DataDir, CalDir, CadDir, EdsDir, NqzDir, QzCalDir, QzGalDir, QzLogDir, QzWcdDir;
std::string DatDir, QzDatDir, CityDir, ColorDir, PictDir, HelpDir;

void SetFolderTable(const std::string& rootIn) {
  std::string root = rootIn;
  if (root.empty() || root.back() != '\\') root += '\\';
  DataDir = root + "DATA\\";
  CalDir = root + "CAL\\";
  CadDir = root + "CAD\\";
  EdsDir = root + "EDS\\";
  NqzDir = root + "NQZ\\";
  QzCalDir = root + "QZCAL\\";
  QzGalDir = root + "QZGAL\\";
  QzLogDir = root + "QZLOG\\";
  QzWcdDir = root + "QZWCD\\";
  DatDir = DataDir + "DAT\\";
  QzDatDir = DataDir + "QZDAT\\";
  CityDir = DataDir + "CITY\\";
  ColorDir = DataDir + "COLOR\\";
  PictDir = DataDir + "PICT\\";
  HelpDir = DataDir + "HELP\\";
}

}  // namespace fw
