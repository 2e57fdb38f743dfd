// MillingParametersValid.
#include "addins/milling/core/feature_parameters.h"

bool MillingParametersValid(const CMillingParams& params, ToolChoice tool)
{
    if (tool != ToolChoice::Chosen)
        return false;
    const bool levels = params.zTop >= params.zBottom && params.zTop + params.zEngage <= params.zSafePlane &&
                        params.zEngage >= 0.0;
    const CToolRecord& t = params.tool;
    const bool singleLevel = !(params.zTop < params.zBottom) && !(params.zTop > params.zBottom);
    const bool motion = t.spindleSpeed > 0.0 && t.feedSpeed > 0.0 && t.plungeSpeed > 0.0 && t.radialStep > 0.0 &&
                        (t.verticalStep > 0.0 || singleLevel);
    return levels && motion;
}
