// Form utilities on widgets: silent setters, grid totals, control lookup, memos, the file
// combo, panel dragging and the mouse pointer.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include "framework/calc_state.h"
#include "framework/ui/form_utils.h"
#include "input_test_util.h"
#include "platform/files.h"
#include "support/test_support.h"

using namespace uitest;
using testsupport::S;

namespace {

TEST(FormUtilWidgets, SilentSettersRunNoHandlerAndKeepTheFocus) {
  QWidget form;
  auto* box = new QCheckBox(&form);
  auto* spin = new QSpinBox(&form);
  spin->setRange(-40000, 40000);
  auto* tabs = new QTabWidget(&form);
  tabs->addTab(new QWidget, "1");
  tabs->addTab(new QWidget, "2");
  auto* group = new QButtonGroup(&form);
  for (int i = 0; i < 3; ++i) group->addButton(new QRadioButton(&form), i);
  int fired = 0;
  QObject::connect(box, &QCheckBox::toggled, [&] { ++fired; });
  QObject::connect(spin, &QSpinBox::valueChanged, [&] { ++fired; });
  QObject::connect(tabs, &QTabWidget::currentChanged, [&] { ++fired; });
  QObject::connect(group, &QButtonGroup::idToggled, [&] { ++fired; });
  form.show();
  form.activateWindow();
  box->setFocus();
  Pump();

  fw::SetCheckBoxSilently(box, true);
  fw::SetUpDownSilently(spin, 40000);
  fw::SetTabIndexSilently(tabs, 2);
  fw::SetRadioGroupSilently(group, 2);
  EXPECT_TRUE(box->isChecked());
  EXPECT_EQ(spin->value(), 32767);
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_EQ(group->checkedId(), 1);
  for (int none : {0, -3}) {
    fw::SetRadioGroupSilently(group, 2);
    fw::SetRadioGroupSilently(group, none);
    EXPECT_EQ(group->checkedId(), -1) << none;
  }
  auto* radio = static_cast<QRadioButton*>(group->button(0));
  fw::SetRadioButtonSilently(radio, true);
  EXPECT_TRUE(radio->isChecked());
  fw::SetRadioButtonSilently(radio, false);
  EXPECT_FALSE(radio->isChecked());
  EXPECT_EQ(fired, 0);
  EXPECT_EQ(Focused(), box);
  fw::SetCheckBoxSilently(nullptr, true);  // no control: nothing
}

TEST(FormUtilWidgets, GridRangeTotalsByTotalStyle) {
  fw::TStrGridEx g;
  g.SetColCount(3);
  g.SetRowCount(6);
  const char* values[] = {"2", "-1", "0", "3"};
  for (int r = 0; r < 4; ++r) g.SetCells(1, r + 1, values[r]);
  fw::CopyEditFormat(fw::TEditType::etInteger, 6, 0, true, true, false);
  const struct {
    fw::TTotalStyleType style;
    double sum;
  } table[] = {{fw::TTotalStyleType::tsPlus, 5},
               {fw::TTotalStyleType::tsAll, 4},
               {fw::TTotalStyleType::tsMinus, -1},
               {fw::TTotalStyleType::tsNone, 0}};
  for (const auto& t : table) {
    g.SetTotalStyle(t.style);
    int count = 0;
    EXPECT_EQ(fw::GridRangeSum(&g, 1, 1, 1, 4, 0, 0, count), t.sum);
    EXPECT_EQ(count, 4);
  }
  g.SetTotalStyle(fw::TTotalStyleType::tsPlus);
  int count = 0;
  fw::GridRangeSum(&g, 1, 1, 1, 4, 1, 5, count);
  EXPECT_EQ(g.Cells(1, 5), "     5");
  g.SetTotalStyle(fw::TTotalStyleType::tsAll);
  EXPECT_EQ(fw::SetGridRangeAverage(&g, 1, 1, 1, 4, 2, 5), 1.0);
  EXPECT_EQ(g.Cells(2, 5), "     1");
  EXPECT_EQ(fw::SetGridRangeAverage(&g, 1, 1, 3, 2, 0, 0), 0.0);  // no cells
  EXPECT_EQ(fw::GridCellValue(&g, 1, 1), 2.0);
  EXPECT_EQ(fw::GridCellValue(&g, 9, 1), 0.0);

  g.SetCells(0, 1, "A");
  g.SetCells(2, 2, S("あ"));
  std::vector<std::string> lines;
  fw::GridToStrings(&g, "1..2", 4, lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"   A   2    ", "      -1  " + S("あ")}));
}

