#include "report/ui/editors.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTextCursor>
#include <algorithm>
#include <cmath>

#include "platform/qt/qt_text.h"
#include "platform/ui.h"
#include "report/band_report.h"
#include "report/expr_env.h"
#include "report/expr_eval.h"
#include "report/rpt_ctrls.h"
#include "report/rpt_expr.h"

namespace rpt {

using platform::QLatin1;

namespace {

std::string Cp932Of(const QString& text) { return platform::FromQString(text).value_or(std::string()); }

// The text without its carriage-return and line-feed pairs.
std::string WithoutLineBreaks(std::string text) {
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 2);
  return text;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text, int x, int y, int w = 75, int h = 25) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setGeometry(x, y, w, h);
  return b;
}

QListWidget* List(QWidget* parent, const char* name, int x, int y, int w, int h) {
  auto* l = new QListWidget(parent);
  l->setObjectName(name);
  l->setGeometry(x, y, w, h);
  return l;
}

QLabel* Label(QWidget* parent, const QString& text, int x, int y, int w = 160, int h = 16) {
  auto* l = new QLabel(text, parent);
  l->setGeometry(x, y, w, h);
  return l;
}

// Lets messages run until `done` answers true, looking again whenever `sender` emits `signal`;
// false when `sender` went away meanwhile.
template <typename Sender, typename Signal>
bool WaitUntil(Sender* sender, Signal signal, const std::function<bool()>& done) {
  QPointer<Sender> self(sender);
  QEventLoop loop;
  QObject::connect(sender, signal, &loop, &QEventLoop::quit);
  while (self && !done()) loop.exec();
  return !self.isNull();
}

// The argument letters' descriptions on the parameter page.
QString ArgumentLabel(char letter, int number) {
  const char* kind = letter == 'B'   ? "Argument %1 - logical value"
                     : letter == 'N' ? "Argument %1 - numeric value"
                     : letter == 'S' ? "Argument %1 - text Value"
                                     : "Argument %1 - value";
  return QLatin1(kind).arg(number);
}

}  // namespace

// ---- Data sets ---------------------------------------------------------------------------

TRptNamedDataSets CollectDataSets(QObject* component, bool /*withDataModules*/) {
  TRptNamedDataSets found;
  auto add = [&found](TRptDataSet* ds) {
    if (!ds) return;
    for (const auto& [name, known] : found) {
      if (known == ds) return;
    }
    found.emplace_back(ds->Name(), ds);
  };
  if (!component) return found;
  std::vector<QObject*> objects{component};
  for (QObject* child : component->findChildren<QObject*>()) objects.push_back(child);
  for (QObject* o : objects) {
    if (auto* report = qobject_cast<TCustomBandReport*>(o)) add(report->DataSet());
    if (auto* sub = qobject_cast<TRptSubDetail*>(o)) add(sub->DataSet());
  }
  return found;
}

// ---- TWordWrapEdit -----------------------------------------------------------------------

TWordWrapEdit::TWordWrapEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

std::string TWordWrapEdit::Text() const {
  // Lines are kept with CR LF, as the expression texts of stored forms are.
  return Cp932Of(toPlainText().replace(QChar('\n'), QLatin1("\r\n")));
}

void TWordWrapEdit::SetText(const std::string& cp932) {
  setPlainText(platform::ToQString(cp932).replace(QLatin1("\r\n"), QLatin1("\n")));
}

void TWordWrapEdit::Insert(const std::string& cp932) {
  QTextCursor cursor = textCursor();
  cursor.insertText(platform::ToQString(cp932));
  setTextCursor(cursor);
}

// ---- TRptExpressionBuilder ---------------------------------------------------------------

const std::vector<std::string>& TRptExpressionBuilder::CategoryNames() {
  static const std::vector<std::string> names = {"All",         "Date & time", "Math & trig", "Statistical",
                                                 "Database",    "Logical",     "Information", "Other"};
  return names;
}

