// Stored descriptions: the text form, writing only what differs from the defaults, obsolete
// names, refusals naming the line, and a class of the tests' own with a shape, a collection,
// binary data and child components, the way later chart classes register theirs.
#include <gtest/gtest.h>

#include <QObject>

#include "chart/shapes.h"
#include "chart/stored_tables.h"
#include "chart/stream.h"
#include "panel_fixture.h"
#include "platform/image_codecs.h"
#include "support/test_support.h"

using namespace chart;

namespace {

// ---- A class of the tests' own ----

struct TestItem {
  int size = 1;
  std::string label;
  TChartPen pen;
};

class TestHolder : public QObject {
 public:
  explicit TestHolder(QObject* owner = nullptr) : QObject(owner), legend(nullptr) {}
  TPlotShape legend;
  std::vector<std::unique_ptr<TestItem>> items;
  std::string data;
  int number = 0;
  std::vector<TestHolder*> parts;
  // What loading did: Loading seen while the properties were read, Loaded calls.
  bool loading = false;
  bool loadingSeen = false;
  int loadedCalls = 0;
  std::vector<std::string>* loadOrder = nullptr;
  void SetLoading(bool on) { loading = on; }
  void Loaded() {
    loading = false;
    ++loadedCalls;
    if (loadOrder) loadOrder->push_back(objectName().toStdString());
  }
  void SetNumber(int v) {
    loadingSeen = loadingSeen || loading;
    number = v;
  }
  int Number() const { return number; }
};

std::vector<std::string>* gLoadOrder = nullptr;

const TStoredClass& ItemTable() {
  static const std::unique_ptr<TStoredClass> cls =
      TStoredClassTable<TestItem>("TTestItem")
          .Integer("Size", [](const TestItem& i) { return i.size; }, [](TestItem& i, int v) { i.size = v; }, 1)
          .String("Label", [](const TestItem& i) { return i.label; }, [](TestItem& i, std::string v) { i.label = v; }, "")
          .Object<TChartPen>("Pen", StoredChartPen(), [](TestItem& i) -> TChartPen& { return i.pen; })
          .Build();
  return *cls;
}

const TStoredClass& HolderTable() {
  static const std::unique_ptr<TStoredClass> cls =
      TStoredClassTable<TestHolder>("TTestHolder")
          .Integer("Number", &TestHolder::Number, &TestHolder::SetNumber, 0)
          .Object<TPlotCustomShape>("Legend", StoredPlotShape(), [](TestHolder& h) -> TPlotCustomShape& { return h.legend; })
          .Collection<TestItem>(
              "Items", ItemTable(), [](const TestHolder& h) { return static_cast<int>(h.items.size()); },
              [](const TestHolder& h, int i) -> const TestItem& { return *h.items[static_cast<size_t>(i)]; },
              [](TestHolder& h) { h.items.clear(); },
              [](TestHolder& h) -> TestItem& { return *h.items.emplace_back(std::make_unique<TestItem>()); })
          .Binary(
              "Data",
              [](const TestHolder& h) -> std::optional<std::string> {
                if (h.data.empty()) return std::nullopt;
                return h.data;
              },
              [](TestHolder& h, std::string_view bytes) { h.data = bytes; })
          .Component([](QObject* owner) {
            auto* h = new TestHolder(owner);
            h->loadOrder = gLoadOrder;
            return h;
          })
          .Children(
              [](const TestHolder& h) {
                std::vector<QObject*> out(h.parts.begin(), h.parts.end());
                return out;
              },
              [](TestHolder& h, QObject* child) { h.parts.push_back(static_cast<TestHolder*>(child)); })
          .Build();
  return *cls;
}

class Stream : public ::testing::Test {
 protected:
  Stream() { RegisterStoredClass(HolderTable()); }
  ChartLibraryScope scope_;
};

std::string Lines(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) s += std::string(l) + "\r\n";
  return s;
}

}  // namespace

// ---- Panels ----

