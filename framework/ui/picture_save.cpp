// The picture save dialog and the BMP/JPEG conversion routines.
#include "framework/ui/picture_save.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/input_behaviour.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/image_codecs.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/picture_qt.h"
#include "platform/qt/qt_text.h"
#include "platform/ui.h"
#include "framework/ui/metafile_picture.h"

namespace fw {

using platform::J;

int SaveKind = 0;
std::string SavePath;
std::string GivenSavePath;
fw::TImageEx* CurrentPicture = nullptr;
ChartSource* CurrentChart = nullptr;
bool MakingReportMetafiles = false;
bool MetafileChosen = false;

std::function<std::optional<std::string>(const std::string&, const std::string&)> TGRSVForm::BrowseHook;

namespace {

constexpr int kEditCode = 1000;
constexpr char kCr = '\r';

// The hour-glass pointer for the lifetime of the object.
struct WaitCursor {
  WaitCursor() { platform::CurrentUi().SetCursorShape(platform::CursorShape::Wait); }
  ~WaitCursor() { platform::CurrentUi().SetCursorShape(platform::CursorShape::Default); }
};

bool WriteFile(const std::string& path, const std::string& bytes, std::string* error) {
  std::string why;
  if (!bytes.empty() && platform::WriteFileBytesAtomic(path, bytes, &why)) return true;
  if (error) {
    *error = J("ファイル名 ： ") + path + kCr + kCr + J("ファイルを保存できませんでした。");
    if (!why.empty()) *error += " (" + why + ")";
  }
  return false;
}

bool ReadFile(const std::string& path, std::string& bytes, std::string* error) {
  if (platform::ReadFileBytes(path, bytes)) return true;
  if (error) *error = J("ファイル名 ： ") + path + kCr + kCr + J("ファイルを読み込めませんでした。");
  return false;
}

// A name in the system's temporary folder that no file has.
std::string UniqueTempName(const std::string& ext) {
  static int counter = 0;
  const std::string base = platform::TempFolder() + "HarvSimChart-" +
                           std::to_string(QCoreApplication::applicationPid()) + "-";
  for (;;) {
    const std::string name = base + std::to_string(++counter) + ext;
    if (!platform::GetFileInfo(name).exists) return name;
  }
}

// A temporary name beside `path` for writing it through a rename.
std::string SiblingTempName(const std::string& path) {
  static int counter = 0;
  for (;;) {
    const std::string name = path + ".~" + std::to_string(QCoreApplication::applicationPid()) + "-" +
                             std::to_string(++counter);
    if (!platform::GetFileInfo(name).exists) return name;
  }
}

// Lets `write` produce the file under a temporary name, then renames it over `path`.
bool WriteThroughTemp(const std::string& path, const std::function<bool(const std::string&)>& write,
                      std::string* error) {
  const std::string temp = SiblingTempName(path);
  if (write(temp) && platform::FileExists(temp) && platform::RenamePath(temp, path)) return true;
  platform::RemoveFile(temp);
  if (error) *error = J("ファイル名 ： ") + path + kCr + kCr + J("ファイルを保存できませんでした。");
  return false;
}

}  // namespace

std::string SaveFormatName(int index) {
  static const char* const kNames[] = {"なし", "ビットマップ", "ＪＰＥＧ", "アイコン", "拡張メタ"};
  return index >= 0 && index <= 4 ? J(kNames[index]) : std::string();
}

int SaveKindOf(const std::string& kindText) {
  if (fw::ContainsStr(J("画像"), kindText)) return 1;
  if (fw::ContainsStr(J("グラ"), kindText)) return 2;
  if (fw::ContainsStr(J("チャ"), kindText)) return 3;
  return 0;
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  const size_t slash = path.find_last_of("\\:");
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ext;
  return path.substr(0, dot) + ext;
}

// ---- Conversion routines

bool SaveImageAsBmpJpg(const QImage& image, const std::string& path, bool bmp, bool jpg, std::string* error) {
  if (!bmp && !jpg) return true;
  WaitCursor wait;
  const platform::Dib dib = platform::DibFromImage(image);
  if (bmp && !WriteFile(ChangeFileExt(path, ".BMP"), platform::EncodeBmp24(dib), error)) return false;
  if (jpg && !WriteFile(ChangeFileExt(path, ".JPG"), platform::EncodeJpeg(dib, kJpegQuality), error)) return false;
  return true;
}

namespace {

// Reads `from`, decodes it, encodes it again and writes `to`; nothing when `from` is missing.
bool ConvertFile(const std::string& from, const std::string& to,
                 std::optional<platform::Dib> (*decode)(std::string_view, std::string*),
                 const std::function<std::string(const platform::Dib&)>& encode, const char* kindUtf8,
                 std::string* error) {
  if (!platform::FileExists(from)) return false;
  WaitCursor wait;
  std::string bytes;
  if (!ReadFile(from, bytes, error)) return false;
  const std::optional<platform::Dib> dib = decode(bytes, nullptr);
  if (!dib) {
    if (error) *error = J("ファイル名 ： ") + from + kCr + kCr + J(kindUtf8) + J("として読めません。");
    return false;
  }
  return WriteFile(to, encode(*dib), error);
}

}  // namespace

bool ConvertBmpToJpeg(const std::string& bmpPath, const std::string& jpgPath, std::string* error) {
  return ConvertFile(
      bmpPath, jpgPath, platform::DecodeBmp,
      [](const platform::Dib& dib) { return platform::EncodeJpeg(dib, kJpegQuality); }, "ビットマップ", error);
}

bool ConvertJpegToBmp(const std::string& jpgPath, const std::string& bmpPath, int /*bitsPerPixel*/, std::string* error) {
  return ConvertFile(jpgPath, bmpPath, platform::DecodeJpeg, platform::EncodeBmp24, "ＪＰＥＧ", error);
}

// ---- TGRSVForm

TGRSVForm::TGRSVForm(QWidget* parent) : QDialog(parent) {
  setObjectName("GRSVForm");
  setWindowTitle(QString::fromUtf8("？画像の保存"));
  setMinimumSize(500, 290);
  resize(500, 290);

  LBL0 = new QLabel(this);
  LBL0->setObjectName("LBL0");
  LBL0->setGeometry(8, 6, 484, 20);
  QFont bold = LBL0->font();
  bold.setBold(true);
  LBL0->setFont(bold);

  PNL1 = new QFrame(this);
  PNL1->setObjectName("PNL1");
  static_cast<QFrame*>(PNL1)->setFrameShape(QFrame::Panel);
  static_cast<QFrame*>(PNL1)->setFrameShadow(QFrame::Sunken);
  PNL1->setGeometry(8, 30, 200, 180);
  IMAG1 = new fw::TImageEx(PNL1);
  IMAG1->setObjectName("IMAG1");
  IMAG1->SetStretch(true);
  IMAG1->setGeometry(2, 2, 196, 176);

  LBL2 = new QLabel(QString::fromUtf8("Size ??? × ??? Pixcel"), this);
  LBL2->setObjectName("LBL2");
  LBL2->setToolTip(QString::fromUtf8("画像サイズ"));
  LBL2->setGeometry(8, 214, 200, 20);

  EDIT1 = new fw::TEditEx(this);
  EDIT1->setObjectName("EDIT1");
  EDIT1->SetCellFrame(false);  // a plain field of the dialog, not an editor over a grid cell
  fw::SetTag(EDIT1, kEditCode);
  EDIT1->SetEditType(fw::TEditType::etString);
  EDIT1->setGeometry(216, 30, 240, 24);
  EDIT1->OnEnter = [](QWidget* s) { fw::EditEnter(s); };
  EDIT1->OnKeyDown = fw::EditKeyDown;
  EDIT1->OnKeyPress = [this](QWidget* s, uint8_t& key) {
    const uint8_t typed = key;
    fw::EditKeyPress(s, key);
    if (typed == 9 || typed == 13 || typed == 27) BTN1->setFocus(Qt::OtherFocusReason);  // ends the edit
  };
  EDIT1->OnExit = [this](QWidget* s) {
    fw::EditExit(s);
    if (!fw::Input.InputUnchanged) CommitName(fw::Input.InputText);
    ShowPath();
    UpdateControls();
    fw::ShowStatus("");
  };

  SBTN1 = new QToolButton(this);
  SBTN1->setObjectName("SBTN1");
  SBTN1->setText(QString::fromUtf8("参照"));
  SBTN1->setToolTip(QString::fromUtf8("別の保存場所を指定する"));
  SBTN1->setGeometry(460, 30, 32, 24);
  connect(SBTN1, &QToolButton::clicked, this, [this] { SBTN1Click(); });

  SBTN2 = new QToolButton(this);
  SBTN2->setObjectName("SBTN2");
  SBTN2->setText(QString::fromUtf8("保存ファイル名..."));
  SBTN2->setToolTip(QString::fromUtf8("編集前のファイル名に戻す"));
  SBTN2->setGeometry(216, 58, 120, 22);
  connect(SBTN2, &QToolButton::clicked, this, [this] { SBTN2Click(); });

  CBTN1 = new QCheckBox(QString::fromUtf8("短縮パス名"), this);
  CBTN1->setObjectName("CBTN1");
  CBTN1->setToolTip(QString::fromUtf8("チェックするとファイルパス名が短縮表示されます"));
  CBTN1->setGeometry(344, 58, 96, 22);
  connect(CBTN1, &QCheckBox::toggled, this, [this] { ShowPath(); });

  LBL3 = new QLabel(QString::fromUtf8("上書き"), this);
  LBL3->setObjectName("LBL3");
  LBL3->setAutoFillBackground(true);
  QPalette yellow = LBL3->palette();
  yellow.setColor(QPalette::Window, Qt::yellow);
  LBL3->setPalette(yellow);
  LBL3->setAlignment(Qt::AlignCenter);
  LBL3->setGeometry(444, 58, 48, 22);
  LBL3->hide();

  auto group = [this](const char* name, const char* title) {
    auto* g = new QGroupBox(QString::fromUtf8(title), this);
    g->setObjectName(name);
    g->setGeometry(216, 90, 276, 72);
    return g;
  };
  auto check = [](QGroupBox* g, const char* name, const char* text, int y, bool ticked) {
    auto* c = new QCheckBox(QString::fromUtf8(text), g);
    c->setObjectName(name);
    c->setGeometry(12, y, 250, 22);
    c->setChecked(ticked);
    return c;
  };
  GBOX1 = group("GBOX1", "＜保存形式（１）＞");
  CBTN1_1 = check(GBOX1, "CBTN1_1", "ビットマップ形式(*.&BMP)", 20, true);
  CBTN1_2 = check(GBOX1, "CBTN1_2", "ＪＰＥＧ形式(*.&JPG)", 44, false);
  GBOX2 = group("GBOX2", "＜保存形式（２）＞");  // at the same place as GBOX1
  CBTN2_2 = check(GBOX2, "CBTN2_2", "ビットマップ形式(*.&BMP)", 44, false);
  CBTN2_1 = check(GBOX2, "CBTN2_1", "拡張メタﾌｧｲﾙ形式(*.&EMF)", 20, true);
  for (QCheckBox* c : {CBTN1_1, CBTN1_2, CBTN2_1, CBTN2_2}) {
    connect(c, &QCheckBox::toggled, this, [this] { UpdateControls(); });
  }

  LBL_Msg = new QLabel(QString::fromUtf8("※〔グラフ〕は呼出側で保存すること"), this);
  LBL_Msg->setObjectName("LBL_Msg");
  LBL_Msg->setToolTip(QString::fromUtf8("開発者のみ表示"));
  LBL_Msg->setGeometry(216, 168, 276, 20);
  LBL_Msg->hide();

  BBTN1 = new QPushButton(QString::fromUtf8("実行(&Y)..."), this);
  BBTN1->setObjectName("BBTN1");
  BBTN1->setGeometry(296, 250, 96, 30);
  connect(BBTN1, &QPushButton::clicked, this, [this] { BBTN1Click(); });
  BTN1 = new QPushButton(QString::fromUtf8("中止(&N)"), this);
  BTN1->setObjectName("BTN1");
  BTN1->setGeometry(396, 250, 96, 30);
  connect(BTN1, &QPushButton::clicked, this, [this] { BTN1Click(); });
  BBTN1->setAutoDefault(false);
  BTN1->setAutoDefault(false);

  fw::DialogYes = false;
}

TGRSVForm::~TGRSVForm() = default;

bool TGRSVForm::Silent() const { return MakingReportMetafiles; }

void TGRSVForm::Setup(const std::string& kindText, const std::string& path) {
  SaveKind = SaveKindOf(kindText);
  SavePath = fw::NormalizePath(path);
  GivenSavePath = SavePath;
  static const char* const kTitles[] = {nullptr, "イメージ画像の保存（ビットマップ）", "グラフの保存（拡張メタファイル）",
                                        "チャートの保存（拡張メタファイル）"};
  if (SaveKind >= 1 && SaveKind <= 3) {
    setWindowTitle(QString::fromUtf8(kTitles[SaveKind]));
    LBL0->setText(QString::fromUtf8(kTitles[SaveKind]));
  }
  UpdateControls();
}

std::vector<std::string> TGRSVForm::TargetFiles() const {
  std::vector<std::string> files;
  switch (SaveKind) {
    case 1:
      if (CBTN1_1->isChecked()) files.push_back(ChangeFileExt(SavePath, ".BMP"));
      if (CBTN1_2->isChecked()) files.push_back(ChangeFileExt(SavePath, ".JPG"));
      break;
    case 2:
    case 3:
      if (CBTN2_1->isChecked()) files.push_back(SavePath);
      if (CBTN2_2->isChecked()) files.push_back(ChangeFileExt(SavePath, ".BMP"));
      break;
    default:
      break;
  }
  return files;
}

void TGRSVForm::UpdateControls() {
  const bool source = ((SaveKind == 1 || SaveKind == 2) && CurrentPicture && !CurrentPicture->Picture().isNull()) ||
                      (SaveKind == 3 && CurrentChart);
  const bool format = SaveKind == 1 ? CBTN1_1->isChecked() || CBTN1_2->isChecked()
                                    : CBTN2_1->isChecked() || CBTN2_2->isChecked();
  GBOX1->setVisible(SaveKind == 1);
  GBOX2->setVisible(SaveKind == 2 || SaveKind == 3);
  const bool silent = Silent();
  SBTN2->setEnabled(!silent);
  BTN1->setEnabled(!silent);
  SBTN1->setEnabled(!silent && source);
  EDIT1->setEnabled(!silent && source);
  BBTN1->setEnabled(source && format && LBL2->text() != QString::fromUtf8("画像なし") &&
                    fw::IsValidFileName(SavePath, false));
  LBL_Msg->setVisible(SaveKind == 2);
  bool exists = false;
  for (const std::string& f : TargetFiles()) exists = exists || platform::FileExists(f);
  LBL3->setVisible(exists);
}

void TGRSVForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  LoadPreview();
  fw::MovePointerToControl(BBTN1->isEnabled() ? static_cast<QWidget*>(BBTN1) : BTN1);
}