TRptExpressionBuilder::TRptExpressionBuilder(QObject* component, TRptEvEnvironment* environment, QWidget* parent)
    : QWidget(parent, parent ? Qt::Widget : Qt::Window), component_(component), environment_(environment) {
  setObjectName("RptExpressionBuilder");
  setWindowTitle(QLatin1("Expression builder"));
  Build();
  SelectCategory(0);  // every function of the library
}

TRptExpressionBuilder::~TRptExpressionBuilder() = default;

void TRptExpressionBuilder::Build() {
  setFixedSize(381, 240);
  Pages = new QStackedWidget(this);
  Pages->setGeometry(0, 0, 381, 240);
  BuildMainPage();
  BuildDataFieldPage();
  BuildFunctionPage();
  BuildParamsPage();
  BuildVariablePage();
  Pages->setCurrentWidget(MainPage);
}

void TRptExpressionBuilder::BuildMainPage() {
  MainPage = new QWidget;
  MainPage->setObjectName("MainPage");
  Heading = Label(MainPage, QLatin1("Enter expression:"), 20, 14, 341);
  Heading->setObjectName("Heading");
  Expression = new TWordWrapEdit(MainPage);
  Expression->setObjectName("Expression");
  Expression->setGeometry(20, 36, 341, 91);
  InsertDataFieldBtn = Button(MainPage, "InsertDataFieldBtn", QLatin1("Data field..."), 20, 134, 109);
  InsertFunctionBtn = Button(MainPage, "InsertFunctionBtn", QLatin1("Function..."), 136, 134, 109);
  InsertVariableBtn = Button(MainPage, "InsertVariableBtn", QLatin1("Variable..."), 252, 134, 109);
  struct Op {
    QPushButton** button;
    const char* name;
    const char* caption;
  };
  const Op ops[] = {{&AddPlus, "AddPlus", "+"},           {&AddMinus, "AddMinus", "-"},
                    {&AddMul, "AddMul", "*"},             {&AddDiv, "AddDiv", "/"},
                    {&AddEqual, "AddEqual", "="},         {&AddSmaller, "AddSmaller", "<"},
                    {&AddLarger, "AddLarger", ">"},       {&AddNotEqual, "AddNotEqual", "<>"},
                    {&AddLessEqual, "AddLessEqual", "<="}, {&AddGreaterEqual, "AddGreaterEqual", ">="},
                    {&AddNot, "AddNot", "not"},           {&AddAnd, "AddAnd", "and"},
                    {&AddOr, "AddOr", "or"}};
  int x = 20;
  for (const Op& op : ops) {
    QPushButton* b = Button(MainPage, op.name, QLatin1(op.caption), x, 166, 25, 25);
    *op.button = b;
    x += 26;
    connect(b, &QPushButton::clicked, this, [this, caption = std::string(op.caption)] { InsertOperator(caption); });
  }
  ValidateBtn = Button(MainPage, "ValidateBtn", QLatin1("Validate"), 20, 204);
  Clear = Button(MainPage, "Clear", QLatin1("Clear"), 100, 204);
  OK = Button(MainPage, "OK", QLatin1("OK"), 206, 204);
  Cancel = Button(MainPage, "Cancel", QLatin1("Cancel"), 286, 204);
  OK->setDefault(true);
  connect(InsertDataFieldBtn, &QPushButton::clicked, this, &TRptExpressionBuilder::InsertDataField);
  connect(InsertFunctionBtn, &QPushButton::clicked, this, &TRptExpressionBuilder::InsertFunction);
  connect(InsertVariableBtn, &QPushButton::clicked, this, &TRptExpressionBuilder::InsertVariable);
  connect(ValidateBtn, &QPushButton::clicked, this, &TRptExpressionBuilder::Validate);
  connect(Clear, &QPushButton::clicked, Expression, &QPlainTextEdit::clear);
  connect(OK, &QPushButton::clicked, this, [this] { Answer(kMain, kOk); });
  connect(Cancel, &QPushButton::clicked, this, [this] { Answer(kMain, kCancel); });
  Pages->addWidget(MainPage);
}

