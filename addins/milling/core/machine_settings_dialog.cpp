// CPostprocessorSettingsDlg: the machine list and the chosen machine's
// name and switches.
#include "addins/milling/core/machine_settings_dialog.h"

#include "addins/milling/core/addin_resources.h"
#include "addins/milling/core/milling_addin.h"
#include "platform/controls/controls.h"
#include "platform/framework/ddx.h"
#include "platform/user/commdlg.h"

namespace {

constexpr int kDialogTemplate = 6026;
constexpr int kNameEdit = 6001;
constexpr int kNameLabel = 6002;
constexpr int kModalCheck = 6013;
constexpr int kListLabel = 6016;
constexpr int kAddButton = 6018;
constexpr int kInsertButton = 6019;
constexpr int kRemoveButton = 6020;
constexpr int kModifyButton = 6021;
constexpr int kHelpButton = 6022;
constexpr int kSeparatorCheck = 6023;
constexpr int kSyntaxButton = 6024;
constexpr int kMachineList = 6025;
constexpr int kLineNumberCheck = 6026;

struct ControlText {
    int control;
    long text;
    const char* fallback;
};
constexpr ControlText kTexts[] = {
    {IDOK, 30000, "OK"},
    {IDCANCEL, 30001, "Cancel"},
    {kHelpButton, 30002, "Help"},
    {kSeparatorCheck, 20054, "Space between adresses"},
    {kModalCheck, 20055, "Modal G adresses"},
    {kSyntaxButton, 20056, "Syntax"},
    {kLineNumberCheck, 20057, "Code line index"},
};

const char* Text(CMillingAddin* addin, long id, const char* fallback)
{
    return addin != nullptr ? addin->Language().GetStaticText(id, fallback) : fallback;
}

} // namespace

bool IsValidMachineName(const std::string& name, const CPostprocessorList& list, MachineNameCheck check)
{
    if (name.empty() || name.size() > kMaxMachineNameLength || name.find_first_of("\r\n") != std::string::npos)
        return false;
    return check != MachineNameCheck::Unique || list.FindByName(name.c_str()) < 0;
}

BEGIN_MESSAGE_MAP(CPostprocessorSettingsDlg, CDialog)
    ON_COMMAND(kAddButton, OnAdd)
    ON_COMMAND(kInsertButton, OnInsert)
    ON_COMMAND(kRemoveButton, OnRemove)
    ON_COMMAND(kModifyButton, OnModify)
    ON_COMMAND(kHelpButton, OnHelpButton)
    ON_CONTROL(CBN_SELCHANGE, kMachineList, OnSelectMachine)
END_MESSAGE_MAP()

CPostprocessorSettingsDlg::CPostprocessorSettingsDlg(long* current, CMillingAddin* addin,
                                                     const std::string& storePath, CWnd* parent)
    : m_addin(addin), m_storePath(storePath), m_current(current),
      m_machines(addin != nullptr ? &addin->Machines() : &m_ownMachines)
{
    if (const auto dialogTemplate = LoadAddinDialog(kDialogTemplate))
        InitModalIndirect(*dialogTemplate, parent);
    m_nameLabel = Text(addin, 20053, "Name");
    m_listLabel = Text(addin, 20052, "Postprocessors list");
}

LRESULT CPostprocessorSettingsDlg::ComboMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(::GetDlgItem(m_hWnd, kMachineList), message, wParam, lParam);
}

int CPostprocessorSettingsDlg::SelectedIndex() const
{
    const auto selected = static_cast<int>(ComboMessage(CB_GETCURSEL, 0, 0));
    return selected >= 0 && selected < m_machines->GetCount() ? selected : -1;
}

BOOL CPostprocessorSettingsDlg::OnInitDialog()
{
    const BOOL answer = CDialog::OnInitDialog();
    m_machines->Load(m_storePath.c_str());
    ComboMessage(CB_RESETCONTENT, 0, 0);
    for (const CPostprocessorSettings& machine : m_machines->Entries())
        ComboMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(machine.name.c_str()));
    if (m_machines->GetCount() > 0) {
        // A store without a current machine hands in the count: the first
        // machine is shown then, nothing is read past the list.
        const long wanted = m_current != nullptr ? *m_current : -1;
        const int shown = wanted >= 0 && wanted < m_machines->GetCount() ? static_cast<int>(wanted) : 0;
        ComboMessage(CB_SETCURSEL, static_cast<WPARAM>(shown), 0);
        ShowMachine((*m_machines)[static_cast<size_t>(shown)]);
    }
    UpdateData(FALSE);
    for (const ControlText& text : kTexts)
        ::SetWindowTextA(::GetDlgItem(m_hWnd, text.control), Text(m_addin, text.text, text.fallback));
    return answer;
}

