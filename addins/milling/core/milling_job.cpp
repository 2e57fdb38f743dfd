// CMillingJob: the job's identity, record, operations and NC program.
#include "addins/milling/core/milling_job.h"

#include <cstdio>
#include <cstring>

#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/nc_code_pane.h"
#include "addins/milling/features/documentmoveentities.h"
#include "ientityrecord.h"
#include "objectmodel/entity_record.h"
#include "platform/controls/commctrl.h"
#include "platform/user/commdlg.h"

namespace {

// The holder flag of the document's entry for the job.
constexpr uint32_t kJobHolderFlag = 0x10;

} // namespace

CMillingJob::~CMillingJob() { m_ncCodeFill.reset(); }

CMillingJob* CMillingJob::FromInterface(IUnknown* object)
{
    if (object == nullptr)
        return nullptr;
    IMillingJob* job = nullptr;
    if (FAILED(object->QueryInterface(IID_IMillingJob, reinterpret_cast<void**>(&job))) || job == nullptr)
        return nullptr;
    job->Release();
    return static_cast<CMillingJob*>(job);
}

HRESULT CMillingJob::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IMillingJob || iid == IID_IEntityBase || iid == IID_IObjectBase) {
        *out = static_cast<IMillingJob*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CMillingJob::AddRef()
{
    RaiseModuleObjectCount();
    return static_cast<ULONG>(++m_references);
}

ULONG CMillingJob::Release()
{
    LowerModuleObjectCount();
    if (--m_references == 0) {
        delete this;
        return 0;
    }
    return static_cast<ULONG>(m_references);
}

HRESULT CMillingJob::Clone(IObjectBase** copy)
{
    if (copy == nullptr)
        return E_POINTER;
    *copy = nullptr;
    auto* job = new CMillingJob(m_document);
    if (!m_operations.empty()) {
        const std::vector<uint8_t> record = WriteJobRecord(m_activeOperation, m_operations);
        CDocumentMoveEntityFactory factory(m_document);
        JobRecordContent content;
        const JobRecordStatus status =
            ReadJobRecord(record.data(), record.size(), m_document != nullptr ? &factory : nullptr, content);
        if (!status.ok()) {
            delete job;
            return E_FAIL;
        }
        job->m_activeOperation = content.activeOperation;
        job->m_operations = std::move(content.operations);
        for (size_t i = 0; i < job->m_operations.size(); ++i) {
            CMillingOperation& operation = *job->m_operations[i];
            operation.m_job = job;
            operation.m_postprocessor = m_operations[i]->m_postprocessor;
            operation.m_machineName = m_operations[i]->m_machineName;
            operation.m_treeItem = m_operations[i]->m_treeItem;
        }
    }
    *copy = static_cast<IMillingJob*>(job);
    return S_OK;
}

HRESULT CMillingJob::Load(uint32_t size, const BYTE* data)
{
    CDocumentMoveEntityFactory factory(m_document);
    JobRecordContent content;
    m_loadError = ReadJobRecord(data, size, m_document != nullptr ? &factory : nullptr, content);
    m_operations.clear();
    m_activeOperation = -1;
    if (!m_loadError.ok()) {
        m_loadErrorReported = false;
        return E_FAIL;
    }
    m_activeOperation = content.activeOperation;
    m_operations = std::move(content.operations);
    for (const auto& operation : m_operations)
        operation->m_job = this;
    return S_OK;
}

HRESULT CMillingJob::GetSize(uint32_t* size)
{
    if (size == nullptr)
        return E_POINTER;
    if (m_operations.empty())
        return E_FAIL;
    *size = static_cast<uint32_t>(JobRecordSize(m_operations));
    return S_OK;
}

HRESULT CMillingJob::Save(BYTE* buffer)
{
    if (buffer == nullptr)
        return E_POINTER;
    if (m_operations.empty())
        return E_FAIL;
    const std::vector<uint8_t> record = WriteJobRecord(m_activeOperation, m_operations);
    std::memcpy(buffer, record.data(), record.size());
    return S_OK;
}

HRESULT CMillingJob::SetHostDocument(IHostDocument* document)
{
    if (document != nullptr) {
        m_document = document;
        return S_OK;
    }
    if (m_document == nullptr)
        return S_OK;
    if (CMillingAddin* addin = CMillingAddin::FromDocument(m_document)) {
        addin->LoadPostprocessors();
        for (const auto& operation : m_operations)
            operation->m_postprocessor = addin->FindPostprocessor(operation->m_machineName.c_str());
    }
    if (!m_loadErrorReported) {
        m_loadErrorReported = true;
        const std::string text = "The milling job of this drawing cannot be read: " + m_loadError.Message() +
                                 ". The drawing is opened without it.";
        MessageBoxA(nullptr, text.c_str(), "Milling", MB_OK | MB_ICONWARNING);
    }
    return S_OK;
}

HRESULT CMillingJob::GetClassIds(CLSID* factory, IID* iid)
{
    if (factory == nullptr || iid == nullptr)
        return E_POINTER;
    *factory = CLSID_StrimoAddin;
    *iid = IID_IMillingJob;
    return S_OK;
}

HRESULT CMillingJob::Draw(IGraphicsContext* context)
{
    if (CMillingOperation* operation = GetOperation(m_activeOperation))
        operation->Draw(context);
    return S_OK;
}

CMillingOperation* CMillingJob::GetOperation(long index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_operations.size())
        return nullptr;
    return m_operations[static_cast<size_t>(index)].get();
}