void TRptExpressionBuilder::BuildDataFieldPage() {
  DataFieldPage = new QWidget;
  DataFieldPage->setObjectName("DataFieldPage");
  Label(DataFieldPage, QLatin1("Data sets"), 20, 10);
  Label(DataFieldPage, QLatin1("Fields"), 196, 10);
  AvailableDatasets = List(DataFieldPage, "AvailableDatasets", 20, 28, 165, 166);
  AvailableFields = List(DataFieldPage, "AvailableFields", 196, 28, 165, 166);
  DataFieldOK = Button(DataFieldPage, "DataFieldOK", QLatin1("OK"), 206, 204);
  DataFieldCancel = Button(DataFieldPage, "DataFieldCancel", QLatin1("Cancel"), 286, 204);
  connect(AvailableDatasets, &QListWidget::currentRowChanged, this, [this](int row) {
    AvailableFields->clear();
    if (row < 0 || row >= static_cast<int>(dataSets_.size())) return;
    TRptDataSet* ds = dataSets_[static_cast<size_t>(row)].second;
    const bool wasActive = ds->Active();
    if (!wasActive) ds->Open();
    for (int i = 0; i < ds->FieldCount(); ++i) AvailableFields->addItem(platform::ToQString(ds->Field(i)->FieldName()));
    if (!wasActive) ds->Close();
  });
  connect(DataFieldOK, &QPushButton::clicked, this, [this] { Answer(kDataField, kOk); });
  connect(DataFieldCancel, &QPushButton::clicked, this, [this] { Answer(kDataField, kCancel); });
  Pages->addWidget(DataFieldPage);
}

void TRptExpressionBuilder::BuildFunctionPage() {
  FunctionPage = new QWidget;
  FunctionPage->setObjectName("FunctionPage");
  Label(FunctionPage, QLatin1("Category"), 20, 6);
  Label(FunctionPage, QLatin1("Function"), 150, 6);
  Categories = List(FunctionPage, "Categories", 20, 24, 120, 110);
  for (const std::string& c : CategoryNames()) Categories->addItem(QString::fromStdString(c));
  AvailableFunc = List(FunctionPage, "AvailableFunc", 150, 24, 211, 110);
  FuncName = Label(FunctionPage, QString(), 20, 140, 341);
  FuncName->setObjectName("FuncName");
  FuncDescription = Label(FunctionPage, QString(), 20, 158, 341, 40);
  FuncDescription->setObjectName("FuncDescription");
  FuncDescription->setWordWrap(true);
  FuncDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  FunctionContinue = Button(FunctionPage, "FunctionContinue", QLatin1("Continue"), 206, 204);
  FunctionCancel = Button(FunctionPage, "FunctionCancel", QLatin1("Cancel"), 286, 204);
  connect(Categories, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) SelectCategory(row);
  });
  connect(AvailableFunc, &QListWidget::currentRowChanged, this, &TRptExpressionBuilder::SelectFunction);
  connect(FunctionContinue, &QPushButton::clicked, this, [this] { Answer(kFunction, kOk); });
  connect(FunctionCancel, &QPushButton::clicked, this, [this] { Answer(kFunction, kCancel); });
  Pages->addWidget(FunctionPage);
}

void TRptExpressionBuilder::BuildParamsPage() {
  FuncParamsPage = new QWidget;
  FuncParamsPage->setObjectName("FuncParamsPage");
  FuncParamSB = new QScrollArea(FuncParamsPage);
  FuncParamSB->setObjectName("FuncParamSB");
  FuncParamSB->setGeometry(20, 10, 341, 184);
  FuncParamSB->setWidgetResizable(false);
  ParamsOK = Button(FuncParamsPage, "ParamsOK", QLatin1("OK"), 206, 204);
  ParamsCancel = Button(FuncParamsPage, "ParamsCancel", QLatin1("Cancel"), 286, 204);
  connect(ParamsOK, &QPushButton::clicked, this, [this] { Answer(kParams, kOk); });
  connect(ParamsCancel, &QPushButton::clicked, this, [this] { Answer(kParams, kCancel); });
  Pages->addWidget(FuncParamsPage);
}

