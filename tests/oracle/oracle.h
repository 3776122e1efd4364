#pragma once

#include <cstddef>
#include <string>

struct OracleSum {
    std::string digits;
    std::ptrdiff_t begin; // where addDigitStrings starts the sum in its area
};

// The sum of two digit strings computed by GMP, in the shape addDigitStrings
// gives it: the longer operand's length, one digit more on a final carry,
// leading zeros kept; "0" when both are empty. The sum begins at the area's
// first byte after a final carry or for two empty operands, else at its second.
OracleSum oracleSum(const std::string &first, const std::string &second);
