// CToolStoreDialog: the tool list and the chosen tool's fields.
#include "addins/milling/core/tool_store_dialog.h"

#include "addins/milling/core/addin_resources.h"
#include "addins/milling/core/milling_addin.h"
#include "platform/controls/controls.h"
#include "platform/framework/ddx.h"
#include "platform/user/commdlg.h"

namespace {

constexpr int kDialogTemplate = 6022;
constexpr int kToolList = 6000;
constexpr int kNameEdit = 6001;
constexpr int kTypeList = 6009;
constexpr int kHelpButton = 57670;
constexpr int kAddButton = 57671;
constexpr int kInsertButton = 57672;
constexpr int kRemoveButton = 57673;
constexpr int kModifyButton = 57674;

// A radius of exactly half the diameter passes (drawing units).
constexpr double kRadiusTolerance = 1e-9;

// The number edits by the record slot they exchange (slot 1 first).
constexpr int kValueEdits[10] = {6023, 6022, 6014, 6013, 6012, 6027, 6011, 6021, 6010, 6020};
double CToolRecord::* const kSlots[10] = {
    &CToolRecord::verticalStep, &CToolRecord::radialStep, &CToolRecord::spindleSpeed,
    &CToolRecord::plungeSpeed,  &CToolRecord::feedSpeed,  &CToolRecord::angle,
    &CToolRecord::cornerRadius, &CToolRecord::cutLength,  &CToolRecord::length,
    &CToolRecord::diameter,
};

struct Label {
    int control;
    long text;
    const char* fallback;
};
// The twelve labels: name, type, then slots 10 down to 1.
constexpr Label kLabels[12] = {
    {6002, 20027, "Name:"},        {6003, 20039, "Type:"},         {6015, 20015, "Diameter:"},
    {6004, 20033, "Length:"},      {6016, 20034, "Cut length:"},   {6005, 20035, "Radius:"},
    {6017, 20036, "Angle:"},       {6006, 20029, "Feed speed:"},   {6007, 20030, "Plunge speed:"},
    {6008, 20028, "Spindle speed:"}, {6018, 20031, "Radial Step:"}, {6019, 20032, "Vertical Step:"},
};

struct ButtonText {
    int control;
    long text;
    const char* fallback;
};
constexpr ButtonText kButtons[] = {
    {IDOK, 30000, "OK"},           {IDCANCEL, 30001, "Cancel"},        {kHelpButton, 30002, "Help"},
    {kAddButton, 20045, "Add tool"}, {kInsertButton, 20046, "Insert tool"}, {kRemoveButton, 20047, "Remove tool"},
    {kModifyButton, 20048, "Modify tool"},
};

int TypeEntry(int type) { return type == kToolTypeMill ? 0 : type == kToolTypeDrill ? 1 : -1; }

} // namespace

ToolCheck CheckToolValues(const CToolRecord& tool, const CToolList& list, ToolNameCheck names)
{
    if (tool.name.empty())
        return ToolCheck::NoName;
    if (tool.name.size() > kMaxToolNameLength)
        return ToolCheck::NameTooLong;
    if (!(tool.diameter > 0.0))
        return ToolCheck::NoDiameter;
    if (tool.cornerRadius < 0.0)
        return ToolCheck::NegativeRadius;
    if (2.0 * tool.cornerRadius - kRadiusTolerance > tool.diameter)
        return ToolCheck::RadiusTooLarge;
    if (!(tool.cornerRadius < tool.cutLength))
        return ToolCheck::RadiusNotBelowCut;
    if (tool.cutLength > tool.length)
        return ToolCheck::CutLongerThanTool;
    if (names == ToolNameCheck::Unique && list.FindByName(tool.name) >= 0)
        return ToolCheck::NameTaken;
    return ToolCheck::Ok;
}

BEGIN_MESSAGE_MAP(CToolStoreDialog, CDialog)
    ON_COMMAND(kAddButton, OnAddTool)
    ON_COMMAND(kInsertButton, OnInsertTool)
    ON_COMMAND(kRemoveButton, OnRemoveTool)
    ON_COMMAND(kModifyButton, OnModifyTool)
    ON_COMMAND(kHelpButton, OnHelpButton)
    ON_CONTROL(LBN_SELCHANGE, kToolList, OnSelectTool)
