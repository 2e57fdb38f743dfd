// CSimulationCommand: the panel, choosing a feature, start and stop, and
// the tool drawn at each step.
#include "addins/milling/core/simulation_command.h"

#include <map>

#include "addins/milling/core/addin_resources.h"
#include "addins/milling/core/command_events.h"
#include "addins/milling/core/command_panel.h"
#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_job.h"
#include "addins/milling/core/simulation_program.h"
#include "ientity.h"
#include "ihost.h"
#include "platform/gdi/gdi.h"
#include "platform/user/winuser.h"

namespace {

constexpr LONG kPhaseList = 100;
constexpr LONG kCancelButton = 102;
constexpr LONG kHelpButton = 103;
constexpr LONG kTitle = 104;
constexpr LONG kPicture = 105;
constexpr LONG kFrame = 106;
constexpr LONG kNcCode = 107;
constexpr LONG kShadedBox = 109;
constexpr LONG kStartButton = 110;
constexpr LONG kStopButton = 111;
constexpr LONG kSpeedField = 121;

constexpr int kPictureBitmap = 6031;
constexpr int kStartBitmap = 6004;
constexpr int kStopBitmap = 6007;

constexpr LONG kResultStart = 1;
constexpr LONG kResultOk = 2;
constexpr LONG kResultCancel = 4;
constexpr LONG kEventCancelCommand = 16;

constexpr DWORD kVisible = 0x10000000;
constexpr DWORD kTabStop = 0x00010000;
constexpr DWORD kBitmapButton = 0x00000080;
constexpr DWORD kBorder = 0x00800000;
constexpr DWORD kVerticalScroll = 0x00200000;

// The tool solid before the first drawing: a flat 20 mm mill as a
// wireframe.
constexpr double kFirstDiameter = 20.0;
constexpr double kFirstCutLength = 30.0;
constexpr double kFirstLength = 60.0;
// The speed factor before Create sets the field's 1.
constexpr double kConstructedSpeedFactor = 10.0;

// Red, bold and protected: a row the tool has passed.
constexpr COLORREF kMarkedColour = 0x0000FF;

const PanelControlRow kPanel[] = {
    {PanelControlKind::Static, kPicture, 0, "Static", 0x1000000E, {5, 0, 155, 30}},
    {PanelControlKind::Title, kTitle, 20058, "Simulate phase", 0x1000000C, {35, 6, 150, 22}},
    {PanelControlKind::Button, kControlOk, 30000, "Ok", kVisible | kTabStop, {5, 35, 56, 57}},
    {PanelControlKind::Button, kCancelButton, 30001, "Cancel", kVisible | kTabStop, {59, 35, 110, 57}},
    {PanelControlKind::Button, kHelpButton, 30002, "Help", kVisible | kTabStop, {113, 35, 164, 57}},
    {PanelControlKind::Button, kFrame, 20059, "Choose existing phase", 0x10000007, {5, 62, 165, 200}},
    {PanelControlKind::ComboBox, kPhaseList, 0, "", 0x10300003, {15, 82, 155, 200}},
    {PanelControlKind::Button, kShadedBox, 20060, "Shaded tool", 0x10000003, {15, 112, 155, 132}},
    {PanelControlKind::Button, kStartButton, 0, "", kVisible | kTabStop | kBitmapButton, {15, 140, 47, 172}},
    {PanelControlKind::Button, kStopButton, 0, "", kVisible | kTabStop | kBitmapButton, {52, 140, 84, 172}},
    {PanelControlKind::Edit, kSpeedField, 0, "", 0x10800000, {95, 146, 155, 166}},
};
constexpr RECT kNcCodeRect = {5, 205, 165, 400};

// The commands waiting for their next frame, by the id of their timer: a
// timer procedure is told its id only.
std::map<UINT_PTR, CSimulationCommand*>& WaitingFrames()
{
    static std::map<UINT_PTR, CSimulationCommand*> commands;
    return commands;
}

template <class Control>
void Enable(Control* control, bool enable)
{
    if (control != nullptr)
        control->Enable(enable ? TRUE : FALSE);
}

} // namespace

