// CToolSolid, CToolProfile and CToolMesh: the tool's surfaces and their
// drawing.
#include "addins/milling/core/tool_solid.h"

#include <algorithm>
#include <cmath>

#include "platform/gl/opengl.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
// 0.9 pi: the facets per square root of the tool's diameter on screen.
constexpr double kFacetsPerRootDiameter = 2.827433388230814;
constexpr int kMinFacets = 8;
constexpr int kMaxFacets = 32;

// A ring this close to the axis, relative to the arc's size, lies on it.
constexpr double kOnAxis = 1e-12;

int RoundUpToFour(int n) { return n % 4 == 0 ? n : n + 4 - n % 4; }

class RealGl final : public CToolGl {
public:
    void Enable(unsigned capability) override { glEnable(capability); }
    void Disable(unsigned capability) override { glDisable(capability); }
    void PolygonMode(unsigned face, unsigned mode) override { glPolygonMode(face, mode); }
    void PushMatrix() override { glPushMatrix(); }
    void PopMatrix() override { glPopMatrix(); }
    void Translated(double x, double y, double z) override { glTranslated(x, y, z); }
    void Color3d(double red, double green, double blue) override { glColor3d(red, green, blue); }
    void Begin(unsigned mode) override { glBegin(mode); }
    void End() override { glEnd(); }
    void Normal3d(double x, double y, double z) override { glNormal3d(x, y, z); }
    void Vertex3d(double x, double y, double z) override { glVertex3d(x, y, z); }
};

} // namespace

int ToolFacetCount(double diameter, double scale)
{
    const double product = diameter * scale;
    if (!(product > 0.0) || !std::isfinite(product))
        return kMinFacets;
    const double raw = std::sqrt(product) * kFacetsPerRootDiameter;
    const int n = raw >= kMaxFacets ? kMaxFacets : std::max(kMinFacets, static_cast<int>(raw));
    return RoundUpToFour(n);
}

CToolGl& RealToolGl()
{
    static RealGl gl;
    return gl;
}

void CToolMesh::Add(double x, double y, double z, double nx, double ny, double nz)
{
    m_points.emplace_back(x, y, z);
    m_normals.emplace_back(nx, ny, nz);
}

void CToolMesh::BuildCylinder(double radius, double z0, double z1, int facets, int)
{
    // A band whose normals point straight out.
    BuildBand(radius, z0, 1.0, 0.0, radius, z1, 1.0, 0.0, facets);
}

void CToolMesh::BuildDisc(double radius, double z, double normalZ, int facets, int mode)
{
    kind = mode == 0 ? kToolMeshTriangleFan : kToolMeshLineStrip;
    if (facets <= 2)
        return;
    if (mode == 0)
        Add(0.0, 0.0, z, 0.0, 0.0, normalZ);
    for (int i = 0; i <= facets; ++i) {
        const double angle = (i % facets) * kTwoPi / facets;
        Add(radius * std::cos(angle), radius * std::sin(angle), z, 0.0, 0.0, normalZ);
    }
}

void CToolMesh::BuildBand(double radius0, double z0, double normalRadial0, double normalAxial0, double radius1,
                          double z1, double normalRadial1, double normalAxial1, int facets)
{
    kind = kToolMeshTriangleStrip;
    if (facets <= 2)
        return;
    for (int i = 0; i <= facets; ++i) {
        const double angle = (i % facets) * kTwoPi / facets;
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        Add(radius0 * c, radius0 * s, z0, normalRadial0 * c, normalRadial0 * s, normalAxial0);
        Add(radius1 * c, radius1 * s, z1, normalRadial1 * c, normalRadial1 * s, normalAxial1);
    }
}

void CToolMesh::BuildMeridians(const std::vector<double>& radii, const std::vector<double>& heights, int facets)
{
    kind = kToolMeshLines;
    if (facets <= 2 || radii.size() < 2 || radii.size() != heights.size())
        return;
    for (int i = 0; i < facets; ++i) {
        const double angle = i * kTwoPi / facets;
        const double c = std::cos(angle);
        const double s = std::sin(angle);
        for (size_t k = 0; k + 1 < radii.size(); ++k) {
            Add(radii[k] * c, radii[k] * s, heights[k], c, s, 0.0);
            Add(radii[k + 1] * c, radii[k + 1] * s, heights[k + 1], c, s, 0.0);
        }
    }
}

CToolMesh& CToolProfile::NewPiece()
{
    m_pieces.emplace_back();
    return m_pieces.back();
}

void CToolProfile::AddCylinder(double radius, double z0, double z1, int facets, int mode)
{
    NewPiece().BuildCylinder(radius, z0, z1, facets, mode);
}

void CToolProfile::AddDisc(double radius, double z, double normalZ, int facets, int mode)
{
    NewPiece().BuildDisc(radius, z, normalZ, facets, mode);
}

void CToolProfile::AddTorus(double outer, double inner, double centreZ, double startAngle, double endAngle,
                            int facets, int mode)
{
    const double tube = (outer - inner) / 2.0;
    const double centreRadius = (outer + inner) / 2.0;
    if (endAngle < startAngle)
        endAngle += kTwoPi;
    if (mode != 0)
        facets = RoundUpToFour(facets);
    const int steps = outer > 0.0 && tube > 0.0 ? static_cast<int>(facets * std::sqrt(tube / outer)) : 0;
    // A corner radius tiny beside the diameter gives no step: one band
    // still closes the end disc to the flank.
    AddRevolvedArc(centreRadius, centreZ, tube, startAngle, endAngle, std::max(steps, 1), facets, mode);
}

