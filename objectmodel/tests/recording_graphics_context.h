// RecordingGraphicsContext: a fake IGraphicsContext for tests. It keeps the
// drawing state that the getters report (colour, line style and factor, line
// width, scale) and records every call in order with the values it was given,
// so a test can compare what an object drew against a table of expected
// calls. Vector arguments are recorded as their x, y, z; a null vector adds
// "null" to the call's text instead.
//
// Use it on the stack: AddRef and Release only count, they never destroy.
//
//     RecordingGraphicsContext context;
//     record->Draw(&context);
//     ExpectCalls(context.DrawingCalls(), {
//         {GraphicsOp::SetColor, {0xff8000}},
//         {GraphicsOp::DrawLine, {0, 0, 0, 1, 0, 0}},
//     });
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "iattributeset.h"
#include "ientity.h"
#include "objectmodel/real.h"

// The operations of IGraphicsContext after the IUnknown ones, in table order.
enum class GraphicsOp {
    GetColor,
    GetLineStyle,
    GetLineWidth,
    SetFont,
    SetColor,
    SetColorFromAttributes,
    SetLineStyle,
    SetLineWidth,
    SetLineAttributes,
    GetScale,
    DrawRectangle,
    PopMatrix,
    PushMatrix,
    DrawPolylineSet,
    DrawInfiniteLine,
    DrawString,
    StringToPolylines,
    DrawLine,
    DrawEllipse,
    ReservedA,
    ReservedB,
    DrawArc,
    MoveTo,
    LineTo,
};

struct GraphicsOpInfo {
    GraphicsOp op;
    const char* name;
    // What the recorded values hold, in order.
    const char* values;
    bool isQuery;
};

inline constexpr GraphicsOpInfo kGraphicsOps[] = {
    {GraphicsOp::GetColor, "GetColor", "colour reported", true},
    {GraphicsOp::GetLineStyle, "GetLineStyle", "style, factor reported", true},
    {GraphicsOp::GetLineWidth, "GetLineWidth", "width reported", true},
    {GraphicsOp::SetFont, "SetFont", "height, weight; text: face name", false},
    {GraphicsOp::SetColor, "SetColor", "colour", false},
    {GraphicsOp::SetColorFromAttributes, "SetColorFromAttributes", "nothing; text: null for a null set", false},
    {GraphicsOp::SetLineStyle, "SetLineStyle", "style, factor", false},
    {GraphicsOp::SetLineWidth, "SetLineWidth", "width", false},
    {GraphicsOp::SetLineAttributes, "SetLineAttributes", "style, factor, width of the set", false},
    {GraphicsOp::GetScale, "GetScale", "scale reported", true},
    {GraphicsOp::DrawRectangle, "DrawRectangle", "first xyz, second xyz, unused", false},
    {GraphicsOp::PopMatrix, "PopMatrix", "nothing", false},
    {GraphicsOp::PushMatrix, "PushMatrix", "16 elements row by row, mode", false},
    {GraphicsOp::DrawPolylineSet, "DrawPolylineSet", "count, then per polyline tag, n, n times xyz", false},
    {GraphicsOp::DrawInfiniteLine, "DrawInfiniteLine", "point xyz, direction xyz", false},
    {GraphicsOp::DrawString, "DrawString", "origin xyz, baseline xyz, normal xyz, filled; text", false},
    {GraphicsOp::StringToPolylines, "StringToPolylines", "filled; text", false},
    {GraphicsOp::DrawLine, "DrawLine", "from xyz, to xyz", false},
    {GraphicsOp::DrawEllipse, "DrawEllipse", "centre xyz, normal xyz, axis xyz, radius 1, radius 2", false},
    {GraphicsOp::ReservedA, "ReservedA", "two arguments", false},
    {GraphicsOp::ReservedB, "ReservedB", "three arguments", false},
    {GraphicsOp::DrawArc, "DrawArc", "centre xyz, normal xyz, start xyz, end xyz", false},
    {GraphicsOp::MoveTo, "MoveTo", "point xyz", false},
    {GraphicsOp::LineTo, "LineTo", "point xyz", false},
};

