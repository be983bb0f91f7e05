// Stored descriptions: the text form of a tree of components and their properties, from which
// every chart of the program is made, and the tables through which each class reads and
// writes its properties.
//
// The text (CP932, lines ending in CR LF; a reader takes LF alone too):
//
//   object CHAT1: TChart
//     Left = 32
//     Border.Visible = True
//     Border.Color = clRed
//     PrintMargins = (
//       10
//       15
//       15
//       15)
//     Zoom.KeyShift = [ssShift, ssCtrl]
//     Title.Text.Strings = (
//       'First line'
//       'Second'#13'line')
//     Data = {
//       0102030405}
//     CustomAxes = <
//       item
//         Horizontal = True
//       end>
//     object Series1: TBarSeries
//     end
//   end
//
// Values: integers (decimal, or "$" hex), floats (with "." or an exponent), strings in single
// quotes ('' for a quote) joined with character codes (#13, #$0D) and "+", identifiers (True,
// False, clRed, enumeration names), sets of identifiers in brackets, lists of values in
// parentheses, binary data as hex digits in braces, and collections of items in angle brackets.
// A property path names a property of the object or of its sub-objects ("Zoom.Pen.Color").
//
// Each class describes its properties once, in a table (TStoredClassTable<T>): the published
// ones in writing order with their defaults (a property is written only when its value differs
// from its default, or when its own stored rule says so), then its extra ones: obsolete names
// that are read and never written, and properties with a form of their own (lists, binary
// data). A table names its parent class's table and inherits its properties; it may replace
// one of them by name (another default). Components (the classes of "object" lines) also give
// their factory; the reader creates each child with its owner, lets the owner take it, and
// calls every component's Loaded once the whole tree is read.
//
// Reading refuses a description that is no such text, names an unknown class or property or
// gives a value a property does not take, with an error naming the line. Nothing is read past
// the text; nesting is limited to 64 levels. A component made by CreateComponent is freed
// again when reading fails.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

#include "chart/types.h"

namespace platform {
class TPicture;
}

namespace chart {

// ---- The text form ------------------------------------------------------------------------

struct TStoredItem;

struct TStoredValue {
  enum class Kind { Integer, Float, String, Ident, Set, List, Binary, Collection };
  Kind kind = Kind::Integer;
  int64_t integer = 0;
  double number = 0;
  std::string text;                      // String (CP932), Ident, Binary (the bytes)
  std::vector<std::string> names;        // Set
  std::vector<TStoredValue> items;       // List
  std::vector<TStoredItem> collection;   // Collection

  static TStoredValue Int(int64_t v);
  static TStoredValue Float(double v);
  static TStoredValue String(std::string v);
  static TStoredValue Ident(std::string v);
  static TStoredValue Bool(bool v);
  static TStoredValue Set(std::vector<std::string> names);
  static TStoredValue List(std::vector<TStoredValue> items);
  static TStoredValue Binary(std::string bytes);
  bool operator==(const TStoredValue&) const;
};

struct TStoredProperty {
  std::string path;  // "Border.Visible"
  TStoredValue value;
  int line = 0;
  bool operator==(const TStoredProperty&) const = default;
};

struct TStoredItem {
  std::vector<TStoredProperty> properties;
  int line = 0;
  bool operator==(const TStoredItem&) const = default;
};

struct TStoredObject {
  std::string name;
  std::string className;
  int line = 0;
  std::vector<TStoredProperty> properties;
  std::vector<TStoredObject> children;
};

// A description that cannot be read: the message names the line.
class TDescriptionError : public std::runtime_error {
 public:
  TDescriptionError(int line, const std::string& message);
  int Line() const { return line_; }