void CPostprocessorSettingsDlg::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, kNameEdit, m_name);
    DDX_Text(dx, kNameLabel, m_nameLabel);
    DDX_Text(dx, kListLabel, m_listLabel);
    DDX_Check(dx, kModalCheck, m_modal);
    DDX_Check(dx, kSeparatorCheck, m_separator);
    DDX_Check(dx, kLineNumberCheck, m_lineNumbers);
}

void CPostprocessorSettingsDlg::ShowMachine(const CPostprocessorSettings& machine)
{
    m_name = machine.name.c_str();
    m_modal = machine.modal != 0 ? 1 : 0;
    m_separator = machine.separator != 0 ? 1 : 0;
    m_lineNumbers = machine.lineNumbers != 0 ? 1 : 0;
}

CPostprocessorSettings CPostprocessorSettingsDlg::EditedMachine() const
{
    CPostprocessorSettings machine;
    machine.name = static_cast<const char*>(m_name);
    machine.modal = m_modal != 0 ? 1 : 0;
    machine.separator = m_separator != 0 ? 1 : 0;
    machine.lineNumbers = m_lineNumbers != 0 ? 1 : 0;
    return machine;
}

void CPostprocessorSettingsDlg::OnAdd()
{
    UpdateData(TRUE);
    const CPostprocessorSettings machine = EditedMachine();
    if (!IsValidMachineName(machine.name, *m_machines, MachineNameCheck::Unique))
        return;
    m_machines->Entries().push_back(machine);
    const LRESULT index = ComboMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(machine.name.c_str()));
    ComboMessage(CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void CPostprocessorSettingsDlg::OnInsert()
{
    UpdateData(TRUE);
    const CPostprocessorSettings machine = EditedMachine();
    if (!IsValidMachineName(machine.name, *m_machines, MachineNameCheck::Unique))
        return;
    const int selected = SelectedIndex();
    if (selected < 0) {
        OnAdd();
        return;
    }
    m_machines->Entries().insert(m_machines->Entries().begin() + selected, machine);
    ComboMessage(CB_INSERTSTRING, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(machine.name.c_str()));
    ComboMessage(CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void CPostprocessorSettingsDlg::OnRemove()
{
    const int selected = SelectedIndex();
    if (selected < 0)
        return;
    m_machines->Entries().erase(m_machines->Entries().begin() + selected);
    ComboMessage(CB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    // The same index again: the next machine, or nothing after the last.
    ComboMessage(CB_SETCURSEL, static_cast<WPARAM>(selected < m_machines->GetCount() ? selected : -1), 0);
}

void CPostprocessorSettingsDlg::OnModify()
{
    UpdateData(TRUE);
    CPostprocessorSettings machine = EditedMachine();
    if (!IsValidMachineName(machine.name, *m_machines, MachineNameCheck::Any))
        return;
    const int selected = SelectedIndex();
    if (selected < 0)
        return;
    CPostprocessorSettings& entry = (*m_machines)[static_cast<size_t>(selected)];
    // The current flag stays: only OK sets it from the selection.
    machine.current = entry.current;
    entry = machine;
    ComboMessage(CB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    ComboMessage(CB_INSERTSTRING, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(machine.name.c_str()));
    ComboMessage(CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void CPostprocessorSettingsDlg::OnSelectMachine()
{
    const int selected = SelectedIndex();
    if (selected < 0)
        return;
    ShowMachine((*m_machines)[static_cast<size_t>(selected)]);
    UpdateData(FALSE);
}

void CPostprocessorSettingsDlg::OnHelpButton()
{
    const std::string language = m_addin != nullptr ? m_addin->Language().ChosenLanguage() : "EN";
    ShowAddinHelp(language, "postprocessor.htm");
}

void CPostprocessorSettingsDlg::OnOK()
{
    const int selected = SelectedIndex();
    std::vector<CPostprocessorSettings>& entries = m_machines->Entries();
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].current = static_cast<int>(i) == selected ? 1 : 0;
    // Written before the dialog closes, so a store that cannot be written
    // keeps the dialog and its edits open.
    const MachineStoreStatus written = m_machines->Write(m_storePath.c_str());
    if (written != MachineStoreStatus::Ok) {
        m_lastError = std::string(MachineStoreStatusText(written)) + ": " + m_storePath;
        const std::string text = "The machine list cannot be saved (" + m_lastError +
                                 "). The dialog stays open so that no change is lost.";
        ::MessageBoxA(m_hWnd, text.c_str(), "Machine postprocessor settings", MB_OK | MB_ICONERROR);
        return;
    }
    m_lastError.clear();
    if (m_current != nullptr)
        *m_current = selected;
    CDialog::OnOK();
}
