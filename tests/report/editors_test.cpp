// The expression builder and the environment editor: categories, parameter pages, insertion,
// validation, the answers of RunExpressionBuilder, and editing entries.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QStackedWidget>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <functional>

#include "expr_test_util.h"
#include "report/band_report.h"
#include "report/rpt_ctrls.h"
#include "report/rpt_expr.h"
#include "report/ui/editors.h"
#include "support/test_support.h"

using namespace rpt;

namespace {

// Runs `step` once the event loop is entered (a page or a window is waiting).
void Later(std::function<void()> step) { QTimer::singleShot(0, std::move(step)); }

TRptExpressionBuilder* OpenBuilder() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* b = qobject_cast<TRptExpressionBuilder*>(w); b && b->isVisible()) return b;
  }
  return nullptr;
}

std::vector<std::string> Items(QListWidget* list) {
  std::vector<std::string> items;
  for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text().toStdString());
  return items;
}

class EditorsTest : public exprtest::ExprTest {
 protected:
  testsupport::FakeUi ui;
};

}  // namespace

TEST_F(EditorsTest, CategoriesListTheirFunctions) {
  TRptExpressionBuilder builder(nullptr, nullptr);
  EXPECT_EQ(Items(builder.Categories), (std::vector<std::string>{"All", "Date & time", "Math & trig", "Statistical",
                                                                  "Database", "Logical", "Information", "Other"}));
  const std::pair<int, int> counts[] = {{0, 21}, {1, 2}, {2, 4}, {3, 5}, {4, 0}, {5, 3}, {6, 1}, {7, 6}};
  for (auto [category, count] : counts) {
    builder.Categories->setCurrentRow(category);
    EXPECT_EQ(builder.AvailableFunc->count(), count) << category;
  }
  builder.SelectCategory(3);
  EXPECT_EQ(Items(builder.AvailableFunc), (std::vector<std::string>{"SUM", "COUNT", "MAX", "MIN", "AVERAGE"}));
  builder.SelectCategory(7);
  builder.AvailableFunc->setCurrentRow(4);
  EXPECT_EQ(builder.FuncName->text(), "COPY(<X>, <St>,<Len>)");
  EXPECT_EQ(builder.FuncDescription->text(), "Returns a substring of string X");
}

TEST_F(EditorsTest, ParameterLabelsFollowTheArgumentLetters) {
  TRptExpressionBuilder builder(nullptr, nullptr);
  struct Case {
    std::string function;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {"IF", {"Argument 1 - logical value", "Argument 2 - value", "Argument 3 - value"}},
      {"COPY", {"Argument 1 - text Value", "Argument 2 - numeric value", "Argument 3 - numeric value"}},
      {"COUNT", {}},
  };
  for (const Case& c : cases) {
    builder.ShowParameters(c.function);
    std::vector<std::string> labels;
    for (QLabel* l : builder.ParameterLabels()) labels.push_back(l->text().toStdString());
    EXPECT_EQ(labels, c.labels) << c.function;
    for (size_t i = 1; i < builder.ParameterEdits().size(); ++i)
      EXPECT_EQ(builder.ParameterEdits()[i]->y() - builder.ParameterEdits()[i - 1]->y(), 40);
  }
}

TEST_F(EditorsTest, ValidateTellsTheValueOrTheError) {
  TRptEvEnvironment env;
  env.AddEntry("RATE", "3");
  TRptExpressionBuilder builder(nullptr, &env);
  const std::pair<const char*, const char*> cases[] = {
      {"1+1", "There are no errors. The result is : 2"},
      {"1\r\n+RATE", "There are no errors. The result is : 4"},
      {"'rain'", "There are no errors. The result is : rain"},
      {"2 > 1", "There are no errors. The result is : True"},
      {"1+", "ERROR: Illegal character in numeric contant \"1+\""},
      {"NOSUCH", "ERROR: Unknown function : NOSUCH"},
  };
  for (auto [text, message] : cases) {
    builder.Expression->SetText(text);
    builder.Validate();
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown.back().text, message) << text;
  }
  EXPECT_EQ(env.UseCount(), 0);
  EXPECT_EQ(GlobalEnvironment()->UseCount(), 0);
}