END_MESSAGE_MAP()

CToolStoreDialog::CToolStoreDialog(CMillingAddin* addin, const std::string& path, CWnd* parent)
    : m_addin(addin), m_path(path)
{
    if (const auto dialogTemplate = LoadAddinDialog(kDialogTemplate))
        InitModalIndirect(*dialogTemplate, parent);
    for (size_t i = 0; i < 12; ++i)
        m_labels[i] = addin != nullptr ? addin->Language().GetStaticText(kLabels[i].text, kLabels[i].fallback)
                                       : kLabels[i].fallback;
}

LRESULT CToolStoreDialog::ListMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(::GetDlgItem(m_hWnd, kToolList), message, wParam, lParam);
}

int CToolStoreDialog::SelectedIndex() const { return static_cast<int>(ListMessage(LB_GETCURSEL, 0, 0)); }

BOOL CToolStoreDialog::OnInitDialog()
{
    const BOOL answer = CDialog::OnInitDialog();
    // A damaged store opens as an empty list and says why; OK then writes
    // what the person makes of it.
    const ToolStoreReadResult read = m_tools.Read(m_path);
    if (read.status != ToolStoreStatus::Ok && read.status != ToolStoreStatus::CannotOpen) {
        const std::string text = std::string("The tool store cannot be read: ") + ToolStoreStatusText(read.status) +
                                 " (line " + std::to_string(read.line) + ").";
        ::MessageBoxA(m_hWnd, text.c_str(), "Toolstore", MB_OK | MB_ICONWARNING);
    }
    ListMessage(LB_RESETCONTENT, 0, 0);
    for (const CToolRecord& tool : m_tools.Tools())
        ListMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tool.name.c_str()));
    CLanguageTable* language = m_addin != nullptr ? &m_addin->Language() : nullptr;
    HWND typeList = ::GetDlgItem(m_hWnd, kTypeList);
    for (const Label& type : {Label{0, 20049, "Mill"}, Label{0, 20050, "Drill"}}) {
        const char* text = language != nullptr ? language->GetStaticText(type.text, type.fallback) : type.fallback;
        ::SendMessageA(typeList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    if (!m_tools.empty()) {
        ListMessage(LB_SETCURSEL, 0, 0);
        ShowTool(m_tools[0]);
        UpdateData(FALSE);
    }
    for (const ButtonText& button : kButtons) {
        const char* text =
            language != nullptr ? language->GetStaticText(button.text, button.fallback) : button.fallback;
        ::SetWindowTextA(::GetDlgItem(m_hWnd, button.control), text);
    }
    return answer;
}

void CToolStoreDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, kNameEdit, m_name);
    DDX_CBIndex(dx, kTypeList, m_type);
    for (size_t i = 0; i < 10; ++i)
        DDX_Text(dx, kValueEdits[i], m_values[i]);
    for (size_t i = 0; i < 12; ++i)
        DDX_Text(dx, kLabels[i].control, m_labels[i]);
}

void CToolStoreDialog::ShowTool(const CToolRecord& tool)
{
    m_name = tool.name.c_str();
    for (size_t i = 0; i < 10; ++i)
        m_values[i] = tool.*kSlots[i];
    const int entry = TypeEntry(tool.toolType);
    if (entry >= 0)
        m_type = entry;
}

CToolRecord CToolStoreDialog::EditedTool(int keepType) const
{
    CToolRecord tool;
    tool.name = static_cast<const char*>(m_name);
    for (size_t i = 0; i < 10; ++i)
        tool.*kSlots[i] = m_values[i];
    tool.toolType = m_type == 0 ? kToolTypeMill : m_type == 1 ? kToolTypeDrill : keepType;
    return tool;
}

bool CToolStoreDialog::ReadControls() { return UpdateData(TRUE) != FALSE; }

