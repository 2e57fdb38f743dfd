// The snap pictures and the scene markers.
#include "host/view/snap_markers.h"

#include <map>
#include <string>

#include "host/document/nuvex_doc.h"
#include "host/view/cursor_evaluation.h"
#include "host/view/gl_api.h"
#include "host/view/view_tool_state.h"
#include "objectmodel/entity_record.h"

namespace {

struct PictureArt {
    int id;
    std::vector<const char*> rows;
};

// '.' white, 'k' black, 'r' red, 'g' green, 'b' blue, 'm' magenta. A block
// is a 4x4 square.
const PictureArt kArt[] = {
    {kGlyphOrigin,
     {"........b.......", "........b.......", "........b.....g.", "........b....g..", "........b...g...",
      "........b..g....", "......rrrrg.....", "......rrrr......", "......rrrr......", "......rrrrr.....",
      ".....g....r.....", "....g......r....", "...g........r...", "..g..........r..", ".g............r.",
      "g..............r"}},
    {kGlyphEndPoint,
     {"............rrrr", "............rrrr", "............rrrr", "............rrrr", "...........k....",
      "..........k.....", ".........k......", "........k.......", ".......k........", "......k.........",
      ".....k..........", "....k...........", "...k............", "..k.............", ".k..............",
      "k..............."}},
    {kGlyphIntersection,
     {"k..............k", ".k............k.", "..k..........k..", "...k........k...", "....k......k....",
      ".....k....k.....", "......rrrr......", "......rrrr......", "......rrrr......", "......rrrr......",
      ".....k....k.....", "....k......k....", "...k........k...", "..k..........k..", ".k............k.",
      "k..............k"}},
    {kMarkerCentre, {".......", "...k...", "...k...", ".kkkkk.", "...k...", "...k...", ".......", "......."}},
    {kGlyphCentre,
     {".....kkkkkk.....", "...kk......kk...", "..k..........k..", ".k............k.", ".k............k.",
      "k..............k", "k.....rrrr.....k", "k.....rrrr.....k", "k.....rrrr.....k", "k.....rrrr.....k",
      ".k............k.", ".k............k.", "..k..........k..", "...kk......kk...", ".....kkkkkk.....",
      "................"}},
    {kGlyphMidPoint,
     {"...............k", "..............k.", ".............k..", "............k...", "...........k....",
      "..........k.....", "......rrrr......", "......rrrr......", "......rrrr......", "......rrrr......",
      ".....k..........", "....k...........", "...k............", "..k.............", ".k..............",
      "k..............."}},
    {kMarkerTrackingBase, {"b.b.b...", ".bbb....", "bbbbb...", ".bbb....", "b.b.b...", "........", "........",
                           "........"}},
    {kMarkerResult, {"..m.....", ".m.m....", "m...m...", ".m.m....", "..m.....", "........", "........",
                     "........"}},
};

uint32_t ColourOf(char c)
{
    switch (c) {
    case 'k':
        return 0x000000;
    case 'r':
        return 0xFF0000;
    case 'g':
        return 0x008000;
    case 'b':
        return 0x0000FF;
    case 'm':
        return 0xFF00FF;
    default:
        return 0xFFFFFF;
    }
}

SnapPicture Make(const PictureArt& art)
{
    SnapPicture picture;
    picture.id = art.id;
    picture.height = static_cast<int>(art.rows.size());
    picture.width = static_cast<int>(std::string(art.rows[0]).size());
    for (const char* row : art.rows) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t colour = ColourOf(row[x]);
            picture.rgba.push_back(static_cast<uint8_t>(colour >> 16));
            picture.rgba.push_back(static_cast<uint8_t>(colour >> 8));
            picture.rgba.push_back(static_cast<uint8_t>(colour));
            picture.rgba.push_back(colour == 0xFFFFFF ? 0 : 255);
        }
    }
    return picture;
}

