// CAddOperationCommand: the panel, origin picking, the triad preview and
// the new operation.
#include "addins/milling/core/add_operation_command.h"

#include "addins/milling/core/addin_resources.h"
#include "addins/milling/core/command_events.h"
#include "addins/milling/core/command_panel.h"
#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_job.h"
#include "addins/milling/core/origin_triad.h"
#include "ihost.h"
#include "platform/gdi/gdi.h"
#include "platform/user/commdlg.h"

namespace {

constexpr LONG kPicture = 112;
constexpr int kPictureBitmap = 6021;
constexpr LONG kTitle = 111;
constexpr LONG kMachineList = 105;
constexpr LONG kPickButton = 106;
constexpr LONG kInvertedCheck = 107;
constexpr LONG kEditX = 108;
constexpr LONG kEditY = 109;
constexpr LONG kEditZ = 110;

constexpr uint32_t kTriadColour = 0x80FF80;
constexpr LONG kResultStart = kResultSkipParent | kResultSelection;
constexpr LONG kResultAccept = kResultSkipParent | kResultCommit;
constexpr LONG kResultCancel = kResultSkipParent | kResultEnd;

constexpr DWORD kVisible = 0x10000000;
constexpr DWORD kTabStop = 0x00010000;

const PanelControlRow kPanel[] = {
    {PanelControlKind::Static, kPicture, 0, "Static", 0x1000000E, {5, 0, 155, 30}},
    {PanelControlKind::Title, kTitle, 20022, "Add operation", 0x1000000C, {35, 6, 150, 22}},
    {PanelControlKind::Button, kControlOk, 30000, "Ok", kVisible | kTabStop, {5, 35, 56, 57}},
    {PanelControlKind::Button, kControlCancel, 30001, "Cancel", kVisible | kTabStop, {59, 35, 110, 57}},
    {PanelControlKind::Button, kControlHelp, 30002, "Help", kVisible | kTabStop, {113, 35, 164, 57}},
    {PanelControlKind::ComboBox, kMachineList, 20020, "Machine post-processor", 0x10300003, {15, 80, 155, 180}},
    {PanelControlKind::Button, 0, 20023, "Origin", 0x10000007, {5, 108, 165, 250}},
    {PanelControlKind::Static, 0, 0, "X:", kVisible, {15, 128, 35, 148}},
    {PanelControlKind::Edit, kEditX, 0, "Edit", 0x10800000, {40, 125, 145, 145}},
    {PanelControlKind::Static, 0, 0, "Y:", kVisible, {15, 158, 35, 178}},
    {PanelControlKind::Edit, kEditY, 0, "Edit", 0x10800000, {40, 155, 145, 175}},
    {PanelControlKind::Static, 0, 0, "Z:", kVisible, {15, 188, 35, 208}},
    {PanelControlKind::Edit, kEditZ, 0, "Edit", 0x10800000, {40, 185, 145, 205}},
    {PanelControlKind::Button, kPickButton, 20024, "Pick Origin >", kVisible, {15, 218, 145, 240}},
    {PanelControlKind::Button, kInvertedCheck, 20025, "Inverted Z", 0x10000003, {15, 260, 145, 280}},
};

// Panel notifications off while the command writes into its own controls,
// so the edits' change notices do not come back as input.
class NotificationsOff {
public:
    explicit NotificationsOff(IControlPanel* panel) : m_panel(panel)
    {
        if (m_panel != nullptr)
            m_panel->EnableNotify(FALSE);
    }
    ~NotificationsOff()
    {
        if (m_panel != nullptr)
            m_panel->EnableNotify(TRUE);
    }
    NotificationsOff(const NotificationsOff&) = delete;
    NotificationsOff& operator=(const NotificationsOff&) = delete;

private:
    IControlPanel* m_panel;
};

template <class Control>
void Enable(Control* control, bool enable)
{
    if (control != nullptr)
        control->Enable(enable ? TRUE : FALSE);
}

void SetEditNumber(IEditControl* edit, double value)
{
    if (edit != nullptr)
        edit->SetText(FormatPanelNumber(value).c_str());
}

} // namespace

CAddOperationCommand::~CAddOperationCommand()
{
    if (m_panel != nullptr)
        m_panel->Destroy();
    if (m_pictureBitmap != nullptr)
        DeleteObject(m_pictureBitmap);
}

