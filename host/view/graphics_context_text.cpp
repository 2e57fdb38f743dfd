// CGraphicsContext: ellipses, arcs and text. Curves are straight segments
// from one precomputed rotation; their count follows the on-screen radius.
// Text comes from the font's native glyph outlines, splines subdivided by
// their on-screen bulge, and is drawn hollow (contour loops) or filled
// (tessellated triangles with the contours drawn over them).
#include <cmath>
#include <cstring>
#include <deque>
#include <numbers>

#include "host/view/gl_api.h"
#include "host/view/graphics_context.h"
#include "objectmodel/tolerance.h"
#include "platform/gdi/dc_guards.h"
#include "platform/gdi/gdi.h"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Angle per segment is 1.6 / sqrt(radius in pixels).
constexpr double kCurveStepFactor = 1.6;
constexpr int kMinSplineSteps = 3;
constexpr int kMaxSplineSteps = 16;
// Beyond this a curve would only repeat pixels; it also bounds the work of
// a curve given an absurd radius.
constexpr int kMaxCurveSteps = 1 << 16;

void Vertex(GlApi& gl, const CVector3& p) { gl.Vertex3d(p.x.GetValue(), p.y.GetValue(), p.z.GetValue()); }

// The strip shared by ellipse and arc: start, m - 1 rotated points, end.
void CurveStrip(GlApi& gl, const CVector3& centre, const CVector3& a1, const CVector3& a2, double step, int m,
                const CVector3& end)
{
    gl.Begin(GL_LINE_STRIP);
    Vertex(gl, centre + a1);
    const double cosStep = std::cos(step);
    const double sinStep = std::sin(step);
    double c = 1.0;
    double t = 0.0;
    for (int i = 1; i < m; ++i) {
        const double nextC = c * cosStep - t * sinStep;
        t = t * cosStep + c * sinStep;
        c = nextC;
        Vertex(gl, centre + a1 * c + a2 * t);
    }
    Vertex(gl, end);
    gl.End();
}

double FixedValue(const FIXED& f) { return (f.value + f.fract / 65536.0) / kGlyphOutlineMagnification; }

double PlanarDistance(const CVector3& a, const CVector3& b)
{
    return std::hypot(a.x.GetValue() - b.x.GetValue(), a.y.GetValue() - b.y.GetValue());
}

// What the tessellator callbacks work on.
struct TessTarget {
    GlApi* gl = nullptr;
    IPolylineSet* set = nullptr;
    int32_t current = -1;
    // Points the combine callback makes live until the polygon ends.
    std::deque<std::array<double, 3>> combined;
};

void CALLBACK DrawBegin(GLenum type, void* data) { static_cast<TessTarget*>(data)->gl->Begin(type); }
void CALLBACK DrawVertex(void* vertex, void* data)
{
    const auto* p = static_cast<const double*>(vertex);
    static_cast<TessTarget*>(data)->gl->Vertex3d(p[0], p[1], p[2]);
}
void CALLBACK DrawEnd(void* data) { static_cast<TessTarget*>(data)->gl->End(); }

void CALLBACK CollectBegin(GLenum type, void* data)
{
    auto* target = static_cast<TessTarget*>(data);
    uint32_t tag = 0;
    switch (type) {
    case GL_TRIANGLES:
        tag = 6;
        break;
    case GL_TRIANGLE_STRIP:
        tag = 4;
        break;
    case GL_TRIANGLE_FAN:
        tag = 5;
        break;
    default:
        target->current = -1;
        return;
    }
    target->set->AddPolyline(0, tag);
    uint32_t count = 0;
    target->set->GetCount(&count);
    target->current = static_cast<int32_t>(count) - 1;
}
void CALLBACK CollectVertex(void* vertex, void* data)
{
    auto* target = static_cast<TessTarget*>(data);
    if (target->current < 0) {
        return;
    }
    const auto* p = static_cast<const double*>(vertex);
    target->set->AddPoint(target->current, p[0], p[1], p[2]);
}
void CALLBACK CollectEnd(void*) {}

// Where outlines cross themselves the tessellator needs a new vertex.
void CALLBACK Combine(double coords[3], void*[4], float[4], void** out, void* data)
{
    auto* target = static_cast<TessTarget*>(data);
    target->combined.push_back({coords[0], coords[1], coords[2]});
    *out = target->combined.back().data();
}

