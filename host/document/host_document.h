// CHostDocument: the document's IHostDocument, through which add-ins and
// their command objects work on the drawing, and the document's file-index
// service for objects that refer to each other in the file. It keeps a
// back pointer to its document, which owns it and deletes it directly; a
// borrower's Release, balanced or not, never destroys it.
//
// What needs a view (the popup menu's owner, the pane pages, the host view
// object) goes to the document's first view; the event connection points
// are the document output's.
#pragma once

#include "idocumentfileindex.h"
#include "ihost.h"
#include "objectmodel/reference_count.h"

class CNuvexDoc;

class CHostDocument : public IHostDocument, public IDocumentFileIndex {
public:
    explicit CHostDocument(CNuvexDoc& document) : m_document(document) {}
    CHostDocument(const CHostDocument&) = delete;
    CHostDocument& operator=(const CHostDocument&) = delete;

    // IUnknown: IHostDocument and IDocumentFileIndex.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IHostDocument
    HRESULT STDMETHODCALLTYPE DestroyPopupMenu() override;
    HRESULT STDMETHODCALLTYPE TrackPopupMenu(LONG flags, LONG x, LONG y) override;
    HRESULT STDMETHODCALLTYPE AddPopupMenuItem(IAddinCommand* owner, LONG flags, LONG itemId, const char* text) override;
    HRESULT STDMETHODCALLTYPE CreatePopupMenu() override;
    HRESULT STDMETHODCALLTYPE HitsTrackingLine(IVector3* first, IVector3* second, LONG* hit) override;
    HRESULT STDMETHODCALLTYPE NotifySettingsChanged() override;
    HRESULT STDMETHODCALLTYPE GetActiveObject(IUnknown** object) override;
    HRESULT STDMETHODCALLTYPE SetActiveObject(IUnknown* object) override;
    HRESULT STDMETHODCALLTYPE RefreshSnap() override;
    HRESULT STDMETHODCALLTYPE AddTrackingPoint(IVector3* point) override;
    HRESULT STDMETHODCALLTYPE SetPrompt(LONG kind, const char* text) override;
    HRESULT STDMETHODCALLTYPE SendEvent(LONG event, void* value, LONG final, LONG kind) override;
    HRESULT STDMETHODCALLTYPE EndLevel(LONG result) override;
    HRESULT STDMETHODCALLTYPE ShowPane(LONG group, LONG item) override;
    HRESULT STDMETHODCALLTYPE GetActivePane(LONG group, LONG* item) override;
    HRESULT STDMETHODCALLTYPE GetPaneObject(LONG group, LONG item, IUnknown** object) override;
    HRESULT STDMETHODCALLTYPE CreateControlPanel(LONG group, LONG item, IControlPanel** panel) override;
    HRESULT STDMETHODCALLTYPE GetFileIndex(LONG objectIndex, LONG* fileIndex) override;
    HRESULT STDMETHODCALLTYPE GetObjectCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE GetObject(LONG index, IEntityRecord** holder) override;
    HRESULT STDMETHODCALLTYPE AddObject(IEntityRecord* holder) override;
    HRESULT STDMETHODCALLTYPE RemoveObjectAt(LONG index) override;
    HRESULT STDMETHODCALLTYPE RemoveObject(IEntityRecord* holder) override;
    HRESULT STDMETHODCALLTYPE ModifyObjectAt(LONG index) override;
    HRESULT STDMETHODCALLTYPE ModifyObject(IEntityRecord* holder) override;
    HRESULT STDMETHODCALLTYPE RemoveAllObjects() override;
    HRESULT STDMETHODCALLTYPE GetDocumentWord(uint32_t* word) override;
    HRESULT STDMETHODCALLTYPE SetReferencePoint(IVector3* point) override;
    HRESULT STDMETHODCALLTYPE ClearFilterIds(LONG flags, LONG kind) override;
    HRESULT STDMETHODCALLTYPE RemoveFilterId(LONG flags, LONG kind, uintptr_t id) override;
    HRESULT STDMETHODCALLTYPE AddFilterId(LONG flags, LONG kind, uintptr_t id) override;
    HRESULT STDMETHODCALLTYPE ClearFilterGuids(LONG flags, LONG kind) override;
    HRESULT STDMETHODCALLTYPE RemoveFilterGuid(LONG flags, LONG kind, GUID id) override;
    HRESULT STDMETHODCALLTYPE AddFilterGuid(LONG flags, LONG kind, GUID id) override;
    HRESULT STDMETHODCALLTYPE ClearFilterFlags(LONG flags, LONG kind, uint32_t bits) override;
    HRESULT STDMETHODCALLTYPE AddFilterFlags(LONG flags, LONG kind, uint32_t bits) override;
    HRESULT STDMETHODCALLTYPE SetFilterFlags(LONG flags, LONG kind, uint32_t value) override;
    HRESULT STDMETHODCALLTYPE GetFilterFlags(LONG flags, LONG kind, uint32_t* value) override;
    HRESULT STDMETHODCALLTYPE AcceptCommand(IAddin* addin, LONG commandId) override;
    HRESULT STDMETHODCALLTYPE CancelCommand(IAddin* addin, LONG commandId) override;
    HRESULT STDMETHODCALLTYPE StartAddinCommand(IAddin* addin, LONG commandId) override;
    HRESULT STDMETHODCALLTYPE Redraw() override;
    HRESULT STDMETHODCALLTYPE CreateObject(CLSID classId, IID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE HasView() override;
    HRESULT STDMETHODCALLTYPE HasView2() override;
    HRESULT STDMETHODCALLTYPE SetVariable(LONG index, VARIANT value) override;
    HRESULT STDMETHODCALLTYPE GetVariable(LONG index, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE SetVariableByName(const char* name, VARIANT value) override;
    HRESULT STDMETHODCALLTYPE GetVariableByName(const char* name, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE GetRootSelection(ISelectionSet* set) override;
    HRESULT STDMETHODCALLTYPE PickAtRoot(void* picked) override;
    HRESULT STDMETHODCALLTYPE CreateNamedCollection(const char* name, ICollectionC** collection) override;
    HRESULT STDMETHODCALLTYPE FindNamedCollection(const char* name, ICollectionC** collection) override;
    HRESULT STDMETHODCALLTYPE SetCoordinateSystem(ICoordinateSystem* source) override;
    HRESULT STDMETHODCALLTYPE GetCoordinateSystem(ICoordinateSystem* target) override;
    HRESULT STDMETHODCALLTYPE SetWorkPlane(IPlane* plane) override;
    HRESULT STDMETHODCALLTYPE GetWorkPlane(IPlaneEx* target) override;
    HRESULT STDMETHODCALLTYPE ClearOptions(uint32_t bits, LONG tableMask) override;
    HRESULT STDMETHODCALLTYPE AddOptions(uint32_t bits, LONG tableMask) override;
    HRESULT STDMETHODCALLTYPE SetOptions(uint32_t value, LONG tableMask) override;
    HRESULT STDMETHODCALLTYPE GetOptions(uint32_t* value, LONG tableMask) override;
    HRESULT STDMETHODCALLTYPE ClearInputKinds(uint32_t bits, LONG tableMask) override;
    HRESULT STDMETHODCALLTYPE AddInputKinds(uint32_t bits, LONG tableMask) override;
    HRESULT STDMETHODCALLTYPE SetInputKinds(uint32_t kinds, LONG tableMask) override;
    HRESULT STDMETHODCALLTYPE GetInputKinds(uint32_t* kinds, LONG tableMask) override;
    HRESULT STDMETHODCALLTYPE GetAttributes(IAttributeSet** set) override;
    HRESULT STDMETHODCALLTYPE SetAttributes(IAttributeSet* source) override;
    HRESULT STDMETHODCALLTYPE GetSettings(ICollectionB** settings) override;
    HRESULT STDMETHODCALLTYPE SetSettings(ICollectionB* source) override;
    HRESULT STDMETHODCALLTYPE ClearObjectFlags(uint32_t key, uint32_t bits, LONG inTable, LONG inTemporaries) override;
    HRESULT STDMETHODCALLTYPE AddObjectFlags(uint32_t key, uint32_t bits, LONG inTable, LONG inTemporaries) override;
    HRESULT STDMETHODCALLTYPE SetObjectFlags(uint32_t key, uint16_t value, LONG inTable, LONG inTemporaries) override;
    HRESULT STDMETHODCALLTYPE GetObjectFlags(uint32_t key, uint32_t* value) override;
    HRESULT STDMETHODCALLTYPE GetTemporaryCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE GetTemporary(LONG index, IUnknown** object) override;
    HRESULT STDMETHODCALLTYPE AddTemporary(IUnknown* object, LONG byLevel, LONG byOwner, uint32_t ownerKey) override;
    HRESULT STDMETHODCALLTYPE RemoveTemporaryAt(LONG index) override;
    HRESULT STDMETHODCALLTYPE RemoveTemporary(IUnknown* object) override;
    HRESULT STDMETHODCALLTYPE RemoveTemporaries(LONG byLevel, LONG byOwner, uint32_t ownerKey) override;
    HRESULT STDMETHODCALLTYPE ClearTemporaries() override;
    HRESULT STDMETHODCALLTYPE GetAddinConnectionPoint(IAddin* addin, IConnectionPoint** point) override;
    HRESULT STDMETHODCALLTYPE GetEventConnectionPoint(IConnectionPoint** point) override;
    HRESULT STDMETHODCALLTYPE GetFirstView(IHostView** view) override;
    HRESULT STDMETHODCALLTYPE GetApplication(IHostApplication** application) override;

    // IDocumentFileIndex
    HRESULT STDMETHODCALLTYPE GetFileIndexOf(IUnknown* object, int32_t* fileIndex) override;
    HRESULT STDMETHODCALLTYPE GetObjectByFileIndex(int32_t fileIndex, IUnknown** object) override;

    virtual ~CHostDocument() = default;

private:
    CNuvexDoc& m_document;
    CReferenceCount m_references{Lifetime::OwnerHeld};
};
