// CMillingFeatureCommandBase: the feature commands' panel, picks, read-back,
// toolpath preview and accept; the three commands' own kinds.
#include "addins/milling/core/milling_feature_command.h"

#include <unordered_set>
#include <vector>

#include "addins/milling/core/addin_resources.h"
#include "addins/milling/core/command_events.h"
#include "addins/milling/core/command_panel.h"
#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_job.h"
#include "addins/milling/core/pick_toggle.h"
#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/curvefeature.h"
#include "addins/milling/features/pocketfeature.h"
#include "ientityrecord.h"
#include "ihost.h"
#include "objectmodel/entity_record.h"
#include "platform/framework/ctrls.h"
#include "platform/gdi/gdi.h"
#include "platform/user/commdlg.h"

namespace {

constexpr LONG kEditZTop = 200;
constexpr LONG kEditZBottom = 201;
constexpr LONG kEditVerticalStep = 202;
constexpr LONG kEditZSafePlane = 203;
constexpr LONG kEditZEngage = 204;
constexpr LONG kEditRadialStep = 205;
constexpr LONG kRecalculate = 206;
constexpr LONG kEditSpindle = 207;
constexpr LONG kEditFeed = 208;
constexpr LONG kEditPlunge = 209;
constexpr LONG kEditOffset = 210;
constexpr LONG kToolNames = 211;
constexpr LONG kOutsideCheck = 217;

constexpr DWORD kVisible = 0x10000000;
constexpr DWORD kTabStop = 0x00010000;
constexpr DWORD kEditStyle = 0x10800000;

// Highlights: the picked curves (owner key 1), and while the cursor hovers
// a curve, that curve (owner key 2).
constexpr uint32_t kPickedKey = 1;
constexpr uint32_t kHoverKey = 2;
constexpr uint32_t kRecalculateKey = 3;
constexpr uint32_t kPickedFlags = 0x10002C;
constexpr uint32_t kHoverPickedFlags = 0x40002C;
constexpr uint32_t kHoverFlags = 0x20002C;

constexpr uint32_t kPreviewColour = 0x80C800;

// The pick prompt while the picked curves give no toolpath.
constexpr const char* kNoToolpathPrompt = "Select object (no toolpath: ";

struct NumberField {
    LONG id;
    double CMillingParams::* field = nullptr;
    double CToolRecord::* toolField = nullptr;
};

// The read-back order: the Z group, then the tool's speeds and steps.
const NumberField kFields[] = {
    {kEditZTop, &CMillingParams::zTop},
    {kEditZBottom, &CMillingParams::zBottom},
    {kEditZSafePlane, &CMillingParams::zSafePlane},
    {kEditZEngage, &CMillingParams::zEngage},
    {kEditOffset, &CMillingParams::offset},
    {kEditSpindle, nullptr, &CToolRecord::spindleSpeed},
    {kEditFeed, nullptr, &CToolRecord::feedSpeed},
    {kEditPlunge, nullptr, &CToolRecord::plungeSpeed},
    {kEditRadialStep, nullptr, &CToolRecord::radialStep},
    {kEditVerticalStep, nullptr, &CToolRecord::verticalStep},
};

// The fields a tool choice fills, in the order they are shown.
const NumberField kToolFields[] = {
    {kEditSpindle, nullptr, &CToolRecord::spindleSpeed},
    {kEditFeed, nullptr, &CToolRecord::feedSpeed},
    {kEditPlunge, nullptr, &CToolRecord::plungeSpeed},
    {kEditVerticalStep, nullptr, &CToolRecord::verticalStep},
    {kEditRadialStep, nullptr, &CToolRecord::radialStep},
};

const FeatureCommandKind kPocket = {kCommandPocketMilling, 6025, 218, 217, 20006, "Pocket milling", 20007,
                                    "Pocket parameters", false, true, 390, 38, "pocket_feature.htm", true,
                                    "Pocket milling"};
const FeatureCommandKind kContour = {kCommandContourMilling, 6024, 219, 218, 20004, "Contour milling", 20038,
                                     "Contour parameters", true, false, 420, 27, "contour_feature.htm", true,
                                     "Contour milling"};
const FeatureCommandKind kCurve = {kCommandCurveMilling, 6032, 219, 218, 20062, "Curve milling", 20038,
                                   "Contour parameters", true, true, 520, 38, "curve_feature.htm", false,
                                   "Curve milling"};

RECT Rect(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }

// The panel's rows from the running top of each row.
std::vector<PanelControlRow> PanelRows(const FeatureCommandKind& kind)
{
    std::vector<PanelControlRow> rows = {
        {PanelControlKind::Static, kind.pictureId, 0, "Static", 0x1000000E, Rect(5, 0, 155, 30)},
        {PanelControlKind::Title, kind.titleId, kind.titleText, kind.titleDefault, 0x1000000C,
         Rect(30, 6, 150, 22)},
        {PanelControlKind::Button, kControlOk, 30000, "Ok", kVisible | kTabStop, Rect(5, 35, 56, 57)},
        {PanelControlKind::Button, kControlCancel, 30001, "Cancel", kVisible | kTabStop, Rect(59, 35, 110, 57)},
        {PanelControlKind::Button, kControlHelp, 30002, "Help", kVisible | kTabStop, Rect(113, 35, 164, 57)},
        {PanelControlKind::Button, 0, kind.groupText, kind.groupDefault, 0x10000007,
         Rect(5, 65, 165, kind.hasOutside ? 240 : 215)},
    };
    struct Labelled {
        LONG id;
        long text;
        const char* fallback;
    };
    const Labelled levels[] = {{kEditZTop, 20008, "Z Top:"},
                               {kEditZBottom, 20009, "Z Bottom:"},
                               {kEditZSafePlane, 20010, "Z Safe Plane:"},
                               {kEditZEngage, 20011, "Z Engage:"},
                               {kEditOffset, 20013, "Offset:"}};
    int y = 85;
    for (const Labelled& row : levels) {
        rows.push_back({PanelControlKind::Static, 0, row.text, row.fallback, kVisible, Rect(13, y + 3, 85, y + 23)});
        rows.push_back({PanelControlKind::Edit, row.id, 0, "", kEditStyle, Rect(90, y, 155, y + 20)});
        y += 25;
    }
    y -= 25;
    if (kind.hasOutside) {
        rows.push_back({PanelControlKind::Button, kOutsideCheck, 20026, "Outside", 0x10000003, Rect(15, 210, 120, 230)});
        y += 25;
    }
    rows.push_back({PanelControlKind::Button, 0, 20014, "Tool", 0x10000007,
                    Rect(5, kind.hasOutside ? 242 : 217, 165, kind.toolGroupBottom)});
    y += 47;
    rows.push_back({PanelControlKind::Static, 0, 20027, "Name", kVisible, Rect(13, y + 3, 43, y + 23)});
    rows.push_back({PanelControlKind::ComboBox, kToolNames, 0, "", 0x10300003, Rect(45, y, 155, y + 250)});
    y += 28;
    std::vector<Labelled> tools = {{kEditSpindle, 20028, "Spindle Speed:"},
                                   {kEditFeed, 20029, "Feed Speed:"},
                                   {kEditPlunge, 20030, "Plunge Speed:"}};
    if (kind.hasRadialStep)
        tools.push_back({kEditRadialStep, 20031, "Radial Step:"});
    tools.push_back({kEditVerticalStep, 20032, "Vertical Step:"});
    for (const Labelled& row : tools) {
        rows.push_back({PanelControlKind::Static, 0, row.text, row.fallback, kVisible, Rect(13, y, 85, y + 23)});
        rows.push_back({PanelControlKind::Edit, row.id, 0, "", kEditStyle, Rect(90, y, 155, y + 20)});
        y += 25;
    }
    y += kind.gapBeforeRecalculate - 25;
    rows.push_back({PanelControlKind::Button, kRecalculate, 20037, "Recalculate", kVisible, Rect(39, y, 130, y + 22)});
    return rows;
}

} // namespace

