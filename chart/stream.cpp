// Stored descriptions: the text form, its values, the class registry and the reading and
// writing of components.
#include "chart/stream.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>

#include "platform/color_names.h"
#include "platform/form_text.h"
#include "platform/image_codecs.h"
#include "platform/mbcs.h"
#include "platform/picture.h"

namespace chart {

namespace {

constexpr int kMaxDepth = 64;

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && platform::UpperAscii(a) == platform::UpperAscii(b);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

// ---- Values -------------------------------------------------------------------------------

namespace {
TStoredValue Of(TStoredValue::Kind kind, std::string text = std::string()) {
  TStoredValue v;
  v.kind = kind;
  v.text = std::move(text);
  return v;
}
}  // namespace

TStoredValue TStoredValue::Int(int64_t x) {
  TStoredValue v = Of(Kind::Integer);
  v.integer = x;
  return v;
}
TStoredValue TStoredValue::Float(double x) {
  TStoredValue v = Of(Kind::Float);
  v.number = x;
  return v;
}
TStoredValue TStoredValue::String(std::string x) { return Of(Kind::String, std::move(x)); }
TStoredValue TStoredValue::Ident(std::string x) { return Of(Kind::Ident, std::move(x)); }
TStoredValue TStoredValue::Bool(bool x) { return Ident(x ? "True" : "False"); }
TStoredValue TStoredValue::Set(std::vector<std::string> x) {
  TStoredValue v = Of(Kind::Set);
  v.names = std::move(x);
  return v;
}
TStoredValue TStoredValue::List(std::vector<TStoredValue> x) {
  TStoredValue v = Of(Kind::List);
  v.items = std::move(x);
  return v;
}
TStoredValue TStoredValue::Binary(std::string x) { return Of(Kind::Binary, std::move(x)); }

bool TStoredValue::operator==(const TStoredValue& o) const {
  if (kind != o.kind) return false;
  switch (kind) {
    case Kind::Integer: return integer == o.integer;
    case Kind::Float: return number == o.number;
    case Kind::String:
    case Kind::Ident:
    case Kind::Binary: return text == o.text;
    case Kind::Set: return names == o.names;
    case Kind::List: return items == o.items;
    case Kind::Collection: return collection == o.collection;
  }
  return false;
}

TDescriptionError::TDescriptionError(int line, const std::string& message)
    : std::runtime_error("Line " + std::to_string(line) + ": " + message), line_(line) {}

// ---- Parsing ------------------------------------------------------------------------------

namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : sc_(text) {}

  TStoredObject Root() {
    TStoredObject root = Object(0);
    sc_.SkipSpace();
    if (!sc_.AtEnd()) Fail("text after the last \"end\"");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw TDescriptionError(sc_.Line(), what); }

  bool At(char c) {
    sc_.SkipSpace();
    return !sc_.AtEnd() && sc_.Peek() == c;
  }

  void Expect(char c) {
    if (!At(c)) Fail(std::string("\"") + c + "\" expected");
    sc_.Skip();
  }

  bool AtWord(std::string_view word) {
    sc_.SkipSpace();
    return sc_.AtWord(word);
  }

  // A name, dots joining its parts ("Border.Visible").
  std::string Ident() {
    sc_.SkipSpace();
    std::string name = sc_.Name();
    if (name.empty()) Fail("a name expected");
    return name;
  }

  TStoredObject Object(int depth) {
    if (depth > kMaxDepth) Fail("objects nested too deeply");
    if (!AtWord("object")) Fail("\"object\" expected");
    TStoredObject o;
    o.line = sc_.Line();
    Ident();
    std::string first = Ident();
    if (At(':')) {
      sc_.Skip();
      o.name = std::move(first);
      o.className = Ident();
    } else {
      o.className = std::move(first);
    }
    while (true) {
      sc_.SkipSpace();
      if (sc_.AtEnd()) Fail("\"end\" expected");
      if (AtWord("end")) {
        Ident();
        return o;
      }
      if (AtWord("object")) {
        o.children.push_back(Object(depth + 1));
        continue;
      }
      o.properties.push_back(Property(depth));
    }
  }