HRESULT CAddOperationCommand::Create(IHostDocument* document, LONG commandNumber, LONG_PTR)
{
    m_document = document;
    m_commandNumber = commandNumber;
    if (document == nullptr)
        return S_OK;
    IHostApplication* host = nullptr;
    m_addin = CMillingAddin::FromDocument(document, &host);
    if (m_addin != nullptr)
        m_addin->LoadPostprocessors();
    m_job = FindMillingJob(document);
    LoadAddinLanguage(host, m_language);
    if (m_addin != nullptr)
        document->CreateControlPanel(m_addin->PaneGroup(), m_addin->PropertiesPage(), &m_panel);
    CLanguageTable& texts = m_addin != nullptr ? m_addin->Language() : m_language;
    AddPanelControls(m_panel, texts, kPanel, std::size(kPanel), [&](size_t row) {
        if (row == 1) {
            m_picture = PanelControl<IStaticControl>(m_panel, kPicture, IID_IStaticControl);
            if (m_picture != nullptr && (m_pictureBitmap = LoadAddinBitmap(kPictureBitmap)) != nullptr)
                m_picture->SetBitmap(m_pictureBitmap);
        }
    });
    m_machines = PanelControl<IComboBoxControl>(m_panel, kMachineList, IID_IComboBoxControl);
    m_x = PanelControl<IEditControl>(m_panel, kEditX, IID_IEditControl);
    m_y = PanelControl<IEditControl>(m_panel, kEditY, IID_IEditControl);
    m_z = PanelControl<IEditControl>(m_panel, kEditZ, IID_IEditControl);
    m_pick = PanelControl<IButtonControl>(m_panel, kPickButton, IID_IButtonControl);
    m_invertedCheck = PanelControl<IButtonControl>(m_panel, kInvertedCheck, IID_IButtonControl);
    m_ok = PanelControl<IButtonControl>(m_panel, kControlOk, IID_IButtonControl);

    m_invertedZ = 0;
    m_origin = {};
    ShowOrigin(m_origin);
    if (m_invertedCheck != nullptr)
        m_invertedCheck->SetCheck(0);

    if (m_addin != nullptr) {
        CPostprocessorList& machines = m_addin->Machines();
        machines.Load(MachineStorePath(StrimoProgramFolder()).c_str());
        if (m_machines != nullptr && machines.GetCount() > 0) {
            for (int i = 0; i < machines.GetCount(); ++i)
                m_machines->InsertString(i, machines[static_cast<size_t>(i)].name.c_str(), nullptr);
            // No current machine selects nothing.
            const int current = machines.GetCurrent();
            if (current < machines.GetCount())
                m_machines->SetCurSel(current);
        }
        m_machine = machines.GetCurrent() < machines.GetCount() ? machines.GetCurrent() : -1;
        document->ShowPane(m_addin->PaneGroup(), m_addin->PropertiesPage());
    }
    if (m_panel != nullptr) {
        m_panel->ShowAll();
        m_panel->SetOwner(this);
    }
    return S_OK;
}

HRESULT CAddOperationCommand::OnEvent(LONG event, void* value, LONG final, LONG, LONG* result)
{
    if (result == nullptr)
        return E_POINTER;
    *result = 0;
    switch (event) {
    case kEventStart:
        *result = kResultStart;
        break;
    case kEventCancel:
        *result = kResultCancel;
        break;
    case kEventAccept:
        Accept(false);
        if (m_job != nullptr && m_addin != nullptr && m_document != nullptr)
            m_document->ShowPane(m_addin->PaneGroup(), m_addin->FeaturesPage());
        *result = kResultAccept;
        break;
    case kEventDraw:
        if (value != nullptr)
            DrawOriginTriad(*static_cast<IGraphicsContext**>(value), m_picking != 0 ? m_cursor : m_origin,
                            m_invertedZ != 0, kTriadColour);
        break;
    case kEventPoint:
        OnPoint(value, final);
        break;
    case kEventControl:
        OnControl(value, result);
        break;
    default:
        break;
    }
    return S_OK;
}