void TRptExpressionBuilder::BuildVariablePage() {
  VariablePage = new QWidget;
  VariablePage->setObjectName("VariablePage");
  Label(VariablePage, QLatin1("Variables"), 20, 10);
  AvailableVariables = List(VariablePage, "AvailableVariables", 20, 28, 200, 166);
  VariableValue = Label(VariablePage, QString(), 230, 28, 131, 130);
  VariableValue->setObjectName("VariableValue");
  VariableValue->setWordWrap(true);
  VariableValue->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ModifyVariables = Button(VariablePage, "ModifyVariables", QLatin1("Modify..."), 230, 169, 131);
  VariableOK = Button(VariablePage, "VariableOK", QLatin1("OK"), 206, 204);
  VariableCancel = Button(VariablePage, "VariableCancel", QLatin1("Cancel"), 286, 204);
  connect(AvailableVariables, &QListWidget::currentRowChanged, this, &TRptExpressionBuilder::SelectVariable);
  connect(ModifyVariables, &QPushButton::clicked, this, [this] {
    RunEnvironmentEditor(environment_, true);
    Activate();
  });
  connect(VariableOK, &QPushButton::clicked, this, [this] { Answer(kVariable, kOk); });
  connect(VariableCancel, &QPushButton::clicked, this, [this] { Answer(kVariable, kCancel); });
  Pages->addWidget(VariablePage);
}

void TRptExpressionBuilder::Activate() {
  activated_ = true;
  dataSets_ = CollectDataSets(component_, true);
  AvailableDatasets->clear();
  for (const auto& [name, ds] : dataSets_) AvailableDatasets->addItem(platform::ToQString(name));
  if (AvailableDatasets->count() > 0) AvailableDatasets->setCurrentRow(0);
  AvailableVariables->clear();
  std::vector<std::string> names;
  if (environment_) names = environment_->Names();
  if (TRptEvEnvironment* global = GlobalEnvironment()) {
    for (const std::string& n : global->Names()) names.push_back(n);
  }
  for (const std::string& n : names) AvailableVariables->addItem(platform::ToQString(n));
  if (AvailableVariables->count() > 0) AvailableVariables->setCurrentRow(0);
}

void TRptExpressionBuilder::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (!activated_) Activate();
}

void TRptExpressionBuilder::Answer(Page page, int result) {
  results_[page] = result;
  emit ResultSet();
}

int TRptExpressionBuilder::WaitFor(Page page) {
  static QWidget* TRptExpressionBuilder::*const kPages[kPageCount] = {
      &TRptExpressionBuilder::MainPage, &TRptExpressionBuilder::DataFieldPage, &TRptExpressionBuilder::FunctionPage,
      &TRptExpressionBuilder::FuncParamsPage, &TRptExpressionBuilder::VariablePage};
  results_[page] = kWaiting;
  Pages->setCurrentWidget(this->*kPages[page]);
  if (!WaitUntil(this, &TRptExpressionBuilder::ResultSet, [&] { return results_[page] != kWaiting || abort_; }))
    return kCancel;
  if (page != kMain) Pages->setCurrentWidget(MainPage);
  return results_[page] == kWaiting ? kCancel : results_[page];
}

void TRptExpressionBuilder::InsertOperator(const std::string& op) { Expression->Insert(" " + op + " "); }

void TRptExpressionBuilder::InsertDataField() {
  if (WaitFor(kDataField) != kOk) return;
  QListWidgetItem* ds = AvailableDatasets->currentItem();
  QListWidgetItem* field = AvailableFields->currentItem();
  if (!ds || !field) return;
  Expression->Insert(Cp932Of(ds->text()) + "." + Cp932Of(field->text()));
}

