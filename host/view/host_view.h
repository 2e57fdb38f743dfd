// CHostView: a view's IHostView, the per-view half of what add-ins may ask
// of the host: the view's graphics context and window, its scale and
// offsets, its orientation, tracking lines and bitmaps drawn into its
// scene, its document and application, and its event connection points.
// Each view makes one and deletes it with itself; add-ins borrow it, and no
// AddRef/Release pair of theirs, balanced or not, destroys it.
#pragma once

#include "ihost.h"
#include "objectmodel/reference_count.h"

class CNuvexView;

class CHostView final : public IHostView {
public:
    explicit CHostView(CNuvexView& view) : m_view(view) {}
    CHostView(const CHostView&) = delete;
    CHostView& operator=(const CHostView&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetOffsetY(double* offset) override;
    HRESULT STDMETHODCALLTYPE GetOffsetX(double* offset) override;
    HRESULT STDMETHODCALLTYPE GetScale(double* scale) override;
    // Gives 0: the value this operation hands out is not defined.
    HRESULT STDMETHODCALLTYPE Reserved6(uint32_t* value) override;
    // Stored as given, without clamping or a redraw (only the wheel
    // keeps the scale within its limits).
    HRESULT STDMETHODCALLTYPE SetScale(double scale) override;
    HRESULT STDMETHODCALLTYPE SetOffset(double x, double y) override;
    HRESULT STDMETHODCALLTYPE AddTrackingLine(IVector3* point, IVector3* direction, LONG value) override;
    HRESULT STDMETHODCALLTYPE GetGraphicsContext(IGraphicsContext** context) override;
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    // The view looks along `viewDirection` with `rightDirection` to its
    // right (made perpendicular to the view direction; any perpendicular
    // direction when it has no part across it); the orientation goes into
    // the document's view variables and the views are drawn again. A zero
    // view direction is refused with E_INVALIDARG.
    HRESULT STDMETHODCALLTYPE SetViewOrientation(IVector3* viewDirection, IVector3* rightDirection) override;
    // Only while the view paints: the bitmap's pixels (16 or 32 bits a
    // pixel; white ones left out) drawn in front of the scene at the model
    // point, moved by the offsets in view pixels (right and up). A null
    // bitmap draws nothing.
    HRESULT STDMETHODCALLTYPE DrawBitmap(HBITMAP bitmap, double x, double y, double z, double offset1, double offset2,
                                         uint64_t reserved) override;
    HRESULT STDMETHODCALLTYPE GetAddinConnectionPoint(IAddin* addin, IConnectionPoint** point) override;
    HRESULT STDMETHODCALLTYPE GetEventConnectionPoint(IConnectionPoint** point) override;
    HRESULT STDMETHODCALLTYPE GetDocument(IHostDocument** document) override;
    HRESULT STDMETHODCALLTYPE GetApplication(IHostApplication** application) override;

private:
    CNuvexView& m_view;
    CReferenceCount m_references{Lifetime::OwnerHeld};
};
