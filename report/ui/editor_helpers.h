// The small helpers the report library's editor dialogs share (report/ui/editors.h): CP932 of
// a widget text, placed buttons, line edits, lists and labels, and waiting in a local event loop.
#pragma once

#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <functional>
#include <string>

#include "platform/qt/qt_text.h"

namespace rpt::dialogs {

inline std::string Cp932Of(const QString& text) { return platform::FromQString(text).value_or(std::string()); }

// The text without its carriage-return and line-feed pairs.
inline std::string WithoutLineBreaks(std::string text) {
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 2);
  return text;
}

inline QPushButton* Button(QWidget* parent, const char* name, const QString& text, int x, int y, int w = 75,
                           int h = 25) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setGeometry(x, y, w, h);
  return b;
}

inline QLineEdit* LineEdit(QWidget* parent, const QString& name, int x, int y, int w, int h = 21) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setGeometry(x, y, w, h);
  return e;
}

inline QListWidget* List(QWidget* parent, const char* name, int x, int y, int w, int h) {
  auto* l = new QListWidget(parent);
  l->setObjectName(name);
  l->setGeometry(x, y, w, h);
  return l;
}

inline QLabel* Label(QWidget* parent, const QString& text, int x, int y, int w = 160, int h = 16) {
  auto* l = new QLabel(text, parent);
  l->setGeometry(x, y, w, h);
  return l;
}

// Lets messages run until `done` answers true, looking again whenever `sender` emits `signal`;
// false when `sender` went away meanwhile.
template <typename Sender, typename Signal>
bool WaitUntil(Sender* sender, Signal signal, const std::function<bool()>& done) {
  QPointer<Sender> self(sender);
  QEventLoop loop;
  QObject::connect(sender, signal, &loop, &QEventLoop::quit);
  while (self && !done()) loop.exec();
  return !self.isNull();
}

}  // namespace rpt::dialogs
