#include "framework/ui/focus_tracker.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QPointer>
#include <map>

#include "framework/ui/controls.h"

namespace fw {

namespace {

struct FormState {
  QPointer<QWidget> entered;  // the control whose entry ran and whose exit has not
  bool busy = false;          // an entry or exit handler of this form is running
};

class Tracker : public QObject {
 public:
  Tracker() : QObject(qApp) {
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
      if (now) Settle(FocusTracker::FormOf(now));
    });
  }

  FormState& StateOf(QWidget* form) {
    auto it = forms_.find(form);
    if (it == forms_.end()) {
      connect(form, &QObject::destroyed, this, [this, form] { forms_.erase(form); });
      it = forms_.emplace(form, FormState{}).first;
    }
    return it->second;
  }

  bool Has(QWidget* form) const { return forms_.count(form) != 0; }

  // The control of the form that has the focus (or had it last, while another window is up).
  static QWidget* Target(QWidget* form) {
    QWidget* f = QApplication::focusWidget();
    if (!f || FocusTracker::FormOf(f) != form) f = form->focusWidget();
    if (!f || FocusTracker::FormOf(f) != form) return nullptr;
    for (QWidget* w = f; w && w != form; w = w->parentWidget())
      if (dynamic_cast<TControlEvents*>(w)) return w;
    return f;
  }

  static void FireEnter(QWidget* w) {
    if (auto* ev = dynamic_cast<TControlEvents*>(w)) ev->FireEnter();
  }
  static void FireExit(QWidget* w) {
    if (auto* ev = dynamic_cast<TControlEvents*>(w)) ev->FireExit();
  }

  // Another form of the same window whose input control is still entered (an MDI screen's
  // field while the focus moved to the main window's file combo, or back). The input state is
  // one for the program, so that control's input ends before another input control begins.
  QWidget* OtherEnteredForm(QWidget* form, QWidget* target) {
    if (!dynamic_cast<TControlEvents*>(target)) return nullptr;
    for (auto& [other, st] : forms_) {
      QWidget* entered = st.entered;
      if (other != form && entered && !st.busy && dynamic_cast<TControlEvents*>(entered) &&
          entered->window() == target->window())
        return static_cast<QWidget*>(other);
    }
    return nullptr;
  }

  // Runs exits and entries until the entered control is the focused one.
  void Settle(QWidget* form) {
    QPointer<QWidget> guard(form);
    if (StateOf(form).busy) return;  // the running handler's caller settles afterwards
    StateOf(form).busy = true;
    for (int round = 0; round < 16 && guard; ++round) {
      FormState& st = StateOf(form);
      QWidget* target = Target(form);
      if (!target || target == st.entered) break;
      if (QWidget* prev = st.entered) {
        st.entered = nullptr;
        FireExit(prev);
        continue;
      }
      if (QWidget* other = OtherEnteredForm(form, target)) {
        QPointer<QWidget> otherGuard(other);
        FormState& o = StateOf(other);
        QWidget* prev = o.entered;
        o.entered = nullptr;
        o.busy = true;
        FireExit(prev);
        if (otherGuard) StateOf(other).busy = false;
        continue;
      }
      st.entered = target;
      FireEnter(target);
    }
    if (guard) StateOf(form).busy = false;
  }

  void Leave(QWidget* control) {
    QPointer<QWidget> guard(control);
    QWidget* form = FocusTracker::FormOf(control);
    QPointer<QWidget> formGuard(form);
    FormState& st = StateOf(form);
    if (st.entered != control) return;
    const bool wasBusy = st.busy;
    st.busy = true;
    st.entered = nullptr;
    FireExit(control);
    if (guard) {
      QWidget* f = QApplication::focusWidget();
      if (f && (f == control || control->isAncestorOf(f))) f->clearFocus();
      control->clearFocus();
    }
    if (!formGuard) return;
    StateOf(form).busy = wasBusy;
    if (!wasBusy) Settle(form);
  }

 private:
  std::map<QObject*, FormState> forms_;
};

Tracker* TheTracker() {
  static QPointer<Tracker> tracker;
  if (!tracker && qApp) tracker = new Tracker;
  return tracker;
}

}  // namespace

void FocusTracker::Install() { TheTracker(); }

void FocusTracker::Leave(QWidget* control) {
  if (Tracker* t = TheTracker(); t && control) t->Leave(control);
}

QWidget* FocusTracker::FormOf(QWidget* w) {
  for (QWidget* p = w; p; p = p->parentWidget())
    if (p->isWindow() || qobject_cast<QMdiSubWindow*>(p)) return p;
  return w;
}

QWidget* FocusTracker::EnteredControl(QWidget* form) {
  Tracker* t = TheTracker();
  if (!t || !form || !t->Has(form)) return nullptr;
  return t->StateOf(form).entered;
}

}  // namespace fw
