#include "app/ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "model/results/page_metafiles.h"
#include "model/sim/run_state.h"
#include "app/ui/command_states.h"
#include "app/ui/dialogs_exit.h"
#include "app/ui/dialogs_memo.h"
#include "app/ui/dialogs_settings.h"
#include "app/ui/dialogs_version.h"
#include "app/ui/pictures.h"
#include "app/ui/program_state.h"
#include "app/ui/screen1.h"
#include "app/ui/screen2.h"
#include "app/ui/screen3.h"
#include "app/ui/screens.h"
#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/printing.h"
#include "framework/ui/controls.h"
#include "framework/ui/focus_tracker.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/hardcopy.h"
#include "framework/ui/input_behaviour.h"
#include "framework/weather_stations.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/dc.h"
#include "platform/qt/qt_text.h"
#include "platform/ui.h"
#include "views/monthly_window.h"
#include "views/report_form.h"

namespace app {

using platform::J;
using platform::Q;

THARVForm* HARVForm = nullptr;

namespace {

constexpr int kSplashTicks = 10;   // seconds the splash picture stays
constexpr int kCoolHeight = 70;

// The extension of an inside path as written (not upper-cased).
std::string WrittenExtension(const std::string& path) {
  const size_t slash = path.rfind('\\');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  return path.substr(dot);
}

QToolButton* SpeedButton(QWidget* parent, const char* name, Glyph glyph, const char* hint, int x, int y) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setIcon(GlyphIcon(glyph));
  b->setIconSize(QSize(20, 20));
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::NoFocus);
  if (hint) b->setToolTip(Q(hint));
  b->setGeometry(x, y, 26, 26);
  return b;
}

QLabel* Label(QWidget* parent, const char* name, const char* text, const QRect& r) {
  auto* l = new QLabel(Q(text), parent);
  l->setObjectName(name);
  l->setGeometry(r);
  return l;
}

void SetTextColour(QLabel* label, const QColor& colour) {
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, colour);
  label->setPalette(p);
}

}  // namespace

// ---- Status bar ---------------------------------------------------------------------------------

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent) {
  setObjectName("SBAR");
  setSizeGripEnabled(false);
  const int widths[4] = {0, 96, 96, 170};
  for (int i = 0; i < 4; ++i) {
    auto* l = new QLabel(this);
    l->setObjectName(QString("SBAR_%1").arg(i));
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    if (widths[i] > 0) l->setFixedWidth(widths[i]);
    else l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // a long text never widens the window
    addPermanentWidget(l, widths[i] == 0 ? 1 : 0);
    Panels[static_cast<size_t>(i)] = l;
  }
}

void TStatusBar::SetPanelText(int panel, const std::string& text) {
  if (panel < 0 || panel > 3) return;
  Panels[static_cast<size_t>(panel)]->setText(platform::ToQString(text));
}

void TStatusBar::SetHint(const std::string& text) { setToolTip(platform::ToQString(text)); }

void TStatusBar::Repaint() { repaint(); }

std::string TStatusBar::PanelText(int panel) const {
  if (panel < 0 || panel > 3) return std::string();
  return fw::Cp932Of(Panels[static_cast<size_t>(panel)]->text());
}

// ---- Creation -----------------------------------------------------------------------------------

namespace {

// The program's three screens, where no entry is registered yet.
void RegisterProgramScreens() {
  if (!RegisteredScreen(1)) RegisterScreen1();
  if (!RegisteredScreen(2)) RegisterScreen2();
  if (!RegisteredScreen(3)) RegisterScreen3();
}

}  // namespace

THARVForm::THARVForm(QWidget* parent) : QMainWindow(parent) {
  RegisterProgramScreens();
  HARVForm = this;
  setObjectName("HARVForm");
  setWindowIcon(GlyphIcon(Glyph::Drop));
  CreateComponents();
  CreateMenus();
  FormCreate();
}

THARVForm::~THARVForm() {
  if (fw::MainForm == this) {
    fw::MainForm = nullptr;
    fw::MainStatusBar = nullptr;
  }
  if (HARVForm == this) HARVForm = nullptr;
}