void DrawPicture(GlApi& gl, const CVector3& at, int id)
{
    const SnapPicture& picture = SnapBitmap(id);
    const std::vector<uint8_t> rows = picture.BottomUp();
    gl.DrawPixelsAt(at.x.GetValue(), at.y.GetValue(), at.z.GetValue(), -2.0, -2.0, picture.width, picture.height,
                    rows.data());
}

}  // namespace

uint32_t SnapPicture::At(int x, int y) const
{
    const size_t i = 4 * (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x));
    return (static_cast<uint32_t>(rgba[i]) << 16) | (static_cast<uint32_t>(rgba[i + 1]) << 8) | rgba[i + 2];
}

std::vector<uint8_t> SnapPicture::BottomUp() const
{
    std::vector<uint8_t> rows;
    rows.reserve(rgba.size());
    const size_t stride = 4 * static_cast<size_t>(width);
    for (int y = height - 1; y >= 0; --y) {
        const auto begin = rgba.begin() + static_cast<std::ptrdiff_t>(stride * static_cast<size_t>(y));
        rows.insert(rows.end(), begin, begin + static_cast<std::ptrdiff_t>(stride));
    }
    return rows;
}

const SnapPicture& SnapBitmap(int id)
{
    static const std::map<int, SnapPicture> pictures = [] {
        std::map<int, SnapPicture> made;
        for (const PictureArt& art : kArt) {
            made.emplace(art.id, Make(art));
        }
        return made;
    }();
    static const SnapPicture empty;
    const auto found = pictures.find(id);
    return found == pictures.end() ? empty : found->second;
}

std::vector<int> CursorGlyphsOf(uint32_t resultKind)
{
    struct Glyph {
        uint32_t kind;
        int id;
    };
    static constexpr Glyph kGlyphs[] = {{kSnapOrigin, kGlyphOrigin},
                                        {kSnapEndPoint, kGlyphEndPoint},
                                        {kSnapMidPoint, kGlyphMidPoint},
                                        {kSnapIntersection, kGlyphIntersection},
                                        {kSnapCentre, kGlyphCentre}};
    std::vector<int> ids;
    for (const Glyph& glyph : kGlyphs) {
        if ((resultKind & glyph.kind) != 0) {
            ids.push_back(glyph.id);
        }
    }
    return ids;
}

void DrawSnapMarkers(CNuvexDoc& document, const ViewToolState& view, int phase, uint32_t modifierKind)
{
    if (view.gl == nullptr || (LevelInputKinds(document, modifierKind) & kPointInput) == 0 || view.boxStarted) {
        return;
    }
    GlApi& gl = *view.gl;
    CSnapEngine& engine = document.SnapEngine();
    const uint32_t options = LevelOptions(document, modifierKind);
    const bool snaps = (options & kOptionSnaps) != 0;
    if (phase == 0) {
        if (snaps && (options & kOptionTracking) != 0 && engine.ResultKind() != 0) {
            for (const TrackingLine& line : engine.TrackingLines()) {
                uint32_t flags = 0;
                line.holder->GetFlags(&flags);
                if ((flags & kRecordHidden) != 0) {
                    continue;
                }
                if (view.graphics != nullptr) {
                    line.holder->Draw(view.graphics);
                }
                DrawPicture(gl, line.line->GetPointValue(), kMarkerTrackingBase);
            }
        }
        if (snaps && IsSwitchOn(document, kOsnapVariable)) {
            const uint32_t modes = SnapKindsSwitchedOn(document);
            for (const RecentPoint& recent : engine.RecentPoints()) {
                if ((recent.kind & ~modes) == 0 && (recent.kind & kSnapCentre) != 0) {
                    DrawPicture(gl, recent.point, kMarkerCentre);
                }
            }
        }
    } else if (phase == 2 && snaps && engine.ResultKind() != 0) {
        DrawPicture(gl, engine.ResultPoint(), kMarkerResult);
    }
}
