// Messages of the milling features' error codes.
#include "addins/milling/features/featureresult.h"

const char* FeatureErrorMessage(FeatureError code)
{
    switch (code) {
    case FeatureError::RecordTruncated: return "the feature record ends before its counts say";
    case FeatureError::RecordNegativeCount: return "a count in the feature record is negative";
    case FeatureError::EntityCreationFailed: return "a move entity could not be created";
    case FeatureError::NoDocument: return "there is no document";
    case FeatureError::NoChainer: return "the curve chainer could not be created";
    case FeatureError::NoUsableContour: return "no closed contour without self-intersection";
    case FeatureError::ContoursCross: return "two contours cross each other";
    case FeatureError::NoPostprocessor: return "the operation has no postprocessor";
    case FeatureError::FormatFailed: return "the postprocessor could not format a block";
    case FeatureError::BadLevels: return "Z Top, Z Bottom and the vertical step give no levels";
    case FeatureError::BadRadialStep: return "the radial step is not a positive distance";
    case FeatureError::NoToolpath: return "the tool fits nowhere in the contours: no pass could be made";
    }
    return "unknown error";
}

std::string FeatureErrorText(const Error& error)
{
    std::string text = FeatureErrorMessage(error.code);
    if (!error.context.empty())
        text += " (" + error.context + ")";
    return text;
}
