// CMillingOperationBase and CMillingOperation: features, names and the
// origin marker.
#include "addins/milling/core/milling_operation.h"

#include <cstdio>

#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_job.h"
#include "addins/milling/core/origin_triad.h"
#include "icontrols.h"
#include "ientity.h"
#include "platform/controls/commctrl.h"
#include "ipostprocessor.h"

namespace {

constexpr uint32_t kOriginMarkerColour = 0xC4C4C4;

} // namespace

void CMillingOperationBase::AddFeature(std::unique_ptr<CMillingFeature> feature)
{
    if (feature != nullptr)
        m_features.push_back(std::move(feature));
}

void CMillingOperationBase::Draw(IGraphicsContext* context) const
{
    for (const auto& feature : m_features)
        feature->Draw(context);
}

CMillingOperation::CMillingOperation(const CMovePoint& origin, bool invertedZ)
    : m_invertedZ(invertedZ ? 1 : 0), m_origin(origin)
{
}

CMillingOperation::CMillingOperation(IPostprocessor* postprocessor, const std::string& name,
                                     const CMovePoint& origin, bool invertedZ)
    : m_invertedZ(invertedZ ? 1 : 0), m_origin(origin)
{
    m_postprocessor = postprocessor;
    m_name = name;
}

void CMillingOperation::AddFeature(std::unique_ptr<CMillingFeature> feature)
{
    if (feature == nullptr)
        return;
    IHostApplication* host = nullptr;
    m_addin = CMillingAddin::FromDocument(GetHostDocument(), &host);
    LoadAddinLanguage(host, m_language);
    if (feature->m_name.empty()) {
        const std::string base = m_addin != nullptr ? m_addin->Language().GetStaticText(30003, "Phase")
                                                    : m_language.GetStaticText(30003, "Phase");
        for (long n = 1;; ++n) {
            char suffix[32];
            std::snprintf(suffix, sizeof suffix, " %ld", n);
            const std::string name = base + suffix;
            bool taken = false;
            for (const auto& existing : m_features)
                taken = taken || existing->m_name == name;
            if (!taken) {
                feature->m_name = name;
                break;
            }
        }
    }
    CMillingFeature* added = feature.get();
    CMillingOperationBase::AddFeature(std::move(feature));
    ITreeControl* tree = m_job != nullptr ? m_job->FeaturesTree() : nullptr;
    if (tree != nullptr && m_treeItem != nullptr) {
        HTREEITEM item = nullptr;
        tree->InsertItem(added->m_name.c_str(), m_treeItem, TVI_LAST, &item);
        tree->Expand(m_treeItem, TVE_EXPAND);
        m_featureItems[added] = item;
    }
}

HTREEITEM CMillingOperation::FeatureTreeItem(const CMillingFeature* feature) const
{
    const auto found = m_featureItems.find(feature);
    return found != m_featureItems.end() ? found->second : nullptr;
}

void CMillingOperation::RemoveFeature(long index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_features.size())
        return;
    const CMillingFeature* feature = m_features[static_cast<size_t>(index)].get();
    ITreeControl* tree = m_job != nullptr ? m_job->FeaturesTree() : nullptr;
    if (HTREEITEM item = FeatureTreeItem(feature); item != nullptr && tree != nullptr)
        tree->DeleteItem(item);
    m_featureItems.erase(feature);
    m_features.erase(m_features.begin() + index);
}

IHostDocument* CMillingOperation::GetHostDocument() const
{
    return m_job != nullptr ? m_job->GetDocument() : nullptr;
}

std::string CMillingOperation::MachineNameForRecord() const
{
    if (m_postprocessor == nullptr)
        return m_machineName;
    char buffer[1024] = {};
    if (FAILED(m_postprocessor->GetName(buffer)))
        return m_machineName;
    buffer[sizeof buffer - 1] = '\0';
    return buffer;
}

void CMillingOperation::Draw(IGraphicsContext* context) const
{
    if (context == nullptr)
        return;
    DrawOriginTriad(context, m_origin, m_invertedZ != 0, kOriginMarkerColour);
    CMillingOperationBase::Draw(context);
}
