// CDocumentOutput: where one drawing of the program shows what happens to
// it: its views, the main frame's prompt, command line and buttons, the
// command states, and the document's event connection points, which it
// keeps. CProgramDocument is a drawing together with its output, as the
// program's document template makes them.
#pragma once

#include "host/document/nuvex_doc.h"
#include "host/shell/connection_point.h"

class CAddinHost;

class CDocumentOutput final : public IDocumentOutput {
public:
    // `host` outlives the output; the document is attached once it exists.
    explicit CDocumentOutput(CAddinHost& host);
    ~CDocumentOutput();
    CDocumentOutput(const CDocumentOutput&) = delete;
    CDocumentOutput& operator=(const CDocumentOutput&) = delete;

    void Attach(CNuvexDoc& document) { m_document = &document; }
    CConnectionPointContainer& EventSource() { return *m_events.Get(); }

    void UpdateAllViews() override;
    // The event on every sink of the document's main point, without
    // arguments.
    void FireDocumentEvent(int32_t eventId) override;
    // The prompt and the command line show the active document's (or, while
    // none is active, the one that writes them).
    void SetPrompt(const std::string& text, size_t markFirst, size_t markCount) override;
    void SetCommandLineText(const std::string& text) override;
    int32_t GetModifierKind() override;
    bool HasView() override;
    void UpdateCommandButtons(int32_t hostCommandIndex, int32_t state) override;
    void RefreshCommandStates(BOOL full) override;
    void RefreshSnap() override {}
    HRESULT GetEventConnectionPoint(IConnectionPoint** point) override;
    HRESULT GetAddinConnectionPoint(IAddin* addin, IConnectionPoint** point) override;
    // The add-ins' toolbar controls show the document's state.
    void DocumentActivated(IHostDocument* document) override;

private:
    // Whether the main frame's panes are this document's to write.
    bool OwnsFramePanes() const;

    CAddinHost& m_host;
    CNuvexDoc* m_document = nullptr;
    ComPtr<CConnectionPointContainer> m_events;
};

// Constructed before the document it serves, so that the drawing can be
// made with it.
struct DocumentOutputHolder {
    explicit DocumentOutputHolder(CAddinHost& host) : output(host) {}
    CDocumentOutput output;
};

class CProgramDocument : private DocumentOutputHolder, public CNuvexDoc {
public:
    explicit CProgramDocument(CAddinHost& host);
    // The coordinates pane forgets the drawing's cursor.
    ~CProgramDocument() override;

    CDocumentOutput& ProgramOutput() { return output; }

private:
    CAddinHost& m_host;
};
