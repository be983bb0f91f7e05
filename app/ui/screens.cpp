#include "app/ui/screens.h"

#include <map>

namespace app {

namespace {

std::map<int, ScreenEntry>& Registry() {
  static std::map<int, ScreenEntry> registry;
  return registry;
}

QWidget* CreatePlaceholder(int screen) {
  auto* form = new QWidget;
  form->setObjectName(QString::fromStdString(ScreenFormName(screen)));
  form->setWindowTitle(QString::fromStdString(ScreenCaption(screen)));
  form->setMinimumSize(200, 120);
  return form;
}

}  // namespace

void RegisterScreen(int screen, ScreenEntry entry) { Registry()[screen] = std::move(entry); }

std::optional<ScreenEntry> RegisteredScreen(int screen) {
  auto it = Registry().find(screen);
  if (it == Registry().end()) return std::nullopt;
  return it->second;
}

void UnregisterScreen(int screen) { Registry().erase(screen); }

ScreenEntry ScreenFactory(int screen) {
  auto it = Registry().find(screen);
  if (it != Registry().end() && it->second.create) return it->second;
  ScreenEntry placeholder;
  placeholder.create = [screen] { return CreatePlaceholder(screen); };
  placeholder.refresh = [](QWidget*, int) {};
  return placeholder;
}

std::string ScreenFormName(int screen) { return "HARV" + std::to_string(screen) + "Form"; }

std::string ScreenCaption(int screen) {
  switch (screen) {
    case 1:
      return "入力編集〔画面１〕";
    case 2:
      return "計算〔画面２〕";
    default:
      return "結果表示〔画面３〕";
  }
}

}  // namespace app
