// CToolStoreCommand: "Toolstore" (command 208), one-shot: it shows the
// tool store dialog over the document's first view and ends when the
// dialog closes.
#pragma once

#include "addins/milling/core/command_object.h"
#include "addins/milling/core/language_table.h"
#include "addins/milling/core/strimo_ids.h"

class CMillingAddin;

class CToolStoreCommand final : public CAddinCommandObject<CLSID_ToolStoreCommand> {
public:
    CToolStoreCommand() = default;

    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) override;
    // Event 1 runs the dialog (when the document has a view) and answers
    // 0x12; every other event is answered 0.
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result) override;

private:
    IHostDocument* m_document = nullptr;
    CMillingAddin* m_addin = nullptr;
    CLanguageTable m_language;
};