void TRptExpressionBuilder::SelectCategory(int index) {
  AvailableFunc->clear();
  TRptFunctionLibrary* library = ExprFunctionLibrary();
  if (!library) return;
  for (int i = 0; i < library->Count(); ++i) {
    const TRptLibraryEntry* e = library->EntryAt(i);
    if (index == 0 || (!e->argumentCode.empty() && e->argumentCode[0] - '0' == index))
      AvailableFunc->addItem(QString::fromStdString(e->name));
  }
}

void TRptExpressionBuilder::SelectFunction(int row) {
  FuncName->clear();
  FuncDescription->clear();
  TRptFunctionLibrary* library = ExprFunctionLibrary();
  QListWidgetItem* item = AvailableFunc->item(row);
  if (!library || !item) return;
  const TRptLibraryEntry* e = library->Find(item->text().toStdString());
  if (!e) return;
  const size_t bar = e->description.find('|');
  FuncName->setText(platform::ToQString(e->description.substr(0, bar)));
  if (bar != std::string::npos) FuncDescription->setText(platform::ToQString(e->description.substr(bar + 1)));
}

void TRptExpressionBuilder::ShowParameters(const std::string& name) {
  paramFunction_ = name;
  paramLabels_.clear();
  paramEdits_.clear();
  auto* panel = new QWidget;
  TRptFunctionLibrary* library = ExprFunctionLibrary();
  const TRptLibraryEntry* e = library ? library->Find(name) : nullptr;
  const std::string letters = e && e->argumentCode.size() > 1 ? e->argumentCode.substr(1) : std::string();
  for (size_t i = 0; i < letters.size(); ++i) {
    const int y = 4 + 40 * static_cast<int>(i);
    QLabel* label = Label(panel, ArgumentLabel(letters[i], static_cast<int>(i) + 1), 4, y, 300);
    auto* edit = new QLineEdit(panel);
    edit->setObjectName(QString("Param%1").arg(i + 1));
    edit->setGeometry(4, y + 17, 270, 21);
    QPushButton* more = Button(panel, "", QLatin1("..."), 278, y + 17, 40, 21);
    more->setObjectName(QString("ParamBuilder%1").arg(i + 1));
    connect(more, &QPushButton::clicked, this, [this, i] { EditParameter(static_cast<int>(i)); });
    paramLabels_.push_back(label);
    paramEdits_.push_back(edit);
  }
  panel->resize(322, 8 + 40 * static_cast<int>(letters.size()));
  FuncParamSB->setWidget(panel);  // frees the panel of the previous function
}

void TRptExpressionBuilder::EditParameter(int index) {
  if (index < 0 || index >= static_cast<int>(paramEdits_.size())) return;
  QLineEdit* edit = paramEdits_[static_cast<size_t>(index)];
  std::string text = Cp932Of(edit->text());
  const std::string heading = "Enter " + std::to_string(index + 1) + ". parameter for " + paramFunction_;
  if (RunExpressionBuilder(heading, text, component_, environment_, nullptr)) edit->setText(platform::ToQString(text));
}

void TRptExpressionBuilder::InsertFunction() {
  if (WaitFor(kFunction) != kOk) return;
  QListWidgetItem* item = AvailableFunc->currentItem();
  if (!item) return;
  std::string call = item->text().toStdString();
  TRptFunctionLibrary* library = ExprFunctionLibrary();
  const TRptLibraryEntry* e = library ? library->Find(call) : nullptr;
  if (e && e->argumentCode.size() > 1) {
    ShowParameters(call);
    if (WaitFor(kParams) != kOk) return;  // the function is given up
    std::string args;
    for (size_t i = 0; i < paramEdits_.size(); ++i) args += (i ? "," : "") + Cp932Of(paramEdits_[i]->text());
    call += "(" + args + ")";
  }
  Expression->Insert(call);
}

std::string TRptExpressionBuilder::VariableExpression(const std::string& name) const {
  auto find = [&name](const TRptEvEnvironment* env, std::string& out) {
    if (!env) return false;
    const std::vector<std::string> names = env->Names();
    auto at = std::find(names.begin(), names.end(), name);
    if (at == names.end()) return false;
    out = env->WriteData()[static_cast<size_t>(at - names.begin())];
    return true;
  };
  std::string text;
  if (!find(environment_, text)) find(GlobalEnvironment(), text);
  return text;
}