using TessCallback = void(CALLBACK*)();

// One polygon of all contours of a character through the tessellator.
// What the tessellator's triangles are for: drawn at once, or only
// collected.
enum class Triangles { Collect, Draw };

void Tessellate(const GlyphContours& glyph, TessTarget& target, Triangles triangles)
{
    const bool draw = triangles == Triangles::Draw;
    GLUtesselator* tess = gluNewTess();
    if (tess == nullptr) {
        return;
    }
    if (draw) {
        gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<TessCallback>(DrawBegin));
        gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<TessCallback>(DrawVertex));
        gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<TessCallback>(DrawEnd));
    } else {
        gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<TessCallback>(CollectBegin));
        gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<TessCallback>(CollectVertex));
        gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<TessCallback>(CollectEnd));
    }
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<TessCallback>(Combine));
    std::vector<std::array<double, 3>> coords;
    coords.reserve(glyph.points.size());
    for (const CVector3& p : glyph.points) {
        coords.push_back({p.x.GetValue(), p.y.GetValue(), p.z.GetValue()});
    }
    gluTessBeginPolygon(tess, &target);
    size_t next = 0;
    for (int32_t length : glyph.lengths) {
        gluTessBeginContour(tess);
        for (int32_t i = 0; i < length; ++i, ++next) {
            gluTessVertex(tess, coords[next].data(), coords[next].data());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    target.combined.clear();
}

void ContourLoops(GlApi& gl, const GlyphContours& glyph)
{
    size_t next = 0;
    for (int32_t length : glyph.lengths) {
        gl.Begin(GL_LINE_LOOP);
        for (int32_t i = 0; i < length; ++i, ++next) {
            Vertex(gl, glyph.points[next]);
        }
        gl.End();
    }
}

}  // namespace

int CGraphicsContext::CurveSteps(double radius, double scale)
{
    const double pixels = radius * scale;
    if (!std::isfinite(pixels) || pixels <= 0.0) {
        return 0;
    }
    const double steps = std::trunc(kTwoPi * std::sqrt(pixels) / kCurveStepFactor);
    return steps > kMaxCurveSteps ? kMaxCurveSteps : static_cast<int>(steps);
}

HRESULT CGraphicsContext::DrawEllipse(IVector3* centre, IVector3* normal, IVector3* firstAxis, IReal* firstRadius,
                                      IReal* secondRadius)
{
    if (!Painting()) {
        return E_FAIL;
    }
    const CVector3 c(centre);
    const CVector3 u(firstAxis);
    const CVector3 v = CVector3(normal).Cross(u);
    CReal r1;
    CReal r2;
    r1.CopyFrom(firstRadius);
    r2.CopyFrom(secondRadius);
    const CVector3 a1 = u * r1;
    const CVector3 a2 = v * r2;
    const double radius = std::max(r1.GetValue(), r2.GetValue());
    const double step = kTwoPi / CurveSteps(radius, m_owner.GetScale());
    const int m = static_cast<int>(std::trunc(kTwoPi / step + 1.0));
    if (m == 0) {
        return S_OK;
    }
    CurveStrip(m_gl, c, a1, a2, step, m, c + a1);
    return S_OK;
}

HRESULT CGraphicsContext::DrawArc(IVector3* centre, IVector3* normal, IVector3* start, IVector3* end)
{
    if (!Painting()) {
        return E_FAIL;
    }
    const CVector3 c(centre);
    const CVector3 n(normal);
    const CVector3 p1(start);
    const CVector3 p2(end);
    if (c == p1 || c == p2) {
        return S_OK;
    }
    const CReal r = (p1 - c).Length();
    const CVector3 d1 = (p1 - c) / r;
    const CVector3 y = n.Cross(d1);
    const CVector3 a1 = d1 * r;
    const CVector3 a2 = y * r;
    const CVector3 toEnd = p2 - c;
    const double endLength = toEnd.Length().GetValue();
    const double cosTheta = d1.Dot(toEnd).GetValue() / endLength;
    const CVector3 across = d1.Cross(toEnd);
    double sinTheta = across.Length().GetValue() / endLength;
    if (across.Dot(n).GetValue() < 0.0) {
        sinTheta = -sinTheta;
    }
    double theta = std::atan2(sinTheta, cosTheta);
    if (theta < 0.0) {
        theta += kTwoPi;
    }
    const CVector3 e = c + a1 * std::cos(theta) + a2 * std::sin(theta);
    const double step = kTwoPi / CurveSteps(r.GetValue(), m_owner.GetScale());
    const bool fullCircle = std::abs(sinTheta) < kRealTolerance && cosTheta > kRealTolerance;
    const int m = static_cast<int>(std::trunc((fullCircle ? kTwoPi : theta) / step + 1.0));
    if (m == 0) {
        return S_OK;
    }
    CurveStrip(m_gl, c, a1, a2, step, m, e);
    return S_OK;
}

