#pragma once
// Texts of a window test.
#include <QString>
#include <string>

// A text of the toolkit as UTF-8, for comparisons and failure messages.
inline std::string S(const QString& q) {
  return q.toStdString();
}
