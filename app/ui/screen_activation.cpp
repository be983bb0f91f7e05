#include "app/ui/screen_activation.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace app {

ScreenActivation::ScreenActivation(QWidget* form, std::function<void()> activate)
    : QObject(form), form_(form), activate_(std::move(activate)) {
  form_->installEventFilter(this);
  WatchWindow();
}

void ScreenActivation::WatchWindow() {
  auto* window = qobject_cast<QMdiSubWindow*>(form_->parentWidget());
  if (!window || window == window_) return;
  window_ = window;
  QMdiArea* area = window->mdiArea();
  if (!area) return;
  connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* active) {
    if (!active) return;
    const bool mine = active == window_;
    const bool changed = active != lastActive_;
    lastActive_ = active;
    if (mine && changed && activate_) activate_();
  });
}

bool ScreenActivation::eventFilter(QObject* watched, QEvent* e) {
  if (watched == form_) {
    if (e->type() == QEvent::ParentChange) {
      WatchWindow();
    } else if (e->type() == QEvent::Show && !shownOnce_) {
      shownOnce_ = true;
      if (!window_ && activate_) activate_();
    }
  }
  return QObject::eventFilter(watched, e);
}

}  // namespace app
