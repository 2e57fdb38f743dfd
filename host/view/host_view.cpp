// CHostView: the IHostView operations, each on its view.
#include "host/view/host_view.h"

#include <cmath>
#include <vector>

#include "host/document/nuvex_doc.h"
#include "host/view/gl_api.h"
#include "host/view/nuvex_view.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/surface.h"

namespace {

// Absolute, unitless: a direction shorter than this has none, and a right
// direction with less across the view direction is replaced.
constexpr double kDirectionTolerance = 1e-9;
constexpr uint32_t kWhite = 0xFFFFFF;

// A unit direction perpendicular to the unit vector `along`: the world axis
// least along it, made perpendicular.
CVector3 PerpendicularTo(const CVector3& along)
{
    const double ax = std::fabs(along.x.GetValue());
    const double ay = std::fabs(along.y.GetValue());
    const double az = std::fabs(along.z.GetValue());
    CVector3 axis = ax <= ay && ax <= az ? CVector3(1.0, 0.0, 0.0)
                                         : (ay <= az ? CVector3(0.0, 1.0, 0.0) : CVector3(0.0, 0.0, 1.0));
    CVector3 across = axis - along * along.Dot(axis);
    across.Normalize();
    return across;
}

} // namespace

HRESULT CHostView::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IHostView) {
        *out = static_cast<IHostView*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CHostView::AddRef() { return m_references.Increment(); }

ULONG CHostView::Release()
{
    ULONG remaining = 0;
    // The view deletes the object itself; borrowers never do.
    (void)m_references.Decrement(&remaining);
    return remaining;
}

HRESULT CHostView::GetOffsetY(double* offset)
{
    if (offset == nullptr) {
        return E_POINTER;
    }
    *offset = m_view.Transform().PanY();
    return S_OK;
}

HRESULT CHostView::GetOffsetX(double* offset)
{
    if (offset == nullptr) {
        return E_POINTER;
    }
    *offset = m_view.Transform().PanX();
    return S_OK;
}

HRESULT CHostView::GetScale(double* scale)
{
    if (scale == nullptr) {
        return E_POINTER;
    }
    *scale = m_view.Transform().Scale();
    return S_OK;
}

HRESULT CHostView::Reserved6(uint32_t* value)
{
    if (value == nullptr) {
        return E_POINTER;
    }
    *value = 0;
    return S_OK;
}

HRESULT CHostView::SetScale(double scale)
{
    m_view.Transform().SetScale(scale);
    return S_OK;
}

HRESULT CHostView::SetOffset(double x, double y)
{
    m_view.Transform().SetPan(x, y);
    return S_OK;
}

HRESULT CHostView::AddTrackingLine(IVector3* point, IVector3* direction, LONG value)
{
    if (point == nullptr || direction == nullptr) {
        return E_POINTER;
    }
    m_view.GetDocument()->SnapEngine().AddViewTrackingLine(CVector3(point), CVector3(direction),
                                                           static_cast<uint32_t>(value));
    return S_OK;
}

HRESULT CHostView::GetGraphicsContext(IGraphicsContext** context)
{
    if (context == nullptr) {
        return E_POINTER;
    }
    *context = &m_view.GraphicsContext();
    return S_OK;
}

HRESULT CHostView::GetWindow(HWND* window)
{
    if (window == nullptr) {
        return E_POINTER;
    }
    *window = m_view.GetViewWindow();
    return S_OK;
}

HRESULT CHostView::SetViewOrientation(IVector3* viewDirection, IVector3* rightDirection)
{
    if (viewDirection == nullptr || rightDirection == nullptr) {
        return E_POINTER;
    }
    CVector3 view(viewDirection);
    if (view.Length().GetValue() < kDirectionTolerance) {
        return E_INVALIDARG;
    }
    view.Normalize();
    const CVector3 given(rightDirection);
    CVector3 right = given - view * view.Dot(given);
    if (right.Length().GetValue() < kDirectionTolerance) {
        right = PerpendicularTo(view);
    } else {
        right.Normalize();
    }
    CViewTransform& transform = m_view.Transform();
    transform.SetOrientation(view, right);
    transform.StoreViewOrientation(*m_view.GetDocument());
    m_view.GetDocument()->Output().RefreshCommandStates(FALSE);
    m_view.GetDocument()->Output().UpdateAllViews();
    return S_OK;
}

HRESULT CHostView::DrawBitmap(HBITMAP bitmap, double x, double y, double z, double offset1, double offset2, uint64_t)
{
    if (bitmap == nullptr || !m_view.IsPainting()) {
        return S_OK;
    }
    BITMAP header{};
    GdiSurface surface;
    if (GetObjectA(bitmap, sizeof header, &header) == 0 || (header.bmBitsPixel != 16 && header.bmBitsPixel != 32) ||
        !GetBitmapSurface(bitmap, &surface) || surface.width <= 0 || surface.height <= 0) {
        return S_OK;
    }
    // Rows from the bottom, as OpenGL counts them; white stays out.
    std::vector<unsigned char> rgba;
    rgba.reserve(static_cast<size_t>(surface.width) * static_cast<size_t>(surface.height) * 4);
    for (int row = surface.height - 1; row >= 0; --row) {
        const uint32_t* pixels = surface.pixels + static_cast<std::ptrdiff_t>(row) * surface.stride;
        for (int column = 0; column < surface.width; ++column) {
            const uint32_t bgra = pixels[column];
            rgba.push_back(static_cast<unsigned char>((bgra >> 16) & 0xFF));
            rgba.push_back(static_cast<unsigned char>((bgra >> 8) & 0xFF));
            rgba.push_back(static_cast<unsigned char>(bgra & 0xFF));
            rgba.push_back((bgra & kWhite) == kWhite ? 0 : 255);
        }
    }
    SystemGl().DrawPixelsAt(x, y, z, offset1, offset2, surface.width, surface.height, rgba.data());
    return S_OK;
}

HRESULT CHostView::GetAddinConnectionPoint(IAddin* addin, IConnectionPoint** point)
{
    if (point == nullptr) {
        return E_POINTER;
    }
    *point = m_view.AddinConnectionPoint(addin);
    return S_OK;
}

HRESULT CHostView::GetEventConnectionPoint(IConnectionPoint** point)
{
    if (point == nullptr) {
        return E_POINTER;
    }
    *point = m_view.MainConnectionPoint();
    return S_OK;
}

HRESULT CHostView::GetDocument(IHostDocument** document)
{
    if (document == nullptr) {
        return E_POINTER;
    }
    *document = m_view.GetDocument()->GetHostDocument();
    return S_OK;
}

HRESULT CHostView::GetApplication(IHostApplication** application)
{
    if (application == nullptr) {
        return E_POINTER;
    }
    *application = m_view.GetDocument()->Services().GetHostApplication();
    return S_OK;
}