void THARVForm::CreateComponents() {
  SBAR = new TStatusBar(this);
  setStatusBar(SBAR);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  setCentralWidget(central);

  COOL = new QFrame(central);
  COOL->setObjectName("COOL");
  COOL->setFixedHeight(kCoolHeight);
  COOL->setFrameShape(QFrame::StyledPanel);
  layout->addWidget(COOL);

  PNL0_1 = new QFrame(COOL);
  PNL0_1->setObjectName("PNL0_1");
  PNL0_1->setGeometry(2, 2, 796, 30);
  SBTN1 = SpeedButton(PNL0_1, "SBTN1", Glyph::New, "新規作成", 2, 2);
  SBTN2 = SpeedButton(PNL0_1, "SBTN2", Glyph::Open, "ファイルを開く", 28, 2);
  SBTN3 = SpeedButton(PNL0_1, "SBTN3", Glyph::Save, "上書き保存", 54, 2);
  SBTN4 = SpeedButton(PNL0_1, "SBTN4", Glyph::SaveAs, "名前を付けて保存", 80, 2);
  SBTN5 = SpeedButton(PNL0_1, "SBTN5", Glyph::Edit, "入力編集", 118, 2);
  SBTN6 = SpeedButton(PNL0_1, "SBTN6", Glyph::Calc, "計算実行／結果確認", 144, 2);
  SBTN7 = SpeedButton(PNL0_1, "SBTN7", Glyph::Results, "計算結果", 170, 2);
  SBTN8 = SpeedButton(PNL0_1, "SBTN8", Glyph::Analysis, "分析結果", 196, 2);
  SBTN9 = SpeedButton(PNL0_1, "SBTN9", Glyph::Weather, "気象データ", 222, 2);
  SBTN_Rep = SpeedButton(PNL0_1, "SBTN_Rep", Glyph::Report, "計算結果プレビュー", 260, 2);
  const std::array<QToolButton*, 5> screenButtons = {SBTN5, SBTN6, SBTN7, SBTN8, SBTN9};
  for (size_t i = 0; i < screenButtons.size(); ++i) {
    fw::SetTag(screenButtons[i], static_cast<int>(i) + 1);
    connect(screenButtons[i], &QToolButton::clicked, this, [this, b = screenButtons[i]] { RunScreenCommand(b); });
  }
  LBL1 = Label(PNL0_1, "LBL1", "", QRect(300, 3, 490, 24));
  QFont titleFont = LBL1->font();
  titleFont.setBold(true);
  titleFont.setPixelSize(15);
  LBL1->setFont(titleFont);
  SetTextColour(LBL1, QColor(0, 0, 128));

  PNL0_2 = new QFrame(COOL);
  PNL0_2->setObjectName("PNL0_2");
  PNL0_2->setGeometry(2, 33, 796, 34);
  LBL2 = Label(PNL0_2, "LBL2", "ファイル名", QRect(6, 8, 60, 20));
  CBOX0 = new fw::TCBoxEx(PNL0_2);
  CBOX0->setObjectName("CBOX0");
  fw::SetTag(CBOX0, kFileComboCode);
  CBOX0->SetCellFrame(false);
  CBOX0->setGeometry(66, 6, 230, 22);
  CBOX0->OnEnter = [](QWidget* s) {
    fw::ComboEnter(s);
    fw::ShowStatus(J("計算ファイル名を選んで下さい。"));
  };
  CBOX0->OnChange = fw::ComboChange;
  CBOX0->OnClick = [this](QWidget* s) {
    fw::ComboChange(s);
    SelectCalcFile(s, kFileSection, fw::Input.GridCol, fw::Input.GridRow);
  };
  CBOX0->OnKeyPress = [this](QWidget* s, uint8_t& key) {
    const uint8_t typed = key;
    fw::ComboKeyPress(s, key);
    if (typed == 9 || typed == 13 || typed == 27) SelectCalcFile(s, kFileSection, fw::Input.GridCol, fw::Input.GridRow);
  };
  // The list is always the file section's, whichever window's input section was left behind.
  CBOX0->OnExit = [this](QWidget* s) {
    // Left for a field of a screen: the focus stays where the user put it.
    QPointer<QWidget> next = QApplication::focusWidget();
    if (next && fw::FocusTracker::FormOf(next) == this) next = nullptr;
    fw::ComboExit(s);
    SelectCalcFile(s, kFileSection, fw::Input.GridCol, fw::Input.GridRow);
    if (next && next->isVisible() && next->isEnabled()) next->setFocus(Qt::OtherFocusReason);
  };
  SBTN_MWD = SpeedButton(PNL0_2, "SBTN_MWD", Glyph::Monthly, "月次気象データ(参考)", 300, 4);
  connect(SBTN_MWD, &QToolButton::clicked, this, [this] { SBTN_MWDClick(); });
  QFont fixed(QString::fromStdString(platform::SubstituteFace("ＭＳ ゴシック")));
  fixed.setPixelSize(12);
  LBL3 = Label(PNL0_2, "LBL3", "設置場所                               気象地点", QRect(336, 1, 330, 14));
  LBL3->setFont(fixed);
  SetTextColour(LBL3, QColor(80, 80, 80));
  LBL0_1 = Label(PNL0_2, "LBL0_1", "", QRect(336, 15, 220, 18));
  LBL0_2 = Label(PNL0_2, "LBL0_2", "", QRect(570, 15, 140, 18));
  TXT_S = Label(PNL0_2, "TXT_S", "<サンプル>", QRect(716, 8, 76, 20));
  TXT_S->setToolTip(Q("このファイルは保存することができません"));
  TXT_S->setFrameShape(QFrame::Box);
  TXT_S->setAlignment(Qt::AlignCenter);
  SetTextColour(TXT_S, QColor(160, 0, 0));

  MDI = new QMdiArea(central);
  MDI->setObjectName("MDI");
  MDI->setBackground(QColor(128, 128, 128));
  layout->addWidget(MDI, 1);
  QWidget* client = MDI->viewport();
  client->installEventFilter(this);
  IMAG1 = new fw::TImageEx(client);
  IMAG1->setObjectName("IMAG1");
  IMAG2 = new fw::TImageEx(client);
  IMAG2->setObjectName("IMAG2");
  IMAG2->hide();
  IMAG1->OnMouseUp = [this](QWidget*, platform::TMouseButton, platform::TShiftState, int, int) { PictureMouseUp(); };
  IMAG2->OnMouseUp = [this](QWidget*, platform::TMouseButton, platform::TShiftState, int, int) { PictureMouseUp(); };
  LBL_U = Label(client, "LBL_U", "！", QRect(0, 6, 28, 28));
  QFont mark = LBL_U->font();
  mark.setBold(true);
  mark.setPixelSize(22);
  LBL_U->setFont(mark);
  LBL_U->setAlignment(Qt::AlignCenter);
  LBL_U->setCursor(Qt::PointingHandCursor);
  SetTextColour(LBL_U, QColor(180, 30, 30));
  LBL_U->installEventFilter(this);
  LBL_A = Label(client, "LBL_A", "1981年～1995年の日次統計アメダス気象データ", QRect(10, 0, 360, 20));
  SetTextColour(LBL_A, QColor(30, 50, 70));
  LBL_A->hide();

  TIMER = new QTimer(this);
  TIMER->setObjectName("TIMER");
  TIMER->setInterval(1000);
  connect(TIMER, &QTimer::timeout, this, [this] { TIMERTimer(); });

  auto action = [this](const char* name, const char* caption) {
    auto* a = new QAction(Q(caption), this);
    a->setObjectName(name);
    return a;
  };
  ACT_New = action("ACT_New", "新規作成");
  ACT_OpenAs = action("ACT_OpenAs", "ファイルを開く");
  ACT_Save = action("ACT_Save", "上書き保存");
  ACT_SaveAs = action("ACT_SaveAs", "名前を付けて保存");
  ACT_CRT = action("ACT_CRT", "");
  ACT_CRTFree = action("ACT_CRTFree", "");
  ACT_Report = action("ACT_Report", "報告書作成");
  connect(ACT_New, &QAction::triggered, this, [this] { ACT_NewExecute(); });
  connect(ACT_OpenAs, &QAction::triggered, this, [this] { ACT_OpenAsExecute(); });
  connect(ACT_Save, &QAction::triggered, this, [this] { ACT_SaveExecute(); });
  connect(ACT_SaveAs, &QAction::triggered, this, [this] { ACT_SaveAsExecute(); });
  connect(ACT_CRT, &QAction::triggered, this, [this] { ACT_CRTExecute(ACT_CRT->data().toInt()); });
  connect(ACT_CRTFree, &QAction::triggered, this, [this] { ACT_CRTFreeExecute(); });
  connect(ACT_Report, &QAction::triggered, this, [this] { ACT_ReportExecute(); });
  connect(SBTN1, &QToolButton::clicked, ACT_New, &QAction::trigger);
  connect(SBTN2, &QToolButton::clicked, ACT_OpenAs, &QAction::trigger);
  connect(SBTN3, &QToolButton::clicked, ACT_Save, &QAction::trigger);
  connect(SBTN4, &QToolButton::clicked, ACT_SaveAs, &QAction::trigger);
  connect(SBTN_Rep, &QToolButton::clicked, ACT_Report, &QAction::trigger);
}