void CMillingJob::AddOperation(std::unique_ptr<CMillingOperation> operation, bool makeActive)
{
    if (operation == nullptr)
        return;
    IHostApplication* host = nullptr;
    if (m_document != nullptr)
        m_document->GetApplication(&host);
    LoadAddinLanguage(host, m_language);
    operation->m_job = this;
    if (operation->m_name.empty()) {
        const std::string base = m_language.GetStaticText(20021, "Operation");
        for (long n = 1;; ++n) {
            char suffix[32];
            std::snprintf(suffix, sizeof suffix, " %ld", n);
            const std::string name = base + suffix;
            bool taken = false;
            for (const auto& existing : m_operations)
                taken = taken || existing->m_name == name;
            if (!taken) {
                operation->m_name = name;
                break;
            }
        }
    }
    if (m_tree != nullptr) {
        const std::string machine = operation->MachineNameForRecord();
        const std::string label = operation->m_name + " <" + (machine.empty() ? "NO MACHINE" : machine) + ">";
        HTREEITEM item = nullptr;
        m_tree->InsertItem(label.c_str(), m_treeRoot, TVI_LAST, &item);
        operation->m_treeItem = item;
        m_tree->Expand(m_treeRoot, TVE_EXPAND);
    }
    m_operations.push_back(std::move(operation));
    if (makeActive)
        SetActiveOperation(GetOperationCount() - 1);
}

bool CMillingJob::SetActiveOperation(long index)
{
    if (index >= GetOperationCount())
        return false;
    if (m_tree != nullptr)
        if (CMillingOperation* old = GetOperation(m_activeOperation); old != nullptr && old->m_treeItem != nullptr)
            m_tree->SetItemState(old->m_treeItem, 0, TVIS_BOLD);
    m_activeOperation = index < 0 ? -1 : index;
    if (m_tree != nullptr)
        if (CMillingOperation* now = GetOperation(m_activeOperation); now != nullptr && now->m_treeItem != nullptr)
            m_tree->SetItemState(now->m_treeItem, TVIS_BOLD, TVIS_BOLD);
    UpdateNcCodePane();
    return true;
}

void CMillingJob::DeleteOperation(long index)
{
    if (index < 0 || index >= GetOperationCount())
        return;
    if (m_tree != nullptr) {
        if (CMillingOperation* active = GetOperation(m_activeOperation); active != nullptr && active->m_treeItem)
            m_tree->SetItemState(active->m_treeItem, 0, TVIS_BOLD);
        if (HTREEITEM item = m_operations[static_cast<size_t>(index)]->m_treeItem; item != nullptr)
            m_tree->DeleteItem(item);
    }
    m_operations.erase(m_operations.begin() + index);
    // The active operation keeps its place in the job: one before it moves
    // its number down with it, and when the active one itself goes its
    // successor (or, at the end, its predecessor) takes over.
    long active = m_activeOperation;
    if (active > index)
        --active;
    if (active >= GetOperationCount())
        active = GetOperationCount() - 1;
    m_activeOperation = -1;
    SetActiveOperation(active);
}

NcProgramResult CMillingJob::WriteNcCode(std::vector<std::string>& lines, long operation, Phases phases,
                                         std::vector<size_t>* headings) const
{
    lines.clear();
    if (operation < 0)
        operation = m_activeOperation;
    const CMillingOperation* source = GetOperation(operation);
    if (source == nullptr)
        return {};
    CNcOutputContext context = OutputContext(*source);
    NcProgramResult result;
    for (size_t j = 0; j < source->m_features.size(); ++j) {
        CMillingFeature& feature = *source->m_features[j];
        context.lastFeature = j + 1 == source->m_features.size();
        const bool numbered = phases == Phases::Numbered;
        if (numbered && headings != nullptr)
            headings->push_back(lines.size());
        const Status written =
            feature.WriteNc(lines, numbered ? static_cast<int>(j) + 1 : -1, CMillingFeature::NcBlocks::Keep, context);
        if (!written.ok() && result.ok) {
            result.ok = false;
            result.message = feature.m_name + ": " + FeatureErrorText(written.error());
        }
    }
    return result;
}

