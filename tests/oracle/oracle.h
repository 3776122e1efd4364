#pragma once

#include <string>

// The sum of two digit strings computed by GMP, in the shape addDigitStrings
// gives it: the longer operand's length, one digit more on a final carry,
// leading zeros kept; "0" when both are empty.
std::string oracleSum(const std::string &first, const std::string &second);
