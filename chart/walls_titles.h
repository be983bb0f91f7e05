// The chart's walls and titles.
//
// Four titles: `Title` and `SubTitle` above the plot area (`TChartTitle`), `Foot` and `SubFoot`
// below it (`TChartFootTitle`). Each draws its lines in a framed box and, unless it stands at a
// custom position, takes its room from the chart rectangle: a hidden title or one without
// lines takes none.
//
// Four walls: back, left, bottom and right. In 2D only the back wall is drawn: its frame
// always, its fill unless it is transparent. In 3D the walls are flat panels at the back and
// the sides of the plot cube, or boxes of their `Size` outside it.
#pragma once

#include <string>
#include <vector>

#include "chart/shapes.h"

namespace chart {

class TCustomAxisPanel;
class TChartAxis;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Whether `text` is HTML the renderer reads (measured, not drawn). Titles and the legend show
// a text in the HTML format that it cannot read as plain text, so that one bad stored text
// does not stop the whole chart from drawing.
bool ReadableHtml(TPlotCanvas& canvas, const std::string& text);

// The gap between a title and the chart below (or above) it.
extern int ChartTitleMargin;

// A framed shape that may stand at a fixed position: setting Left or Top fixes it there.
class TPlotCustomShapePosition : public TPlotCustomShape {
 public:
  using TPlotCustomShape::TPlotCustomShape;
  bool CustomPosition() const { return customPosition_; }
  void SetCustomPosition(bool value);
  int Left() const { return ShapeBounds().left; }
  int Top() const { return ShapeBounds().top; }
  // Moves the box keeping its size, and fixes the position.
  void SetLeft(int value);
  void SetTop(int value);
  void CopyFrom(const TPlotCustomShape& source) override;

 private:
  bool customPosition_ = false;
};

// ---- Walls --------------------------------------------------------------------------------

class TCustomChartWall : public TPlotCustomShape {
 public:
  TCustomChartWall(TCustomPlotPanel* chart, TColor defaultColor);
  bool AutoHide() const { return autoHide_; }
  void SetAutoHide(bool value);
  bool Dark3D() const { return dark3D_; }
  void SetDark3D(bool value);
  int Size() const { return size_; }
  void SetSize(int value);
  TColor DefaultColor() const { return defaultColor_; }
  bool IsColorStored() const { return Color() != defaultColor_; }
  // Shown in 3D: walls on, visible and not hidden automatically.
  bool Shown(const TCustomAxisPanel& chart) const;
  // Drawn with 3D shading: a solid brush without a picture and Dark3D on.
  bool DrawsDark() const;
  void CopyFrom(const TPlotCustomShape& source) override;

 private:
  TColor defaultColor_;
  bool autoHide_ = false;
  bool dark3D_ = true;
  int size_ = 0;
};

class TChartWall : public TCustomChartWall {
 public:
  using TCustomChartWall::TCustomChartWall;
};

class TChartBackWall : public TChartWall {
 public:
  explicit TChartBackWall(TCustomPlotPanel* chart);
};

class TChartRightWall : public TChartWall {
 public:
  explicit TChartRightWall(TCustomPlotPanel* chart);
};

// The four walls of a chart.
class TChartWalls {
 public:
  explicit TChartWalls(TCustomAxisPanel* chart);
  TChartBackWall& Back() { return back_; }
  TChartWall& Bottom() { return bottom_; }
  TChartWall& Left() { return left_; }
  TChartRightWall& Right() { return right_; }
  const TChartBackWall& Back() const { return back_; }
  const TChartWall& Bottom() const { return bottom_; }
  const TChartWall& Left() const { return left_; }
  const TChartRightWall& Right() const { return right_; }
  void Assign(const TChartWalls& source);

  // The walls of the plot area (the chart decides whether it uses axes): in 2D the back wall;
  // in 3D the right wall (when it faces away), the back wall, the left and the bottom wall,
  // and the grids of the shown depth axes on the left and bottom planes. A back image inside
  // the plot lies on the back wall (over its fill, under its frame), in 3D on the back plane
  // at the chart's depth.
  void Draw();
  // After the series, in 3D: the walls the viewer sees from outside the plot area stand in
  // front of the series and are drawn again with the part of their axes' grids that runs
  // across them: the right wall (right axis), the left wall (left axis); when the viewer looks
  // at the plot area from behind, the top and bottom axes' grids across the depth and the back
  // wall over them.
  void DrawAfterSeries();
  // The thickness of the wall beside `axis` in 3D (left, bottom and right axes have their
  // walls, other axes the back wall), 0 when that wall is hidden or in 2D.
  int SizeBeside(const TChartAxis* axis) const;
  // The plot rectangle made room for orthogonal 3D walls and depth (not when it is fixed).
  void AdjustChartRect3D(bool usesAxes);

 private:
  void DrawBack2D();
  // The chart's back image when it lies inside the plot.
  void DrawInsideImage();
  void DrawWall3D(TCustomChartWall& wall, int which);
  // Whether the viewer sees the plot area's plane (0 back, 1 left, 3 right) from outside.
  bool SeenFromOutside(int which);

  TCustomAxisPanel* chart_;
  TChartBackWall back_;
  TChartWall bottom_;
  TChartWall left_;
  TChartRightWall right_;
};

// ---- Titles -------------------------------------------------------------------------------

class TChartTitle : public TPlotCustomShapePosition {
 public:
  explicit TChartTitle(TCustomPlotPanel* chart);
  bool AdjustFrame() const { return adjustFrame_; }
  void SetAdjustFrame(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  const std::vector<std::string>& Text() const { return text_; }
  void SetText(const std::vector<std::string>& lines);
  // The lines themselves (a stored description fills them while the chart is read).
  std::vector<std::string>& TextLines() { return text_; }
  // Placed below the plot area.
  bool OnBottom() const { return onBottom_; }
  void CopyFrom(const TPlotCustomShape& source) override;

  // Lays the title out against the chart rectangle, draws it and (unless it stands at a
  // custom position or the rectangle is fixed) takes its room from the rectangle.
  void DrawTitle();
  // Visible and (x, y) inside its box.
  bool Clicked(int x, int y) const;

 protected:
  bool onBottom_ = false;

 private:
  bool adjustFrame_ = true;
  TAlignment alignment_ = taCenter;
  std::vector<std::string> text_;
};

class TChartFootTitle : public TChartTitle {
 public:
  explicit TChartFootTitle(TCustomPlotPanel* chart);
};

}  // namespace chart
