// addDigitStrings against GMP on random operands up to the capacity limit.

#include "digit_strings.h"
#include "oracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t maxDigits = OPERAND_CAPACITY - 2;

class Operands {
public:
    explicit Operands(std::uint64_t seed) : rng_(seed) {}

    // Mostly short, sometimes long: thousands of pairs stay within seconds
    // and still reach every length scale.
    std::size_t length()
    {
        const double top = below(100) < 10 ? double(maxDigits) : 3000.0;
        const double logLen = std::uniform_real_distribution<double>(0.0, std::log(top + 1))(rng_);
        return std::min(maxDigits, static_cast<std::size_t>(std::exp(logLen)) - 1);
    }

    std::string digits(std::size_t n)
    {
        std::string s(n, '0');
        switch (below(4)) {
        case 0: // leading zeros, then random digits
            std::generate(s.begin() + static_cast<std::ptrdiff_t>(below(n + 1)), s.end(),
                          [&] { return digit(); });
            break;
        case 1: // a carry chain: all nines
            std::fill(s.begin(), s.end(), '9');
            break;
        case 2: // nines with a few other digits
            std::fill(s.begin(), s.end(), '9');
            for (std::size_t k = below(4); k > 0 && n > 0; --k)
                s[below(n)] = digit();
            break;
        default:
            std::generate(s.begin(), s.end(), [&] { return digit(); });
        }
        return s;
    }

private:
    std::size_t below(std::size_t n) { return n == 0 ? 0 : rng_() % n; }
    char digit() { return static_cast<char>('0' + below(10)); }

    std::mt19937_64 rng_;
};

// The sum in an area of exactly the contracted size, and where it began.
std::pair<std::string, std::ptrdiff_t> add(const std::string &a, const std::string &b)
{
    std::vector<char> area(std::max(a.size(), b.size()) + 2);
    const char *begin = addDigitStrings(a.c_str(), b.c_str(), area.data());
    return {begin, begin - area.data()};
}

TEST(AgainstGmp, RandomPairsUpToTheCapacityLimit)
{
    const std::uint64_t seed = 20261208;
    Operands gen(seed);
    for (int i = 0; i < 3000; ++i) {
        const bool atLimit = i % 500 == 0;
        const std::string a = gen.digits(atLimit ? maxDigits : gen.length());
        const std::string b = gen.digits(atLimit && i % 1000 == 0 ? maxDigits : gen.length());
        const OracleSum want = oracleSum(a, b);

        for (bool swapped : {false, true}) {
            const auto [sum, begin] = swapped ? add(b, a) : add(a, b);
            if (sum != want.digits || begin != want.begin) {
                ADD_FAILURE() << "seed " << seed << ", pair " << i << (swapped ? " swapped" : "")
                              << ": lengths " << a.size() << " and " << b.size();
                return;
            }
        }
    }
}

} // namespace
