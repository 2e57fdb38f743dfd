// CTransferCommand: the transfer panel, the NC file and the driver.
#include "addins/milling/core/transfer_command.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "addins/milling/core/addin_resources.h"
#include "addins/milling/core/command_events.h"
#include "addins/milling/core/command_panel.h"
#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_job.h"
#include "icontrols.h"
#include "ihost.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/help.h"
#include "platform/user/commdlg.h"

namespace {

constexpr int kPictureBitmap = 6000;
constexpr DWORD kVisible = 0x10000000;
constexpr DWORD kTabStop = 0x00010000;
constexpr DWORD kEditStyle = 0x10800000;
constexpr char kSettingsFile[] = "KVL.ini";
constexpr char kDriverArgument[] = "WORK";

const PanelControlRow kPanel[] = {
    {PanelControlKind::Static, kTransferPicture, 0, "Static", 0x1000000E, {5, 0, 155, 30}},
    {PanelControlKind::Title, kTransferTitle, 20042, "Start KVL driver", 0x1000000C, {35, 6, 150, 22}},
    {PanelControlKind::Button, kTransferOk, 30000, "Ok", kVisible | kTabStop, {5, 35, 56, 57}},
    {PanelControlKind::Button, kTransferCancel, 30001, "Cancel", kVisible | kTabStop, {59, 35, 110, 57}},
    {PanelControlKind::Button, kTransferHelp, 30002, "Help", kVisible | kTabStop, {113, 35, 164, 57}},
    {PanelControlKind::Button, kTransferGroup, 20043, "Choose phase for Vornak", 0x10000007, {5, 65, 165, 170}},
    {PanelControlKind::ComboBox, kTransferPhases, 0, "", 0x10300003, {15, 85, 155, 250}},
    {PanelControlKind::Static, 0, 20070, "Folder of KVL.ini:", kVisible, {15, 115, 155, 130}},
    {PanelControlKind::Edit, kTransferFolder, 0, "", kEditStyle, {15, 135, 155, 155}},
};

// One line of the file without its line end (a "\r" before it is dropped
// too); false at the end of the file.
bool ReadLine(std::istream& in, std::string& line)
{
    if (!std::getline(in, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

} // namespace

bool ReadTransferSettings(const std::string& folder, TransferSettings& settings)
{
    std::ifstream in(folder + "/" + kSettingsFile);
    if (!in)
        return false;
    TransferSettings read;
    if (!ReadLine(in, read.driver))
        return false;
    std::string name;
    if (ReadLine(in, name) && !name.empty())
        read.ncFileName = name;
    settings = read;
    return true;
}

bool StartDetached(const std::string& program, const std::string& argument)
{
    if (program.empty())
        return false;
    // The driver runs as a grandchild, so it never stays behind as a zombie
    // of this process; a pipe closed on exec tells whether it started.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;
    std::string programCopy = program;
    std::string argumentCopy = argument;
    char* arguments[] = {programCopy.data(), argumentCopy.data(), nullptr};
    const pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        close(report[0]);
        const pid_t driver = fork();
        if (driver == 0) {
            execv(arguments[0], arguments);
            const int error = errno;
            (void)!write(report[1], &error, sizeof error);
            _exit(127);
        }
        _exit(driver < 0 ? 1 : 0);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}

CTransferCommand::~CTransferCommand()
{
    if (m_pictureBitmap != nullptr)
        DeleteObject(m_pictureBitmap);
}

HRESULT CTransferCommand::Create(IHostDocument* document, LONG, LONG_PTR)
{
    m_document = document;
    if (document == nullptr)
        return S_OK;
    m_addin = AddinWithLanguage(document, m_language);
    m_job = FindMillingJob(document);
    if (m_job != nullptr) {
        for (long i = 0; i < m_job->GetOperationCount(); ++i) {
            const CMillingOperation& operation = *m_job->GetOperation(i);
            for (size_t j = 0; j < operation.GetFeatureCount(); ++j) {
                m_phases.push_back(operation.GetFeature(j));
                m_places.emplace_back(i, static_cast<long>(j));
            }
        }
    }
    // OK without touching the list transfers the first phase, which the
    // list shows selected.
    m_chosen = m_phases.empty() ? nullptr : m_phases.front();
    if (m_addin == nullptr)
        return S_OK;
    document->CreateControlPanel(m_addin->PaneGroup(), m_addin->PropertiesPage(), &m_panel);
    AddPanelControls(m_panel, m_language, kPanel, std::size(kPanel), [&](size_t row) {
        if (row != 0)
            return;
        auto* picture = PanelControl<IStaticControl>(m_panel, kTransferPicture, IID_IStaticControl);
        if (picture != nullptr && (m_pictureBitmap = LoadAddinBitmap(kPictureBitmap)) != nullptr)
            picture->SetBitmap(m_pictureBitmap);
    });
    m_phaseList = PanelControl<IComboBoxControl>(m_panel, kTransferPhases, IID_IComboBoxControl);
    m_folder = PanelControl<IEditControl>(m_panel, kTransferFolder, IID_IEditControl);
    if (m_phaseList != nullptr) {
        for (const CMillingFeature* phase : m_phases)
            m_phaseList->AddString(phase->m_name.c_str(), nullptr);
        if (!m_phases.empty())
            m_phaseList->SetCurSel(0);
    }
    if (m_folder != nullptr)
        m_folder->SetText(StrimoProgramFolder().c_str());
    document->ShowPane(m_addin->PaneGroup(), m_addin->PropertiesPage());
    if (m_panel != nullptr) {
        m_panel->ShowAll();
        m_panel->SetOwner(this);
    }
    return S_OK;
}

HRESULT CTransferCommand::OnEvent(LONG event, void* value, LONG, LONG, LONG* result)
{
    if (result == nullptr)
        return E_POINTER;
    *result = 0;
    switch (event) {
    case kEventStart:
        *result = kResultSelection;
        return S_OK;
    case kEventCancel:
        *result = kResultEnd;
        return S_OK;
    case kEventControl:
        break;
    default:
        return S_OK;
    }
    const ControlNotification notification = ReadControlNotification(value);
    switch (notification.id) {
    case kTransferPhases:
        if (notification.code == kNotifySelectionChange && m_phaseList != nullptr && !m_phases.empty()) {
            int selection = -1;
            m_phaseList->GetCurSel(&selection);
            if (selection >= 0 && static_cast<size_t>(selection) < m_phases.size())
                m_chosen = m_phases[static_cast<size_t>(selection)];
        }
        break;
    case kTransferCancel:
        if (notification.code == kNotifyClick)
            *result = kResultEnd;
        break;
    case kTransferHelp:
        if (notification.code == kNotifyClick)
            HtmlHelpA(nullptr, ("help\\" + m_language.ChosenLanguage() + "\\nuvex.chm::/html/spline.htm").c_str(),
                      HH_DISPLAY_TOPIC, 0);
        break;
    case kTransferOk:
        if (notification.code == kNotifyClick)
            return Transfer(result);
        break;
    default:
        break;
    }
    return S_OK;
}

HRESULT CTransferCommand::Transfer(LONG* result)
{
    std::string folder = StrimoProgramFolder();
    if (m_folder != nullptr) {
        char text[kControlTextBufferSize] = {};
        if (SUCCEEDED(m_folder->GetText(text)))
            folder = text;
    }
    TransferSettings settings;
    if (!ReadTransferSettings(folder, settings))
        return E_FAIL;
    if (m_job == nullptr)
        return E_FAIL;
    if (m_phases.empty() || m_chosen == nullptr) {
        MessageBoxA(nullptr, m_language.GetStaticText(20044, "WARNING!! no current toolpath for Vornak!"), "Transfer",
                    MB_OK | MB_ICONWARNING);
        *result = kResultCommit;
        return S_OK;
    }
    // The phase is found again by its place: the job may have lost it since
    // the panel was filled.
    size_t chosen = 0;
    while (chosen < m_phases.size() && m_phases[chosen] != m_chosen)
        ++chosen;
    const auto [operation, feature] = m_places[chosen];
    const CMillingOperation* owner = m_job->GetOperation(operation);
    if (owner == nullptr || owner->GetFeature(static_cast<size_t>(feature)) != m_chosen)
        return E_FAIL;
    std::vector<std::string> lines;
    const NcProgramResult written = m_job->WriteFeatureNcCode(lines, operation, feature);
    if (!written.ok) {
        MessageBoxA(nullptr, written.message.c_str(), "Transfer", MB_OK | MB_ICONWARNING);
        return E_FAIL;
    }
    FILE* file = std::fopen((folder + "/" + settings.ncFileName).c_str(), "w");
    if (file == nullptr)
        return E_FAIL;
    bool ok = true;
    for (const std::string& line : lines)
        ok = ok && std::fprintf(file, "%s\n", line.c_str()) >= 0;
    ok = std::fclose(file) == 0 && ok;
    if (!ok)
        return E_FAIL;
    if (!StartDetached(settings.driver, kDriverArgument)) {
        const std::string text = "The NC file is written, but the driver \"" + settings.driver +
                                 "\" could not be started.";
        MessageBoxA(nullptr, text.c_str(), "Transfer", MB_OK | MB_ICONWARNING);
    }
    *result = kResultCommit;
    return S_OK;
}
