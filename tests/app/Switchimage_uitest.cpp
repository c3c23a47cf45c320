// The switch control: its square canvas, its clicks and the pixels of its lever in every
// orientation, type and channel.
#include "app/Switchimage.h"

#include <gtest/gtest.h>

#include <QTest>
#include <string>
#include <vector>

#include "tests/support/MessageRecorder.h"

namespace {

constexpr int Side = 90;  // r = 10: lever ends well apart from every other line

TColor At(TSwitchImage& s, int x, int y) {
  return FromQRgb(s.Picture().Image().pixel(x, y));
}

// The switch at Side x Side, white brush, black pen.
struct Switch {
  TSwitchImage s;
  Switch(ORIENTATION o, SWITCH_TYPE t, CHANELS c) {
    s.resize(Side, Side);
    s.SetOrientation(o);
    s.SetSwitchType(t);
    s.SetChanel(c);
  }
};

}  // namespace

TEST(SwitchImage, StartsAsASquareTwoWaySwitchAndStaysSquare) {
  TSwitchImage s;
  EXPECT_EQ(s.size(), QSize(50, 50));
  EXPECT_EQ(s.Picture().Image().size(), QSize(50, 50));
  EXPECT_EQ(s.GetChanel(), swChanel0);
  EXPECT_EQ(s.GetSwitchType(), swSwitch);
  EXPECT_EQ(s.GetOrientation(), swLeft);
  EXPECT_EQ(s.ClickSwitch, swEnable);
  EXPECT_EQ(s.GetBrushColor(), clWhite);
  EXPECT_EQ(s.GetPenColor(), clBlack);
  EXPECT_EQ(s.GetWidthLine(), 1);

  s.resize(80, 50);  // the next redraw makes a square of the larger side
  s.SetPenColor(clRed);
  EXPECT_EQ(s.size(), QSize(80, 80));
  EXPECT_EQ(s.Picture().Image().size(), QSize(80, 80));
  EXPECT_EQ(At(s, 0, 40), clRed);  // the frame in the new pen colour
  s.resize(30, 70);
  s.SetBrushColor(clYellow);
  EXPECT_EQ(s.size(), QSize(70, 70));
  EXPECT_EQ(At(s, 35, 2), clYellow);  // background in the new brush colour
}

TEST(SwitchImage, ClicksAlternateTheChannelAfterOnClick) {
  TSwitchImage s;
  s.show();
  std::vector<CHANELS> seen;
  s.OnClick = [&](QObject* sender) {
    EXPECT_EQ(sender, &s);
    seen.push_back(s.GetChanel());
  };
  for (int i = 0; i < 3; ++i) QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(25, 25));
  EXPECT_EQ(seen, (std::vector<CHANELS>{swChanel0, swChanel1, swChanel0}));
  EXPECT_EQ(s.GetChanel(), swChanel1);

  s.ClickSwitch = swDisable;  // only the event fires
  QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(25, 25));
  EXPECT_EQ(seen.size(), 4u);
  EXPECT_EQ(s.GetChanel(), swChanel1);
  s.ReSwitch();
  EXPECT_EQ(s.GetChanel(), swChanel0);
}

TEST(SwitchImage, LineWidthZeroDrawsOnePixelLines) {
  Switch w(swLeft, swSwitch, swChanel0);
  const int ym = Side / 2;
  const int x = Side - 6;  // on the output lead
  w.s.SetWidthLine(3);
  EXPECT_EQ(At(w.s, x, ym - 1), clBlack);
  EXPECT_EQ(At(w.s, x, ym + 1), clBlack);
  w.s.SetWidthLine(0);
  EXPECT_EQ(w.s.GetWidthLine(), 1);
  EXPECT_EQ(At(w.s, x, ym), clBlack);
  EXPECT_EQ(At(w.s, x, ym - 1), clWhite);
  EXPECT_EQ(At(w.s, x, ym + 1), clWhite);
}

TEST(SwitchImage, LeverEndsInEveryOrientationTypeAndChannel) {
  const int r = Side / 9, xa = Side / 4, xb = Side - xa, q = Side / 4, m = Side / 2;
  struct Ends {
    ORIENTATION o;
    QPoint channel0, channel1Two, channel1OnOff;
    QPoint closedOnOff;  // between the single contact and the pivot: drawn only when closed
  };
  const Ends all[] = {
      {swLeft, {xa - r / 2, q - r / 3}, {xa - r / 2, Side - q + r / 3}, {xa - r / 2, m}, {m, m}},
      {swRight, {xb + r / 2, q - r / 3}, {xb + r / 2, Side - q + r / 3}, {xb + r / 2, m}, {m, m}},
      {swUP, {xa - r / 3, q - r / 2}, {xb + r / 3, q - r / 2}, {m, q - r / 2}, {m, m}},
      {swDown,
       {xa - r / 3, Side - q + r / 2},
       {xb + r / 3, Side - q + r / 2},
       {m, Side - q + r / 2},
       {m, m}},
  };
  for (const Ends& e : all) {
    const std::string at = "orientation " + std::to_string(e.o);
    Switch two(e.o, swSwitch, swChanel0);
    EXPECT_EQ(At(two.s, e.channel0.x(), e.channel0.y()), clBlack) << at;
    EXPECT_EQ(At(two.s, e.channel1Two.x(), e.channel1Two.y()), clWhite) << at;
    two.s.ReSwitch();
    EXPECT_EQ(At(two.s, e.channel0.x(), e.channel0.y()), clWhite) << at;
    EXPECT_EQ(At(two.s, e.channel1Two.x(), e.channel1Two.y()), clBlack) << at;

    Switch onOff(e.o, swSwitchOff, swChanel0);  // open: the lever points away
    EXPECT_EQ(At(onOff.s, e.channel0.x(), e.channel0.y()), clBlack) << at;
    EXPECT_EQ(At(onOff.s, e.closedOnOff.x(), e.closedOnOff.y()), clWhite) << at;
    onOff.s.ReSwitch();  // closed: the lever crosses the contact
    EXPECT_EQ(At(onOff.s, e.channel0.x(), e.channel0.y()), clWhite) << at;
    EXPECT_EQ(At(onOff.s, e.channel1OnOff.x(), e.channel1OnOff.y()), clBlack) << at;
    EXPECT_EQ(At(onOff.s, e.closedOnOff.x(), e.closedOnOff.y()), clBlack) << at;
  }
}

TEST(SwitchImage, APictureThatCannotBeAllocatedKeepsThePreviousOne) {
  Switch w(swLeft, swSwitch, swChanel0);
  MessageRecorder rec;
  w.s.resize(QWIDGETSIZE_MAX, 10);  // a square of that side needs petabytes
  w.s.SetChanel(swChanel1);
  ASSERT_EQ(rec.texts.size(), 1u);
  EXPECT_EQ(rec.texts[0], "TSwitchImage::CanvaSizeSwitch: отказано в динамической памяти");
  EXPECT_EQ(w.s.Picture().Image().size(), QSize(Side, Side));
  const int r = Side / 9;
  EXPECT_EQ(At(w.s, Side / 4 - r / 2, Side / 4 - r / 3), clBlack);  // still channel 0
}
