// Activation of a screen form inside the main window's MDI area, as the screens understand
// it: the screen becoming the active screen after another one (or after none). A screen that
// is deactivated and reactivated because a dialog opened or the application lost the focus is
// not activated again. A form shown outside an MDI area is activated once, when first shown.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QMdiSubWindow;
class QWidget;

namespace app {

class ScreenActivation : public QObject {
  Q_OBJECT
 public:
  // Watches `form` (and becomes its child); `activate` is the form's activation routine.
  ScreenActivation(QWidget* form, std::function<void()> activate);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void WatchWindow();

  QWidget* form_;
  std::function<void()> activate_;
  QMdiSubWindow* window_ = nullptr;     // the MDI window holding the form
  QPointer<QMdiSubWindow> lastActive_;  // the MDI window active last
  bool shownOnce_ = false;
};

}  // namespace app
