// The text-search dialog of the preview: asks for a text to find and whether case matters. The
// text (CP932) and the match-case state are read after the window closed; Cancelled() tells
// whether Cancel (or closing the window) rather than Search closed it.
#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace rpt {

class TSearchDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TSearchDlg(QWidget* parent = nullptr);

  QLabel* Label1;
  QLineEdit* Edit1;
  QCheckBox* CheckBox1;
  QToolButton* SpeedButton1;  // Cancel
  QToolButton* SpeedButton2;  // Search

  bool Cancelled() const { return cancelled_; }
  // The text to find, CP932 (characters CP932 cannot hold are left out).
  std::string SearchText() const;
  bool MatchCase() const;

 private:
  bool cancelled_ = true;
};

}  // namespace rpt
