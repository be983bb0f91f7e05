// The editor of an environment's named expressions (TRptEnvironmentEditor).
#include "report/ui/editors.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "platform/qt/qt_text.h"
#include "platform/ui.h"
#include "report/expr_env.h"
#include "report/ui/editor_helpers.h"

namespace rpt {

using namespace dialogs;
using platform::QLatin1;

TRptEnvironmentEditor::TRptEnvironmentEditor(TRptEvEnvironment* local, bool allowGlobal, QWidget* parent)
    : QWidget(parent, Qt::Window), local_(local) {
  setObjectName("RptEnvironmentEditor");
  setWindowTitle(QLatin1("User Defined Functions Edtor"));
  setFixedSize(460, 330);
  UDFGrid = new QTableWidget(0, 2, this);
  UDFGrid->setObjectName("UDFGrid");
  UDFGrid->setGeometry(8, 8, 350, 250);
  UDFGrid->setHorizontalHeaderLabels({QLatin1("Name"), QLatin1("Expression")});
  UDFGrid->verticalHeader()->hide();
  UDFGrid->horizontalHeader()->setStretchLastSection(true);
  UDFGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  UDFGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  UDFGrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
  LocalCB = new QRadioButton(QLatin1("&Local defines"), this);
  LocalCB->setObjectName("LocalCB");
  LocalCB->setGeometry(8, 266, 170, 20);
  GlobalCB = new QRadioButton(QLatin1("&Global defines"), this);
  GlobalCB->setObjectName("GlobalCB");
  GlobalCB->setGeometry(188, 266, 170, 20);
  AddBtn = Button(this, "AddBtn", QLatin1("Add"), 370, 8);
  EditBtn = Button(this, "EditBtn", QLatin1("Edit"), 370, 40);
  DeleteBtn = Button(this, "DeleteBtn", QLatin1("Delete"), 370, 72);
  VariableOKBtn = Button(this, "VariableOKBtn", QLatin1("Close"), 370, 296);

  NewEntryGB = new QGroupBox(QLatin1("New entry"), this);
  NewEntryGB->setObjectName("NewEntryGB");
  NewEntryGB->setGeometry(8, 8, 350, 120);
  Label(NewEntryGB, QLatin1("Name"), 10, 22, 70);
  Name = LineEdit(NewEntryGB, "Name", 84, 20, 250);
  Label(NewEntryGB, QLatin1("Expression"), 10, 52, 70);
  NewExpression = LineEdit(NewEntryGB, "Expression", 84, 50, 210);
  NewExpressionBtn = Button(NewEntryGB, "ExpressionBuilderBtn", QLatin1("..."), 298, 50, 36, 21);
  NewOKBtn = Button(NewEntryGB, "NewOKBtn", QLatin1("OK"), 178, 84);
  NewCancelBtn = Button(NewEntryGB, "NewCancelBtn", QLatin1("Cancel"), 259, 84);
  NewEntryGB->hide();

  if (!local_) {
    LocalCB->setEnabled(false);
    GlobalCB->setChecked(true);
  } else {
    LocalCB->setChecked(true);
  }
  if (!allowGlobal) GlobalCB->setEnabled(false);

  connect(LocalCB, &QRadioButton::toggled, this, [this] { FillGrid(); });
  connect(UDFGrid, &QTableWidget::cellChanged, this, &TRptEnvironmentEditor::CellChanged);
  connect(UDFGrid, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { EditRow(row); });
  connect(EditBtn, &QPushButton::clicked, this, [this] { EditRow(UDFGrid->currentRow()); });
  connect(AddBtn, &QPushButton::clicked, this, &TRptEnvironmentEditor::AddEntry);
  connect(VariableOKBtn, &QPushButton::clicked, this, &QWidget::close);
  connect(NewExpressionBtn, &QPushButton::clicked, this, [this] {
    std::string text = Cp932Of(NewExpression->text());
    if (RunExpressionBuilder(std::string(), text, nullptr, local_, nullptr)) NewExpression->setText(platform::ToQString(text));
  });
  connect(NewOKBtn, &QPushButton::clicked, this, [this] {
    newResult_ = 1;
    emit Done();
  });
  connect(NewCancelBtn, &QPushButton::clicked, this, [this] {
    newResult_ = 2;
    emit Done();
  });
  FillGrid();
}

TRptEvEnvironment* TRptEnvironmentEditor::Shown() const {
  return LocalCB->isChecked() && local_ ? local_ : GlobalEnvironment();
}

void TRptEnvironmentEditor::FillGrid() {
  filling_ = true;
  TRptEvEnvironment* env = Shown();
  const std::vector<std::string> names = env ? env->Names() : std::vector<std::string>();
  const std::vector<std::string> texts = env ? env->WriteData() : std::vector<std::string>();
  UDFGrid->setRowCount(static_cast<int>(names.size()));
  for (size_t i = 0; i < names.size(); ++i) {
    UDFGrid->setItem(static_cast<int>(i), 0, new QTableWidgetItem(platform::ToQString(names[i])));
    UDFGrid->setItem(static_cast<int>(i), 1, new QTableWidgetItem(platform::ToQString(texts[i])));
  }
  filling_ = false;
}

void TRptEnvironmentEditor::CellChanged(int row, int column) {
  TRptEvEnvironment* env = Shown();
  if (filling_ || !env || row < 0 || row >= env->Count()) return;
  QTableWidgetItem* item = UDFGrid->item(row, column);
  const std::string text = Cp932Of(item->text());
  if (column == 0) {
    env->SetEntryName(row, text);
  } else {
    env->SetEntryExpression(row, text);  // refused while the environment is in use
  }
  // The cell shows what is stored: the upper-cased name, or the expression kept.
  const size_t i = static_cast<size_t>(row);
  filling_ = true;
  item->setText(platform::ToQString(column == 0 ? env->Names()[i] : env->WriteData()[i]));
  filling_ = false;
}

void TRptEnvironmentEditor::EditRow(int row) {
  TRptEvEnvironment* env = Shown();
  if (!env || row < 0 || row >= env->Count()) return;
  std::string text = env->WriteData()[static_cast<size_t>(row)];
  if (RunExpressionBuilder(env->Names()[static_cast<size_t>(row)], text, nullptr, local_, nullptr)) {
    env->SetEntryExpression(row, text);
    FillGrid();
  }
}

void TRptEnvironmentEditor::AddEntry() {
  Name->clear();
  NewExpression->clear();
  for (QWidget* w : std::initializer_list<QWidget*>{UDFGrid, AddBtn, EditBtn, DeleteBtn, VariableOKBtn}) w->hide();
  NewEntryGB->show();
  newResult_ = 0;
  if (!WaitUntil(this, &TRptEnvironmentEditor::Done, [this] { return newResult_ != 0 || closed_; })) return;
  NewEntryGB->hide();
  for (QWidget* w : std::initializer_list<QWidget*>{UDFGrid, AddBtn, EditBtn, DeleteBtn, VariableOKBtn}) w->show();
  TRptEvEnvironment* env = Shown();
  if (newResult_ == 1 && env && !Name->text().trimmed().isEmpty()) {
    env->AddEntry(Cp932Of(Name->text().trimmed()), Cp932Of(NewExpression->text()));
    FillGrid();
  }
}

void TRptEnvironmentEditor::Execute() {
  setWindowModality(Qt::ApplicationModal);
  show();
  WaitUntil(this, &TRptEnvironmentEditor::Done, [this] { return closed_; });
}

void TRptEnvironmentEditor::closeEvent(QCloseEvent* e) {
  closed_ = true;
  emit Done();
  QWidget::closeEvent(e);
}

void RunEnvironmentEditor(TRptEvEnvironment* environment, bool allowGlobal) {
  TRptEnvironmentEditor editor(environment, allowGlobal);
  editor.Execute();
}

}  // namespace rpt
