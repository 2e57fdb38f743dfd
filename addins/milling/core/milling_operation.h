// CMillingOperationBase and CMillingOperation: one operation (phase) of the
// document's milling job: a name, a machine (a postprocessor of a plug-in),
// an origin, the "Inverted Z" switch and the ordered milling features with
// their toolpaths. The job owns its operations; an operation owns its
// features.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "addins/milling/core/language_table.h"
#include "addins/milling/features/millingfeature.h"
#include "platform/base/types.h"

class CMillingJob;
class CMillingAddin;
struct IGraphicsContext;
struct IHostDocument;
struct IPostprocessor;

class CMillingOperationBase {
public:
    CMillingOperationBase() = default;
    virtual ~CMillingOperationBase() = default;
    CMillingOperationBase(const CMillingOperationBase&) = delete;
    CMillingOperationBase& operator=(const CMillingOperationBase&) = delete;

    const std::string& GetName() const { return m_name; }
    // Appends the feature, which the operation owns from then on, and links
    // it to this operation.
    virtual void AddFeature(std::unique_ptr<CMillingFeature> feature);
    // Each feature draws itself, in order.
    virtual void Draw(IGraphicsContext* context) const;

    size_t GetFeatureCount() const { return m_features.size(); }
    CMillingFeature* GetFeature(size_t index) const
    {
        return index < m_features.size() ? m_features[index].get() : nullptr;
    }
    // Borrowed from the add-in; null when the operation has no machine.
    IPostprocessor* m_postprocessor = nullptr;
    std::vector<std::unique_ptr<CMillingFeature>> m_features;
    std::string m_name;
    CMillingJob* m_job = nullptr;
};

class CMillingOperation : public CMillingOperationBase {
public:
    // No machine, an empty name.
    CMillingOperation(const CMovePoint& origin, bool invertedZ);
    // With a machine; an empty name lets the job name the operation.
    CMillingOperation(IPostprocessor* postprocessor, const std::string& name, const CMovePoint& origin,
                      bool invertedZ);

    // Names an unnamed feature "Phase n" (the least n no feature of this
    // operation has), then appends it.
    void AddFeature(std::unique_ptr<CMillingFeature> feature) override;
    // The origin marker, then the features.
    void Draw(IGraphicsContext* context) const override;
    // Within range: the feature's tree item and the feature go.
    void RemoveFeature(long index);
    // The feature's item in the Features tree; null when it has none.
    HTREEITEM FeatureTreeItem(const CMillingFeature* feature) const;
    // The job's document; null while the operation has no job.
    IHostDocument* GetHostDocument() const;

    // The machine name to write into the record: the postprocessor's
    // display name, or empty without a machine.
    std::string MachineNameForRecord() const;

    CLanguageTable m_language;
    CMillingAddin* m_addin = nullptr;
    // The postprocessor name read from a stored record, used to find the
    // postprocessor again once the plug-ins are loaded.
    std::string m_machineName;
    HTREEITEM m_treeItem = nullptr;
    std::map<const CMillingFeature*, HTREEITEM> m_featureItems;
    int32_t m_invertedZ = 0;
    CMovePoint m_origin;
};
