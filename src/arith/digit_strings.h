#pragma once

#include <cstddef>

// A digit string is a run of the ASCII digits '0'..'9', most significant
// first, ended by a zero byte. The empty string is zero; leading zeros are
// part of the string and are kept by the addition.

inline constexpr std::size_t OPERAND_CAPACITY = 1000000;

// The built-in operands, zero-filled past their digits. A start-up
// initialiser places the digits, so no other static initialiser may read
// them.
extern const char (&firstOperand)[OPERAND_CAPACITY];
extern const char (&secondOperand)[OPERAND_CAPACITY];

// Receives the sum of the built-in operands.
extern char sumBuffer[OPERAND_CAPACITY];

// Adds the digit strings first and second into sum and returns where the
// sum begins: sum + 0 when a final carry adds a digit (or both operands
// are empty, giving "0"), sum + 1 otherwise.
//
// The caller provides max(len(first), len(second)) + 2 bytes at sum. The
// result has the longer operand's length, plus one on a final carry, and
// is right-aligned against its terminator at sum[max + 1]; sum[0] is
// written only when the result begins there.
char *addDigitStrings(const char *first, const char *second, char *sum);
