#pragma once
// Texts of a window test.
#include <QString>
#include <string>

// A text of the toolkit as UTF-8, for comparisons and failure messages.
inline std::string S(const QString& q) {
  return q.toStdString();
}

// True when a text shown to the user spells a number that is not one.
inline bool NotANumberText(const QString& text) {
  const QString t = text.toLower();
  return t.contains(QLatin1String("nan")) || t.contains(QLatin1String("inf"));
}