 private:
  int line_;
};

// The tree of a description's text (syntax only); raises TDescriptionError.
TStoredObject ParseDescription(std::string_view text);
// The text of a tree, lines ending in CR LF.
std::string FormatDescription(const TStoredObject& root);

// ---- Reading values (each raises std::runtime_error on a value of another kind or range) --

int64_t StoredInteger(const TStoredValue& v, int64_t min = std::numeric_limits<int32_t>::min(),
                      int64_t max = std::numeric_limits<int32_t>::max());
double StoredFloat(const TStoredValue& v);  // an integer too
bool StoredBool(const TStoredValue& v);
std::string StoredString(const TStoredValue& v);
std::string StoredIdent(const TStoredValue& v);
// A colour name or number.
TColor StoredColor(const TStoredValue& v);
TStoredValue ColorValue(TColor color);
// The index of the identifier in `names`.
int StoredEnum(const TStoredValue& v, std::span<const char* const> names);
// Bit i for names[i].
uint32_t StoredSet(const TStoredValue& v, std::span<const char* const> names);
TStoredValue SetValue(uint32_t bits, std::span<const char* const> names);
// A list of strings.
std::vector<std::string> StoredStrings(const TStoredValue& v);

// A picture as binary data (the graphic's class name, then its file bytes); nothing for an
// empty picture. Reading raises for bytes that hold no picture.
std::optional<std::string> PictureBytes(const platform::TPicture& picture);
void ReadPictureBytes(platform::TPicture& picture, std::string_view bytes);

// ---- Class tables -------------------------------------------------------------------------

class TStoredClass;

// One property of a table. The object pointers are objects of the table's class.
struct TStoredPropertyInfo {
  enum class Kind { Value, Object, Collection, Binary };
  std::string name;
  Kind kind = Kind::Value;
  bool extra = false;  // written after the published ones
  // Value: get (null: read only) and set.
  std::function<TStoredValue(const void*)> get;
  std::function<void(void*, const TStoredValue&)> set;
  // Whether the current value is written (null: always).
  std::function<bool(const void*)> stored;
  // Object and Collection items: the class of the sub-object.
  const TStoredClass* objectClass = nullptr;
  // Object: the sub-object, created when needed; the one that exists (null: none).
  std::function<void*(void*)> object;
  std::function<const void*(const void*)> objectIfAny;
  // Collection.
  std::function<int(const void*)> count;
  std::function<const void*(const void*, int)> item;
  std::function<void(void*)> clear;
  std::function<void*(void*)> add;
  // Binary: the bytes to write (nothing: not written), and the reading of them.
  std::function<std::optional<std::string>(const void*)> writeBytes;
  std::function<void(void*, std::string_view)> readBytes;
};

class TStoredClass {
 public:
  TStoredClass(std::string name, const TStoredClass* parent, std::function<void*(void*)> toParent);
  const std::string& Name() const { return name_; }
  const TStoredClass* Parent() const { return parent_; }
  // The object as one of the parent class.
  void* ToParent(void* object) const { return toParent_(object); }
  const void* ToParent(const void* object) const { return toParent_(const_cast<void*>(object)); }
  // The properties declared by this table (not the inherited ones).
  const std::vector<TStoredPropertyInfo>& Own() const { return own_; }
  std::vector<TStoredPropertyInfo>& Own() { return own_; }
  bool InheritsFrom(const TStoredClass& other) const;

  // Components: creation with an owner, the QObject and back, the children to write, the
  // owner's taking of a new child, and the loading state.
  bool IsComponent() const { return static_cast<bool>(create_); }
  std::function<void*(QObject* owner)> create_;
  std::function<QObject*(void*)> toQObject_;
  std::function<void*(QObject*)> fromQObject_;
  std::function<std::vector<QObject*>(const void*)> children_;
  std::function<void(void*, QObject* child)> adopt_;
  std::function<void(void*)> beginLoading_;
  std::function<void(void*)> loaded_;
  std::type_index type_ = typeid(void);

 private:
  std::string name_;
  const TStoredClass* parent_;
  std::function<void*(void*)> toParent_;
  std::vector<TStoredPropertyInfo> own_;
};

// Registers a class under its name and C++ type (components must be registered to be read
// or written); a second registration of the same name replaces the first.
void RegisterStoredClass(const TStoredClass& cls);
const TStoredClass* FindStoredClass(std::string_view name);
const TStoredClass* FindStoredClass(std::type_index type);

// Builds the table of class T (whose parent table, when given, belongs to the base class B).
template <class T>
class TStoredClassTable {
 public:
  explicit TStoredClassTable(std::string name) : cls_(std::make_unique<TStoredClass>(std::move(name), nullptr, nullptr)) {
    cls_->type_ = typeid(T);
  }
  template <class B>
  TStoredClassTable(std::string name, const TStoredClass& parent, std::type_identity<B>)
      : cls_(std::make_unique<TStoredClass>(std::move(name), &parent, [](void* p) -> void* {
          return static_cast<B*>(static_cast<T*>(p));
        })) {
    cls_->type_ = typeid(T);
  }

