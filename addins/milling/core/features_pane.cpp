// CFeaturesPane: the Features tree and its popup actions.
#include "addins/milling/core/features_pane.h"

#include "addins/milling/core/command_events.h"
#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_job.h"
#include "icontrols.h"
#include "ihost.h"
#include "platform/controls/commctrl.h"

namespace {

constexpr LONG kEventTree = 0x2000000;
constexpr LONG kEventPopupItem = 0x8000000;
// A right click counts only on an item's icon, label or state icon.
constexpr UINT kHitOnItem = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
constexpr LONG kMenuSeparator = 0x800;

} // namespace

std::string CFeaturesPane::FeatureLabel(const CMillingFeature& feature)
{
    return feature.GetLabel(m_language.GetStaticText(30006, "Hidden"));
}

HRESULT CFeaturesPane::Create(IHostDocument* document, LONG, LONG_PTR context)
{
    m_document = document;
    m_tree = reinterpret_cast<ITreeControl*>(context);
    if (document == nullptr)
        return S_OK;
    m_addin = AddinWithLanguage(document, m_language);
    m_job = FindMillingJob(document);
    if (m_job == nullptr || m_tree == nullptr)
        return S_OK;

    m_tree->InsertItem(m_language.GetStaticText(20019, "Milling 2.5D"), TVI_ROOT, TVI_LAST, &m_rootItem);
    m_job->SetFeaturesTree(m_tree, m_rootItem);
    for (long i = 0; i < m_job->GetOperationCount(); ++i) {
        CMillingOperation& operation = *m_job->GetOperation(i);
        HTREEITEM operationItem = nullptr;
        m_tree->InsertItem(operation.GetName().c_str(), m_rootItem, TVI_LAST, &operationItem);
        operation.m_treeItem = operationItem;
        operation.m_featureItems.clear();
        for (size_t j = 0; j < operation.GetFeatureCount(); ++j) {
            CMillingFeature* feature = operation.GetFeature(j);
            HTREEITEM featureItem = nullptr;
            m_tree->InsertItem(FeatureLabel(*feature).c_str(), operationItem, TVI_LAST, &featureItem);
            operation.m_featureItems[feature] = featureItem;
        }
        if (i == m_job->GetActiveOperation()) {
            m_tree->Expand(m_rootItem, TVE_EXPAND);
            m_tree->SetItemState(operationItem, TVIS_BOLD, TVIS_BOLD);
            m_tree->Expand(operationItem, TVE_EXPAND);
        }
    }
    return S_OK;
}

HRESULT CFeaturesPane::OnEvent(LONG event, void* value, LONG, LONG, LONG* result)
{
    if (result != nullptr)
        *result = 0;
    if (value == nullptr || m_job == nullptr || m_tree == nullptr || m_document == nullptr)
        return S_OK;
    if (event == kEventTree) {
        const auto* record = static_cast<const TreeEventRecord*>(value);
        if (record->code == kTreeEventRightClick && record->data != nullptr)
            OnRightClick(*static_cast<const POINT*>(record->data));
    } else if (event == kEventPopupItem) {
        OnPopupItem(*static_cast<const uint32_t*>(value));
    }
    return S_OK;
}

void CFeaturesPane::OnRightClick(const POINT& point)
{
    UINT flags = 0;
    HTREEITEM item = nullptr;
    if (FAILED(m_tree->HitTest(point.x, point.y, &flags, &item)) || (flags & kHitOnItem) == 0 || item == nullptr)
        return;
    if (!m_job->FindTreeItem(item, &m_operationIndex, &m_featureIndex) || m_operationIndex < 0)
        return;
    LONG x = point.x;
    LONG y = point.y;
    m_tree->ClientToScreen(point.x, point.y, &x, &y);
    m_document->CreatePopupMenu();
    if (m_featureIndex < 0) {
        m_document->AddPopupMenuItem(this, 0, kFeaturesItemSetActive, m_language.GetStaticText(20040, "Set Active"));
        m_document->AddPopupMenuItem(this, kMenuSeparator, 0, "");
        m_document->AddPopupMenuItem(this, 0, kFeaturesItemDeleteOperation, m_language.GetStaticText(20041, "Delete"));
    } else {
        const CMillingFeature* feature =
            m_job->GetOperation(m_operationIndex)->GetFeature(static_cast<size_t>(m_featureIndex));
        if (feature->m_hidden != 0)
            m_document->AddPopupMenuItem(this, 0, kFeaturesItemShow, m_language.GetStaticText(30005, "Show"));
        else
            m_document->AddPopupMenuItem(this, 0, kFeaturesItemHide, m_language.GetStaticText(30004, "Hide"));
        m_document->AddPopupMenuItem(this, kMenuSeparator, 0, "");
        m_document->AddPopupMenuItem(this, 0, kFeaturesItemDeleteFeature, m_language.GetStaticText(20041, "Delete"));
    }
    m_document->TrackPopupMenu(0, x, y);
}

void CFeaturesPane::OnPopupItem(uint32_t item)
{
    // The indices are those of the last right click; the job may have
    // changed since, so each action looks its object up again.
    CMillingOperation* operation = m_job->GetOperation(m_operationIndex);
    if (operation == nullptr)
        return;
    CMillingFeature* feature =
        m_featureIndex >= 0 ? operation->GetFeature(static_cast<size_t>(m_featureIndex)) : nullptr;
    switch (item) {
    case kFeaturesItemSetActive:
        if (m_featureIndex >= 0)
            return;
        m_job->SetActiveOperation(m_operationIndex);
        break;
    case kFeaturesItemDeleteOperation:
        if (m_featureIndex >= 0)
            return;
        m_job->DeleteOperation(m_operationIndex);
        m_operationIndex = -1;
        break;
    case kFeaturesItemHide:
    case kFeaturesItemShow:
        if (feature == nullptr)
            return;
        feature->SetVisible(item == kFeaturesItemShow);
        if (HTREEITEM featureItem = operation->FeatureTreeItem(feature); featureItem != nullptr)
            m_tree->SetItemText(featureItem, FeatureLabel(*feature).c_str());
        break;
    case kFeaturesItemDeleteFeature:
        if (feature == nullptr)
            return;
        operation->RemoveFeature(m_featureIndex);
        m_featureIndex = -1;
        m_job->UpdateNcCodePane();
        break;
    default:
        return;
    }
    m_document->Redraw();
}
