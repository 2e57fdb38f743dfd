// CSelectionInfo: the selection information panel and its contours.
#include "addins/milling/core/selection_info.h"

#include <cstdint>
#include <cstdio>
#include <iterator>

#include "addins/milling/core/command_events.h"
#include "addins/milling/core/command_panel.h"
#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/pick_toggle.h"
#include "addins/milling/features/documentmoveentities.h"
#include "addins/milling/features/pickedcurves.h"
#include "addins/milling/geometry/curvelist.h"
#include "addins/milling/geometry/geomtol.h"
#include "addins/milling/geometry/segment2d.h"
#include "icontrols.h"
#include "ihost.h"

namespace {

// The tolerance of the geometry kernel while the picked curves are chained
// and measured (drawing units).
constexpr double kSelectionInfoTolerance = 0.0005;
constexpr uint32_t kContourColour = 0xFF8000;

constexpr DWORD kVisible = 0x10000000;
constexpr DWORD kGroupBox = 0x10000007;

const PanelControlRow kPanel[] = {
    {PanelControlKind::Button, 0, 20063, "Selected objects", kGroupBox, {5, 5, 165, 300}},
    {PanelControlKind::Static, 0, 20064, "Number: ", kVisible, {15, 25, 100, 40}},
    {PanelControlKind::Static, 0, 20065, "Closed contours: ", kVisible, {15, 45, 120, 60}},
    {PanelControlKind::Static, 0, 20066, "Opened contours: ", kVisible, {15, 65, 120, 80}},
    {PanelControlKind::Static, 0, 20067, "Length: ", kVisible, {15, 85, 120, 100}},
    {PanelControlKind::Static, kSelectionInfoCount, 0, "0", kVisible, {120, 25, 160, 40}},
    {PanelControlKind::Static, kSelectionInfoClosed, 0, "0", kVisible, {120, 45, 160, 60}},
    {PanelControlKind::Static, kSelectionInfoOpen, 0, "0", kVisible, {120, 65, 160, 80}},
    {PanelControlKind::Static, kSelectionInfoLength, 0, "0", kVisible, {120, 85, 160, 100}},
};

std::string Count(long value)
{
    char text[32];
    std::snprintf(text, sizeof text, "% ld", value);
    return text;
}

CMovePoint At(const CPoint2D& point) { return {point.x, point.y, 0.0}; }

} // namespace

SelectionContours MeasureContours(const std::vector<std::unique_ptr<CCurveList>>& chains)
{
    SelectionContours contours;
    for (const auto& chain : chains) {
        if (chain->IsClosed() != 0 && chain->SelfIntersections(nullptr) == 0)
            ++contours.closed;
        else
            ++contours.open;
        contours.length += chain->GetLength();
    }
    return contours;
}

HRESULT CSelectionInfo::Create(IHostDocument* document, LONG, LONG_PTR)
{
    if (document == nullptr)
        return S_OK;
    if (document == m_document && m_panel != nullptr) {
        m_panel->ShowAll();
        return S_OK;
    }
    m_document = document;
    m_addin = CMillingAddin::FromDocument(document, &m_host);
    LoadAddinLanguage(m_host, m_language);
    m_selection.RemoveAll();
    m_preview.clear();
    m_panel = nullptr;
    if (m_addin == nullptr)
        return S_OK;
    document->CreateControlPanel(m_addin->PaneGroup(), m_addin->PropertiesPage(), &m_panel);
    AddPanelControls(m_panel, m_language, kPanel, std::size(kPanel), [](size_t) {});
    document->ShowPane(m_addin->PaneGroup(), m_addin->PropertiesPage());
    if (m_panel != nullptr) {
        m_panel->ShowAll();
        m_panel->SetOwner(this);
    }
    return S_OK;
}