GlyphContours CGraphicsContext::ParseGlyphOutline(const BYTE* data, size_t size, const CVector3& pen, double scale,
                                                  double factor)
{
    GlyphContours glyph;
    auto point = [&pen](const POINTFX& fx) {
        return CVector3(pen.x.GetValue() + FixedValue(fx.x), pen.y.GetValue() + FixedValue(fx.y), pen.z);
    };
    size_t offset = 0;
    while (offset + sizeof(TTPOLYGONHEADER) <= size) {
        TTPOLYGONHEADER header;
        std::memcpy(&header, data + offset, sizeof header);
        if (header.cb < sizeof(TTPOLYGONHEADER) || header.cb > size - offset) {
            break;
        }
        const size_t contourEnd = offset + header.cb;
        glyph.points.push_back(point(header.pfxStart));
        glyph.lengths.push_back(1);
        int32_t& length = glyph.lengths.back();
        size_t record = offset + sizeof(TTPOLYGONHEADER);
        while (record + 4 <= contourEnd) {
            WORD type = 0;
            WORD count = 0;
            std::memcpy(&type, data + record, 2);
            std::memcpy(&count, data + record + 2, 2);
            const size_t recordSize = 4 + 8 * static_cast<size_t>(count);
            if (recordSize > contourEnd - record) {
                break;
            }
            std::vector<CVector3> points(count);
            for (WORD i = 0; i < count; ++i) {
                POINTFX fx;
                std::memcpy(&fx, data + record + 4 + 8 * static_cast<size_t>(i), sizeof fx);
                points[i] = point(fx);
            }
            if (type == TT_PRIM_LINE) {
                glyph.points.insert(glyph.points.end(), points.begin(), points.end());
                length += count;
            } else if (type == TT_PRIM_QSPLINE && count >= 2) {
                CVector3 p0 = glyph.points.back();
                CVector3 b = points[0];
                for (WORD i = 1; i < count; ++i) {
                    const CVector3 q = i + 1 == count ? points[i] : (points[i] + b) * 0.5;
                    const double bulge = PlanarDistance(b, p0) + PlanarDistance(b, q) - PlanarDistance(q, p0);
                    double steps = std::trunc(std::sqrt(std::max(bulge, 0.0) * scale) * factor);
                    if (!(steps >= kMinSplineSteps)) {
                        steps = kMinSplineSteps;
                    }
                    const int k = steps > kMaxSplineSteps ? kMaxSplineSteps : static_cast<int>(steps);
                    const CVector3 first = (b - p0) * 2.0;
                    const CVector3 second = p0 - b * 2.0 + q;
                    for (int j = 1; j < k; ++j) {
                        const double u = static_cast<double>(j) / k;
                        CVector3 on = p0 + first * u + second * (u * u);
                        on.z = p0.z;
                        glyph.points.push_back(on);
                    }
                    glyph.points.push_back(q);
                    length += k;
                    p0 = q;
                    b = points[i];
                }
            }
            record += recordSize;
        }
        offset = contourEnd;
    }
    return glyph;
}

void CGraphicsContext::AppendGlyphTriangles(const GlyphContours& glyph, IPolylineSet* target)
{
    TessTarget collect;
    collect.set = target;
    Tessellate(glyph, collect, Triangles::Collect);
}

