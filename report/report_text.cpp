// The description text of a report: its values, the text syntax (reading and writing), the value
// conversions, the class registry and the reading and describing of object trees. The report's own
// classes and their properties are in report_text_classes.cpp.
#include "report/report_text.h"

#include <QHash>

#include <QWidget>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <memory>

#include "platform/files.h"
#include "platform/form_text.h"
#include "report/band_report.h"

namespace rpt {

// ---- Values ------------------------------------------------------------------------------

TextValue TextValue::Int(int64_t v) {
  TextValue t;
  t.kind = Kind::Integer;
  t.integer = v;
  return t;
}

TextValue TextValue::Float(Real v) {
  TextValue t;
  t.kind = Kind::Float;
  t.number = v;
  return t;
}

TextValue TextValue::Ident(std::string name) {
  TextValue t;
  t.kind = Kind::Identifier;
  t.text = std::move(name);
  return t;
}

TextValue TextValue::Str(std::string bytes) {
  TextValue t;
  t.kind = Kind::String;
  t.text = std::move(bytes);
  return t;
}

TextValue TextValue::SetOf(std::vector<std::string> names) {
  TextValue t;
  t.kind = Kind::Set;
  for (std::string& n : names) t.items.push_back(Ident(std::move(n)));
  return t;
}

TextValue TextValue::Floats(const std::vector<Real>& values) {
  TextValue t;
  t.kind = Kind::List;
  for (Real v : values) t.items.push_back(Float(v));
  return t;
}

TextValue TextValue::Strings(const std::vector<std::string>& lines) {
  TextValue t;
  t.kind = Kind::List;
  for (const std::string& l : lines) t.items.push_back(Str(l));
  return t;
}

std::string ReportTextError::Text() const {
  std::string t = file;
  if (line > 0) t += "(" + std::to_string(line) + ")";
  t += ": ";
  if (!property.empty()) t += property + ": ";
  return t + message;
}

// ---- Parsing -----------------------------------------------------------------------------

namespace {

constexpr int kMaxDepth = 64;
constexpr Real kMaxGeometry = kMaxStoredGeometry;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

enum class Tok { End, Ident, Integer, Float, String, Symbol, Bad };

struct Token {
  Tok kind = Tok::End;
  std::string text;  // identifier, symbol, string bytes, or the number's characters
  int line = 1;
};

class Lexer {
 public:
  explicit Lexer(std::string_view text) : sc_(text) {}

  Token Next() {
    sc_.SkipSpace();
    Token t;
    t.line = sc_.Line();
    if (sc_.AtEnd()) return t;
    const char c = sc_.Peek();
    const std::string_view rest = sc_.Text().substr(sc_.Pos());
    if (platform::IsFormNameStart(c)) {
      t.kind = Tok::Ident;
      t.text = sc_.Name();
      return t;
    }
    if (IsDigit(c) || (c == '-' && rest.size() > 1 && IsDigit(rest[1]))) {
      bool isFloat = false;
      std::string error;
      if (!sc_.Number(t.text, isFloat, error)) {
        t.kind = Tok::Bad;
        t.text = error;
        return t;
      }
      t.kind = isFloat ? Tok::Float : Tok::Integer;
      return t;
    }
    if (c == '\'' || c == '#') {
      std::string error;
      t.kind = Tok::String;
      if (!sc_.String(t.text, error)) {
        t.kind = Tok::Bad;
        t.text = error;
      }
      return t;
    }
    if (std::string_view("{}=()[],").find(c) != std::string_view::npos) {
      sc_.Skip();
      t.kind = Tok::Symbol;
      t.text = std::string(1, c);
      return t;
    }
    t.kind = Tok::Bad;
    t.text = "unexpected character";
    return t;
  }

 private:
  platform::FormScanner sc_;
};

class Parser {
 public:
  Parser(std::string_view text, ReportTextError& error) : lex_(text), error_(error) { Advance(); }

  bool ParseFile(TextObject& root) {
    if (!ParseObject(root, 0)) return false;
    if (cur_.kind != Tok::End) return Fail(cur_.line, "", "text after the end of the description");
    return true;
  }

