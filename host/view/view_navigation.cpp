// Zoom, pan and orbit arithmetic of a view.
#include "host/view/view_navigation.h"

#include <cmath>

#include "host/document/nuvex_doc.h"
#include "igeometry.h"
#include "objectmodel/com_object.h"
#include "objectmodel/tolerance.h"
#include "objectmodel/vector3.h"

ViewScalePan WheelZoom(const ViewScalePan& view, int16_t delta, POINT cursorView)
{
    double factor = std::pow(kWheelNotchFactor, delta / kWheelNotchDelta);
    double newScale = factor * view.scale;
    // A zoom past a limit stops exactly at it: the factor is cut so, and the
    // scale takes the limit itself rather than the rounded product.
    if (newScale > kMaxWheelScale) {
        factor = kMaxWheelScale / view.scale;
        newScale = kMaxWheelScale;
    }
    if (newScale < kMinWheelScale) {
        factor = kMinWheelScale / view.scale;
        newScale = kMinWheelScale;
    }
    ViewScalePan result = view;
    // Keeps the model point under the cursor in place, with the old scale.
    result.panX += (cursorView.x / view.scale) * (1.0 / factor - 1.0);
    result.panY += (cursorView.y / view.scale) * (1.0 / factor - 1.0);
    result.scale = newScale;
    return result;
}

ViewScalePan PanStep(const ViewScalePan& view, POINT lastClient, POINT nowClient)
{
    ViewScalePan result = view;
    // Client y grows downward, view y upward.
    result.panX -= (lastClient.x - nowClient.x) / view.scale;
    result.panY -= (nowClient.y - lastClient.y) / view.scale;
    return result;
}

CMatrix4 OrbitStep(const CMatrix4& orientation, double scale, int32_t clientWidth, POINT lastClient, POINT nowClient)
{
    if (clientWidth < 1 || !(scale > 0.0)) {
        return orientation;
    }
    const double perPixel = -kOrbitRadiansPerWidth / std::sqrt(scale) / clientWidth;
    const double aboutFirst = (lastClient.y - nowClient.y) * perPixel;
    const double aboutSecond = (lastClient.x - nowClient.x) * perPixel;
    CMatrix4 rotateFirst;
    rotateFirst.SetRotationX(CReal(aboutFirst));
    CMatrix4 rotateSecond;
    rotateSecond.SetRotationY(CReal(aboutSecond));
    return orientation * (rotateFirst * rotateSecond);
}

namespace {

bool IsFinite(const CVector3& v)
{
    return std::isfinite(v.x.GetValue()) && std::isfinite(v.y.GetValue()) && std::isfinite(v.z.GetValue());
}

// Adds the extents one interface of an object reports; false when the
// object does not answer that interface.
bool AddExtents(IUnknown* object, const IID& iid, std::optional<ModelExtents>& extents)
{
    ComPtr<IEntityBase> entity;
    if (FAILED(object->QueryInterface(iid, entity.ReceiveVoid())) || !entity) {
        return false;
    }
    CVector3 minimum;
    CVector3 maximum;
    if (entity->GetExtents(&minimum, &maximum, 0) != S_OK || !IsFinite(minimum) || !IsFinite(maximum)) {
        return true;
    }
    if (!extents) {
        extents = ModelExtents{minimum.x.GetValue(), minimum.y.GetValue(), maximum.x.GetValue(), maximum.y.GetValue()};
        return true;
    }
    extents->minX = std::min(extents->minX, minimum.x.GetValue());
    extents->minY = std::min(extents->minY, minimum.y.GetValue());
    extents->maxX = std::max(extents->maxX, maximum.x.GetValue());
    extents->maxY = std::max(extents->maxY, maximum.y.GetValue());
    return true;
}

} // namespace

std::optional<ModelExtents> CollectExtents(CNuvexDoc& document)
{
    std::optional<ModelExtents> extents;
    for (size_t i = 0; i < document.GetObjectCount(); ++i) {
        IEntityRecord* holder = document.GetObjectAt(i);
        IUnknown* object = nullptr;
        if (holder == nullptr || FAILED(holder->GetObject(&object)) || object == nullptr) {
            continue;
        }
        const bool line = AddExtents(object, IID_ILine, extents);
        const bool plane = AddExtents(object, IID_IPlane, extents);
        // The add-ins' entities (the entity component's lines and arcs)
        // are neither: they report their extents as entities.
        if (!line && !plane) {
            AddExtents(object, IID_IEntityBase, extents);
        }
    }
    return extents;
}

std::optional<ViewScalePan> FitExtents(const ModelExtents& extents, int32_t clientWidth, int32_t clientHeight)
{
    if (clientWidth < 1 || clientHeight < 1) {
        return std::nullopt;
    }
    const double width = extents.maxX - extents.minX;
    const double height = extents.maxY - extents.minY;
    const bool fitsX = std::isfinite(width) && width > kRealTolerance;
    const bool fitsY = std::isfinite(height) && height > kRealTolerance;
    if (!fitsX && !fitsY) {
        return std::nullopt;
    }
    // The tighter of the two directions decides; a flat direction has no
    // say. Then a margin that grows toward 1 % for small scales.
    double scale = 0.0;
    if (fitsX && fitsY) {
        scale = std::min(clientWidth / width, clientHeight / height);
    } else {
        scale = fitsX ? clientWidth / width : clientHeight / height;
    }
    scale -= scale / (scale + 100.0);
    if (!std::isfinite(scale) || !(scale > 0.0)) {
        return std::nullopt;
    }
    ViewScalePan target;
    target.scale = scale;
    target.panX = -(extents.minX + width / 2.0);
    target.panY = -(extents.minY + height / 2.0);
    return target;
}

std::vector<ViewScalePan> ZoomAllFrames(const ViewScalePan& start, const ViewScalePan& target)
{
    std::vector<ViewScalePan> frames;
    ViewScalePan frame = start;
    for (int i = 0; i <= 15; ++i) {
        const double t = i / (30.0 - i);
        frame.panX = start.panX + (target.panX - start.panX) * t;
        frame.panY = start.panY + (target.panY - start.panY) * t;
        frames.push_back(frame);
    }
    for (int i = 0; i <= 5; ++i) {
        frame.scale = start.scale + (target.scale - start.scale) * (i / (10.0 - i));
        frames.push_back(frame);
    }
    return frames;
}

std::optional<ViewScalePan> ZoomWindowFit(double ax, double ay, double bx, double by, int32_t clientWidth,
                                          int32_t clientHeight)
{
    if (clientWidth < 1 || clientHeight < 1) {
        return std::nullopt;
    }
    const double xLo = std::min(ax, bx);
    const double xHi = std::max(ax, bx);
    const double yLo = std::min(ay, by);
    const double yHi = std::max(ay, by);
    const double width = xHi - xLo;
    const double height = yHi - yLo;
    if (!(width > kRealTolerance) || !(height > kRealTolerance) || !std::isfinite(width) || !std::isfinite(height)) {
        return std::nullopt;
    }
    ViewScalePan target;
    target.scale = std::min(clientWidth / width, clientHeight / height);
    target.panX = -(xLo + width / 2.0);
    target.panY = -(yLo + height / 2.0);
    return target;
}