  TStoredProperty Property(int depth) {
    TStoredProperty p;
    p.line = sc_.Line();
    p.path = Ident();
    Expect('=');
    p.value = Value(depth + 1);
    return p;
  }

  TStoredValue Value(int depth) {
    if (depth > kMaxDepth) Fail("values nested too deeply");
    sc_.SkipSpace();
    if (sc_.AtEnd()) Fail("a value expected");
    const char c = sc_.Peek();
    if (c == '\'' || c == '#') return StringValue();
    if (c == '-' || c == '+' || IsDigit(c) || c == '$') return Number();
    if (platform::IsFormNameStart(c)) return TStoredValue::Ident(Ident());
    if (c == '[') return SetLiteral();
    if (c == '(') {
      sc_.Skip();
      std::vector<TStoredValue> items;
      while (!At(')')) {
        if (sc_.AtEnd()) Fail("\")\" expected");
        items.push_back(Value(depth + 1));
      }
      sc_.Skip();
      return TStoredValue::List(std::move(items));
    }
    if (c == '{') return BinaryLiteral();
    if (c == '<') return CollectionLiteral(depth);
    Fail("a value expected");
  }

  // Quoted pieces and character codes; "+" continues on the next line.
  TStoredValue StringValue() {
    std::string out, error;
    while (true) {
      if (!sc_.String(out, error)) Fail(error);
      if (!At('+')) break;
      sc_.Skip();
      sc_.SkipSpace();
      if (sc_.Peek() != '\'' && sc_.Peek() != '#') Fail("a string expected after \"+\"");
    }
    return TStoredValue::String(std::move(out));
  }

  TStoredValue Number() {
    if (sc_.Peek() == '$') {
      sc_.Skip();
      uint64_t v = 0;
      int digits = 0;
      for (int d; (d = HexDigit(sc_.Peek())) >= 0 && !sc_.AtEnd(); sc_.Skip()) {
        if (++digits > 16) Fail("bad number");
        v = v * 16 + static_cast<uint64_t>(d);
      }
      if (digits == 0) Fail("bad number");
      return TStoredValue::Int(static_cast<int64_t>(v));
    }
    if (sc_.Peek() == '+') sc_.Skip();
    std::string text, error;
    bool isFloat = false;
    if (!sc_.Number(text, isFloat, error)) Fail(error);
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (isFloat) {
      double v = 0;
      auto [end, ec] = std::from_chars(first, last, v);
      if (text.empty() || ec != std::errc() || end != last || !std::isfinite(v)) Fail("bad number");
      return TStoredValue::Float(v);
    }
    int64_t v = 0;
    auto [end, ec] = std::from_chars(first, last, v);
    if (text.empty() || ec != std::errc() || end != last) Fail("bad number");
    return TStoredValue::Int(v);
  }

  TStoredValue SetLiteral() {
    sc_.Skip();
    std::vector<std::string> names;
    if (!At(']')) {
      while (true) {
        names.push_back(Ident());
        if (At(']')) break;
        Expect(',');
      }
    }
    sc_.Skip();
    return TStoredValue::Set(std::move(names));
  }

  TStoredValue BinaryLiteral() {
    sc_.Skip();
    std::string bytes;
    int high = -1;
    while (true) {
      sc_.SkipSpace();
      if (sc_.AtEnd()) Fail("\"}\" expected");
      const char c = sc_.Peek();
      sc_.Skip();
      if (c == '}') break;
      const int d = HexDigit(c);
      if (d < 0) Fail("hex digit expected");
      if (high < 0) {
        high = d;
      } else {
        bytes += static_cast<char>(high * 16 + d);
        high = -1;
      }
    }
    if (high >= 0) Fail("odd number of hex digits");
    return TStoredValue::Binary(std::move(bytes));
  }

