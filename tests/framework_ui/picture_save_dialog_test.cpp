// The picture save dialog: what each kind writes for each choice, the question before saving,
// silent mode, names typed without extension, and the chart preview's temporary file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <filesystem>

#include "framework/messages.h"
#include "framework/ui/controls.h"
#include "platform/emf_recorder.h"
#include "platform/files.h"
#include "platform/image_codecs.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"
#include "support/test_support.h"
#include "framework/ui/picture_save.h"

using namespace fw;
using testsupport::S;
using testsupport::U;
using platform::ModalResult;

namespace {

QImage Picture() {
  QImage img(40, 30, QImage::Format_RGB32);
  img.fill(qRgb(10, 200, 30));
  return img;
}

// A chart that writes a small metafile and a bitmap, remembering where it was asked to.
class FakeChart : public ChartSource {
 public:
  bool WriteMetafileFile(const std::string& path) override {
    metafilePaths.push_back(path);
    platform::EmfRecorder rec(64, 48);
    rec.Rectangle(0, 0, 64, 48);
    return platform::WriteFileBytesAtomic(path, rec.Finish());
  }
  bool WriteBitmapFile(const std::string& path) override {
    bitmapPaths.push_back(path);
    return platform::WriteFileBytesAtomic(path, platform::EncodeBmp24(platform::DibFromImage(Picture())));
  }
  std::vector<std::string> metafilePaths, bitmapPaths;
};

int FileCount(const testsupport::TempFolder& tmp) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(tmp.native())) ++n;
  return n;
}

class PictureSaveDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    image_.SetPicture(Picture());
    CurrentPicture = &image_;
    CurrentChart = &chart_;
    MakingReportMetafiles = false;
  }
  void TearDown() override {
    CurrentPicture = nullptr;
    CurrentChart = nullptr;
    MakingReportMetafiles = false;
  }
  // A shown dialog set up for `kind` and `name` (a file in the temporary folder).
  std::unique_ptr<TGRSVForm> Open(const char* kind, const std::string& name) {
    auto form = std::make_unique<TGRSVForm>();
    form->Setup(S(kind), tmp_.Path(name));
    form->show();
    return form;
  }

  testsupport::TempFolder tmp_;
  testsupport::FakeUi ui_;
  fw::TImageEx image_;
  FakeChart chart_;
};

}  // namespace