CNcOutputContext CMillingJob::OutputContext(const CMillingOperation& operation)
{
    CPostprocessorList machines;
    machines.Load(MachineStorePath(StrimoProgramFolder()).c_str());
    const CPostprocessorSettings machine = machines.GetCurrentOrDefault();
    CNcOutputContext context;
    context.postprocessor = operation.m_postprocessor;
    context.machine.modal = machine.modal != 0;
    context.machine.separator = machine.separator != 0;
    context.machine.lineNumbers = machine.lineNumbers != 0;
    context.origin = operation.m_origin;
    context.invertedZ = operation.m_invertedZ != 0;
    return context;
}

NcProgramResult CMillingJob::WriteFeatureNcCode(std::vector<std::string>& lines, long operation, long feature) const
{
    lines.clear();
    const CMillingOperation* source = GetOperation(operation);
    CMillingFeature* written = source != nullptr && feature >= 0 ? source->GetFeature(static_cast<size_t>(feature)) : nullptr;
    if (written == nullptr)
        return {};
    CNcOutputContext context = OutputContext(*source);
    const Status status = written->WriteNc(lines, -1, CMillingFeature::NcBlocks::Keep, context);
    if (status.ok())
        return {};
    return {false, written->m_name + ": " + FeatureErrorText(status.error())};
}

std::unique_ptr<CNcCodePaneSource> CMillingJob::NcCodePaneSource() const
{
    const CMillingOperation* active = GetOperation(m_activeOperation);
    return std::make_unique<CNcCodePaneSource>(!m_operations.empty(), active, m_activeOperation,
                                               active != nullptr ? OutputContext(*active) : CNcOutputContext{});
}

std::vector<std::string> CMillingJob::NcCodePaneLines(std::vector<bool>* heading) const
{
    return NcCodePaneSource()->All(heading);
}

void CMillingJob::SetNcCodeControl(IRichEditControl* control)
{
    if (control != m_ncCode)
        m_ncCodeFill.reset();
    m_ncCode = control;
}

void CMillingJob::UpdateNcCodePane()
{
    // A fill still running for the old state goes first: its timer must not
    // append to the new text.
    m_ncCodeFill.reset();
    if (m_ncCode == nullptr)
        return;
    const CMillingOperation* active = GetOperation(m_activeOperation);
    m_ncCodeFill = std::make_unique<CNcCodePaneFill>(*m_ncCode, NcCodePaneSource(),
                                                     active != nullptr ? active->m_postprocessor : nullptr,
                                                     [this]() { return GetOperation(m_activeOperation); });
    m_ncCodeFill->Begin();
}

bool CMillingJob::ContinueNcCodePane() { return m_ncCodeFill != nullptr && m_ncCodeFill->Slice(); }

void CMillingJob::FinishNcCodePane()
{
    if (m_ncCodeFill != nullptr)
        m_ncCodeFill->Finish();
}

bool CMillingJob::FindTreeItem(HTREEITEM item, long* operation, long* feature) const
{
    long foundOperation = -1;
    long foundFeature = -1;
    bool found = item != nullptr && item == m_treeRoot;
    for (size_t i = 0; !found && i < m_operations.size(); ++i) {
        const CMillingOperation& candidate = *m_operations[i];
        if (candidate.m_treeItem == item && item != nullptr) {
            foundOperation = static_cast<long>(i);
            found = true;
            break;
        }
        for (size_t j = 0; j < candidate.m_features.size(); ++j) {
            if (item != nullptr && candidate.FeatureTreeItem(candidate.m_features[j].get()) == item) {
                foundOperation = static_cast<long>(i);
                foundFeature = static_cast<long>(j);
                found = true;
                break;
            }
        }
    }
    if (operation != nullptr)
        *operation = foundOperation;
    if (feature != nullptr)
        *feature = foundFeature;
    return found;
}

void CMillingJob::SetFeaturesTree(ITreeControl* tree, HTREEITEM root)
{
    m_tree = tree;
    m_treeRoot = root;
}

CMillingJob* FindMillingJob(IHostDocument* document)
{
    if (document == nullptr)
        return nullptr;
    LONG count = 0;
    document->GetObjectCount(&count);
    for (LONG i = 0; i < count; ++i) {
        IEntityRecord* holder = nullptr;
        if (FAILED(document->GetObject(i, &holder)) || holder == nullptr)
            continue;
        IUnknown* object = nullptr;
        if (FAILED(holder->GetObject(&object)) || object == nullptr)
            continue;
        if (CMillingJob* job = CMillingJob::FromInterface(object)) {
            if (job->GetDocument() == nullptr)
                job->SetHostDocument(document);
            return job;
        }
    }
    auto* job = new CMillingJob(document);
    auto holder = ComPtr<CEntityRecord>::Share(new CEntityRecord(static_cast<IMillingJob*>(job)));
    holder->AddFlags(kJobHolderFlag);
    if (FAILED(document->AddObject(holder.Get())))
        return nullptr;
    return job;
}