void CHostProgressBar::GetRange(int& lower, int& upper)
{
    lower = upper = 0;
    if (m_control != nullptr)
        m_control->GetRange(lower, upper);
}

void CHostProgressBar::DeltaPos(int delta)
{
    if (m_control != nullptr)
        m_control->OffsetPos(delta);
}

void CHostProgressBar::Reset()
{
    if (m_control != nullptr)
        m_control->SetPos(0);
}

CMillingFeatureCommandBase::CMillingFeatureCommandBase(const FeatureCommandKind& kind) : m_kind(kind)
{
    m_params.zSafePlane = 50.0;
    m_params.zEngage = 5.0;
}

CMillingFeatureCommandBase::~CMillingFeatureCommandBase()
{
    m_picked.RemoveAll();
    if (m_panel != nullptr)
        m_panel->Destroy();
    if (m_pictureBitmap != nullptr)
        DeleteObject(m_pictureBitmap);
}

IEditControl* CMillingFeatureCommandBase::Edit(LONG id) const
{
    return PanelControl<IEditControl>(m_panel, id, IID_IEditControl);
}

HRESULT CMillingFeatureCommandBase::Create(IHostDocument* document, LONG, LONG_PTR)
{
    m_document = document;
    if (document == nullptr)
        return S_OK;
    IHostApplication* host = nullptr;
    m_addin = CMillingAddin::FromDocument(document, &host);
    m_job = FindMillingJob(document);
    if (m_kind.usesProgress && host != nullptr) {
        CProgressCtrl* control = nullptr;
        host->GetProgressControl(&control);
        m_progress = CHostProgressBar(control);
        ResetProgress();
    }
    LoadAddinLanguage(host, m_language);
    m_feature = NewFeature();
    m_tools.Read(ToolStorePath(StrimoProgramFolder()));
    if (m_addin != nullptr)
        document->CreateControlPanel(m_addin->PaneGroup(), m_addin->PropertiesPage(), &m_panel);
    BuildPanel();
    FillToolList(false);
    if (m_addin != nullptr)
        document->ShowPane(m_addin->PaneGroup(), m_addin->PropertiesPage());
    if (m_panel != nullptr) {
        m_panel->ShowAll();
        m_panel->SetOwner(this);
    }
    return S_OK;
}

