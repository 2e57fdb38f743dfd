// CToolRecord and CMillingParams: the tool and the parameter set a milling
// feature computes its toolpath with.
//
// CToolRecord belongs to the add-in core's tool store; until that is built it
// is declared here with the fields the features read.
#pragma once

#include <cstdint>
#include <string>

struct CToolRecord {
    double verticalStep = 0.0;
    double radialStep = 0.0; // percent of the diameter
    double spindleSpeed = 0.0;
    double plungeSpeed = 0.0;
    double feedSpeed = 0.0;
    double angle = 0.0;
    double cornerRadius = 0.0;
    double cutLength = 0.0;
    double length = 0.0;
    double diameter = 0.0;
    int32_t toolType = 0;
    std::string name;
};

struct CMillingParams {
    double zTop = 0.0;
    double zBottom = 0.0;
    double zSafePlane = 0.0;
    double zEngage = 0.0;   // above zTop, where the feed plunge begins
    double offset = 0.0;    // added to the tool radius when offsetting
    CToolRecord tool;
    int32_t outside = 0;    // contour and curve features: machine outside the picked contours

    // Copies what the feature record stores: the five doubles, the ten tool
    // doubles, the tool type and Outside, but not the tool name.
    void CopyRaw(const CMillingParams& other);
};
