#include "app/ReportText.h"

#include "app/EditFloatRules.h"
#include "model/Circuit.h"

namespace report {
namespace {

// The characteristic of each circuit in a line.
const char* const Characteristics[model::CircuitCount] = {
    "y = S·(x − x0) при x > x0, иначе 0",
    "y = y1 при x < x1, y = y2 при x > x2, между ними прямая",
    "y = a·|x|",
    "y = a·x²",
    "y = a·(x − x0)² при x ≥ x0, иначе 0",
    "y = a·erf(b·x)",
    "y = erfinv(x/a)/b при |x| < a, иначе 0 (обратная к x = a·erf(b·y))",
    "пила: y = K·(x − D·floor(x/D + 1/2))",
};

// A field's symbol and unit, from the caption of its group (" x2, мВ ", "  a  ").
struct SymbolUnit {
  std::string symbol, unit;
};
SymbolUnit SymbolOf(const char* caption) {
  const std::string c = caption;
  const auto begin = c.find_first_not_of(' ');
  const auto end = c.find_first_of(" ,", begin);
  SymbolUnit s;
  s.symbol = c.substr(begin, end - begin);
  if (end != std::string::npos) {
    const auto u = c.find_first_not_of(" ,", end);
    if (u != std::string::npos) s.unit = c.substr(u, c.find_last_not_of(' ') + 1 - u);
  }
  return s;
}

std::string WithUnit(const std::string& value, const std::string& unit) {
  return unit.empty() ? value : value + " " + unit;
}

// "S = 1; x0 = 0 мВ": the parameters of one page.
std::string CircuitParameters(int page, const std::array<std::string, 16>& texts) {
  std::string out;
  for (int i = 0; i < 16; ++i) {
    if (model::CircuitFields[i].page != page) continue;
    const SymbolUnit s = SymbolOf(model::CircuitFields[i].caption);
    if (!out.empty()) out += "; ";
    out += s.symbol + " = " + WithUnit(texts[i], s.unit);
  }
  return out;
}

bool ValidPage(int page) {
  return page >= 0 && page < model::CircuitCount;
}

}  // namespace

std::string CircuitText(int page, const std::array<std::string, 16>& texts) {
  if (!ValidPage(page)) return "не выбрана";
  return "цепь " + std::to_string(page + 1) + ": " + Characteristics[page] + "; " +
         CircuitParameters(page, texts);
}

std::vector<Row> SettingsTable(const ModelSettings& s) {
  using namespace model;
  std::vector<Row> rows;
  const bool known = s.kind >= KindOff && s.kind <= KindHarmonicGaussian;
  rows.push_back({"Сигнал генератора", known ? SignalKindTexts[s.kind] : "—"});
  const bool harmonic = s.kind == KindHarmonic || s.kind == KindHarmonicGaussian;
  const bool noise =
      s.kind == KindUniformNoise || s.kind == KindGaussianNoise || s.kind == KindHarmonicGaussian;
  if (harmonic) {
    rows.push_back({"Частота", WithUnit(s.generator.Fr, "кГц")});
    rows.push_back({"Амплитуда", WithUnit(s.generator.A, "мВ")});
  }
  if (noise) rows.push_back({"Среднеквадратическое отклонение", WithUnit(s.generator.D, "мВ")});
  rows.push_back({"Математическое ожидание", WithUnit(s.generator.M, "мВ")});
  rows.push_back({"Нелинейная цепь", CircuitText(s.page, s.circuit)});
  rows.push_back({"Период дискретизации T", WithUnit(editfloat::FormatG(s.period), "мс")});
  rows.push_back({"Длина реализации N", std::to_string(s.count) + " отсчётов"});
  rows.push_back({"Расчёт корреляционной функции", s.method});
  return rows;
}

std::vector<Row> ReadingsTable(const Readings& r) {
  auto reading = [](const std::string& shown, const std::string& unit) {
    return shown.empty() ? std::string("нет") : shown + " " + unit;
  };
  auto density = [&](const char* what, const std::string& shown, const std::string& level,
                     const std::string& interval) {
    return Row{what, reading(shown, "1/мВ"),
               "уровень " + level + " мВ; интервал " + interval + " мВ"};
  };
  auto correlation = [&](const char* what, const std::string& shown, const std::string& tau,
                         int lag) {
    return Row{what, reading(shown, "мВ*мВ"),
               "задержка " + tau + " мс; сдвиг " + std::to_string(lag) + " отсч."};
  };
  auto mv = [](double v) { return editfloat::FormatG(v) + " мВ"; };
  return {
      density("Индикатор ИПВ вход", r.shown[0], r.levelIn, r.intervalIn),
      correlation("Индикатор коррелометр вход", r.shown[1], r.tauIn, r.lagIn),
      density("Индикатор ИПВ выход", r.shown[2], r.levelOut, r.intervalOut),
      correlation("Индикатор коррелометр выход", r.shown[3], r.tauOut, r.lagOut),
      {"Математическое ожидание на входе", mv(r.inputMean), "параметр генератора"},
      {"СКО на входе", mv(r.inputSko),
       r.inputSkoReestimated ? "оценено гистограммой по плотности в точке среднего"
                             : "по отсчётам реализации"},
      {"Математическое ожидание на выходе", mv(r.outputMean), "по отсчётам реализации"},
      {"СКО на выходе", mv(r.outputSko), "по отсчётам реализации"},
  };
}

std::string RunStatusText(RunStatus status) {
  switch (status) {
    case RunStatus::Current:
      break;
    case RunStatus::Changed:
      return "Модель изменена после последнего расчёта: показания не относятся к настройкам "
             "выше.";
    case RunStatus::NoRun:
      return "Расчёт ещё не выполнялся: показания не получены.";
  }
  return {};
}

std::string GraphSettingsLine(const std::string& generatorDescription, int page,
                              const std::array<std::string, 16>& circuitTexts, double period,
                              int count, const std::string& extra) {
  std::string line =
      generatorDescription + ". Нелинейная цепь: " + CircuitText(page, circuitTexts) +
      ". T = " + editfloat::FormatG(period) + " мс, N = " + std::to_string(count) + ".";
  if (!extra.empty()) line += " " + extra;
  return line;
}

std::string CorrelationExtra(const std::string& method) {
  return "Расчёт КФ: " + method + ".";
}

std::string HistogramExtra(double binWidth, bool automatic, const std::string& law) {
  return "Интервал: " + editfloat::FormatG(binWidth) + " мВ" + (automatic ? " (авто)" : "") +
         ". Наложить: " + law + ".";
}

}  // namespace report
