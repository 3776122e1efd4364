#include "digit_strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct AddCase {
    const char *first;
    const char *second;
    const char *sum;
    std::ptrdiff_t begin; // where the sum starts in the sum area
};

void PrintTo(const AddCase &c, std::ostream *os)
{
    *os << '"' << c.first << "\" + \"" << c.second << '"';
}

const AddCase addCases[] = {
    {"12", "34", "46", 1},
    {"99", "1", "100", 0},
    {"999999999", "1", "1000000000", 0},
    {"5", "5", "10", 0},
    {"9", "0", "9", 1},
    {"001", "1", "002", 1},
    {"0099", "1", "0100", 1},
    {"0999", "0001", "1000", 1},
    {"", "5", "5", 1},
    {"", "", "0", 0},
    {"0", "0", "0", 1},
    {"", "000", "000", 1},
    {"123456789", "987654321", "1111111110", 0},
    {"19", "81", "100", 0},
    {"1000", "999", "1999", 1},
    {"9999999999999999999999", "9999999999999999999999", "19999999999999999999998", 0},
    {"50000000000000000000", "50000000000000000000", "100000000000000000000", 0},
};

// Runs one addition in a sum area of exactly the contracted size, guarded by
// sentinels on both sides, and returns the sum and where it began.
std::pair<std::string, std::ptrdiff_t> add(const char *first, const char *second)
{
    const std::size_t need = std::max(std::strlen(first), std::strlen(second)) + 2;
    std::vector<char> area(need + 2, '#');
    char *sum = area.data() + 1;
    const char *begin = addDigitStrings(first, second, sum);
    EXPECT_EQ(area.front(), '#');
    EXPECT_EQ(area.back(), '#');
    if (begin != sum) {
        EXPECT_EQ(sum[0], '#') << "sum[0] written, though the sum begins at sum + 1";
    }
    return {begin, begin - sum};
}

class AddDigitStrings : public testing::TestWithParam<AddCase> {};

TEST_P(AddDigitStrings, AddsInEitherOrder)
{
    const AddCase &c = GetParam();
    for (bool swapped : {false, true}) {
        SCOPED_TRACE(swapped ? "swapped" : "as given");
        const auto [sum, begin] = swapped ? add(c.second, c.first) : add(c.first, c.second);
        EXPECT_EQ(sum, c.sum);
        EXPECT_EQ(begin, c.begin);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, AddDigitStrings, testing::ValuesIn(addCases),
                         [](const auto &row) { return "row" + std::to_string(row.index); });

TEST(BuiltInOperands, HaveTheirLengthsAndZeroTails)
{
    EXPECT_EQ(std::strlen(firstOperand), 152u);
    EXPECT_EQ(std::strlen(secondOperand), 151u);
    for (const char *op : {firstOperand, secondOperand})
        EXPECT_TRUE(std::all_of(op + std::strlen(op), op + OPERAND_CAPACITY,
                                [](char ch) { return ch == '\0'; }));
}

TEST(BuiltInOperands, SumFillsExactlyTheFirst154Bytes)
{
    std::memset(sumBuffer, '#', OPERAND_CAPACITY);
    const char *sum = addDigitStrings(firstOperand, secondOperand, sumBuffer);

    EXPECT_EQ(sum, sumBuffer);
    EXPECT_EQ(std::strlen(sum), 153u);
    EXPECT_EQ(std::string(sum).substr(150), "769");
    EXPECT_EQ(sumBuffer[0], '1');
    EXPECT_TRUE(std::all_of(sumBuffer + 154, sumBuffer + OPERAND_CAPACITY,
                            [](char ch) { return ch == '#'; }));
    std::memset(sumBuffer, 0, OPERAND_CAPACITY);
}

TEST(CapacityLimit, LongestOperandsFitTheBuffer)
{
    // 999,998 nines twice: the carry runs through every digit and out.
    static char nines[OPERAND_CAPACITY - 1];
    std::memset(nines, '9', sizeof nines - 1);
    static char sum[OPERAND_CAPACITY];
    const char *begin = addDigitStrings(nines, nines, sum);
    EXPECT_EQ(begin, sum);
    EXPECT_EQ(std::strlen(begin), OPERAND_CAPACITY - 1);
    EXPECT_EQ(begin[0], '1');
    EXPECT_EQ(begin[OPERAND_CAPACITY - 2], '8');
    EXPECT_TRUE(
        std::all_of(begin + 1, begin + OPERAND_CAPACITY - 2, [](char ch) { return ch == '9'; }));
}

} // namespace