void THARVForm::CreateMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MENU");
  MENU_0 = new QAction(GlyphIcon(Glyph::Drop), QString(), this);
  MENU_0->setObjectName("MENU_0");
  connect(MENU_0, &QAction::triggered, this, [this] { MENU_0Click(); });
  bar->addAction(MENU_0);

  auto item = [this](QMenu* menu, const char* name, const char* caption) {
    QAction* a = menu->addAction(Q(caption));
    a->setObjectName(name);
    return a;
  };
  auto screenItem = [this, &item](QMenu* menu, const char* name, const char* caption, int tag) {
    QAction* a = item(menu, name, caption);
    fw::SetTag(a, tag);
    connect(a, &QAction::triggered, this, [this, a] { RunScreenCommand(a); });
    return a;
  };

  MENU_File = bar->addMenu(Q("ファイル(&F)"));
  MENU_File->setObjectName("MENU_File");
  MENU_New = item(MENU_File, "MENU_New", "新規作成(&N)...");
  MENU_Open = item(MENU_File, "MENU_Open", "ファイルを開く(&O)...");
  MENU_Save = item(MENU_File, "MENU_Save", "上書き保存(&S)...");
  MENU_SaveAs = item(MENU_File, "MENU_SaveAs", "名前を付けて保存(&A)...");
  MENU_File->addSeparator();
  MENU_Report = item(MENU_File, "MENU_Report", "計算結果プレビュー(&P)...");
  MENU_HardCopy = item(MENU_File, "MENU_HardCopy", "画面をハードコピー印刷(&H)...");
  MENU_PrinterSetup = item(MENU_File, "MENU_PrinterSetup", "プリンター設定(&T)...");
  MENU_PrinterSetup->setVisible(false);
  MENU_File->addSeparator();
  MENU_Exit = item(MENU_File, "MENU_Exit", "全て終了(&X)");
  connect(MENU_New, &QAction::triggered, ACT_New, &QAction::trigger);
  connect(MENU_Open, &QAction::triggered, ACT_OpenAs, &QAction::trigger);
  connect(MENU_Save, &QAction::triggered, ACT_Save, &QAction::trigger);
  connect(MENU_SaveAs, &QAction::triggered, ACT_SaveAs, &QAction::trigger);
  connect(MENU_Report, &QAction::triggered, ACT_Report, &QAction::trigger);
  connect(MENU_HardCopy, &QAction::triggered, this, [this] { HardCopyClick(); });
  connect(MENU_Exit, &QAction::triggered, this, &QWidget::close);

  MENU_Edit = bar->addMenu(Q("入力編集(&E)"));
  MENU_Edit->setObjectName("MENU_Edit");
  MENU_Input = screenItem(MENU_Edit, "MENU_Input", "入力編集(&E)", 1);
  MENU_Calc = bar->addMenu(Q("計算(&C)"));
  MENU_Calc->setObjectName("MENU_Calc");
  MENU_Execute = screenItem(MENU_Calc, "MENU_Execute", "計算実行(&C)", 2);
  MENU_Disp = bar->addMenu(Q("結果表示(&V)"));
  MENU_Disp->setObjectName("MENU_Disp");
  MENU_Result = screenItem(MENU_Disp, "MENU_Result", "計算結果(&V)", 3);
  MENU_Analysis = screenItem(MENU_Disp, "MENU_Analysis", "分析結果(&R)", 4);
  MENU_Weather = screenItem(MENU_Disp, "MENU_Weather", "気象データ(&W)", 5);
  MENU_Option = bar->addMenu(Q("オプション(&O)"));
  MENU_Option->setObjectName("MENU_Option");
  MENU_Manual = item(MENU_Option, "MENU_Manual", "簡単操作ガイド(&G)");
  MENU_Version = item(MENU_Option, "MENU_Version", "バージョン情報(&V)");
  MENU_User = item(MENU_Option, "MENU_User", "※初期設定(&I)");
  connect(MENU_Manual, &QAction::triggered, this, [this] { MENU_ManualClick(); });
  connect(MENU_Version, &QAction::triggered, this, [this] { MENU_VersionClick(); });
  connect(MENU_User, &QAction::triggered, this, [this] { MENU_UserClick(); });
}