TEST_F(Stream, ADefaultPanelWritesOnlyItsPlace) {
  TCustomPlotPanelExtended panel;
  panel.setObjectName("CHAT1");
  EXPECT_EQ(WriteComponent(panel), Lines({"object CHAT1: TCustomPlotPanelExtended", "  Left = 0", "  Top = 0",
                                          "  Width = 400", "  Height = 250", "end"}));
}

TEST_F(Stream, WriteReadWriteGivesTheSameText) {
  TCustomPlotPanelExtended panel;
  panel.setObjectName("CHAT2");
  panel.SetBounds(32, 88, 728, 300);
  panel.SetBevelOuter(bvNone);
  panel.SetColor(clWhite);
  panel.Border().SetVisible(true);
  panel.Border().SetColor(0x123456);
  panel.Border().SetStyle(platform::PenStyle::Dot);
  panel.SetBorderRound(8);
  panel.SetMarginLeft(10);
  panel.SetMarginUnits(muPixels);
  panel.SetMonochrome(true);
  panel.Shadow().SetSize(4);
  panel.SetView3D(false);
  panel.View3DOptions().SetRotation(20);
  panel.SetPrintMargins({10, 15, 15, 15});
  panel.SetAllowPanning(pmNone);
  panel.Gradient().SetVisible(true);
  panel.Gradient().SetDirection(gdRadial);
  panel.Gradient().SetMidColor(clLime);
  panel.Zoom().SetAllow(false);
  panel.Zoom().SetKeyShift(platform::ssShift | platform::ssCtrl);
  panel.Zoom().Pen().SetColor(clRed);
  panel.Zoom().Brush().SetStyle(platform::BrushStyle::Solid);
  auto bitmap = std::make_unique<platform::TBitmapGraphic>();
  bitmap->SetBitmap(platform::Dib::Filled(3, 2, clBlue));
  panel.BackImage().SetGraphic(std::move(bitmap));
  panel.SetBackImageMode(pbmTile);
  panel.SetBackImageTransp(true);
  panel.BackImage().SetLeft(5);
  const std::string first = WriteComponent(panel);
  // What differs from the defaults, and nothing else.
  for (const char* line : {"  Border.Color = 1193046\r\n", "  Border.Style = psDot\r\n", "  Border.Visible = True\r\n",
                           "  BorderRound = 8\r\n", "  MarginUnits = muPixels\r\n", "  Monochrome = True\r\n",
                           "  Shadow.HorizSize = 4\r\n", "  View3D = False\r\n", "  View3DOptions.Rotation = 20\r\n",
                           "  AllowPanning = pmNone\r\n", "  BackImage.Left = 5\r\n", "  BackImageMode = pbmTile\r\n",
                           "  BackImageTransp = True\r\n", "  Gradient.MidColor = clLime\r\n",
                           "  Zoom.KeyShift = [ssShift, ssCtrl]\r\n", "  Zoom.Pen.Color = clRed\r\n",
                           "  Zoom.Brush.Style = bsSolid\r\n", "  PrintMargins = (\r\n    10\r\n    15\r\n    15\r\n    15)\r\n",
                           "  Color = clWhite\r\n", "  BackImage.Data = {\r\n"}) {
    EXPECT_NE(first.find(line), std::string::npos) << line << first;
  }
  for (const char* absent : {"MarginTop", "Border.EndStyle", "Shadow.Color", "Zoom.Allow = True", "Zoom.Brush.Color",
                             "BackImageInside", "Gradient.StartColor"}) {
    EXPECT_EQ(first.find(absent), std::string::npos) << absent;
  }
  std::string error;
  QObject* copy = CreateComponent(first, nullptr, &error);
  ASSERT_NE(copy, nullptr) << error;
  auto* read = static_cast<TCustomPlotPanelExtended*>(copy);
  EXPECT_EQ(WriteComponent(*read), first);
  EXPECT_EQ(read->objectName(), "CHAT2");
  EXPECT_EQ(read->Left(), 32);
  EXPECT_EQ(read->Width(), 728);
  EXPECT_EQ(read->Zoom().KeyShift(), platform::ssShift | platform::ssCtrl);
  EXPECT_TRUE(read->BackImageTransp());
  EXPECT_EQ(read->BackImage().Width(), 3);
  EXPECT_EQ(read->PrintMargins(), (std::array<int, 4>{10, 15, 15, 15}));
  // The round border was applied once loading ended.
  EXPECT_FALSE(read->Loading());
  EXPECT_FALSE(read->mask().isEmpty());
  delete copy;
}

