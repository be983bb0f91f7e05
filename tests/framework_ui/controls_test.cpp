// The input control classes: property setters and their side effects, the string grid's
// geometry and drawing, the memo's caret and the image's paint notification.
#include <gtest/gtest.h>


#include "framework/ui/controls.h"
#include "input_test_util.h"
#include "support/test_support.h"

using fw::TEditType;
using testsupport::S;

namespace {

TEST(Controls, EditTypeSetsLengthAndFormatByKind) {
  const struct {
    TEditType type;
    int maxLength;  // after the kind was set on an edit with length 9, UnderPoint 2
    int underPoint;
    bool underInput;
    bool zeroDisplay;
  } table[] = {
      {TEditType::etByte, 3, 0, false, false},      {TEditType::etChar, 1, 0, false, true},
      {TEditType::etDate, 8, 0, true, true},        {TEditType::etTime, 8, 0, true, true},
      {TEditType::etDateTime, 17, 0, true, true},   {TEditType::etInteger, 11, 0, true, false},
      {TEditType::etSmallInt, 6, 0, true, false},   {TEditType::etWord, 5, 0, false, false},
      {TEditType::etFloat, 9, 2, true, false},      {TEditType::etString, 9, 0, false, true},
  };
  for (const auto& t : table) {
    fw::TEditEx e;
    e.SetMaxLength(9);
    e.SetEditType(TEditType::etFloat);
    e.SetUnderPoint(2);
    e.SetUnderInput(true);
    e.SetZeroDisplay(false);
    e.SetEditType(t.type);
    SCOPED_TRACE(static_cast<int>(t.type));
    EXPECT_EQ(e.MaxLength(), t.maxLength);
    EXPECT_EQ(e.UnderPoint(), t.underPoint);
    EXPECT_EQ(e.UnderInput(), t.underInput);
    EXPECT_EQ(e.ZeroDisplay(), t.zeroDisplay);
  }
  fw::TEditEx text;
  EXPECT_EQ(text.ImeMode(), fw::TImeMode::imDontCare);
  text.SetEditType(TEditType::etInteger);
  EXPECT_EQ(text.ImeMode(), fw::TImeMode::imSAlpha);
}

TEST(Controls, UnderPointIsCutOnlyByASetMaximumLength) {
  const struct {
    int maxLength, asked, stored;
  } table[] = {{6, 5, 3}, {6, 3, 3}, {0, 5, 5}, {2, 1, 0}, {10, 0, 0}};
  for (const auto& t : table) {
    fw::TEditEx e;
    e.SetEditType(TEditType::etFloat);
    e.SetMaxLength(t.maxLength);
    e.SetUnderPoint(t.asked);
    EXPECT_EQ(e.UnderPoint(), t.stored) << t.maxLength << " " << t.asked;
  }
}

TEST(Controls, CellFrameAndCalcuableSetVisibilityAndColours) {
  QWidget form;
  auto* e = new fw::TEditEx(&form);
  form.show();
  EXPECT_FALSE(e->isVisible());  // a new edit waits to be placed over a cell
  EXPECT_EQ(e->palette().color(QPalette::Text), QColor(Qt::blue));
  e->SetCellFrame(false);
  EXPECT_TRUE(e->isVisible());
  EXPECT_EQ(e->palette().color(QPalette::Text), QColor(Qt::black));
  e->SetCalcuable(true);
  EXPECT_EQ(e->palette().color(QPalette::Base), fw::MoneyGreenColor());
  e->SetCalcuable(false);
  EXPECT_NE(e->palette().color(QPalette::Base), fw::MoneyGreenColor());

  auto* c = new fw::TCBoxEx(&form);
  EXPECT_FALSE(c->isVisible());
  c->SetCellFrame(false);
  EXPECT_TRUE(c->isVisible());
}

TEST(Controls, ComboChangedFlagAndItems) {
  fw::TCBoxEx c;
  c.SetStyle(fw::TComboBoxStyle::csDropDownList);
  c.SetChangedFlag(true);
  EXPECT_FALSE(c.ChangedFlag());
  c.SetStyle(fw::TComboBoxStyle::csDropDown);
  c.SetChangedFlag(true);
  EXPECT_TRUE(c.ChangedFlag());
  c.SetStyle(fw::TComboBoxStyle::csDropDownList);
  EXPECT_FALSE(c.ChangedFlag());

  int changes = 0;
  c.OnChange = [&](QWidget*) { ++changes; };
  c.SetItems({S("東京"), S("大阪")});
  c.SetItemIndex(1);
  c.SetText(S("東京"));
  EXPECT_EQ(c.Text(), S("東京"));
  EXPECT_EQ(c.Items(), (std::vector<std::string>{S("東京"), S("大阪")}));
  EXPECT_EQ(changes, 0);  // the program's own changes run no handler
}

TEST(Controls, GridDefaultsTitlesAndCells) {
  fw::TStrGridEx g;
  EXPECT_EQ(g.width(), 192);
  EXPECT_EQ(g.height(), 108);
  EXPECT_EQ(g.DefaultColWidth(), 32);
  EXPECT_EQ(g.DefaultRowHeight(), 18);
  EXPECT_EQ(g.ColWidths(3), 32);
  EXPECT_EQ(g.ClickInput(), fw::TCheckInputType::ciNone);
  EXPECT_EQ(g.ClickNumber(), 0);
  EXPECT_TRUE(g.ClickStrings().empty());

  g.SetColCount(3);
  g.SetRowCount(3);
  g.SetCells(1, 0, "old");
  g.SetColTitles({"", S("１月"), "Feb"});
  EXPECT_EQ(g.Cells(1, 0), S("１月"));  // titles are the cells of row 0
  EXPECT_EQ(g.ColTitles(), (std::vector<std::string>{"", S("１月"), "Feb"}));
  g.SetRowTitles({"x", "r1", "r2"});
  EXPECT_EQ(g.Cells(0, 2), "r2");
  EXPECT_EQ(g.Cells(0, 0), "x");
  EXPECT_EQ(g.Cells(7, 7), "");  // outside the grid
  g.SetCells(9, 9, "ignored");
  EXPECT_EQ(g.RowCount(), 3);
}

TEST(Controls, GridCellRectsFollowScrollingAndOwnerDrawing) {
  QWidget form;
  form.resize(300, 200);
  auto* g = new fw::TStrGridEx(&form);
  g->setGeometry(10, 20, 150, 100);
  g->SetColCount(12);
  g->SetRowCount(10);
  g->SetColWidths(2, 40);
  std::vector<std::pair<int, int>> drawn;
  g->OnDrawCell = [&](fw::TStrGridEx* sender, int c, int r, const platform::Rect& rect, int) {
    drawn.push_back({c, r});
    if (c == 3 && r == 4) {
      sender->Canvas()->Brush().SetColor(platform::RgbColor(255, 0, 0));
      sender->Canvas()->FillRect(rect);
    }
  };
  form.show();
  uitest::Pump();

  // Cell (2, 1): border 1, fixed column 32 + 1 line, column 1 32 + 1 line; row: fixed 18 + 1.
  EXPECT_EQ(g->CellRect(2, 1), QRect(1 + 33 + 33, 1 + 19, 40, 18));
  g->SetLeftCol(3);
  g->SetTopRow(2);
  EXPECT_EQ(g->CellRect(2, 1), QRect());  // scrolled out of view
  EXPECT_EQ(g->CellRect(3, 4), QRect(1 + 33, 1 + 19 + 19 + 19, 32, 18));
  EXPECT_EQ(g->CellRect(0, 0), QRect(1, 1, 32, 18));  // fixed cells stay
  int col = -1, row = -1;
  ASSERT_TRUE(g->MouseToCell(QPoint(1 + 33 + 5, 1 + 19 + 19 + 19 + 5), col, row));
  EXPECT_EQ(col, 3);
  EXPECT_EQ(row, 4);

  drawn.clear();
  const QColor painted = g->PixelAt(QPoint(33 + 3, 57 + 4));
  EXPECT_EQ(painted, QColor(Qt::red));
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), std::make_pair(0, 0)), drawn.end());
  EXPECT_EQ(std::find(drawn.begin(), drawn.end(), std::make_pair(1, 1)), drawn.end());  // scrolled away
}

