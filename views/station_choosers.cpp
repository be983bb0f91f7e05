#include "views/station_choosers.h"

#include <QEvent>
#include <QLabel>
#include <QToolButton>

#include "framework/ui/updown_frame.h"
#include "framework/convert.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/input_behaviour.h"
#include "framework/weather_stations.h"
#include "platform/cp932.h"

namespace views {

using platform::J;

namespace {

constexpr int kNumberCode = 9100;
constexpr int kAreaCode = 9101;
constexpr int kStationCode = 9102;

QLabel* Label(QWidget* parent, const char* name, const char* text, const QRect& r) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setObjectName(name);
  l->setGeometry(r);
  return l;
}

}  // namespace

// ---- TPNOINPFrame -------------------------------------------------------------------------------

TPNOINPFrame::TPNOINPFrame(QWidget* parent) : QFrame(parent) {
  setObjectName("PNOINPFrame");
  resize(150, 26);
  PNL_No = new QFrame(this);
  PNL_No->setObjectName("PNL_No");
  PNL_No->setGeometry(0, 0, 150, 26);
  SBTN_No = new QToolButton(PNL_No);
  SBTN_No->setObjectName("SBTN_No");
  SBTN_No->setText(QString::fromUtf8("地点№"));
  SBTN_No->setToolTip(QString::fromUtf8("地点名入力"));
  SBTN_No->setFocusPolicy(Qt::NoFocus);
  SBTN_No->setGeometry(2, 2, 56, 22);
  LBL_No = Label(PNL_No, "LBL_No", "地点№", QRect(8, 4, 48, 18));
  LBL_No->hide();
  EDIT_No = new fw::TEditEx(PNL_No);
  EDIT_No->setObjectName("EDIT_No");
  EDIT_No->SetCellFrame(false);
  fw::SetTag(EDIT_No, kNumberCode);
  EDIT_No->SetEditType(fw::TEditType::etSmallInt);
  EDIT_No->SetMaxLength(6);
  EDIT_No->SetZeroDisplay(true);
  EDIT_No->setToolTip(QString::fromUtf8("地点№入力"));
  EDIT_No->setGeometry(60, 2, 60, 22);
  UPDN_No = new fw::TUpDown(PNL_No);
  UPDN_No->setObjectName("UPDN_No");
  fw::SetTag(UPDN_No, kNumberCode);
  UPDN_No->setToolTip(QString::fromUtf8("地点№アップダウン"));
  UPDN_No->setGeometry(121, 2, 17, 22);
  UPDN_No->setMinimum(1);

  EDIT_No->OnEnter = [](QWidget* s) { fw::EditEnter(s); };
  EDIT_No->OnKeyDown = fw::EditKeyDown;
  EDIT_No->OnKeyPress = [this](QWidget* s, uint8_t& key) {
    const uint8_t typed = key;
    fw::EditKeyPress(s, key);
    // Tab, Enter and Esc end the edit: the up-down takes the focus, which runs the exit.
    if (typed == 9 || typed == 13 || typed == 27) UPDN_No->setFocus(Qt::OtherFocusReason);
  };
  EDIT_No->OnExit = [this](QWidget* s) {
    fw::EditExit(s);
    if (!fw::Input.InputUnchanged) {
      if (CommitValue(static_cast<int>(fw::TextToInt(fw::Input.InputText))) && OnCommit) OnCommit(kNumberCode, false);
    }
    ShowValue();
  };
  UPDN_No->OnClick = [this](QWidget*) {
    if (CommitValue(UPDN_No->Position()) && OnCommit) OnCommit(kNumberCode, true);
  };
  connect(SBTN_No, &QToolButton::clicked, this, [this] {
    if (OnNameChooser) OnNameChooser();
  });
}

void TPNOINPFrame::Setup() {
  UPDN_No->setMaximum(std::max(1, fw::StationCount));
  value_ = fw::StationSel.StationNo;
  committed_ = false;
  ShowValue();
}

void TPNOINPFrame::ShowValue() {
  EDIT_No->SetText(fw::PadLeft(std::to_string(value_), 5));
  EDIT_No->SetModified(false);
  fw::SetUpDownSilently(UPDN_No, value_);
}

bool TPNOINPFrame::CommitValue(int value) {
  if (committing_) return false;
  committing_ = true;
  bool ok = value >= 1 && value <= fw::StationCount;
  if (!ok) {
    fw::ShowErrorStatus(J("＜地点№＞の入力範囲は 1 ～ ") + std::to_string(fw::StationCount) + J(" です。"));
  } else {
    committed_ = true;
    value_ = value;
    fw::RememberedStationNo = value;
    fw::SelectStation(value);
  }
  ShowValue();
  if (ok) UPDN_No->setFocus(Qt::OtherFocusReason);
  committing_ = false;
  return ok;
}

void TPNOINPFrame::SetInputEnabled(bool enabled, int mode) {
  for (QWidget* w : {static_cast<QWidget*>(PNL_No), static_cast<QWidget*>(EDIT_No), static_cast<QWidget*>(UPDN_No),
                     static_cast<QWidget*>(SBTN_No)})
    w->setEnabled(enabled);
  SBTN_No->setVisible(mode == 1);
  LBL_No->setVisible(mode == 0);
}

