// CTransferCommand: hands the NC program of one phase (a feature of an
// operation) to an outside transfer program through its driver: the panel
// lists every phase of the job, OK writes the chosen phase's NC blocks into
// the file the driver's settings name and starts the driver with the one
// argument "WORK", without waiting. The class factory makes it; no host
// command refers to it.
//
// The driver's settings file "KVL.ini" lies in the folder the panel's
// folder field names (the program folder at first): its first line is the
// driver program's path, its second the NC file's name in that folder
// ("Transfer.nc" when the line is missing or empty).
#pragma once

#include <string>
#include <vector>

#include "addins/milling/core/command_object.h"
#include "addins/milling/core/language_table.h"
#include "addins/milling/core/strimo_ids.h"
#include "platform/base/types.h"

class CMillingAddin;
class CMillingFeature;
class CMillingJob;
struct IComboBoxControl;
struct IControlPanel;
struct IEditControl;

// The controls of the transfer panel.
enum TransferControl : LONG {
    kTransferPhases = 100,
    kTransferCancel = 102,
    kTransferHelp = 103,
    kTransferTitle = 104,
    kTransferPicture = 105,
    kTransferGroup = 106,
    kTransferFolder = 107,
    kTransferOk = 1000,
};

// What the driver's settings file says.
struct TransferSettings {
    std::string driver;
    std::string ncFileName = "Transfer.nc";
};
// Reads "<folder>/KVL.ini"; false when it cannot be opened or has no
// first line.
bool ReadTransferSettings(const std::string& folder, TransferSettings& settings);
// Starts the program with the one argument and does not wait for it; false
// when it cannot be started.
bool StartDetached(const std::string& program, const std::string& argument);

class CTransferCommand final : public CAddinCommandObject<CLSID_TransferCommand> {
public:
    CTransferCommand() = default;
    ~CTransferCommand() override;

    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) override;
    // 1 answers 1; cancel 4; the panel's controls: a phase chosen in the
    // list, Cancel (4), Help, OK (the transfer, 2). E_FAIL, without a
    // message, when the settings file cannot be read, the job is missing or
    // the NC file cannot be written.
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result) override;

    const std::vector<CMillingFeature*>& Phases() const { return m_phases; }
    CMillingFeature* ChosenPhase() const { return m_chosen; }

private:
    HRESULT Transfer(LONG* result);

    CMillingFeature* m_chosen = nullptr;
    std::vector<CMillingFeature*> m_phases;
    // Where each phase lies in the job: operation and feature index.
    std::vector<std::pair<long, long>> m_places;
    IControlPanel* m_panel = nullptr;
    IComboBoxControl* m_phaseList = nullptr;
    CMillingAddin* m_addin = nullptr;
    CMillingJob* m_job = nullptr;
    IEditControl* m_folder = nullptr;
    IHostDocument* m_document = nullptr;
    CLanguageTable m_language;
    HBITMAP m_pictureBitmap = nullptr;
};
