// Command targets as IDispatch objects and event sinks: dispatch ids with
// VARIANT arguments reaching member functions, event-sink maps behind a
// sink advised on a connection point, reference counting and the errors of
// Invoke.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/connpoint.h"
#include "platform/framework/cmdtarget.h"

namespace {

using Log = std::vector<std::string>;

VARIANT Long(LONG value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT LongRef(LONG* value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_I4;
    v.byref = value;
    return v;
}

// A command target that sinks events the way an add-in's handler does:
// its own IDispatch hands every call to OnEvent with control id 1, and
// anything else it is asked for goes to the command target.
class CEventSinkBase : public CCmdTarget, public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            ExternalAddRef();
            return S_OK;
        }
        return ExternalQueryInterface(&iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ExternalAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return ExternalRelease(); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override
    {
        AFX_EVENT event(AFX_EVENT::event, id, params, exception, argumentError);
        OnEvent(1, &event, nullptr);
        if (result != nullptr) {
            VariantClear(result);
        }
        return event.m_hResult;
    }
};

class CLineSink : public CEventSinkBase {
public:
    CLineSink(Log& log, bool* destroyed) : m_log(log), m_destroyed(destroyed) {}
    ~CLineSink() override
    {
        if (m_destroyed != nullptr) {
            *m_destroyed = true;
        }
    }

protected:
    BOOL OnViewReady(IUnknown* document)
    {
        m_log.push_back(std::string("ready ") + (document != nullptr ? "document" : "null"));
        return FALSE;
    }
    void OnLineCreated(LONG id) { m_log.push_back("created " + std::to_string(id)); }
    void OnRowsChanged(LONG count, LONG* ids, LONG* offsets, LONG* changed, LONG* delta)
    {
        std::string text = "rows";
        for (LONG i = 0; i < count; ++i) {
            text += " (" + std::to_string(ids[i]) + "," + std::to_string(offsets[i]) + "," +
                    std::to_string(changed[i]) + "," + std::to_string(delta[i]) + ")";
        }
        m_log.push_back(text);
    }
    BOOL OnTextChanged()
    {
        m_log.push_back("text");
        return TRUE;
    }
    void OnOtherControl() { m_log.push_back("other control"); }

private:
    Log& m_log;
    bool* m_destroyed;
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CLineSink, CEventSinkBase)
    ON_EVENT(CLineSink, 1, 0, OnViewReady, VTS_UNKNOWN)
    ON_EVENT(CLineSink, 1, 10, OnLineCreated, VTS_I4)
    ON_EVENT(CLineSink, 1, 11, OnRowsChanged, VTS_I4 VTS_PI4 VTS_PI4 VTS_PI4 VTS_PI4)
    ON_EVENT(CLineSink, 1, 7, OnTextChanged, VTS_NONE)
    ON_EVENT(CLineSink, 2, 7, OnOtherControl, VTS_NONE)
END_EVENTSINK_MAP()

// A source's connection point as the host keeps one: sinks advised in
// order, events fired to each through IDispatch.
class TestPoint final : public IConnectionPoint {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override
    {
        *iid = IID_IDispatch;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override
    {
        ComPtr<IDispatch> dispatch;
        if (FAILED(sink->QueryInterface(IID_IDispatch, dispatch.ReceiveVoid()))) {
            return CONNECT_E_CANNOTCONNECT;
        }
        m_sinks.push_back(std::move(dispatch));
        *cookie = 100 + static_cast<DWORD>(m_sinks.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    std::vector<HRESULT> Fire(DISPID id, std::vector<VARIANT> argumentsLastFirst)
    {
        std::vector<HRESULT> results;
        for (const ComPtr<IDispatch>& sink : m_sinks) {
            DISPPARAMS params{argumentsLastFirst.data(), nullptr, static_cast<UINT>(argumentsLastFirst.size()), 0};
            results.push_back(sink->Invoke(id, IID_IUnknown, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr));
        }
        return results;
    }

private:
    std::vector<ComPtr<IDispatch>> m_sinks; // released in order with the point
};

TEST(EventSink, AdvisedSinkReceivesEventsWithArgumentsInOrder)
{
    Log log;
    bool destroyed = false;
    auto* sink = new CLineSink(log, &destroyed);
    {
        TestPoint point;
        // As an add-in connects: its IUnknown, Advise, then its reference released.
        ComPtr<IUnknown> unknown;
        ASSERT_EQ(sink->QueryInterface(IID_IUnknown, unknown.ReceiveVoid()), S_OK);
        DWORD cookie = 0;
        ASSERT_EQ(point.Advise(unknown.Get(), &cookie), S_OK);
        unknown.Reset();

        LONG ids[] = {4, 5};
        LONG offsets[] = {2, 0};
        LONG changed[] = {1, 3};
        LONG delta[] = {0, -2};
        VARIANT document;
        VariantInit(&document);
        document.vt = VT_UNKNOWN;
        document.punkVal = sink; // any interface will do

        struct FireCase {
            const char* name;
            DISPID id;
            std::vector<VARIANT> argumentsLastFirst;
            HRESULT expected;
        };
        const FireCase kCases[] = {
            {"view_ready", 0, {document}, S_OK},
            {"line_created", 10, {Long(3)}, S_OK},
            {"rows_changed", 11, {LongRef(delta), LongRef(changed), LongRef(offsets), LongRef(ids), Long(2)}, S_OK},
            {"text_changed", 7, {}, S_OK},
            {"unknown_event", 12, {Long(1), Long(2)}, S_OK},
            {"wrong_count", 10, {}, DISP_E_BADPARAMCOUNT},
            {"wrong_type", 11, {Long(0), Long(0), Long(0), Long(0), Long(2)}, DISP_E_TYPEMISMATCH},
        };
        for (const FireCase& c : kCases) {
            SCOPED_TRACE(c.name);
            const std::vector<HRESULT> results = point.Fire(c.id, c.argumentsLastFirst);
            ASSERT_EQ(results.size(), 1u);
            EXPECT_EQ(results[0], c.expected);
        }
        EXPECT_EQ(log, (Log{"ready document", "created 3", "rows (4,2,1,0) (5,0,3,-2)", "text"}));
        EXPECT_FALSE(destroyed);
    }
    // The point released its reference; the creation reference is the last.
    EXPECT_EQ(sink->ExternalRelease(), 0u);
    EXPECT_TRUE(destroyed);
}

TEST(EventSink, OnEventKeysByControlAndReportsTheHandler)
{
    Log log;
    CLineSink sink(log, nullptr);
    struct OnEventCase {
        const char* name;
        UINT control;
        DISPID id;
        BOOL answer;
        const char* logged;
    };
    const OnEventCase kCases[] = {
        {"handler_answers_true", 1, 7, TRUE, "text"},
        {"void_handler_counts_as_handled", 2, 7, TRUE, "other control"},
        {"unknown_control", 3, 7, FALSE, nullptr},
        {"unknown_dispid", 1, 99, FALSE, nullptr},
    };
    for (const OnEventCase& c : kCases) {
        SCOPED_TRACE(c.name);
        log.clear();
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        AFX_EVENT event(AFX_EVENT::event, c.id, &none);
        EXPECT_EQ(sink.OnEvent(c.control, &event, nullptr), c.answer);
        EXPECT_EQ(event.m_hResult, S_OK);
        EXPECT_EQ(log, c.logged != nullptr ? Log{c.logged} : Log{});
        AFX_CMDHANDLERINFO info{nullptr, nullptr};
        EXPECT_EQ(sink.OnEvent(c.control, &event, &info), c.logged != nullptr ? TRUE : FALSE);
        EXPECT_EQ(info.pTarget, c.logged != nullptr ? &sink : nullptr);
    }
}

// A command target with automation and a dispatch map.
class CCalculator : public CCmdTarget {
public:
    CCalculator() { EnableAutomation(); }
    std::string m_lastName;

protected:
    LONG Add(LONG a, LONG b) { return a + b; }
    DOUBLE Scale(DOUBLE value, SHORT factor) { return value * factor; }
    BOOL IsEmpty(BSTR text) { return text == nullptr || text[0] == 0 ? TRUE : FALSE; }
    void Name(BSTR text) { m_lastName = text != nullptr ? text : ""; }
    void Bump(LONG* value) { *value += 1; }
    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CCalculator, CCmdTarget)
    DISP_FUNCTION_ID(CCalculator, "Add", 1, Add, VT_I4, VTS_I4 VTS_I4)
    DISP_FUNCTION_ID(CCalculator, "Scale", 2, Scale, VT_R8, VTS_R8 VTS_I2)
    DISP_FUNCTION_ID(CCalculator, "IsEmpty", 3, IsEmpty, VT_BOOL, VTS_BSTR)
    DISP_FUNCTION_ID(CCalculator, "Name", 4, Name, VT_EMPTY, VTS_BSTR)
    DISP_FUNCTION_ID(CCalculator, "Bump", 5, Bump, VT_EMPTY, VTS_PI4)
END_DISPATCH_MAP()

TEST(Automation, InvokeRoutesDispatchIdsToMembers)
{
    CCalculator calculator;
    IDispatch* dispatch = calculator.GetIDispatch(FALSE);
    ASSERT_NE(dispatch, nullptr);
    EXPECT_EQ(CCmdTarget::FromIDispatch(dispatch), &calculator);

    VARIANT shortTwo;
    VariantInit(&shortTwo);
    shortTwo.vt = VT_I2;
    shortTwo.iVal = 2;
    VARIANT half;
    VariantInit(&half);
    half.vt = VT_R8;
    half.dblVal = 0.5;
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString("probe");
    VARIANT wholeDouble = half;
    wholeDouble.dblVal = 7.0;
    LONG counter = 41;

    struct InvokeCase {
        const char* name;
        DISPID id;
        WORD flags;
        std::vector<VARIANT> argumentsLastFirst;
        HRESULT expected;
        VARTYPE resultType;
        double resultValue;
        UINT argumentError;
    };
    const InvokeCase kCases[] = {
        {"add", 1, DISPATCH_METHOD, {Long(5), Long(37)}, S_OK, VT_I4, 42, 0},
        {"add_converts_short", 1, DISPATCH_METHOD, {shortTwo, Long(40)}, S_OK, VT_I4, 42, 0},
        {"add_takes_whole_double", 1, DISPATCH_METHOD, {wholeDouble, Long(1)}, S_OK, VT_I4, 8, 0},
        {"add_refuses_fraction_second", 1, DISPATCH_METHOD, {half, Long(1)}, DISP_E_TYPEMISMATCH, VT_EMPTY, 0, 0},
        {"add_refuses_text_first", 1, DISPATCH_METHOD, {Long(1), text}, DISP_E_TYPEMISMATCH, VT_EMPTY, 0, 1},
        {"scale", 2, DISPATCH_METHOD, {shortTwo, half}, S_OK, VT_R8, 1.0, 0},
        {"is_empty", 3, DISPATCH_METHOD, {text}, S_OK, VT_BOOL, 0, 0},
        {"name_has_no_result", 4, DISPATCH_METHOD, {text}, S_OK, VT_EMPTY, 0, 0},
        {"bump_by_reference", 5, DISPATCH_METHOD, {LongRef(&counter)}, S_OK, VT_EMPTY, 0, 0},
        {"by_reference_needs_reference", 5, DISPATCH_METHOD, {Long(1)}, DISP_E_TYPEMISMATCH, VT_EMPTY, 0, 0},
        {"too_few_arguments", 1, DISPATCH_METHOD, {Long(1)}, DISP_E_BADPARAMCOUNT, VT_EMPTY, 0, 99},
        {"unknown_dispid", 77, DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND, VT_EMPTY, 0, 99},
        {"property_get", 1, DISPATCH_PROPERTYGET, {}, DISP_E_MEMBERNOTFOUND, VT_EMPTY, 0, 99},
    };
    for (const InvokeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        std::vector<VARIANT> arguments = c.argumentsLastFirst;
        DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
        VARIANT result;
        VariantInit(&result);
        UINT argumentError = 99;
        EXPECT_EQ(dispatch->Invoke(c.id, IID_IUnknown, 0, c.flags, &params, &result, nullptr, &argumentError),
                  c.expected);
        EXPECT_EQ(result.vt, c.resultType);
        if (c.resultType == VT_I4) {
            EXPECT_EQ(result.lVal, static_cast<LONG>(c.resultValue));
        } else if (c.resultType == VT_R8) {
            EXPECT_DOUBLE_EQ(result.dblVal, c.resultValue);
        } else if (c.resultType == VT_BOOL) {
            EXPECT_EQ(result.boolVal, VARIANT_FALSE);
        }
        if (c.expected == DISP_E_TYPEMISMATCH || c.expected == DISP_E_BADPARAMCOUNT ||
            c.expected == DISP_E_MEMBERNOTFOUND) {
            EXPECT_EQ(argumentError, c.argumentError);
        }
        VariantClear(&result);
    }
    EXPECT_EQ(calculator.m_lastName, "probe");
    EXPECT_EQ(counter, 42);
    VariantClear(&text);

    // Names find their dispatch ids, ignoring case.
    char add[] = "add";
    char missing[] = "Missing";
    LPOLESTR names[] = {add};
    DISPID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_IUnknown, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 1);
    names[0] = missing;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_IUnknown, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
}

TEST(Automation, InterfacesShareTheObjectsCount)
{
    bool destroyed = false;
    struct CCounted : CCalculator {
        explicit CCounted(bool* flag) : m_flag(flag) {}
        ~CCounted() override { *m_flag = true; }
        bool* m_flag;
    };
    auto* object = new CCounted(&destroyed);
    IDispatch* dispatch = object->GetIDispatch(TRUE);
    void* unknown = nullptr;
    ASSERT_EQ(dispatch->QueryInterface(IID_IUnknown, &unknown), S_OK);
    EXPECT_EQ(unknown, static_cast<void*>(dispatch));
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(dispatch->QueryInterface(IID_IConnectionPoint, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    // 1 at creation, one from GetIDispatch and one from QueryInterface.
    EXPECT_EQ(dispatch->Release(), 2u);
    EXPECT_EQ(static_cast<IUnknown*>(unknown)->Release(), 1u);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(dispatch->Release(), 0u);
    EXPECT_TRUE(destroyed);

    // Without automation there is no IDispatch to give.
    CCmdTarget plain;
    EXPECT_EQ(plain.GetIDispatch(TRUE), nullptr);
    void* none = nullptr;
    EXPECT_EQ(plain.ExternalQueryInterface(&IID_IDispatch, &none), E_NOINTERFACE);
}

} // namespace