  // ---- Values ----
  // A property of any form: its value, its setting, and its stored rule (null: always).
  TStoredClassTable& Value(std::string name, std::function<TStoredValue(const T&)> get,
                           std::function<void(T&, const TStoredValue&)> set,
                           std::function<bool(const T&)> stored = nullptr) {
    TStoredPropertyInfo p;
    p.name = std::move(name);
    if (get) p.get = [get](const void* o) { return get(*static_cast<const T*>(o)); };
    p.set = [set](void* o, const TStoredValue& v) { set(*static_cast<T*>(o), v); };
    if (stored) p.stored = [stored](const void* o) { return stored(*static_cast<const T*>(o)); };
    return Add(std::move(p));
  }

  template <class G, class S>
  TStoredClassTable& Integer(std::string name, G get, S set, int def, int min = std::numeric_limits<int>::min(),
                             int max = std::numeric_limits<int>::max()) {
    return Typed<int>(std::move(name), get, set, def, [](int v) { return TStoredValue::Int(v); },
                      [min, max](const TStoredValue& v) { return static_cast<int>(StoredInteger(v, min, max)); });
  }
  template <class G, class S>
  TStoredClassTable& Boolean(std::string name, G get, S set, bool def) {
    return Typed<bool>(std::move(name), get, set, def, TStoredValue::Bool, StoredBool);
  }
  template <class G, class S>
  TStoredClassTable& Color(std::string name, G get, S set, TColor def) {
    return Typed<TColor>(std::move(name), get, set, def, ColorValue, StoredColor);
  }
  template <class G, class S>
  TStoredClassTable& Float(std::string name, G get, S set, double def) {
    return Typed<double>(std::move(name), get, set, def, TStoredValue::Float, StoredFloat);
  }
  template <class G, class S>
  TStoredClassTable& String(std::string name, G get, S set, const std::string& def) {
    return Typed<std::string>(std::move(name), get, set, def, TStoredValue::String, StoredString);
  }
  // An enumeration: names[k] for the value k.
  template <class E, class G, class S>
  TStoredClassTable& Enum(std::string name, G get, S set, E def, std::span<const char* const> names) {
    return Typed<E>(
        std::move(name), get, set, def,
        [names](E v) { return TStoredValue::Ident(names[static_cast<size_t>(v)]); },
        [names](const TStoredValue& v) { return static_cast<E>(StoredEnum(v, names)); });
  }
  // A set: bit k for names[k].
  template <class G, class S>
  TStoredClassTable& Set(std::string name, G get, S set, uint32_t def, std::span<const char* const> names) {
    return Typed<uint32_t>(
        std::move(name), get, set, def, [names](uint32_t v) { return SetValue(v, names); },
        [names](const TStoredValue& v) { return StoredSet(v, names); });
  }

  // The rule of the property added last: written when `stored` says so.
  TStoredClassTable& StoredWhen(std::function<bool(const T&)> stored) {
    cls_->Own().back().stored = [stored](const void* o) { return stored(*static_cast<const T*>(o)); };
    return *this;
  }

  // ---- Sub-objects ----
  // `access` gives the sub-object (creating it when it is created on first access);
  // `ifAny` the one that exists, for writing (null: access always works).
  template <class U>
  TStoredClassTable& Object(std::string name, const TStoredClass& cls, std::function<U&(T&)> access,
                            std::function<const U*(const T&)> ifAny = nullptr) {
    TStoredPropertyInfo p;
    p.name = std::move(name);
    p.kind = TStoredPropertyInfo::Kind::Object;
    p.objectClass = &cls;
    p.object = [access](void* o) -> void* { return &access(*static_cast<T*>(o)); };
    if (ifAny) {
      p.objectIfAny = [ifAny](const void* o) -> const void* { return ifAny(*static_cast<const T*>(o)); };
    } else {
      p.objectIfAny = [access](const void* o) -> const void* { return &access(*static_cast<T*>(const_cast<void*>(o))); };
    }
    return Add(std::move(p));
  }

  // A collection of items of class U: written when it has items.
  template <class U>
  TStoredClassTable& Collection(std::string name, const TStoredClass& itemClass, std::function<int(const T&)> count,
                                std::function<const U&(const T&, int)> item, std::function<void(T&)> clear,
                                std::function<U&(T&)> add) {
    TStoredPropertyInfo p;
    p.name = std::move(name);
    p.kind = TStoredPropertyInfo::Kind::Collection;
    p.objectClass = &itemClass;
    p.count = [count](const void* o) { return count(*static_cast<const T*>(o)); };
    p.item = [item](const void* o, int i) -> const void* { return &item(*static_cast<const T*>(o), i); };
    p.clear = [clear](void* o) { clear(*static_cast<T*>(o)); };
    p.add = [add](void* o) -> void* { return &add(*static_cast<T*>(o)); };
    return Add(std::move(p));
  }

