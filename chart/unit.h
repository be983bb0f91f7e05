// Counted start-up and shut-down of the library's units. Every part that needs a unit starts
// it and stops it again; only the outermost start-up and the last shut-down act, so the
// program-wide state of a unit (texts, palette, default font) lives exactly as long as some
// part uses it. Extra shut-downs are ignored.
#pragma once

namespace chart {

class UnitCounter {
 public:
  constexpr UnitCounter(void (*startup)(), void (*shutdown)()) : startup_(startup), shutdown_(shutdown) {}
  void Start() {
    if (count_++ == 0) startup_();
  }
  void Stop() {
    if (count_ > 0 && --count_ == 0) shutdown_();
  }
  int Count() const { return count_; }

 private:
  void (*startup_)();
  void (*shutdown_)();
  int count_ = 0;
};

// Starts every unit of the library in the order they build on one another (texts, canvas,
// routines) and stops them in reverse; one scope per program or test is enough.
class ChartLibraryScope {
 public:
  ChartLibraryScope();
  ~ChartLibraryScope();
  ChartLibraryScope(const ChartLibraryScope&) = delete;
  ChartLibraryScope& operator=(const ChartLibraryScope&) = delete;
};

}  // namespace chart
