// A number as the user's regional settings write it: decimal and group separators, grouping,
// leading zero and negative form, with a fixed count of decimals.
#pragma once
#include <string>

namespace salva {

std::wstring FormatNumber(double value, int decimals);

}  // namespace salva
