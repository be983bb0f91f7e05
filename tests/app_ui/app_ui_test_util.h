// Helpers of the window tests: a temporary copy of the installed tree (the committed
// data/tree, without the weather files built at build time) with the program file placed in
// it, and a fixture that starts the main window there with scripted message boxes.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <memory>
#include <string>

#include "model/sim/run_state.h"
#include "app/ui/main_window.h"
#include "app/ui/program_state.h"
#include "app/ui/screens.h"
#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "framework/ui/controls.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/path.h"
#include "support/test_support.h"

namespace apptest {

using testsupport::S;
using testsupport::U;

// The bytes of a file (empty when it cannot be read).
inline std::string FileText(const std::string& path) {
  std::string bytes;
  platform::ReadFileBytes(path, bytes);
  return bytes;
}

// Deletes the windows whose deletion was deferred.
inline void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// A copy of data/tree in a temporary folder; the program file is "harvsim" in its root.
class InstalledTree {
 public:
  InstalledTree() {
    std::filesystem::copy(testsupport::SourceDir() + "/data/tree", folder_.native(),
                          std::filesystem::copy_options::recursive);
    fw::ExecutablePath = folder_.inside() + "harvsim";
  }
  ~InstalledTree() { fw::ExecutablePath.clear(); }

  // Inside path of a path (UTF-8, '/' separators) in the tree.
  std::string Path(const std::string& relativeUtf8) const { return folder_.Path(relativeUtf8); }
  std::string Native(const std::string& relativeUtf8) const { return folder_.native() + relativeUtf8; }
  const std::string& Root() const { return folder_.inside(); }

  // Writes settings rows 12, 13 and 14 (the last calculation file) into "DATA\利用環境.WIN".
  void SetLastFile(const std::string& row12, const std::string& row13, const std::string& row14) const {
    const std::string path = Path("DATA/利用環境.WIN");
    ASSERT_TRUE(fw::DataLoad(path));
    fw::TTableBuffer& t = fw::TableBuffer;
    const std::string rows[3] = {row12, row13, row14};
    for (int i = 0; i < 3; ++i) {
      t.TableKeys[static_cast<size_t>(13 + i)] = rows[i];
      t.TableCells[static_cast<size_t>(13 + i)][1] = rows[i];
    }
    ASSERT_TRUE(fw::DataSave(path));
  }

  // Copies the sample case to `relativeUtf8`.
  void CopySample(const std::string& relativeUtf8) const {
    const std::string to = Path(relativeUtf8);
    fw::SplitFileName(to);
    platform::MakeFolders(fw::FileDir);
    ASSERT_TRUE(platform::CopyFileBytes(Path("CAL/HVS/TEST_HVS.HVS"), to));
  }

 private:
  testsupport::TempFolder folder_;
};

// Starts the main window in a fresh installed tree; message boxes are answered by `ui`.
// The screens open as their empty placeholders, so these tests see the main window alone.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int screen = 1; screen <= 3; ++screen) {
      saved_[static_cast<size_t>(screen)] = app::RegisteredScreen(screen);
      app::RegisterScreen(screen, {});
    }
    fw::Input = fw::InputControlState{};  // no field being edited, whatever ran before
  }
  void TearDown() override {
    for (int screen = 1; screen <= 3; ++screen) {
      const std::optional<app::ScreenEntry>& saved = saved_[static_cast<size_t>(screen)];
      if (saved) {
        app::RegisterScreen(screen, *saved);
      } else {
        app::UnregisterScreen(screen);
      }
    }
    form.reset();
    FlushDeletes();
    app::Calculating = false;
    app::PlaybackRunning = false;
    app::InputComplete = false;
    fw::Input = fw::InputControlState{};
  }

  app::THARVForm& Start() {
    form = std::make_unique<app::THARVForm>();
    return *form;
  }

  // Marks the case as changed, as a screen does after a commit.
  void EditTitle(const std::string& utf8) {
    fw::RecSS1.S[1] = S(utf8);
    ASSERT_TRUE(fw::WriteRecSS1(fw::CalcData, 1000));
    fw::DataState.Modified = 1;
    form->RefreshHeader();
  }

  bool ShownContains(const std::string& utf8) const {
    for (const auto& s : ui.shown)
      if (s.text.find(S(utf8)) != std::string::npos) return true;
    return false;
  }

  testsupport::FakeUi ui;
  InstalledTree tree;
  std::unique_ptr<app::THARVForm> form;

 private:
  std::array<std::optional<app::ScreenEntry>, 4> saved_;
};

}  // namespace apptest
