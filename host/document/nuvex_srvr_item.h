// CNuvexSrvrItem: a drawing as the item a container would show and store.
// No container can embed a drawing on this platform, so the item is made
// only when the program asks its document for the embedded item; it then
// answers as it would to a container.
#pragma once

#include "platform/framework/ole.h"

class CNuvexDoc;

// The extent of the content aspect, in HIMETRIC units (a 30 mm square).
constexpr int kServerItemExtent = 3000;

class CNuvexSrvrItem : public COleServerItem {
    DECLARE_DYNAMIC(CNuvexSrvrItem)
public:
    // The item deletes itself with its document.
    explicit CNuvexSrvrItem(CNuvexDoc* document);

    CNuvexDoc* GetDocument() const;

    // The embedded item stores its document; a linked item stores nothing
    // of its own.
    void Serialize(CArchive& archive) override;
    // The content aspect is kServerItemExtent square; other aspects are the
    // base's (unknown).
    BOOL OnGetExtent(DWORD aspect, CSize& size) override;
    // HIMETRIC mapping over the item's extent, and no content: an embedded
    // drawing shows as an empty square.
    BOOL OnDraw(CDC* dc, CSize& size) override;
};