inline const GraphicsOpInfo& InfoOf(GraphicsOp op) { return kGraphicsOps[static_cast<int>(op)]; }

struct GraphicsCall {
    GraphicsCall(GraphicsOp callOp, std::vector<double> callValues = {}, std::string callText = {})
        : op(callOp), values(std::move(callValues)), text(std::move(callText))
    {
    }

    GraphicsOp op;
    std::vector<double> values;
    std::string text;
};

// Recorded values are compared within this absolute tolerance: a test
// states the numbers it expects, not their last bits.
inline constexpr double kGraphicsCallTolerance = 1e-9;

inline bool CallsMatch(const GraphicsCall& a, const GraphicsCall& b)
{
    if (a.op != b.op || a.text != b.text || a.values.size() != b.values.size()) {
        return false;
    }
    for (size_t i = 0; i < a.values.size(); ++i) {
        if (!(std::fabs(a.values[i] - b.values[i]) <= kGraphicsCallTolerance)) {
            return false;
        }
    }
    return true;
}

inline std::string ToString(const GraphicsCall& call)
{
    std::ostringstream out;
    out << InfoOf(call.op).name << "(";
    for (size_t i = 0; i < call.values.size(); ++i) {
        out << (i == 0 ? "" : ", ") << call.values[i];
    }
    if (!call.text.empty()) {
        out << (call.values.empty() ? "" : ", ") << '"' << call.text << '"';
    }
    out << ")";
    return out.str();
}

inline std::ostream& operator<<(std::ostream& out, const GraphicsCall& call) { return out << ToString(call); }

// Compares a record against the expected calls and, on a mismatch, prints
// both side by side.
inline ::testing::AssertionResult CallsAre(const std::vector<GraphicsCall>& actual,
                                           const std::vector<GraphicsCall>& expected)
{
    bool same = actual.size() == expected.size();
    for (size_t i = 0; same && i < actual.size(); ++i) {
        same = CallsMatch(actual[i], expected[i]);
    }
    if (same) {
        return ::testing::AssertionSuccess();
    }
    auto failure = ::testing::AssertionFailure();
    failure << "graphics calls differ (expected | actual):\n";
    for (size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        const std::string e = i < expected.size() ? ToString(expected[i]) : "-";
        const std::string a = i < actual.size() ? ToString(actual[i]) : "-";
        const bool rowSame = i < expected.size() && i < actual.size() && CallsMatch(actual[i], expected[i]);
        failure << (rowSame ? "   " : ">> ") << e << " | " << a << "\n";
    }
    return failure;
}

class RecordingGraphicsContext : public IGraphicsContext {
public:
    // The state the getters report; tests may set it before drawing.
    COLORREF colour = 0;
    uint32_t lineStyle = 0;
    uint32_t stippleFactor = 1;
    int32_t lineWidth = 1;
    double scale = 1.0;

    const std::vector<GraphicsCall>& Calls() const { return m_calls; }
    // The calls without the getters: what changed state or drew.
    std::vector<GraphicsCall> DrawingCalls() const
    {
        std::vector<GraphicsCall> result;
        for (const GraphicsCall& call : m_calls) {
            if (!InfoOf(call.op).isQuery) {
                result.push_back(call);
            }
        }
        return result;
    }
    void Clear() { m_calls.clear(); }
    ULONG ReferenceCount() const { return m_references; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IGraphicsContext) {
            *out = static_cast<IGraphicsContext*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return m_references == 0 ? 0 : --m_references; }