TEST_F(PictureSaveDialog, KindsAndTicksDecideTheFilesWritten) {
  struct Case {
    const char* kind;
    bool first, second;  // kind 1: BMP, JPG; kinds 2 and 3: EMF, BMP
    std::vector<const char*> written;
  };
  const Case cases[] = {
      {"画像", true, false, {"pic.BMP"}},
      {"画像", false, true, {"pic.JPG"}},  // only the JPEG is left
      {"画像", true, true, {"pic.BMP", "pic.JPG"}},
      {"グラフ", true, false, {}},          // the caller saves the metafile
      {"グラフ", false, true, {"pic.BMP"}},  // the bitmap alone is written
      {"グラフ", true, true, {"pic.BMP"}},
      {"チャート", true, false, {"pic.EMF"}},
      {"チャート", true, true, {"pic.EMF", "pic.BMP"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + std::to_string(c.first) + std::to_string(c.second));
    testsupport::TempFolder tmp;
    auto form = std::make_unique<TGRSVForm>();
    const int kind = SaveKindOf(S(c.kind));
    form->Setup(S(c.kind), tmp.Path(kind == 1 ? "pic.BMP" : "pic.EMF"));
    form->show();
    (kind == 1 ? form->CBTN1_1 : form->CBTN2_1)->setChecked(c.first);
    (kind == 1 ? form->CBTN1_2 : form->CBTN2_2)->setChecked(c.second);
    ASSERT_TRUE(form->BBTN1->isEnabled());
    ui_.answers = {ModalResult::Yes};
    form->BBTN1Click();
    EXPECT_TRUE(fw::DialogYes);
    EXPECT_EQ(FileCount(tmp), static_cast<int>(c.written.size()));
    for (const char* f : c.written) EXPECT_TRUE(platform::FileExists(tmp.Path(f))) << f;
    if (kind != 1) {
      EXPECT_EQ(MetafileChosen, c.first);
    }
  }
}

TEST_F(PictureSaveDialog, QuestionNamesEveryFileAndExistingOnesAreNotOverwrittenOnNo) {
  const std::string old = "old picture";
  ASSERT_TRUE(platform::WriteFileBytesAtomic(tmp_.Path("pic.JPG"), old));
  auto form = Open("画像", "pic.BMP");
  form->CBTN1_2->setChecked(true);
  EXPECT_TRUE(form->LBL3->isVisibleTo(form.get()));  // "上書き": a file to be written exists
  ui_.answers = {ModalResult::No};
  form->BBTN1Click();
  ASSERT_EQ(ui_.shown.size(), 1u);
  const std::string q = U(ui_.shown[0].text);
  EXPECT_NE(q.find(U(tmp_.Path("pic.BMP"))), std::string::npos) << q;
  EXPECT_NE(q.find(U(tmp_.Path("pic.JPG"))), std::string::npos) << q;
  EXPECT_NE(q.find("※既に同名のファイルがあります。"), std::string::npos) << q;
  EXPECT_NE(q.find("上書き保存しますか？"), std::string::npos) << q;
  EXPECT_EQ(ui_.shown[0].kind, platform::DialogKind::Warning);
  EXPECT_FALSE(fw::DialogYes);
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(tmp_.Path("pic.JPG"), bytes));
  EXPECT_EQ(bytes, old);
  EXPECT_FALSE(platform::FileExists(tmp_.Path("pic.BMP")));

  // A new file: a plain confirmation naming it and its format.
  form->CBTN1_2->setChecked(false);
  ui_.shown.clear();
  ui_.answers = {ModalResult::Yes};
  form->BBTN1Click();
  ASSERT_GE(ui_.shown.size(), 2u);
  const std::string q2 = U(ui_.shown[0].text);
  EXPECT_EQ(q2, "保存ファイル名 ： " + U(tmp_.Path("pic.BMP")) + "\r\r保存ファイル形式 ： ビットマップファイル形式\r\r保存しますか？");
  EXPECT_EQ(U(ui_.shown[1].text), "〔イメージ画像〕を保存しました。");
  EXPECT_TRUE(platform::FileExists(tmp_.Path("pic.BMP")));
}

TEST_F(PictureSaveDialog, SilentModeSavesWithoutQuestionsAndDisablesEditing) {
  MakingReportMetafiles = true;
  auto form = Open("チャート", "chart.EMF");
  EXPECT_FALSE(form->EDIT1->isEnabled());
  EXPECT_FALSE(form->SBTN1->isEnabled());
  EXPECT_FALSE(form->SBTN2->isEnabled());
  EXPECT_FALSE(form->BTN1->isEnabled());
  EXPECT_TRUE(form->BBTN1->isEnabled());
  form->BBTN1Click();
  EXPECT_TRUE(ui_.shown.empty());
  EXPECT_TRUE(fw::DialogYes);
  EXPECT_TRUE(platform::FileExists(tmp_.Path("chart.EMF")));
}

TEST_F(PictureSaveDialog, NamesGetTheKindsExtensionAndInvalidNamesAreRefused) {
  auto form = Open("チャート", "chart.EMF");
  form->CommitName(tmp_.Path("other"));
  EXPECT_EQ(SavePath, tmp_.Path("other.EMF"));
  form->CommitName(tmp_.Path("third.BMP"));
  EXPECT_EQ(SavePath, tmp_.Path("third.EMF"));
  ui_.answers = {ModalResult::Yes, ModalResult::Ok};
  form->BBTN1Click();
  EXPECT_TRUE(platform::FileExists(tmp_.Path("third.EMF")));

  auto image = Open("画像", "pic.BMP");
  image->CommitName(tmp_.Path("bad|name.BMP"));  // a forbidden character
  EXPECT_EQ(SavePath, tmp_.Path("pic.BMP"));
  EXPECT_EQ(image->EDIT1->Text(), tmp_.Path("pic.BMP"));

  // Browsing: a chosen name without extension is committed the same way.
  TGRSVForm::BrowseHook = [&](const std::string&, const std::string&) {
    return std::optional<std::string>(tmp_.Path("browsed"));
  };
  image->SBTN1Click();
  TGRSVForm::BrowseHook = nullptr;
  EXPECT_EQ(SavePath, tmp_.Path("browsed.BMP"));
  // The given name comes back on request.
  ui_.answers = {ModalResult::Yes};
  image->SBTN2Click();
  EXPECT_EQ(SavePath, GivenSavePath);
}

