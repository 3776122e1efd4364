#pragma once

// Shows the addition in five lines: the operands and the sum, each as stored.
void echoAddition(const char *first, const char *second, const char *sum);