TEST_F(Stream, PrintMarginsOfFifteenAreNotWritten) {
  TCustomPlotPanelExtended panel;
  panel.SetPrintMargins({15, 15, 15, 15});
  EXPECT_EQ(WriteComponent(panel).find("PrintMargins"), std::string::npos);
  panel.SetPrintMargins({15, 15, 15, 16});
  EXPECT_NE(WriteComponent(panel).find("PrintMargins"), std::string::npos);
}

TEST_F(Stream, ObsoleteNamesAreReadAndNeverWritten) {
  TCustomPlotPanelExtended panel;
  std::string error;
  ASSERT_TRUE(ReadComponent(Lines({"object P: TCustomPlotPanelExtended", "  BorderStyle = bsSingle", "  AllowZoom = False",
                                   "  AnimatedZoom = True", "  AnimatedZoomSteps = 3", "end"}),
                            panel, &error))
      << error;
  EXPECT_TRUE(panel.Border().Visible());
  EXPECT_FALSE(panel.Zoom().Allow());
  EXPECT_TRUE(panel.Zoom().Animated());
  EXPECT_EQ(panel.Zoom().AnimatedSteps(), 3);
  const std::string text = WriteComponent(panel);
  for (const char* name : {"BorderStyle", "AllowZoom", "AnimatedZoom"}) EXPECT_EQ(text.find(name), std::string::npos);
  ASSERT_TRUE(ReadComponent(Lines({"object P: TCustomPlotPanelExtended", "  BorderStyle = bsNone", "end"}), panel));
  EXPECT_FALSE(panel.Border().Visible());
  // A shape's ShadowSize sets both sizes; ShadowColor takes a name or a number.
  TestHolder holder;
  ASSERT_TRUE(ReadComponent(Lines({"object H: TTestHolder", "  Legend.ShadowSize = 5", "  Legend.ShadowColor = clRed", "end"}),
                            holder, &error))
      << error;
  EXPECT_EQ(holder.legend.Shadow().HorizSize(), 5);
  EXPECT_EQ(holder.legend.Shadow().VertSize(), 5);
  EXPECT_EQ(holder.legend.Shadow().Color(), clRed);
  ASSERT_TRUE(ReadComponent(Lines({"object H: TTestHolder", "  Legend.ShadowColor = 255", "end"}), holder));
  EXPECT_EQ(holder.legend.Shadow().Color(), clRed);
  EXPECT_NE(WriteComponent(holder).find("Legend.Shadow.HorizSize = 5"), std::string::npos);
  EXPECT_EQ(WriteComponent(holder).find("ShadowSize"), std::string::npos);
}