TEST_F(PictureSaveDialog, PreviewShowsThePictureAndTheChartThroughAPrivateTemporaryFile) {
  auto form = Open("画像", "pic.BMP");
  EXPECT_EQ(form->LBL2->text().toStdString(), "Size 40 × 30 Pixcel");
  EXPECT_EQ(form->IMAG1->Picture().size(), QSize(40, 30));

  auto chart = Open("チャート", "chart.EMF");
  ASSERT_EQ(chart_.metafilePaths.size(), 1u);
  const std::string temp = chart_.metafilePaths[0];
  EXPECT_EQ(temp.rfind(platform::TempFolder(), 0), 0u) << U(temp);
  EXPECT_FALSE(platform::FileExists(temp));  // deleted after loading
  EXPECT_EQ(chart->LBL2->text().toStdString(), "Size 64 × 48 Pixcel");
  chart->close();
  chart->show();  // a second preview uses another name
  ASSERT_EQ(chart_.metafilePaths.size(), 2u);
  EXPECT_NE(chart_.metafilePaths[1], temp);

  // A 788 x 227 chart of thin lines shrinks into the preview with averaging: the lines show as
  // grey rows instead of vanishing or staying whole black between vanished ones.
  QImage wide(788, 227, QImage::Format_RGB32);
  wide.fill(Qt::white);
  for (int y = 1; y < wide.height(); y += 8)
    for (int x = 0; x < wide.width(); ++x) wide.setPixelColor(x, y, Qt::black);
  image_.SetPicture(wide);
  auto preview = Open("画像", "wide.BMP");
  ASSERT_LT(preview->IMAG1->width(), wide.width());
  const QImage shot = preview->IMAG1->grab().toImage();
  int grey = 0;
  for (int y = 0; y < shot.height(); ++y) grey += qGray(shot.pixel(shot.width() / 2, y)) % 255 != 0 ? 1 : 0;
  EXPECT_GE(grey, shot.height() / 4);
  image_.SetPicture(Picture());

  // No source: "画像なし" and execution disabled.
  CurrentPicture = nullptr;
  auto none = Open("画像", "pic.BMP");
  EXPECT_EQ(none->LBL2->text().toStdString(), "画像なし");
  EXPECT_FALSE(none->BBTN1->isEnabled());
}

TEST_F(PictureSaveDialog, ClosingWithoutExecutingSavesNothingEvenAfterAYesAnswer) {
  // The user brings the given name back (answering Yes) and then closes the window.
  QTimer::singleShot(0, [this] {
    auto* form = qobject_cast<TGRSVForm*>(QApplication::activeModalWidget());
    ASSERT_TRUE(form);
    ui_.answers = {ModalResult::Yes};
    form->SBTN2Click();
    EXPECT_TRUE(fw::DialogYes);
    form->close();
  });
  EXPECT_FALSE(ShowPictureSaveDialog(S("画像"), tmp_.Path("pic.BMP")));
  EXPECT_FALSE(fw::DialogYes);
  EXPECT_EQ(FileCount(tmp_), 0);

  QTimer::singleShot(0, [this] {
    auto* form = qobject_cast<TGRSVForm*>(QApplication::activeModalWidget());
    ASSERT_TRUE(form);
    ui_.answers = {ModalResult::Yes, ModalResult::Ok};
    form->BBTN1->click();
  });
  EXPECT_TRUE(ShowPictureSaveDialog(S("画像"), tmp_.Path("pic.BMP")));
  EXPECT_TRUE(platform::FileExists(tmp_.Path("pic.BMP")));
}