TEST_F(EditorsTest, FunctionsFieldsNamesAndOperatorsGoInAtTheCursor) {
  TRptEvEnvironment env;
  env.AddEntry("Rate", "3");
  TBandReport report;
  report.SetDataSet(&table);
  TRptExpressionBuilder builder(&report, &env);
  builder.Activate();
  EXPECT_EQ(Items(builder.AvailableDatasets), std::vector<std::string>{"CUST"});
  EXPECT_EQ(builder.AvailableFields->count(), 7);
  ASSERT_GE(builder.AvailableVariables->count(), 4);  // the report's names, then the global ones
  EXPECT_EQ(builder.AvailableVariables->item(0)->text(), "RATE");
  EXPECT_EQ(builder.AvailableVariables->item(1)->text(), "APPSTARTTIME");
  builder.SelectVariable(0);
  EXPECT_EQ(builder.VariableValue->text(), "3");

  builder.Expression->SetText("X");
  builder.Expression->selectAll();
  builder.InsertOperator("<>");
  EXPECT_EQ(builder.Expression->Text(), " <> ");

  builder.Expression->clear();
  Later([&] {
    builder.AvailableFields->setCurrentRow(1);
    builder.DataFieldOK->click();
  });
  builder.InsertDataField();
  EXPECT_EQ(builder.Expression->Text(), "CUST.QTY");

  Later([&] {
    EXPECT_EQ(builder.Pages->currentWidget(), builder.VariablePage);
    builder.VariableOK->click();
  });
  builder.InsertVariable();
  EXPECT_EQ(builder.Expression->Text(), "CUST.QTYRATE");
  EXPECT_EQ(builder.Pages->currentWidget(), builder.MainPage);

  builder.Expression->clear();
  Later([&] {
    builder.SelectCategory(7);
    builder.AvailableFunc->setCurrentRow(4);  // COPY
    builder.FunctionContinue->click();
    Later([&] {
      ASSERT_EQ(builder.ParameterEdits().size(), 3u);
      builder.ParameterEdits()[0]->setText("'abc'");
      builder.ParameterEdits()[1]->setText("1");
      builder.ParameterEdits()[2]->setText("2");
      builder.ParamsOK->click();
    });
  });
  builder.InsertFunction();
  EXPECT_EQ(builder.Expression->Text(), "COPY('abc',1,2)");

  // Cancel on the parameter page gives the function up.
  Later([&] {
    builder.AvailableFunc->setCurrentRow(0);  // STR
    builder.FunctionContinue->click();
    Later([&] { builder.ParamsCancel->click(); });
  });
  builder.InsertFunction();
  EXPECT_EQ(builder.Expression->Text(), "COPY('abc',1,2)");
}

TEST_F(EditorsTest, RunExpressionBuilderAnswers) {
  // OK: the expression without its line breaks.
  std::string expression = "1";
  Later([] {
    TRptExpressionBuilder* b = OpenBuilder();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Heading->text(), "Enter the total");
    EXPECT_EQ(b->Expression->textCursor().selectedText(), "1");  // all selected
    b->Expression->SetText("SUM(\r\nCUST.QTY)");
    b->OK->click();
  });
  EXPECT_TRUE(RunExpressionBuilder("Enter the total", expression, nullptr, nullptr, nullptr));
  EXPECT_EQ(expression, "SUM(CUST.QTY)");

  // Cancel, closing the window and Esc on the window keep the expression as it was.
  const std::vector<std::function<void(TRptExpressionBuilder*)>> giveUps = {
      [](TRptExpressionBuilder* b) { b->Cancel->click(); },
      [](TRptExpressionBuilder* b) { b->close(); },
      [](TRptExpressionBuilder* b) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(b, &esc);
      }};
  for (const auto& giveUp : giveUps) {
    Later([&giveUp] {
      TRptExpressionBuilder* b = OpenBuilder();
      ASSERT_NE(b, nullptr);
      b->Expression->SetText("2");
      giveUp(b);
    });
    EXPECT_FALSE(RunExpressionBuilder("", expression, nullptr, nullptr, nullptr));
    EXPECT_EQ(expression, "SUM(CUST.QTY)");
  }

  // In a host form the builder sits at its top-left without a border.
  QWidget host;
  host.resize(400, 300);
  host.show();
  Later([&host] {
    auto* b = host.findChild<TRptExpressionBuilder*>();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->pos(), QPoint(0, 0));
    EXPECT_FALSE(b->isWindow());
    b->OK->click();
  });
  EXPECT_TRUE(RunExpressionBuilder("", expression, nullptr, nullptr, &host));
}