TEST(Controls, GridSelectionByMouseAndKeys) {
  QWidget form;
  auto* g = new fw::TStrGridEx(&form);
  g->SetColCount(4);
  g->SetRowCount(4);
  form.show();
  int clicks = 0;
  g->OnClick = [&](QWidget*) { ++clicks; };
  g->OnSelectCell = [](fw::TStrGridEx*, int c, int, bool& can) { can = c != 3; };
  uitest::Click(g->viewport(), g->CellRect(2, 2).center() - g->viewport()->pos());
  EXPECT_EQ(g->Col(), 2);
  EXPECT_EQ(g->Row(), 2);
  EXPECT_EQ(clicks, 1);
  uitest::Click(g->viewport(), g->CellRect(3, 1).center() - g->viewport()->pos());  // refused by OnSelectCell
  EXPECT_EQ(g->Col(), 2);
  EXPECT_EQ(clicks, 1);
  uitest::Key(Qt::Key_Up);
  EXPECT_EQ(g->Row(), 1);
  uitest::Key(Qt::Key_Up);  // the fixed row cannot be selected
  EXPECT_EQ(g->Row(), 1);
  EXPECT_EQ(clicks, 2);
}

TEST(Controls, MemoCaretIsCountedFromOne) {
  QWidget form;
  auto* m = new fw::TMemoEx(&form);
  m->SetLines({"abc", S("日本語"), "xy"});
  EXPECT_EQ(m->LineCount(), 3);
  EXPECT_EQ(m->Lines()[1], S("日本語"));
  QTextCursor c = m->textCursor();
  c.setPosition(4 + 2);  // line 2, after two characters
  m->setTextCursor(c);
  int col, line, pos;
  m->GetCaretPos(col, line, pos);
  EXPECT_EQ(line, 2);
  EXPECT_EQ(col, 3);
  EXPECT_EQ(pos, 7);
}

