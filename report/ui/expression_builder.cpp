// The expression builder (TRptExpressionBuilder) with its word-wrapping edit, and the data
// sets it lists.
#include "report/ui/editors.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedWidget>
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
#include "report/ui/editor_helpers.h"

namespace rpt {

using namespace dialogs;
using platform::QLatin1;

namespace {

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
    auto* edit = LineEdit(panel, QString("Param%1").arg(i + 1), 4, y + 17, 270);
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

}  // namespace rpt

// The dialogs of editors.h live in several files: their meta objects are made here.
#include "moc_editors.cpp"