  TStoredValue CollectionLiteral(int depth) {
    sc_.Skip();
    TStoredValue v = Of(TStoredValue::Kind::Collection);
    while (!At('>')) {
      if (!AtWord("item")) Fail("\"item\" expected");
      TStoredItem item;
      item.line = sc_.Line();
      Ident();
      while (!AtWord("end")) {
        if (sc_.AtEnd()) Fail("\"end\" expected");
        item.properties.push_back(Property(depth + 1));
      }
      Ident();
      v.collection.push_back(std::move(item));
    }
    sc_.Skip();
    return v;
  }

  platform::FormScanner sc_;
};

// ---- Formatting ---------------------------------------------------------------------------

constexpr const char* kCrLf = "\r\n";

std::string Indent(int level) { return std::string(static_cast<size_t>(level) * 2, ' '); }

std::string FloatText(double v) {
  if (!std::isfinite(v)) v = 0;
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
  std::string out(buffer, ec == std::errc() ? end : buffer);
  if (out.find_first_of(".eE") == std::string::npos) out += ".0";
  return out;
}

void FormatValue(const TStoredValue& v, int level, std::string& out);
void FormatProperties(const std::vector<TStoredProperty>& properties, int level, std::string& out);

void FormatValue(const TStoredValue& v, int level, std::string& out) {
  switch (v.kind) {
    case TStoredValue::Kind::Integer: out += std::to_string(v.integer); break;
    case TStoredValue::Kind::Float: out += FloatText(v.number); break;
    case TStoredValue::Kind::String: out += platform::FormStringText(v.text); break;
    case TStoredValue::Kind::Ident: out += v.text; break;
    case TStoredValue::Kind::Set: {
      out += '[';
      for (size_t k = 0; k < v.names.size(); ++k) out += (k ? ", " : "") + v.names[k];
      out += ']';
      break;
    }
    case TStoredValue::Kind::List: {
      out += '(';
      for (const TStoredValue& item : v.items) {
        out += kCrLf + Indent(level + 1);
        FormatValue(item, level + 1, out);
      }
      out += ')';
      break;
    }
    case TStoredValue::Kind::Binary: {
      static const char kHex[] = "0123456789ABCDEF";
      out += '{';
      for (size_t k = 0; k < v.text.size(); ++k) {
        if (k % 32 == 0) out += kCrLf + Indent(level + 1);
        const auto b = static_cast<unsigned char>(v.text[k]);
        out += kHex[b >> 4];
        out += kHex[b & 15];
      }
      out += '}';
      break;
    }
    case TStoredValue::Kind::Collection: {
      out += '<';
      for (const TStoredItem& item : v.collection) {
        out += kCrLf + Indent(level + 1) + "item" + kCrLf;
        FormatProperties(item.properties, level + 2, out);
        out += Indent(level + 1) + "end";
      }
      out += '>';
      break;
    }
  }
}

void FormatProperties(const std::vector<TStoredProperty>& properties, int level, std::string& out) {
  for (const TStoredProperty& p : properties) {
    out += Indent(level) + p.path + " = ";
    FormatValue(p.value, level, out);
    out += kCrLf;
  }
}

void FormatObject(const TStoredObject& o, int level, std::string& out) {
  out += Indent(level) + "object " + (o.name.empty() ? "" : o.name + ": ") + o.className + kCrLf;
  FormatProperties(o.properties, level + 1, out);
  for (const TStoredObject& child : o.children) FormatObject(child, level + 1, out);
  out += Indent(level) + "end" + kCrLf;
}

}  // namespace

TStoredObject ParseDescription(std::string_view text) { return Parser(text).Root(); }

std::string FormatDescription(const TStoredObject& root) {
  std::string out;
  FormatObject(root, 0, out);
  return out;
}

// ---- Reading values -----------------------------------------------------------------------

namespace {

[[noreturn]] void BadValue(const std::string& what) { throw std::runtime_error(what); }

}  // namespace

int64_t StoredInteger(const TStoredValue& v, int64_t min, int64_t max) {
  if (v.kind != TStoredValue::Kind::Integer) BadValue("an integer expected");
  if (v.integer < min || v.integer > max) BadValue("the number " + std::to_string(v.integer) + " is out of range");
  return v.integer;
}

