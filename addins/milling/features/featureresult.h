// The error catalogue and the small Result type of the milling features.
#pragma once

#include <string>
#include <utility>
#include <variant>

// Stable error codes of this module; tests compare codes, not wording.
enum class FeatureError : int {
    RecordTruncated = 1,     // a count or length runs past the end of the record
    // 2 was a name-length limit; names are now bounded by the record only.
    RecordNegativeCount = 3, // a stored length or move count is negative
    EntityCreationFailed = 4, // the document did not create a move entity
    NoDocument = 5,          // no host document to create entities or chains with
    NoChainer = 6,           // the curve chainer could not be created
    NoUsableContour = 7,     // no closed contour without self-intersection
    ContoursCross = 8,       // two picked contours cross each other
    NoPostprocessor = 9,     // NC output without a postprocessor
    FormatFailed = 10,       // the postprocessor refused a block
    BadLevels = 11,          // Z Top, Z Bottom and the vertical step give no levels
    BadRadialStep = 12,      // the pocket's step-over is not a positive distance
    NoToolpath = 13,         // the tool fits nowhere: not one pass could be made
};

// The fixed English message of a code.
const char* FeatureErrorMessage(FeatureError code);

struct Error {
    FeatureError code;
    std::string context;
};

// `error` as it passes up through `where` (the function, and what it was
// doing there), which goes in front of the context it already has:
// "CMillingFeature::Load: tool name at offset 96".
inline Error Passed(Error error, const std::string& where)
{
    error.context = error.context.empty() ? where : where + ": " + error.context;
    return error;
}

// The error as a person reads it: the code's message, then its context in
// brackets when it has one.
std::string FeatureErrorText(const Error& error);

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(Error error) : m_value(std::move(error)) {}
    bool ok() const { return std::holds_alternative<T>(m_value); }
    const T& value() const { return std::get<T>(m_value); }
    T& value() { return std::get<T>(m_value); }
    const Error& error() const { return std::get<Error>(m_value); }

private:
    std::variant<T, Error> m_value;
};

struct Ok {};
using Status = Result<Ok>;

// Returns the error of a Status expression from the enclosing function,
// naming that function in its context.
#define FEATURE_TRY(expr)                              \
    do {                                               \
        Status status_ = (expr);                       \
        if (!status_.ok())                             \
            return Passed(status_.error(), __func__);  \
    } while (0)
