// Texts handed to hosts: bounded copies and number formatting that never depends on the
// process locale.
#pragma once

#include <cstddef>

// Copies at most maxChars characters of text and a terminating zero (maxChars + 1 bytes).
void vstCopyText(char* dest, const char* text, std::size_t maxChars);

// The value in fixed notation with six decimals ("0.800000"), cut to maxChars characters and
// terminated; "nan" or "inf" texts for values that are not numbers.
void floatToText(float value, char* text, std::size_t maxChars);
