// The speed buttons of the bench's and the chart viewer's tool bars are 23 x 22 as laid
// out on screen; the bench's "Масштаб" drop-down button keeps its own width.
#include <gtest/gtest.h>

#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "app/Diagramincreaseunit.h"
#include "app/Unit1.h"

TEST(ToolBars, SpeedButtonsAre23By22) {
  ShowSplashAtStart = false;
  TForm1 bench;
  bench.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&bench));
  for (QToolButton* b :
       {bench.SpeedButton1, bench.SpeedButton2, bench.SpeedButton3, bench.SpeedButton4}) {
    EXPECT_EQ(b->size(), QSize(23, 22)) << b->objectName().toStdString();
    EXPECT_TRUE(bench.ToolBar1->rect().contains(b->geometry()));
  }
  EXPECT_EQ(bench.ToolButton4->size(), QSize(39, 22));
  EXPECT_LT(bench.SpeedButton1->geometry().right(), bench.SpeedButton2->x());

  TDiagramIncrease viewer;
  viewer.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
  for (QToolButton* b : {viewer.SpeedButtonMeasure, viewer.SpeedButtonLimit,
                         viewer.SpeedButtonRetLim, viewer.SpeedButton1, viewer.SpeedButtonBmp,
                         viewer.SpeedButtonCopy, viewer.SpeedButtonClose})
    EXPECT_EQ(b->size(), QSize(23, 22)) << b->objectName().toStdString();
}
