// The tool's shape: facet counts, the pieces of each kind of end, the
// refused dimensions, points on the surfaces they stand for, and the
// OpenGL calls the drawn tool makes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "addins/milling/core/tool_solid.h"
#include "platform/gl/opengl.h"

namespace {

double X(const CVector3& v) { return v.x.GetValue(); }
double Y(const CVector3& v) { return v.y.GetValue(); }
double Z(const CVector3& v) { return v.z.GetValue(); }
double Radial(const CVector3& v) { return std::hypot(X(v), Y(v)); }

std::vector<int> Kinds(const CToolProfile& profile)
{
    std::vector<int> kinds;
    for (size_t i = 0; i < profile.GetPieceCount(); ++i)
        kinds.push_back(profile.GetPiece(i).kind);
    return kinds;
}

std::vector<size_t> Counts(const CToolProfile& profile)
{
    std::vector<size_t> counts;
    for (size_t i = 0; i < profile.GetPieceCount(); ++i)
        counts.push_back(profile.GetPiece(i).GetPointCount());
    return counts;
}

TEST(ToolFacets, GrowWithTheRootOfTheDiameterOnScreen)
{
    struct Row {
        const char* name;
        double diameter;
        double scale;
        int facets;
    };
    const Row rows[] = {
        {"d 10: 8.94", 10, 1, 8},
        {"d 100: 28.27", 100, 1, 28},
        {"d 200: 39.98 held to 32", 200, 1, 32},
        {"d 11: 9.38 raised to 12", 11, 1, 12},
        {"d 19: 12.32 stays 12", 19, 1, 12},
        {"d 1: 2.83 held to 8", 1, 1, 8},
        {"d 10 at scale 10: 28.27", 10, 10, 28},
        {"no diameter", 0, 1, 8},
        {"no scale", 10, 0, 8},
        {"a scale that is not a number", 10, std::nan(""), 8},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ToolFacetCount(row.diameter, row.scale), row.facets);
    }
}