TEST(FormUtilWidgets, OwnerDrawnCellsHideTheSelectionOrTakeAColour) {
  QWidget form;
  auto* g = new fw::TStrGridEx(&form);
  g->SetColCount(4);
  g->SetRowCount(3);
  g->SetColor(Qt::white);
  g->SetCol(1);
  g->SetRow(1);
  g->OnDrawCell = [](fw::TStrGridEx* sender, int c, int r, const platform::Rect& rect, int state) {
    fw::DrawGridCellText(sender, c, r, state, rect);  // only the selected cell is redrawn
    if (c == 2 && r == 1) fw::DrawGridCellColored(sender, rect, 0x000000FF, "x");
  };
  form.show();
  const QPoint selected = g->CellRect(1, 1).topLeft() - g->viewport()->pos() + QPoint(1, 1);
  const QPoint coloured = g->CellRect(2, 1).topLeft() - g->viewport()->pos() + QPoint(1, 1);
  const QPoint fixed = g->CellRect(0, 1).topLeft() - g->viewport()->pos() + QPoint(1, 1);
  EXPECT_EQ(g->PixelAt(selected), QColor(Qt::white));
  EXPECT_EQ(g->PixelAt(coloured), QColor(Qt::red));
  EXPECT_EQ(g->PixelAt(fixed), g->FixedColor());
}

TEST(FormUtilWidgets, ControlsAreFoundByNameOnTheirOwnForm) {
  QWidget form;
  form.setObjectName("HARV9Form");
  auto* panel = new QWidget(&form);
  panel->setObjectName("PNL_A");
  auto* edit = new fw::TEditEx(panel);
  edit->setObjectName("EDIT4_1");
  auto* dialog = new QWidget(&form, Qt::Dialog);
  auto* foreign = new QPushButton(dialog);
  foreign->setObjectName("BTN1");
  EXPECT_EQ(fw::FindEditComp(&form, "4_1"), edit);
  EXPECT_EQ(fw::FindComp(&form, "edit", "4_1"), edit);  // names compare without case
  EXPECT_EQ(fw::FindPnlComp(&form, "_a"), panel);
  EXPECT_EQ(fw::FindBtnComp(&form, "1"), nullptr);  // a control of another window
  EXPECT_EQ(fw::FindBtnComp(dialog, "1"), foreign);
  EXPECT_EQ(fw::FindLblComp(&form, "1"), nullptr);

  EXPECT_TRUE(fw::IsFormOpen("HARV9Form"));
  EXPECT_FALSE(fw::IsFormOpen("harv9form"));
  EXPECT_FALSE(fw::IsFormOpen("PNL_A"));
}

TEST(FormUtilWidgets, MemoLoadsNumberedLinesAndScrollsToALine) {
  testsupport::TempFolder tmp;
  std::vector<std::string> lines;
  for (int i = 1; i <= 60; ++i) lines.push_back(S("行") + std::to_string(i));
  const std::string path = tmp.Path("memo.txt");
  ASSERT_TRUE(platform::WriteTextLinesAtomic(path, lines));

  QWidget form;
  auto* memo = new fw::TMemoEx(&form);
  memo->SetWordWrap(false);
  memo->resize(200, 100);
  form.show();
  fw::LoadMemoFromFile(memo, path, true);
  Pump();
  ASSERT_EQ(memo->LineCount(), 60);
  EXPECT_EQ(memo->Lines()[0], "    1:" + S("行1"));
  EXPECT_EQ(memo->Lines()[59], "   60:" + S("行60"));
  EXPECT_EQ(memo->FirstVisibleLine(), 0);

  fw::MemoDataType data;
  fw::GotoMemoLine(memo, data, 20);
  EXPECT_EQ(memo->FirstVisibleLine(), 19);
  EXPECT_EQ(data.Caret.Line, 1);  // scrolling leaves the caret where it was
  EXPECT_EQ(data.CaretCopy.Position, data.Caret.Position);
  fw::GotoMemoLine(memo, data, 0);
  EXPECT_EQ(memo->FirstVisibleLine(), 0);

  fw::LoadMemoFromFile(memo, tmp.Path("missing.txt"), false);
  EXPECT_EQ(memo->LineCount(), 0);
}