 private:
  void Advance() {
    if (havePeek_) {
      cur_ = next_;
      havePeek_ = false;
    } else {
      cur_ = lex_.Next();
    }
  }
  const Token& Peek() {
    if (!havePeek_) {
      next_ = lex_.Next();
      havePeek_ = true;
    }
    return next_;
  }
  bool Fail(int line, const std::string& property, const std::string& message) {
    error_.line = line;
    error_.property = property;
    error_.message = message;
    return false;
  }
  bool IsSymbol(const Token& t, char c) const { return t.kind == Tok::Symbol && t.text.size() == 1 && t.text[0] == c; }
  bool BadToken(const std::string& property) {
    return Fail(cur_.line, property, cur_.kind == Tok::Bad ? cur_.text : "unexpected end of the description");
  }

  bool ParseObject(TextObject& obj, int depth) {
    if (depth > kMaxDepth) return Fail(cur_.line, "", "objects nested too deeply");
    if (cur_.kind != Tok::Ident || cur_.text.find('.') != std::string::npos) {
      return cur_.kind == Tok::Bad || cur_.kind == Tok::End ? BadToken("") : Fail(cur_.line, "", "a class name expected");
    }
    obj.className = cur_.text;
    obj.line = cur_.line;
    Advance();
    if (cur_.kind == Tok::Ident) {
      if (cur_.text.find('.') != std::string::npos) return Fail(cur_.line, "", "an object name expected");
      obj.name = cur_.text;
      Advance();
    }
    if (!IsSymbol(cur_, '{')) return cur_.kind == Tok::Bad ? BadToken("") : Fail(cur_.line, "", "'{' expected");
    Advance();
    for (;;) {
      if (IsSymbol(cur_, '}')) {
        Advance();
        return true;
      }
      if (cur_.kind != Tok::Ident) {
        return cur_.kind == Tok::Bad || cur_.kind == Tok::End ? BadToken("")
                                                              : Fail(cur_.line, "", "a property or an object expected");
      }
      if (IsSymbol(Peek(), '=')) {
        TextProperty p;
        p.name = cur_.text;
        p.line = cur_.line;
        Advance();
        Advance();
        if (!ParseValue(p.value, p.name, true)) return false;
        obj.properties.push_back(std::move(p));
      } else {
        obj.children.emplace_back();
        if (!ParseObject(obj.children.back(), depth + 1)) return false;
      }
    }
  }

  bool ParseScalar(TextValue& v, const std::string& property) {
    switch (cur_.kind) {
      case Tok::Integer: {
        int64_t n = 0;
        auto [p, ec] = std::from_chars(cur_.text.data(), cur_.text.data() + cur_.text.size(), n);
        if (ec != std::errc() || p != cur_.text.data() + cur_.text.size()) {
          return Fail(cur_.line, property, "integer out of range");
        }
        v = TextValue::Int(n);
        break;
      }
      case Tok::Float: {
        Real x = 0;
        auto [p, ec] = std::from_chars(cur_.text.data(), cur_.text.data() + cur_.text.size(), x);
        if (ec != std::errc() || p != cur_.text.data() + cur_.text.size() || !std::isfinite(x)) {
          return Fail(cur_.line, property, "number out of range");
        }
        v = TextValue::Float(x);
        break;
      }
      case Tok::Ident: v = TextValue::Ident(cur_.text); break;
      case Tok::String: v = TextValue::Str(cur_.text); break;
      default: return cur_.kind == Tok::Bad || cur_.kind == Tok::End ? BadToken(property) : Fail(cur_.line, property, "a value expected");
    }
    Advance();
    return true;
  }

  bool ParseValue(TextValue& v, const std::string& property, bool compound) {
    if (compound && IsSymbol(cur_, '[')) {
      v = TextValue::SetOf({});
      Advance();
      if (IsSymbol(cur_, ']')) {
        Advance();
        return true;
      }
      for (;;) {
        if (cur_.kind != Tok::Ident) return Fail(cur_.line, property, "a set holds names");
        v.items.push_back(TextValue::Ident(cur_.text));
        Advance();
        if (IsSymbol(cur_, ']')) {
          Advance();
          return true;
        }
        if (!IsSymbol(cur_, ',')) return Fail(cur_.line, property, "',' or ']' expected");
        Advance();
      }
    }
    if (compound && IsSymbol(cur_, '(')) {
      v = TextValue{};
      v.kind = TextValue::Kind::List;
      Advance();
      while (!IsSymbol(cur_, ')')) {
        v.items.emplace_back();
        if (!ParseValue(v.items.back(), property, false)) return false;
      }
      Advance();
      return true;
    }
    return ParseScalar(v, property);
  }

