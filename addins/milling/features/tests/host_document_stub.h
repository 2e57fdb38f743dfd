// CHostDocumentStub: a test double of the host document whose every
// operation answers E_NOTIMPL; a test derives from it and overrides the few
// operations its code under test calls. It counts no references.
#pragma once

#include "ihost.h"

class CHostDocumentStub : public IHostDocument {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (out == nullptr) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == IID_IHostDocument) {
            *out = static_cast<IHostDocument*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE DestroyPopupMenu() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TrackPopupMenu(LONG, LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddPopupMenuItem(IAddinCommand*, LONG, LONG, const char*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreatePopupMenu() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE HitsTrackingLine(IVector3*, IVector3*, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NotifySettingsChanged() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetActiveObject(IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RefreshSnap() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddTrackingPoint(IVector3*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPrompt(LONG, const char*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SendEvent(LONG, void*, LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndLevel(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ShowPane(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetActivePane(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPaneObject(LONG, LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateControlPanel(LONG, LONG, IControlPanel**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFileIndex(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetObjectCount(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetObject(LONG, IEntityRecord**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddObject(IEntityRecord*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveObjectAt(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveObject(IEntityRecord*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ModifyObjectAt(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ModifyObject(IEntityRecord*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveAllObjects() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDocumentWord(uint32_t*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetReferencePoint(IVector3*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearFilterIds(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveFilterId(LONG, LONG, uintptr_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddFilterId(LONG, LONG, uintptr_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearFilterGuids(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveFilterGuid(LONG, LONG, GUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddFilterGuid(LONG, LONG, GUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearFilterFlags(LONG, LONG, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddFilterFlags(LONG, LONG, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFilterFlags(LONG, LONG, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFilterFlags(LONG, LONG, uint32_t*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AcceptCommand(IAddin*, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CancelCommand(IAddin*, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE StartAddinCommand(IAddin*, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Redraw() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateObject(CLSID, IID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE HasView() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE HasView2() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetVariable(LONG, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVariable(LONG, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetVariableByName(const char*, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVariableByName(const char*, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRootSelection(ISelectionSet*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE PickAtRoot(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateNamedCollection(const char*, ICollectionC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindNamedCollection(const char*, ICollectionC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetCoordinateSystem(ICoordinateSystem*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCoordinateSystem(ICoordinateSystem*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetWorkPlane(IPlane*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetWorkPlane(IPlaneEx*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearOptions(uint32_t, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddOptions(uint32_t, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOptions(uint32_t, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOptions(uint32_t*, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearInputKinds(uint32_t, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddInputKinds(uint32_t, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetInputKinds(uint32_t, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetInputKinds(uint32_t*, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAttributes(IAttributeSet**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAttributes(IAttributeSet*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSettings(ICollectionB**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSettings(ICollectionB*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearObjectFlags(uint32_t, uint32_t, LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddObjectFlags(uint32_t, uint32_t, LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetObjectFlags(uint32_t, uint16_t, LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetObjectFlags(uint32_t, uint32_t*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTemporaryCount(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTemporary(LONG, IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddTemporary(IUnknown*, LONG, LONG, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveTemporaryAt(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveTemporary(IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RemoveTemporaries(LONG, LONG, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClearTemporaries() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAddinConnectionPoint(IAddin*, IConnectionPoint**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetEventConnectionPoint(IConnectionPoint**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFirstView(IHostView**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetApplication(IHostApplication**) override { return E_NOTIMPL; }

    virtual ~CHostDocumentStub() = default;
};
