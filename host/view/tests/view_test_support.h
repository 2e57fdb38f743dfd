// Fakes for the view tests: a GL call recorder behind the drawing seam, a
// view that owns a graphics context without a window, and a document whose
// system variables hold the view orientation and snap switches.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "host/document/tests/document_test_support.h"
#include "host/view/gl_api.h"
#include "host/view/graphics_context.h"
#include "host/view/view_transform.h"

// One recorded GL call: its name and its numeric arguments.
struct GlCall {
    std::string name;
    std::vector<double> args;
};

std::ostream& operator<<(std::ostream& out, const GlCall& call);

class RecordingGl : public GlApi {
public:
    void Begin(GLenum mode) override { Add("Begin", {static_cast<double>(mode)}); }
    void End() override { Add("End", {}); }
    void Vertex3d(double x, double y, double z) override { Add("Vertex", {x, y, z}); }
    void Color3d(double r, double g, double b) override { Add("Color", {r, g, b}); }
    void Color4d(double r, double g, double b, double a) override { Add("Color4", {r, g, b, a}); }
    void LineWidth(float width) override { Add("LineWidth", {width}); }
    void Enable(GLenum capability) override { Add("Enable", {static_cast<double>(capability)}); }
    void Disable(GLenum capability) override { Add("Disable", {static_cast<double>(capability)}); }
    void LineStipple(int factor, unsigned short pattern) override
    {
        Add("LineStipple", {static_cast<double>(factor), static_cast<double>(pattern)});
    }
    void MatrixMode(GLenum mode) override { Add("MatrixMode", {static_cast<double>(mode)}); }
    void PushMatrix() override { Add("PushMatrix", {}); }
    void PopMatrix() override { Add("PopMatrix", {}); }
    void LoadMatrixd(const double* e) override { Add("LoadMatrix", std::vector<double>(e, e + 16)); }
    void MultMatrixd(const double* e) override { Add("MultMatrix", std::vector<double>(e, e + 16)); }
    void DepthFunc(GLenum function) override { Add("DepthFunc", {static_cast<double>(function)}); }
    void BlendFunc(GLenum s, GLenum d) override { Add("BlendFunc", {static_cast<double>(s), static_cast<double>(d)}); }
    void ColorMaterial(GLenum face, GLenum mode) override
    {
        Add("ColorMaterial", {static_cast<double>(face), static_cast<double>(mode)});
    }
    void DrawPixelsAt(double x, double y, double z, double dx, double dy, int width, int height,
                      const unsigned char*) override
    {
        Add("Pixels", {x, y, z, dx, dy, static_cast<double>(width), static_cast<double>(height)});
    }

    std::vector<GlCall> calls;
    // Only the calls of these names, in order.
    std::vector<GlCall> Only(std::initializer_list<const char*> names) const;
    // The vertices of every Begin ... End block of the primitive.
    std::vector<std::vector<CVector3>> Primitives(GLenum mode) const;

private:
    void Add(const char* name, std::vector<double> args) { calls.push_back({name, std::move(args)}); }
};

// Compares the recorded calls with the expected ones, numbers within 1e-9.
void ExpectGlCalls(const std::vector<GlCall>& actual, const std::vector<GlCall>& expected);

// A window-less view: a transform, a painting flag and the context it owns.
class TestView : public IGraphicsContextOwner {
public:
    explicit TestView(GlApi& gl, int width = 200, int height = 100) : context(*this, gl)
    {
        transform.SetClientSize(width, height);
        Update();
    }
    // Matrices, cursor line and edge planes from the current state.
    void Update()
    {
        transform.UpdateCursorCentre();
        transform.BuildViewMatrices();
        transform.UpdateCursorLine();
        transform.UpdateEdgePlanes();
    }
    bool IsPainting() const override { return painting; }
    double GetScale() const override { return transform.Scale(); }
    HDC GetPaintDC() const override { return dc; }
    const std::array<CPlaneObject, 4>& GetEdgePlanes() const override { return transform.EdgePlanes(); }

    CViewTransform transform;
    bool painting = true;
    HDC dc = nullptr;
    CGraphicsContext context;
};

// Variable values of a document for the view: the orientation (12-17) and
// the snap switches (18-24, all on).
void AddViewVariables(TestServices& services);
void SetDouble(CNuvexDoc& document, int32_t index, double value);
void SetByte(CNuvexDoc& document, int32_t index, uint8_t value);

// A document whose variables carry the view's entries.
struct ViewDocumentFixture {
    ViewDocumentFixture()
    {
        AddViewVariables(services);
        document.SyncSystemVariables();
    }
    TestServices services;
    TestOutput output;
    CNuvexDoc document{services, output};
};

// A record holding object, count 0.
IEntityRecord* NewHolder(IUnknown* object);