  // ---- Extra properties (written after the published ones) ----
  // An obsolete name: read, never written.
  TStoredClassTable& Legacy(std::string name, std::function<void(T&, const TStoredValue&)> set) {
    Value(std::move(name), nullptr, std::move(set));
    cls_->Own().back().extra = true;
    return *this;
  }
  // A property of a form of its own.
  TStoredClassTable& Extra(std::string name, std::function<TStoredValue(const T&)> get,
                           std::function<void(T&, const TStoredValue&)> set, std::function<bool(const T&)> stored) {
    Value(std::move(name), std::move(get), std::move(set), std::move(stored));
    cls_->Own().back().extra = true;
    return *this;
  }
  // Binary data: the bytes to write (nothing: not written) and their reading.
  TStoredClassTable& Binary(std::string name, std::function<std::optional<std::string>(const T&)> write,
                            std::function<void(T&, std::string_view)> read) {
    TStoredPropertyInfo p;
    p.name = std::move(name);
    p.kind = TStoredPropertyInfo::Kind::Binary;
    p.extra = true;
    p.writeBytes = [write](const void* o) { return write(*static_cast<const T*>(o)); };
    p.readBytes = [read](void* o, std::string_view bytes) { read(*static_cast<T*>(o), bytes); };
    return Add(std::move(p));
  }

  // ---- Components ----
  // `create` makes a new object owned by `owner` (which may be null).
  TStoredClassTable& Component(std::function<T*(QObject* owner)> create) {
    cls_->create_ = [create](QObject* owner) -> void* { return create(owner); };
    cls_->toQObject_ = [](void* o) -> QObject* { return static_cast<T*>(o); };
    cls_->fromQObject_ = [](QObject* o) -> void* { return dynamic_cast<T*>(o); };
    if constexpr (requires(T& t) {
                    t.SetLoading(true);
                    t.Loaded();
                  }) {
      cls_->beginLoading_ = [](void* o) { static_cast<T*>(o)->SetLoading(true); };
      cls_->loaded_ = [](void* o) { static_cast<T*>(o)->Loaded(); };
    }
    return *this;
  }
  // The child components written after the properties, and the taking of a child read.
  TStoredClassTable& Children(std::function<std::vector<QObject*>(const T&)> children,
                              std::function<void(T&, QObject*)> adopt) {
    cls_->children_ = [children](const void* o) { return children(*static_cast<const T*>(o)); };
    cls_->adopt_ = [adopt](void* o, QObject* child) { adopt(*static_cast<T*>(o), child); };
    return *this;
  }

  // The finished table (kept for the life of the program by its owner).
  std::unique_ptr<TStoredClass> Build() { return std::move(cls_); }

 private:
  TStoredClassTable& Add(TStoredPropertyInfo p) {
    cls_->Own().push_back(std::move(p));
    return *this;
  }

  template <class V, class G, class S, class ToValue, class FromValue>
  TStoredClassTable& Typed(std::string name, G get, S set, V def, ToValue toValue, FromValue fromValue) {
    return Value(
        std::move(name), [get, toValue](const T& t) { return toValue(static_cast<V>(std::invoke(get, t))); },
        [set, fromValue](T& t, const TStoredValue& v) { std::invoke(set, t, fromValue(v)); },
        [get, def](const T& t) { return static_cast<V>(std::invoke(get, t)) != def; });
  }

  std::unique_ptr<TStoredClass> cls_;
};

// ---- Components and texts -----------------------------------------------------------------

// The description of `root` (a registered component).
std::string WriteComponent(const QObject& root);
// Reads a description into `root`, whose class is the description's or one it derives from;
// false with `error` (naming the line) when it cannot be read.
bool ReadComponent(std::string_view text, QObject& root, std::string* error = nullptr);
// The component a description describes, owned by `owner`; null (and `error`) when it cannot
// be read.
QObject* CreateComponent(std::string_view text, QObject* owner, std::string* error = nullptr);

// The stored properties of an object of a class (for tables that hold sub-objects of their
// own): the tree of the object's properties and their reading.
std::vector<TStoredProperty> WriteProperties(const TStoredClass& cls, const void* object);
void ReadProperties(const TStoredClass& cls, void* object, const std::vector<TStoredProperty>& properties);

// Registers the chart library's classes (counted start-up of the unit).
void PlotStreamStartup();
void PlotStreamShutdown();

}  // namespace chart
