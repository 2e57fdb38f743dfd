// DrawOriginTriad: the origin's arrows, in document coordinates.
#include "addins/milling/core/origin_triad.h"

#include "ientity.h"
#include "objectmodel/vector3.h"

namespace {

constexpr double kAxisPixels = 50.0;
constexpr double kBarbStartPixels = 40.0;
constexpr double kBarbOffsetPixels = 4.0;

CVector3 At(const CMovePoint& origin, const double (&offset)[3])
{
    return CVector3(origin.x + offset[0], origin.y + offset[1], origin.z + offset[2]);
}

} // namespace

void DrawOriginTriad(IGraphicsContext* context, const CMovePoint& origin, bool invertedZ, uint32_t colour)
{
    if (context == nullptr)
        return;
    // The view's scale is pixels per drawing unit; twice it keeps the
    // arrows' length in pixels (the view's scale counts half pixels).
    double scale = 1.0;
    context->GetScale(&scale);
    const double k = scale > 0.0 ? 2.0 * scale : 2.0;
    context->SetLineStyle(0, 0);
    context->SetLineWidth(1);
    const double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, invertedZ ? -1.0 : 1.0}};
    for (int a = 0; a < 3; ++a) {
        context->SetColor(colour);
        double tip[3], base[3];
        for (int c = 0; c < 3; ++c) {
            tip[c] = axes[a][c] * kAxisPixels / k;
            base[c] = axes[a][c] * kBarbStartPixels / k;
        }
        CVector3 from = At(origin, {0, 0, 0});
        CVector3 to = At(origin, tip);
        context->DrawLine(&to, &from);
        for (int other = 0; other < 3; ++other) {
            if (other == a)
                continue;
            for (double sign : {1.0, -1.0}) {
                double barb[3] = {base[0], base[1], base[2]};
                barb[other] += sign * kBarbOffsetPixels / k;
                CVector3 barbStart = At(origin, barb);
                context->DrawLine(&barbStart, &to);
            }
        }
    }
}
