// Editors for report designers: the expression builder, which composes an expression from
// data-set fields, functions, environment names and operators and checks it, and the editor of
// the named expressions ("user defined functions") of an environment.
//
// - The builder shows one page at a time. The main page holds the expression; inserting a
//   field, a function or a name shows that page and waits (a local event loop) until its OK or
//   Cancel; the result goes in at the cursor, replacing the selection. A function with
//   arguments first asks for each argument on the parameter page, where "..." opens a builder
//   of its own for that argument.
// - Validate evaluates the expression once with the listed data sets and the report's
//   environment and tells the result or the error in a message.
// - RunExpressionBuilder answers true on OK with the expression, its line breaks removed; on
//   Cancel, or when the window is closed, the expression stays as it was.
// - The editors of text controls (TRptLabelEditor) and expression controls (TRptExprEditor)
//   show the control's settings form and write the settings back on OK; they are registered as
//   the editors of TRptLabel and TRptExpr when the library starts.
// - The environment editor lists the entries of the report's (local) or the global
//   environment. A name edited in the grid is stored upper-cased; an expression edited while
//   the environment is in use springs back to the stored text. Edit runs the builder on the
//   entry's expression and keeps the result only on OK.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "report/dataset.h"
#include "report/printable.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStackedWidget;
class QTableWidget;

namespace rpt {

class TRptCustomLabel;
class TRptEvEnvironment;
class TRptExpr;

// (name, data set) pairs offered by the builder.
using TRptNamedDataSets = std::vector<std::pair<std::string, TRptDataSet*>>;

// The data sets of `component` and of the components it holds, each once, with their names.
TRptNamedDataSets CollectDataSets(QObject* component, bool withDataModules);

// The multi-line, word-wrapping edit of the builder.
class TWordWrapEdit : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TWordWrapEdit(QWidget* parent = nullptr);
  // The text (CP932) and the replacement of the selection (the cursor goes after it).
  std::string Text() const;
  void SetText(const std::string& cp932);
  void Insert(const std::string& cp932);
};

class TRptExpressionBuilder : public QWidget {
  Q_OBJECT
 public:
  enum Result { kWaiting = 0, kOk = 1, kCancel = 2 };
  // The category names of the function page; a function's category is the first digit of
  // its argument code ("All" lists every function).
  static const std::vector<std::string>& CategoryNames();

  // `component`: whose data sets are offered; `environment`: the report's (may be null).
  TRptExpressionBuilder(QObject* component, TRptEvEnvironment* environment, QWidget* parent = nullptr);
  ~TRptExpressionBuilder() override;

  QStackedWidget* Pages;
  QWidget *MainPage, *DataFieldPage, *FunctionPage, *FuncParamsPage, *VariablePage;
  QLabel* Heading;
  TWordWrapEdit* Expression;
  QPushButton *InsertDataFieldBtn, *InsertFunctionBtn, *InsertVariableBtn;
  QPushButton *AddPlus, *AddMinus, *AddMul, *AddDiv, *AddEqual, *AddSmaller, *AddLarger, *AddNotEqual, *AddLessEqual,
      *AddGreaterEqual, *AddNot, *AddAnd, *AddOr;
  QPushButton *ValidateBtn, *Clear, *OK, *Cancel;
  QListWidget *AvailableDatasets, *AvailableFields;
  QPushButton *DataFieldOK, *DataFieldCancel;
  QListWidget *Categories, *AvailableFunc;
  QLabel *FuncName, *FuncDescription;
  QPushButton *FunctionContinue, *FunctionCancel;
  QScrollArea* FuncParamSB;
  QPushButton *ParamsOK, *ParamsCancel;
  QListWidget* AvailableVariables;
  QLabel* VariableValue;
  QPushButton *ModifyVariables, *VariableOK, *VariableCancel;

  // Fills the data-set and name lists (done when the builder is shown).
  void Activate();
  const TRptNamedDataSets& DataSets() const { return dataSets_; }

  // The steps of the pages, each waiting for its page's answer.
  void InsertDataField();
  void InsertFunction();
  void InsertVariable();
  void InsertOperator(const std::string& op);
  // Lists the functions of category `index` (0: all).
  void SelectCategory(int index);
  // Shows the name and description of the function in row `row` of AvailableFunc.
  void SelectFunction(int row);
  // Fills the parameter page for the function `name`; the argument edits and their labels.
  void ShowParameters(const std::string& name);
  std::vector<QLabel*> ParameterLabels() const { return paramLabels_; }
  std::vector<QLineEdit*> ParameterEdits() const { return paramEdits_; }
  // Runs a nested builder for argument `index` (from 0) of the parameter page.
  void EditParameter(int index);
  // Shows the expression of the name in row `row` of AvailableVariables.
  void SelectVariable(int row);
  void Validate();

  // Shows the builder (inside `host` at its top-left without a border, else as a modal
  // window) and waits for OK or Cancel; kOk or kCancel.
  int Execute(QWidget* host);
  bool Aborted() const { return abort_; }
  int MainResult() const { return results_[kMain]; }

 signals:
  void ResultSet();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  enum Page { kMain, kDataField, kFunction, kParams, kVariable, kPageCount };
  void Build();
  void BuildMainPage();
  void BuildDataFieldPage();
  void BuildFunctionPage();
  void BuildParamsPage();
  void BuildVariablePage();
  // Shows `page` and waits for its answer; shows the main page again afterwards.
  int WaitFor(Page page);
  void Answer(Page page, int result);
  std::string VariableExpression(const std::string& name) const;

  QObject* component_;
  TRptEvEnvironment* environment_;
  TRptNamedDataSets dataSets_;
  int results_[kPageCount] = {};
  bool abort_ = false;
  bool activated_ = false;
  std::string paramFunction_;
  std::vector<QLabel*> paramLabels_;
  std::vector<QLineEdit*> paramEdits_;
};