HRESULT CSelectionInfo::OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result)
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
    case kEventPickAdd:
    case kEventPick: {
        if (m_document == nullptr)
            break;
        ISelectionSet* picks = value != nullptr ? *static_cast<ISelectionSet**>(value) : nullptr;
        if ((kind & kTableCtrl) == 0)
            m_selection.RemoveAll();
        if (final != 0) {
            TogglePicks(m_selection, picks);
            if (m_selection.GetCount() == 0) {
                m_document->SetInputKinds(kInputPickToggle, kTablesAll);
                m_preview.clear();
            } else {
                m_document->SetInputKinds(kInputPickToggle, kTableCtrl);
                m_document->SetInputKinds(kInputPickAdd, kTableShift);
            }
        }
        SetField(kSelectionInfoCount, Count(m_selection.GetCount()));
        if (m_panel != nullptr)
            m_panel->EnableNotify(TRUE);
        Recompute();
        break;
    }
    case kEventPoint:
        if (m_document == nullptr)
            break;
        m_selection.RemoveAll();
        TogglePicks(m_selection, value != nullptr ? *static_cast<ISelectionSet**>(value) : nullptr);
        SetField(kSelectionInfoCount, Count(m_selection.GetCount()));
        Recompute();
        break;
    case kEventDraw: {
        IGraphicsContext* context = value != nullptr ? *static_cast<IGraphicsContext**>(value) : nullptr;
        if (context == nullptr || m_preview.empty())
            break;
        context->SetColor(kContourColour);
        context->SetLineWidth(1);
        for (const auto& entity : m_preview)
            entity->Draw(context);
        break;
    }
    case kEventCancel:
        for (LONG id : {kSelectionInfoCount, kSelectionInfoClosed, kSelectionInfoOpen, kSelectionInfoLength})
            SetField(id, "0");
        if (m_panel != nullptr)
            m_panel->EnableNotify(TRUE);
        m_selection.RemoveAll();
        m_preview.clear();
        *result = kResultEnd;
        break;
    case kEventAccept:
        m_preview.clear();
        *result = kResultCommit;
        break;
    default:
        break;
    }
    return S_OK;
}

void CSelectionInfo::Recompute()
{
    m_preview.clear();
    std::vector<std::unique_ptr<CCurveList>> chains;
    SelectionContours contours;
    if (m_selection.GetCount() > 0) {
        CGeometryToleranceScope tolerance(kSelectionInfoTolerance);
        CProgressSteps noProgress(nullptr);
        auto made = ChainPicks(&m_selection, m_document, noProgress);
        if (made.ok())
            chains = std::move(made.value());
        contours = MeasureContours(chains);
    }
    // The fields follow the selection: one without curves shows no
    // contours rather than those of an earlier one.
    ShowContours(contours);
    CDocumentMoveEntityFactory factory(m_document);
    for (const auto& chain : chains) {
        for (const auto& segment : chain->segments) {
            ComPtr<IEntityBase> entity;
            if (segment->GetType() == kSegmentTypeArc) {
                const auto& arc = static_cast<const CArcSegment2D&>(*segment);
                entity = factory.CreateArc(At(arc.centre), arc.ccw != 0 ? 1 : -1, At(arc.GetStartPoint()),
                                           At(arc.GetEndPoint()), arc.radius);
            } else {
                entity = factory.CreateLine(At(segment->GetStartPoint()), At(segment->GetEndPoint()));
            }
            if (entity)
                m_preview.push_back(std::move(entity));
        }
    }
}

void CSelectionInfo::ShowContours(const SelectionContours& contours)
{
    SetField(kSelectionInfoClosed, Count(contours.closed));
    SetField(kSelectionInfoOpen, Count(contours.open));
    SetField(kSelectionInfoLength, FormatPanelNumber(contours.length));
}

void CSelectionInfo::SetField(LONG id, const std::string& text)
{
    if (auto* field = PanelControl<IStaticControl>(m_panel, id, IID_IStaticControl))
        field->SetText(text.c_str());
}
