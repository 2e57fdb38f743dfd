// CMillingParams: the raw copy used by the feature record.
#include "addins/milling/features/millingparams.h"

void CMillingParams::CopyRaw(const CMillingParams& other)
{
    std::string keptName = std::move(tool.name);
    zTop = other.zTop;
    zBottom = other.zBottom;
    zSafePlane = other.zSafePlane;
    zEngage = other.zEngage;
    offset = other.offset;
    tool = other.tool;
    tool.name = std::move(keptName);
    outside = other.outside;
}