// Composes an expression (CP932) with the builder; true on OK. `heading` (when not empty)
// replaces the builder's heading; `host` (may be null) is the form the builder sits in.
bool RunExpressionBuilder(const std::string& heading, std::string& expression, QObject* component,
                          TRptEvEnvironment* environment, QWidget* host);

class TRptEnvironmentEditor : public QWidget {
  Q_OBJECT
 public:
  // `local`: the report's environment (may be null); `allowGlobal`: whether the global one may
  // be edited.
  TRptEnvironmentEditor(TRptEvEnvironment* local, bool allowGlobal, QWidget* parent = nullptr);

  QTableWidget* UDFGrid;
  QRadioButton *LocalCB, *GlobalCB;
  QPushButton *AddBtn, *EditBtn, *DeleteBtn, *VariableOKBtn;
  QGroupBox* NewEntryGB;
  QLineEdit *Name, *NewExpression;
  QPushButton *NewExpressionBtn, *NewOKBtn, *NewCancelBtn;

  // The environment the grid shows.
  TRptEvEnvironment* Shown() const;
  void FillGrid();
  // Runs the builder on the expression of grid row `row`.
  void EditRow(int row);
  // Shows the new-entry group and waits for its OK or Cancel.
  void AddEntry();
  // Shows the editor and waits until it closes.
  void Execute();
  bool Closed() const { return closed_; }

 signals:
  void Done();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void CellChanged(int row, int column);

  TRptEvEnvironment* local_;
  bool closed_ = false;
  int newResult_ = 0;
  bool filling_ = false;
};

// Shows the editor of `environment`'s entries and waits until it closes.
void RunEnvironmentEditor(TRptEvEnvironment* environment, bool allowGlobal);

// The settings form of a text control ("Text Settings"): the text, width and height (up to four
// digits each) and the Autosize, Stretch and Transparent switches. OK with a width or height
// that is no number tells which field in a message and keeps the form open.
class TRptLabelEditorForm : public QDialog {
  Q_OBJECT
 public:
  explicit TRptLabelEditorForm(QWidget* parent = nullptr);

  QLineEdit *Value, *Width, *Height;
  QCheckBox *AutoSize, *Stretch, *Transparent;
  QPushButton *OKBtn, *CancelBtn;

  // Shows a size in the four-digit fields (a fraction is rounded) and remembers it, so that a
  // field left as shown gives back the size it was filled with.
  void SetSize(long double width, long double height);
  // The sizes after OK: the typed numbers, or the sizes given where the field was not changed.
  long double WidthValue() const { return width_; }
  long double HeightValue() const { return height_; }

  void accept() override;

 protected:
  // Extra height for the fields of a derived form.
  void AddRows(int height);
  int RowsTop() const { return rowsTop_; }

 private:
  bool ReadSize(QLineEdit* field, const char* name, const QString& shown, long double given, long double& out);
  long double width_ = 0, height_ = 0, givenWidth_ = 0, givenHeight_ = 0;
  QString shownWidth_, shownHeight_;
  int rowsTop_ = 0;
};

// The settings form of an expression control ("Expression settings"): the text form with the
// expression as Value, its Mask, and a button that composes the expression with the builder
// (offering the data sets of the control's form and the report's environment).
class TRptExprEditorForm : public TRptLabelEditorForm {
  Q_OBJECT
 public:
  TRptExprEditorForm(QObject* searchRoot, TRptEvEnvironment* environment, QWidget* parent = nullptr);
  QLineEdit* Mask;
  QPushButton* BuilderBtn;

 private:
  QObject* searchRoot_;
  TRptEvEnvironment* environment_;
};

}  // namespace rpt

namespace rpt {

// The editor of a text control: its value is the caption.
class TRptLabelEditor : public TRptPrintableEditor {
 public:
  explicit TRptLabelEditor(TRptPrintable& control) : TRptPrintableEditor(control) {}
  bool HasColor() const override { return true; }
  bool HasFont() const override { return true; }
  std::string GlyphResourceName() const override { return "RPTLABEL"; }
  const QMetaObject& PrintableClass() const override;
  std::string Value() const override;
  void SetValue(const std::string& value) override;
  std::string ControlName() const override { return "Text Control"; }
  // Shows the settings form; on OK writes it back and answers true.
  bool Edit() override;

  // Colour, font and alignment of the control.
  uint32_t Color() const;
  void SetColor(uint32_t color);
  const platform::CanvasFont& Font() const;
  void SetFont(const platform::CanvasFont& font);
  TRptAlignment Alignment() const;
  void SetAlignment(TRptAlignment alignment);

 protected:
  TRptCustomLabel& Label() const;
  virtual std::unique_ptr<TRptLabelEditorForm> MakeForm() const;
  virtual void ReadForm(TRptLabelEditorForm& form);
};

// The editor of an expression control: its value is the expression; the form adds the mask.
class TRptExprEditor : public TRptLabelEditor {
 public:
  explicit TRptExprEditor(TRptPrintable& control) : TRptLabelEditor(control) {}
  std::string GlyphResourceName() const override { return "RPTEXPR"; }
  const QMetaObject& PrintableClass() const override;
  std::string Value() const override;
  void SetValue(const std::string& value) override;
  std::string ControlName() const override { return "Expression Control"; }

 protected:
  TRptExpr& Expr() const;
  std::unique_ptr<TRptLabelEditorForm> MakeForm() const override;
  void ReadForm(TRptLabelEditorForm& form) override;
};

// Registers the two editors for their control classes; called by the program's start-up and by
// the mains of the tests that open the editors. Calling it again changes nothing.
void RegisterControlEditors();

}  // namespace rpt