void THARVForm::FormCreate() {
  // 1. Status output goes to this window's status bar.
  fw::MainForm = this;
  fw::MainStatusBar = SBAR;
  resize(800, 573);
  // 2. Titles.
  fw::ProgramTitle = J("雨水利用シミュレーション Ver2.00");
  fw::ProgramNameVersion = "HarvSim Ver.2.00";
  setWindowTitle(platform::ToQString(fw::ProgramTitle));
  QApplication::setApplicationName(platform::ToQString(fw::ProgramNameVersion));
  CurrentScreen = 0;
  PlaybackRunning = false;
  InputComplete = false;
  ClearPageRendered();
  // 3. The framework.
  fw::AppInit();
  if (fw::DialogCancel) {
    startupFailed_ = true;
    return;
  }
  resize(fw::MainWidth, fw::MainHeight);
  // 4. Weather stations of the first country.
  fw::CountryNo = 1;
  fw::WCD_Data_Init();
  fw::SelectDefaultStation(true);
  fw::MonthlyFile = fw::MonthlyDataFileName(fw::StationSel.CountryCode);
  // 5. The last used file, or the sample case.
  const std::string last = fw::LastFileOfSettings();
  const bool usable = WrittenExtension(last) == ".HVS" && platform::FileExists(last);
  SetCalcFilePath(usable ? last : fw::CalDir + "HVS\\TEST_HVS.HVS");
  // 6. Load it, or start a new case under its name.  7. (The result folder follows the path.)
  if (platform::FileExists(CalcFilePath))
    LoadCalcFile();
  else
    InitNewData();
  // 8. The splash timer.
  splashTicks_ = 0;
  TIMER->start();
  ApplyPictures();
}