TEST(FormUtilWidgets, FileComboListsTheFolderAndSelectsTheFile) {
  testsupport::TempFolder tmp;
  for (const char* name : {"A.HVS", "B.HVS", "C.TXT"})
    ASSERT_TRUE(platform::WriteFileBytesAtomic(tmp.Path(name), "x"));
  fw::TCBoxEx combo;
  fw::CurrentFileName = "B.HVS";
  fw::FillComboWithFiles(&combo, tmp.Path("B.HVS"), "");
  EXPECT_EQ(combo.Items(), (std::vector<std::string>{"  1:A.HVS", "  2:B.HVS"}));
  EXPECT_EQ(combo.ItemIndex(), 1);

  fw::FillComboWithFiles(&combo, tmp.Path("B.HVS"), "A");
  EXPECT_EQ(combo.Items(), (std::vector<std::string>{"  1:A.HVS"}));
  EXPECT_EQ(combo.Text(), "");

  // A new case not saved yet: its path is listed and selected.
  fw::CurrentFileName = S("(新規).HVS");
  const std::string fresh = tmp.Path("(新規).HVS");
  fw::FillComboWithFiles(&combo, fresh, "");
  EXPECT_EQ(combo.count(), 3);
  EXPECT_EQ(combo.Text(), fresh);

  EXPECT_EQ(fw::SelectComboText(&combo, "a.hvs"), 1);
  EXPECT_EQ(fw::SelectComboText(&combo, "Z.HVS"), 0);
  EXPECT_EQ(combo.Text(), "");
}

TEST(FormUtilWidgets, PanelFollowsTheMouseAfterADragStarts) {
  QWidget form;
  form.resize(300, 300);
  auto* panel = new QWidget(&form);
  panel->setGeometry(10, 10, 50, 50);
  form.show();
  auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
    QMouseEvent e(type, panel->mapFromGlobal(QPointF(global)), QPointF(global), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(panel, &e);
  };
  fw::BeginFormDrag();
  EXPECT_TRUE(fw::FormDragging);
  fw::DoFormDrag(panel);
  EXPECT_FALSE(fw::FormDragging);
  const QPoint start = panel->mapToGlobal(QPoint(5, 5));
  send(QEvent::MouseMove, start, Qt::LeftButton);
  send(QEvent::MouseMove, start + QPoint(30, 20), Qt::LeftButton);
  EXPECT_EQ(panel->pos(), QPoint(40, 30));
  send(QEvent::MouseButtonRelease, start + QPoint(30, 20), Qt::NoButton);
  send(QEvent::MouseMove, start + QPoint(60, 60), Qt::NoButton);
  EXPECT_EQ(panel->pos(), QPoint(40, 30));  // released: the drag is over
  fw::DoFormDrag(panel);                    // without BeginFormDrag nothing starts
  send(QEvent::MouseMove, start, Qt::LeftButton);
  send(QEvent::MouseMove, start + QPoint(5, 5), Qt::LeftButton);
  EXPECT_EQ(panel->pos(), QPoint(40, 30));
}

TEST(FormUtilWidgets, PointerMovesOntoAControlAndFocusesIt) {
  testsupport::FakeUi ui;
  QWidget form;
  auto* button = new QPushButton(&form);
  button->setGeometry(20, 30, 80, 24);
  auto* other = new QPushButton(&form);
  other->setGeometry(20, 80, 80, 24);
  form.show();
  form.activateWindow();
  other->setFocus();
  Pump();
  fw::MovePointerToControl(button);
  const QPoint centre = button->mapToGlobal(QPoint(40, 12));
  EXPECT_EQ(ui.cursor.x, centre.x());
  EXPECT_EQ(ui.cursor.y, centre.y());
  EXPECT_EQ(Focused(), other);
  fw::MoveMouseToControl(button);
  EXPECT_EQ(Focused(), button);
}

}  // namespace
