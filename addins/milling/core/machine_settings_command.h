// CPostprocessorSettingsCommand: "Machine postprocesor settings..."
// (command 210), one-shot: it shows the machine settings dialog over the
// document's first view and ends when the dialog closes.
#pragma once

#include <memory>

#include "addins/milling/core/command_object.h"
#include "addins/milling/core/language_table.h"
#include "addins/milling/core/strimo_ids.h"

class CMillingAddin;
class CPostprocessorSettingsDlg;

class CPostprocessorSettingsCommand final : public CAddinCommandObject<CLSID_PostprocessorSettingsCommand> {
public:
    CPostprocessorSettingsCommand();
    ~CPostprocessorSettingsCommand() override;

    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) override;
    // Event 1 runs the dialog (when the document has a view) and answers
    // 0x12; every other event is answered 0.
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result) override;

    // The last dialog shown (tests); null before the first.
    const CPostprocessorSettingsDlg* LastDialog() const { return m_dialog.get(); }

private:
    CLanguageTable m_language;
    CMillingAddin* m_addin = nullptr;
    IHostDocument* m_document = nullptr;
    std::unique_ptr<CPostprocessorSettingsDlg> m_dialog;
};