CSimulationCommand::CSimulationCommand()
{
    m_tools.Read(ToolStorePath(StrimoProgramFolder()));
    m_solid.Build(kFirstDiameter, 0.0, kFirstCutLength, kFirstLength, 1.0, 1);
    m_simulation.SetSpeedFactor(kConstructedSpeedFactor);
    m_simulation.SetMarker([this](long row) { MarkRow(row); });
}

CSimulationCommand::~CSimulationCommand()
{
    StopFrame();
    if (m_document != nullptr && m_addin != nullptr && m_previousPane >= 0)
        m_document->ShowPane(m_addin->PaneGroup(), m_previousPane);
    if (m_panel != nullptr)
        m_panel->Destroy();
    for (HBITMAP bitmap : m_bitmaps) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
    }
}

HRESULT CSimulationCommand::Create(IHostDocument* document, LONG, LONG_PTR)
{
    m_document = document;
    if (document == nullptr)
        return S_OK;
    m_addin = AddinWithLanguage(document, m_language);
    m_job = FindMillingJob(document);
    if (m_addin != nullptr)
        document->CreateControlPanel(m_addin->PaneGroup(), m_addin->PropertiesPage(), &m_panel);
    CLanguageTable& texts = m_addin != nullptr ? m_addin->Language() : m_language;
    AddPanelControls(m_panel, texts, kPanel, std::size(kPanel), [&](size_t row) {
        if (row != 1)
            return;
        auto* picture = PanelControl<IStaticControl>(m_panel, kPicture, IID_IStaticControl);
        if (picture != nullptr && (m_bitmaps[0] = LoadAddinBitmap(kPictureBitmap)) != nullptr)
            picture->SetBitmap(m_bitmaps[0]);
    });
    if (m_panel != nullptr)
        m_panel->AddRichEdit("", kVisible | kBorder | kVerticalScroll, &kNcCodeRect, kNcCode, nullptr);

    m_speed = PanelControl<IEditControl>(m_panel, kSpeedField, IID_IEditControl);
    m_ncCode = PanelControl<IRichEditControl>(m_panel, kNcCode, IID_IRichEditControl);
    m_phases = PanelControl<IComboBoxControl>(m_panel, kPhaseList, IID_IComboBoxControl);
    m_shaded = PanelControl<IButtonControl>(m_panel, kShadedBox, IID_IButtonControl);
    m_start = PanelControl<IButtonControl>(m_panel, kStartButton, IID_IButtonControl);
    m_stop = PanelControl<IButtonControl>(m_panel, kStopButton, IID_IButtonControl);
    if (m_panel != nullptr)
        m_panel->EnableNotify(FALSE);
    Enable(m_speed, false);
    Enable(m_shaded, false);
    Enable(m_start, false);
    Enable(m_stop, false);
    if (m_start != nullptr && (m_bitmaps[1] = LoadAddinBitmap(kStartBitmap)) != nullptr)
        m_start->SetBitmap(m_bitmaps[1]);
    if (m_stop != nullptr && (m_bitmaps[2] = LoadAddinBitmap(kStopBitmap)) != nullptr)
        m_stop->SetBitmap(m_bitmaps[2]);
    if (m_speed != nullptr)
        m_speed->SetText("1");
    if (m_panel != nullptr)
        m_panel->EnableNotify(TRUE);
    m_simulation.SetSpeedFactor(1.0);

    if (m_job != nullptr) {
        for (long i = 0; i < m_job->GetOperationCount(); ++i) {
            const CMillingOperation* operation = m_job->GetOperation(i);
            if (operation == nullptr)
                continue;
            for (size_t j = 0; j < operation->GetFeatureCount(); ++j) {
                CMillingFeature* feature = operation->GetFeature(j);
                if (feature == nullptr)
                    continue;
                if (m_phases != nullptr)
                    m_phases->AddString(feature->m_name.c_str(), nullptr);
                m_features.push_back({feature, operation});
            }
        }
    }

    if (m_addin != nullptr) {
        LONG active = -1;
        if (SUCCEEDED(document->GetActivePane(m_addin->PaneGroup(), &active)))
            m_previousPane = active;
        document->ShowPane(m_addin->PaneGroup(), m_addin->PropertiesPage());
    }
    if (m_panel != nullptr) {
        m_panel->ShowAll();
        m_panel->SetOwner(this);
    }
    return S_OK;
}