// The pieces of each kind of end, shaded (mode 0) and as a wireframe.
TEST(ToolSolid, ThePiecesOfEachEnd)
{
    struct Row {
        const char* name;
        double d, r, c, L, s;
        int mode;
        std::vector<int> cuttingKinds;
        std::vector<size_t> cuttingCounts;
        std::vector<int> shankKinds;
        std::vector<size_t> shankCounts;
    };
    const Row rows[] = {
        {"flat end", 10, 0, 20, 50, 1, 0, {3, 2}, {10, 18}, {2, 3}, {18, 10}},
        {"rounded corner: m = 8 sqrt(1/5) = 3 bands", 10, 1, 20, 50, 1, 0, {3, 2, 2, 2, 2}, {10, 18, 18, 18, 18},
         {2, 3}, {18, 10}},
        {"ball end: 8/4 + 1 = 3 rings, no disc", 10, 5, 20, 50, 1, 0, {2, 2, 2, 2}, {18, 18, 18, 18}, {2, 3},
         {18, 10}},
        {"large tool: 28 facets", 100, 0, 20, 50, 1, 0, {3, 2}, {30, 58}, {2, 3}, {58, 30}},
        {"cut length = length: shank of height 0", 10, 0, 50, 50, 1, 0, {3, 2}, {10, 18}, {2, 3}, {18, 10}},
        {"flat end, wireframe: rims", 10, 0, 20, 50, 1, 1, {1, 2}, {9, 18}, {2, 1}, {18, 9}},
        // Rims at the 4 ring positions, then 8 meridians of 3 steps as
        // separate lines.
        {"rounded corner, wireframe", 10, 1, 20, 50, 1, 1, {1, 1, 1, 1, 1, 0, 2}, {9, 9, 9, 9, 9, 48, 18},
         {2, 1}, {18, 9}},
        // The tip ring lies on the axis and has no rim.
        {"ball end, wireframe", 10, 5, 20, 50, 1, 1, {1, 1, 1, 0, 2}, {9, 9, 9, 48, 18}, {2, 1}, {18, 9}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CToolSolid solid;
        ASSERT_EQ(solid.Build(row.d, row.r, row.c, row.L, row.s, row.mode), 1);
        EXPECT_TRUE(solid.IsBuilt());
        EXPECT_EQ(Kinds(solid.CuttingProfile()), row.cuttingKinds);
        EXPECT_EQ(Counts(solid.CuttingProfile()), row.cuttingCounts);
        EXPECT_EQ(Kinds(solid.ShankProfile()), row.shankKinds);
        EXPECT_EQ(Counts(solid.ShankProfile()), row.shankCounts);
        EXPECT_DOUBLE_EQ(solid.GetDiameter(), row.d);
        EXPECT_DOUBLE_EQ(solid.GetCornerRadius(), row.r);
        EXPECT_DOUBLE_EQ(solid.GetCutLength(), row.c);
        EXPECT_DOUBLE_EQ(solid.GetLength(), row.L);
    }
}

// Dimensions that make no tool are refused and leave the solid empty, also
// after a good build.
TEST(ToolSolid, RefusedDimensionsLeaveItEmpty)
{
    struct Row {
        const char* name;
        double d, r, c, L;
    };
    const Row rows[] = {
        {"radius equal to the cut length", 10, 2, 2, 50},
        {"radius above half the diameter", 10, 5.000001, 20, 50},
        {"no diameter", 0, 0, 20, 50},
        {"negative radius", 10, -1, 20, 50},
        {"cut longer than the tool", 10, 0, 51, 50},
        {"a length that is not a number", 10, 0, 20, std::nan("")},
        {"an infinite diameter", INFINITY, 0, 20, 50},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CToolSolid solid;
        ASSERT_EQ(solid.Build(10, 1, 20, 50, 1, 0), 1);
        EXPECT_EQ(solid.Build(row.d, row.r, row.c, row.L, 1, 0), 0);
        EXPECT_FALSE(solid.IsBuilt());
        EXPECT_EQ(solid.CuttingProfile().GetPieceCount(), 0u);
        EXPECT_EQ(solid.ShankProfile().GetPieceCount(), 0u);
    }
}

// The points lie on the surfaces they stand for, with unit normals that
// point out of the tool.
TEST(ToolSolid, PointsLieOnTheSurfaces)
{
    CToolSolid corner;
    ASSERT_EQ(corner.Build(10, 1, 20, 50, 1, 0), 1);
    const CToolProfile& cutting = corner.CuttingProfile();
    const CToolMesh& disc = cutting.GetPiece(0);
    EXPECT_DOUBLE_EQ(Z(disc.GetNormal(0)), -1.0);
    EXPECT_DOUBLE_EQ(Radial(disc.GetPoint(0)), 0.0);
    for (size_t k = 1; k < disc.GetPointCount(); ++k)
        EXPECT_NEAR(Radial(disc.GetPoint(k)), 4.0, 1e-12);
    for (size_t band = 1; band <= 3; ++band) {
        const CToolMesh& piece = cutting.GetPiece(band);
        for (size_t k = 0; k < piece.GetPointCount(); ++k) {
            const CVector3& p = piece.GetPoint(k);
            const CVector3& n = piece.GetNormal(k);
            // The tube of radius 1 around the circle of radius 4 at height 1.
            EXPECT_NEAR(std::hypot(Radial(p) - 4.0, Z(p) - 1.0), 1.0, 1e-12);
            EXPECT_NEAR(std::sqrt(X(n) * X(n) + Y(n) * Y(n) + Z(n) * Z(n)), 1.0, 1e-12);
            EXPECT_LE(Z(n), 1e-12) << "the corner faces down and out";
        }
    }
    // The corner runs from the end disc's rim to the flank's foot.
    EXPECT_NEAR(Radial(cutting.GetPiece(1).GetPoint(0)), 4.0, 1e-12);
    EXPECT_NEAR(Z(cutting.GetPiece(1).GetPoint(0)), 0.0, 1e-12);
    const CToolMesh& lastBand = cutting.GetPiece(3);
    EXPECT_NEAR(Radial(lastBand.GetPoint(lastBand.GetPointCount() - 1)), 5.0, 1e-12);
    EXPECT_NEAR(Z(lastBand.GetPoint(lastBand.GetPointCount() - 1)), 1.0, 1e-12);
    const CToolMesh& flank = cutting.GetPiece(4);
    EXPECT_NEAR(Z(flank.GetPoint(0)), 1.0, 1e-12);
    EXPECT_NEAR(Z(flank.GetPoint(1)), 20.0, 1e-12);
    // The first and last angle meet.
    EXPECT_NEAR(X(flank.GetPoint(0)), X(flank.GetPoint(16)), 1e-12);
    EXPECT_NEAR(Y(flank.GetPoint(0)), Y(flank.GetPoint(16)), 1e-12);

    CToolSolid ball;
    ASSERT_EQ(ball.Build(10, 5, 20, 50, 1, 0), 1);
    for (size_t band = 0; band < 3; ++band) {
        const CToolMesh& piece = ball.CuttingProfile().GetPiece(band);
        for (size_t k = 0; k < piece.GetPointCount(); ++k) {
            const CVector3& p = piece.GetPoint(k);
            EXPECT_NEAR(std::hypot(Radial(p), Z(p) - 5.0), 5.0, 1e-12);
            EXPECT_LE(Z(p), 5.0 + 1e-12);
        }
    }
    EXPECT_NEAR(Z(ball.CuttingProfile().GetPiece(0).GetPoint(0)), 0.0, 1e-12) << "the tip";

    CToolSolid top;
    ASSERT_EQ(top.Build(10, 0, 50, 50, 1, 0), 1);
    const CToolMesh& lid = top.ShankProfile().GetPiece(1);
    EXPECT_DOUBLE_EQ(Z(lid.GetPoint(0)), 50.0) << "the top disc at the cut length";
    EXPECT_DOUBLE_EQ(Z(lid.GetNormal(0)), 1.0);
}

// A corner radius tiny beside the diameter gives no step of the corner's
// arc: one band still closes the end, with finite points.
TEST(ToolSolid, ATinyCornerKeepsOneBand)
{
    CToolSolid solid;
    ASSERT_EQ(solid.Build(100, 0.001, 20, 50, 1, 0), 1);
    EXPECT_EQ(solid.GetFacets(), 28);
    EXPECT_EQ(Kinds(solid.CuttingProfile()), (std::vector<int>{3, 2, 2}));
    const CToolMesh& band = solid.CuttingProfile().GetPiece(1);
    for (size_t k = 0; k < band.GetPointCount(); ++k) {
        EXPECT_TRUE(std::isfinite(X(band.GetPoint(k))) && std::isfinite(Z(band.GetPoint(k))));
        EXPECT_NEAR(Radial(band.GetPoint(k)), k % 2 == 0 ? 49.999 : 50.0, 1e-9);
    }
}

class GlLog final : public CToolGl {
public:
    void Enable(unsigned capability) override { Add(capability == GL_LIGHTING ? "Enable LIGHTING" : "Enable ?"); }
    void Disable(unsigned capability) override
    {
        Add(capability == GL_LIGHTING ? "Disable LIGHTING" : "Disable ?");
    }
    void PolygonMode(unsigned, unsigned mode) override { Add(mode == GL_LINE ? "PolygonMode LINE" : "PolygonMode FILL"); }
    void PushMatrix() override { Add("PushMatrix"); }
    void PopMatrix() override { Add("PopMatrix"); }
    void Translated(double x, double y, double z) override { Add("Translate " + N(x) + " " + N(y) + " " + N(z)); }
    void Color3d(double r, double g, double b) override { Add("Color " + N(r) + " " + N(g) + " " + N(b)); }
    void Begin(unsigned mode) override
    {
        Add(std::string("Begin ") + (mode == GL_LINES        ? "LINES"
                                     : mode == GL_LINE_STRIP ? "LINE_STRIP"
                                     : mode == GL_TRIANGLE_STRIP ? "TRIANGLE_STRIP"
                                     : mode == GL_TRIANGLE_FAN ? "TRIANGLE_FAN"
                                                                 : "?"));
    }
    void End() override { Add("End"); }
    // Runs of normals and vertices are counted rather than listed.
    void Normal3d(double, double, double) override { Add("Normal"); }
    void Vertex3d(double, double, double) override { Add("Vertex"); }

    std::vector<std::string> lines;

private:
    static std::string N(double v)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%g", v);
        return text;
    }
    void Add(const std::string& line)
    {
        // "Normal Vertex" pairs and lone vertices fold into one counted line.
        const bool point = line == "Normal" || line == "Vertex";
        if (point && !lines.empty() && lines.back().rfind("points", 0) == 0) {
            if (line == "Vertex")
                ++m_vertices;
            else
                ++m_normals;
            lines.back() = "points " + std::to_string(m_vertices) + " normals " + std::to_string(m_normals);
            return;
        }
        if (point) {
            m_vertices = line == "Vertex" ? 1 : 0;
            m_normals = line == "Normal" ? 1 : 0;
            lines.push_back("points " + std::to_string(m_vertices) + " normals " + std::to_string(m_normals));
            return;
        }
        lines.push_back(line);
    }
    int m_vertices = 0;
    int m_normals = 0;
};