void TRptExpressionBuilder::SelectVariable(int row) {
  QListWidgetItem* item = AvailableVariables->item(row);
  VariableValue->setText(item ? platform::ToQString(VariableExpression(Cp932Of(item->text()))) : QString());
}

void TRptExpressionBuilder::InsertVariable() {
  if (WaitFor(kVariable) != kOk) return;
  if (QListWidgetItem* item = AvailableVariables->currentItem()) Expression->Insert(Cp932Of(item->text()));
}

void TRptExpressionBuilder::Validate() {
  TRptEvEnvironment* global = GlobalEnvironment();
  if (global) global->BeginUse();
  if (environment_) environment_->BeginUse();
  TRptDataSetList list;
  for (const auto& [name, ds] : dataSets_) list.push_back(ds);
  std::string message;
  {
    TRptEvaluator evaluator;
    evaluator.SetDataSets(&list);
    evaluator.SetEnvironment(environment_);
    try {
      const TRptEvResult r = evaluator.EvaluateOnce(WithoutLineBreaks(Expression->Text()));
      message = r.kind == TRptEvKind::Error ? "ERROR: " + std::string(r.Text())
                                            : "There are no errors. The result is : " + ResultToText(r);
    } catch (const EExprError& e) {
      message = "ERROR: " + std::string(e.what());
    }
  }
  if (environment_) environment_->EndUse();
  if (global) global->EndUse();
  platform::CurrentUi().ShowMessageBox(message, Cp932Of(windowTitle()), platform::DialogKind::Information,
                                       platform::DialogButtons::Ok);
}

int TRptExpressionBuilder::Execute(QWidget* host) {
  if (host) {
    setParent(host, Qt::Widget);
    move(0, 0);
    Activate();
  } else {
    setWindowModality(Qt::ApplicationModal);
  }
  show();
  Expression->setFocus();
  Expression->selectAll();
  const int result = WaitFor(kMain);
  hide();
  return result;
}

void TRptExpressionBuilder::keyPressEvent(QKeyEvent* e) {
  // Esc or Space on the window itself (not on one of its controls) gives up.
  if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Space) {
    abort_ = true;
    emit ResultSet();
    return;
  }
  QWidget::keyPressEvent(e);
}

void TRptExpressionBuilder::closeEvent(QCloseEvent* e) {
  for (int& r : results_) {
    if (r == kWaiting) r = kCancel;
  }
  emit ResultSet();
  QWidget::closeEvent(e);
}

bool RunExpressionBuilder(const std::string& heading, std::string& expression, QObject* component,
                          TRptEvEnvironment* environment, QWidget* host) {
  TRptExpressionBuilder builder(component, environment, nullptr);
  if (!heading.empty()) builder.Heading->setText(platform::ToQString(heading));
  builder.Expression->SetText(expression);
  if (builder.Execute(host) != TRptExpressionBuilder::kOk || builder.Aborted()) return false;
  expression = WithoutLineBreaks(builder.Expression->Text());
  return true;
}

// ---- TRptEnvironmentEditor ---------------------------------------------------------------

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
  Name = new QLineEdit(NewEntryGB);
  Name->setObjectName("Name");
  Name->setGeometry(84, 20, 250, 21);
  Label(NewEntryGB, QLatin1("Expression"), 10, 52, 70);
  NewExpression = new QLineEdit(NewEntryGB);
  NewExpression->setObjectName("Expression");
  NewExpression->setGeometry(84, 50, 210, 21);
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

// ---- Settings forms of the text controls -------------------------------------------------

