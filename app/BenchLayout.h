#pragma once
// Design geometry of the bench panel (952 x 477 at 100 %): the twelve hot-spots that sit
// over the devices of the bench picture and the four reading labels inside the indicator
// boxes. The bench window places its controls here, and the program that draws the bench
// picture draws each device box exactly under its hot-spot.

namespace bench {

struct Rect {
  int left, top, width, height;
  constexpr int right() const { return left + width; }   // one past the last column
  constexpr int bottom() const { return top + height; }  // one past the last row
  bool operator==(const Rect&) const = default;
};

constexpr int PanelWidth = 952;
constexpr int PanelHeight = 477;

constexpr Rect Image2{115, 26, 238, 87};    // generator
constexpr Rect Image3{585, 24, 240, 89};    // nonlinear circuit
constexpr Rect Image4{32, 136, 241, 89};    // oscilloscope, circuit input
constexpr Rect Image5{285, 248, 124, 89};   // density meter, input
constexpr Rect Image6{35, 248, 238, 97};    // density indicator, input
constexpr Rect Image7{288, 360, 129, 97};   // correlometer, input
constexpr Rect Image8{33, 360, 240, 97};    // correlometer indicator, input
constexpr Rect Image9{679, 136, 242, 89};   // oscilloscope, circuit output
constexpr Rect Image10{542, 248, 128, 97};  // density meter, output
constexpr Rect Image11{684, 247, 237, 98};  // density indicator, output
constexpr Rect Image12{537, 360, 132, 97};  // correlometer, output
constexpr Rect Image13{680, 360, 241, 97};  // correlometer indicator, output

constexpr Rect LabelIpvIn{83, 305, 129, 20};
constexpr Rect LabelKorIn{84, 417, 129, 20};
constexpr Rect LabelIpvOut{739, 305, 129, 20};
constexpr Rect LabelKorOut{740, 417, 129, 20};

}  // namespace bench