void CMillingFeatureCommandBase::BuildPanel()
{
    if (m_panel == nullptr)
        return;
    const std::vector<PanelControlRow> rows = PanelRows(m_kind);
    CLanguageTable& texts = m_addin != nullptr ? m_addin->Language() : m_language;
    AddPanelControls(m_panel, texts, rows.data(), rows.size(), [&](size_t row) {
        if (row == 1) {
            m_picture = PanelControl<IStaticControl>(m_panel, m_kind.pictureId, IID_IStaticControl);
            if (m_picture != nullptr && (m_pictureBitmap = LoadAddinBitmap(m_kind.pictureBitmap)) != nullptr)
                m_picture->SetBitmap(m_pictureBitmap);
        }
    });
    m_toolNames = PanelControl<IComboBoxControl>(m_panel, kToolNames, IID_IComboBoxControl);
    for (LONG id : {kEditZTop, kEditZBottom, kEditZSafePlane, kEditZEngage, kEditOffset})
        for (const NumberField& field : kFields)
            if (field.id == id)
                if (IEditControl* edit = Edit(id))
                    edit->SetText(FormatPanelNumber(m_params.*field.field).c_str());
    if (m_kind.hasOutside)
        if (auto* outside = PanelControl<IButtonControl>(m_panel, kOutsideCheck, IID_IButtonControl))
            outside->SetCheck(m_params.outside);
}

