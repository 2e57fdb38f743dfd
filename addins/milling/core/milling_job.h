// IMillingJob and CMillingJob: the milling job that each host document
// carries among its objects: an ordered list of operations, one of them
// active, stored in the document file as one byte record (job_record.cpp)
// under the add-in's class id and recreated through the add-in's class
// factory when a drawing is read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "addins/milling/core/job_record.h"
#include "addins/milling/core/language_table.h"
#include "addins/milling/core/milling_operation.h"
#include "addins/milling/core/module_count.h"
#include "addins/milling/core/strimo_ids.h"
#include "icontrols.h"
#include "ientity.h"

// The job's interface: the entity operations. Its other members are plain
// calls on CMillingJob.
struct IMillingJob : IEntityBase {
protected:
    ~IMillingJob() = default;
};

// The NC code pane shows at most this many lines of a program.
inline constexpr size_t kMaxNcPaneLines = 10240;

// How WriteNcCode went.
struct NcProgramResult {
    bool ok = true;
    std::string message; // why the program is incomplete
};

class CMillingJob final : public IMillingJob {
public:
    CMillingJob() = default;
    explicit CMillingJob(IHostDocument* document) : m_document(document) {}
    CMillingJob(const CMillingJob&) = delete;
    CMillingJob& operator=(const CMillingJob&) = delete;

    // The job behind an IMillingJob (only this class answers that id).
    static CMillingJob* FromInterface(IUnknown* object);

    // IUnknown: IUnknown, IMillingJob, IEntityBase and IObjectBase.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IObjectBase
    // A new job with the same operations, features and active operation.
    HRESULT STDMETHODCALLTYPE Clone(IObjectBase** copy) override;
    // Reads the job record; a record that does not read whole loads
    // nothing (the job is then empty) and keeps why in LoadError().
    HRESULT STDMETHODCALLTYPE Load(uint32_t size, const BYTE* data) override;
    // E_FAIL for a job without operations (nothing is stored for it).
    HRESULT STDMETHODCALLTYPE GetSize(uint32_t* size) override;
    HRESULT STDMETHODCALLTYPE Save(BYTE* buffer) override;
    // A document is kept; null is the notice that reading has finished:
    // the operations find their postprocessors by machine name, and a job
    // record that could not be read is reported.
    HRESULT STDMETHODCALLTYPE SetHostDocument(IHostDocument* document) override;
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override;
    // IEntityBase: only Draw (the active operation) does anything.
    HRESULT STDMETHODCALLTYPE Reserved1(uint32_t, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved2(uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Draw(IGraphicsContext* context) override;
    HRESULT STDMETHODCALLTYPE GetExtents(IVector3*, IVector3*, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved3(uint32_t, uint32_t, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4(void*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                        uint32_t) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE MoveGripPoint(uint32_t, IVector3*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGripPoints(IPointList*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NearestPointToLine(ILine*, IVector3*, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE HitTest(IPlane*, IPlane*, IPlane*, IPlane*, uint32_t, BOOL*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Tessellate(IPlane*, IPlane*, IPlane*, IPlane*, double, IPolylineSet**) override
    {
        return E_NOTIMPL;
    }

    CMillingOperation* GetOperation(long index) const;
    long GetOperationCount() const { return static_cast<long>(m_operations.size()); }
    long GetActiveOperation() const { return m_activeOperation; }
    IHostDocument* GetDocument() const { return m_document; }

    // Appends the operation, which the job owns from then on; an unnamed
    // one is named "Operation n" (the least n no operation has). With the
    // Features tree known it gets an item "name <machine>" (the operation's
    // own machine, "NO MACHINE" without one).
    void AddOperation(std::unique_ptr<CMillingOperation> operation, bool makeActive);
    // false for an index at or past the count; a negative index clears the
    // active operation.
    bool SetActiveOperation(long index);
    // Removes the operation at index; the same operation stays active (the
    // last one when the active one itself goes and was the last).
    void DeleteOperation(long index);

    // Whether each feature's blocks follow a "Phase n" heading.
    enum class Phases : uint8_t { Unnumbered, Numbered };
    // The NC program of an operation (-1: the active one) into lines: per
    // feature, with Phases::Numbered a "Phase n" heading, then its blocks
    // through the operation's postprocessor with the current machine's
    // switches. No operation gives no lines.
    // `headings`, when given, receives the indices of the heading lines.
    NcProgramResult WriteNcCode(std::vector<std::string>& lines, long operation, Phases phases,
                                std::vector<size_t>* headings = nullptr) const;
    // The blocks of one feature of an operation, without a heading, with
    // the switches WriteNcCode uses. No such feature gives no lines.
    NcProgramResult WriteFeatureNcCode(std::vector<std::string>& lines, long operation, long feature) const;
    // What the NC code pane shows: "Operation n", then the active
    // operation's numbered program, cut at kMaxNcPaneLines lines with
    // "Not Enough Memory..." in place of the rest. `heading`, when given,
    // is true for the lines that are no NC blocks.
    std::vector<std::string> NcCodePaneLines(std::vector<bool>* heading = nullptr) const;
    // Refills the NC code pane, when the job knows one (nc_code_pane.h
    // tells how).
    void UpdateNcCodePane();

    // The Features pane's tree and its root item, and the NC code pane's
    // control, set by the panes when they are made (lent by the host).
    void SetFeaturesTree(ITreeControl* tree, HTREEITEM root);
    void SetNcCodeControl(IRichEditControl* control) { m_ncCode = control; }
    ITreeControl* FeaturesTree() const { return m_tree; }
    // What a Features tree item stands for: the root (-1, -1), an operation
    // (i, -1) or a feature (i, j); false, with (-1, -1), for any other item.
    bool FindTreeItem(HTREEITEM item, long* operation, long* feature) const;

    // Why the last Load read nothing; None after a good read.
    const JobRecordStatus& LoadError() const { return m_loadError; }

private:
    ~CMillingJob();
    // The output context of an operation's program: its machine, origin and
    // Z sense, and the store's current machine's switches.
    static CNcOutputContext OutputContext(const CMillingOperation& operation);

    IHostDocument* m_document = nullptr;
    CLanguageTable m_language;
    IRichEditControl* m_ncCode = nullptr;
    HTREEITEM m_treeRoot = nullptr;
    ITreeControl* m_tree = nullptr;
    long m_activeOperation = -1;
    std::vector<std::unique_ptr<CMillingOperation>> m_operations;
    JobRecordStatus m_loadError;
    bool m_loadErrorReported = true;
    long m_references = 0;
};

// The document's job, created and attached when it has none. Null for a
// null document or when the document refuses the job.
CMillingJob* FindMillingJob(IHostDocument* document);