double StoredFloat(const TStoredValue& v) {
  if (v.kind == TStoredValue::Kind::Integer) return static_cast<double>(v.integer);
  if (v.kind != TStoredValue::Kind::Float) BadValue("a number expected");
  return v.number;
}

bool StoredBool(const TStoredValue& v) {
  if (v.kind == TStoredValue::Kind::Ident) {
    if (SameName(v.text, "True")) return true;
    if (SameName(v.text, "False")) return false;
  }
  BadValue("True or False expected");
}

std::string StoredString(const TStoredValue& v) {
  if (v.kind != TStoredValue::Kind::String) BadValue("a string expected");
  return v.text;
}

std::string StoredIdent(const TStoredValue& v) {
  if (v.kind != TStoredValue::Kind::Ident) BadValue("a name expected");
  return v.text;
}

TColor StoredColor(const TStoredValue& v) {
  if (v.kind == TStoredValue::Kind::Ident) {
    if (std::optional<uint32_t> c = platform::IdentToColor(v.text)) return *c;
    BadValue("unknown colour " + v.text);
  }
  return static_cast<TColor>(StoredInteger(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<uint32_t>::max()));
}

TStoredValue ColorValue(TColor color) {
  if (std::optional<std::string> name = platform::ColorToIdent(color)) return TStoredValue::Ident(*name);
  return TStoredValue::Int(static_cast<int32_t>(color));
}

int StoredEnum(const TStoredValue& v, std::span<const char* const> names) {
  const std::string ident = StoredIdent(v);
  for (size_t k = 0; k < names.size(); ++k) {
    if (SameName(ident, names[k])) return static_cast<int>(k);
  }
  BadValue("unknown value " + ident);
}

uint32_t StoredSet(const TStoredValue& v, std::span<const char* const> names) {
  if (v.kind != TStoredValue::Kind::Set) BadValue("a set expected");
  uint32_t bits = 0;
  for (const std::string& name : v.names) {
    bool found = false;
    for (size_t k = 0; k < names.size() && k < 32; ++k) {
      if (SameName(name, names[k])) {
        bits |= 1u << k;
        found = true;
      }
    }
    if (!found) BadValue("unknown set element " + name);
  }
  return bits;
}

TStoredValue SetValue(uint32_t bits, std::span<const char* const> names) {
  std::vector<std::string> out;
  for (size_t k = 0; k < names.size() && k < 32; ++k) {
    if (bits & (1u << k)) out.emplace_back(names[k]);
  }
  return TStoredValue::Set(std::move(out));
}

std::vector<std::string> StoredStrings(const TStoredValue& v) {
  if (v.kind != TStoredValue::Kind::List) BadValue("a list expected");
  std::vector<std::string> out;
  for (const TStoredValue& item : v.items) out.push_back(StoredString(item));
  return out;
}

std::optional<std::string> PictureBytes(const platform::TPicture& picture) {
  const platform::TGraphic* graphic = picture.Graphic();
  if (!graphic || graphic->Empty()) return std::nullopt;
  std::string bytes;
  if (const auto* bitmap = dynamic_cast<const platform::TBitmapGraphic*>(graphic)) {
    bytes = platform::EncodeBmp24(bitmap->Bitmap());
  } else if (const auto* metafile = dynamic_cast<const platform::TMetafile*>(graphic)) {
    bytes = metafile->Bytes();
  } else {
    return std::nullopt;
  }
  const std::string name = graphic->ClassName();
  return static_cast<char>(name.size()) + name + bytes;
}

void ReadPictureBytes(platform::TPicture& picture, std::string_view bytes) {
  if (bytes.empty()) {
    picture.SetGraphic(nullptr);
    return;
  }
  const size_t length = static_cast<unsigned char>(bytes[0]);
  if (bytes.size() < 1 + length) BadValue("picture data cut short");
  const std::string_view name = bytes.substr(1, length);
  std::unique_ptr<platform::TGraphic> graphic;
  if (name == "TBitmap") {
    graphic = std::make_unique<platform::TBitmapGraphic>();
  } else if (name == "TMetafile") {
    graphic = std::make_unique<platform::TMetafile>();
  } else {
    BadValue("unknown picture class " + std::string(name));
  }
  if (!graphic->LoadFromBytes(bytes.substr(1 + length))) BadValue("the picture data hold no picture");
  picture.SetGraphic(std::move(graphic));
}

