// Helpers of the input-control tests: typing keys into the focused widget, clicking, and a
// small demonstration form that puts every control class under the shared input behaviour
// the way the program's forms do (its handlers call the shared ones, then commit by code).
#pragma once

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/input_state.h"
#include "framework/ui/controls.h"
#include "framework/ui/input_behaviour.h"
#include "platform/qt/qt_text.h"
#include "support/test_support.h"

namespace uitest {

inline void Pump() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

inline QWidget* Focused() { return QApplication::focusWidget(); }

// A key press and release delivered to the focused widget, as the keyboard delivers it.
inline void Key(int qtKey, const QString& text = QString(), Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QWidget* target = Focused();
  if (!target) return;
  QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
  QApplication::sendEvent(target, &press);
  if (QWidget* now = Focused()) {
    QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
    QApplication::sendEvent(now, &release);
  }
}

inline void Enter() { Key(Qt::Key_Return, "\r"); }
inline void Esc() { Key(Qt::Key_Escape, "\x1b"); }
inline void Tab() { Key(Qt::Key_Tab, "\t"); }

// Types UTF-8 text character by character.
inline void Type(const std::string& utf8) {
  for (QChar ch : QString::fromStdString(utf8)) {
    int key = Qt::Key_unknown;
    if (ch.unicode() < 0x80) key = ch.toUpper().unicode();
    Key(key, QString(ch));
  }
}

// Replaces the whole text of the focused line edit by typing (select all, then type).
inline void TypeOver(const std::string& utf8) {
  Key(Qt::Key_A, QString(QChar(1)), Qt::ControlModifier);
  Key(Qt::Key_Backspace, "\b");
  Type(utf8);
}

// A mouse click as a user makes it: the focus follows the click, then the press and release.
inline void Click(QWidget* w, QPoint at = QPoint(-1, -1)) {
  if (at.x() < 0) at = w->rect().center();
  for (QWidget* f = w; f; f = f->isWindow() ? nullptr : f->parentWidget()) {
    if (f->isEnabled() && (f->focusPolicy() & Qt::ClickFocus)) {
      f->setFocus(Qt::MouseFocusReason);
      break;
    }
  }
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(QPointF(at)), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(QPointF(at)), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &release);
  Pump();
}

// A press and release of the left button at `at` in `w`, put in `ui`'s queue of window-system
// input together, as a quick click arrives. Each is delivered as the window system delivers
// it (spontaneous: the focus follows the press) by the first pump that handles user input,
// or by DeliverQueuedInput.
inline void QueueClick(testsupport::FakeUi& ui, QWidget* w, QPoint at) {
  auto deliver = [target = QPointer<QWidget>(w), at](QEvent::Type type, Qt::MouseButtons buttons) {
    if (!target) return;
    QMouseEvent e(type, at, target->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons, Qt::NoModifier);
    QSpontaneKeyEvent::setSpontaneous(&e);
    qApp->notify(target, &e);
  };
  ui.queuedInput.push_back([deliver] { deliver(QEvent::MouseButtonPress, Qt::LeftButton); });
  ui.queuedInput.push_back([deliver] { deliver(QEvent::MouseButtonRelease, Qt::NoButton); });
}

// The event loop taking the queued input in order (a pump inside the handling of one event
// may take the rest first), then the work it leaves behind.
inline void DeliverQueuedInput(testsupport::FakeUi& ui) {
  while (!ui.queuedInput.empty()) {
    std::function<void()> input = std::move(ui.queuedInput.front());
    ui.queuedInput.pop_front();
    input();
  }
  Pump();
}

// Closes the modal box that is about to open (run before the code that opens it). With
// `reactivate`, that window gets the activation back at once, while the code that opened the
// box is still waiting for it (as a window manager does).
inline void CloseNextModal(QWidget* reactivate = nullptr) {
  QTimer::singleShot(0, [reactivate] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
    if (reactivate) {
      reactivate->activateWindow();
      Pump();
    }
  });
}

inline std::string U8(const std::string& cp932) { return platform::ToQString(cp932).toStdString(); }

// The demonstration form.
class TDemoForm : public QDialog {
 public:
  fw::TEditEx* EDIT_F;  // real, one decimal, 8 wide (code 2101)
  fw::TEditEx* EDIT_I;  // integer (2102)
  fw::TEditEx* EDIT_B;  // byte (2103)
  fw::TEditEx* EDIT_S;  // text (2104)
  fw::TCBoxEx* CBOX_1;  // numbered list (1101)
  fw::TStrGridEx* STRG_1;
  fw::TEditEx* EDIT_G;  // in-grid editor (9100 + row)
  fw::TCBoxEx* CBOX_G;  // in-grid combo
  QPushButton* BTN_OK;
  QPushButton* BTN_CANCEL;

  std::vector<std::string> log;          // "enter 2101", "exit 2101", ...
  std::map<int, std::string> stored;     // values committed, by input code
  bool boxOnCommit = false;              // the commit shows a message box
  int commits = 0;