// ---- TPSTINPFrame -------------------------------------------------------------------------------

TPSTINPFrame::TPSTINPFrame(QWidget* parent) : QFrame(parent) {
  setObjectName("PSTINPFrame");
  resize(200, 76);
  PNL_St = new QFrame(this);
  PNL_St->setObjectName("PNL_St");
  PNL_St->setFrameShape(QFrame::Panel);
  PNL_St->setFrameShadow(QFrame::Raised);
  PNL_St->setAutoFillBackground(true);
  PNL_St->setGeometry(0, 0, 200, 76);
  LBL_St1 = Label(PNL_St, "LBL_St1", "行政区", QRect(6, 4, 60, 16));
  LBL_St2 = Label(PNL_St, "LBL_St2", "地点名", QRect(6, 40, 60, 16));
  SBTN_St = new QToolButton(PNL_St);
  SBTN_St->setObjectName("SBTN_St");
  SBTN_St->setText(QString::fromUtf8("×"));
  SBTN_St->setFocusPolicy(Qt::NoFocus);
  SBTN_St->setGeometry(180, 2, 18, 16);
  for (QObject* o : {static_cast<QObject*>(PNL_St), static_cast<QObject*>(LBL_St1), static_cast<QObject*>(LBL_St2)})
    o->installEventFilter(this);
  auto combo = [this](const char* name, int code, int top) {
    auto* c = new fw::TCBoxEx(PNL_St);
    c->setObjectName(name);
    c->SetCellFrame(false);
    c->SetStyle(fw::TComboBoxStyle::csDropDownList);
    c->setMaxVisibleItems(20);
    c->setStyleSheet("QComboBox { combobox-popup: 0; }");  // a list of 20 lines, not the style's full-height popup
    fw::SetTag(c, code);
    c->setGeometry(6, top, 188, 20);
    return c;
  };
  CBOX_St1 = combo("CBOX_St1", kAreaCode, 19);
  CBOX_St2 = combo("CBOX_St2", kStationCode, 55);
  CBOX_St1->OnClick = [this](QWidget*) { CommitArea(CBOX_St1->ItemIndex() + 1); };
  CBOX_St2->OnClick = [this](QWidget*) { CommitStation(CBOX_St2->ItemIndex() + 1); };
  connect(SBTN_St, &QToolButton::clicked, this, [this] { SBTN_StClick(); });
}

void TPSTINPFrame::Setup() {
  savedArea_ = fw::StationSel.AreaNo;
  savedStation_ = fw::StationSel.StationNo;
  ShowLists();
}

void TPSTINPFrame::ShowLists() {
  std::vector<std::string> areas;
  fw::FillPrefectureLists(areas);
  CBOX_St1->SetItems(areas);
  CBOX_St1->SetItemIndex(fw::StationSel.AreaNo - 1);
  std::vector<std::string> stations;
  std::string text;
  fw::FillStationCombo(stations, text, 11);
  CBOX_St2->SetItems(stations);
  const int position = fw::FirstStationNo > 0 ? fw::StationSel.StationNo - fw::FirstStationNo + 1 : 0;
  CBOX_St2->SetItemIndex(position >= 1 && position <= static_cast<int>(stations.size()) ? position - 1 : -1);
}

void TPSTINPFrame::SetArea(int areaNo) {
  if (!fw::DataLoad(fw::WcdDir + fw::StationSel.CountryCode + "_STAT.DAT")) return;
  if (areaNo < 1 || areaNo > fw::TableBuffer.TableRows) return;
  const auto& row = fw::TableBuffer.TableCells[static_cast<size_t>(areaNo)];
  fw::StationSel.AreaNo = areaNo;
  fw::StationSel.AreaName = row[1];
  fw::StationSel.AreaCode = row[2];
  fw::StationSel.AreaGroup = row[7];
}

void TPSTINPFrame::CommitArea(int position) {
  SetArea(position);
  ShowLists();
  CBOX_St2->SetItemIndex(-1);  // no station chosen in the new area yet
  if (OnCommit) OnCommit(kAreaCode);
}

void TPSTINPFrame::CommitStation(int position) {
  if (position < 1 || fw::FirstStationNo < 1) return;
  const int station = fw::FirstStationNo + position - 1;
  fw::RememberedStationNo = station;
  fw::SelectStation(station);
  ShowLists();
  if (OnCommit) OnCommit(kStationCode);
}

void TPSTINPFrame::SBTN_StClick() {
  if (CBOX_St2->ItemIndex() < 0) {
    SetArea(savedArea_);
    if (savedStation_ >= 1) {
      fw::RememberedStationNo = savedStation_;
      fw::SelectStation(savedStation_);
    }
    ShowLists();
    if (OnCommit) OnCommit(kStationCode);
  }
  hide();
  if (OnClose) OnClose();
}

bool TPSTINPFrame::eventFilter(QObject* watched, QEvent* e) {
  if ((watched == PNL_St || watched == LBL_St1 || watched == LBL_St2) && fw::IsMouseDragEvent(e)) {
    fw::DragPanelByMouse(this, e);
    return true;
  }
  return QFrame::eventFilter(watched, e);
}

}  // namespace views
