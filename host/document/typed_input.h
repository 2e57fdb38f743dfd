// Typed input: the recognisers of the forms a command line may hold, and
// the readers of their values. A number is optional blanks, an optional
// sign, then digits with at most one point, and at least one digit; nothing
// may follow. Values are read in the "C" notation whatever the locale.
#pragma once

#include <string>

struct TypedCoordinates {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

bool ParseNumber(const std::string& text);
// Blanks, "<", then a number with no blank after the "<".
bool ParsePolar(const std::string& text);
// number "," number.
bool ParseCoordinates(const std::string& text, TypedCoordinates& out);
// number "," number "," number.
bool ParseCoordinates3(const std::string& text, TypedCoordinates& out);
// number ";" number.
bool ParseTwoValues(const std::string& text, double& first, double& second);
// The value of a text that passed ParseNumber.
double ParseDouble(const std::string& text);
// The value behind the "<" of a text that passed ParsePolar.
double ParsePolarValue(const std::string& text);