void CMillingFeatureCommandBase::FillToolList(bool keepChoice)
{
    const std::string previous = m_toolChosen == ToolChoice::Chosen ? m_params.tool.name : std::string();
    const bool wasChosen = keepChoice && m_toolChosen == ToolChoice::Chosen;
    std::vector<std::string> mills;
    for (const CToolRecord& tool : m_tools.Tools())
        if (tool.toolType == kToolTypeMill)
            mills.push_back(tool.name);
    if (m_toolNames != nullptr) {
        m_toolNames->ResetContent();
        for (const std::string& name : mills)
            m_toolNames->AddString(name.c_str(), nullptr);
    }
    m_toolChosen = ToolChoice::None;
    // Without a panel the list is the tool store's mills themselves.
    int entry = mills.empty() ? -1 : 0;
    if (wasChosen) {
        entry = -1;
        for (size_t i = 0; i < mills.size(); ++i)
            if (mills[i] == previous) {
                entry = static_cast<int>(i);
                break;
            }
    }
    if (entry >= 0) {
        if (m_toolNames != nullptr)
            m_toolNames->SetCurSel(entry);
        ChooseTool(mills[static_cast<size_t>(entry)].c_str());
    } else {
        ShowToolValues(false);
    }
}

void CMillingFeatureCommandBase::ChooseTool(const char* name)
{
    m_toolChosen = ToolChoice::None;
    const int found = name != nullptr ? m_tools.FindByName(name) : -1;
    if (found < 0) {
        ShowToolValues(false);
        return;
    }
    m_params.tool = m_tools[static_cast<size_t>(found)];
    m_toolChosen = ToolChoice::Chosen;
    ShowToolValues(true);
}

void CMillingFeatureCommandBase::ShowToolValues(bool chosen)
{
    for (const NumberField& field : kToolFields) {
        if (field.id == kEditRadialStep && !m_kind.hasRadialStep)
            continue;
        IEditControl* edit = Edit(field.id);
        if (edit == nullptr)
            continue;
        edit->SetText(chosen ? FormatPanelNumber(m_params.tool.*field.toolField).c_str() : "");
        // A later choice that finds a tool makes its fields editable again.
        edit->Enable(chosen ? TRUE : FALSE);
    }
}

bool CMillingFeatureCommandBase::ReadBack()
{
    for (const NumberField& field : kFields) {
        if (field.id == kEditRadialStep && !m_kind.hasRadialStep)
            continue;
        IEditControl* edit = Edit(field.id);
        if (edit == nullptr)
            continue;
        char text[kControlTextBufferSize] = {};
        edit->GetText(text);
        double value = 0.0;
        if (!ParsePanelNumber(text, value))
            continue;
        if (field.field != nullptr)
            m_params.*field.field = value;
        else
            m_params.tool.*field.toolField = value;
    }
    if (m_kind.hasOutside)
        if (auto* outside = PanelControl<IButtonControl>(m_panel, kOutsideCheck, IID_IButtonControl)) {
            int check = 0;
            outside->GetCheck(&check);
            m_params.outside = check;
        }
    return MillingParametersValid(m_params, m_toolChosen);
}

void CMillingFeatureCommandBase::Recompute()
{
    if (m_feature == nullptr)
        return;
    const Status computed =
        Compute(*m_feature, &m_picked, m_params, m_document, m_kind.usesProgress ? &m_progress : nullptr);
    ++m_computations;
    if (!computed.ok())
        m_toolpathError = computed.error();
    else if (m_feature->Moves().empty())
        // A computation that made no move has made no toolpath, whatever
        // it answered.
        m_toolpathError = Error{FeatureError::NoToolpath, "no moves"};
    else
        m_toolpathError.reset();
    ShowToolpathState();
}

void CMillingFeatureCommandBase::ShowToolpathState()
{
    if (m_document == nullptr)
        return;
    std::string label;
    if (m_toolpathError && m_picked.GetCount() > 0)
        label = std::string(kNoToolpathPrompt) + FeatureErrorMessage(m_toolpathError->code) + ")";
    // An empty label gives back the host's own pick prompt.
    m_document->SetPrompt(kInputPickToggle, label.c_str());
}

void CMillingFeatureCommandBase::ResetProgress()
{
    if (m_kind.usesProgress)
        m_progress.Reset();
}

