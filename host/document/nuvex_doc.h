// CNuvexDoc: one open drawing. It owns the object list that the file holds,
// the list of objects that commands show for the time being, the undo
// history, the nested command levels, the document's copy of the system
// variables and the IHostDocument object through which add-ins reach it.
// It runs without any window: what it needs of the application and what it
// shows go through IDocumentServices and IDocumentOutput. It is the
// framework's server document, so document templates open, save and close
// it; how the program asks before closing and saving under a name comes
// from an IDocumentCloseFlow, without one the framework's own flow serves.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/document/document_file_error.h"
#include "host/document/document_panes.h"
#include "host/document/document_services.h"
#include "host/document/document_view.h"
#include "host/document/snap_engine.h"
#include "iaddin.h"
#include "ientityrecord.h"
#include "imodelobject.h"
#include "objectmodel/attribute_set.h"
#include "objectmodel/collection_b.h"
#include "objectmodel/coord_system_object.h"
#include "objectmodel/plane_object.h"
#include "objectmodel/vector3.h"
#include "platform/com/variant.h"
#include "platform/framework/ole.h"

class CHostDocument;
class CHostEntitySet;
class DocumentByteReader;
struct DocumentFileCheck;

// Input kinds a level accepts and the root level's values.
constexpr uint32_t kRootInputKinds = 0x20004;
constexpr uint32_t kRootOptions = 0x33;
// Owner and flag-entry value of a command-object entry that has none.
constexpr int32_t kNoOwner = -2;
// Holder flag bit that keeps a change out of the undo history.
constexpr uint32_t kHolderNoUndo = 0x10;
// Document event after every committed step, undo and redo.
constexpr int32_t kEventUndoHistoryChanged = 2;

// The three modifier tables of a level, in the order the level keeps them.
enum class ModifierTable { Shift = 0, Ctrl = 1, Plain = 2 };

// A level's six filter tables: the snapping set first (tables 0-2), then the
// picking set (3-5), each in ModifierTable order.
constexpr int kSnapFilterSet = 0;
constexpr int kPickFilterSet = 3;

// The modifier-table index of a modifier kind bit (1 plain, 2 Ctrl,
// 4 Shift), or -1 for any other value.
int ModifierTableOfKind(long kind);

struct FilterGuidRecord {
    GUID id{};
};

// One command level; level 0 is the root.
struct CommandLevel {
    int32_t commandIndex = -1;
    ComPtr<IAddinCommand> command;
    // Indexed by ModifierTable.
    std::array<uint32_t, 3> inputKinds{kRootInputKinds, kRootInputKinds, kRootInputKinds};
    std::array<uint32_t, 3> options{kRootOptions, kRootOptions, kRootOptions};
    // Six tables each: sets A and B times the three modifier tables.
    // Object ids: record pointer values.
    std::array<std::vector<uintptr_t>, 6> filterIds;
    std::array<std::vector<FilterGuidRecord>, 6> filterGuids;
    std::array<uint32_t, 6> filterFlags{0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu,
                                        0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    // Tab-separated labels, one per input kind.
    std::string promptLabels = "\t\t\t\t\t\t";
};

// One change of the object list: see Undo in nuvex_doc_undo.cpp.
struct UndoEntry {
    ComPtr<IEntityRecord> slot;
    int32_t index = 0;
};
using UndoStep = std::vector<UndoEntry>;

struct ObjectFlagEntry {
    uint32_t value = 0;
    int32_t owner = -1;
    uint32_t key = 0;
};

struct CommandObjectEntry {
    int32_t owner = kNoOwner;
    int32_t flagEntry = kNoOwner;
    uint32_t flags = 0;
    ComPtr<IUnknown> object;
};

struct ObjectListEntry {
    uint32_t flags = 0;
    // The file index of the record the entry was read from; -1 for an
    // entry that was not read from a file.
    int32_t fileIndex = -1;
    ComPtr<IEntityRecord> holder;
};

class CNuvexDoc;

// The program's close question and its save under a name.
class IDocumentCloseFlow {
public:
    // Asks before the document closes and saves it when the user wants;
    // TRUE when it may close.
    virtual BOOL AskToClose(CNuvexDoc& document) = 0;
    // Saves under path, or asks for a name when path is null or empty;
    // replace: the document takes the name. FALSE when cancelled or failed.
    virtual BOOL SaveUnderName(CNuvexDoc& document, LPCSTR path, BOOL replace) = 0;

protected:
    ~IDocumentCloseFlow() = default;
};

class CNuvexDoc : public COleServerDoc {
    DECLARE_DYNAMIC(CNuvexDoc)
public:
    CNuvexDoc(IDocumentServices& services, IDocumentOutput& output);
    CNuvexDoc(const CNuvexDoc&) = delete;
    CNuvexDoc& operator=(const CNuvexDoc&) = delete;
    virtual ~CNuvexDoc();