// ---- Class registry -----------------------------------------------------------------------

TStoredClass::TStoredClass(std::string name, const TStoredClass* parent, std::function<void*(void*)> toParent)
    : name_(std::move(name)), parent_(parent), toParent_(std::move(toParent)) {}

bool TStoredClass::InheritsFrom(const TStoredClass& other) const {
  for (const TStoredClass* c = this; c; c = c->parent_) {
    if (c == &other) return true;
  }
  return false;
}

namespace {

struct Registry {
  std::map<std::string, const TStoredClass*, std::less<>> byName;  // upper-case names
  std::map<std::type_index, const TStoredClass*> byType;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

void RegisterStoredClass(const TStoredClass& cls) {
  Registry& r = TheRegistry();
  r.byName[platform::UpperAscii(cls.Name())] = &cls;
  r.byType[cls.type_] = &cls;
}

const TStoredClass* FindStoredClass(std::string_view name) {
  const Registry& r = TheRegistry();
  auto it = r.byName.find(platform::UpperAscii(name));
  return it == r.byName.end() ? nullptr : it->second;
}

const TStoredClass* FindStoredClass(std::type_index type) {
  const Registry& r = TheRegistry();
  auto it = r.byType.find(type);
  return it == r.byType.end() ? nullptr : it->second;
}

// ---- Reading and writing properties -------------------------------------------------------

namespace {

// A property with the object of its declaring class.
struct Bound {
  const TStoredPropertyInfo* info;
  void* object;
};

// The property `name` of the class or an ancestor (the most derived declaration).
std::optional<Bound> FindProperty(const TStoredClass& cls, void* object, std::string_view name) {
  for (const TStoredClass* c = &cls; c; object = c->Parent() ? c->ToParent(object) : object, c = c->Parent()) {
    for (const TStoredPropertyInfo& p : c->Own()) {
      if (SameName(p.name, name)) return Bound{&p, object};
    }
  }
  return std::nullopt;
}

// Every property in writing order: ancestors first, a redeclared one in its ancestor's place;
// the published ones, then the extra ones.
std::vector<Bound> AllProperties(const TStoredClass& cls, const void* object) {
  std::vector<Bound> out;
  std::vector<std::pair<const TStoredClass*, const void*>> chain;
  for (const TStoredClass* c = &cls; c; object = c->Parent() ? c->ToParent(object) : object, c = c->Parent()) {
    chain.emplace_back(c, object);
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const TStoredPropertyInfo& p : it->first->Own()) {
      const Bound b{&p, const_cast<void*>(it->second)};
      auto same = std::find_if(out.begin(), out.end(), [&](const Bound& o) { return SameName(o.info->name, p.name); });
      if (same != out.end()) {
        *same = b;
      } else {
        out.push_back(b);
      }
    }
  }
  std::stable_partition(out.begin(), out.end(), [](const Bound& b) { return !b.info->extra; });
  return out;
}

void ReadProperty(const TStoredClass& cls, void* object, const TStoredProperty& property, size_t from, int depth) {
  if (depth > kMaxDepth) throw TDescriptionError(property.line, "property path too long");
  const std::string_view path = property.path;
  const size_t dot = path.find('.', from);
  const std::string_view name = path.substr(from, dot == std::string_view::npos ? std::string_view::npos : dot - from);
  std::optional<Bound> found = FindProperty(cls, object, name);
  if (!found) throw TDescriptionError(property.line, "unknown property " + std::string(path) + " of " + cls.Name());
  const TStoredPropertyInfo& p = *found->info;
  try {
    if (dot != std::string_view::npos) {
      if (p.kind != TStoredPropertyInfo::Kind::Object) {
        throw TDescriptionError(property.line, "unknown property " + std::string(path) + " of " + cls.Name());
      }
      ReadProperty(*p.objectClass, p.object(found->object), property, dot + 1, depth + 1);
      return;
    }
    const TStoredValue& v = property.value;
    switch (p.kind) {
      case TStoredPropertyInfo::Kind::Value: p.set(found->object, v); break;
      case TStoredPropertyInfo::Kind::Binary:
        if (v.kind != TStoredValue::Kind::Binary) BadValue("binary data expected");
        p.readBytes(found->object, v.text);
        break;
      case TStoredPropertyInfo::Kind::Collection: {
        if (v.kind != TStoredValue::Kind::Collection) BadValue("a collection expected");
        p.clear(found->object);
        for (const TStoredItem& item : v.collection) {
          void* added = p.add(found->object);
          for (const TStoredProperty& ip : item.properties) ReadProperty(*p.objectClass, added, ip, 0, depth + 1);
        }
        break;
      }
      case TStoredPropertyInfo::Kind::Object: BadValue("an object takes no value");
    }
  } catch (const TDescriptionError&) {
    throw;
  } catch (const std::exception& e) {
    throw TDescriptionError(property.line, "bad value of " + std::string(path) + ": " + e.what());
  }
}

void WriteInto(const TStoredClass& cls, const void* object, const std::string& prefix, std::vector<TStoredProperty>& out,
               int depth) {
  if (depth > kMaxDepth) return;
  for (const Bound& b : AllProperties(cls, object)) {
    const TStoredPropertyInfo& p = *b.info;
    if (p.stored && !p.stored(b.object)) continue;
    const std::string path = prefix + p.name;
    switch (p.kind) {
      case TStoredPropertyInfo::Kind::Value:
        if (p.get) out.push_back(TStoredProperty{path, p.get(b.object), 0});
        break;
      case TStoredPropertyInfo::Kind::Binary:
        if (std::optional<std::string> bytes = p.writeBytes(b.object)) {
          out.push_back(TStoredProperty{path, TStoredValue::Binary(std::move(*bytes)), 0});
        }
        break;
      case TStoredPropertyInfo::Kind::Object:
        if (const void* sub = p.objectIfAny(b.object)) WriteInto(*p.objectClass, sub, path + ".", out, depth + 1);
        break;
      case TStoredPropertyInfo::Kind::Collection: {
        const int n = p.count(b.object);
        if (n <= 0) break;
        TStoredValue v = Of(TStoredValue::Kind::Collection);
        for (int i = 0; i < n; ++i) {
          TStoredItem item;
          WriteInto(*p.objectClass, p.item(b.object, i), "", item.properties, depth + 1);
          v.collection.push_back(std::move(item));
        }
        out.push_back(TStoredProperty{path, std::move(v), 0});
        break;
      }
    }
  }
}

// The first class of the chain that has the hook, with the object as one of that class.
template <class Hook>
std::pair<const TStoredClass*, void*> WithHook(const TStoredClass& cls, void* object, Hook hook) {
  for (const TStoredClass* c = &cls; c; object = c->Parent() ? c->ToParent(object) : object, c = c->Parent()) {
    if (hook(*c)) return {c, object};
  }
  return {nullptr, nullptr};
}

struct Loading {
  const TStoredClass* cls;
  void* object;
};

void LoadObject(const TStoredObject& tree, const TStoredClass& cls, void* object, std::vector<Loading>& loading, int depth) {
  if (depth > kMaxDepth) throw TDescriptionError(tree.line, "objects nested too deeply");
  if (auto [c, o] = WithHook(cls, object, [](const TStoredClass& k) { return static_cast<bool>(k.beginLoading_); }); c) {
    c->beginLoading_(o);
    loading.push_back(Loading{c, o});
  }
  if (QObject* q = cls.toQObject_ ? cls.toQObject_(object) : nullptr) q->setObjectName(QString::fromLatin1(tree.name.c_str()));
  for (const TStoredProperty& p : tree.properties) ReadProperty(cls, object, p, 0, 0);
  for (const TStoredObject& child : tree.children) {
    const TStoredClass* childClass = FindStoredClass(child.className);
    if (!childClass || !childClass->IsComponent()) throw TDescriptionError(child.line, "unknown class " + child.className);
    void* made = childClass->create_(cls.toQObject_ ? cls.toQObject_(object) : nullptr);
    QObject* madeObject = childClass->toQObject_(made);
    if (auto [c, o] = WithHook(cls, object, [](const TStoredClass& k) { return static_cast<bool>(k.adopt_); }); c) {
      c->adopt_(o, madeObject);
    }
    LoadObject(child, *childClass, made, loading, depth + 1);
  }
}

void FinishLoading(const std::vector<Loading>& loading) {
  for (const Loading& l : loading) l.cls->loaded_(l.object);
}

// Reads the tree into the object of `cls`; a failure raises after every component begun is
// completed again.
void Load(const TStoredObject& tree, const TStoredClass& cls, void* object) {
  std::vector<Loading> loading;
  try {
    LoadObject(tree, cls, object, loading, 0);
  } catch (...) {
    FinishLoading(loading);
    throw;
  }
  FinishLoading(loading);
}

TStoredObject WriteObject(const TStoredClass& cls, const void* object, int depth) {
  TStoredObject o;
  o.className = cls.Name();
  if (cls.toQObject_) o.name = cls.toQObject_(const_cast<void*>(object))->objectName().toStdString();
  WriteInto(cls, object, "", o.properties, 0);
  if (depth > kMaxDepth) return o;
  auto [c, obj] = WithHook(cls, const_cast<void*>(object), [](const TStoredClass& k) { return static_cast<bool>(k.children_); });
  if (!c) return o;
  for (QObject* child : c->children_(obj)) {
    const TStoredClass* childClass = FindStoredClass(std::type_index(typeid(*child)));
    if (!childClass || !childClass->IsComponent()) continue;
    o.children.push_back(WriteObject(*childClass, childClass->fromQObject_(child), depth + 1));
  }
  return o;
}

}  // namespace

std::vector<TStoredProperty> WriteProperties(const TStoredClass& cls, const void* object) {
  std::vector<TStoredProperty> out;
  WriteInto(cls, object, "", out, 0);
  return out;
}

void ReadProperties(const TStoredClass& cls, void* object, const std::vector<TStoredProperty>& properties) {
  for (const TStoredProperty& p : properties) ReadProperty(cls, object, p, 0, 0);
}

std::string WriteComponent(const QObject& root) {
  const TStoredClass* cls = FindStoredClass(std::type_index(typeid(root)));
  if (!cls || !cls->IsComponent()) return std::string();
  return FormatDescription(WriteObject(*cls, cls->fromQObject_(const_cast<QObject*>(&root)), 0));
}

bool ReadComponent(std::string_view text, QObject& root, std::string* error) {
  try {
    const TStoredObject tree = ParseDescription(text);
    const TStoredClass* cls = FindStoredClass(tree.className);
    if (!cls || !cls->IsComponent()) throw TDescriptionError(tree.line, "unknown class " + tree.className);
    void* object = cls->fromQObject_(&root);
    if (!object) throw TDescriptionError(tree.line, "the component is no " + tree.className);
    Load(tree, *cls, object);
    return true;
  } catch (const std::exception& e) {
    if (error) *error = e.what();
    return false;
  }
}

QObject* CreateComponent(std::string_view text, QObject* owner, std::string* error) {
  QObject* made = nullptr;
  try {
    const TStoredObject tree = ParseDescription(text);
    const TStoredClass* cls = FindStoredClass(tree.className);
    if (!cls || !cls->IsComponent()) throw TDescriptionError(tree.line, "unknown class " + tree.className);
    void* object = cls->create_(owner);
    made = cls->toQObject_(object);
    Load(tree, *cls, object);
    return made;
  } catch (const std::exception& e) {
    delete made;
    if (error) *error = e.what();
    return nullptr;
  }
}

}  // namespace chart