TEST_F(Stream, RefusalsNameTheLine) {
  const struct {
    std::string text;
    int line;
    const char* fragment;
  } cases[] = {
      {Lines({"object P: TCustomPlotPanelExtended", "  Left = 1", "  Colour = clRed", "end"}), 3, "unknown property Colour"},
      {Lines({"object P: TCustomPlotPanelExtended", "  Border.Visible = 3", "end"}), 2, "True or False"},
      {Lines({"object P: TCustomPlotPanelExtended", "", "  MarginUnits = muInches", "end"}), 3, "muInches"},
      {Lines({"object P: TCustomPlotPanelExtended", "  Zoom.KeyShift = [ssShift, ssHyper]", "end"}), 2, "ssHyper"},
      {Lines({"object P: TCustomPlotPanelExtended", "  Width = 99999", "end"}), 2, "out of range"},
      {Lines({"object P: TCustomPlotPanelExtended", "  Border = 1", "end"}), 2, "object"},
      {Lines({"object P: TCustomPlotPanelExtended", "  Left.Top = 1", "end"}), 2, "unknown property Left.Top"},
      {Lines({"object P: TCustomPlotPanelExtended", "  PrintMargins = (1 2 3)", "end"}), 2, "four integers"},
      {Lines({"object P: TCustomPlotPanelExtended", "  BackImage.Data = {00}", "end"}), 2, "picture"},
      {Lines({"object P: TCustomPlotPanelExtended", "  object Q: TNoSuchClass", "  end", "end"}), 2, "TNoSuchClass"},
      {Lines({"object P: TNoSuchPanel", "end"}), 1, "TNoSuchPanel"},
      {Lines({"object P: TCustomPlotPanelExtended", "  Left = 1"}), 3, "\"end\" expected"},
      {Lines({"object P: TCustomPlotPanelExtended", "  Left 1", "end"}), 2, "\"=\" expected"},
      {Lines({"object P: TCustomPlotPanelExtended", "  Left = 'open", "end"}), 2, "unterminated string"},
      {Lines({"object P: TCustomPlotPanelExtended", "  Left = 99999999999999999999", "end"}), 2, "bad number"},
      {Lines({"object P: TCustomPlotPanelExtended", "  Left = {0A1}", "end"}), 2, "odd number"},
      {Lines({"object P: TCustomPlotPanelExtended", "  Left = #300", "end"}), 2, "character code"},
      {Lines({"object P: TCustomPlotPanelExtended", "end", "end"}), 3, "after the last"},
      {Lines({"thing P: TCustomPlotPanelExtended", "end"}), 1, "\"object\" expected"},
      {std::string(100, '(') , 1, "\"object\" expected"},
      {"object P: TCustomPlotPanelExtended\r\n  Left = " + std::string(100, '(') + std::string(100, ')') + "\r\nend\r\n", 2,
       "nested too deeply"},
  };
  for (const auto& c : cases) {
    TCustomPlotPanelExtended panel;
    std::string error;
    EXPECT_FALSE(ReadComponent(c.text, panel, &error)) << c.text;
    EXPECT_EQ(error.rfind("Line " + std::to_string(c.line) + ": ", 0), 0u) << error;
    EXPECT_NE(error.find(c.fragment), std::string::npos) << error;
  }
}

TEST_F(Stream, ACreatedComponentIsFreedWhenReadingFails) {
  QObject owner;
  std::string error;
  EXPECT_EQ(CreateComponent(Lines({"object H: TTestHolder", "  object A: TTestHolder", "    Number = x", "  end", "end"}),
                            &owner, &error),
            nullptr);
  EXPECT_NE(error.find("Line 3"), std::string::npos) << error;
  EXPECT_TRUE(owner.children().isEmpty());
  // A component of another class is not read into.
  TestHolder holder;
  EXPECT_FALSE(ReadComponent(Lines({"object P: TCustomPlotPanelExtended", "end"}), holder, &error));
}

// ---- The text form ----