void TGRSVForm::FitPreview() {
  const QImage& pic = IMAG1->Picture();
  const QRect area = PNL1->contentsRect().adjusted(1, 1, -1, -1);
  if (pic.isNull() || area.isEmpty()) {
    IMAG1->setGeometry(area);
    return;
  }
  QSize fitted = pic.size().scaled(area.size(), Qt::KeepAspectRatio);
  if (pic.width() <= area.width() && pic.height() <= area.height()) fitted = pic.size();
  IMAG1->setGeometry(area.left() + (area.width() - fitted.width()) / 2,
                     area.top() + (area.height() - fitted.height()) / 2, fitted.width(), fitted.height());
}

void TGRSVForm::LoadPreview() {
  if (!isVisible()) return;
  ShowPath();
  LBL2->setText(QString::fromUtf8("画像なし"));
  IMAG1->SetPicture(QImage());
  QImage picture;
  if ((SaveKind == 1 || SaveKind == 2) && CurrentPicture) {
    picture = CurrentPicture->Picture();
  } else if (SaveKind == 3 && CurrentChart) {
    const std::string temp = UniqueTempName(".EMF");
    if (CurrentChart->WriteMetafileFile(temp)) {
      if (std::unique_ptr<TGraphic> graphic = LoadPicture(temp)) picture = platform::GraphicToImage(*graphic);
    }
    platform::RemoveFile(temp);
  }
  if (!picture.isNull()) {
    IMAG1->SetPicture(picture);
    LBL2->setText(QString::fromUtf8("Size %1 × %2 Pixcel").arg(picture.width()).arg(picture.height()));
  }
  FitPreview();
  UpdateControls();
}