  Lexer lex_;
  ReportTextError& error_;
  Token cur_, next_;
  bool havePeek_ = false;
};

// ---- Writing -----------------------------------------------------------------------------

std::string FloatText(Real v) {
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 16);
  std::string t(buf, ec == std::errc() ? p : buf);
  if (t.find_first_of(".eE") == std::string::npos && t.find_first_of("0123456789") != std::string::npos) t += ".0";
  return t;
}

std::string ValueText(const TextValue& v) {
  switch (v.kind) {
    case TextValue::Kind::Integer: return std::to_string(v.integer);
    case TextValue::Kind::Float: return FloatText(v.number);
    case TextValue::Kind::Identifier: return v.text;
    case TextValue::Kind::String: return platform::FormStringText(v.text);
    case TextValue::Kind::Set: {
      std::string t = "[";
      for (size_t i = 0; i < v.items.size(); ++i) t += (i ? ", " : "") + v.items[i].text;
      return t + "]";
    }
    case TextValue::Kind::List: {
      std::string t = "(";
      for (size_t i = 0; i < v.items.size(); ++i) t += (i ? " " : "") + ValueText(v.items[i]);
      return t + ")";
    }
  }
  return std::string();
}

void WriteObject(std::string& out, const TextObject& obj, const std::string& indent) {
  out += indent + obj.className + (obj.name.empty() ? "" : " " + obj.name) + " {\r\n";
  for (const TextProperty& p : obj.properties) out += indent + "  " + p.name + " = " + ValueText(p.value) + "\r\n";
  for (const TextObject& c : obj.children) WriteObject(out, c, indent + "  ");
  out += indent + "}\r\n";
}

}  // namespace

bool ParseReportText(std::string_view text, TextObject& out, ReportTextError& error) {
  out = TextObject{};
  Parser parser(text, error);
  return parser.ParseFile(out);
}

std::string WriteReportText(const TextObject& root) {
  std::string out;
  WriteObject(out, root, "");
  return out;
}

// ---- Value conversions -------------------------------------------------------------------

bool ValueToBool(const TextValue& v, bool& out, std::string& message) {
  if (v.kind == TextValue::Kind::Identifier && (v.text == "True" || v.text == "False")) {
    out = v.text == "True";
    return true;
  }
  message = "True or False expected";
  return false;
}

bool ValueToInt(const TextValue& v, int& out, std::string& message, int64_t min, int64_t max) {
  if (v.kind != TextValue::Kind::Integer) {
    message = "an integer expected";
    return false;
  }
  if (v.integer < min || v.integer > max) {
    message = "integer out of range";
    return false;
  }
  out = static_cast<int>(v.integer);
  return true;
}

bool ValueToReal(const TextValue& v, Real& out, std::string& message) {
  if (v.kind == TextValue::Kind::Float) {
    out = v.number;
  } else if (v.kind == TextValue::Kind::Integer) {
    out = static_cast<Real>(v.integer);
  } else {
    message = "a number expected";
    return false;
  }
  return true;
}

bool ValueToString(const TextValue& v, std::string& out, std::string& message) {
  if (v.kind != TextValue::Kind::String) {
    message = "a string expected";
    return false;
  }
  out = v.text;
  return true;
}

bool ValueToIdent(const TextValue& v, std::string& out, std::string& message) {
  if (v.kind != TextValue::Kind::Identifier) {
    message = "a name expected";
    return false;
  }
  out = v.text;
  return true;
}

bool ValueToStrings(const TextValue& v, std::vector<std::string>& out, std::string& message) {
  out.clear();
  if (v.kind != TextValue::Kind::List) {
    message = "a list of strings expected";
    return false;
  }
  for (const TextValue& item : v.items) {
    if (item.kind != TextValue::Kind::String) {
      message = "a list of strings expected";
      return false;
    }
    out.push_back(item.text);
  }
  return true;
}

