// Helpers of the view tests.
#include "host/view/tests/view_test_support.h"

#include "objectmodel/entity_record.h"

std::ostream& operator<<(std::ostream& out, const GlCall& call)
{
    out << call.name << "(";
    for (size_t i = 0; i < call.args.size(); ++i) {
        out << (i == 0 ? "" : ", ") << call.args[i];
    }
    return out << ")";
}

std::vector<GlCall> RecordingGl::Only(std::initializer_list<const char*> names) const
{
    std::vector<GlCall> result;
    for (const GlCall& call : calls) {
        for (const char* name : names) {
            if (call.name == name) {
                result.push_back(call);
            }
        }
    }
    return result;
}

std::vector<std::vector<CVector3>> RecordingGl::Primitives(GLenum mode) const
{
    std::vector<std::vector<CVector3>> result;
    bool inside = false;
    for (const GlCall& call : calls) {
        if (call.name == "Begin") {
            inside = static_cast<GLenum>(call.args[0]) == mode;
            if (inside) {
                result.emplace_back();
            }
        } else if (call.name == "End") {
            inside = false;
        } else if (inside && call.name == "Vertex") {
            result.back().push_back(CVector3(call.args[0], call.args[1], call.args[2]));
        }
    }
    return result;
}

void ExpectGlCalls(const std::vector<GlCall>& actual, const std::vector<GlCall>& expected)
{
    ASSERT_EQ(actual.size(), expected.size()) << ::testing::PrintToString(actual);
    for (size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE("call " + std::to_string(i));
        EXPECT_EQ(actual[i].name, expected[i].name);
        ASSERT_EQ(actual[i].args.size(), expected[i].args.size()) << actual[i];
        for (size_t a = 0; a < actual[i].args.size(); ++a) {
            EXPECT_NEAR(actual[i].args[a], expected[i].args[a], 1e-9) << actual[i];
        }
    }
}

void AddViewVariables(TestServices& services)
{
    auto real = [](double value) {
        VARIANT v{};
        v.vt = VT_R8;
        v.dblVal = value;
        return v;
    };
    auto byte = [](uint8_t value) {
        VARIANT v{};
        v.vt = VT_UI1;
        v.bVal = value;
        return v;
    };
    while (services.variables.size() < 12) {
        services.variables.emplace_back("Unused" + std::to_string(services.variables.size()), real(0.0));
    }
    services.variables.emplace_back("XViewDirection", real(0.0));
    services.variables.emplace_back("YViewDirection", real(0.0));
    services.variables.emplace_back("ZViewDirection", real(-1.0));
    services.variables.emplace_back("XViewRightDirection", real(1.0));
    services.variables.emplace_back("YViewRightDirection", real(0.0));
    services.variables.emplace_back("ZViewRightDirection", real(0.0));
    for (const char* name : {"Osnap", "Tracking", "OsnapEndPoint", "OsnapMidPoint", "OsnapCenterPoint",
                             "OsnapIntersection", "OsnapNearest"}) {
        services.variables.emplace_back(name, byte(1));
    }
}

void SetDouble(CNuvexDoc& document, int32_t index, double value)
{
    VARIANT v{};
    v.vt = VT_R8;
    v.dblVal = value;
    ASSERT_EQ(document.SetVariable(index, v), S_OK);
}

void SetByte(CNuvexDoc& document, int32_t index, uint8_t value)
{
    VARIANT v{};
    v.vt = VT_UI1;
    v.bVal = value;
    ASSERT_EQ(document.SetVariable(index, v), S_OK);
}

IEntityRecord* NewHolder(IUnknown* object) { return new CEntityRecord(object); }