HRESULT CSimulationCommand::OnEvent(LONG event, void* value, LONG, LONG, LONG* result)
{
    if (result == nullptr)
        return E_POINTER;
    *result = 0;
    switch (event) {
    case kEventStart:
        *result = kResultStart;
        break;
    case kEventCancelCommand:
        *result = kResultCancel;
        break;
    case kEventDraw:
        Draw(value != nullptr ? *static_cast<IGraphicsContext**>(value) : nullptr);
        break;
    case kEventControl:
        OnControl(value, result);
        break;
    default:
        break;
    }
    return S_OK;
}

void CSimulationCommand::OnControl(const void* value, LONG* result)
{
    const ControlNotification notification = ReadControlNotification(value);
    switch (notification.id) {
    case kPhaseList:
        if (notification.code == kNotifySelectionChange && m_phases != nullptr) {
            int index = -1;
            m_phases->GetCurSel(&index);
            Choose(index);
        }
        break;
    case kCancelButton:
        if (notification.code == kNotifyClick)
            *result = kResultCancel;
        break;
    case kHelpButton:
        if (notification.code == kNotifyClick)
            ShowAddinHelp(m_language.ChosenLanguage(), "simulation.htm");
        break;
    case kShadedBox:
        if (notification.code == kNotifyClick) {
            m_wireframe = m_wireframe != 0 ? 0 : 1;
            RedrawDocument();
        }
        break;
    case kStartButton:
        if (notification.code == kNotifyClick && m_chosen != nullptr && !m_simulation.Running()) {
            m_simulation.Start();
            RedrawDocument();
        }
        break;
    case kStopButton:
        if (notification.code == kNotifyClick)
            m_simulation.Stop();
        break;
    case kSpeedField:
        if (notification.code == kNotifyEditChange && m_speed != nullptr) {
            char text[kControlTextBufferSize] = {};
            m_speed->GetText(text);
            double factor = 0.0;
            // Text that is no number, or a negative one, keeps the factor.
            if (ParsePanelNumber(text, factor))
                m_simulation.SetSpeedFactor(factor);
            RedrawDocument();
        }
        break;
    case kControlOk:
        if (notification.code == kNotifyClick)
            *result = kResultOk;
        break;
    default:
        break;
    }
}

