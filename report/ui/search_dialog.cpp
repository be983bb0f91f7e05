#include "report/ui/search_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "platform/qt/qt_text.h"

namespace rpt {

TSearchDlg::TSearchDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("SearchDlg"));
  setWindowTitle(QStringLiteral("Search for Text"));
  setFixedSize(305, 118);
  Label1 = new QLabel(QStringLiteral("Search Text"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(12, 12, 281, 16);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setGeometry(12, 30, 281, 22);
  CheckBox1 = new QCheckBox(QStringLiteral("Match case"), this);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox1->setGeometry(12, 60, 140, 20);
  SpeedButton2 = new QToolButton(this);
  SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
  SpeedButton2->setText(QStringLiteral("Search"));
  SpeedButton2->setGeometry(132, 86, 77, 25);
  SpeedButton1 = new QToolButton(this);
  SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
  SpeedButton1->setText(QStringLiteral("Cancel"));
  SpeedButton1->setGeometry(216, 86, 77, 25);
  connect(SpeedButton2, &QToolButton::clicked, this, [this] {
    cancelled_ = false;
    accept();
  });
  connect(SpeedButton1, &QToolButton::clicked, this, [this] {
    cancelled_ = true;
    reject();
  });
}

std::string TSearchDlg::SearchText() const {
  std::string out;
  for (QChar c : Edit1->text()) {
    if (std::optional<std::string> bytes = platform::FromQString(QString(c))) out += *bytes;
  }
  return out;
}

bool TSearchDlg::MatchCase() const { return CheckBox1->isChecked(); }

}  // namespace rpt