TEST(Controls, ImageRunsOnPaintAfterItsPicture) {
  QWidget form;
  auto* img = new fw::TImageEx(&form);
  img->resize(20, 20);
  QImage picture(20, 20, QImage::Format_RGB32);
  picture.fill(Qt::green);
  img->SetPicture(picture);
  int paints = 0;
  img->OnPaint = [&](QWidget* sender) {
    ++paints;
    platform::Canvas* c = static_cast<fw::TImageEx*>(sender)->Canvas();
    c->Brush().SetColor(platform::RgbColor(0, 0, 255));
    c->FillRect(platform::Rect{0, 0, 5, 5});
  };
  form.show();
  const QImage shot = img->grab().toImage();
  EXPECT_GE(paints, 1);
  EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::blue));
  EXPECT_EQ(shot.pixelColor(10, 10), QColor(Qt::green));
}

// A chart-like picture of thin lines, shrunk to a quarter: every line still shows (grey), none
// vanishes between the sampled rows.
TEST(Controls, AStretchedImageShrinksWithAveraging) {
  QImage picture(788, 228, QImage::Format_RGB32);
  picture.fill(Qt::white);
  for (int y = 1; y < picture.height(); y += 8)
    for (int x = 0; x < picture.width(); ++x) picture.setPixelColor(x, y, Qt::black);
  QWidget form;
  auto* img = new fw::TImageEx(&form);
  img->SetStretch(true);
  img->setGeometry(0, 0, 197, 57);
  img->SetPicture(picture);
  form.show();
  const QImage shot = img->grab().toImage();
  for (int line = 0; 8 * line + 9 < picture.height(); ++line) {  // all but the one at the edge
    // Line 8k+1 falls into rows 2k and 2k+1 of the quarter.
    const int darkest = std::min(qGray(shot.pixel(100, 2 * line)), qGray(shot.pixel(100, 2 * line + 1)));
    EXPECT_LT(darkest, 230) << line;  // it shows
    EXPECT_GT(darkest, 60) << line;   // averaged with its white rows, not sampled
  }

  // Enlarged or at its size, the picture is drawn as it is.
  img->setGeometry(0, 0, 788, 228);
  EXPECT_EQ(img->grab().toImage().convertToFormat(QImage::Format_RGB32), picture);
}

}  // namespace
