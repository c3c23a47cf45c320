#include "model/Unitnlcircuit.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "app/Editfloatunit.h"
#include "platform/Modal.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/ModalScript.h"
#include "tests/support/WidgetInput.h"

namespace {

void ClickTab(TFormCircuit& c, int index) {
  QTabBar* bar = c.PageControl1->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

}  // namespace

TEST(CircuitWindow, DesignAsBuilt) {
  MessageRecorder rec;
  TFormCircuit c;
  EXPECT_EQ(c.windowTitle().toStdString(), "Нелинейная безынерционная цепь");
  EXPECT_EQ(c.size(), QSize(524, 371));
  EXPECT_FALSE(c.windowFlags().testFlag(Qt::WindowCloseButtonHint));
  ASSERT_EQ(c.PageControl1->count(), 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(c.PageControl1->tabText(i), QString::fromUtf8("Цепь %1").arg(i + 1));
    EXPECT_EQ(c.Images[i]->size(), QSize(300, 250));
    EXPECT_EQ(c.Panels[i]->frameShadow(), QFrame::Sunken);
    EXPECT_TRUE(c.PageControl1->widget(i)->isAncestorOf(c.Images[i]));
    EXPECT_LT(c.Panels[i]->geometry().right(), 320);  // the picture on the left
  }
  EXPECT_EQ(c.PageControl1->currentIndex(), 0);
  const TEditFloat* named[16] = {c.EditFloat1,  c.EditFloat2,  c.EditFloat3,  c.EditFloat4,
                                 c.EditFloat5,  c.EditFloat6,  c.EditFloat7,  c.EditFloat8,
                                 c.EditFloat9,  c.EditFloat10, c.EditFloat11, c.EditFloat12,
                                 c.EditFloat13, c.EditFloat14, c.EditFloat15, c.EditFloat16};
  for (int i = 0; i < 16; ++i) {
    const model::CircuitField& d = model::CircuitFields[i];
    EXPECT_EQ(named[i], c.Fields[i]);
    EXPECT_EQ(c.Groups[i]->title().toStdString(), d.caption) << i;
    EXPECT_TRUE(c.PageControl1->widget(d.page)->isAncestorOf(c.Fields[i])) << i;
    EXPECT_GT(c.Groups[i]->x(), 300) << i;  // the fields on the right
    EXPECT_EQ(c.Fields[i]->Min(), d.min) << i;
    EXPECT_EQ(c.Fields[i]->Max(), d.max) << i;
    EXPECT_EQ(c.Fields[i]->Val(), d.initial) << i;
    EXPECT_TRUE(c.Fields[i]->CorrMsg()) << i;
  }
  EXPECT_EQ(c.EditFloat15->TextUtf8(), "0,1");
  EXPECT_EQ(c.EditFloat3->TextUtf8(), "-1");
  EXPECT_EQ(c.k, 1);
  EXPECT_EQ(c.c, 0);
  EXPECT_EQ(c.Description, "Нелинейная безынерционная цепь: цепь 1");
  EXPECT_TRUE(rec.texts.empty());
}

TEST(CircuitWindow, SwitchingATabAndBackCountsAsAChange) {
  TFormCircuit c;
  ModalScript script;
  script.Then([&](QDialog&) {
    ClickTab(c, 4);
    EXPECT_EQ(c.PageControl1->currentIndex(), 4);
    ClickTab(c, 0);
    QTest::mouseClick(c.Button1, Qt::LeftButton);
  });
  platform::ShowModal(c);
  EXPECT_TRUE(c.Changed);
  EXPECT_EQ(c.Description, "Нелинейная безынерционная цепь: цепь 1");

  // The next showing starts unchanged; an untouched close stays unchanged.
  script.Then([&](QDialog&) {
    EXPECT_FALSE(c.Changed);
    c.Button1->click();
  });
  platform::ShowModal(c);
  EXPECT_FALSE(c.Changed);
}

TEST(CircuitWindow, CloseDescribesTheSelectedCircuitAndTransferFollowsIt) {
  MessageRecorder rec;
  TFormCircuit c;
  ModalScript script;
  script.Then([&](QDialog&) {
    ClickTab(c, 3);
    input::TypeInto(*c.EditFloat8, "2");
    QTest::keyClick(c.EditFloat8, Qt::Key_Enter);
    c.Button1->click();
  });
  platform::ShowModal(c);
  EXPECT_TRUE(c.Changed);
  EXPECT_EQ(c.Description, "Нелинейная безынерционная цепь: цепь 4");
  EXPECT_EQ(c.Params().page, 3);
  EXPECT_EQ(c.Transfer(3), 18);  // 2 * 3 * 3
  // The other tabs keep their values.
  EXPECT_EQ(c.EditFloat7->Val(), 1);
  EXPECT_TRUE(rec.texts.empty());
}

TEST(CircuitWindow, LimiterLevelsAreStoredOrderedAtClose) {
  MessageRecorder rec;
  TFormCircuit c;
  ModalScript script;
  script.Then([&](QDialog&) {
    ClickTab(c, 1);
    input::TypeInto(*c.EditFloat5, "1");
    input::TypeInto(*c.EditFloat6, "0.5");
    QTest::mouseClick(c.Button1, Qt::LeftButton);
  });
  platform::ShowModal(c);
  EXPECT_EQ(c.EditFloat5->Val(), 0.5);
  EXPECT_EQ(c.EditFloat6->Val(), 1);
  EXPECT_EQ(c.EditFloat5->TextUtf8(), "0,5");
  EXPECT_EQ(c.EditFloat6->TextUtf8(), "1");
  // Segment from (-1, 0.5) to (1, 1).
  EXPECT_EQ(c.k, 0.25);
  EXPECT_EQ(c.c, 0.75);
  EXPECT_EQ(c.Transfer(-5), 0.5);
  EXPECT_EQ(c.Transfer(0), 0.75);
  EXPECT_EQ(c.Transfer(5), 1);
  EXPECT_EQ(c.Description, "Нелинейная безынерционная цепь: цепь 2");
  EXPECT_TRUE(rec.texts.empty());
}

TEST(CircuitWindow, LimiterSlopeFollowsTheStoredLevels) {
  MessageRecorder rec;
  TFormCircuit c;
  c.PageControl1->setCurrentIndex(1);
  // Values with more digits than the fields show are written back as shown, and the
  // segment is derived from what the fields then hold.
  c.EditFloat4->SetVal0(0.5);
  c.EditFloat3->SetVal0(0.1234567);
  c.EditFloat6->SetVal0(2);
  c.EditFloat5->SetVal0(0.7654321);
  ModalScript script;
  script.Then([&](QDialog&) { c.Button1->click(); });
  platform::ShowModal(c);
  EXPECT_EQ(c.EditFloat3->Val(), 0.123457);
  EXPECT_EQ(c.EditFloat5->Val(), 0.765432);
  EXPECT_DOUBLE_EQ(c.Transfer(0.123457), 0.765432);  // the segment meets the lower level
  EXPECT_DOUBLE_EQ(c.Transfer(0.5), 2);
  // Crossed levels at the same x: x1 = x2 after ordering gives the middle there.
  c.EditFloat3->SetVal(0.5);
  c.EditFloat4->SetVal(0.5);
  script.Then([&](QDialog&) { c.Button1->click(); });
  platform::ShowModal(c);
  EXPECT_EQ(c.k, 0);
  EXPECT_EQ(c.c, 0);
  EXPECT_EQ(c.Transfer(0.5), (0.765432 + 2) * 0.5);
  EXPECT_TRUE(rec.texts.empty());
}

TEST(CircuitWindow, OutOfRangeParameterIsCorrectedWithTheMessage) {
  MessageRecorder rec;
  TFormCircuit c;
  ModalScript script;
  script.Then([&](QDialog&) {
    ClickTab(c, 7);
    input::TypeInto(*c.EditFloat15, "5");
    QTest::keyClick(c.EditFloat15, Qt::Key_Return);
    input::TypeInto(*c.EditFloat16, "");
    QTest::mouseClick(c.Button1, Qt::LeftButton);
  });
  platform::ShowModal(c);
  EXPECT_EQ(c.EditFloat15->Val(), 1);
  EXPECT_EQ(c.EditFloat16->Val(), 5.05);
  EXPECT_EQ(rec.texts, (std::vector<std::string>{editfloat::MsgAboveMaxCorrected,
                                                 editfloat::MsgNotNumberCorrected}));
}
