// CGraphicsContext: the drawing service through which entities, entity
// records and add-in commands draw into a view's OpenGL picture without
// touching OpenGL themselves. It keeps a small drawing state (colour, line
// width and style, a font description, a current point) and turns each call
// into immediate-mode OpenGL through the view's GlApi seam.
//
// Most operations draw only while the owner view paints (IsPainting); at
// other times they change nothing and answer E_FAIL. The getters, SetFont
// and GetScale work at any time; DrawRectangle and DrawInfiniteLine do not
// look at the painting state.
//
// Curves and text (graphics_context_text.cpp) are approximated by straight
// segments whose number follows the on-screen size. Text is built from the
// glyph outlines of the context's font, in model space.
//
// Lifetime: the view owns the context; receivers borrow it. A borrower's
// QueryInterface + Release pair never destroys it.
#pragma once

#include <array>
#include <vector>

#include "ientity.h"
#include "objectmodel/attribute_set.h"
#include "objectmodel/plane_object.h"
#include "objectmodel/reference_count.h"
#include "objectmodel/vector3.h"
#include "platform/gdi/gditext.h"

class GlApi;

// What the context reads of the view that owns it.
class IGraphicsContextOwner {
public:
    virtual bool IsPainting() const = 0;
    // Pixels per model unit.
    virtual double GetScale() const = 0;
    // The device context of the current paint (for glyph outlines); null
    // when the view has none.
    virtual HDC GetPaintDC() const = 0;
    // Top, bottom, right, left; normals point into the visible region.
    virtual const std::array<CPlaneObject, 4>& GetEdgePlanes() const = 0;

protected:
    ~IGraphicsContextOwner() = default;
};

// One character's contours: points and the number of points of each contour.
struct GlyphContours {
    std::vector<CVector3> points;
    std::vector<int32_t> lengths;
};

// Line-style patterns of styles 1 to 3.
constexpr unsigned short kStipplePatterns[] = {0x0F0F, 0x1111, 0x2727};
// Spline subdivision factors of drawn text and of text turned into polylines.
constexpr double kDrawnTextSplineFactor = 30.0;
constexpr double kPolylineTextSplineFactor = 15.0;
// Glyph outlines are asked for at 100 times their size for finer rounding.
constexpr double kGlyphOutlineMagnification = 100.0;

class CGraphicsContext final : public IGraphicsContext {
public:
    CGraphicsContext(IGraphicsContextOwner& owner, GlApi& gl);
    ~CGraphicsContext();
    CGraphicsContext(const CGraphicsContext&) = delete;
    CGraphicsContext& operator=(const CGraphicsContext&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetColor(uint32_t* colour) override;
    HRESULT STDMETHODCALLTYPE GetLineStyle(uint32_t* style, uint32_t* factor) override;
    HRESULT STDMETHODCALLTYPE GetLineWidth(int32_t* width) override;
    HRESULT STDMETHODCALLTYPE SetFont(const LOGFONTA* font) override;
    HRESULT STDMETHODCALLTYPE SetColor(uint32_t colour) override;
    // Takes the colour of a colour attachment (ICollectionB) passed in the
    // set's place; an attribute set carries no colour, so anything else is
    // refused with E_NOINTERFACE and the colour stays.
    HRESULT STDMETHODCALLTYPE SetColorFromAttributes(IAttributeSet* set) override;
    // Styles 0 solid, 1 to 3 stipple; others are stored without effect.
    HRESULT STDMETHODCALLTYPE SetLineStyle(uint32_t style, uint32_t factor) override;
    HRESULT STDMETHODCALLTYPE SetLineWidth(int32_t width) override;
    HRESULT STDMETHODCALLTYPE SetLineAttributes(IAttributeSet* set) override;
    HRESULT STDMETHODCALLTYPE GetScale(double* scale) override;
    HRESULT STDMETHODCALLTYPE DrawRectangle(IVector3* first, IVector3* second, int32_t unused) override;
    HRESULT STDMETHODCALLTYPE PopMatrix() override;
    HRESULT STDMETHODCALLTYPE PushMatrix(IMatrix4* matrix, int32_t mode) override;
    HRESULT STDMETHODCALLTYPE DrawPolylineSet(IPolylineSet* set) override;
    HRESULT STDMETHODCALLTYPE DrawInfiniteLine(IVector3* point, IVector3* direction) override;
    HRESULT STDMETHODCALLTYPE DrawString(const char* text, IVector3* origin, IVector3* baselinePoint,
                                         IVector3* normal, BOOL filled) override;
    HRESULT STDMETHODCALLTYPE StringToPolylines(const char* text, IPolylineSet* target, BOOL filled,
                                                uint32_t* ends) override;
    HRESULT STDMETHODCALLTYPE DrawLine(IVector3* from, IVector3* to) override;
    HRESULT STDMETHODCALLTYPE DrawEllipse(IVector3* centre, IVector3* normal, IVector3* firstAxis,
                                          IReal* firstRadius, IReal* secondRadius) override;
    HRESULT STDMETHODCALLTYPE ReservedA(uint32_t, uint32_t) override;
    HRESULT STDMETHODCALLTYPE ReservedB(uint32_t, uint32_t, uint32_t) override;
    HRESULT STDMETHODCALLTYPE DrawArc(IVector3* centre, IVector3* normal, IVector3* start, IVector3* end) override;
    HRESULT STDMETHODCALLTYPE MoveTo(IVector3* point) override;
    HRESULT STDMETHODCALLTYPE LineTo(IVector3* point) override;

    const LOGFONTA& Font() const { return m_font; }
    const CVector3& CurrentPoint() const { return m_currentPoint; }

    // Segment count of a curve of radius r (model units) at scale s:
    // trunc(2 pi sqrt(r s) / 1.6); 0 for a curve too small or not finite.
    static int CurveSteps(double radius, double scale);
    // The contours of one character's native outline (16.16 fixed-point
    // contours of straight and quadratic records), pen-shifted; splines are
    // subdivided by `factor` at scale s. Unknown records add nothing; a
    // record that runs past the data ends the parse.
    static GlyphContours ParseGlyphOutline(const BYTE* data, size_t size, const CVector3& pen, double scale,
                                           double factor);

    // Appends the character's filled area as triangle polylines (tags 6, 4,
    // 5), crossing outlines split where they cross.
    static void AppendGlyphTriangles(const GlyphContours& glyph, IPolylineSet* target);

private:
    bool Painting() const { return m_owner.IsPainting(); }
    void ApplyLineStyle();
    void ApplyColour();
    void Segment(const CVector3& a, const CVector3& b);
    // Calls `each` for each byte of the text with the character's contours
    // and advances the pen; fails without a paint device context.
    template <class Each>
    HRESULT ForEachGlyph(const char* text, double factor, Each each);

    IGraphicsContextOwner& m_owner;
    GlApi& m_gl;
    CAttributeSet m_attributes;
    uint32_t m_colour = 0;
    LOGFONTA m_font{};
    CVector3 m_currentPoint;
    CReferenceCount m_references{Lifetime::OwnerHeld};
};
