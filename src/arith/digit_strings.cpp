#include "digit_strings.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>
#include <string_view>

namespace {

// clang-format off
constexpr char firstDigits[] =
    "98380086727923553215105054181921715175866988514990453315613290351450318742444741152077272515290860426950578327296928895458358530534662845453658908519947";
constexpr char secondDigits[] =
    "5503937581225421348936229921973037115157344124265054568382997259560529126023580967387019509196918243715470244197597725848827549164840459221682909153822";
// clang-format on

constexpr bool isDigitString(std::string_view s)
{
    return s.find_first_not_of("0123456789") == std::string_view::npos;
}

constexpr std::size_t firstLength = sizeof firstDigits - 1;
constexpr std::size_t secondLength = sizeof secondDigits - 1;
static_assert(firstLength == 152 && secondLength == 151);
static_assert(isDigitString(firstDigits) && isDigitString(secondDigits));
static_assert(std::max(firstLength, secondLength) + 2 <= OPERAND_CAPACITY,
              "the sum of the built-in operands must fit sumBuffer");

// The operands live in zero-initialised storage, so their zero tails take no
// room in the program file; start-up copies the digits in front of them,
// before the entry function runs.
char firstStorage[OPERAND_CAPACITY];
char secondStorage[OPERAND_CAPACITY];
[[maybe_unused]] const bool digitsPlaced = [] {
    std::memcpy(firstStorage, firstDigits, firstLength);
    std::memcpy(secondStorage, secondDigits, secondLength);
    return true;
}();

} // namespace

const char (&firstOperand)[OPERAND_CAPACITY] = firstStorage;
const char (&secondOperand)[OPERAND_CAPACITY] = secondStorage;
char sumBuffer[OPERAND_CAPACITY];

namespace {

// A column adds two digit characters: s = a + b lies in '0' + '0' .. '9' + '9'.
// With carry c coming in, the column's digit is sumDigit[s + c], and the
// carry going out is 1 above '0' + '9', c at '0' + '9' (the column passes the
// carry on) and 0 below. Choosing between c and a constant keeps the
// loop-carried path to one conditional move.
constexpr unsigned passOn = '0' + '9';
constexpr auto sumDigit = [] {
    std::array<char, 2 * '9' + 2> t{};
    for (unsigned s = 2 * '0'; s < t.size(); ++s)
        t[s] = static_cast<char>('0' + (s - 2 * '0') % 10);
    return t;
}();

unsigned charOf(char ch)
{
    assert(ch >= '0' && ch <= '9');
    return static_cast<unsigned char>(ch);
}

// Writes the digit of column sum s with carry c to out; returns the new carry.
unsigned addColumn(unsigned s, unsigned c, char &out)
{
    out = sumDigit[s + c];
    return s == passOn ? c : unsigned{s > passOn};
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
        c = addColumn(charOf(firstTail[j]) + charOf(second[j]), c, wTail[j]);
    }
    // The carry runs through the longer operand's nines; past them its
    // remaining digits are copied as they are.
    std::size_t i = fn - sn;
    for (; c != 0 && i > 0; --i) {
        c = addColumn(charOf(first[i - 1]) + '0', c, w[i - 1]);
    }
    std::memcpy(w, first, i);

    if (c != 0)
        *--w = '1';
    return w;
}