    // The records of the object list and the command objects whose ids
    // are given, in the order of the ids; an id that names none of them is
    // skipped, so a stale id is never followed.
    std::vector<IEntityRecord*> FindRecordsById(const std::vector<uintptr_t>& ids) const;
    IHostDocument* GetHostDocument();
    // The pane pages of the first view's frame; null until a view gives them.
    IDocumentPanes* Panes() const { return m_panes.get(); }
    void SetPanes(std::unique_ptr<IDocumentPanes> panes) { m_panes = std::move(panes); }
    IDocumentServices& Services() { return m_services; }
    IDocumentOutput& Output() { return m_output; }
    // The first of the document's views that is a document view, or null.
    IDocumentView* GetFirstDocumentView();

    // Back to an empty drawing with only the root level, for a document
    // that is about to read a file. The command-line text, the popup tables
    // and the system variables stay.
    void ResetDocument();
    // Appends the application's variables that the document lacks.
    void SyncSystemVariables();
    // The entry of key owned by the add-in of the current level's command
    // (-1 at the root); -1 when none and create is FALSE.
    int32_t FindObjectFlagEntry(uint32_t key, BOOL create);

    // File: see document_file_read.cpp and document_file_write.cpp.
    BOOL OnSaveDocument(const char* path) override;
    BOOL OnOpenDocument(const char* path) override;
    // Reads a file's bytes as OnOpenDocument does, without the file and
    // without the flags (the file fuzzer's entry).
    BOOL LoadDocumentBytes(const BYTE* data, size_t size);
    // Checks the whole file, then resets the document and loads it, without
    // the flags; on FALSE LastFileError says why and nothing is loaded.
    BOOL ReadDocument(DocumentByteReader& reader);
    // Why the last native open or save failed (None after success).
    DocumentFileError LastFileError() const { return m_lastFileError; }

    // Undo history: see nuvex_doc_undo.cpp.
    void CommitUndoStep();
    void OnEditUndo();
    void OnEditRedo();
    int32_t GetUndoPosition() const { return m_undoPosition; }
    size_t GetUndoStepCount() const { return m_undoSteps.size(); }
    size_t GetPendingUndoCount() const { return m_pendingUndo.size(); }

    // Object list.
    size_t GetObjectCount() const { return m_objects.size(); }
    IEntityRecord* GetObjectAt(size_t index) const { return m_objects[index].holder.Get(); }
    uint32_t GetObjectFlagsAt(size_t index) const { return m_objects[index].flags; }
    // Appends with list flags 0 and records the undo entry unless the
    // holder's own flags carry kHolderNoUndo.
    void AddObject(IEntityRecord* holder);
    // FALSE for an index outside the list.
    BOOL RemoveObjectAt(int32_t index);
    // Records the holder's earlier content for undo before a change.
    BOOL ModifyObjectAt(int32_t index);

