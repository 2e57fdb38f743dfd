// Debug helpers: contours as C++ initializers and back.
#include "addins/milling/geometry/curvelistdebug.h"

#include <cstdio>

namespace {

std::string Number(double v)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

} // namespace

std::string ToInitializer(const CCurveList& list)
{
    std::string text = "{";
    for (size_t k = 0; k < list.segments.size(); ++k) {
        const CSegment2D& segment = *list.segments[k];
        const CPoint2D s = segment.GetStartPoint(), e = segment.GetEndPoint();
        text += k ? ",\n {" : "{";
        text += Number(s.x) + ", " + Number(s.y) + ", " + Number(e.x) + ", " + Number(e.y);
        if (segment.GetType() == kSegmentTypeArc) {
            const auto& arc = static_cast<const CArcSegment2D&>(segment);
            text += ", " + Number(arc.centre.x) + ", " + Number(arc.centre.y) + (arc.ccw ? ", 1" : ", -1");
        }
        text += "}";
    }
    return text + "}";
}

std::unique_ptr<CCurveList> FromRows(const std::vector<CSegmentRow>& rows)
{
    auto list = std::make_unique<CCurveList>();
    for (const CSegmentRow& row : rows) {
        const CPoint2D s(row.x0, row.y0), e(row.x1, row.y1);
        if (row.sense == 0)
            list->Append(std::make_unique<CLineSegment2D>(s, e));
        else
            list->Append(std::make_unique<CArcSegment2D>(CPoint2D(row.cx, row.cy), s, e, row.sense > 0 ? 1 : 0));
    }
    return list;
}
