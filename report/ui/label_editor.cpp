// The settings forms of the text controls (TRptLabelEditorForm, TRptExprEditorForm) and their
// editors (TRptLabelEditor, TRptExprEditor).
#include "report/ui/editors.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

#include "platform/qt/qt_text.h"
#include "platform/ui.h"
#include "report/band_report.h"
#include "report/rpt_ctrls.h"
#include "report/rpt_expr.h"
#include "report/ui/editor_helpers.h"

namespace rpt {

using namespace dialogs;
using platform::QLatin1;

// ---- Settings forms of the text controls -------------------------------------------------

TRptLabelEditorForm::TRptLabelEditorForm(QWidget* parent) : QDialog(parent) {
  setObjectName("RptLabelEditorForm");
  setWindowTitle(QLatin1("Text Settings"));
  Label(this, QLatin1("Text"), 12, 14, 60);
  Value = LineEdit(this, "Value", 80, 12, 220);
  Label(this, QLatin1("Width"), 12, 44, 60);
  Width = LineEdit(this, "Width", 80, 42, 60);
  Label(this, QLatin1("Height"), 160, 44, 60);
  Height = LineEdit(this, "Height", 220, 42, 60);
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
  Mask = LineEdit(this, "Mask", 80, RowsTop(), 220);
  AddRows(30);
  connect(BuilderBtn, &QPushButton::clicked, this, [this] {
    std::string text = Cp932Of(Value->text());
    if (RunExpressionBuilder(std::string(), text, searchRoot_, environment_, nullptr))
      Value->setText(platform::ToQString(text));
  });
}

// ---- Editors of the text controls --------------------------------------------------------

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

}  // namespace rpt