HRESULT CMillingFeatureCommandBase::OnEvent(LONG event, void* value, LONG final, LONG, LONG* result)
{
    if (result == nullptr)
        return E_POINTER;
    *result = 0;
    switch (event) {
    case kEventStart:
        if (m_document != nullptr)
            m_document->SetInputKinds(kInputPickToggle, kTablesAll);
        *result = kResultSelection;
        break;
    case kEventSecondStart:
        if (m_job != nullptr && m_job->GetActiveOperation() < 0 && m_document != nullptr && m_addin != nullptr)
            m_document->StartAddinCommand(m_addin, kCommandAddOperation);
        break;
    case kEventChildEnded:
        if (m_job == nullptr || m_job->GetActiveOperation() < 0) {
            *result = kResultEnd;
            return E_FAIL;
        }
        m_tools.Read(ToolStorePath(StrimoProgramFolder()));
        if (!m_tools.empty())
            FillToolList(true);
        if (m_document != nullptr && m_addin != nullptr)
            m_document->ShowPane(m_addin->PaneGroup(), m_addin->PropertiesPage());
        break;
    case kEventCancel:
        *result = kResultEnd;
        break;
    case kEventAccept:
        if (Accept())
            *result = kResultCommit;
        ResetProgress();
        break;
    case kEventPickAdd:
    case kEventPick:
        OnPick(value, final);
        break;
    case kEventDraw:
        if (value != nullptr)
            Preview(*static_cast<IGraphicsContext**>(value));
        break;
    case kEventControl:
        OnControl(value, result);
        break;
    default:
        break;
    }
    return S_OK;
}

bool CMillingFeatureCommandBase::Accept()
{
    // Without a document there is no feature and nothing to tell.
    if (m_feature == nullptr)
        return true;
    CMillingOperation* operation = m_job != nullptr ? m_job->GetOperation(m_job->GetActiveOperation()) : nullptr;
    std::string problem;
    if (m_picked.GetCount() == 0)
        problem = "Nothing is picked: pick the curves to mill, then accept.";
    else if (m_toolpathError)
        problem = "No toolpath can be made: " + FeatureErrorText(*m_toolpathError) +
                  ".\nChange the picked curves or the parameters, or cancel the command.";
    else if (m_feature->Moves().empty())
        problem = "No toolpath has been computed: check the parameters and press Recalculate.";
    else if (operation == nullptr)
        problem = "There is no active operation to take the feature.";
    if (!problem.empty()) {
        MessageBoxA(nullptr, problem.c_str(), m_kind.commandName, MB_OK | MB_ICONWARNING);
        return false;
    }
    m_feature->m_params.tool = m_params.tool;
    operation->AddFeature(std::move(m_feature));
    m_job->UpdateNcCodePane();
    return true;
}

void CMillingFeatureCommandBase::OnPick(void* value, LONG final)
{
    if (m_document == nullptr || value == nullptr)
        return;
    ISelectionSet* picks = *static_cast<ISelectionSet**>(value);
    m_document->RemoveTemporaries(1, 1, kHoverKey);
    uint32_t count = 0;
    if (picks != nullptr)
        picks->GetCount(&count);
    const auto highlight = [&](uintptr_t id, uint32_t flags, uint32_t key) {
        auto record = ComPtr<CEntityRecord>::Share(
            new CEntityRecord(reinterpret_cast<IEntityRecord*>(id), FALSE, TRUE));
        record->SetFlags(flags);
        m_document->AddTemporary(static_cast<IEntityRecord*>(record.Get()), 1, 1, key);
    };
    if (final == 0) {
        // The picked set as an index: a part hovered in one go holds
        // thousands of curves.
        std::unordered_set<uintptr_t> picked;
        for (int32_t i = 0; i < m_picked.GetCount(); ++i)
            picked.insert(m_picked.GetAt(i));
        for (uint32_t i = 0; i < count; ++i) {
            uintptr_t id = 0;
            if (SUCCEEDED(picks->GetAt(static_cast<int32_t>(i), &id)) && id != 0)
                highlight(id, picked.count(id) != 0 ? kHoverPickedFlags : kHoverFlags, kHoverKey);
        }
        return;
    }
    ResetProgress();
    TogglePicks(m_picked, picks);
    m_document->RemoveTemporaries(1, 0, 0);
    for (int32_t i = 0; i < m_picked.GetCount(); ++i)
        highlight(m_picked.GetAt(i), kPickedFlags, kPickedKey);
    if (m_picked.GetCount() == 0) {
        m_document->SetInputKinds(kInputPickToggle, kTablesAll);
    } else {
        m_document->SetInputKinds(kInputPickToggle, kTableCtrl);
        m_document->SetInputKinds(kInputPickAdd, kTableShift);
    }
    if (ReadBack())
        Recompute();
    else
        ShowToolpathState();
    ResetProgress();
}

