#include "app/DiagramIncreaseRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "chart/DiagramGeometry.h"

namespace viewer {

namespace {

// A decimal number 0.d1 d2 d3 ... x 10^exponent with digits "d1 d2 ...", no trailing zeros;
// no digits means zero.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

// v with at most `significant` significant digits and at most `decimals` digits after the
// point. The value is first written with eighteen significant digits (correctly rounded),
// then rounded half away from zero at the wanted position.
Decimal ToDecimal(double v, int significant, int decimals) {
  Decimal d;
  if (v == 0) return d;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17e", std::fabs(v));  // d.ddddddddddddddddde[+-]xx
  std::string digits;
  digits += buf[0];
  const char* p = buf + 2;
  while (*p != 'e') digits += *p++;
  const int exponent = std::atoi(p + 1) + 1;

  const int keep = std::min(significant, exponent + decimals);
  if (keep < 0) return d;  // below half of the last decimal: zero
  std::string kept = digits.substr(0, static_cast<size_t>(keep));
  int e = exponent;
  if (keep < static_cast<int>(digits.size()) && digits[static_cast<size_t>(keep)] >= '5') {
    // Round up: carry through the nines; all nines (or nothing kept) becomes 1 x 10^(e+1).
    int i = keep - 1;
    while (i >= 0 && kept[static_cast<size_t>(i)] == '9') {
      kept[static_cast<size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++kept[static_cast<size_t>(i)];
    } else {
      kept.insert(kept.begin(), '1');
      ++e;
    }
  }
  while (!kept.empty() && kept.back() == '0') kept.pop_back();
  if (kept.empty()) return d;
  d.negative = v < 0;
  d.digits = kept;
  d.exponent = e;
  return d;
}

}  // namespace

bool ReadoutInside(const NetRect& net, int x, int y) {
  return net.xb + ReadoutInset <= x && x <= net.xe - ReadoutInset && net.yb + ReadoutInset <= y &&
         y <= net.ye - ReadoutInset;
}

std::string FixedText(double v, int significant, int decimals) {
  if (!std::isfinite(v)) return std::string();
  significant = std::clamp(significant, 1, 18);
  decimals = std::clamp(decimals, 0, 18);
  const Decimal d = ToDecimal(v, significant, decimals);
  std::string text = d.negative ? "-" : "";
  const auto digit = [&d](int i) {
    return i >= 0 && i < static_cast<int>(d.digits.size()) ? d.digits[static_cast<size_t>(i)] : '0';
  };
  if (d.exponent > significant) {
    text += d.digits[0];
    if (d.digits.size() > 1) text += "." + d.digits.substr(1);
    return text + "E" + std::to_string(d.exponent - 1);
  }
  if (d.exponent <= 0) {
    text += '0';
  } else {
    for (int i = 0; i < d.exponent; ++i) text += digit(i);
  }
  if (decimals > 0) {
    text += '.';
    for (int i = 0; i < decimals; ++i) text += digit(d.exponent + i);
  }
  return text;
}

std::string ReadoutText(double x, double y, int precisionX, int precisionY) {
  const auto comma = [](std::string s) {
    const size_t dot = s.find('.');
    if (dot != std::string::npos) s[dot] = ',';
    return s;
  };
  return "(" + comma(FixedText(x, ReadoutSignificantDigits, precisionX + 2)) + "; " +
         comma(FixedText(y, ReadoutSignificantDigits, precisionY + 2)) + ")";
}

Rect ChartPlacement(int clientWidth, int clientHeight, const UpDownSizes& sizes) {
  Rect r;
  r.top = 5;
  r.height = std::max(0, clientHeight - sizes.horizontalHeight - 10);
  r.width = std::max(0, clientWidth - sizes.verticalWidth - 20);
  r.left = sizes.verticalWidth + 5;
  return r;
}

std::array<Rect, 4> UpDownPlacement(const Rect& chart, const NetRect& net,
                                    const UpDownSizes& sizes) {
  std::array<Rect, 4> r;
  for (int i = 0; i < 2; ++i) {
    r[static_cast<size_t>(i)].width = sizes.verticalWidth;
    r[static_cast<size_t>(i)].height = sizes.verticalHeight;
    r[static_cast<size_t>(i) + 2].width = sizes.horizontalWidth;
    r[static_cast<size_t>(i) + 2].height = sizes.horizontalHeight;
  }
  r[0].left = 5;
  r[0].top = chart.top + net.yb;
  r[1].left = 5;
  r[1].top = chart.top + net.ye - sizes.verticalHeight;
  r[2].left = chart.left + net.xb;
  r[2].top = chart.top + chart.height;
  r[3].left = chart.left + net.xe - sizes.horizontalWidth;
  r[3].top = r[2].top;
  return r;
}

RestoreOrder RestoreOrderFor(double currentMax, double initMin) {
  return currentMax - initMin >= chart::MinSpan ? RestoreOrder::MinFirst : RestoreOrder::MaxFirst;
}

}  // namespace viewer
