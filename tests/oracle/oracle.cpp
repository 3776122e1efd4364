#include "oracle.h"

#include <gmp.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

struct Mpz {
    mpz_t v;
    Mpz() { mpz_init(v); }
    ~Mpz() { mpz_clear(v); }
    Mpz(const Mpz &) = delete;
    Mpz &operator=(const Mpz &) = delete;
};

void setDigits(Mpz &z, const std::string &digits)
{
    if (digits.empty() || mpz_set_str(z.v, digits.c_str(), 10) != 0)
        mpz_set_ui(z.v, 0);
}

} // namespace

OracleSum oracleSum(const std::string &first, const std::string &second)
{
    const std::size_t longer = std::max(first.size(), second.size());
    if (longer == 0)
        return {"0", 0};
    Mpz a;
    Mpz b;
    setDigits(a, first);
    setDigits(b, second);
    mpz_add(a.v, a.v, b.v);

    const std::unique_ptr<char, decltype(&std::free)> text(mpz_get_str(nullptr, 10, a.v),
                                                           &std::free);
    std::string sum = text.get();
    if (sum.size() > longer)
        return {sum, 0};
    sum.insert(0, longer - sum.size(), '0');
    return {sum, 1};
}