void THARVForm::FormActivate() {
  fw::MainForm = this;
  fw::MainStatusBar = SBAR;
  RefreshHeader();
  fw::ShowStatus(fw::ProgramTitle);
  SBAR->setFocus(Qt::OtherFocusReason);
}

void THARVForm::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  ApplyPictures();
  if (!activated_ && !startupFailed_) {
    activated_ = true;
    FormActivate();
  }
}

void THARVForm::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow() && activated_ && !closed_) {
    fw::MainForm = this;
    fw::MainStatusBar = SBAR;
    RefreshHeader();
  }
}

bool THARVForm::eventFilter(QObject* watched, QEvent* e) {
  if (watched == MDI->viewport() && e->type() == QEvent::Resize) {
    ApplyPictures();
  } else if (watched == MDI->viewport() && e->type() == QEvent::MouseButtonRelease) {
    PictureMouseUp();
  } else if (watched == LBL_U && e->type() == QEvent::MouseButtonRelease) {
    LBL_UClick();
    return true;
  }
  return QMainWindow::eventFilter(watched, e);
}

// ---- Pictures -----------------------------------------------------------------------------------

void THARVForm::ApplyPictures() {
  const QSize size = MDI->viewport()->size();
  if (size.isEmpty()) return;
  if (IMAG1->geometry() != QRect(QPoint(0, 0), size) || IMAG1->Picture().isNull()) {
    IMAG1->setGeometry(QRect(QPoint(0, 0), size));
    IMAG2->setGeometry(QRect(QPoint(0, 0), size));
    IMAG1->SetPicture(DrawSplashPicture(size, "雨水利用シミュレーション"));
    IMAG2->SetPicture(DrawWorkingPicture(size));
  }
  IMAG1->lower();
  IMAG2->lower();
  LBL_U->move(size.width() - LBL_U->width() - 8, 6);
  LBL_A->move(12, size.height() - LBL_A->height() - 8);
}

