// The numeric up-down frame: one number in a label, changed by an up-down control, for
// integers or decimals with a fixed number of decimals. Screen 3 uses it for its
// precipitation threshold and its year.
//
// TUpDown is the up-down control itself: two arrow buttons over a position with minimum,
// maximum and increment (a QAbstractSlider, so the silent setters of the form utilities work
// on it). A press of an arrow moves the position by the increment, held within the range, and
// the owner hears of it through OnClick; holding the button repeats.
#pragma once

#include <QAbstractSlider>
#include <QFrame>
#include <functional>
#include <string>

class QLabel;

namespace fw {

class TUpDown : public QAbstractSlider {
  Q_OBJECT
 public:
  explicit TUpDown(QWidget* parent = nullptr);
  int Position() const { return value(); }
  // Called after the user moved the position (not after a programmatic change).
  std::function<void(QWidget* sender)> OnClick;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  int pressed_ = 0;  // 1 up, -1 down
};

// The value the up-down frames pass on (the input state's up-down value).
extern double UpDownValue;

class TInpUpDnFrame : public QFrame {
  Q_OBJECT
 public:
  enum Kind : unsigned char { kReal = 4, kInteger = 5 };

  explicit TInpUpDnFrame(QWidget* parent = nullptr);

  QFrame* PNL_Inp;
  TUpDown* UPDN_1;
  QFrame* PNL_1;
  QLabel* LBL_1;  // design text "?????????????"

  // Range and increment of the up-down; width and decimals from the label's current text
  // (its length, and the characters after its "."); an empty label gives its pixel width / 6.5.
  void Setup(double minimum, double maximum, bool thousands, bool redWhenZero, int kind, int increment);
  // Shows the value (UpDownValue too), colours it, sets the up-down position and clears the
  // input state's changed flag.
  void SetValue(double value);
  // The user moved the up-down: the value is position / scale, the input counts as changed and
  // OnChange tells the owner.
  void UpDownClick();

  int Kind() const { return kind_; }
  int Width() const { return width_; }
  int Decimals() const { return decimals_; }
  double Scale() const { return scale_; }
  bool Thousands() const { return thousands_; }
  bool RedWhenZero() const { return redWhenZero_; }

  std::function<void(TInpUpDnFrame* sender)> OnChange;

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  int kind_ = kInteger;
  bool redWhenZero_ = false;
  int width_ = 0;
  int decimals_ = 0;
  double scale_ = 1;
  bool thousands_ = false;
};

}  // namespace fw
