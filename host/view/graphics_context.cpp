// CGraphicsContext: state, lines, polylines, matrices and infinite lines.
#include "host/view/graphics_context.h"

#include <cstring>
#include <optional>

#include "host/view/gl_api.h"
#include "icollection.h"
#include "iids.h"
#include "objectmodel/matrix4.h"
#include "objectmodel/tolerance.h"

namespace {

CVector3 Read(IVector3* vector) { return CVector3(vector); }

LOGFONTA DefaultFont()
{
    LOGFONTA font{};
    font.lfHeight = 10;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(font.lfFaceName, "Times New Roman");
    return font;
}

// The OpenGL primitive of a polyline tag; none for tags that draw nothing.
std::optional<GLenum> PrimitiveOfTag(uint32_t tag)
{
    switch (tag) {
    case 1:
        return GL_LINES;
    case 2:
        return GL_LINE_STRIP;
    case 3:
        return GL_LINE_LOOP;
    case 4:
        return GL_TRIANGLE_STRIP;
    case 5:
        return GL_TRIANGLE_FAN;
    case 6:
        return GL_TRIANGLES;
    default:
        return std::nullopt;
    }
}

}  // namespace

CGraphicsContext::CGraphicsContext(IGraphicsContextOwner& owner, GlApi& gl)
    : m_owner(owner), m_gl(gl), m_font(DefaultFont())
{
}

CGraphicsContext::~CGraphicsContext() = default;

