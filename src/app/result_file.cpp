#include "result_file.h"

#include <iostream>

const char outputPath[] = "../korvax-.txt";

std::basic_fstream<char> resultFile;

namespace {

// Big5 for "opening the file failed: " and "writing the file failed: ".
const char openFailedMessage[] = "\xB6\x7D\xC0\xC9\xA5\xA2\xB1\xD1\x3A\x20";
const char writeFailedMessage[] = "\xBC\x67\xC0\xC9\xA5\xA2\xB1\xD1\x3A\x20";

} // namespace

bool openResultFile()
{
    resultFile.open(outputPath, std::ios_base::out);
    return !!resultFile;
}

// A write can succeed into the stream's buffer and the data still be lost
// when the buffer is flushed on close (a full disk, a quota), so the stream
// is judged after the close, not before it.
bool storeSum(const char *sum)
{
    resultFile << sum;
    resultFile.close();
    return !resultFile.fail();
}

void reportOpenFailure()
{
    std::cout << openFailedMessage << outputPath << std::endl;
}

void reportWriteFailure()
{
    std::cout << writeFailedMessage << outputPath << std::endl;
}
