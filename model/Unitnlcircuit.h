#pragma once
// TFormCircuit: the nonlinear-circuit window. The active tab is the selected
// characteristic; the sixteen fields hold the parameters of the eight characteristics.
// Each close orders the limiter's pairs, writes them back, derives the slope and the
// intercept of its sloping segment and composes the description.
#include <array>
#include <string>

#include "model/Circuit.h"
#include "platform/Forms.h"

class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class TEditFloat;

class TFormCircuit : public platform::Dialog {
  Q_OBJECT

 public:
  explicit TFormCircuit(QWidget* parent = nullptr);

  QTabWidget* PageControl1;                         // tabs "Цепь 1" .. "Цепь 8"
  std::array<QFrame*, model::CircuitCount> Panels;  // lowered panel around each picture
  std::array<QLabel*, model::CircuitCount> Images;  // the 300 x 250 drawings
  TEditFloat* EditFloat1;
  TEditFloat* EditFloat2;
  TEditFloat* EditFloat3;
  TEditFloat* EditFloat4;
  TEditFloat* EditFloat5;
  TEditFloat* EditFloat6;
  TEditFloat* EditFloat7;
  TEditFloat* EditFloat8;
  TEditFloat* EditFloat9;
  TEditFloat* EditFloat10;
  TEditFloat* EditFloat11;
  TEditFloat* EditFloat12;
  TEditFloat* EditFloat13;
  TEditFloat* EditFloat14;
  TEditFloat* EditFloat15;
  TEditFloat* EditFloat16;
  // The same sixteen fields in order, EditFloat1 at index 0.
  std::array<TEditFloat*, 16> Fields;
  std::array<QGroupBox*, 16> Groups;
  QPushButton* Button1;  // "Готово"

  bool Changed = false;
  // Slope and intercept of the sloping segment of circuit 2, derived at close.
  double k = 1;
  double c = 0;
  std::string Description = model::DescribeCircuit(0);

  // The selected characteristic, the current field values and k, c.
  model::CircuitParams Params() const;
  // The value of the selected characteristic at x.
  double Transfer(double x) const;

  // Handlers.
  void PageControl1Change();
  void EditFloat1Exit(TEditFloat* Sender);
  void EditFloat1KeyDown(TEditFloat* Sender, int Key);
  void Button1Click();

 protected:
  void FormShow() override;
  void FormClose() override;
};

extern TFormCircuit* FormCircuit;