namespace rpt {

TRptLabelEditorForm::TRptLabelEditorForm(QWidget* parent) : QDialog(parent) {
  setObjectName("RptLabelEditorForm");
  setWindowTitle(QLatin1("Text Settings"));
  Label(this, QLatin1("Text"), 12, 14, 60);
  Value = new QLineEdit(this);
  Value->setObjectName("Value");
  Value->setGeometry(80, 12, 220, 21);
  Label(this, QLatin1("Width"), 12, 44, 60);
  Width = new QLineEdit(this);
  Width->setObjectName("Width");
  Width->setGeometry(80, 42, 60, 21);
  Label(this, QLatin1("Height"), 160, 44, 60);
  Height = new QLineEdit(this);
  Height->setObjectName("Height");
  Height->setGeometry(220, 42, 60, 21);
  for (QLineEdit* e : {Width, Height}) e->setInputMask(QLatin1("9999"));
  auto check = [this](const char* name, const char* text, int x) {
    auto* c = new QCheckBox(QLatin1(text), this);
    c->setObjectName(name);
    c->setGeometry(x, 72, 96, 20);
    return c;
  };
  AutoSize = check("AutoSize", "Autosize", 12);
  Stretch = check("Stretch", "Stretch", 110);
  Transparent = check("Transparent", "Transparent", 208);
  rowsTop_ = 100;
  OKBtn = Button(this, "OKBtn", QLatin1("OK"), 144, rowsTop_ + 8);
  CancelBtn = Button(this, "CancelBtn", QLatin1("Cancel"), 225, rowsTop_ + 8);
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  setFixedSize(312, rowsTop_ + 41);
}

void TRptLabelEditorForm::AddRows(int height) {
  rowsTop_ += height;
  OKBtn->move(OKBtn->x(), rowsTop_ + 8);
  CancelBtn->move(CancelBtn->x(), rowsTop_ + 8);
  setFixedSize(312, rowsTop_ + 41);
}

void TRptLabelEditorForm::SetSize(long double width, long double height) {
  givenWidth_ = width_ = width;
  givenHeight_ = height_ = height;
  Width->setText(QString::number(std::llround(width)));
  Height->setText(QString::number(std::llround(height)));
  shownWidth_ = Width->text();
  shownHeight_ = Height->text();
}

bool TRptLabelEditorForm::ReadSize(QLineEdit* field, const char* name, const QString& shown, long double given,
                                   long double& out) {
  if (field->text() == shown) {
    out = given;  // left as shown: the size as it was, fraction and all
    return true;
  }
  bool ok = false;
  const double v = field->text().trimmed().toDouble(&ok);
  if (ok) {
    out = v;
    return true;
  }
  platform::CurrentUi().ShowMessageBox("'" + Cp932Of(field->text().trimmed()) + "' is not a valid number for " + name,
                                       Cp932Of(windowTitle()), platform::DialogKind::Error,
                                       platform::DialogButtons::Ok);
  field->setFocus();
  return false;
}

void TRptLabelEditorForm::accept() {
  long double w = 0, h = 0;
  if (!ReadSize(Width, "Width", shownWidth_, givenWidth_, w)) return;
  if (!ReadSize(Height, "Height", shownHeight_, givenHeight_, h)) return;
  width_ = w;
  height_ = h;
  QDialog::accept();
}

TRptExprEditorForm::TRptExprEditorForm(QObject* searchRoot, TRptEvEnvironment* environment, QWidget* parent)
    : TRptLabelEditorForm(parent), searchRoot_(searchRoot), environment_(environment) {
  setObjectName("RptExprEditorForm");
  setWindowTitle(QLatin1("Expression settings"));
  Value->resize(190, Value->height());
  BuilderBtn = Button(this, "BuilderBtn", QLatin1("..."), 274, 12, 26, 21);
  Label(this, QLatin1("Mask"), 12, RowsTop() + 2, 60);
  Mask = new QLineEdit(this);
  Mask->setObjectName("Mask");
  Mask->setGeometry(80, RowsTop(), 220, 21);
  AddRows(30);
  connect(BuilderBtn, &QPushButton::clicked, this, [this] {
    std::string text = Cp932Of(Value->text());
    if (RunExpressionBuilder(std::string(), text, searchRoot_, environment_, nullptr))
      Value->setText(platform::ToQString(text));
  });
}

}  // namespace rpt

