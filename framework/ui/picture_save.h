// Saving what the user sees as a file: the picture save dialog TGRSVForm and the BMP/JPEG
// conversion routines.
//
// The caller names the kind and a proposed file name (Setup), sets CurrentPicture (kinds 1 and
// 2) or CurrentChart (kind 3), shows the dialog modally and reads fw::DialogYes afterwards:
//   kind 1 image ("画像"): a bitmap (".BMP") and/or a JPEG (".JPG") of the image's picture;
//   kind 2 graph ("グラ"): the caller saves the metafile itself; the dialog writes the picture
//          as a bitmap (".BMP") when that is ticked;
//   kind 3 chart ("チャ"): the chart as an enhanced metafile (".EMF") and/or a bitmap.
// While MakingReportMetafiles is set the dialog works silently: no questions, no completion
// messages, the editing buttons disabled.
//
// Decisions kept on purpose (the safe behaviour):
// - Only the files the user asked for are written, each through a temporary file and a rename;
//   no other file is created, replaced or deleted (a sibling ".BMP" or ".JPG" is never used as a
//   scratch file).
// - The question before saving names every file that will be written and every one of them
//   that exists already.
// - A bitmap is written from the picture itself; it is not passed through JPEG compression.
// - Kind 2 with only the bitmap ticked writes the bitmap.
// - The chart preview uses a temporary file of its own in the system's temporary folder,
//   deleted after loading.
// - A file that cannot be written is reported with its name; the dialog stays open and
//   DialogYes is not set.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;

namespace fw {
class TEditEx;
class TImageEx;
}  // namespace fw

namespace fw {

// JPEG quality of every JPEG the program writes.
constexpr int kJpegQuality = 90;

// A chart that can write itself (the chart library's export).
class ChartSource {
 public:
  virtual ~ChartSource() = default;
  // Writes the chart as an enhanced metafile / as a bitmap file; false when it cannot.
  virtual bool WriteMetafileFile(const std::string& path) = 0;
  virtual bool WriteBitmapFile(const std::string& path) = 0;
};

// ---- Program-wide values of the dialog
extern int SaveKind;                  // 0 none, 1 image, 2 graph, 3 chart
extern std::string SavePath;          // the file name to save to
extern std::string GivenSavePath;     // the file name given by the caller
extern fw::TImageEx* CurrentPicture;  // kinds 1 and 2, set by the caller
extern ChartSource* CurrentChart;     // kind 3, set by the caller
extern bool MakingReportMetafiles;    // silent mode
// After a confirmed save of kind 2 or 3: whether the enhanced metafile was asked for.
extern bool MetafileChosen;

// File-format names 0..4: "なし", "ビットマップ", "ＪＰＥＧ", "アイコン", "拡張メタ" (CP932).
std::string SaveFormatName(int index);
// The kind of a kind text: 1 for "画像", 2 for "グラ", 3 for "チャ", else 0.
int SaveKindOf(const std::string& kindText);
// `path` with its extension (the part from the last '.' of the file name) replaced by `ext`
// (".BMP"); a name without extension gets it appended.
std::string ChangeFileExt(const std::string& path, const std::string& ext);

// ---- Conversion routines. Each returns false (with `error`, CP932, naming the file) when a
// file cannot be read or written; the files not asked for are never touched.

// Writes `image` as path with ".BMP" (when `bmp`) and as path with ".JPG" (when `jpg`).
bool SaveImageAsBmpJpg(const QImage& image, const std::string& path, bool bmp, bool jpg,
                       std::string* error = nullptr);
// The bitmap file as a JPEG file (quality kJpegQuality); nothing (false) when the bitmap is missing.
bool ConvertBmpToJpeg(const std::string& bmpPath, const std::string& jpgPath, std::string* error = nullptr);
// The JPEG file as a 24-bit bitmap file (the only pixel format written); nothing (false) when the
// JPEG is missing.
bool ConvertJpegToBmp(const std::string& jpgPath, const std::string& bmpPath, int bitsPerPixel = 24,
                      std::string* error = nullptr);

// ---- The dialog

// Creates the dialog, sets it up for the kind text and proposed path, shows it modally and
// frees it; returns fw::DialogYes (something was saved, or for kind 2 confirmed). SavePath
// and MetafileChosen tell the caller what the user confirmed.
bool ShowPictureSaveDialog(const std::string& kindText, const std::string& path, QWidget* parent = nullptr);

class TGRSVForm : public QDialog {
  Q_OBJECT
 public:
  explicit TGRSVForm(QWidget* parent = nullptr);
  ~TGRSVForm() override;

  // kindText: the kind ("画像", "グラフ", "チャート" ..., CP932); path: the proposed file name.
  void Setup(const std::string& kindText, const std::string& path);

  // The files the execute button would write now (kind and ticks), in order.
  std::vector<std::string> TargetFiles() const;

  // Replaces the browse dialog (tests): gets the start name and the filter, returns the chosen
  // inside path or nothing.
  static std::function<std::optional<std::string>(const std::string& start, const std::string& filter)> BrowseHook;

  QLabel* LBL0 = nullptr;
  QLabel* LBL2 = nullptr;
  QLabel* LBL3 = nullptr;
  QLabel* LBL_Msg = nullptr;
  QToolButton* SBTN1 = nullptr;
  QToolButton* SBTN2 = nullptr;
  fw::TEditEx* EDIT1 = nullptr;
  QGroupBox* GBOX1 = nullptr;
  QCheckBox* CBTN1_1 = nullptr;
  QCheckBox* CBTN1_2 = nullptr;
  QGroupBox* GBOX2 = nullptr;
  QCheckBox* CBTN2_1 = nullptr;
  QCheckBox* CBTN2_2 = nullptr;
  QPushButton* BBTN1 = nullptr;
  QPushButton* BTN1 = nullptr;
  QCheckBox* CBTN1 = nullptr;
  QWidget* PNL1 = nullptr;
  fw::TImageEx* IMAG1 = nullptr;

  void UpdateControls();
  void LoadPreview();
  void ShowPath();
  // Commits a typed or browsed name (see the dialog's description).
  void CommitName(const std::string& text);
  void SBTN1Click();
  void SBTN2Click();
  void BBTN1Click();
  void BTN1Click();
  // Closing by any other way than the execute button saves nothing (DialogYes false).
  void reject() override;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void FitPreview();
  bool Silent() const;
  bool committing_ = false;
};

}  // namespace fw
