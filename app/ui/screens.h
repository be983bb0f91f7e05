// The three screens of the main window, as a small registry: each screen module has a
// registration function saying how its form is created and refreshed, the main window calls
// them when it is created (for the screens that have no entry yet, so that an entry registered
// before, such as a test's, stays) and asks the registry. A screen without an entry opens as an empty MDI child with its caption.
//
// Screen forms are QWidgets named "HARV1Form", "HARV2Form" and "HARV3Form" (their window
// titles are their captions); the main window puts each into an MDI sub-window.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

namespace app {

struct ScreenEntry {
  // A new form (objectName and window title set), without a parent.
  std::function<QWidget*()> create;
  // The screen's refresh entry, run after the form was opened or shown: `tag` is the command
  // that opened it (1 edit, 2 calculation, 3 results, 4 analysis, 5 weather); screen 3 also
  // selects its page (index 0 for tag 3, else tag - 1) and runs its page-change handler.
  std::function<void(QWidget* form, int tag)> refresh;
};

// Registers screen 1, 2 or 3 (a later registration replaces an earlier one; an empty entry
// stands for the placeholder).
void RegisterScreen(int screen, ScreenEntry entry);
// The entry registered for a screen, if any; removing it.
std::optional<ScreenEntry> RegisteredScreen(int screen);
void UnregisterScreen(int screen);
// The registered entry, or the empty placeholder of the screen.
ScreenEntry ScreenFactory(int screen);
// "HARV1Form" ... (UTF-8, as objectName).
std::string ScreenFormName(int screen);
// "入力編集〔画面１〕", "計算〔画面２〕", "結果表示〔画面３〕" (UTF-8).
std::string ScreenCaption(int screen);

}  // namespace app
