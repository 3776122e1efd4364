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
    echoAddition(firstOperand, secondOperand, sum);
    if (!storeSum(sum)) {
        reportWriteFailure();
        return 1;
    }
    waitForKey();
    return 0;
}