template <class Each>
HRESULT CGraphicsContext::ForEachGlyph(const char* text, double factor, Each each)
{
    HDC dc = m_owner.GetPaintDC();
    if (dc == nullptr || text == nullptr) {
        return E_FAIL;
    }
    HFONT font = CreateFontIndirectA(&m_font);
    if (font == nullptr) {
        return E_FAIL;
    }
    {
        const SelectedObject selected(dc, font);
        MAT2 magnify{};
        magnify.eM11.value = static_cast<SHORT>(kGlyphOutlineMagnification);
        magnify.eM22.value = static_cast<SHORT>(kGlyphOutlineMagnification);
        const double scale = m_owner.GetScale();
        CVector3 pen(0.0, 0.0, 0.0);
        std::vector<BYTE> buffer;
        for (const char* c = text; *c != '\0'; ++c) {
            // Bytes are character codes 0 to 255, never negative.
            const UINT code = static_cast<unsigned char>(*c);
            GLYPHMETRICS metrics{};
            const DWORD size = GetGlyphOutlineA(dc, code, GGO_NATIVE, &metrics, 0, nullptr, &magnify);
            GlyphContours glyph;
            if (size == GDI_ERROR) {
                // A character the font cannot outline is left out: no contours,
                // no advance.
                each(glyph);
                continue;
            }
            if (size > 0) {
                buffer.assign(size, 0);
                if (GetGlyphOutlineA(dc, code, GGO_NATIVE, &metrics, size, buffer.data(), &magnify) == GDI_ERROR) {
                    each(glyph);
                    continue;
                }
                glyph = ParseGlyphOutline(buffer.data(), size, pen, scale, factor);
            }
            each(glyph);
            pen.x += metrics.gmCellIncX / kGlyphOutlineMagnification;
            pen.y += metrics.gmCellIncY / kGlyphOutlineMagnification;
        }
    }
    DeleteObject(font);
    return S_OK;
}

HRESULT CGraphicsContext::DrawString(const char* text, IVector3* origin, IVector3* baselinePoint, IVector3* normal,
                                     BOOL filled)
{
    if (!Painting()) {
        return E_FAIL;
    }
    const CVector3 o(origin);
    const CVector3 xAxis = (CVector3(baselinePoint) - o).Normalized();
    const CVector3 zAxis = CVector3(normal).Normalized();
    const CVector3 yAxis = zAxis.Cross(xAxis);
    const double frame[16] = {xAxis.x.GetValue(), xAxis.y.GetValue(), xAxis.z.GetValue(), 0.0,
                              yAxis.x.GetValue(), yAxis.y.GetValue(), yAxis.z.GetValue(), 0.0,
                              zAxis.x.GetValue(), zAxis.y.GetValue(), zAxis.z.GetValue(), 0.0,
                              o.x.GetValue(),     o.y.GetValue(),     o.z.GetValue(),     1.0};
    m_gl.MatrixMode(GL_MODELVIEW);
    m_gl.PushMatrix();
    m_gl.MultMatrixd(frame);
    const HRESULT result = ForEachGlyph(text, kDrawnTextSplineFactor, [&](const GlyphContours& glyph) {
        if (!filled) {
            ContourLoops(m_gl, glyph);
            return;
        }
        TessTarget target;
        target.gl = &m_gl;
        Tessellate(glyph, target, Triangles::Draw);
        m_gl.LineWidth(1.0f);
        ContourLoops(m_gl, glyph);
    });
    m_gl.MatrixMode(GL_MODELVIEW);
    m_gl.PopMatrix();
    return result;
}

HRESULT CGraphicsContext::StringToPolylines(const char* text, IPolylineSet* target, BOOL filled, uint32_t* ends)
{
    if (!Painting()) {
        return E_FAIL;
    }
    uint32_t base = 0;
    target->GetCount(&base);
    size_t index = 0;
    return ForEachGlyph(text, kPolylineTextSplineFactor, [&](const GlyphContours& glyph) {
        if (!filled) {
            target->AddPolylines(static_cast<uint32_t>(glyph.lengths.size()), 3);
            size_t next = 0;
            for (size_t k = 0; k < glyph.lengths.size(); ++k) {
                for (int32_t i = 0; i < glyph.lengths[k]; ++i, ++next) {
                    const CVector3& p = glyph.points[next];
                    target->AddPoint(static_cast<int32_t>(base + k), p.x.GetValue(), p.y.GetValue(),
                                     p.z.GetValue());
                }
            }
            base += static_cast<uint32_t>(glyph.lengths.size());
        } else {
            AppendGlyphTriangles(glyph, target);
        }
        if (ends != nullptr) {
            uint32_t count = 0;
            target->GetCount(&count);
            ends[index] = count;
        }
        ++index;
    });
}