// ---- Editors of the text controls --------------------------------------------------------

namespace rpt {

const QMetaObject& TRptLabelEditor::PrintableClass() const { return TRptLabel::staticMetaObject; }
TRptCustomLabel& TRptLabelEditor::Label() const { return static_cast<TRptCustomLabel&>(Control()); }
std::string TRptLabelEditor::Value() const { return Label().Caption(); }
void TRptLabelEditor::SetValue(const std::string& value) { Label().SetCaption(value); }
uint32_t TRptLabelEditor::Color() const { return Label().Color(); }
void TRptLabelEditor::SetColor(uint32_t color) { Label().SetColor(color); }
const platform::CanvasFont& TRptLabelEditor::Font() const { return Label().Font(); }
void TRptLabelEditor::SetFont(const platform::CanvasFont& font) { Label().MutableFont().Assign(font); }
TRptAlignment TRptLabelEditor::Alignment() const { return Label().Alignment(); }
void TRptLabelEditor::SetAlignment(TRptAlignment alignment) { Label().SetAlignment(alignment); }

std::unique_ptr<TRptLabelEditorForm> TRptLabelEditor::MakeForm() const {
  return std::make_unique<TRptLabelEditorForm>();
}

bool TRptLabelEditor::Edit() {
  std::unique_ptr<TRptLabelEditorForm> form = MakeForm();
  TRptCustomLabel& label = Label();
  form->Value->setText(platform::ToQString(Value()));
  form->SetSize(label.Size().Width(), label.Size().Height());
  form->AutoSize->setChecked(label.AutoSize());
  form->Stretch->setChecked(label.AutoStretch());
  form->Transparent->setChecked(label.Transparent());
  if (form->exec() != QDialog::Accepted) return false;
  ReadForm(*form);
  return true;
}

void TRptLabelEditor::ReadForm(TRptLabelEditorForm& form) {
  TRptCustomLabel& label = Label();
  SetValue(Cp932Of(form.Value->text()));
  label.Size().SetWidth(form.WidthValue());
  label.Size().SetHeight(form.HeightValue());
  label.SetAutoSize(form.AutoSize->isChecked());
  label.SetAutoStretch(form.Stretch->isChecked());
  label.SetTransparent(form.Transparent->isChecked());
}

const QMetaObject& TRptExprEditor::PrintableClass() const { return TRptExpr::staticMetaObject; }
TRptExpr& TRptExprEditor::Expr() const { return static_cast<TRptExpr&>(Control()); }
std::string TRptExprEditor::Value() const { return Expr().Expression(); }
void TRptExprEditor::SetValue(const std::string& value) { Expr().SetExpression(value); }

std::unique_ptr<TRptLabelEditorForm> TRptExprEditor::MakeForm() const {
  TCustomBandReport* report = Expr().ParentReport();
  QObject* root = report ? static_cast<QObject*>(report->OwnerForm()) : Expr().window();
  auto form = std::make_unique<TRptExprEditorForm>(root, report ? &report->Functions() : nullptr);
  form->Mask->setText(platform::ToQString(Expr().Mask()));
  return form;
}

void TRptExprEditor::ReadForm(TRptLabelEditorForm& form) {
  TRptLabelEditor::ReadForm(form);
  Expr().SetMask(Cp932Of(static_cast<TRptExprEditorForm&>(form).Mask->text()));
}

void RegisterControlEditors() {
  RegisterPrintableEditor(TRptLabel::staticMetaObject,
                          [](TRptPrintable& p) { return std::make_unique<TRptLabelEditor>(p); });
  RegisterPrintableEditor(TRptExpr::staticMetaObject,
                          [](TRptPrintable& p) { return std::make_unique<TRptExprEditor>(p); });
}

namespace {
const bool kEditorsRegistered = (RegisterControlEditors(), true);
}  // namespace

}  // namespace rpt