HRESULT CGraphicsContext::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IGraphicsContext) {
        *out = static_cast<IGraphicsContext*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CGraphicsContext::AddRef() { return m_references.Increment(); }

ULONG CGraphicsContext::Release()
{
    ULONG remaining = 0;
    // Owner-held: the view ends the context's life, never a borrower.
    (void)m_references.Decrement(&remaining);
    return remaining;
}

HRESULT CGraphicsContext::GetColor(uint32_t* colour)
{
    *colour = m_colour;
    return S_OK;
}

HRESULT CGraphicsContext::GetLineStyle(uint32_t* style, uint32_t* factor)
{
    m_attributes.GetLineStyle(style);
    m_attributes.GetStippleFactor(factor);
    return S_OK;
}

HRESULT CGraphicsContext::GetLineWidth(int32_t* width)
{
    uint32_t value = 0;
    m_attributes.GetLineWidth(&value);
    *width = static_cast<int32_t>(value);
    return S_OK;
}

HRESULT CGraphicsContext::SetFont(const LOGFONTA* font)
{
    m_font = *font;
    return S_OK;
}

void CGraphicsContext::ApplyColour()
{
    m_gl.Color3d((m_colour & 0xFF) / 255.0, ((m_colour >> 8) & 0xFF) / 255.0, ((m_colour >> 16) & 0xFF) / 255.0);
}

HRESULT CGraphicsContext::SetColor(uint32_t colour)
{
    if (!Painting()) {
        return E_FAIL;
    }
    m_colour = colour;
    ApplyColour();
    return S_OK;
}

HRESULT CGraphicsContext::SetColorFromAttributes(IAttributeSet* set)
{
    if (!Painting()) {
        return E_FAIL;
    }
    if (set == nullptr) {
        return E_POINTER;
    }
    ComPtr<ICollectionB> colour;
    if (FAILED(set->QueryInterface(IID_ICollectionB, colour.ReceiveVoid())) || !colour) {
        return E_NOINTERFACE;
    }
    uint32_t value = 0;
    const HRESULT read = colour->GetValue(&value);
    colour.Reset();
    if (FAILED(read)) {
        return read;
    }
    m_colour = value;
    ApplyColour();
    return S_OK;
}

void CGraphicsContext::ApplyLineStyle()
{
    uint32_t style = 0;
    uint32_t factor = 0;
    GetLineStyle(&style, &factor);
    if (style == 0) {
        m_gl.Disable(GL_LINE_STIPPLE);
    } else if (style <= 3) {
        m_gl.Enable(GL_LINE_STIPPLE);
        m_gl.LineStipple(static_cast<int>(factor), kStipplePatterns[style - 1]);
    }
}

HRESULT CGraphicsContext::SetLineStyle(uint32_t style, uint32_t factor)
{
    if (!Painting()) {
        return E_FAIL;
    }
    m_attributes.SetLineStyle(style);
    m_attributes.SetStippleFactor(factor);
    ApplyLineStyle();
    return S_OK;
}

HRESULT CGraphicsContext::SetLineWidth(int32_t width)
{
    if (!Painting()) {
        return E_FAIL;
    }
    m_attributes.SetLineWidth(static_cast<uint32_t>(width));
    m_gl.LineWidth(static_cast<float>(width));
    return S_OK;
}

HRESULT CGraphicsContext::SetLineAttributes(IAttributeSet* set)
{
    if (!Painting()) {
        return E_FAIL;
    }
    uint32_t style = 0;
    uint32_t factor = 0;
    uint32_t width = 0;
    set->GetLineStyle(&style);
    set->GetStippleFactor(&factor);
    set->GetLineWidth(&width);
    m_attributes.SetLineStyle(style);
    m_attributes.SetStippleFactor(factor);
    m_attributes.SetLineWidth(width);
    m_gl.LineWidth(static_cast<float>(static_cast<int32_t>(width)));
    ApplyLineStyle();
    return S_OK;
}

HRESULT CGraphicsContext::GetScale(double* scale)
{
    *scale = m_owner.GetScale();
    return S_OK;
}

HRESULT CGraphicsContext::DrawRectangle(IVector3* first, IVector3* second, int32_t)
{
    const CVector3 a = Read(first);
    const CVector3 b = Read(second);
    m_gl.Begin(GL_LINE_LOOP);
    m_gl.Vertex3d(a.x.GetValue(), a.y.GetValue(), a.z.GetValue());
    m_gl.Vertex3d(b.x.GetValue(), a.y.GetValue(), a.z.GetValue());
    m_gl.Vertex3d(b.x.GetValue(), b.y.GetValue(), b.z.GetValue());
    m_gl.Vertex3d(a.x.GetValue(), b.y.GetValue(), a.z.GetValue());
    m_gl.End();
    return S_OK;
}

HRESULT CGraphicsContext::PopMatrix()
{
    if (!Painting()) {
        return E_FAIL;
    }
    m_gl.MatrixMode(GL_MODELVIEW);
    m_gl.PopMatrix();
    return S_OK;
}

HRESULT CGraphicsContext::PushMatrix(IMatrix4* matrix, int32_t mode)
{
    if (!Painting()) {
        return E_FAIL;
    }
    m_gl.MatrixMode(GL_MODELVIEW);
    m_gl.PushMatrix();
    if (mode != 1 && mode != 2) {
        return S_OK;
    }
    // Row r, column c at 4r + c: the row-vector convention's translation
    // row lands in OpenGL's translation column.
    const CMatrix4 value(matrix);
    double elements[16];
    for (int i = 0; i < 16; ++i) {
        elements[i] = value.Elements()[static_cast<size_t>(i)].GetValue();
    }
    if (mode == 1) {
        m_gl.LoadMatrixd(elements);
    } else {
        m_gl.MultMatrixd(elements);
    }
    return S_OK;
}

HRESULT CGraphicsContext::DrawPolylineSet(IPolylineSet* set)
{
    if (!Painting()) {
        return E_FAIL;
    }
    uint32_t count = 0;
    set->GetCount(&count);
    for (uint32_t i = 0; i < count; ++i) {
        const auto index = static_cast<int32_t>(i);
        uint32_t tag = 0;
        uint32_t points = 0;
        set->GetTag(index, &tag);
        set->GetPointCount(index, &points);
        const std::optional<GLenum> primitive = PrimitiveOfTag(tag);
        if (!primitive || points < 2) {
            continue;
        }
        m_gl.Begin(*primitive);
        for (uint32_t p = 0; p < points; ++p) {
            double x = 0.0;
            double y = 0.0;
            double z = 0.0;
            set->GetPoint(index, static_cast<int32_t>(p), &x, &y, &z);
            m_gl.Vertex3d(x, y, z);
        }
        m_gl.End();
    }
    return S_OK;
}

HRESULT CGraphicsContext::DrawInfiniteLine(IVector3* point, IVector3* direction)
{
    const CVector3 p = Read(point);
    const CVector3 d = Read(direction);
    const std::array<CPlaneObject, 4>& planes = m_owner.GetEdgePlanes();
    // Left, right, bottom, top; a crossing with a side counts when it lies
    // strictly inside both planes of the other pair.
    struct Side {
        int plane;
        int other1;
        int other2;
    };
    static constexpr Side kSides[] = {
        {3, 1, 0},
        {2, 1, 0},
        {1, 3, 2},
        {0, 3, 2},
    };
    CVector3 ends[2];
    int found = 0;
    for (const Side& side : kSides) {
        const CPlaneObject& plane = planes[static_cast<size_t>(side.plane)];
        const CReal along = d.Dot(plane.GetNormalValue());
        if (std::abs(along.GetValue()) < kRealTolerance) {
            continue;
        }
        const CReal t = (plane.GetOriginValue() - p).Dot(plane.GetNormalValue()) / along;
        const CVector3 x = p + d * t;
        if (IsInFrontOfPlane(x, planes[static_cast<size_t>(side.other1)]) &&
            IsInFrontOfPlane(x, planes[static_cast<size_t>(side.other2)])) {
            ends[found++] = x;
            if (found == 2) {
                break;
            }
        }
    }
    if (found == 2) {
        Segment(ends[0], ends[1]);
    }
    return S_OK;
}

void CGraphicsContext::Segment(const CVector3& a, const CVector3& b)
{
    m_gl.Begin(GL_LINES);
    m_gl.Vertex3d(a.x.GetValue(), a.y.GetValue(), a.z.GetValue());
    m_gl.Vertex3d(b.x.GetValue(), b.y.GetValue(), b.z.GetValue());
    m_gl.End();
}

HRESULT CGraphicsContext::DrawLine(IVector3* from, IVector3* to)
{
    if (!Painting()) {
        return E_FAIL;
    }
    const CVector3 a = Read(from);
    m_currentPoint = Read(to);
    Segment(a, m_currentPoint);
    return S_OK;
}

HRESULT CGraphicsContext::ReservedA(uint32_t, uint32_t) { return Painting() ? E_NOTIMPL : E_FAIL; }

HRESULT CGraphicsContext::ReservedB(uint32_t, uint32_t, uint32_t) { return Painting() ? E_NOTIMPL : E_FAIL; }

HRESULT CGraphicsContext::MoveTo(IVector3* point)
{
    if (!Painting()) {
        return E_FAIL;
    }
    m_currentPoint = Read(point);
    return S_OK;
}

HRESULT CGraphicsContext::LineTo(IVector3* point)
{
    if (!Painting()) {
        return E_FAIL;
    }
    const CVector3 next = Read(point);
    Segment(next, m_currentPoint);
    m_currentPoint = next;
    return S_OK;
}
