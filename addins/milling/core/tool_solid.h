// CToolSolid: the shape of a milling tool as surfaces of revolution around
// its axis, for drawing in the view: the cutting end and flank in one
// profile, the shank in another, so that they can be drawn in different
// colours.
//
// Conventions: the tool tip is at the origin, the axis is +z (pointing up,
// away from the work), lengths in drawing units, angles in radians measured
// counter-clockwise around +z from +x. Mode 0 builds the shaded form
// (triangle strips and fans with normals); any other mode the wireframe
// form (end discs and ring positions as rims, the corner's meridians as
// lines, flanks as strips drawn as outlines).
#pragma once

#include <cstdint>
#include <vector>

#include "objectmodel/vector3.h"

// How a piece is drawn.
enum ToolMeshKind : int32_t {
    kToolMeshLines = 0,         // pairs of points, separate lines
    kToolMeshLineStrip = 1,
    kToolMeshTriangleStrip = 2,
    kToolMeshTriangleFan = 3,
    kToolMeshHidden = 4,        // not drawn
};

// The number of facets around the axis for a tool of diameter d drawn at
// view scale s (screen units per drawing unit): the integer part of
// sqrt(d s) x 0.9 pi, held to 8 .. 32 and raised to a multiple of 4, so the
// quarter points of every circle lie on facet edges. 8 for a d s that is
// not a positive number.
int ToolFacetCount(double diameter, double scale);

class CToolMesh {
public:
    int32_t kind = kToolMeshHidden;

    size_t GetPointCount() const { return m_points.size(); }
    const CVector3& GetPoint(size_t index) const { return m_points.at(index); }
    const CVector3& GetNormal(size_t index) const { return m_normals.at(index); }

    // A strip around the axis between the circles of radius r0 at height z0
    // and r1 at z1: for each of the n + 1 angles i 2 pi / n (the last
    // repeats the first) a point on each circle, with the radial normal.
    // Nothing for n <= 2.
    void BuildCylinder(double radius, double z0, double z1, int facets, int mode);
    // Mode 0: a fan of the centre and the n + 1 circle points, every point
    // with the normal (0, 0, normalZ); other modes: the rim alone as a line
    // strip of the n + 1 circle points. Nothing for n <= 2.
    void BuildDisc(double radius, double z, double normalZ, int facets, int mode);
    // A strip between two circles of a surface of revolution, each given by
    // its radius, height and the meridian direction of its normal (radial
    // part, axial part).
    void BuildBand(double radius0, double z0, double normalRadial0, double normalAxial0, double radius1, double z1,
                   double normalRadial1, double normalAxial1, int facets);
    // Separate lines along the meridians of a revolved arc: for each facet
    // angle, a line from ring k to ring k + 1 for every step.
    void BuildMeridians(const std::vector<double>& radii, const std::vector<double>& heights, int facets);

private:
    void Add(double x, double y, double z, double nx, double ny, double nz);

    std::vector<CVector3> m_points;
    std::vector<CVector3> m_normals;
};

class CToolProfile {
public:
    virtual ~CToolProfile() = default;

    void AddCylinder(double radius, double z0, double z1, int facets, int mode);
    void AddDisc(double radius, double z, double normalZ, int facets, int mode);
    // The corner of a rounded end: the tube of the torus with outer radius
    // `outer` and inner radius `inner` (tube radius (outer - inner) / 2),
    // its centre circle at height `centreZ`, swept from `startAngle` to
    // `endAngle` around the tube (0 pointing outwards, pi/2 up; an end
    // below the start has 2 pi added). The arc is divided into
    // m = integer part of n sqrt(tube / outer) steps, at least 1 so the
    // corner is never left open.
    void AddTorus(double outer, double inner, double centreZ, double startAngle, double endAngle, int facets,
                  int mode);
    // A ball end: the sphere of the radius centred on the axis at centreZ,
    // from latitude `start` to `end` (clamped to -pi/2 .. pi/2), in the
    // integer part of n (end - start) / 2 pi + 1 rings.
    void AddSphere(double radius, double centreZ, double start, double end, int facets, int mode);

    const CToolMesh& GetPiece(size_t index) const { return m_pieces.at(index); }
    size_t GetPieceCount() const { return m_pieces.size(); }
    void RemoveAll() { m_pieces.clear(); }

private:
    // A meridian arc of a surface of revolution: centre (radial, z) of the
    // arc, its radius, and the angles of its steps.
    void AddRevolvedArc(double centreRadial, double centreZ, double radius, double start, double end, int steps,
                        int facets, int mode);
    CToolMesh& NewPiece();

    std::vector<CToolMesh> m_pieces;
};

// The OpenGL calls a tool is drawn with; the view's drawing uses the real
// ones (RealToolGl), tests record them.
class CToolGl {
public:
    virtual ~CToolGl() = default;
    virtual void Enable(unsigned capability) = 0;
    virtual void Disable(unsigned capability) = 0;
    virtual void PolygonMode(unsigned face, unsigned mode) = 0;
    virtual void PushMatrix() = 0;
    virtual void PopMatrix() = 0;
    virtual void Translated(double x, double y, double z) = 0;
    virtual void Color3d(double red, double green, double blue) = 0;
    virtual void Begin(unsigned mode) = 0;
    virtual void End() = 0;
    virtual void Normal3d(double x, double y, double z) = 0;
    virtual void Vertex3d(double x, double y, double z) = 0;
};
// The calls of the current OpenGL context.
CToolGl& RealToolGl();

// The colours of the parts (red, green, blue in 0 .. 1).
struct ToolColour {
    double red;
    double green;
    double blue;
};
inline constexpr ToolColour kShankColour = {1.0, 0.8, 0.4};
inline constexpr ToolColour kCuttingColourSet = {0.2, 0.2, 1.0};
inline constexpr ToolColour kCuttingColourClear = {1.0, 0.2, 0.2};

class CToolSolid {
public:
    virtual ~CToolSolid() = default;

    // Empties both profiles and builds them for diameter d, corner radius
    // r, cut length c and length L at view scale s. Refused (0, both
    // profiles empty, built flag 0) unless d > 0, r >= 0, d >= 2 r, r < c
    // and c <= L, all finite; 1 when built.
    int Build(double diameter, double cornerRadius, double cutLength, double length, double scale, int mode);

    // Draws the solid at `position`: lighting on, the shank profile in its
    // colour, then the cutting profile in the colour the flag chooses,
    // lighting off; the model-view matrix is restored. Nothing for a solid
    // that is not built.
    void Draw(CToolGl& gl, double x, double y, double z, bool colourFlag) const;

    const CToolProfile& CuttingProfile() const { return m_cutting; }
    const CToolProfile& ShankProfile() const { return m_shank; }
    bool IsBuilt() const { return m_built != 0; }
    int GetFacets() const { return m_facets; }
    int GetMode() const { return m_mode; }
    double GetCornerRadius() const { return m_cornerRadius; }
    double GetCutLength() const { return m_cutLength; }
    double GetLength() const { return m_length; }
    double GetDiameter() const { return m_diameter; }

private:
    CToolProfile m_cutting;
    CToolProfile m_shank;
    double m_cornerRadius = 0.0;
    double m_cutLength = 0.0;
    double m_length = 0.0;
    double m_diameter = 0.0;
    int32_t m_built = 0;
    int m_facets = 0;
    int m_mode = 0;
};

// Draws one profile: lines and line strips with lighting off for the piece,
// strips and fans with each point's normal before it; hidden pieces are
// skipped.
void DrawToolProfile(CToolGl& gl, const CToolProfile& profile);
