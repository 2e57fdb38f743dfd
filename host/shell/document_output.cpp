// CDocumentOutput and CProgramDocument: a drawing of the program and what
// it shows.
#include "host/shell/document_output.h"

#include "host/shell/addin_host.h"
#include "host/shell/main_frame.h"
#include "platform/framework/view.h"
#include "platform/user/winuser.h"

CDocumentOutput::CDocumentOutput(CAddinHost& host)
    : m_host(host), m_events(ComPtr<CConnectionPointContainer>::Share(new CConnectionPointContainer()))
{
    m_events->AddConnectionPoint(IID_IDispatch, kMainEventGroup);
}

CDocumentOutput::~CDocumentOutput() = default;

bool CDocumentOutput::OwnsFramePanes() const
{
    if (m_host.GetMainFrame() == nullptr) {
        return false;
    }
    CNuvexDoc* active = m_host.GetActiveDocument();
    return active == nullptr || active == m_document;
}

void CDocumentOutput::UpdateAllViews()
{
    if (m_document != nullptr) {
        m_document->UpdateAllViews(nullptr);
    }
}

void CDocumentOutput::FireDocumentEvent(int32_t eventId) { m_events->FireEvent(eventId, ""); }

void CDocumentOutput::SetPrompt(const std::string& text, size_t markFirst, size_t markCount)
{
    if (OwnsFramePanes()) {
        m_host.GetMainFrame()->SetPromptText(text, markFirst, markCount);
    }
}

void CDocumentOutput::SetCommandLineText(const std::string& text)
{
    if (OwnsFramePanes()) {
        m_host.GetMainFrame()->SetCommandLineText(text);
    }
}

int32_t CDocumentOutput::GetModifierKind()
{
    if (::GetKeyState(VK_CONTROL) < 0) {
        return 2;
    }
    return ::GetKeyState(VK_SHIFT) < 0 ? 4 : 1;
}

bool CDocumentOutput::HasView() { return m_document != nullptr && m_document->GetFirstViewPosition() != nullptr; }

void CDocumentOutput::UpdateCommandButtons(int32_t hostCommandIndex, int32_t state)
{
    m_host.SetCommandButtonState(hostCommandIndex, state);
}

void CDocumentOutput::RefreshCommandStates(BOOL full) { m_host.RefreshCommandStates(full); }

HRESULT CDocumentOutput::GetEventConnectionPoint(IConnectionPoint** point)
{
    CConnectionPoint* main = m_events->Find(IID_IDispatch, kMainEventGroup);
    *point = main != nullptr ? ComPtr<IConnectionPoint>::Share(main).Detach() : nullptr;
    return S_OK;
}

HRESULT CDocumentOutput::GetAddinConnectionPoint(IAddin* addin, IConnectionPoint** point)
{
    const int32_t group = m_host.FindAddinByInterface(addin);
    CConnectionPoint* found = m_events->Find(IID_IDispatch, group);
    if (found == nullptr) {
        found = m_events->AddConnectionPoint(IID_IDispatch, group);
    }
    *point = ComPtr<IConnectionPoint>::Share(found).Detach();
    return S_OK;
}

void CDocumentOutput::DocumentActivated(IHostDocument* document) { m_host.BindToolbarControls(document); }

CProgramDocument::CProgramDocument(CAddinHost& host)
    : DocumentOutputHolder(host), CNuvexDoc(host, output), m_host(host)
{
    output.Attach(*this);
}

CProgramDocument::~CProgramDocument()
{
    // The toolbar controls forget the drawing and its handler objects.
    m_host.ReleaseToolbarControls(GetHostDocument());
    if (CMainFrame* frame = m_host.GetMainFrame()) {
        frame->ClearCoordinates();
    }
}