TEST(ToolSolid, TheDrawnToolsGlCalls)
{
    CToolSolid shaded;
    ASSERT_EQ(shaded.Build(10, 0, 20, 50, 1, 0), 1);
    GlLog gl;
    shaded.Draw(gl, 1, 2, 3, false);
    const std::vector<std::string> shadedCalls = {
        "Enable LIGHTING", "PushMatrix", "Translate 1 2 3", "Color 1 0.8 0.4",
        "Begin TRIANGLE_STRIP", "points 18 normals 18", "End",
        "Begin TRIANGLE_FAN", "points 10 normals 10", "End",
        "Color 1 0.2 0.2",
        "Begin TRIANGLE_FAN", "points 10 normals 10", "End",
        "Begin TRIANGLE_STRIP", "points 18 normals 18", "End",
        "PopMatrix", "Disable LIGHTING",
    };
    EXPECT_EQ(gl.lines, shadedCalls);

    CToolSolid wireframe;
    ASSERT_EQ(wireframe.Build(10, 0, 20, 50, 1, 1), 1);
    GlLog wires;
    wireframe.Draw(wires, 0, 0, 0, true);
    const std::vector<std::string> wireCalls = {
        "Enable LIGHTING", "PushMatrix", "Translate 0 0 0", "PolygonMode LINE", "Color 1 0.8 0.4",
        "Begin TRIANGLE_STRIP", "points 18 normals 18", "End",
        "Disable LIGHTING", "Begin LINE_STRIP", "points 9 normals 0", "End", "Enable LIGHTING",
        "Color 0.2 0.2 1",
        "Disable LIGHTING", "Begin LINE_STRIP", "points 9 normals 0", "End", "Enable LIGHTING",
        "Begin TRIANGLE_STRIP", "points 18 normals 18", "End",
        "PolygonMode FILL", "PopMatrix", "Disable LIGHTING",
    };
    EXPECT_EQ(wires.lines, wireCalls);

    CToolSolid refused;
    EXPECT_EQ(refused.Build(10, 2, 2, 50, 1, 0), 0);
    GlLog none;
    refused.Draw(none, 0, 0, 0, true);
    EXPECT_TRUE(none.lines.empty()) << "an empty solid draws nothing";
}

} // namespace