TEST_F(Stream, ValuesOfEveryKindReadAndWriteTheSame) {
  const std::string text = Lines({
      "object A: TSomething",
      "  Int = -42",
      "  Hex = 255",
      "  Real = 1.5",
      "  Whole = 2.0",
      "  Small = 1e-05",
      "  Text = 'It''s'#13#10'ok'",
      "  Empty = ''",
      "  Name = clRed",
      "  Flags = [fsBold, fsItalic]",
      "  NoFlags = []",
      "  List = (",
      "    'a'",
      "    (",
      "      1",
      "      2))",
      "  Bytes = {",
      "    00FF10}",
      "  Items = <",
      "    item",
      "      Size = 3",
      "    end",
      "    item",
      "    end>",
      "  NoItems = <>",
      "  object B: TOther",
      "  end",
      "end",
  });
  const TStoredObject tree = ParseDescription(text);
  EXPECT_EQ(FormatDescription(tree), text);
  ASSERT_EQ(tree.properties.size(), 14u);
  EXPECT_EQ(tree.properties[5].value.text, "It's\r\nok");
  EXPECT_EQ(tree.properties[11].value.text, std::string("\x00\xFF\x10", 3));
  ASSERT_EQ(tree.children.size(), 1u);
  EXPECT_EQ(tree.children[0].className, "TOther");
  // Other spellings of the same values: hex, '+' joins, LF line ends, spaces.
  const TStoredObject other = ParseDescription(
      "object A: TSomething\n  Hex = $FF\n  Text = 'It''s'#$0D#10 +\n    'ok'\n  Real=1.50\nend");
  EXPECT_EQ(other.properties[0].value, TStoredValue::Int(255));
  EXPECT_EQ(other.properties[1].value, TStoredValue::String("It's\r\nok"));
  EXPECT_EQ(other.properties[2].value, TStoredValue::Float(1.5));
  EXPECT_EQ(other.properties[2].line, 5);
  // CP932 text is kept byte for byte.
  const std::string japanese = testsupport::S("'月次気象データ'");
  EXPECT_EQ(ParseDescription("object A: T\r\n  Text = " + japanese + "\r\nend\r\n").properties[0].value.text,
            testsupport::S("月次気象データ"));
}

// ---- A class of its own: shape, collection, binary data, children, loading ----

TEST_F(Stream, CollectionsBinaryDataAndChildren) {
  std::vector<std::string> order;
  gLoadOrder = &order;
  TestHolder root;
  root.setObjectName("Root");
  root.number = 7;
  root.legend.SetColor(clYellow);
  root.legend.Font().SetColor(clRed);
  root.legend.SetTransparent(true);
  root.items.push_back(std::make_unique<TestItem>());
  root.items.back()->label = "first";
  root.items.back()->pen.SetWidth(3);
  root.items.push_back(std::make_unique<TestItem>());
  root.data = std::string("\x01\x02\x00\xFE", 4);
  auto* part = new TestHolder(&root);
  part->setObjectName("Part");
  part->number = 2;
  root.parts.push_back(part);
  const std::string text = WriteComponent(root);
  EXPECT_EQ(text, Lines({"object Root: TTestHolder", "  Number = 7", "  Legend.Color = clYellow",
                         "  Legend.Font.Color = clRed", "  Legend.Transparent = True", "  Items = <", "    item",
                         "      Label = 'first'", "      Pen.Width = 3", "    end", "    item", "    end>", "  Data = {",
                         "    010200FE}", "  object Part: TTestHolder", "    Number = 2", "  end", "end"}));
  std::string error;
  QObject* made = CreateComponent(text, nullptr, &error);
  ASSERT_NE(made, nullptr) << error;
  auto* copy = static_cast<TestHolder*>(made);
  EXPECT_EQ(WriteComponent(*copy), text);
  ASSERT_EQ(copy->parts.size(), 1u);
  EXPECT_EQ(copy->parts[0]->parent(), copy);
  // Properties were read while loading; Loaded ran once each, after the whole tree.
  EXPECT_TRUE(copy->loadingSeen);
  EXPECT_EQ(copy->loadedCalls, 1);
  EXPECT_EQ(copy->parts[0]->loadedCalls, 1);
  EXPECT_EQ(order, (std::vector<std::string>{"Root", "Part"}));
  // Reading a collection replaces its items.
  ASSERT_TRUE(ReadComponent(Lines({"object Root: TTestHolder", "  Items = <", "    item", "      Size = 9", "    end>", "end"}),
                            *copy, &error))
      << error;
  ASSERT_EQ(copy->items.size(), 1u);
  EXPECT_EQ(copy->items[0]->size, 9);
  delete made;
  gLoadOrder = nullptr;
}
