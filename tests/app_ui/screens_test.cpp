// The screens as MDI children: one window per screen, opened on the right page, freed
// together, and replaceable through the registry.
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/ui/screens.h"
#include "app_ui_test_util.h"
#include "framework/ui/form_utils.h"

using namespace apptest;

namespace {

TEST_F(MainWindowTest, OpeningAScreenTwiceGivesOneWindow) {
  app::THARVForm& w = Start();
  w.ACT_CRTExecute(1);
  w.ACT_CRTExecute(1);
  ASSERT_EQ(w.MDI->subWindowList().size(), 1);
  QWidget* screen1 = w.ScreenForm(1);
  ASSERT_NE(screen1, nullptr);
  EXPECT_EQ(app::HARV1Form.data(), screen1);
  EXPECT_EQ(screen1->objectName(), "HARV1Form");
  EXPECT_EQ(screen1->windowTitle().toStdString(), "入力編集〔画面１〕");
  EXPECT_TRUE(w.ScreenWindow(1)->isMaximized());
  EXPECT_FALSE(w.TIMER->isActive());  // opening a screen ends the splash

  // Results, analysis and weather are pages of screen 3.
  for (int tag : {3, 4, 5}) w.ACT_CRTExecute(tag);
  w.ACT_CRTExecute(2);
  EXPECT_EQ(w.MDI->subWindowList().size(), 3);
  EXPECT_EQ(w.ScreenForm(2)->windowTitle().toStdString(), "計算〔画面２〕");
  EXPECT_EQ(w.ScreenForm(3)->windowTitle().toStdString(), "結果表示〔画面３〕");
  EXPECT_EQ(app::CurrentScreen, 2);
  EXPECT_FALSE(w.ACT_New->isEnabled());  // new and open only from screen 1 or none
  EXPECT_FALSE(w.ACT_OpenAs->isEnabled());
  w.ACT_CRTExecute(1);
  EXPECT_TRUE(w.ACT_New->isEnabled());
}

TEST_F(MainWindowTest, FreeingTheScreensLeavesNoneOpen) {
  app::THARVForm& w = Start();
  for (int tag : {1, 2, 3}) w.ACT_CRTExecute(tag);
  QPointer<QWidget> screen3 = app::HARV3Form;
  w.ACT_CRTFreeExecute();
  EXPECT_TRUE(w.MDI->subWindowList().isEmpty());
  EXPECT_EQ(app::HARV1Form, nullptr);
  EXPECT_EQ(app::HARV2Form, nullptr);
  EXPECT_EQ(app::HARV3Form, nullptr);
  EXPECT_FALSE(fw::IsFormOpen("HARV3Form"));
  FlushDeletes();
  EXPECT_TRUE(screen3.isNull());
  // Opened again, a screen is a new window.
  w.ACT_CRTExecute(3);
  EXPECT_NE(w.ScreenForm(3), nullptr);
}

TEST_F(MainWindowTest, AScreenClosedByTheUserIsOpenedAgain) {
  app::THARVForm& w = Start();
  w.ACT_CRTExecute(2);
  w.ScreenWindow(2)->close();
  FlushDeletes();
  EXPECT_EQ(app::HARV2Form, nullptr);
  w.ACT_CRTExecute(2);
  EXPECT_NE(w.ScreenForm(2), nullptr);
  EXPECT_EQ(w.MDI->subWindowList().size(), 1);
}

TEST_F(MainWindowTest, ARegisteredScreenReplacesThePlaceholder) {
  std::vector<int> refreshed;
  app::RegisterScreen(3, {[] {
                            auto* f = new QWidget;
                            f->setObjectName("HARV3Form");
                            f->setWindowTitle(QString::fromUtf8("結果表示〔画面３〕"));
                            f->setProperty("real", true);
                            return f;
                          },
                          [&refreshed](QWidget* form, int tag) {
                            EXPECT_TRUE(form->property("real").toBool());
                            refreshed.push_back(tag);
                          }});
  app::THARVForm& w = Start();
  w.ACT_CRTExecute(4);
  w.ACT_CRTExecute(5);
  w.ACT_CRTExecute(3);
  app::RegisterScreen(3, {});
  EXPECT_EQ(refreshed, (std::vector<int>{4, 5, 3}));
  EXPECT_EQ(w.MDI->subWindowList().size(), 1);
  EXPECT_EQ(app::CurrentScreen, 3);
}

}  // namespace
