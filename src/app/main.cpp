#include "console.h"
#include "digit_strings.h"
#include "platform.h"
#include "result_file.h"

#ifdef _WIN32
extern "C" int wmain(int /*argc*/, wchar_t ** /*argv*/)
#else
int main(int /*argc*/, char ** /*argv*/)
#endif
{
    prepareProcess();
    if (!openResultFile()) {
        reportOpenFailure();
        return 1;
    }
    const char *sum = addDigitStrings(firstOperand, secondOperand, sumBuffer);
    // Stored before the echo: a standard output that blocks must not stand
    // between the truncation and the stored sum.
    const bool stored = storeSum(sum);
    echoAddition(firstOperand, secondOperand, sum);
    if (!stored) {
        reportWriteFailure();
        return 1;
    }
    waitForKey();
    return 0;
}
