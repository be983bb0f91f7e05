// A status bar for tests: records every panel text, and a scope that installs it as the main
// window's status bar (with a stand-in main form) for the lifetime of a test.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "framework/messages.h"

namespace testsupport {

class FakeStatusBar final : public fw::StatusBarSink {
 public:
  std::array<std::string, 4> panels;
  std::vector<std::string> panel0History;  // every text panel 0 was given, in order
  std::string hint;
  int repaints = 0;

  void SetPanelText(int panel, const std::string& text) override {
    panels.at(static_cast<size_t>(panel)) = text;
    if (panel == 0) panel0History.push_back(text);
  }
  void SetHint(const std::string& text) override { hint = text; }
  void Repaint() override { ++repaints; }

  // True when some panel-0 text contained `cp932`.
  bool Showed(const std::string& cp932) const {
    for (const auto& t : panel0History)
      if (t.find(cp932) != std::string::npos) return true;
    return false;
  }
};

class StatusBarScope {
 public:
  StatusBarScope() {
    fw::MainForm = &form_;
    fw::MainStatusBar = &bar;
  }
  ~StatusBarScope() {
    fw::MainForm = nullptr;
    fw::MainStatusBar = nullptr;
  }
  StatusBarScope(const StatusBarScope&) = delete;
  StatusBarScope& operator=(const StatusBarScope&) = delete;

  FakeStatusBar bar;

 private:
  int form_ = 0;
};

}  // namespace testsupport
