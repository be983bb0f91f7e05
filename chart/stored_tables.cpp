// The stored-description tables of the canvas objects, panels and shapes, and the unit that
// registers the library's components.
#include "chart/stored_tables.h"

#include "chart/panel.h"
#include "chart/shapes.h"
#include "chart/unit.h"
#include "platform/color_names.h"
#include "platform/mbcs.h"

namespace chart {

const char* const kBevelCutNames[4] = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
const char* const kShiftStateNames[7] = {"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"};
const char* const kMouseButtonNames[3] = {"mbLeft", "mbRight", "mbMiddle"};

namespace {

const char* const kPenStyleNames[] = {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot",
                                      "psClear", "psInsideFrame", "psUserStyle", "psAlternate"};
const char* const kBrushStyleNames[] = {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                        "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"};
const char* const kEndStyleNames[] = {"esRound", "esSquare", "esFlat"};
const char* const kFontStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
const char* const kGradientDirectionNames[] = {"gdTopBottom", "gdBottomTop",      "gdLeftRight", "gdRightLeft",
                                               "gdFromCenter", "gdFromTopLeft", "gdFromBottomLeft", "gdRadial",
                                               "gdDiagonalUp", "gdDiagonalDown"};
const char* const kPlotUnitsNames[] = {"muPercent", "muPixels"};
const char* const kPanningModeNames[] = {"pmNone", "pmHorizontal", "pmVertical", "pmBoth"};
const char* const kZoomDirectionNames[] = {"tzdHorizontal", "tzdVertical", "tzdBoth"};
const char* const kBackImageModeNames[] = {"pbmStretch", "pbmTile", "pbmCenter", "pbmCustom"};
const char* const kShapeStyleNames[] = {"fosRectangle", "fosRoundRectangle"};

// Pen modes by their raster operation codes.
const std::pair<int, const char*> kPenModes[] = {
    {platform::R2_BLACK, "pmBlack"},           {platform::R2_WHITE, "pmWhite"},
    {platform::R2_NOP, "pmNop"},               {platform::R2_NOT, "pmNot"},
    {platform::R2_COPYPEN, "pmCopy"},          {platform::R2_NOTCOPYPEN, "pmNotCopy"},
    {platform::R2_MERGEPENNOT, "pmMergePenNot"}, {platform::R2_MASKPENNOT, "pmMaskPenNot"},
    {platform::R2_MERGENOTPEN, "pmMergeNotPen"}, {platform::R2_MASKNOTPEN, "pmMaskNotPen"},
    {platform::R2_MERGEPEN, "pmMerge"},        {platform::R2_NOTMERGEPEN, "pmNotMerge"},
    {platform::R2_MASKPEN, "pmMask"},          {platform::R2_NOTMASKPEN, "pmNotMask"},
    {platform::R2_XORPEN, "pmXor"},            {platform::R2_NOTXORPEN, "pmNotXor"},
};

const std::pair<int, const char*> kCharsets[] = {
    {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"}, {128, "SHIFTJIS_CHARSET"}};

template <size_t N>
TStoredValue CodeName(int code, const std::pair<int, const char*> (&table)[N]) {
  for (const auto& [c, name] : table) {
    if (c == code) return TStoredValue::Ident(name);
  }
  return TStoredValue::Int(code);
}

template <size_t N>
int CodeOf(const TStoredValue& v, const std::pair<int, const char*> (&table)[N], int min, int max) {
  if (v.kind == TStoredValue::Kind::Ident) {
    for (const auto& [c, name] : table) {
      if (platform::UpperAscii(v.text) == platform::UpperAscii(name)) return c;
    }
    throw std::runtime_error("unknown value " + v.text);
  }
  return static_cast<int>(StoredInteger(v, min, max));
}

// A table built once and kept for the life of the program.
template <class Make>
const TStoredClass& Keep(Make make) {
  static const std::unique_ptr<TStoredClass> cls = make();
  return *cls;
}

}  // namespace

// ---- Canvas objects -----------------------------------------------------------------------

const TStoredClass& StoredChartPen() {
  return Keep([] {
    return TStoredClassTable<TChartPen>("TChartPen")
        .Color("Color", &TChartPen::Color, &TChartPen::SetColor, clBlack)
        .Value(
            "Mode", [](const TChartPen& p) { return CodeName(p.Mode(), kPenModes); },
            [](TChartPen& p, const TStoredValue& v) { p.SetMode(CodeOf(v, kPenModes, 1, 16)); },
            [](const TChartPen& p) { return p.Mode() != platform::R2_COPYPEN; })
        .Enum("Style", &TChartPen::Style, &TChartPen::SetStyle, platform::PenStyle::Solid, kPenStyleNames)
        .Integer("Width", &TChartPen::Width, &TChartPen::SetWidth, 1, 0, 1000)
        .Enum("EndStyle", &TChartPen::EndStyle, &TChartPen::SetEndStyle, esRound, kEndStyleNames)
        .StoredWhen([](const TChartPen& p) { return p.IsEndStyleStored(); })
        .Boolean("SmallDots", &TChartPen::SmallDots, &TChartPen::SetSmallDots, false)
        .Integer("SmallSpace", &TChartPen::SmallSpace, &TChartPen::SetSmallSpace, 0, 0, 1000)
        .Boolean("Visible", &TChartPen::Visible, &TChartPen::SetVisible, true)
        .StoredWhen([](const TChartPen& p) { return p.IsVisibleStored(); })
        .Build();
  });
}

const TStoredClass& StoredPicture() {
  return Keep([] {
    return TStoredClassTable<platform::TPicture>("TPicture")
        .Binary("Data", PictureBytes, ReadPictureBytes)
        .Build();
  });
}

const TStoredClass& StoredChartBrush() {
  return Keep([] {
    return TStoredClassTable<TChartBrush>("TChartBrush")
        .Color("Color", &TChartBrush::Color, &TChartBrush::SetColor, clDefault)
        .Enum("Style", &TChartBrush::Style, &TChartBrush::SetStyle, platform::BrushStyle::Solid, kBrushStyleNames)
        .Object<platform::TPicture>(
            "Image", StoredPicture(), [](TChartBrush& b) -> platform::TPicture& { return b.Image(); },
            [](const TChartBrush& b) { return b.HasImage() ? &const_cast<TChartBrush&>(b).Image() : nullptr; })
        .Build();
  });
}

const TStoredClass& StoredPlotShadow() {
  return Keep([] {
    return TStoredClassTable<TPlotShadow>("TPlotShadow")
        .Color("Color", &TPlotShadow::Color, &TPlotShadow::SetColor, clSilver)
        .StoredWhen([](const TPlotShadow& s) { return s.IsColorStored(); })
        .Integer("HorizSize", &TPlotShadow::HorizSize, &TPlotShadow::SetHorizSize, 0, -1000, 1000)
        .StoredWhen([](const TPlotShadow& s) { return s.IsHorizSizeStored(); })
        .Boolean("Smooth", &TPlotShadow::Smooth, &TPlotShadow::SetSmooth, true)
        .Integer("Transparency", &TPlotShadow::Transparency, &TPlotShadow::SetTransparency, 0, 0, 100)
        .Integer("VertSize", &TPlotShadow::VertSize, &TPlotShadow::SetVertSize, 0, -1000, 1000)
        .StoredWhen([](const TPlotShadow& s) { return s.IsVertSizeStored(); })
        .Build();
  });
}

const TStoredClass& StoredPlotGradient() {
  return Keep([] {
    return TStoredClassTable<TCustomPlotGradient>("TPlotGradient")
        .Integer("Balance", &TCustomPlotGradient::Balance, &TCustomPlotGradient::SetBalance, 50, 0, 100)
        .Enum("Direction", &TCustomPlotGradient::Direction, &TCustomPlotGradient::SetDirection, gdTopBottom,
              kGradientDirectionNames)
        .Color("EndColor", &TCustomPlotGradient::EndColor, &TCustomPlotGradient::SetEndColor, clYellow)
        .Color("MidColor", &TCustomPlotGradient::MidColor, &TCustomPlotGradient::SetMidColor, clNone)
        .Integer("RadialX", &TCustomPlotGradient::RadialX, &TCustomPlotGradient::SetRadialX, 0, -100000, 100000)
        .Integer("RadialY", &TCustomPlotGradient::RadialY, &TCustomPlotGradient::SetRadialY, 0, -100000, 100000)
        .Color("StartColor", &TCustomPlotGradient::StartColor, &TCustomPlotGradient::SetStartColor, clWhite)
        .Boolean("Visible", &TCustomPlotGradient::Visible, &TCustomPlotGradient::SetVisible, false)
        .Build();
  });
}

const TStoredClass& StoredPlotFontGradient() {
  return Keep([] {
    return TStoredClassTable<TPlotFontGradient>("TPlotFontGradient", StoredPlotGradient(),
                                                std::type_identity<TCustomPlotGradient>())
        .Boolean("Outline", &TPlotFontGradient::Outline, &TPlotFontGradient::SetOutline, false)
        .Build();
  });
}

const TStoredClass& StoredPlotFont() {
  return Keep([] {
    return TStoredClassTable<TPlotFont>("TPlotFont")
        .Value(
            "Charset", [](const TPlotFont& f) { return CodeName(f.Charset(), kCharsets); },
            [](TPlotFont& f, const TStoredValue& v) { f.SetCharset(CodeOf(v, kCharsets, 0, 255)); },
            [](const TPlotFont& f) { return f.Charset() != platform::DEFAULT_CHARSET; })
        .Color("Color", &TPlotFont::Color, &TPlotFont::SetColor, clBlack)
        .Integer("Height", &TPlotFont::Height, &TPlotFont::SetHeight, 0, -10000, 10000)
        .StoredWhen([](const TPlotFont& f) { return f.IsHeightStored(); })
        .String("Name", &TPlotFont::Name, &TPlotFont::SetName, "")
        .StoredWhen([](const TPlotFont& f) { return f.IsNameStored(); })
        .Set("Style", &TPlotFont::Style, &TPlotFont::SetStyle, 0, kFontStyleNames)
        .Integer("InterCharSize", &TPlotFont::InterCharSize, &TPlotFont::SetInterCharSize, 0, -1000, 1000)
        .Object<TPlotFontGradient>(
            "Gradient", StoredPlotFontGradient(), [](TPlotFont& f) -> TPlotFontGradient& { return f.Gradient(); },
            [](const TPlotFont& f) { return f.GradientIfAny(); })
        .Object<TChartPen>(
            "OutLine", StoredChartPen(), [](TPlotFont& f) -> TChartPen& { return f.OutLine(); },
            [](const TPlotFont& f) -> const TChartPen* { return f.OutLineIfAny(); })
        .Object<TPlotShadow>(
            "Shadow", StoredPlotShadow(), [](TPlotFont& f) -> TPlotShadow& { return f.Shadow(); },
            [](const TPlotFont& f) { return f.ShadowIfAny(); })
        .Build();
  });
}

const TStoredClass& StoredView3DOptions() {
  return Keep([] {
    return TStoredClassTable<TView3DOptions>("TView3DOptions")
        .Integer("Elevation", &TView3DOptions::Elevation, &TView3DOptions::SetElevation, 345, 0, 360)
        .Integer("FontZoom", &TView3DOptions::FontZoom, &TView3DOptions::SetFontZoom, 100, 1, 10000)
        .Integer("HorizOffset", &TView3DOptions::HorizOffset, &TView3DOptions::SetHorizOffset, 0, -100000, 100000)
        .Integer("OrthoAngle", &TView3DOptions::OrthoAngle, &TView3DOptions::SetOrthoAngle, 45, 0, 180)
        .Boolean("Orthogonal", &TView3DOptions::Orthogonal, &TView3DOptions::SetOrthogonal, true)
        .Integer("Perspective", &TView3DOptions::Perspective, &TView3DOptions::SetPerspective, 15, 0, 100)
        .Integer("Rotation", &TView3DOptions::Rotation, &TView3DOptions::SetRotation, 345, 0, 360)
        .Integer("Tilt", &TView3DOptions::Tilt, &TView3DOptions::SetTilt, 0, 0, 360)
        .Integer("VertOffset", &TView3DOptions::VertOffset, &TView3DOptions::SetVertOffset, 0, -100000, 100000)
        .Integer("Zoom", &TView3DOptions::Zoom, &TView3DOptions::SetZoom, 100, 1, 10000)
        .Boolean("ZoomText", &TView3DOptions::ZoomText, &TView3DOptions::SetZoomText, true)
        .Build();
  });
}

// ---- Zoom and back image ------------------------------------------------------------------

const TStoredClass& StoredPlotZoomPen() {
  return Keep([] {
    return TStoredClassTable<TPlotZoomPen>("TPlotZoomPen", StoredChartPen(), std::type_identity<TChartPen>())
        .Color("Color", &TPlotZoomPen::Color, &TPlotZoomPen::SetColor, clWhite)
        .Build();
  });
}

const TStoredClass& StoredPlotZoomBrush() {
  return Keep([] {
    return TStoredClassTable<TPlotZoomBrush>("TPlotZoomBrush", StoredChartBrush(), std::type_identity<TChartBrush>())
        .Color("Color", &TPlotZoomBrush::Color, &TPlotZoomBrush::SetColor, clWhite)
        .Enum("Style", &TPlotZoomBrush::Style, &TPlotZoomBrush::SetStyle, platform::BrushStyle::Clear,
              kBrushStyleNames)
        .Build();
  });
}

const TStoredClass& StoredPlotZoom() {
  return Keep([] {
    return TStoredClassTable<TPlotZoom>("TPlotZoom")
        .Boolean("Allow", &TPlotZoom::Allow, &TPlotZoom::SetAllow, true)
        .Boolean("Animated", &TPlotZoom::Animated, &TPlotZoom::SetAnimated, false)
        .Integer("AnimatedSteps", &TPlotZoom::AnimatedSteps, &TPlotZoom::SetAnimatedSteps, 8, 0, 1000)
        .Object<TPlotZoomBrush>(
            "Brush", StoredPlotZoomBrush(), [](TPlotZoom& z) -> TPlotZoomBrush& { return z.Brush(); },
            [](const TPlotZoom& z) { return z.BrushIfAny(); })
        .Enum("Direction", &TPlotZoom::Direction, &TPlotZoom::SetDirection, tzdBoth, kZoomDirectionNames)
        .Set("KeyShift", &TPlotZoom::KeyShift, &TPlotZoom::SetKeyShift, 0, kShiftStateNames)
        .Integer("MinimumPixels", &TPlotZoom::MinimumPixels, &TPlotZoom::SetMinimumPixels, 16, 0, 100000)
        .Enum("MouseButton", &TPlotZoom::MouseButton, &TPlotZoom::SetMouseButton, TMouseButton::mbLeft,
              kMouseButtonNames)
        .Object<TPlotZoomPen>(
            "Pen", StoredPlotZoomPen(), [](TPlotZoom& z) -> TPlotZoomPen& { return z.Pen(); },
            [](const TPlotZoom& z) { return z.PenIfAny(); })
        .Boolean("UpLeftZooms", &TPlotZoom::UpLeftZooms, &TPlotZoom::SetUpLeftZooms, false)
        .Build();
  });
}

// The placement of the back image; its mode and whether it lies inside are the panel's.
const TStoredClass& StoredBackImage() {
  return Keep([] {
    return TStoredClassTable<TBackImage>("TBackImage", StoredPicture(), std::type_identity<platform::TPicture>())
        .Integer("Left", &TBackImage::Left, &TBackImage::SetLeft, 0)
        .Integer("Top", &TBackImage::Top, &TBackImage::SetTop, 0)
        .Build();
  });
}

// ---- Shapes -------------------------------------------------------------------------------

const TStoredClass& StoredPlotShape() {
  return Keep([] {
    return TStoredClassTable<TPlotCustomShape>("TPlotShape")
        .Enum("Bevel", &TPlotCustomShape::Bevel, &TPlotCustomShape::SetBevel, bvNone, kBevelCutNames)
        .Integer("BevelWidth", &TPlotCustomShape::BevelWidth, &TPlotCustomShape::SetBevelWidth, 2, 1, 1000)
        .Color("Color", &TPlotCustomShape::Color, &TPlotCustomShape::SetColor, clWhite)
        .Object<TPlotFont>("Font", StoredPlotFont(), [](TPlotCustomShape& s) -> TPlotFont& { return s.Font(); })
        .Object<TCustomPlotGradient>(
            "Gradient", StoredPlotGradient(), [](TPlotCustomShape& s) -> TCustomPlotGradient& { return s.Gradient(); },
            [](const TPlotCustomShape& s) -> const TCustomPlotGradient* { return s.GradientIfAny(); })
        .Object<TPlotShadow>(
            "Shadow", StoredPlotShadow(), [](TPlotCustomShape& s) -> TPlotShadow& { return s.Shadow(); },
            [](const TPlotCustomShape& s) { return s.ShadowIfAny(); })
        .Enum("ShapeStyle", &TPlotCustomShape::ShapeStyle, &TPlotCustomShape::SetShapeStyle, fosRectangle,
              kShapeStyleNames)
        .Boolean("Transparent", &TPlotCustomShape::Transparent, &TPlotCustomShape::SetTransparent, false)
        .StoredWhen([](const TPlotCustomShape& s) { return s.IsTransparentStored(); })
        .Legacy("ShadowColor",
                [](TPlotCustomShape& s, const TStoredValue& v) { s.Shadow().SetColor(StoredColor(v)); })
        .Legacy("ShadowSize",
                [](TPlotCustomShape& s, const TStoredValue& v) {
                  s.Shadow().SetSize(static_cast<int>(StoredInteger(v, -1000, 1000)));
                })
        .Build();
  });
}

// ---- Panels -------------------------------------------------------------------------------

const TStoredClass& StoredPanelNoCaption() {
  return Keep([] {
    return TStoredClassTable<TCustomPanelNoCaption>("TCustomPanelNoCaption")
        .Value(
            "Left", [](const TCustomPanelNoCaption& p) { return TStoredValue::Int(p.Left()); },
            [](TCustomPanelNoCaption& p, const TStoredValue& v) {
              p.SetLeft(static_cast<int>(StoredInteger(v, -100000, 100000)));
            })
        .Value(
            "Top", [](const TCustomPanelNoCaption& p) { return TStoredValue::Int(p.Top()); },
            [](TCustomPanelNoCaption& p, const TStoredValue& v) {
              p.SetTop(static_cast<int>(StoredInteger(v, -100000, 100000)));
            })
        .Value(
            "Width", [](const TCustomPanelNoCaption& p) { return TStoredValue::Int(p.Width()); },
            [](TCustomPanelNoCaption& p, const TStoredValue& v) {
              p.SetWidth(static_cast<int>(StoredInteger(v, 0, 10000)));
            })
        .Value(
            "Height", [](const TCustomPanelNoCaption& p) { return TStoredValue::Int(p.Height()); },
            [](TCustomPanelNoCaption& p, const TStoredValue& v) {
              p.SetHeight(static_cast<int>(StoredInteger(v, 0, 10000)));
            })
        .Enum("BevelInner", &TCustomPanelNoCaption::BevelInner, &TCustomPanelNoCaption::SetBevelInner, bvNone,
              kBevelCutNames)
        .Enum("BevelOuter", &TCustomPanelNoCaption::BevelOuter, &TCustomPanelNoCaption::SetBevelOuter, bvRaised,
              kBevelCutNames)
        .Integer("BevelWidth", &TCustomPanelNoCaption::BevelWidth, &TCustomPanelNoCaption::SetBevelWidth, 1, 1, 1000)
        .Integer("BorderWidth", &TCustomPanelNoCaption::BorderWidth, &TCustomPanelNoCaption::SetBorderWidth, 0, 0, 1000)
        .Color("Color", &TCustomPanelNoCaption::Color, &TCustomPanelNoCaption::SetColor,
               platform::SystemColor(platform::COLOR_BTNFACE))
        .Build();
  });
}

const TStoredClass& StoredCustomPlotPanel() {
  return Keep([] {
    using P = TCustomPlotPanel;
    return TStoredClassTable<P>("TCustomPlotPanel", StoredPanelNoCaption(), std::type_identity<TCustomPanelNoCaption>())
        .Object<TChartPen>("Border", StoredChartPen(), [](P& p) -> TChartPen& { return p.Border(); })
        .Integer("BorderRound", &P::BorderRound, &P::SetBorderRound, 0, 0, 10000)
        .Integer("MarginBottom", &P::MarginBottom, &P::SetMarginBottom, 4, -100000, 100000)
        .Integer("MarginLeft", &P::MarginLeft, &P::SetMarginLeft, 3, -100000, 100000)
        .Integer("MarginRight", &P::MarginRight, &P::SetMarginRight, 3, -100000, 100000)
        .Integer("MarginTop", &P::MarginTop, &P::SetMarginTop, 4, -100000, 100000)
        .Enum("MarginUnits", &P::MarginUnits, &P::SetMarginUnits, muPercent, kPlotUnitsNames)
        .Boolean("Monochrome", &P::Monochrome, &P::SetMonochrome, false)
        .Boolean("PrintProportional", &P::PrintProportional, &P::SetPrintProportional, true)
        .Object<TPlotShadow>("Shadow", StoredPlotShadow(), [](P& p) -> TPlotShadow& { return p.Shadow(); })
        .Boolean("View3D", &P::View3D, &P::SetView3D, true)
        .Object<TView3DOptions>("View3DOptions", StoredView3DOptions(),
                                [](P& p) -> TView3DOptions& { return p.View3DOptions(); })
        .Extra(
            "PrintMargins",
            [](const P& p) {
              std::vector<TStoredValue> items;
              for (int m : p.PrintMargins()) items.push_back(TStoredValue::Int(m));
              return TStoredValue::List(std::move(items));
            },
            [](P& p, const TStoredValue& v) {
              if (v.kind != TStoredValue::Kind::List || v.items.size() != 4) {
                throw std::runtime_error("a list of four integers expected");
              }
              std::array<int, 4> margins;
              for (size_t k = 0; k < 4; ++k) margins[k] = static_cast<int>(StoredInteger(v.items[k], -100000, 100000));
              p.SetPrintMargins(margins);
            },
            [](const P& p) { return p.PrintMargins() != std::array<int, 4>{15, 15, 15, 15}; })
        .Legacy("BorderStyle",
                [](P& p, const TStoredValue& v) { p.Border().SetVisible(StoredIdent(v) == "bsSingle"); })
        .Component([](QObject* owner) { return new P(qobject_cast<QWidget*>(owner)); })
        .Build();
  });
}

const TStoredClass& StoredCustomPlotPanelExtended() {
  return Keep([] {
    using P = TCustomPlotPanelExtended;
    return TStoredClassTable<P>("TCustomPlotPanelExtended", StoredCustomPlotPanel(), std::type_identity<TCustomPlotPanel>())
        .Enum("AllowPanning", &P::AllowPanning, &P::SetAllowPanning, pmBoth, kPanningModeNames)
        .Object<TBackImage>(
            "BackImage", StoredBackImage(), [](P& p) -> TBackImage& { return p.BackImage(); },
            [](const P& p) { return p.BackImageIfAny(); })
        .Value(
            "BackImageInside",
            [](const P& p) { return TStoredValue::Bool(p.BackImageIfAny() && p.BackImageIfAny()->Inside()); },
            [](P& p, const TStoredValue& v) { p.SetBackImageInside(StoredBool(v)); },
            [](const P& p) { return p.BackImageIfAny() && p.BackImageIfAny()->Inside(); })
        .Value(
            "BackImageMode",
            [](const P& p) {
              return TStoredValue::Ident(kBackImageModeNames[p.BackImageIfAny() ? p.BackImageIfAny()->Mode() : 0]);
            },
            [](P& p, const TStoredValue& v) {
              p.SetBackImageMode(static_cast<TPlotBackImageMode>(StoredEnum(v, kBackImageModeNames)));
            },
            [](const P& p) { return p.BackImageIfAny() && p.BackImageIfAny()->Mode() != pbmStretch; })
        .Value(
            "BackImageTransp",
            [](const P& p) {
              const platform::TGraphic* g = p.BackImageIfAny() ? p.BackImageIfAny()->Graphic() : nullptr;
              return TStoredValue::Bool(g && g->Transparent());
            },
            [](P& p, const TStoredValue& v) { p.SetBackImageTransp(StoredBool(v)); },
            [](const P& p) {
              const platform::TGraphic* g = p.BackImageIfAny() ? p.BackImageIfAny()->Graphic() : nullptr;
              return g && g->Transparent();
            })
        .Object<TCustomPlotGradient>(
            "Gradient", StoredPlotGradient(), [](P& p) -> TCustomPlotGradient& { return p.Gradient(); },
            [](const P& p) -> const TCustomPlotGradient* { return p.GradientIfAny(); })
        .Object<TPlotZoom>("Zoom", StoredPlotZoom(), [](P& p) -> TPlotZoom& { return p.Zoom(); })
        .Legacy("AllowZoom", [](P& p, const TStoredValue& v) { p.Zoom().SetAllow(StoredBool(v)); })
        .Legacy("AnimatedZoom", [](P& p, const TStoredValue& v) { p.Zoom().SetAnimated(StoredBool(v)); })
        .Legacy("AnimatedZoomSteps",
                [](P& p, const TStoredValue& v) {
                  p.Zoom().SetAnimatedSteps(static_cast<int>(StoredInteger(v, 0, 1000)));
                })
        .Component([](QObject* owner) { return new P(qobject_cast<QWidget*>(owner)); })
        .Build();
  });
}

// ---- Unit ---------------------------------------------------------------------------------

namespace {

void Startup() {
  RegisterStoredClass(StoredCustomPlotPanel());
  RegisterStoredClass(StoredCustomPlotPanelExtended());
}

void Shutdown() {}

UnitCounter gUnit(Startup, Shutdown);

}  // namespace

void PlotStreamStartup() { gUnit.Start(); }
void PlotStreamShutdown() { gUnit.Stop(); }

}  // namespace chart
