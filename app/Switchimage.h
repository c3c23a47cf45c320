#pragma once
// TSwitchImage: an image control that draws a schematic switch on its own square canvas: a
// two-way switch (two contacts, one per channel) or an on/off switch (one contact, channel 0
// open, channel 1 closed), with its contacts on the left, right, top or bottom. A click
// fires OnClick and then flips the switch to the other channel (unless clicks are off).
// Every property change and every flip makes the control square, gives it a fresh picture
// and draws the whole switch again.
#include <cstdint>

#include "platform/GraphicsTypes.h"
#include "platform/Image.h"

enum CHANELS : std::uint8_t { swChanel0, swChanel1 };
enum SWITCH_TYPE : std::uint8_t { swSwitch, swSwitchOff };
// The side on which the contacts and their leads lie.
enum ORIENTATION : std::uint8_t { swLeft, swRight, swUP, swDown };
enum CLICK_SWITCH : std::uint8_t { swEnable, swDisable };

class TSwitchImage : public TImage {
  Q_OBJECT

 public:
  explicit TSwitchImage(QWidget* Owner = nullptr);

  CHANELS GetChanel() const { return Chanel; }
  void SetChanel(CHANELS c);
  SWITCH_TYPE GetSwitchType() const { return SwitchType; }
  void SetSwitchType(SWITCH_TYPE t);
  ORIENTATION GetOrientation() const { return Orientation; }
  void SetOrientation(ORIENTATION o);
  TColor GetBrushColor() const { return BrushColor; }
  void SetBrushColor(TColor c);
  TBrushStyle GetBrushStyle() const { return BrushStyle; }
  void SetBrushStyle(TBrushStyle s);
  TPenStyle GetPenStyle() const { return PenStyle; }
  void SetPenStyle(TPenStyle s);
  TColor GetPenColor() const { return PenColor; }
  void SetPenColor(TColor c);
  std::uint16_t GetWidthLine() const { return WidthLine; }
  // 0 is stored as 1.
  void SetWidthLine(std::uint16_t w);

  // Whether a click flips the channel; changing it draws nothing.
  CLICK_SWITCH ClickSwitch = swEnable;

  // Fires OnClick (inherited from the image control) and then, with ClickSwitch swEnable,
  // flips the channel; so OnClick still sees the channel as it was clicked.
  void Click() override;
  // Turns the switch to the other channel.
  void ReSwitch();
  // Makes the control square, gives it a fresh picture and draws the switch by its
  // orientation. Nothing is drawn when the picture cannot be allocated.
  void DrawSwitch();

 protected:
  // The control becomes a square of its larger side with a fresh picture cleared with the
  // brush; false (with a message, the previous picture kept) when the picture cannot be
  // allocated.
  bool CanvaSizeSwitch();
  void DrawLeftSwitch();
  void DrawRightSwitch();
  void DrawUpSwitch();
  void DrawDownSwitch();
  void SwitchBrushIni();
  void SwitchPenIni();
  void CanvasClearSwitch();

 private:
  void DrawShape(ORIENTATION orientation);

  CHANELS Chanel = swChanel0;
  SWITCH_TYPE SwitchType = swSwitch;
  ORIENTATION Orientation = swLeft;
  TColor BrushColor = clWhite;
  TBrushStyle BrushStyle = bsSolid;
  TPenStyle PenStyle = psSolid;
  TColor PenColor = clBlack;
  std::uint16_t WidthLine = 1;
};

// The message when the switch's picture cannot be allocated (exact text).
extern const char* const SwitchNoMemoryMessage;