bool ValueToReals(const TextValue& v, size_t count, std::vector<Real>& out, std::string& message) {
  out.clear();
  if (v.kind != TextValue::Kind::List || v.items.size() != count) {
    message = "a list of " + std::to_string(count) + " numbers expected";
    return false;
  }
  for (const TextValue& item : v.items) {
    Real x = 0;
    if (!ValueToReal(item, x, message)) return false;
    if (!(std::fabs(x) <= kMaxGeometry)) {
      message = "value out of range";
      return false;
    }
    out.push_back(x);
  }
  return true;
}

bool ValueToSet(const TextValue& v, std::vector<std::string>& out, std::string& message) {
  out.clear();
  if (v.kind != TextValue::Kind::Set) {
    message = "a set expected";
    return false;
  }
  for (const TextValue& item : v.items) out.push_back(item.text);
  return true;
}

// ---- Registry ----------------------------------------------------------------------------

namespace {

std::map<std::string, ReportClass, std::less<>>& Registry() {
  static std::map<std::string, ReportClass, std::less<>> registry;
  return registry;
}

// The registered class an object is written as: its own class or the nearest registered base.
const ReportClass* ClassOf(const QObject& o) {
  for (const QMetaObject* m = o.metaObject(); m; m = m->superClass()) {
    std::string_view name = m->className();
    if (size_t colon = name.rfind(':'); colon != std::string_view::npos) name = name.substr(colon + 1);
    const ReportClass* cls = FindReportClass(name);
    if (cls && cls->create) return cls;
  }
  return nullptr;
}

// The class and its registered bases, base first.
std::vector<const ReportClass*> Chain(const ReportClass* cls) {
  std::vector<const ReportClass*> chain;
  for (const ReportClass* c = cls; c && chain.size() < 32; c = c->parent.empty() ? nullptr : FindReportClass(c->parent)) {
    chain.insert(chain.begin(), c);
  }
  return chain;
}

}  // namespace

void RegisterReportClass(ReportClass cls) {
  std::string name = cls.name;
  Registry()[name] = std::move(cls);
}

const ReportClass* FindReportClass(std::string_view name) {
  auto it = Registry().find(name);
  return it == Registry().end() ? nullptr : &it->second;
}

void ReadContext::Reference(const TextProperty& property, std::function<bool(QObject*, std::string&)> apply) {
  pending_.push_back(Pending{property, std::move(apply)});
}

// ---- Reading objects ---------------------------------------------------------------------

class ReportReader {
 public:
  ReportReader(const std::string& file, ReportTextError& error) : file_(file), error_(error) {}

  QObject* Read(const TextObject& root, QWidget* parent) {
    error_ = ReportTextError{};
    error_.file = file_;
    QObject* object = Build(root, parent, 0);
    bool ok = object && Resolve(parent);
    for (auto it = reports_.rbegin(); it != reports_.rend(); ++it) {
      if (*it) (*it)->SetLoading(false);
    }
    if (!ok) {
      delete root_;
      return nullptr;
    }
    return object;
  }

 private:
  bool Fail(int line, const std::string& property, const std::string& message) {
    error_.line = line;
    error_.property = property;
    error_.message = message;
    return false;
  }

  QObject* Build(const TextObject& t, QWidget* parent, int depth) {
    const ReportClass* cls = FindReportClass(t.className);
    if (!cls || !cls->create) {
      Fail(t.line, "", "unknown class " + t.className);
      return nullptr;
    }
    QString name = QString::fromLatin1(t.name.data(), static_cast<qsizetype>(t.name.size()));
    if (!name.isEmpty() && Named(name)) {
      Fail(t.line, "", "duplicate name " + t.name);
      return nullptr;
    }
    QObject* o = cls->create(parent);
    if (!root_) root_ = o;
    o->setObjectName(name);
    created_.push_back(o);
    if (!name.isEmpty()) byName_.insert(NameKey(name), o);
    if (auto* report = qobject_cast<TCustomBandReport*>(o)) {
      report->SetLoading(true);
      reports_.push_back(report);
    }
    std::vector<const ReportClass*> chain = Chain(cls);
    for (const TextProperty& p : t.properties) {
      PropertyResult result = PropertyResult::Unknown;
      std::string message;
      for (auto it = chain.rbegin(); it != chain.rend() && result == PropertyResult::Unknown; ++it) {
        if ((*it)->read) result = (*it)->read(o, p, context_, message);
      }
      if (result == PropertyResult::Unknown) {
        Fail(p.line, p.name, "unknown property of " + t.className);
        return nullptr;
      }
      if (result == PropertyResult::Bad) {
        Fail(p.line, p.name, message);
        return nullptr;
      }
    }
    if (!t.children.empty()) {
      auto* widget = qobject_cast<QWidget*>(o);
      if (!widget) {
        Fail(t.line, "", t.className + " holds no objects");
        return nullptr;
      }
      if (depth >= kMaxDepth) {
        Fail(t.line, "", "objects nested too deeply");
        return nullptr;
      }
      for (const TextObject& c : t.children) {
        if (!Build(c, widget, depth + 1)) return nullptr;
      }
    }
    return o;
  }

