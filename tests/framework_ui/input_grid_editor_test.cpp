// Editors laid over the cells of a scrolled grid: placement, write-back and restore.
#include <gtest/gtest.h>

#include "framework/messages.h"
#include "input_test_util.h"
#include "support/test_support.h"

using namespace uitest;
using testsupport::S;

namespace {

QPoint CellCentre(fw::TStrGridEx* g, int col, int row) {
  return g->CellRect(col, row).center() - g->viewport()->pos();
}

TEST(GridEditor, EditorCoversTheCellOfAScrolledGridAndWritesBack) {
  TDemoForm form;
  fw::TStrGridEx* g = form.STRG_1;
  g->SetCells(5, 2, "   1000");
  g->SetCells(6, 2, "     55");
  form.ShowActive();
  g->SetLeftCol(4);
  Pump();

  Click(g->viewport(), CellCentre(g, 5, 2));
  ASSERT_TRUE(form.EDIT_G->isVisible());
  EXPECT_EQ(form.EDIT_G->geometry(), g->CellRect(5, 2).translated(g->pos()));
  EXPECT_EQ(Focused(), form.EDIT_G);
  EXPECT_EQ(fw::Input.InputCode, 9102);
  EXPECT_EQ(form.EDIT_G->Text(), "   1000");
  EXPECT_EQ(fw::Input.GridLeftColSaved, 4);
  EXPECT_EQ(fw::DialogAnswer, 0);

  TypeOver("1234");
  Enter();
  EXPECT_EQ(form.EDIT_G->Text(), "   1234");  // the integer editor is 7 wide
  Click(form.EDIT_F);
  EXPECT_FALSE(form.EDIT_G->isVisible());
  EXPECT_EQ(g->Cells(5, 2), "      1234");  // the cell's three leading blanks stay in front
  EXPECT_EQ(form.stored[9102], "   1234");

  // An unchanged input gives the cell its own text back.
  Click(g->viewport(), CellCentre(g, 6, 2));
  EXPECT_EQ(form.EDIT_G->Text(), "     55");
  TypeOver("55");
  Enter();
  Click(form.EDIT_F);
  EXPECT_EQ(g->Cells(6, 2), "     55");
  EXPECT_EQ(form.commits, 1);
}

TEST(GridEditor, ComboOverACellWritesTheChosenItem) {
  TDemoForm form;
  form.gridCombo = true;
  form.CBOX_G->SetItems({S("  1:大"), S("  2:小")});
  form.STRG_1->SetCells(2, 1, S("小"));
  form.ShowActive();
  Click(form.STRG_1->viewport(), CellCentre(form.STRG_1, 2, 1));
  ASSERT_TRUE(form.CBOX_G->isVisible());
  EXPECT_EQ(form.CBOX_G->geometry(), form.STRG_1->CellRect(2, 1).translated(form.STRG_1->pos()));
  EXPECT_EQ(fw::Input.SelectedNo, 2);
  EXPECT_EQ(fw::Input.InputText, S("小"));
  form.CBOX_G->setCurrentIndex(0);
  emit form.CBOX_G->activated(0);
  Click(form.EDIT_F);
  EXPECT_FALSE(form.CBOX_G->isVisible());
  EXPECT_EQ(form.STRG_1->Cells(2, 1), S("大"));
}

TEST(GridEditor, PlacementRecordsTheCellUnderTheEditor) {
  TDemoForm form;
  fw::TStrGridEx* g = form.STRG_1;
  g->SetCells(3, 1, "ab");
  form.ShowActive();
  fw::PlaceEditorOnGridCell(g, 3, 1);
  EXPECT_EQ(fw::Input.GridCellText, "ab");
  EXPECT_EQ(fw::Input.GridCellLastChar, 'b');
  EXPECT_TRUE(fw::Input.GridCellEditable);  // the window colour
  const fw::InputRect& r = fw::Input.EditorRect;
  EXPECT_EQ(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), g->CellRect(3, 1).translated(g->pos()));

  fw::PlaceEditorOnGridCell(g, 0, 1);  // a fixed cell: the button face
  EXPECT_FALSE(fw::Input.GridCellEditable);
  EXPECT_EQ(fw::Input.GridCellLastChar, 0);

  fw::Input.GridCol = 3;
  fw::PlaceEditorOnGridCell(g, -1, 2);  // nothing for a negative column
  EXPECT_EQ(fw::Input.GridCol, 3);
  fw::PlaceEditorOnGridCell(nullptr, 1, 1);
  EXPECT_EQ(fw::Input.GridCol, 3);
}

}  // namespace
