#pragma once
// Locale-independent number formatting. The GUI toolkit switches the C library to the
// user's locale, where printf would write "1,5"; these never depend on it.

#include <string>

namespace vantor {

// Fixed notation with the given number of decimals, like printf("%.*f").
std::string FormatFixed(double value, int decimals);

// The shortest text that reads back as the same double ("19.7", "1030", "20000").
std::string FormatShortest(double value);

}  // namespace vantor