void CAddOperationCommand::Accept(bool writeStore)
{
    m_lastMessage.clear();
    if (m_job == nullptr)
        return;
    int selected = m_machine;
    if (m_machines != nullptr)
        m_machines->GetCurSel(&selected);
    std::string machineName;
    if (m_addin != nullptr) {
        CPostprocessorList& machines = m_addin->Machines();
        for (int i = 0; i < machines.GetCount(); ++i)
            machines[static_cast<size_t>(i)].current = i == selected ? 1 : 0;
        if (selected >= 0 && selected < machines.GetCount())
            machineName = machines[static_cast<size_t>(selected)].name;
        if (writeStore && machines.Save(MachineStorePath(StrimoProgramFolder()).c_str()) == 0)
            m_lastMessage = "The machine list cannot be written to " + MachineStorePath(StrimoProgramFolder()) + ".";
    }
    if (m_commandNumber != kCommandAddOperation)
        return;
    // The chosen machine's own postprocessor: the loaded one of that name.
    IPostprocessor* postprocessor = nullptr;
    if (!machineName.empty()) {
        if (m_addin == nullptr || m_addin->Postprocessors().empty())
            m_lastMessage = "No postprocessor plug-in is loaded, so the operation has no machine.";
        else if ((postprocessor = m_addin->FindPostprocessor(machineName.c_str())) == nullptr)
            m_lastMessage = "No loaded postprocessor is named " + machineName + ", so the operation has no machine.";
    }
    if (postprocessor != nullptr)
        m_job->AddOperation(std::make_unique<CMillingOperation>(postprocessor, "", m_origin, m_invertedZ != 0), true);
    else
        m_job->AddOperation(std::make_unique<CMillingOperation>(m_origin, m_invertedZ != 0), true);
    if (!m_lastMessage.empty())
        MessageBoxA(nullptr, m_lastMessage.c_str(), "Add Milling 2.5D Operation", MB_OK | MB_ICONWARNING);
}

void CAddOperationCommand::OnControl(const void* value, LONG* result)
{
    const ControlNotification notification = ReadControlNotification(value);
    switch (notification.id) {
    case kControlOk:
        if (notification.code == kNotifyClick) {
            Accept(true);
            *result = kResultAccept;
        }
        break;
    case kControlCancel:
        if (notification.code == kNotifyClick)
            *result = kResultCancel;
        break;
    case kControlHelp:
        if (notification.code == kNotifyClick)
            ShowAddinHelp(m_language.ChosenLanguage(), "operation.htm");
        break;
    case kPickButton:
        if (notification.code == kNotifyClick && m_picking == 0)
            SetPicking(true);
        break;
    case kInvertedCheck:
        if (notification.code == kNotifyClick) {
            m_invertedZ = m_invertedZ != 0 ? 0 : 1;
            if (m_document != nullptr)
                m_document->Redraw();
        }
        break;
    case kEditX:
    case kEditY:
    case kEditZ: {
        if (notification.code != kNotifyEditChange)
            break;
        IEditControl* edit = notification.id == kEditX ? m_x : notification.id == kEditY ? m_y : m_z;
        char text[kControlTextBufferSize] = {};
        if (edit != nullptr)
            edit->GetText(text);
        double number = 0.0;
        if (!ParsePanelNumber(text, number))
            number = 0.0;
        (notification.id == kEditX ? m_origin.x : notification.id == kEditY ? m_origin.y : m_origin.z) = number;
        if (m_document != nullptr)
            m_document->Redraw();
        break;
    }
    default:
        break;
    }
}

void CAddOperationCommand::OnPoint(const void* value, LONG final)
{
    if (value == nullptr)
        return;
    const auto* point = static_cast<const EventCoordinate*>(value);
    m_cursor = {point[0].value, point[1].value, point[2].value};
    if (final == 0) {
        ShowOrigin(m_cursor);
        return;
    }
    m_origin = m_cursor;
    ShowOrigin(m_origin);
    SetPicking(false);
}

void CAddOperationCommand::ShowOrigin(const CMovePoint& point)
{
    NotificationsOff quiet(m_panel);
    SetEditNumber(m_x, point.x);
    SetEditNumber(m_y, point.y);
    SetEditNumber(m_z, point.z);
}

void CAddOperationCommand::SetPicking(bool picking)
{
    m_picking = picking ? 1 : 0;
    if (m_document != nullptr)
        m_document->SetInputKinds(picking ? kInputClickedPoint : 0, kTablesAll);
    NotificationsOff quiet(m_panel);
    Enable(m_x, !picking);
    Enable(m_y, !picking);
    Enable(m_z, !picking);
    Enable(m_ok, !picking);
    if (m_pick != nullptr)
        m_pick->SetState(picking ? TRUE : FALSE);
}
