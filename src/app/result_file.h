#pragma once

#include <fstream>

// Where the sum is stored, relative to the working directory.
extern const char outputPath[];

extern std::basic_fstream<char> resultFile;

// Creates or truncates the result file; false when it cannot be opened.
bool openResultFile();

// Writes the sum's digits and closes the file; false when any of it failed.
bool storeSum(const char *sum);

void reportOpenFailure();
void reportWriteFailure();
