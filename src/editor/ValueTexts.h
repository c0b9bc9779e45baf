// The texts the pages show for parameter values (0..1) and the readers of what a person types
// into them. Texts are written and read the same whatever the process locale; a typed decimal
// comma is read like a point. Readers answer false for text they cannot read and then leave the
// value alone.
#pragma once

// Every text fits in this many bytes including the NUL.
inline constexpr int kValueTextCapacity = 64;

// Writes the text of `value` into `text` (kValueTextCapacity bytes).
using ValueToText = void (*)(float value, char* text, void* userData);
// Reads `text` into `value`; false (value untouched) when the text cannot be read.
using TextToValue = bool (*)(const char* text, float& value, void* userData);

// A decimal number with optional spaces around it, optionally followed by `unit` (any case).
bool readNumber(const char* text, double& number, const char* unit = nullptr);

// Delay time 20..2000 ms (20 + 1980 v²): "150 ms", "1.25 s". Read as ms ("ms" or "s" may follow).
void timeText(float value, char* text, void* userData = nullptr);
bool timeFromText(const char* text, float& value, void* userData = nullptr);
// Rate 0.001..5 Hz (0.001 + 4.999 v²): "0.250Hz". Read as Hz.
void rateText(float value, char* text, void* userData = nullptr);
bool rateFromText(const char* text, float& value, void* userData = nullptr);
// "Dry" below 0.005, "Wet" above 0.95, else a percentage.
void mixText(float value, char* text, void* userData = nullptr);
// "37%".
void percentText(float value, char* text, void* userData = nullptr);
// "<C>" in the middle, "L40" or "R25" (half percent steps: 0 is L100, 1 is R100). Reads "C", "0",
// "L n" and "R n" in either case.
void balanceText(float value, char* text, void* userData = nullptr);
bool balanceFromText(const char* text, float& value, void* userData = nullptr);
// An LFO delay: the envelope time of the value (userData: the engine's decay table), 0 for 0;
// "40ms" below 100 ms, the bare number up to 1000 ms, whole seconds ("3s") above. Read as ms.
void lfoDelayText(float value, char* text, void* userData);
bool lfoDelayFromText(const char* text, float& value, void* userData);
// An envelope time: the time the voice takes for the rate value (userData: the engine's decay
// table), "9.50ms" below 10 ms, "95.0ms" below 100, "950ms" below 1000, else "1.50s". Read as ms
// ("ms" or "s" may follow); a time no rate reaches is not read.
void envelopeTimeText(float value, char* text, void* userData);
bool envelopeTimeFromText(const char* text, float& value, void* userData);
// An envelope level in decibels, "-6.0dB", and "-oo" for 0. "-oo" reads as 0; a level above 1
// (0 dB) is not read.
void envelopeLevelText(float value, char* text, void* userData = nullptr);
bool envelopeLevelFromText(const char* text, float& value, void* userData = nullptr);
// An integer n = trunc(v (max - min) + 0.5) + min, with " unit" when a unit is given.
void integerText(float value, char* text, int min, int max, const char* unit);
// An integer (a fraction is rounded), clamped to min..max and mapped back to 0..1.
bool integerFromText(const char* text, float& value, int min, int max, const char* unit);
