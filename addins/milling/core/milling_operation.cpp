// CMillingOperationBase and CMillingOperation: features, names and the
// origin marker.
#include "addins/milling/core/milling_operation.h"

#include <cstdio>

#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_job.h"
#include "ientity.h"
#include "ipostprocessor.h"
#include "objectmodel/vector3.h"

namespace {

// The marker's look: grey axes 50 pixels long with barbs from 40 pixels
// out, 4 pixels off the axis, whatever the zoom.
constexpr uint32_t kOriginMarkerColour = 0xC4C4C4;
constexpr double kAxisLength = 50.0;
constexpr double kBarbStart = 40.0;
constexpr double kBarbOffset = 4.0;

CVector3 At(const CMovePoint& origin, const double (&offset)[3])
{
    return CVector3(origin.x + offset[0], origin.y + offset[1], origin.z + offset[2]);
}

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
    IHostDocument* document = GetHostDocument();
    IHostApplication* host = nullptr;
    if (document != nullptr)
        document->GetApplication(&host);
    m_addin = CMillingAddin::FromHost(host);
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
    CMillingOperationBase::AddFeature(std::move(feature));
}

void CMillingOperation::RemoveFeature(long index)
{
    if (index >= 0 && static_cast<size_t>(index) < m_features.size())
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
    double scale = 1.0;
    context->GetScale(&scale);
    const double k = scale > 0.0 ? 2.0 * scale : 2.0;
    context->SetLineStyle(0, 0);
    context->SetLineWidth(1);
    const double zSign = m_invertedZ != 0 ? -1.0 : 1.0;
    // The axes drawn straight in document coordinates: X, Y and Z (down
    // with Inverted Z), each a shaft and four barbs toward its tip.
    const double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, zSign}};
    for (int a = 0; a < 3; ++a) {
        context->SetColor(kOriginMarkerColour);
        double tip[3], base[3];
        for (int c = 0; c < 3; ++c) {
            tip[c] = axes[a][c] * kAxisLength / k;
            base[c] = axes[a][c] * kBarbStart / k;
        }
        CVector3 origin = At(m_origin, {0, 0, 0});
        CVector3 tipPoint = At(m_origin, tip);
        context->DrawLine(&origin, &tipPoint);
        for (int other = 0; other < 3; ++other) {
            if (other == a)
                continue;
            for (double sign : {1.0, -1.0}) {
                double barb[3] = {base[0], base[1], base[2]};
                barb[other] += sign * kBarbOffset / k;
                CVector3 from = At(m_origin, barb);
                context->DrawLine(&from, &tipPoint);
            }
        }
    }
    CMillingOperationBase::Draw(context);
}
