// Entry and exit of input controls. A form remembers its entered control (as the original
// forms remember their active control); when the focus moves to another control of the same
// form, the exit handler of the entered control runs, then the entry handler of the new one.
// Focus that leaves the window (another window, a popup list, a message box) and comes back
// to the same control fires nothing. While an exit or entry handler runs (it may show a
// message box or move the focus), further focus changes of that form are settled afterwards,
// in order, so no handler runs inside another one of the same form.
//
// The input state is one for the whole program: before an input control of one form is
// entered, an input control still entered in another form of the same window (an MDI screen
// and the main window around it) is left, its exit handler running first.
//
// A form is the nearest window or MDI sub-window around a widget.
#pragma once

#include <QWidget>

namespace fw {

class FocusTracker {
 public:
  // Connects the tracker to the application (idempotent; needs a QApplication).
  static void Install();
  // Ends the input of the control as leaving it would: its exit handler runs now and it loses
  // the focus, so that the next click on it enters it again. Nothing when it is not entered.
  static void Leave(QWidget* control);
  // The form a widget belongs to.
  static QWidget* FormOf(QWidget* w);
  // The control of the form that is entered (none when no entry has run).
  static QWidget* EnteredControl(QWidget* form);
};

}  // namespace fw