void THARVForm::ShowPicture(bool splash) {
  IMAG1->setVisible(splash);
  IMAG2->setVisible(!splash);
  LBL_U->setVisible(IMAG1->isVisibleTo(MDI->viewport()));
  LBL_A->setVisible(IMAG2->isVisibleTo(MDI->viewport()));
}

void THARVForm::TIMERTimer() {
  ++splashTicks_;
  if (splashTicks_ >= kSplashTicks) {
    TIMER->stop();
    ShowPicture(false);
  }
}

void THARVForm::PictureMouseUp() {
  ShowPicture(!IMAG1->isVisibleTo(MDI->viewport()));
  splashTicks_ = 0;
  if (IMAG1->isVisibleTo(MDI->viewport()))
    TIMER->start();
  else
    TIMER->stop();
}

void THARVForm::RefreshHeader() {
  if (!HARVForm) return;
  IsSampleFile = fw::ContainsStr("\\TEST_HVS.HVS", CalcFilePath);
  ShowHeaderInfo(kFileSection);
  ShowHeaderInfo(kSiteSection);
  UpdateCommandStates();
}

void THARVForm::ShowHeaderInfo(int kind) {
  if (kind == kFileSection) {
    fw::ReadRecSS1(fw::CalcData, 1000);
    LBL1->setText(platform::ToQString(fw::RecSS1.S[1]));
    fw::FillComboWithFiles(CBOX0, CalcFilePath, std::string());
  } else if (kind == kSiteSection) {
    fw::ReadRecSS4(fw::CalcData, 1100);
    const std::string site = fw::TrimBoth(fw::TrimBoth(fw::RecSS4.S[1]) + " " + fw::TrimBoth(fw::RecSS4.S[2]));
    std::string station = fw::RecSS4.S[3];
    const size_t paren = station.find('(');
    if (paren != std::string::npos) station = station.substr(0, paren);
    station = fw::TrimBoth(station);
    auto show = [](QLabel* label, const std::string& text) {
      label->setText(platform::ToQString(text.empty() ? J("なし") : text));
      SetTextColour(label, text.empty() ? QColor(Qt::red) : label->parentWidget()->palette().color(QPalette::WindowText));
    };
    show(LBL0_1, site);
    show(LBL0_2, station);
  }
}