    // Command-object list (shown, not saved).
    const std::vector<CommandObjectEntry>& GetCommandObjects() const { return m_commandObjects; }
    void AddCommandObject(IUnknown* object, int32_t owner, int32_t flagEntry);
    std::vector<CommandObjectEntry>& CommandObjects() { return m_commandObjects; }
    // Which command objects RemoveCommandObjects takes: those of the current
    // level's command, and/or those of the owner key's flag entry.
    enum class OfCommand : uint8_t { Any, Current };
    enum class OfOwner : uint8_t { Any, Key };
    // Releases the command objects of the current level's command, of the
    // key's flag entry, or with both Any those that have neither; last to
    // first.
    void RemoveCommandObjects(OfCommand ofCommand, OfOwner ofOwner, uint32_t ownerKey);
    std::vector<ObjectFlagEntry>& ObjectFlagTable() { return m_objectFlags; }

    // Command levels.
    int32_t GetCurrentLevel() const { return m_currentLevel; }
    CommandLevel& Level(int32_t level) { return m_levels[static_cast<size_t>(level)]; }
    const CommandLevel& Level(int32_t level) const { return m_levels[static_cast<size_t>(level)]; }
    size_t GetLevelCount() const { return m_levels.size(); }
    // Appends a level for a command object (which may be null) and makes
    // it current; no events.
    void PushLevel(int32_t commandIndex, IAddinCommand* command);

    // Command engine: see command_engine.cpp.
    // The root level's handler: the document's own selection handler
    // unless another is set.
    void SetRootHandler(IRootEventHandler* handler) { m_rootHandler = handler; }
    CHostEntitySet& SelectionHandler() { return *m_selectionHandler; }
    // Starts host command index, or with flag 0 on the running command
    // toggles it off. Always TRUE.
    BOOL StartCommand(int32_t index, int32_t flag);
    void PushCommandLevel(int32_t index);
    void PopCommandLevels(int32_t first, int32_t count);
    // A level outside the stack selects the top level.
    void SetCurrentCommandLevel(int32_t level);
    IAddinCommand* GetActiveCommandObject() const;
    // The current level's host command index (-1 at the root level).
    int32_t& GetActiveCommandId() { return Level(m_currentLevel).commandIndex; }
    // The current level's input-kind word for a modifier kind (the Ctrl
    // table for bit 0x2, else the Shift table for 0x4, else the plain one),
    // and its option word; callers may write through them.
    uint32_t& GetInputFlagsA(int32_t kind);
    uint32_t& GetInputFlagsB(int32_t kind);
    // The plane through the origin of the document's coordinate system with
    // its Z axis as the normal.
    CPlaneObject GetDocumentXYPlane() const;
    // FALSE while the engine runs a new command object's Create.
    BOOL IsReady() const { return m_createFinished; }
    void CancelCommand();
    void ApplyCommandPresets(int32_t index, int32_t flag);
    // The one entry point of input: the current level's command, or the
    // root handler at the root (E_FAIL without a view).
    HRESULT SendCommandEvent(LONG code, void* value, LONG final, LONG kind, LONG* result);
    // Reads the answer to an event and commits, ends, passes on or keeps
    // the level. `view` is the view the event came from; without one the
    // document's first view stands in and leaves zoom-window mode. With
    // `refresh` the view recomputes its feedback from the keys at the end.
    void EndCommandLevel(LONG code, LONG result, IDocumentView* view, BOOL refresh);
    void EndCommandLevel(LONG code, LONG result, BOOL refresh) { EndCommandLevel(code, result, nullptr, refresh); }
    // The closers of a named command: 0 when the command is not running or
    // keeps running, 1 otherwise.
    int32_t CancelCommandLevel(int32_t commandIndex);
    int32_t FinishCommandLevel(int32_t commandIndex);

    // Typed input: see typed_input.cpp. commit FALSE: the line changed;
    // TRUE: it was submitted.
    void ProcessTypedInput(const std::string& text, BOOL commit);
    // The command whose name or short name is the text; kUnknownCommand
    // when none.
    int32_t FindCommandName(const std::string& text) const;
    static constexpr int32_t kUnknownCommand = 0xFFFF;
    const std::string& GetCommandLineText() const { return m_commandLineText; }
    const CVector3& GetLastTypedPoint() const { return m_lastTypedPoint; }