TEST_F(EditorsTest, EnvironmentEditorEditsEntries) {
  TRptEvEnvironment env;
  env.AddEntry("rate", "3");
  env.AddEntry("TANK", "RATE*2");
  {
    TRptEnvironmentEditor without(nullptr, false);
    EXPECT_FALSE(without.LocalCB->isEnabled());
    EXPECT_TRUE(without.GlobalCB->isChecked());
    EXPECT_FALSE(without.GlobalCB->isEnabled());
  }
  TRptEnvironmentEditor editor(&env, true);
  EXPECT_EQ(editor.windowTitle(), "User Defined Functions Edtor");
  EXPECT_EQ(editor.UDFGrid->horizontalHeaderItem(0)->text(), "Name");
  EXPECT_EQ(editor.UDFGrid->horizontalHeaderItem(1)->text(), "Expression");
  ASSERT_EQ(editor.UDFGrid->rowCount(), 2);
  EXPECT_EQ(editor.UDFGrid->item(0, 0)->text(), "RATE");
  EXPECT_EQ(editor.UDFGrid->item(1, 1)->text(), "RATE*2");

  editor.UDFGrid->item(0, 0)->setText("volume");
  EXPECT_EQ(env.Names()[0], "VOLUME");
  EXPECT_EQ(editor.UDFGrid->item(0, 0)->text(), "VOLUME");
  editor.UDFGrid->item(1, 1)->setText("VOLUME*3");
  EXPECT_EQ(env.WriteData()[1], "VOLUME*3");
  env.BeginUse();
  editor.UDFGrid->item(1, 1)->setText("0");  // in use: snaps back
  EXPECT_EQ(editor.UDFGrid->item(1, 1)->text(), "VOLUME*3");
  EXPECT_EQ(env.WriteData()[1], "VOLUME*3");
  EXPECT_EQ(env.EvaluateEntry("TANK").intValue, 9);
  env.EndUse();

  // Edit runs the builder on the row; Cancel keeps the stored expression.
  Later([] {
    TRptExpressionBuilder* b = OpenBuilder();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Heading->text(), "TANK");
    b->Expression->SetText("");
    b->Cancel->click();
  });
  editor.EditRow(1);
  EXPECT_EQ(env.WriteData()[1], "VOLUME*3");
  Later([] {
    TRptExpressionBuilder* b = OpenBuilder();
    ASSERT_NE(b, nullptr);
    b->Expression->SetText("VOLUME+1");
    b->OK->click();
  });
  editor.EditRow(1);
  EXPECT_EQ(env.WriteData()[1], "VOLUME+1");

  // Add shows the new-entry group until its OK.
  Later([&editor] {
    EXPECT_TRUE(editor.NewEntryGB->isVisibleTo(&editor));
    EXPECT_FALSE(editor.UDFGrid->isVisibleTo(&editor));
    editor.Name->setText("roof");
    editor.NewExpression->setText("120");
    editor.NewOKBtn->click();
  });
  editor.AddEntry();
  EXPECT_EQ(env.Names(), (std::vector<std::string>{"VOLUME", "TANK", "ROOF"}));
  EXPECT_EQ(editor.UDFGrid->rowCount(), 3);
  EXPECT_FALSE(editor.NewEntryGB->isVisibleTo(&editor));

  editor.GlobalCB->setChecked(true);
  EXPECT_EQ(editor.UDFGrid->item(0, 0)->text(), "APPSTARTTIME");

  Later([&editor] { editor.VariableOKBtn->click(); });
  editor.Execute();
  EXPECT_TRUE(editor.Closed());
}

TEST_F(EditorsTest, DataSetsOfAComponentAndItsControls) {
  TBandReport report;
  report.SetDataSet(&table);
  TTable orders("ORDERS");
  auto* sub = new TRptSubDetail(&report);
  sub->SetDataSet(&orders);
  const TRptNamedDataSets sets = CollectDataSets(&report, true);
  ASSERT_EQ(sets.size(), 2u);
  EXPECT_EQ(sets[0], (std::pair<std::string, TRptDataSet*>{"CUST", &table}));
  EXPECT_EQ(sets[1].first, "ORDERS");
  EXPECT_TRUE(CollectDataSets(nullptr, true).empty());
}