    HRESULT STDMETHODCALLTYPE GetColor(uint32_t* out) override
    {
        Record(GraphicsOp::GetColor, {static_cast<double>(colour)});
        *out = colour;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLineStyle(uint32_t* style, uint32_t* factor) override
    {
        Record(GraphicsOp::GetLineStyle, {static_cast<double>(lineStyle), static_cast<double>(stippleFactor)});
        *style = lineStyle;
        *factor = stippleFactor;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLineWidth(int32_t* width) override
    {
        Record(GraphicsOp::GetLineWidth, {static_cast<double>(lineWidth)});
        *width = lineWidth;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetFont(const LOGFONTA* font) override
    {
        if (font == nullptr) {
            Record(GraphicsOp::SetFont, {}, "null");
            return S_OK;
        }
        std::string face(font->lfFaceName, strnlen(font->lfFaceName, LF_FACESIZE));
        Record(GraphicsOp::SetFont, {static_cast<double>(font->lfHeight), static_cast<double>(font->lfWeight)}, face);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColor(uint32_t newColour) override
    {
        Record(GraphicsOp::SetColor, {static_cast<double>(newColour)});
        colour = newColour;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorFromAttributes(IAttributeSet* set) override
    {
        Record(GraphicsOp::SetColorFromAttributes, {}, set == nullptr ? "null" : "");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetLineStyle(uint32_t style, uint32_t factor) override
    {
        Record(GraphicsOp::SetLineStyle, {static_cast<double>(style), static_cast<double>(factor)});
        lineStyle = style;
        stippleFactor = factor;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetLineWidth(int32_t width) override
    {
        Record(GraphicsOp::SetLineWidth, {static_cast<double>(width)});
        lineWidth = width;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetLineAttributes(IAttributeSet* set) override
    {
        if (set == nullptr) {
            Record(GraphicsOp::SetLineAttributes, {}, "null");
            return S_OK;
        }
        uint32_t style = 0;
        uint32_t factor = 0;
        uint32_t width = 0;
        set->GetLineStyle(&style);
        set->GetStippleFactor(&factor);
        set->GetLineWidth(&width);
        Record(GraphicsOp::SetLineAttributes,
               {static_cast<double>(style), static_cast<double>(factor), static_cast<double>(width)});
        lineStyle = style;
        stippleFactor = factor;
        lineWidth = static_cast<int32_t>(width);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetScale(double* out) override
    {
        Record(GraphicsOp::GetScale, {scale});
        *out = scale;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawRectangle(IVector3* first, IVector3* second, int32_t unused) override
    {
        GraphicsCall call{GraphicsOp::DrawRectangle, {}, {}};
        AddVector(call, first);
        AddVector(call, second);
        call.values.push_back(unused);
        m_calls.push_back(call);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PopMatrix() override
    {
        Record(GraphicsOp::PopMatrix, {});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PushMatrix(IMatrix4* matrix, int32_t mode) override
    {
        GraphicsCall call{GraphicsOp::PushMatrix, {}, {}};
        if (matrix == nullptr) {
            call.text += "null";
        } else {
            for (uint32_t row = 0; row < 4; ++row) {
                for (uint32_t column = 0; column < 4; ++column) {
                    CReal element;
                    matrix->GetElement(row, column, &element);
                    call.values.push_back(element.GetValue());
                }
            }
        }
        call.values.push_back(mode);
        m_calls.push_back(call);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawPolylineSet(IPolylineSet* set) override
    {
        GraphicsCall call{GraphicsOp::DrawPolylineSet, {}, {}};
        if (set == nullptr) {
            call.text = "null";
            m_calls.push_back(call);
            return S_OK;
        }
        uint32_t count = 0;
        set->GetCount(&count);
        call.values.push_back(count);
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t tag = 0;
            uint32_t points = 0;
            set->GetTag(static_cast<int32_t>(i), &tag);
            set->GetPointCount(static_cast<int32_t>(i), &points);
            call.values.push_back(tag);
            call.values.push_back(points);
            for (uint32_t j = 0; j < points; ++j) {
                double x = 0;
                double y = 0;
                double z = 0;
                set->GetPoint(static_cast<int32_t>(i), static_cast<int32_t>(j), &x, &y, &z);
                call.values.insert(call.values.end(), {x, y, z});
            }
        }
        m_calls.push_back(call);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawInfiniteLine(IVector3* point, IVector3* direction) override
    {
        return RecordVectors(GraphicsOp::DrawInfiniteLine, {point, direction});
    }
    HRESULT STDMETHODCALLTYPE DrawString(const char* text, IVector3* origin, IVector3* baselinePoint,
                                         IVector3* normal, BOOL filled) override
    {
        GraphicsCall call{GraphicsOp::DrawString, {}, text != nullptr ? text : "null"};
        AddVector(call, origin);
        AddVector(call, baselinePoint);
        AddVector(call, normal);
        call.values.push_back(filled);
        m_calls.push_back(call);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE StringToPolylines(const char* text, IPolylineSet*, BOOL filled, uint32_t* ends) override
    {
        Record(GraphicsOp::StringToPolylines, {static_cast<double>(filled)}, text != nullptr ? text : "null");
        if (ends != nullptr) {
            *ends = 0;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawLine(IVector3* from, IVector3* to) override
    {
        return RecordVectors(GraphicsOp::DrawLine, {from, to});
    }
    HRESULT STDMETHODCALLTYPE DrawEllipse(IVector3* centre, IVector3* normal, IVector3* firstAxis, IReal* firstRadius,
                                          IReal* secondRadius) override
    {
        GraphicsCall call{GraphicsOp::DrawEllipse, {}, {}};
        AddVector(call, centre);
        AddVector(call, normal);
        AddVector(call, firstAxis);
        AddReal(call, firstRadius);
        AddReal(call, secondRadius);
        m_calls.push_back(call);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ReservedA(uint32_t a, uint32_t b) override
    {
        Record(GraphicsOp::ReservedA, {static_cast<double>(a), static_cast<double>(b)});
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ReservedB(uint32_t a, uint32_t b, uint32_t c) override
    {
        Record(GraphicsOp::ReservedB, {static_cast<double>(a), static_cast<double>(b), static_cast<double>(c)});
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DrawArc(IVector3* centre, IVector3* normal, IVector3* start, IVector3* end) override
    {
        return RecordVectors(GraphicsOp::DrawArc, {centre, normal, start, end});
    }
    HRESULT STDMETHODCALLTYPE MoveTo(IVector3* point) override { return RecordVectors(GraphicsOp::MoveTo, {point}); }
    HRESULT STDMETHODCALLTYPE LineTo(IVector3* point) override { return RecordVectors(GraphicsOp::LineTo, {point}); }

    virtual ~RecordingGraphicsContext() = default;

private:
    void Record(GraphicsOp op, std::initializer_list<double> values, std::string text = {})
    {
        m_calls.push_back(GraphicsCall{op, std::vector<double>(values), std::move(text)});
    }
    static void AddVector(GraphicsCall& call, IVector3* vector)
    {
        if (vector == nullptr) {
            call.text += call.text.empty() ? "null" : " null";
            return;
        }
        CReal x;
        CReal y;
        CReal z;
        vector->Get(&x, &y, &z);
        call.values.insert(call.values.end(), {x.GetValue(), y.GetValue(), z.GetValue()});
    }
    static void AddReal(GraphicsCall& call, IReal* real)
    {
        if (real == nullptr) {
            call.text += call.text.empty() ? "null" : " null";
            return;
        }
        double value = 0;
        uint16_t flag = 0;
        real->Get(&value, &flag);
        call.values.push_back(value);
    }
    HRESULT RecordVectors(GraphicsOp op, std::initializer_list<IVector3*> vectors)
    {
        GraphicsCall call{op, {}, {}};
        for (IVector3* vector : vectors) {
            AddVector(call, vector);
        }
        m_calls.push_back(call);
        return S_OK;
    }

    std::vector<GraphicsCall> m_calls;
    ULONG m_references = 0;
};