void THARVForm::UpdateCommandStates() {
  CommandInputs in;
  in.modified = fw::DataState.Modified != 0;
  in.fileExists = platform::FileExists(CalcFilePath);
  in.sample = IsSampleFile;
  ResultRegistered = fw::LookupResultName(CalcFilePath);
  in.registered = ResultRegistered;
  in.complete = fw::LabelExists(fw::CalcData, J("№1000")) && InputComplete;
  in.reportPage = !ResultPrefix.empty() && platform::FileExists(ResultPrefix + "(5).EMF");
  in.printer = !fw::PrinterInfoType.DeviceName.empty();
  in.busy = LoopRunning();
  in.currentScreen = CurrentScreen;
  const CommandStates s = ComputeCommandStates(in);

  ACT_New->setEnabled(s.newFile);
  ACT_OpenAs->setEnabled(s.open);
  ACT_Save->setEnabled(s.save);
  ACT_SaveAs->setEnabled(s.saveAs);
  ACT_Report->setEnabled(s.report);
  SBTN1->setEnabled(s.newFile);
  SBTN2->setEnabled(s.open);
  SBTN3->setEnabled(s.save);
  SBTN4->setEnabled(s.saveAs);
  SBTN_Rep->setEnabled(s.report);
  MENU_New->setEnabled(s.newFile);
  MENU_Open->setEnabled(s.open);
  MENU_Save->setEnabled(s.save);
  MENU_SaveAs->setEnabled(s.saveAs);
  MENU_Report->setEnabled(s.report);
  MENU_HardCopy->setEnabled(s.hardCopy);
  MENU_Edit->setEnabled(s.editScreen);
  MENU_Input->setEnabled(s.editScreen);
  MENU_Calc->setEnabled(s.calcMenu);
  MENU_Execute->setEnabled(s.calcMenu);
  MENU_Disp->setEnabled(s.dispMenu);
  MENU_Result->setEnabled(s.dispMenu);
  MENU_Analysis->setEnabled(s.dispMenu);
  MENU_Weather->setEnabled(s.dispMenu);
  MENU_User->setVisible(true);
  SBTN5->setEnabled(s.editScreen);
  SBTN6->setEnabled(s.calcScreen);
  SBTN7->setEnabled(s.resultScreens);
  SBTN8->setEnabled(s.resultScreens);
  SBTN9->setEnabled(s.resultScreens);
  CBOX0->setEnabled(s.fileCombo);
  TXT_S->setVisible(s.sampleMark);
}

// ---- Screens ------------------------------------------------------------------------------------

QMdiSubWindow* THARVForm::ScreenWindow(int screen) const {
  const QString name = QString::fromStdString(ScreenFormName(screen));
  for (QMdiSubWindow* sub : MDI->subWindowList())
    if (sub->widget() && sub->widget()->objectName() == name) return sub;
  return nullptr;
}

QWidget* THARVForm::ScreenForm(int screen) const {
  QMdiSubWindow* sub = ScreenWindow(screen);
  return sub ? sub->widget() : nullptr;
}

void THARVForm::RunScreenCommand(QObject* sender) {
  ACT_CRT->setData(fw::Tag(sender));
  ACT_CRT->trigger();
}

void THARVForm::ACT_CRTExecute(int tag) {
  if (tag < 1 || tag > 5 || LoopRunning()) return;
  TIMER->stop();
  if (CurrentScreen == 1 && tag > 1 && fw::Input.InputMode) fw::CommitActiveEditor();
  CurrentScreen = tag >= 3 ? 3 : tag;
  const ScreenEntry entry = ScreenFactory(CurrentScreen);
  QMdiSubWindow* sub = ScreenWindow(CurrentScreen);
  if (!sub) {
    QWidget* form = entry.create();
    sub = MDI->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (!form->testAttribute(Qt::WA_SetWindowIcon))
      sub->setWindowIcon(GlyphIcon(CurrentScreen == 1 ? Glyph::Edit : CurrentScreen == 2 ? Glyph::Calc : Glyph::Results));
    QPointer<QWidget>& var = CurrentScreen == 1 ? HARV1Form : CurrentScreen == 2 ? HARV2Form : HARV3Form;
    var = form;
  }
  sub->showMaximized();
  sub->widget()->show();
  MDI->setActiveSubWindow(sub);
  if (entry.refresh) entry.refresh(sub->widget(), tag);
  UpdateCommandStates();
}

void THARVForm::ACT_CRTFreeExecute() {
  for (int screen = 1; screen <= 3; ++screen) {
    QMdiSubWindow* sub = ScreenWindow(screen);
    if (!sub) continue;
    // Out of the MDI area and nameless at once; the object goes when control returns to the
    // event loop, so no handler of it is left running on a freed object.
    sub->widget()->setObjectName(QString());
    sub->hide();
    MDI->removeSubWindow(sub);
    sub->deleteLater();
  }
  HARV1Form = nullptr;
  HARV2Form = nullptr;
  HARV3Form = nullptr;
}

