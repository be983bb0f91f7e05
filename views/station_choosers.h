// The two station choosers of the monthly weather window: by number (TPNOINPFrame: an edit and
// an up-down over 1..StationCount) and by area and name (TPSTINPFrame: two lists of 20 lines,
// on a panel the user can drag). Each makes its choice the current station (fw::SelectStation)
// and the window's remembered station, then tells the window through OnCommit.
//
// Decisions kept on purpose:
// - A number outside 1..StationCount is refused with the range note; the previous number
//   stays in the edit and the up-down.
// - Closing the name chooser without a station chosen in the station list commits the area
//   and station it showed when it opened again, so an area chosen on the way is undone.
#pragma once

#include <QFrame>
#include <functional>

class QLabel;
class QToolButton;

namespace fw {
class TUpDown;
class TCBoxEx;
class TEditEx;
}  // namespace fw

namespace views {

class TPNOINPFrame : public QFrame {
  Q_OBJECT
 public:
  explicit TPNOINPFrame(QWidget* parent = nullptr);

  // The range and the held value (the current station); not committed.
  void Setup();
  // Takes a station number as the edit's exit or an up-down click does; false when refused.
  bool CommitValue(int value);
  // Panel, edit, up-down and button enabled as given; the button shows for mode 1, the label
  // for mode 0.
  void SetInputEnabled(bool enabled, int mode);
  int Value() const { return value_; }
  bool Committed() const { return committed_; }

  QFrame* PNL_No;
  QToolButton* SBTN_No;
  QLabel* LBL_No;
  fw::TEditEx* EDIT_No;
  fw::TUpDown* UPDN_No;

  // The window's commit (input code 9100) and the name-chooser button.
  std::function<void(int code, bool fromUpDown)> OnCommit;
  std::function<void()> OnNameChooser;

 private:
  void ShowValue();

  int value_ = 0;
  bool committed_ = false;
  bool committing_ = false;
};

class TPSTINPFrame : public QFrame {
  Q_OBJECT
 public:
  explicit TPSTINPFrame(QWidget* parent = nullptr);

  // Fills the lists for the current area and station and remembers them.
  void Setup();
  // 1-based positions in the lists, as choosing an item does.
  void CommitArea(int position);
  void CommitStation(int position);
  // The close button "×".
  void SBTN_StClick();

  int SavedAreaNo() const { return savedArea_; }
  int SavedStationNo() const { return savedStation_; }

  QFrame* PNL_St;
  QLabel* LBL_St1;
  QLabel* LBL_St2;
  QToolButton* SBTN_St;
  fw::TCBoxEx* CBOX_St1;
  fw::TCBoxEx* CBOX_St2;

  // After a commit (code 9101 or 9102): the window shows the remembered station.
  std::function<void(int code)> OnCommit;
  // After the chooser closed.
  std::function<void()> OnClose;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void ShowLists();
  void SetArea(int areaNo);

  int savedArea_ = 0;
  int savedStation_ = 0;
};

}  // namespace views