  // Names compare as QString::compare without case does, character by character case-folded;
  // looked up in a table, so that reading many objects takes time in proportion to their count.
  static QString NameKey(const QString& name) {
    QString key = name;
    for (QChar& c : key) c = QChar(static_cast<char16_t>(QChar::toCaseFolded(c.unicode())));
    return key;
  }

  QObject* Named(const QString& name) const { return byName_.value(NameKey(name), nullptr); }

  // The first object of that name on the form outside the description (nullptr: none).
  QObject* NamedOnForm(QWidget* form, const QString& name) {
    if (!formNamesBuilt_) {
      formNamesBuilt_ = true;
      for (QObject* o : form->findChildren<QObject*>()) {
        const QString key = NameKey(o->objectName());
        if (!formNames_.contains(key)) formNames_.insert(key, o);
      }
    }
    return formNames_.value(NameKey(name), nullptr);
  }

  bool Resolve(QWidget* parent) {
    for (const ReadContext::Pending& p : context_.pending_) {
      std::string name;
      std::string message;
      if (!ValueToIdent(p.property.value, name, message)) return Fail(p.property.line, p.property.name, message);
      QObject* target = nullptr;
      if (!name.empty()) {
        QString qname = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        target = Named(qname);
        if (!target && parent) target = NamedOnForm(parent->window(), qname);
        if (!target) return Fail(p.property.line, p.property.name, "no object named " + name);
      }
      if (!p.apply(target, message)) return Fail(p.property.line, p.property.name, message);
    }
    return true;
  }

  std::string file_;
  ReportTextError& error_;
  ReadContext context_;
  QObject* root_ = nullptr;
  std::vector<QObject*> created_;
  QHash<QString, QObject*> byName_;
  QHash<QString, QObject*> formNames_;
  bool formNamesBuilt_ = false;
  std::vector<QPointer<TCustomBandReport>> reports_;
};

QObject* ReadReport(std::string_view text, const std::string& fileName, QWidget* parent, ReportTextError& error) {
  RegisterReportClasses();
  TextObject root;
  if (!ParseReportText(text, root, error)) {
    error.file = fileName;
    return nullptr;
  }
  ReportReader reader(fileName, error);
  return reader.Read(root, parent);
}

namespace {

void Describe(const QObject& o, TextObject& out) {
  const ReportClass* cls = ClassOf(o);
  out.className = cls->name;
  out.name = o.objectName().toStdString();
  // The class's own properties first, then those of its bases.
  std::vector<const ReportClass*> chain = Chain(cls);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if ((*it)->write) (*it)->write(&o, out.properties);
  }
  for (const QObject* child : o.children()) {
    if (!ClassOf(*child)) continue;
    out.children.emplace_back();
    Describe(*child, out.children.back());
  }
}

}  // namespace

TextObject DescribeReport(const QObject& root) {
  RegisterReportClasses();
  TextObject out;
  if (ClassOf(root)) Describe(root, out);
  return out;
}

std::string WriteReport(const QObject& root) { return WriteReportText(DescribeReport(root)); }

QObject* LoadReportFile(const std::string& path, QWidget* parent, ReportTextError& error) {
  std::string bytes;
  if (!platform::ReadFileBytes(path, bytes)) {
    error = ReportTextError{path, 0, "", "the file cannot be read"};
    return nullptr;
  }
  return ReadReport(bytes, path, parent, error);
}

bool SaveReportFile(const std::string& path, const QObject& root, std::string& error) {
  std::string reason;
  if (platform::WriteFileBytesAtomic(path, WriteReport(root), &reason)) return true;
  error = path + ": " + reason;
  return false;
}

}  // namespace rpt