void THARVForm::ACT_ReportExecute() {
  if (LoopRunning()) return;
  views::ShowReportForm(this, views::ReportInputs{CalcFilePath, ResultPrefix, RepresentativeYears});
}

void THARVForm::HardCopyClick() {
  QWidget* form = CurrentScreen > 0 ? ScreenForm(CurrentScreen) : nullptr;
  fw::PrintFormHardCopy(form ? form : this);
}

void THARVForm::MENU_UserClick() {
  fw::ShowStatus(J("動作環境の初期設定を行って下さい。"));
  ShowSettingsForm(this);
  fw::ShowStatus(fw::ProgramTitle);  // the editor's request is done
}

void THARVForm::MENU_ManualClick() {
  const std::string exe = fw::ExecutablePath.empty() ? platform::ExecutableFolder() + "harvsim" : fw::ExecutablePath;
  const std::string ext = WrittenExtension(exe);
  MemoFile = exe.substr(0, exe.size() - ext.size()) + ".TXT";
  if (!memo_) {
    memo_ = new TMEMForm(this);
    // Beside the main window where the screen has room, else over its right part.
    const QRect frame = frameGeometry();
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : frame;
    const int x = std::max(screen.left(), std::min(frame.right() + 1, screen.right() - memo_->width()));
    memo_->move(x, frame.top() + 60);
  }
  memo_->SetMemoIndexMark(3, J("．"));
  memo_->show();
  memo_->raise();
  memo_->activateWindow();
}

void THARVForm::MENU_VersionClick() {
  fw::ShowStatus(J("〔バージョン情報表示〕"));
  ShowVersionForm(this);
}

void THARVForm::MENU_0Click() {
  if (fw::ScreenWidth != 800) resize(800, 573);
  move(0, 0);
  fw::ShowDodoitsu();
}

void THARVForm::SBTN_MWDClick() {
  fw::Input.InputText = fw::MonthlyFile;
  if (!monthly_) monthly_ = new views::TMONForm(this);
  if (monthly_) {
    monthly_->show();
    monthly_->raise();
    monthly_->activateWindow();
  }
}

void THARVForm::LBL_UClick() {
  fw::MsgDialog(J("【雨水利用プログラムについて】") + "\r\r" +
                    J("このプログラムは屋根に降る雨を集め、その雨水を有効に利用するための設計支援ツールです。") + "\r" +
                    J("貯水槽の容量と利用日数の関係や、下水に流れ込むのを抑制できるかなど計算します。") + "\r" +
                    J("貯水の容量を８段階（1/4,1/2,1,1.5,2,3,4,5）に設定して計算します。") + "\r\r" +
                    J("このプログラムに用いた気象データは、1981年から1995年まで１５年間のアメダス気象データを元に、") +
                    "\r" + J("全国８４２地点の日次データ（気温,降水量）を作成し計算に用いています。"),
                1, 1);
}

// ---- Shut-down ----------------------------------------------------------------------------------

bool THARVForm::FormCloseQuery() {
  if (LoopRunning()) {
    platform::CurrentUi().Beep();
    return false;
  }
  if (fw::DataState.Modified == 0 || IsSampleFile) return true;
  const int mode = ExitDialog ? ExitDialog() : ShowCloseForm(this);
  switch (mode) {
    case 1:
    case 2:
      return true;
    case 3:
      return SaveCalcFile();  // a failed save keeps the window open with the case
    case 4:
      SaveCalcFile();
      return false;
    default:
      return false;
  }
}

void THARVForm::FormClose() {
  if (closed_) return;
  closed_ = true;
  TIMER->stop();
  ACT_CRTFreeExecute();
  if (memo_) memo_->deleteLater();
  if (monthly_) monthly_->deleteLater();
  fw::AppDone(CalcFilePath);
}

void THARVForm::closeEvent(QCloseEvent* e) {
  if (startupFailed_ || closed_) {
    e->accept();
    return;
  }
  if (!FormCloseQuery()) {
    e->ignore();
    return;
  }
  FormClose();
  e->accept();
}

}  // namespace app