TEST_F(EditorsTest, SettingsFormChecksItsSizes) {
  TRptLabelEditorForm form;
  EXPECT_EQ(form.windowTitle(), "Text Settings");
  EXPECT_EQ(form.AutoSize->text(), "Autosize");
  form.SetSize(25.4L, 10);
  EXPECT_EQ(form.Width->text(), "25");
  EXPECT_EQ(form.Height->text(), "10");
  form.accept();  // fields left as shown keep their sizes, fraction and all
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.WidthValue(), 25.4L);

  form.setResult(QDialog::Rejected);
  form.Height->setText("");
  form.accept();
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].text, "'' is not a valid number for Height");
  EXPECT_EQ(form.result(), QDialog::Rejected);  // the form stays open
  form.Width->setText("x12");  // the four-digit mask takes digits only
  EXPECT_EQ(form.Width->text(), "12");
  form.Height->setText("40");
  form.accept();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.WidthValue(), 12);
  EXPECT_EQ(form.HeightValue(), 40);

  TRptExprEditorForm expr(nullptr, nullptr);
  EXPECT_EQ(expr.windowTitle(), "Expression settings");
  expr.Value->setText("1");
  Later([] {
    TRptExpressionBuilder* b = OpenBuilder();
    ASSERT_NE(b, nullptr);
    b->Expression->SetText("SUM(1)");
    b->OK->click();
  });
  expr.BuilderBtn->click();
  EXPECT_EQ(expr.Value->text(), "SUM(1)");
}

TEST_F(EditorsTest, EditorsOfTextAndExpressionControls) {
  TBandReport report;
  report.SetUnits(TRptUnit::MM);
  auto* label = new TRptLabel(&report);
  label->SetAutoSize(false);
  label->SetCaption("Rain");
  label->Size().SetWidth(25.4L);
  label->Size().SetHeight(10);
  std::unique_ptr<TRptPrintableEditor> editor = label->GetEditorClass()(*label);
  EXPECT_EQ(editor->ControlName(), "Text Control");
  EXPECT_EQ(editor->GlyphResourceName(), "RPTLABEL");
  EXPECT_EQ(editor->Value(), "Rain");
  EXPECT_TRUE(editor->HasFont());
  editor->SetValue("Snow");
  EXPECT_EQ(label->Caption(), "Snow");

  // OK writes the form back; a width left as shown keeps its fraction.
  Later([] {
    auto* form = qobject_cast<TRptLabelEditorForm*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Value->text(), "Snow");
    EXPECT_EQ(form->Width->text(), "25");
    form->Value->setText("Hail");
    form->Height->setText("12");
    form->Stretch->setChecked(true);
    form->Transparent->setChecked(true);
    form->OKBtn->click();
  });
  EXPECT_TRUE(editor->Edit());
  EXPECT_EQ(label->Caption(), "Hail");
  EXPECT_NEAR(static_cast<double>(label->Size().Width()), 25.4, 1e-9);
  EXPECT_NEAR(static_cast<double>(label->Size().Height()), 12, 1e-9);
  EXPECT_TRUE(label->AutoStretch());
  EXPECT_TRUE(label->Transparent());
  Later([] {
    auto* form = qobject_cast<TRptLabelEditorForm*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    form->Value->setText("Fog");
    form->CancelBtn->click();
  });
  EXPECT_FALSE(editor->Edit());
  EXPECT_EQ(label->Caption(), "Hail");

  auto* expr = new TRptExpr(&report);
  expr->SetExpression("1+1");
  std::unique_ptr<TRptPrintableEditor> exprEditor = expr->GetEditorClass()(*expr);
  EXPECT_EQ(exprEditor->ControlName(), "Expression Control");
  EXPECT_EQ(exprEditor->GlyphResourceName(), "RPTEXPR");
  EXPECT_EQ(exprEditor->Value(), "1+1");
  Later([] {
    auto* form = qobject_cast<TRptExprEditorForm*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Expression settings");
    form->Value->setText("SUM(2)");
    form->Mask->setText("0.0");
    form->OKBtn->click();
  });
  EXPECT_TRUE(exprEditor->Edit());
  EXPECT_EQ(expr->Expression(), "SUM(2)");
  EXPECT_EQ(expr->Mask(), "0.0");
  EXPECT_EQ(expr->Caption(), "SUM(2)");
}