    // Prompt: see prompt.cpp.
    void BuildPrompt();
    void SetPromptLabel(uint32_t kind, const char* text);

    // System variables.
    int32_t GetVariableCount() const { return static_cast<int32_t>(m_variables.size()); }
    HRESULT GetVariable(int32_t index, VARIANT* value) const;
    // E_FAIL outside the table or when the type tag differs from the stored one.
    HRESULT SetVariable(int32_t index, const VARIANT& value);
    // The changed mark of a variable: set by every write and when the
    // document takes the variable up; cleared by the command-state refresh.
    uint32_t GetVariableFlags(int32_t index) const { return m_variableFlags[static_cast<size_t>(index)]; }
    void ClearVariableChanged(int32_t index)
    {
        if (index >= 0 && index < GetVariableCount()) {
            m_variableFlags[static_cast<size_t>(index)] = 0;
        }
    }

    CAttributeSet& CurrentAttributes() { return *m_currentAttributes.Get(); }
    CCollectionB& CurrentColour() { return *m_currentColour.Get(); }
    IIdGroup* GetCurrentGroup() const { return m_currentGroup; }
    void SetCurrentGroup(IIdGroup* group);
    CCoordSystemObject& UserFrame() { return m_userFrame; }
    CSnapEngine& SnapEngine() { return m_snapEngine; }
    // The snap engine drops its tracking lines and recent points.
    void RefreshSnap();

    BOOL IsModified() const { return m_bModified; }
    BOOL IsModified() override { return m_bModified; }
    void SetModifiedFlag(BOOL modified = TRUE) override;

    // Framework life: see nuvex_doc_framework.cpp.
    void SetCloseFlow(IDocumentCloseFlow* flow) { m_closeFlow = flow; }
    BOOL OnNewDocument() override;
    BOOL SaveModified() override;
    BOOL DoSave(LPCSTR path, BOOL replace = TRUE) override;
    void OnCloseDocument() override;
    COleServerItem* OnGetEmbeddedItem() override;
    BOOL HasFile() const { return m_hasFile; }
    BOOL IsSaving() const { return m_saving; }
    BOOL IsCommandActive() const { return m_commandActive; }
    int32_t GetLastStartedCommand() const { return m_lastStartedCommand; }

    // While saving: the file index of a list entry, or -1.
    int32_t FileIndexOfEntry(int32_t listIndex) const;
    // While saving: the file index of the record holding object, or -1.
    int32_t FileIndexOfObject(IUnknown* object);
    // While reading: the object of the record with that file index, or null.
    IUnknown* ObjectOfFileIndex(int32_t fileIndex) const;

    // Event 32 to the root handler, every level's command object, then a
    // redraw of all views.
    void BroadcastChangeEvent();
    // The document's part of a view's activation: with `activate` the
    // toolbar controls take up the document, the command line shows its
    // text, the prompt and every command button are rebuilt and the
    // document takes up variables registered since; otherwise, when no
    // view of the program became active, the command states are refreshed.
    void OnViewActivated(BOOL activate, CView* activated, CView* deactivated);
    // The input kinds of the current level changed: the prompt follows.
    void InputKindsChanged();

    // The point a command set during the current mouse move (shown in the
    // status bar in place of the cursor's); the view clears it per move.
    BOOL IsReferencePointSet() const { return m_pointSet; }
    const CVector3& GetReferencePoint() const { return m_storedPoint; }
    void ClearReferencePoint() { m_pointSet = FALSE; }

    // The document popup menu's items (ids from 1) that commands added, and
    // the command object that owns each.
    size_t GetPopupItemCount() const { return m_popupItemIds.size(); }
    uint32_t GetPopupItemId(size_t index) const { return m_popupItemIds[index]; }
    IAddinCommand* GetPopupItemOwner(size_t index) const { return m_popupItemOwners[index]; }