void TGRSVForm::ShowPath() {
  EDIT1->SetText(CBTN1->isChecked() ? fw::AbbreviatePath(SavePath) : SavePath);
  EDIT1->setToolTip(platform::ToQString(SavePath));
}

void TGRSVForm::CommitName(const std::string& text) {
  if (committing_) return;
  committing_ = true;
  if (!fw::IsValidFileName(text, true)) {
    fw::ShowErrorStatus(J("保存ファイル名が正しくありません。"));
  } else {
    const std::string path = fw::NormalizePath(text);
    SavePath = ChangeFileExt(path, SaveKind == 1 ? ".BMP" : ".EMF");
    fw::MovePointerToControl(BBTN1);
  }
  ShowPath();
  UpdateControls();
  fw::ShowStatus("");
  committing_ = false;
}

void TGRSVForm::SBTN1Click() {
  const std::string filter = SaveKind == 1 ? J("保存ファイル(*.BMP)|*.BMP") : J("保存ファイル(*.EMF)|*.EMF");
  std::optional<std::string> chosen;
  if (BrowseHook) {
    chosen = BrowseHook(SavePath, filter);
  } else {
    QFileDialog dialog(this);
    dialog.setObjectName("SAVEPD");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(SaveKind == 1 ? QStringLiteral("*.BMP *.bmp") : QStringLiteral("*.EMF *.emf"));
    if (auto native = platform::ToNativePath(SavePath)) dialog.selectFile(QString::fromStdString(*native));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
      chosen = platform::ToInsidePath(dialog.selectedFiles().first().toStdString());
      if (!chosen) {
        fw::MsgDialog(J("このファイル名には使えない文字が含まれているので、扱うことができません。"), 3, 1);
      }
    }
  }
  if (!chosen) return;
  // A name without extension gets the current one (the commit forces the kind's extension).
  CommitName(*chosen);
}

