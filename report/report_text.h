// Stored report descriptions. A report is kept as a text (CP932, lines ending CR LF) with one
// block per object: the class, the object's name, its properties and its child objects:
//
//   TBandReport RPT1 {
//     Units = MM
//     Page.PaperSize = A4
//     Page.Values = (100.0 2970.0 100.0 2100.0 100.0 100.0 0.0)
//     Options = [FirstPageHeader, LastPageFooter]
//     TRptBand TitleBand1 {
//       BandType = rbTitle
//       Size.Values = (0.0 1899.708333333333)
//     }
//   }
//
// Values are integers, floats (with a point or an exponent), identifiers (True, False,
// enumeration values, names of other objects), strings ('...' with '' for a quote, control
// bytes as #13 between quoted pieces: 'a'#13#10'b'), sets of identifiers [A, B] and lists of
// values (1.0 2.0) or ('a' 'b'). Property names are spelled as the report classes publish
// them, sub-objects joined by a point (Page.Values, PrinterSettings.Copies, Font.Name).
// Properties equal to their defaults are not written, except what depends on the locale
// (Units, Page.PaperSize, Page.Values, a report's or band's own font name and height), so a
// description reads the same everywhere.
//
// Reading builds the objects through a registry of classes (RegisterReportClasses registers
// the report's own; other parts of the library register theirs with RegisterReportClass).
// References to other objects (LinkBand, ParentBand, Master, HeaderBand, FooterBand) are
// resolved by name once every object exists. A description that cannot be read gives an
// error naming the file, the line and the property, and builds nothing.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "report/units.h"

class QWidget;

namespace rpt {

// The largest geometry value a description holds, in 0.1 mm (10 m): a larger one is no report.
inline constexpr Real kMaxStoredGeometry = 1e5;

struct TextValue {
  enum class Kind : uint8_t { Integer, Float, Identifier, String, Set, List };
  Kind kind = Kind::Integer;
  int64_t integer = 0;
  Real number = 0;
  std::string text;              // Identifier or String (CP932 bytes)
  std::vector<TextValue> items;  // Set (identifiers) or List

  static TextValue Int(int64_t v);
  static TextValue Float(Real v);
  static TextValue Ident(std::string name);
  static TextValue Bool(bool v) { return Ident(v ? "True" : "False"); }
  static TextValue Str(std::string bytes);
  static TextValue SetOf(std::vector<std::string> names);
  static TextValue Floats(const std::vector<Real>& values);
  static TextValue Strings(const std::vector<std::string>& lines);
  bool operator==(const TextValue&) const = default;
};

struct TextProperty {
  std::string name;
  TextValue value;
  int line = 0;
  bool operator==(const TextProperty& o) const { return name == o.name && value == o.value; }
};

struct TextObject {
  std::string className, name;
  int line = 0;
  std::vector<TextProperty> properties;
  std::vector<TextObject> children;
  bool operator==(const TextObject& o) const {
    return className == o.className && name == o.name && properties == o.properties && children == o.children;
  }
};

struct ReportTextError {
  std::string file;      // as given to the reader
  int line = 0;          // 1-based; 0 when the whole text is meant
  std::string property;  // empty for syntax errors outside a property
  std::string message;
  // "file(line): property: message"
  std::string Text() const;
};

// The text form alone.
bool ParseReportText(std::string_view text, TextObject& out, ReportTextError& error);
std::string WriteReportText(const TextObject& root);

// Reading one property: taken, not a property of the class, or a value that does not fit
// (with a message).
enum class PropertyResult { Taken, Unknown, Bad };

class ReadContext;

struct ReportClass {
  std::string name;    // "TRptBand"
  std::string parent;  // the registered class whose properties come first ("" for none)
  // Creates an object on `parent`; empty for classes that only share properties.
  std::function<QObject*(QWidget* parent)> create;
  std::function<PropertyResult(QObject* object, const TextProperty& property, ReadContext& context,
                               std::string& message)>
      read;
  // Appends the properties that differ from their defaults.
  std::function<void(const QObject* object, std::vector<TextProperty>& out)> write;
};

void RegisterReportClass(ReportClass cls);
// The report library's classes: TBandReport, TRptBand, TRptChildBand, TRptSubDetail, TRptGroup,
// and the printables TRptLabel, TRptMemo, TRptExpr, TRptImage and TRptShape (a label's font is
// stored with its point size as "FontSize"; an image's picture as "Picture.Data", its class and
// its bytes in hexadecimal: a bitmap as a 24-bit BMP file, an enhanced metafile as its file).
// A page's Columns out of range (below 1, above 1000) is ignored, as setting it is.
void RegisterReportClasses();
const ReportClass* FindReportClass(std::string_view name);

// What a class reader may use while reading.
class ReadContext {
 public:
  // Resolves `name` once every object exists and calls `apply` with the object (or nullptr
  // for an empty name); `apply` answers false with a message when the object does not fit.
  void Reference(const TextProperty& property, std::function<bool(QObject*, std::string&)> apply);

 private:
  friend class ReportReader;
  struct Pending {
    TextProperty property;
    std::function<bool(QObject*, std::string&)> apply;
  };
  std::vector<Pending> pending_;
};

// Value conversions for class readers: each answers false with a message when the value
// does not fit.
bool ValueToBool(const TextValue& v, bool& out, std::string& message);
bool ValueToInt(const TextValue& v, int& out, std::string& message, int64_t min = INT32_MIN,
                int64_t max = INT32_MAX);
bool ValueToReal(const TextValue& v, Real& out, std::string& message);
bool ValueToString(const TextValue& v, std::string& out, std::string& message);
bool ValueToIdent(const TextValue& v, std::string& out, std::string& message);
bool ValueToStrings(const TextValue& v, std::vector<std::string>& out, std::string& message);
// A list of `count` floats, each within the range geometry may take.
bool ValueToReals(const TextValue& v, size_t count, std::vector<Real>& out, std::string& message);
bool ValueToSet(const TextValue& v, std::vector<std::string>& out, std::string& message);

// Builds the described objects under `parent`; nullptr with `error` when the text cannot be
// read (then nothing is left behind). `fileName` names the text in errors.
QObject* ReadReport(std::string_view text, const std::string& fileName, QWidget* parent, ReportTextError& error);
// The description of `root` and its children.
TextObject DescribeReport(const QObject& root);
std::string WriteReport(const QObject& root);

// Files (inside paths). Saving replaces the file atomically; false with `error` set.
QObject* LoadReportFile(const std::string& path, QWidget* parent, ReportTextError& error);
bool SaveReportFile(const std::string& path, const QObject& root, std::string& error);

}  // namespace rpt