  TDemoForm() {
    setObjectName("DEMOForm");
    resize(420, 300);
    auto edit = [this](const char* name, int tag, fw::TEditType type, int x, int y) {
      auto* e = new fw::TEditEx(this);
      e->setObjectName(name);
      fw::SetTag(e, tag);
      e->SetEditType(type);
      e->SetCellFrame(false);
      e->setGeometry(x, y, 90, 20);
      WireEdit(e);
      return e;
    };
    EDIT_F = edit("EDIT_F", 2101, fw::TEditType::etFloat, 10, 10);
    EDIT_F->SetMaxLength(8);
    EDIT_F->SetUnderPoint(1);
    EDIT_I = edit("EDIT_I", 2102, fw::TEditType::etInteger, 110, 10);
    EDIT_B = edit("EDIT_B", 2103, fw::TEditType::etByte, 210, 10);
    EDIT_S = edit("EDIT_S", 2104, fw::TEditType::etString, 310, 10);
    EDIT_S->SetMaxLength(10);

    CBOX_1 = new fw::TCBoxEx(this);
    CBOX_1->setObjectName("CBOX_1");
    fw::SetTag(CBOX_1, 1101);
    CBOX_1->SetCellFrame(false);
    CBOX_1->setGeometry(10, 40, 120, 22);
    WireCombo(CBOX_1);

    STRG_1 = new fw::TStrGridEx(this);
    STRG_1->setObjectName("STRG_1");
    STRG_1->setGeometry(10, 80, 200, 120);
    STRG_1->SetColCount(14);
    STRG_1->SetRowCount(4);
    STRG_1->OnClick = [this](QWidget*) { GridClick(); };

    EDIT_G = new fw::TEditEx(this);
    EDIT_G->setObjectName("EDIT_G");
    fw::SetTag(EDIT_G, 9100);
    WireEdit(EDIT_G);
    CBOX_G = new fw::TCBoxEx(this);
    CBOX_G->setObjectName("CBOX_G");
    fw::SetTag(CBOX_G, 9100);
    WireCombo(CBOX_G);

    BTN_OK = new QPushButton("OK", this);
    BTN_OK->setGeometry(230, 250, 80, 25);
    BTN_OK->setDefault(true);
    connect(BTN_OK, &QPushButton::clicked, this, &QDialog::accept);
    BTN_CANCEL = new QPushButton("Cancel", this);
    BTN_CANCEL->setGeometry(320, 250, 80, 25);
    connect(BTN_CANCEL, &QPushButton::clicked, this, &QDialog::reject);
  }

  bool gridCombo = false;  // the grid edits through the combo instead of the edit

  void WireEdit(fw::TEditEx* e) {
    e->OnEnter = [this](QWidget* s) {
      fw::EditEnter(s);
      log.push_back("enter " + std::to_string(fw::Input.InputCode));
    };
    e->OnExit = [this](QWidget* s) {
      const int code = fw::Input.InputCode;
      fw::EditExit(s);
      Commit();
      log.push_back("exit " + std::to_string(code));  // after the commit and any box it showed
    };
    e->OnKeyDown = fw::EditKeyDown;
    e->OnKeyPress = fw::EditKeyPress;
  }

  void WireCombo(fw::TCBoxEx* c) {
    c->OnEnter = [this](QWidget* s) {
      fw::ComboEnter(s);
      log.push_back("enter " + std::to_string(fw::Input.InputCode));
    };
    c->OnExit = [this](QWidget* s) {
      const int code = fw::Input.InputCode;
      fw::ComboExit(s);
      Commit();
      log.push_back("exit " + std::to_string(code));
    };
    c->OnKeyPress = fw::ComboKeyPress;
    c->OnChange = fw::ComboChange;
  }

  // The form's commit routine: stores a changed value once.
  void Commit() {
    if (fw::Input.InputUnchanged || fw::Input.InputCommitted) return;
    fw::Input.InputCommitted = true;
    ++commits;
    stored[fw::Input.InputCode] = fw::Input.InputText;
    if (boxOnCommit) {
      CloseNextModal(this);
      QMessageBox::information(this, "demo", "stored");
    }
  }

  void GridClick() {
    fw::PlaceEditorOnGridCell(STRG_1, STRG_1->Col(), STRG_1->Row());
    fw::SetCurrentItemNo(EDIT_G, 'Y', 1);
    if (gridCombo)
      fw::ShowGridCombo(CBOX_G, fw::TComboBoxStyle::csDropDownList, false);
    else
      fw::ShowGridEdit(EDIT_G, fw::TEditType::etInteger, 7, 0, 0);
  }

  // Shows the form with the focus on a button, so that no field is entered yet.
  void ShowActive() {
    BTN_CANCEL->setFocus();
    show();
    activateWindow();
    Pump();
  }
};

}  // namespace uitest