void CMillingFeatureCommandBase::OnControl(const void* value, LONG* result)
{
    const ControlNotification notification = ReadControlNotification(value);
    switch (notification.id) {
    case kControlOk:
        if (notification.code == kNotifyClick && Accept())
            *result = kResultCommit;
        break;
    case kControlCancel:
        if (notification.code == kNotifyClick)
            *result = kResultEnd;
        break;
    case kControlHelp:
        if (notification.code == kNotifyClick)
            ShowAddinHelp(m_language.ChosenLanguage(), m_kind.helpTopic);
        break;
    case kRecalculate:
        if (notification.code == kNotifyClick) {
            if (m_document != nullptr)
                m_document->RemoveTemporaries(1, 1, kRecalculateKey);
            if (ReadBack())
                Recompute();
            if (m_document != nullptr)
                m_document->Redraw();
            ResetProgress();
        }
        break;
    case kToolNames:
        if (notification.code == kNotifySelectionChange && m_toolNames != nullptr) {
            int count = 0;
            m_toolNames->GetCount(&count);
            if (count <= 0)
                break;
            int selected = -1;
            m_toolNames->GetCurSel(&selected);
            char name[kControlTextBufferSize] = {};
            if (selected >= 0)
                m_toolNames->GetLBText(selected, name, nullptr);
            ChooseTool(selected >= 0 ? name : nullptr);
        }
        break;
    default:
        break;
    }
}

void CMillingFeatureCommandBase::Preview(IGraphicsContext* context) const
{
    if (context == nullptr || m_feature == nullptr)
        return;
    context->SetColor(kPreviewColour);
    context->SetLineWidth(1);
    const std::vector<CMove>& moves = m_feature->Moves();
    for (size_t i = 0; i < moves.size(); ++i) {
        if (i == 0 || moves[i].flag != moves[i - 1].flag)
            context->SetLineStyle(IsFeedMove(moves[i].flag) ? 0 : 2, 1);
        if (moves[i].entity)
            moves[i].entity->Draw(context);
    }
}

CPocketMillingCommand::CPocketMillingCommand() : CAddinCommandObject(kPocket) {}

std::unique_ptr<CMillingFeature> CPocketMillingCommand::NewFeature() const
{
    return std::make_unique<CPocketFeature>();
}

Status CPocketMillingCommand::Compute(CMillingFeature& feature, ISelectionSet* picked, const CMillingParams& params,
                                      IHostDocument* document, CToolpathProgressBar* progress)
{
    return static_cast<CPocketFeature&>(feature).GenerateToolpath(picked, params, document, progress);
}

CContourMillingCommand::CContourMillingCommand() : CAddinCommandObject(kContour) {}

std::unique_ptr<CMillingFeature> CContourMillingCommand::NewFeature() const
{
    return std::make_unique<CContourFeature>();
}

Status CContourMillingCommand::Compute(CMillingFeature& feature, ISelectionSet* picked, const CMillingParams& params,
                                       IHostDocument* document, CToolpathProgressBar* progress)
{
    return static_cast<CContourFeature&>(feature).ComputeToolpath(picked, params, document, progress);
}

CCurveMillingCommand::CCurveMillingCommand() : CAddinCommandObject(kCurve) {}

std::unique_ptr<CMillingFeature> CCurveMillingCommand::NewFeature() const
{
    return std::make_unique<CCurveFeature>();
}

Status CCurveMillingCommand::Compute(CMillingFeature& feature, ISelectionSet* picked, const CMillingParams& params,
                                     IHostDocument* document, CToolpathProgressBar*)
{
    return static_cast<CCurveFeature&>(feature).ComputeToolpath(picked, params, document);
}