void CSimulationCommand::Choose(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_features.size())
        return;
    const Offered& offered = m_features[static_cast<size_t>(index)];
    m_chosen = offered.feature;
    CPostprocessorList machines;
    machines.Load(MachineStorePath(StrimoProgramFolder()).c_str());
    const CPostprocessorSettings machine = machines.GetCurrentOrDefault();
    CNcMachineSettings settings;
    settings.modal = machine.modal != 0;
    settings.separator = machine.separator != 0;
    settings.lineNumbers = machine.lineNumbers != 0;
    SimulationProgram program = BuildSimulationProgram(*m_chosen, offered.operation, settings);
    m_lastMessage = program.message;
    m_simulation.SetLines(std::move(program.lines));

    if (m_panel != nullptr)
        m_panel->EnableNotify(FALSE);
    Enable(m_shaded, true);
    if (m_shaded != nullptr)
        m_shaded->SetCheck(0);
    m_wireframe = 1;
    Enable(m_start, true);
    Enable(m_stop, true);
    Enable(m_speed, true);
    if (m_ncCode != nullptr) {
        LONG rows = 0;
        m_ncCode->GetRowCount(&rows);
        if (rows > 0)
            m_ncCode->DeleteRowRange(0, rows, FALSE);
        CHARFORMAT format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_COLOR | CFM_BOLD | CFM_PROTECTED;
        format.dwEffects = CFE_PROTECTED;
        format.crTextColor = 0x000000;
        m_ncCode->SetDefaultCharFormat(&format);
        // The lines go in as one text: appending them one by one costs a
        // change of the control's line records each.
        const size_t shown = std::min(program.text.size(), kMaxNcPaneLines);
        std::string text;
        for (size_t i = 0; i < shown; ++i) {
            if (i > 0)
                text += '\n';
            text += program.text[i];
        }
        if (shown > 0)
            m_ncCode->AppendText(text.c_str(), FALSE);
    }
    if (m_panel != nullptr)
        m_panel->EnableNotify(TRUE);
    RedrawDocument();
}

void CSimulationCommand::MarkRow(long row)
{
    if (m_ncCode == nullptr)
        return;
    CHARFORMAT format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR | CFM_BOLD | CFM_PROTECTED;
    format.dwEffects = CFE_BOLD | CFE_PROTECTED;
    format.crTextColor = kMarkedColour;
    m_ncCode->SetRowFormat(row, &format);
}

void CSimulationCommand::Draw(IGraphicsContext* context)
{
    if (m_features.empty() || m_chosen == nullptr)
        return;
    if (m_simulation.Running()) {
        const StepResult stepped = m_simulation.Step();
        if (m_simulation.Running() && stepped == StepResult::Draw)
            DrawTool(context);
        if (m_simulation.Running())
            ScheduleFrame();
    } else if (m_simulation.ToolShown()) {
        DrawTool(context);
    }
}

void CSimulationCommand::DrawTool(IGraphicsContext* context)
{
    const std::optional<CMovePoint> position = m_simulation.ToolPosition();
    const long tool = m_simulation.ToolIndex();
    if (!position || tool < 0 || static_cast<size_t>(tool) >= m_tools.size())
        return;
    double scale = 1.0;
    if (context != nullptr)
        context->GetScale(&scale);
    const CToolRecord& dimensions = m_chosen->m_params.tool;
    m_solid.Build(dimensions.diameter, dimensions.cornerRadius, dimensions.cutLength, dimensions.length, scale,
                  m_wireframe);
    m_solid.Draw(m_gl != nullptr ? *m_gl : RealToolGl(), position->x, position->y, position->z,
                 m_simulation.ColourFlag());
}

void CSimulationCommand::ScheduleFrame()
{
    if (m_frameTimer != 0)
        return;
    m_frameTimer = ::SetTimer(nullptr, 0, kSimulationFrameMs, &CSimulationCommand::OnFrameTimer);
    if (m_frameTimer != 0)
        WaitingFrames()[m_frameTimer] = this;
    else
        RedrawDocument(); // no timer to be had: the frame at once
}

void CSimulationCommand::StopFrame()
{
    if (m_frameTimer == 0)
        return;
    ::KillTimer(nullptr, m_frameTimer);
    WaitingFrames().erase(m_frameTimer);
    m_frameTimer = 0;
}

void CSimulationCommand::OnFrameTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    const auto found = WaitingFrames().find(id);
    if (found == WaitingFrames().end()) {
        ::KillTimer(nullptr, id);
        return;
    }
    CSimulationCommand* command = found->second;
    command->StopFrame();
    if (command->m_simulation.Running())
        command->RedrawDocument();
}

void CSimulationCommand::RedrawDocument()
{
    if (m_document != nullptr)
        m_document->Redraw();
}
