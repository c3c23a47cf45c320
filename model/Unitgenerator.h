#pragma once
// TFormGenerator: the generator window. It holds the signal kind and the four parameter
// fields, owns the generator and its sampling period, and composes the generator's
// description each time it closes.
#include <string>

#include "model/Generator.h"
#include "platform/Forms.h"

class QComboBox;
class QGroupBox;
class QPushButton;
class TEditFloat;

class TFormGenerator : public platform::Dialog {
  Q_OBJECT

 public:
  explicit TFormGenerator(QWidget* parent = nullptr);

  QGroupBox* GroupBox1;  // "Сигнал"
  QComboBox* ComboBox1;  // the signal kind, model::SignalKind by index
  QGroupBox* GroupBox2;  // "Параметры"
  QGroupBox* GroupBox3;  // mean
  QGroupBox* GroupBox4;  // standard deviation
  QGroupBox* GroupBox5;  // amplitude
  QGroupBox* GroupBox6;  // frequency
  TEditFloat* EditFloatM;
  TEditFloat* EditFloatD;
  TEditFloat* EditFloatA;
  TEditFloat* EditFloatFr;
  QPushButton* Button1;  // "Готово"

  // Some setting was edited since the window was last shown.
  bool Changed = false;
  // The generator's description, recomposed at every close.
  std::string Description;

  model::Generator Gen;
  // Sampling period, ms (the model's setting lives here).
  double& SamplingPeriod = Gen.SamplingPeriod;

  // The kind and the current field values.
  model::GeneratorParams Params() const;
  // The field texts as displayed.
  model::GeneratorTexts Texts() const;
  // The description of the kind and the fields as they are now, as the next close keeps it.
  std::string CurrentDescription() const;
  // Resets the harmonic component with the current frequency.
  void Reset(int startIndex);
  // The next sample with the current settings.
  double NextSample();
  // n samples with the current settings, as n calls of NextSample.
  void Fill(double* out, int n);

  // Handlers.
  void ComboBox1Change();
  void EditFloatAExit(TEditFloat* Sender);
  void EditFloatAKeyDown(TEditFloat* Sender, int Key);
  void Button1Click();

 protected:
  void FormShow() override;
  void FormClose() override;
};

extern TFormGenerator* FormGenerator;
