// Times addDigitStrings at the capacity limit against what a user would pick
// instead (GMP) and against the floor of copying the bytes it reads.

#include "digit_strings.h"

#include <benchmark/benchmark.h>
#include <gmp.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t digits = OPERAND_CAPACITY - 2;

// Two operands at the limit whose sum ends with a final carry.
struct Operands {
    std::vector<char> first = make(1);
    std::vector<char> second = make(2);

    static std::vector<char> make(unsigned seed)
    {
        std::mt19937 rng(seed);
        std::vector<char> s(digits + 1, '\0');
        for (std::size_t i = 0; i < digits; ++i)
            s[i] = static_cast<char>('0' + rng() % 10);
        s[0] = '9';
        return s;
    }
};

const Operands &operands()
{
    static const Operands op;
    return op;
}

void addDigitStringsAtLimit(benchmark::State &state)
{
    const Operands &op = operands();
    std::vector<char> sum(digits + 2);
    while (state.KeepRunning()) {
        const char *begin = addDigitStrings(op.first.data(), op.second.data(), sum.data());
        benchmark::DoNotOptimize(begin);
        benchmark::ClobberMemory();
    }
}

void gmpRoundTripAtLimit(benchmark::State &state)
{
    const Operands &op = operands();
    std::vector<char> sum(digits + 2);
    mpz_t a;
    mpz_t b;
    mpz_inits(a, b, nullptr);
    while (state.KeepRunning()) {
        mpz_set_str(a, op.first.data(), 10);
        mpz_set_str(b, op.second.data(), 10);
        mpz_add(a, a, b);
        benchmark::DoNotOptimize(mpz_get_str(sum.data(), 10, a));
        benchmark::ClobberMemory();
    }
    mpz_clears(a, b, nullptr);
}

// The addition has to read both operands; the floor copies exactly those
// bytes and does nothing else with them.
void copyFloorAtLimit(benchmark::State &state)
{
    const Operands &op = operands();
    std::vector<char> copy(2 * digits + 1);
    while (state.KeepRunning()) {
        std::memcpy(copy.data(), op.first.data(), digits);
        std::memcpy(copy.data() + digits, op.second.data(), digits + 1);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(addDigitStringsAtLimit)->Unit(benchmark::kMicrosecond);
BENCHMARK(gmpRoundTripAtLimit)->Unit(benchmark::kMicrosecond);
BENCHMARK(copyFloorAtLimit)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's time per iteration (the median when repeated) for
// the ratios after the run.
class Recorder : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> nsPerIteration;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &r : runs) {
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            const bool single = r.run_type == Run::RT_Iteration && r.repetitions <= 1;
            if (!r.error_occurred && (median || single))
                nsPerIteration[r.run_name.function_name] =
                    r.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(r.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();

    auto &t = recorder.nsPerIteration;
    const double add = t["addDigitStringsAtLimit"];
    const double gmp = t["gmpRoundTripAtLimit"];
    const double copy = t["copyFloorAtLimit"];
    if (add <= 0 || gmp <= 0 || copy <= 0)
        return 0; // filtered run: no ratios
    const auto n = static_cast<double>(digits);
    std::printf("\n%zu digits per operand, final carry\n", digits);
    std::printf("| job | ns per digit | ratio |\n|---|---|---|\n");
    std::printf("| addDigitStrings | %.3f | 1 |\n", add / n);
    std::printf("| GMP round trip | %.3f | %.1f x slower |\n", gmp / n, gmp / add);
    std::printf("| copy floor | %.3f | addDigitStrings %.1f x the floor |\n", copy / n, add / copy);
    return 0;
}
