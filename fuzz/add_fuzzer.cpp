// Feeds addDigitStrings two digit strings and checks the sum against GMP.
// The input is the first operand up to the first non-digit byte, then the
// second; non-digit bytes in the second are folded into digits. The sum area
// is exactly as large as the contract asks, so any write past it is caught.

#include "digit_strings.h"
#include "oracle.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

bool isDigit(std::uint8_t b)
{
    return b >= '0' && b <= '9';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::uint8_t *end = data + size;
    const std::uint8_t *split = std::find_if_not(data, end, isDigit);
    std::string first(data, split);
    std::string second(split == end ? end : split + 1, end);
    for (char &ch : second)
        if (!isDigit(static_cast<std::uint8_t>(ch)))
            ch = static_cast<char>('0' + static_cast<std::uint8_t>(ch) % 10);

    const std::size_t longer = std::max(first.size(), second.size());
    if (longer > OPERAND_CAPACITY - 2)
        return 0;
    const std::unique_ptr<char[]> area(new char[longer + 2]);
    const char *begin = addDigitStrings(first.c_str(), second.c_str(), area.get());

    const OracleSum want = oracleSum(first, second);
    if (begin - area.get() != want.begin || want.digits != begin)
        std::abort();
    return 0;
}
