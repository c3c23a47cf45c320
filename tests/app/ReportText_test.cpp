#include "app/ReportText.h"

#include <gtest/gtest.h>

using report::Row;

namespace {

std::array<std::string, 16> CircuitTexts() {
  return {"1", "0", "-1", "1", "-2", "2", "1,5", "1", "1", "0", "1", "1", "1", "1", "0,1", "3"};
}

}  // namespace

TEST(ReportText, SettingsTableNamesTheKindsParametersWithUnits) {
  report::ModelSettings s;
  s.kind = model::KindHarmonicGaussian;
  s.generator = {"2,5", "1", "0,5", "-1"};  // A, Fr, D, M as the fields show them
  s.page = 1;
  s.circuit = CircuitTexts();
  s.period = 0.0005;
  s.count = 524288;
  s.method = "Прямой расчёт";
  EXPECT_EQ(report::SettingsTable(s),
            (std::vector<Row>{
                {"Сигнал генератора", "Гармонический + гауссов шум"},
                {"Частота", "1 кГц"},
                {"Амплитуда", "2,5 мВ"},
                {"Среднеквадратическое отклонение", "0,5 мВ"},
                {"Математическое ожидание", "-1 мВ"},
                {"Нелинейная цепь",
                 "цепь 2: y = y1 при x < x1, y = y2 при x > x2, между ними прямая; x1 = -1 мВ; "
                 "x2 = 1 мВ; y1 = -2 мВ; y2 = 2 мВ"},
                {"Период дискретизации T", "0,0005 мс"},
                {"Длина реализации N", "524288 отсчётов"},
                {"Расчёт корреляционной функции", "Прямой расчёт"},
            }));
  // The generator switched off uses its mean alone; units come from the field captions.
  s.kind = model::KindOff;
  EXPECT_EQ(report::SettingsTable(s)[1], (Row{"Математическое ожидание", "-1 мВ"}));
  EXPECT_EQ(report::CircuitText(2, CircuitTexts()), "цепь 3: y = a·|x|; a = 1,5");
  EXPECT_EQ(report::CircuitText(7, CircuitTexts()),
            "цепь 8: пила: y = K·(x − D·floor(x/D + 1/2)); D = 0,1 мВ; K = 3");
}

TEST(ReportText, ReadingsTableAsTheBenchShowsThem) {
  // Levels and intervals in and out, delays and lags in and out, means and deviations in and
  // out, the input deviation re-estimated.
  report::Readings r{{}, "0", "0,1", "-0,5",      "0,01", "0,015", "0",
                     2,  0,   0,     1.234567891, 0.5,    2e-7,    true};
  r.shown = {"0,40", "1,00", "", "0,25"};  // no output density reading shown
  EXPECT_EQ(
      report::ReadingsTable(r),
      (std::vector<Row>{
          {"Индикатор ИПВ вход", "0,40 1/мВ", "уровень 0 мВ; интервал 0,1 мВ"},
          {"Индикатор коррелометр вход", "1,00 мВ*мВ", "задержка 0,015 мс; сдвиг 2 отсч."},
          {"Индикатор ИПВ выход", "нет", "уровень -0,5 мВ; интервал 0,01 мВ"},
          {"Индикатор коррелометр выход", "0,25 мВ*мВ", "задержка 0 мс; сдвиг 0 отсч."},
          {"Математическое ожидание на входе", "0 мВ", "параметр генератора"},
          {"СКО на входе", "1,23457 мВ", "оценено гистограммой по плотности в точке среднего"},
          {"Математическое ожидание на выходе", "0,5 мВ", "по отсчётам реализации"},
          {"СКО на выходе", "2e-07 мВ", "по отсчётам реализации"},
      }));
  EXPECT_EQ(report::HistogramExtra(0.0100010001, false, "Нормальный закон"),
            "Интервал: 0,010001 мВ. Наложить: Нормальный закон.");
}
