#include "digit_strings.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <string>

// clang-format off
extern constexpr char firstOperand[OPERAND_CAPACITY] =
    "98380086727923553215105054181921715175866988514990453315613290351450318742444741152077272515290860426950578327296928895458358530534662845453658908519947";
extern constexpr char secondOperand[OPERAND_CAPACITY] =
    "5503937581225421348936229921973037115157344124265054568382997259560529126023580967387019509196918243715470244197597725848827549164840459221682909153822";
// clang-format on
char sumBuffer[OPERAND_CAPACITY];

namespace {

constexpr std::size_t firstLength = std::char_traits<char>::length(firstOperand);
constexpr std::size_t secondLength = std::char_traits<char>::length(secondOperand);
static_assert(firstLength == 152 && secondLength == 151);
static_assert(std::max(firstLength, secondLength) + 2 <= OPERAND_CAPACITY,
              "the sum of the built-in operands must fit sumBuffer");

// A column's biased sum t = a + b + carry + bias lies in 6..25 for valid
// digits; the bias makes its carry bit 4 (t >> 4 is 1 exactly when
// a + b + carry >= 10) and digitChar[t] is its digit. That keeps the
// loop-carried path to an add and a shift.
constexpr unsigned bias = 6;
constexpr char digitChar[26] = {0,   0,   0,   0,   0,   0,   '0', '1', '2', '3', '4', '5', '6',
                                '7', '8', '9', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};

unsigned digitOf(char ch)
{
    assert(ch >= '0' && ch <= '9');
    return static_cast<unsigned char>(ch) - unsigned{'0'};
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
    // first is now the longer operand; its digits line up with w[0..fn).
    char *w = sum + 1;
    w[fn] = '\0';
    if (fn == 0) {
        sum[0] = '0';
        return sum;
    }

    // The columns where both operands have digits, indexed from the
    // shorter operand's end.
    const char *firstTail = first + (fn - sn);
    char *wTail = w + (fn - sn);
    unsigned c = 0;
    for (std::size_t j = sn; j-- > 0;) {
        const unsigned t = digitOf(firstTail[j]) + digitOf(second[j]) + c + bias;
        c = t >> 4;
        wTail[j] = digitChar[t];
    }
    // The carry runs through the longer operand's nines; past them its
    // remaining digits are copied as they are.
    std::size_t i = fn - sn;
    for (; c != 0 && i > 0; --i) {
        const unsigned t = digitOf(first[i - 1]) + c + bias;
        c = t >> 4;
        w[i - 1] = digitChar[t];
    }
    std::memcpy(w, first, i);

    if (c != 0)
        *--w = '1';
    return w;
}