void TGRSVForm::SBTN2Click() {
  fw::MsgDialog(J("編集前のファイル名に戻しますか？"), 2, 2);
  if (!fw::DialogYes) return;
  SavePath = GivenSavePath;
  ShowPath();
  UpdateControls();
}

void TGRSVForm::BBTN1Click() {
  const std::vector<std::string> targets = TargetFiles();
  if (!Silent()) {
    std::string question;
    for (const std::string& f : targets) {
      if (!question.empty()) question += kCr;
      question += J("保存ファイル名 ： ") + f;
    }
    std::string formats;
    auto addFormat = [&](bool ticked, int index) {
      if (!ticked) return;
      if (!formats.empty()) formats += J("・");
      formats += SaveFormatName(index);
    };
    if (SaveKind == 1) {
      addFormat(CBTN1_1->isChecked(), 1);
      addFormat(CBTN1_2->isChecked(), 2);
    } else {
      addFormat(CBTN2_1->isChecked(), 4);
      addFormat(CBTN2_2->isChecked(), 1);
    }
    question += std::string(2, kCr) + J("保存ファイル形式 ： ") + formats + J("ファイル形式");
    std::vector<std::string> existing;
    for (const std::string& f : targets) {
      if (platform::FileExists(f)) existing.push_back(f);
    }
    if (!existing.empty()) {
      question += std::string(2, kCr) + J("※既に同名のファイルがあります。");
      if (targets.size() > 1) {
        for (const std::string& f : existing) question += kCr + J("　") + f;
      }
      fw::MsgDialog(question + std::string(2, kCr) + J("上書き保存しますか？"), 3, 3);
    } else {
      fw::MsgDialog(question + std::string(2, kCr) + J("保存しますか？"), 2, 2);
    }
    if (!fw::DialogYes) {
      fw::MovePointerToControl(BTN1);
      return;
    }
  }

  fw::SplitFileName(SavePath);
  const std::string folder = fw::FileDir;
  if (!folder.empty() && !platform::FolderExists(folder)) platform::MakeFolders(folder);

  std::string error;
  bool ok = true;
  if (SaveKind == 1) {
    ok = SaveImageAsBmpJpg(CurrentPicture->Picture(), SavePath, CBTN1_1->isChecked(), CBTN1_2->isChecked(), &error);
    if (ok && !Silent()) fw::MsgDialog(J("〔イメージ画像〕を保存しました。"), 1, 1);
  } else if (SaveKind == 2) {
    MetafileChosen = CBTN2_1->isChecked();
    if (CBTN2_2->isChecked()) {
      ok = SaveImageAsBmpJpg(CurrentPicture->Picture(), SavePath, true, false, &error);
    }
  } else if (SaveKind == 3) {
    MetafileChosen = CBTN2_1->isChecked();
    if (CBTN2_1->isChecked()) {
      ok = WriteThroughTemp(SavePath, [](const std::string& t) { return CurrentChart->WriteMetafileFile(t); }, &error);
    }
    if (ok && CBTN2_2->isChecked()) {
      ok = WriteThroughTemp(ChangeFileExt(SavePath, ".BMP"),
                            [](const std::string& t) { return CurrentChart->WriteBitmapFile(t); }, &error);
    }
    if (ok && !Silent()) fw::MsgDialog(J("〔チャート〕を保存しました。"), 1, 1);
  }
  if (!ok) {
    fw::MsgDialog(error, 4, 1);
    fw::DialogYes = false;
    UpdateControls();
    return;
  }
  fw::DialogYes = true;
  accept();
}

bool ShowPictureSaveDialog(const std::string& kindText, const std::string& path, QWidget* parent) {
  TGRSVForm form(parent);
  form.Setup(kindText, path);
  fw::DialogYes = form.exec() == QDialog::Accepted;
  return fw::DialogYes;
}

void TGRSVForm::BTN1Click() { reject(); }

void TGRSVForm::reject() {
  fw::DialogYes = false;
  QDialog::reject();
}

}  // namespace fw
