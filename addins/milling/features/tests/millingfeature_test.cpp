// Feature base: labels, drawing styles, recorded NC blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "addins/milling/features/contourfeature.h"
#include "nctokens.h"

namespace {

// Records the colour, width and line-style calls of a feature's drawing.
class CRecordingContext final : public IGraphicsContext {
public:
    std::vector<std::string> log;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetColor(uint32_t*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLineStyle(uint32_t*, uint32_t*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLineWidth(int32_t*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFont(const LOGFONTA*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetColor(uint32_t colour) override
    {
        log.push_back("colour " + std::to_string(colour));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColorFromAttributes(IAttributeSet*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetLineStyle(uint32_t style, uint32_t factor) override
    {
        log.push_back("style " + std::to_string(style) + " " + std::to_string(factor));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetLineWidth(int32_t width) override
    {
        log.push_back("width " + std::to_string(width));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetLineAttributes(IAttributeSet*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetScale(double*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawRectangle(IVector3*, IVector3*, int32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PopMatrix() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PushMatrix(IMatrix4*, int32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawPolylineSet(IPolylineSet*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawInfiniteLine(IVector3*, IVector3*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawString(const char*, IVector3*, IVector3*, IVector3*, BOOL) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE StringToPolylines(const char*, IPolylineSet*, BOOL, uint32_t*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DrawLine(IVector3*, IVector3*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawEllipse(IVector3*, IVector3*, IVector3*, IReal*, IReal*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ReservedA(uint32_t, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReservedB(uint32_t, uint32_t, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawArc(IVector3*, IVector3*, IVector3*, IVector3*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveTo(IVector3*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineTo(IVector3*) override { return E_NOTIMPL; }
};


TEST(MillingFeature, DrawSetsTheStyleOnlyWhenTheFlagChanges)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> flags;
        bool hidden;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"alternating", {kMoveRapid, kMoveFeedLine, kMoveRapid}, false,
         {"colour 13139968", "width 1", "style 2 1", "style 0 1", "style 2 1"}},
        {"run_of_feeds", {kMoveFeedLine, kMoveFeedLine, kMoveArcClockwise}, false,
         {"colour 13139968", "width 1", "style 0 1", "style 0 1"}},
        {"hidden", {kMoveFeedLine}, true, {}},
        {"no_moves", {}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CContourFeature f;
        for (uint8_t flag : c.flags) {
            CMove m;
            m.flag = flag;
            ASSERT_TRUE(f.AppendMove(m, nullptr).ok());
        }
        f.SetVisible(!c.hidden);
        CRecordingContext gc;
        f.Draw(&gc);
        EXPECT_EQ(gc.log, c.expected);
    }
}

TEST(MillingFeature, LabelShowsHiddenAndPlainName)
{
    CContourFeature f;
    f.m_name = "Contour 2";
    f.SetVisible(false);
    EXPECT_EQ(f.GetLabel("Hidden"), "Contour 2 <Hidden>");
    f.SetVisible(true);
    EXPECT_EQ(f.GetLabel("Hidden"), "Contour 2");
}

TEST(MillingFeature, RecordedBlocksOwnTheirTexts)
{
    CContourFeature f;
    char text[] = "comment";
    INT codes[2] = {kNcComment, kNcX};
    INT kinds[2] = {kNcKindText, kNcKindReal};
    VARIANT values[2] = {};
    values[0].vt = kNcTextVariantType;
    values[0].pcVal = text;
    values[1].vt = VT_R8;
    values[1].dblVal = 2.5;
    f.RecordNcBlock(2, codes, kinds, values);
    f.RecordNcBlock(0, codes, kinds, values);
    for (int i = 0; i < 20; ++i)
        f.RecordNcBlock(1, codes, kinds, values); // the array grows and moves its blocks
    std::strcpy(text, "changed");
    ASSERT_EQ(f.RecordedBlocks().size(), 22u);
    EXPECT_STREQ(f.RecordedBlocks()[0].values[0].pcVal, "comment");
    EXPECT_STREQ(f.RecordedBlocks()[21].values[0].pcVal, "comment");
    EXPECT_DOUBLE_EQ(f.RecordedBlocks()[0].values[1].dblVal, 2.5);
    EXPECT_TRUE(f.RecordedBlocks()[1].codes.empty());
    f.ClearNcBlocks();
    EXPECT_TRUE(f.RecordedBlocks().empty());
}

} // namespace
