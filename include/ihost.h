// IHostApplication, IHostDocument and IHostView: what add-ins and their
// command objects may ask of the host, the open document and a view.
// Operations stand in table order; reserved slots keep their place and
// arity and have no effect. Text crosses as zero-terminated 8-bit strings:
// the callee copies what it is given and returns text by copying it into a
// buffer the caller supplies. Nothing handed out is AddRef'ed unless said.
#pragma once

#include "iaddin.h"
#include "iids.h"
#include "platform/base/types.h"
#include "platform/com/unknwn.h"
#include "platform/com/variant.h"

class CProgressCtrl;
struct IConnectionPoint;
struct IControlPanel;
struct IToolbarControl;
struct IEntityRecord;
struct IGraphicsContext;
struct IVector3;
struct ISelectionSet;
struct ICollectionB;
struct ICollectionC;
struct ICoordinateSystem;
struct IPlane;
struct IPlaneEx;
struct IAttributeSet;
struct IHostView;

struct IHostApplication : IUnknown {
    // Root-level input goes to one object of the first registered class.
    virtual HRESULT STDMETHODCALLTYPE RegisterEventHandlerClass(IAddin* addin, GUID classId, LONG eventMask) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetViewContextMenu(HMENU* menu) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProgressControl(CProgressCtrl** control) = 0;
    // flags bit 1: the add-in opens files with that extension; bit 2: saves them.
    virtual HRESULT STDMETHODCALLTYPE RegisterFileType(const char* description, const char* extension, LONG flags,
                                                       GUID classId, LONG value) = 0;
    virtual HRESULT STDMETHODCALLTYPE FocusCommandLine() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLanguage(char* chosen, char* fallback) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPaneGroupCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPaneGroupName(LONG group, char* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindPaneGroup(const char* name, LONG* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddPaneGroup(const char* name, LONG flags, LONG* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindPaneItem(LONG group, const char* name, LONG* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddPaneItem(LONG group, const char* name, LONG flags, IAddin* addin,
                                                  LONG commandId, LONG* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAddin(CLSID classId, IAddin** addin) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetProgramFolder(char* folder) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCommandPresets(IAddin* addin, LONG commandId, LONG count,
                                                       VARIANT* variables, VARIANT* values, uint32_t* flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindVariable(const char* name, LONG* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVariableName(LONG index, const char** name) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVariableCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE RegisterVariable(const char* name, VARIANT value, LONG* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved22(LONG_PTR, LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved23(LONG_PTR, LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved24(LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved25(LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved26(LONG_PTR, LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved27() = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved28(LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved29(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCommandTexts(IAddin* addin, LONG commandId, const char* commandName,
                                                      const char* shortName) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCommandStatusTexts(IAddin* addin, LONG commandId, const char* statusText,
                                                            const char* toolTip) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddAccelerator(IAddin* addin, LONG commandId, BYTE virtFlags, WORD key) = 0;
    virtual HRESULT STDMETHODCALLTYPE InsertMenuItem(HMENU menu, LONG position, IAddin* addin, LONG commandId,
                                                     LONG flags, const char* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddMenuItem(HMENU menu, IAddin* addin, LONG commandId, LONG flags,
                                                  const char* text, HBITMAP bitmap) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddMenuSeparator(HMENU menu, IAddin* addin, LONG commandId, LONG flags,
                                                       const char* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved36(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMenuItemCount(HMENU menu, LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE InsertPopupMenu(HMENU parent, LONG position, const char* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindMenuPosition(HMENU menu, const char* text, LONG* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSubMenu(HMENU menu, LONG position, HMENU* subMenu) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMainMenu(HMENU* menu) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDefaultMenu(HMENU* menu) = 0;
    // AddRef'ed.
    virtual HRESULT STDMETHODCALLTYPE GetAddinConnectionPoint(IAddin* addin, IConnectionPoint** point) = 0;
    // AddRef'ed.
    virtual HRESULT STDMETHODCALLTYPE GetEventConnectionPoint(IConnectionPoint** point) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetActiveDocument(IHostDocument** document) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAddinClassFactory(CLSID classId, IClassFactory** factory) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddToolbar(const char* name, IToolbarControl** toolbar) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindToolbar(const char* name, IToolbarControl** toolbar) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetToolbar(LONG index, IToolbarControl** toolbar) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetToolbarCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE RegisterCommandClass(IAddin* addin, LONG commandId, GUID classId) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetToolbarCommandControl(IAddin* addin, LONG commandId, IUnknown** control) = 0;

protected:
    ~IHostApplication() = default;
};

struct IHostDocument : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE DestroyPopupMenu() = 0;
    virtual HRESULT STDMETHODCALLTYPE TrackPopupMenu(LONG flags, LONG x, LONG y) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddPopupMenuItem(IAddinCommand* owner, LONG flags, LONG itemId,
                                                       const char* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreatePopupMenu() = 0;
    virtual HRESULT STDMETHODCALLTYPE HitsTrackingLine(IVector3* first, IVector3* second, LONG* hit) = 0;
    virtual HRESULT STDMETHODCALLTYPE NotifySettingsChanged() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetActiveObject(IUnknown** object) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetActiveObject(IUnknown* object) = 0;
    virtual HRESULT STDMETHODCALLTYPE RefreshSnap() = 0;
    virtual HRESULT STDMETHODCALLTYPE AddTrackingPoint(IVector3* point) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPrompt(LONG kind, const char* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE SendEvent(LONG event, void* value, LONG final, LONG kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE EndLevel(LONG result) = 0;
    virtual HRESULT STDMETHODCALLTYPE ShowPane(LONG group, LONG item) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetActivePane(LONG group, LONG* item) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPaneObject(LONG group, LONG item, IUnknown** object) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateControlPanel(LONG group, LONG item, IControlPanel** panel) = 0;
    // Only while the document saves: the file index of that object-list
    // entry (-1 for one not written); otherwise -1 and E_FAIL.
    virtual HRESULT STDMETHODCALLTYPE GetFileIndex(LONG objectIndex, LONG* fileIndex) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetObjectCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetObject(LONG index, IEntityRecord** holder) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddObject(IEntityRecord* holder) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveObjectAt(LONG index) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveObject(IEntityRecord* holder) = 0;
    virtual HRESULT STDMETHODCALLTYPE ModifyObjectAt(LONG index) = 0;
    virtual HRESULT STDMETHODCALLTYPE ModifyObject(IEntityRecord* holder) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveAllObjects() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDocumentWord(uint32_t* word) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetReferencePoint(IVector3* point) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearFilterIds(LONG flags, LONG kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveFilterId(LONG flags, LONG kind, uintptr_t id) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddFilterId(LONG flags, LONG kind, uintptr_t id) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearFilterGuids(LONG flags, LONG kind) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveFilterGuid(LONG flags, LONG kind, GUID id) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddFilterGuid(LONG flags, LONG kind, GUID id) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearFilterFlags(LONG flags, LONG kind, uint32_t bits) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddFilterFlags(LONG flags, LONG kind, uint32_t bits) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFilterFlags(LONG flags, LONG kind, uint32_t value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFilterFlags(LONG flags, LONG kind, uint32_t* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE AcceptCommand(IAddin* addin, LONG commandId) = 0;
    virtual HRESULT STDMETHODCALLTYPE CancelCommand(IAddin* addin, LONG commandId) = 0;
    virtual HRESULT STDMETHODCALLTYPE StartAddinCommand(IAddin* addin, LONG commandId) = 0;
    virtual HRESULT STDMETHODCALLTYPE Redraw() = 0;
    // The object comes AddRef'ed.
    virtual HRESULT STDMETHODCALLTYPE CreateObject(CLSID classId, IID iid, void** object) = 0;
    virtual HRESULT STDMETHODCALLTYPE HasView() = 0;
    virtual HRESULT STDMETHODCALLTYPE HasView2() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetVariable(LONG index, VARIANT value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVariable(LONG index, VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetVariableByName(const char* name, VARIANT value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVariableByName(const char* name, VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRootSelection(ISelectionSet* set) = 0;
    virtual HRESULT STDMETHODCALLTYPE PickAtRoot(void* picked) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateNamedCollection(const char* name, ICollectionC** collection) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindNamedCollection(const char* name, ICollectionC** collection) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCoordinateSystem(ICoordinateSystem* source) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCoordinateSystem(ICoordinateSystem* target) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetWorkPlane(IPlane* plane) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetWorkPlane(IPlaneEx* target) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearOptions(uint32_t bits, LONG tableMask) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddOptions(uint32_t bits, LONG tableMask) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetOptions(uint32_t value, LONG tableMask) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOptions(uint32_t* value, LONG tableMask) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearInputKinds(uint32_t bits, LONG tableMask) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddInputKinds(uint32_t bits, LONG tableMask) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetInputKinds(uint32_t kinds, LONG tableMask) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetInputKinds(uint32_t* kinds, LONG tableMask) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAttributes(IAttributeSet** set) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetAttributes(IAttributeSet* source) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSettings(ICollectionB** settings) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSettings(ICollectionB* source) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearObjectFlags(uint32_t key, uint32_t bits, LONG inTable,
                                                       LONG inTemporaries) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddObjectFlags(uint32_t key, uint32_t bits, LONG inTable,
                                                     LONG inTemporaries) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetObjectFlags(uint32_t key, uint16_t value, LONG inTable,
                                                     LONG inTemporaries) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetObjectFlags(uint32_t key, uint32_t* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTemporaryCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTemporary(LONG index, IUnknown** object) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddTemporary(IUnknown* object, LONG byLevel, LONG byOwner,
                                                   uint32_t ownerKey) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveTemporaryAt(LONG index) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveTemporary(IUnknown* object) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveTemporaries(LONG byLevel, LONG byOwner, uint32_t ownerKey) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearTemporaries() = 0;
    // AddRef'ed.
    virtual HRESULT STDMETHODCALLTYPE GetAddinConnectionPoint(IAddin* addin, IConnectionPoint** point) = 0;
    // AddRef'ed.
    virtual HRESULT STDMETHODCALLTYPE GetEventConnectionPoint(IConnectionPoint** point) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFirstView(IHostView** view) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetApplication(IHostApplication** application) = 0;

protected:
    ~IHostDocument() = default;
};

struct IHostView : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetOffsetY(double* offset) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOffsetX(double* offset) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetScale(double* scale) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reserved6(uint32_t* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetScale(double scale) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetOffset(double x, double y) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddTrackingLine(IVector3* point, IVector3* direction, LONG value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetGraphicsContext(IGraphicsContext** context) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetViewOrientation(IVector3* viewDirection, IVector3* rightDirection) = 0;
    virtual HRESULT STDMETHODCALLTYPE DrawBitmap(HBITMAP bitmap, double x, double y, double z, double offset1,
                                                 double offset2, uint64_t reserved) = 0;
    // AddRef'ed.
    virtual HRESULT STDMETHODCALLTYPE GetAddinConnectionPoint(IAddin* addin, IConnectionPoint** point) = 0;
    // AddRef'ed.
    virtual HRESULT STDMETHODCALLTYPE GetEventConnectionPoint(IConnectionPoint** point) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDocument(IHostDocument** document) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetApplication(IHostApplication** application) = 0;

protected:
    ~IHostView() = default;
};
