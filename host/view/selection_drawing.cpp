// The selection handler's drawing in the tool layer.
#include "host/view/selection_drawing.h"

#include <map>

#include "host/document/host_entity_set.h"
#include "host/document/nuvex_doc.h"
#include "host/view/gl_api.h"
#include "host/view/view_tool_state.h"
#include "ientity.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/point_list.h"
#include "platform/kernel/resource.h"

namespace {

using Picture = std::array<unsigned char, kGripMarkerSide * kGripMarkerSide * 4>;

// A hollow blue square at rest, a filled blue one while hovered, a filled
// red one while dragged.
Picture DrawnMarker(uint16_t bitmapId)
{
    Picture picture{};
    const unsigned char red = bitmapId == kGripDraggedBitmap ? 220 : 0;
    const unsigned char blue = bitmapId == kGripDraggedBitmap ? 0 : 220;
    const bool filled = bitmapId != kGripBitmap;
    for (int y = 0; y < kGripMarkerSide; ++y) {
        for (int x = 0; x < kGripMarkerSide; ++x) {
            const bool edge = x == 0 || y == 0 || x == kGripMarkerSide - 1 || y == kGripMarkerSide - 1;
            unsigned char* p = &picture[static_cast<size_t>((y * kGripMarkerSide + x) * 4)];
            if (edge || filled) {
                p[0] = red;
                p[2] = blue;
                p[3] = 255;
            }
        }
    }
    return picture;
}

// The program's bitmap, cut or padded to the marker size.
bool LoadedMarker(uint16_t bitmapId, Picture& picture)
{
    const auto bytes = FindResourceBytes(nullptr, kResourceBitmap, bitmapId);
    const auto image = bytes ? DecodeBitmap(*bytes) : std::nullopt;
    if (!image || image->width < 1 || image->height < 1) {
        return false;
    }
    picture.fill(0);
    for (int y = 0; y < kGripMarkerSide && y < image->height; ++y) {
        for (int x = 0; x < kGripMarkerSide && x < image->width; ++x) {
            // Decoded rows run top-down; the picture's bottom-up.
            const uint8_t* from = &image->bgra[(static_cast<size_t>(y) * static_cast<size_t>(image->width) +
                                                 static_cast<size_t>(x)) * 4];
            unsigned char* to = &picture[static_cast<size_t>(((kGripMarkerSide - 1 - y) * kGripMarkerSide + x) * 4)];
            to[0] = from[2];
            to[1] = from[1];
            to[2] = from[0];
            to[3] = from[3];
        }
    }
    return true;
}

} // namespace

const Picture& GripMarkerPicture(uint16_t bitmapId)
{
    static std::map<uint16_t, Picture> pictures;
    auto it = pictures.find(bitmapId);
    if (it == pictures.end()) {
        Picture picture{};
        if (!LoadedMarker(bitmapId, picture)) {
            picture = DrawnMarker(bitmapId);
        }
        it = pictures.emplace(bitmapId, picture).first;
    }
    return it->second;
}

void DrawSelection(CNuvexDoc& document, const ViewToolState& view, int phase)
{
    if (phase != 1 || document.GetCurrentLevel() != 0 || view.gl == nullptr) {
        return;
    }
    CHostEntitySet& handler = document.SelectionHandler();
    const std::vector<uintptr_t> selection = handler.GetSelection();
    GlApi& gl = *view.gl;
    gl.DepthFunc(GL_LEQUAL);
    for (uintptr_t id : selection) {
        auto* record = reinterpret_cast<IEntityRecord*>(id);
        ComPtr<CEntityRecord> highlight = ComPtr<CEntityRecord>::Share(new CEntityRecord(record, FALSE, TRUE));
        highlight->AddFlags(kSelectionDrawFlag);
        highlight->Draw(view.graphics);
    }
    gl.DepthFunc(GL_LESS);
    if (handler.IsDraggingGrip()) {
        return;
    }
    const auto& marker = GripMarkerPicture(kGripBitmap);
    for (uintptr_t id : selection) {
        IUnknown* object = nullptr;
        ComPtr<IEntityBase> entity;
        if (FAILED(reinterpret_cast<IEntityRecord*>(id)->GetObject(&object)) || object == nullptr ||
            FAILED(object->QueryInterface(IID_IEntityBase, entity.ReceiveVoid())) || !entity) {
            continue;
        }
        ComPtr<CPointList> grips = ComPtr<CPointList>::Share(new CPointList());
        if (entity->GetGripPoints(grips.Get()) != S_OK) {
            continue;
        }
        for (int32_t i = 0; i < grips->GetCount(); ++i) {
            const CVector3& p = grips->GetAt(i);
            gl.DrawPixelsAt(p.x.GetValue(), p.y.GetValue(), p.z.GetValue(), kGripMarkerOffsetX, kGripMarkerOffsetY,
                            kGripMarkerSide, kGripMarkerSide, marker.data());
        }
    }
}