    // Redraw now, or mark it pending while redraws are deferred.
    void Redraw();
    void SetDeferRedraw(BOOL defer) { m_deferRedraw = defer; }
    BOOL IsRedrawPending() const { return m_redrawPending; }
    void ClearRedrawPending() { m_redrawPending = FALSE; }

private:
    friend class CHostDocument;

    void PushRootLevel();
    // The second pass of ReadDocument: creates the objects of a checked
    // file.
    DocumentFileCheck LoadRecords(DocumentByteReader& reader, size_t objectCount);
    void ReleaseObjectLists();
    // Applies one change entry to the object list; each entry is its own
    // inverse.
    void ApplyUndoEntry(UndoEntry& entry);
    void RecordPendingUndo(IEntityRecord* slot, int32_t index);
    void CancelRootHandlerForUndo();
    int32_t CloseNamedLevel(int32_t commandIndex, LONG event);
    int32_t TopCommandIndex() const { return m_levels.back().commandIndex; }

    IDocumentServices& m_services;
    IDocumentOutput& m_output;

    BOOL m_commandActive = FALSE;
    BOOL m_createFinished = TRUE;
    // The document popup menu that commands fill (null when none), with
    // the item id and owner of each position from 1.
    HMENU m_popupMenu = nullptr;
    std::vector<uint32_t> m_popupItemIds;
    std::vector<IAddinCommand*> m_popupItemOwners;
    BOOL m_saving = FALSE;
    std::vector<int32_t> m_fileIndexTable;
    std::vector<int32_t> m_sizeTable;
    // Filled on first use during a save: held object -> file index.
    std::vector<std::pair<IUnknown*, int32_t>> m_fileIndexByObject;
    // Set while a file's objects are created and resolved.
    BOOL m_reading = FALSE;
    // During a read: the file indexes of the records left out, in order.
    // The other records sit in the object list in file order, so a file
    // index finds its entry without a table of its own.
    std::vector<int32_t> m_skippedFileIndexes;
    // During a read: the records before this file index are in.
    size_t m_recordsRead = 0;
    BOOL m_hasFile = FALSE;
    std::string m_commandLineText;
    BOOL m_pointSet = FALSE;
    CVector3 m_storedPoint;
    BOOL m_redrawPending = FALSE;
    BOOL m_deferRedraw = FALSE;
    std::vector<VARIANT> m_variables;
    std::vector<uint32_t> m_variableFlags;
    int32_t m_snapIndex = -1;
    UndoStep m_pendingUndo;
    std::vector<UndoStep> m_undoSteps;
    int32_t m_undoPosition = 0;
    ComPtr<CAttributeSet> m_currentAttributes;
    ComPtr<CCollectionB> m_currentColour;
    IIdGroup* m_currentGroup = nullptr;
    CCoordSystemObject m_userFrame;
    std::vector<CommandLevel> m_levels;
    int32_t m_lastStartedCommand = -1;
    int32_t m_currentLevel = 0;
    std::vector<ObjectFlagEntry> m_objectFlags;
    std::vector<CommandObjectEntry> m_commandObjects;
    std::vector<ObjectListEntry> m_objects;
    std::unique_ptr<CHostDocument> m_hostDocument;
    std::unique_ptr<CHostEntitySet> m_selectionHandler;
    CSnapEngine m_snapEngine;
    DocumentFileError m_lastFileError = DocumentFileError::None;
    IRootEventHandler* m_rootHandler = nullptr;
    CVector3 m_lastTypedPoint;
    uint32_t m_documentWord = 0;
    // The new objects that a finishing level handed to the root.
    std::vector<uintptr_t> m_passOnIds;
    IDocumentCloseFlow* m_closeFlow = nullptr;
    std::unique_ptr<IDocumentPanes> m_panes;
    // The user agreed to close (SaveModified) and has not changed the
    // drawing since: the close does not ask again.
    BOOL m_closeAgreed = FALSE;
};