void CToolProfile::AddSphere(double radius, double centreZ, double start, double end, int facets, int mode)
{
    start = std::clamp(start, -kPi / 2.0, kPi / 2.0);
    end = std::clamp(end, -kPi / 2.0, kPi / 2.0);
    const int rings = static_cast<int>(facets * (end - start) / 2.0 / kPi + 1.0);
    AddRevolvedArc(0.0, centreZ, radius, start, end, std::max(rings, 1), facets, mode);
}

void CToolProfile::AddRevolvedArc(double centreRadial, double centreZ, double radius, double start, double end,
                                  int steps, int facets, int mode)
{
    std::vector<double> radii, heights, cosines, sines;
    for (int k = 0; k <= steps; ++k) {
        const double angle = start + (end - start) * k / steps;
        cosines.push_back(std::cos(angle));
        sines.push_back(std::sin(angle));
        radii.push_back(std::max(0.0, centreRadial + radius * cosines.back()));
        heights.push_back(centreZ + radius * sines.back());
    }
    if (mode == 0) {
        for (int k = 0; k < steps; ++k)
            NewPiece().BuildBand(radii[k], heights[k], cosines[k], sines[k], radii[k + 1], heights[k + 1],
                                 cosines[k + 1], sines[k + 1], facets);
        return;
    }
    // The rims of the ring positions (a ring on the axis has none), then
    // the meridians between them.
    for (int k = 0; k <= steps; ++k) {
        if (radii[k] > kOnAxis * (radius + std::fabs(centreRadial)))
            NewPiece().BuildDisc(radii[k], heights[k], sines[k] < 0.0 ? -1.0 : 1.0, facets, mode);
    }
    NewPiece().BuildMeridians(radii, heights, facets);
}

int CToolSolid::Build(double diameter, double cornerRadius, double cutLength, double length, double scale, int mode)
{
    m_cutting.RemoveAll();
    m_shank.RemoveAll();
    m_built = 0;
    const double d = diameter, r = cornerRadius, c = cutLength, L = length;
    const bool finite = std::isfinite(d) && std::isfinite(r) && std::isfinite(c) && std::isfinite(L);
    if (!finite || !(d > 0.0) || !(r >= 0.0) || !(d >= 2.0 * r) || !(r < c) || !(c <= L))
        return 0;
    const int n = ToolFacetCount(d, scale);
    m_cornerRadius = r;
    m_cutLength = c;
    m_length = L;
    m_diameter = d;
    m_facets = n;
    m_mode = mode;
    m_built = 1;

    if (d <= 2.0 * r) {
        m_cutting.AddSphere(r, r, -kPi / 2.0, 0.0, n, mode);
    } else {
        m_cutting.AddDisc(d / 2.0 - r, 0.0, -1.0, n, mode);
        if (r > 0.0)
            m_cutting.AddTorus(d / 2.0, d / 2.0 - 2.0 * r, r, 3.0 * kPi / 2.0, 0.0, n, mode);
    }
    m_cutting.AddCylinder(d / 2.0, r, c, n, mode);
    m_shank.AddCylinder(d / 2.0, c, L, n, mode);
    m_shank.AddDisc(d / 2.0, L, 1.0, n, mode);
    return 1;
}

void DrawToolProfile(CToolGl& gl, const CToolProfile& profile)
{
    for (size_t i = 0; i < profile.GetPieceCount(); ++i) {
        const CToolMesh& piece = profile.GetPiece(i);
        const bool lines = piece.kind == kToolMeshLines || piece.kind == kToolMeshLineStrip;
        const bool surface = piece.kind == kToolMeshTriangleStrip || piece.kind == kToolMeshTriangleFan;
        if (!lines && !surface)
            continue;
        if (lines)
            gl.Disable(GL_LIGHTING);
        gl.Begin(piece.kind == kToolMeshLines        ? GL_LINES
                 : piece.kind == kToolMeshLineStrip  ? GL_LINE_STRIP
                 : piece.kind == kToolMeshTriangleStrip ? GL_TRIANGLE_STRIP
                                                     : GL_TRIANGLE_FAN);
        for (size_t k = 0; k < piece.GetPointCount(); ++k) {
            const CVector3& point = piece.GetPoint(k);
            if (surface) {
                const CVector3& normal = piece.GetNormal(k);
                gl.Normal3d(normal.x.GetValue(), normal.y.GetValue(), normal.z.GetValue());
            }
            gl.Vertex3d(point.x.GetValue(), point.y.GetValue(), point.z.GetValue());
        }
        gl.End();
        if (lines)
            gl.Enable(GL_LIGHTING);
    }
}

void CToolSolid::Draw(CToolGl& gl, double x, double y, double z, bool colourFlag) const
{
    if (m_built == 0)
        return;
    gl.Enable(GL_LIGHTING);
    gl.PushMatrix();
    gl.Translated(x, y, z);
    // The wireframe's flanks show as the outlines of their facets.
    if (m_mode != 0)
        gl.PolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    gl.Color3d(kShankColour.red, kShankColour.green, kShankColour.blue);
    DrawToolProfile(gl, m_shank);
    const ToolColour cutting = colourFlag ? kCuttingColourSet : kCuttingColourClear;
    gl.Color3d(cutting.red, cutting.green, cutting.blue);
    DrawToolProfile(gl, m_cutting);
    if (m_mode != 0)
        gl.PolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    gl.PopMatrix();
    gl.Disable(GL_LIGHTING);
}
