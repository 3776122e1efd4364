#include "console.h"

#include <iostream>

void echoAddition(const char *first, const char *second, const char *sum)
{
    std::cout << ' ' << first << std::endl
              << std::endl
              << '+' << second << std::endl
              << std::endl
              << '=' << sum << std::endl;
}
