#include "digit_strings.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <string>

extern const char firstOperand[OPERAND_CAPACITY] =
    "98380086727923553215105054181921715175866988514990453315613290351450318742444741152077272515290860426950578327296928895458358530534662845453658908519947";
extern const char secondOperand[OPERAND_CAPACITY] =
    "5503937581225421348936229921973037115157344124265054568382997259560529126023580967387019509196918243715470244197597725848827549164840459221682909153822";
char sumBuffer[OPERAND_CAPACITY];

namespace {

constexpr std::size_t firstLength = std::char_traits<char>::length(firstOperand);
constexpr std::size_t secondLength = std::char_traits<char>::length(secondOperand);
static_assert(firstLength == 152 && secondLength == 151);
static_assert(std::max(firstLength, secondLength) + 2 <= OPERAND_CAPACITY,
              "the sum of the built-in operands must fit sumBuffer");

// Digit sums carry a bias of 6 so that the carry is bit 4: t = a + b + c + 6
// lies in 6..25 and t >> 4 is 1 exactly when a + b + c >= 10. That keeps the
// loop-carried path to an add and a shift.
constexpr unsigned bias = 6;

unsigned digitOf(char ch)
{
    assert(ch >= '0' && ch <= '9');
    return static_cast<unsigned>(static_cast<unsigned char>(ch)) - '0';
}

char charOf(unsigned biased, unsigned carry)
{
    return static_cast<char>(biased - bias - 10 * carry + '0');
}

} // namespace

char *addDigitStrings(const char *first, const char *second, char *sum)
{
    std::size_t fn = std::strlen(first);
    std::size_t sn = std::strlen(second);
    if (fn < sn) {
        std::swap(first, second);
        std::swap(fn, sn);
    }
    // first is now the longer operand.
    char *w = sum + fn + 1;
    *w = '\0';
    if (fn == 0) {
        *--w = '0';
        return w;
    }

    const char *a = first + fn;
    const char *b = second + sn;
    unsigned c = 0;
    while (b != second) {
        unsigned t = digitOf(*--a) + digitOf(*--b) + c + bias;
        c = t >> 4;
        *--w = charOf(t, c);
    }
    // The carry runs through the longer operand's nines; past them the
    // remaining digits are copied unchanged.
    while (c != 0 && a != first) {
        unsigned t = digitOf(*--a) + c + bias;
        c = t >> 4;
        *--w = charOf(t, c);
    }
    std::size_t rest = static_cast<std::size_t>(a - first);
    w -= rest;
    std::memcpy(w, first, rest);

    if (c != 0)
        *--w = '1';
    return w;
}