void CToolStoreDialog::OnAddTool()
{
    if (!ReadControls())
        return;
    const CToolRecord tool = EditedTool(0);
    if (CheckToolValues(tool, m_tools, ToolNameCheck::Unique) != ToolCheck::Ok)
        return;
    m_tools.Tools().push_back(tool);
    const LRESULT index = ListMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tool.name.c_str()));
    ListMessage(LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void CToolStoreDialog::OnInsertTool()
{
    if (!ReadControls())
        return;
    const CToolRecord tool = EditedTool(0);
    if (CheckToolValues(tool, m_tools, ToolNameCheck::Unique) != ToolCheck::Ok)
        return;
    const int selected = SelectedIndex();
    if (selected < 0) {
        OnAddTool();
        return;
    }
    m_tools.Tools().insert(m_tools.Tools().begin() + selected, tool);
    ListMessage(LB_INSERTSTRING, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(tool.name.c_str()));
    ListMessage(LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void CToolStoreDialog::OnRemoveTool()
{
    const int selected = SelectedIndex();
    if (selected < 0 || static_cast<size_t>(selected) >= m_tools.size())
        return;
    m_tools.Tools().erase(m_tools.Tools().begin() + selected);
    ListMessage(LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    ListMessage(LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void CToolStoreDialog::OnModifyTool()
{
    if (!ReadControls())
        return;
    const int selected = SelectedIndex();
    if (selected < 0 || static_cast<size_t>(selected) >= m_tools.size())
        return;
    const CToolRecord tool = EditedTool(m_tools[static_cast<size_t>(selected)].toolType);
    if (CheckToolValues(tool, m_tools, ToolNameCheck::Any) != ToolCheck::Ok)
        return;
    m_tools[static_cast<size_t>(selected)] = tool;
    ListMessage(LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    ListMessage(LB_INSERTSTRING, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(tool.name.c_str()));
    ListMessage(LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void CToolStoreDialog::OnSelectTool()
{
    const int selected = SelectedIndex();
    if (selected < 0 || static_cast<size_t>(selected) >= m_tools.size())
        return;
    ShowTool(m_tools[static_cast<size_t>(selected)]);
    UpdateData(FALSE);
}

void CToolStoreDialog::OnHelpButton()
{
    const std::string language = m_addin != nullptr ? m_addin->Language().ChosenLanguage() : "EN";
    ShowAddinHelp(language, "toolstore.htm");
}

namespace {

// The open tool store dialog and its filter of the modal loop's messages.
HWND g_helpDialog = nullptr;
HHOOK g_helpFilter = nullptr;

LRESULT HelpKeyFilter(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_F1 &&
        g_helpDialog != nullptr && (msg->hwnd == g_helpDialog || ::IsChild(g_helpDialog, msg->hwnd))) {
        ::SendMessageA(g_helpDialog, WM_HELP, 0, 0);
        return TRUE;
    }
    return CallNextHookEx(g_helpFilter, code, wParam, lParam);
}

} // namespace

LRESULT CToolStoreDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (g_helpFilter == nullptr) {
            g_helpDialog = m_hWnd;
            g_helpFilter = SetWindowsHookExA(WH_MSGFILTER, &HelpKeyFilter, nullptr, 0);
        }
        break;
    case WM_DESTROY:
        if (g_helpDialog == m_hWnd && g_helpFilter != nullptr) {
            UnhookWindowsHookEx(g_helpFilter);
            g_helpFilter = nullptr;
            g_helpDialog = nullptr;
        }
        break;
    case WM_HELP:
        OnHelpButton();
        break;
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CToolStoreDialog::OnOK()
{
    // Written before the dialog closes, so a store that cannot be written
    // keeps the dialog and its edits open.
    const ToolStoreStatus saved = m_tools.Save(m_path);
    if (saved != ToolStoreStatus::Ok) {
        m_lastError = std::string(ToolStoreStatusText(saved)) + ": " + m_path;
        const std::string text = "The tool store cannot be saved (" + m_lastError +
                                 "). The dialog stays open so that no change is lost.";
        ::MessageBoxA(m_hWnd, text.c_str(), "Toolstore", MB_OK | MB_ICONERROR);
        return;
    }
    m_lastError.clear();
    CDialog::OnOK();
}
