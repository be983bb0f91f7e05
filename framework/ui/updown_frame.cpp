#include "framework/ui/updown_frame.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <cmath>

#include "framework/convert.h"
#include "framework/input_state.h"
#include "framework/ui/controls.h"
#include "framework/ui/input_behaviour.h"
#include "platform/dc.h"
#include "platform/qt/qt_text.h"

namespace fw {

double UpDownValue = 0;

// ---- TUpDown ------------------------------------------------------------------------------------

TUpDown::TUpDown(QWidget* parent) : QAbstractSlider(parent) {
  setOrientation(Qt::Vertical);
  setFocusPolicy(Qt::NoFocus);
  setRange(0, 100);
  setSingleStep(1);
  connect(this, &QAbstractSlider::actionTriggered, this, [this](int) {
    // The position is set after this signal; the owner hears of it once it holds.
    QMetaObject::invokeMethod(
        this, [this] { if (OnClick && isEnabled()) OnClick(this); }, Qt::QueuedConnection);
  });
}

void TUpDown::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int half = height() / 2;
  const QRect halves[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
  for (int i = 0; i < 2; ++i) {
    QStyleOptionButton button;
    button.initFrom(this);
    button.rect = halves[i];
    if (pressed_ == (i == 0 ? 1 : -1)) button.state |= QStyle::State_Sunken;
    else button.state |= QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &p, this);
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = halves[i].adjusted(3, 2, -3, -2);
    style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow, &p, this);
  }
}

void TUpDown::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !isEnabled()) return;
  pressed_ = e->position().y() < height() / 2 ? 1 : -1;
  const SliderAction action = pressed_ > 0 ? SliderSingleStepAdd : SliderSingleStepSub;
  triggerAction(action);
  setRepeatAction(action);
  update();
}

void TUpDown::mouseReleaseEvent(QMouseEvent*) {
  pressed_ = 0;
  setRepeatAction(SliderNoAction);
  update();
}

// ---- TInpUpDnFrame ------------------------------------------------------------------------------

TInpUpDnFrame::TInpUpDnFrame(QWidget* parent) : QFrame(parent) {
  setObjectName("InpUpDnFrame");
  resize(120, 24);
  PNL_Inp = new QFrame(this);
  PNL_Inp->setObjectName("PNL_Inp");
  PNL_Inp->setGeometry(0, 0, 120, 24);
  PNL_1 = new QFrame(PNL_Inp);
  PNL_1->setObjectName("PNL_1");
  PNL_1->setFrameShape(QFrame::Panel);
  PNL_1->setFrameShadow(QFrame::Sunken);
  PNL_1->setGeometry(0, 0, 104, 24);
  LBL_1 = new QLabel(QStringLiteral("?????????????"), PNL_1);
  LBL_1->setObjectName("LBL_1");
  LBL_1->setGeometry(2, 2, 100, 20);
  LBL_1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QFont mono(QString::fromStdString(platform::SubstituteFace("ＭＳ ゴシック")));
  LBL_1->setFont(mono);
  UPDN_1 = new TUpDown(PNL_Inp);
  UPDN_1->setObjectName("UPDN_1");
  UPDN_1->setGeometry(104, 0, 16, 24);
  UPDN_1->OnClick = [this](QWidget*) { UpDownClick(); };
}

void TInpUpDnFrame::Setup(double minimum, double maximum, bool thousands, bool redWhenZero, int kind,
                          int increment) {
  UPDN_1->setRange(static_cast<int>(std::lround(minimum)), static_cast<int>(std::lround(maximum)));
  UPDN_1->setSingleStep(increment);
  UPDN_1->setPageStep(increment);
  thousands_ = thousands;
  redWhenZero_ = redWhenZero;
  kind_ = kind;
  const std::string text = fw::Cp932Of(LBL_1->text());
  if (text.empty()) {
    width_ = static_cast<int>(fw::Round(LBL_1->width() / 6.5));
    decimals_ = 0;
  } else {
    width_ = static_cast<int>(text.size());
    const size_t point = text.find('.');
    decimals_ = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
  }
  scale_ = std::pow(10.0, decimals_);
}

void TInpUpDnFrame::SetValue(double value) {
  UpDownValue = value;
  std::string text;
  if (kind_ == kReal)
    text = fw::FloatToTextDigits(value, width_, decimals_);
  else if (thousands_)
    text = fw::FormatNumberN(width_, value);
  else
    text = fw::IntToStrWidth(width_, fw::Round(value));
  LBL_1->setText(platform::ToQString(text));
  QPalette pal = LBL_1->palette();
  pal.setColor(QPalette::WindowText, redWhenZero_ && value == 0 ? QColor(Qt::red) : palette().color(QPalette::WindowText));
  LBL_1->setPalette(pal);
  const QSignalBlocker block(UPDN_1);
  UPDN_1->setValue(static_cast<int>(fw::Round(value * scale_)));
  fw::Input.InputChanged = false;
}

void TInpUpDnFrame::UpDownClick() {
  if (!UPDN_1->isEnabled()) return;
  fw::SetCurrentItemNo(this, 'N', 0);
  SetValue(UPDN_1->Position() / scale_);
  fw::Input.InputUnchanged = false;
  fw::Input.InputChanged = true;
  if (OnChange) OnChange(this);
}

void TInpUpDnFrame::resizeEvent(QResizeEvent* e) {
  QFrame::resizeEvent(e);
  PNL_Inp->setGeometry(0, 0, width(), height());
  PNL_1->setGeometry(0, 0, std::max(0, width() - 16), height());
  LBL_1->setGeometry(2, 2, std::max(0, width() - 20), std::max(0, height() - 4));
  UPDN_1->setGeometry(std::max(0, width() - 16), 0, 16, height());
  // A frame that changes its size on screen clears its label (the first layout does not).
  if (e->oldSize().isValid() && e->oldSize() != e->size()) LBL_1->clear();
}

}  // namespace fw
