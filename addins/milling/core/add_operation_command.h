// CAddOperationCommand: "Add Milling 2.5D Operation" (command 5). Its panel
// asks for a machine, an origin (typed or picked in the view) and the
// "Inverted Z" switch; accepting adds a new operation to the document's job
// and makes it the active one. The machine chosen in the list is the
// operation's postprocessor, found among the loaded plug-ins by its name.
#pragma once

#include <string>

#include "addins/milling/core/command_object.h"
#include "addins/milling/core/language_table.h"
#include "addins/milling/core/strimo_ids.h"
#include "addins/milling/features/millingfeature.h"
#include "icontrols.h"

class CMillingAddin;
class CMillingJob;

class CAddOperationCommand final : public CAddinCommandObject<CLSID_AddOperationCommand> {
public:
    CAddOperationCommand() = default;
    ~CAddOperationCommand() override;

    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) override;
    // Start 0x11, cancel 0x14, accept 0x12 (the operation added); control,
    // point and draw events 0 unless a button ends the command.
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result) override;

    const CMovePoint& Origin() const { return m_origin; }
    bool InvertedZ() const { return m_invertedZ != 0; }
    bool Picking() const { return m_picking != 0; }
    // What the last accept told the person; empty when it said nothing.
    const std::string& LastMessage() const { return m_lastMessage; }

private:
    // Adds the operation (command 5 only); writes the machine store back
    // when asked (the "Ok" button does, Enter does not).
    void Accept(bool writeStore);
    void OnControl(const void* value, LONG* result);
    void OnPoint(const void* value, LONG final);
    void ShowOrigin(const CMovePoint& point);
    void SetPicking(bool picking);

    CLanguageTable m_language;
    IStaticControl* m_picture = nullptr;
    HBITMAP m_pictureBitmap = nullptr;
    long m_commandNumber = 0;
    int32_t m_invertedZ = 0;
    CMovePoint m_cursor;
    CMovePoint m_origin;
    int32_t m_picking = 0;
    // The machine chosen: the list's selection, or without a list the
    // store's current machine (-1: none).
    int m_machine = -1;
    IButtonControl* m_ok = nullptr;
    IEditControl* m_z = nullptr;
    IEditControl* m_y = nullptr;
    IEditControl* m_x = nullptr;
    IButtonControl* m_invertedCheck = nullptr;
    IButtonControl* m_pick = nullptr;
    IComboBoxControl* m_machines = nullptr;
    IControlPanel* m_panel = nullptr;
    CMillingAddin* m_addin = nullptr;
    CMillingJob* m_job = nullptr;
    IHostDocument* m_document = nullptr;
    std::string m_lastMessage;
};
