// CFeaturesPane: the pane object of the "Features" page of the pane group
// "Workshop". It shows the document's milling job as a tree: a root item,
// one item per operation (the active one bold) with one item per feature
// under it, and offers on a right click "Set Active" and "Delete" for an
// operation, "Show" or "Hide" and "Delete" for a feature. Operations and
// features added later get their items from the job and the operations
// themselves; the pane builds the tree once, in Create.
#pragma once

#include "addins/milling/core/command_object.h"
#include "addins/milling/core/language_table.h"
#include "addins/milling/core/strimo_ids.h"
#include "platform/base/types.h"

#include <string>

class CMillingAddin;
class CMillingFeature;
class CMillingJob;
struct ITreeControl;

// The popup items of the pane, as the host hands them back.
enum FeaturesPaneItem : uint32_t {
    kFeaturesItemSetActive = 0,
    kFeaturesItemDeleteOperation = 1,
    kFeaturesItemHide = 101,
    kFeaturesItemShow = 102,
    kFeaturesItemDeleteFeature = 103,
};

class CFeaturesPane final : public CAddinCommandObject<CLSID_FeaturesPane> {
public:
    CFeaturesPane() = default;

    // `context` is the page's tree (ITreeControl*). Fills the tree with the
    // job's operations and features and tells the job its tree. S_OK, also
    // without a document or a tree (then nothing is shown).
    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) override;
    // Handles a right click of the tree (event 0x2000000) and a chosen popup
    // item (0x8000000); result 0 for every event.
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result) override;

    HTREEITEM RootItem() const { return m_rootItem; }

private:
    void OnRightClick(const POINT& point);
    void OnPopupItem(uint32_t item);
    // The feature's tree label: its name, with " <Hidden>" when hidden.
    std::string FeatureLabel(const CMillingFeature& feature);

    CLanguageTable m_language;
    CMillingJob* m_job = nullptr;
    HTREEITEM m_rootItem = nullptr;
    long m_featureIndex = -1;
    long m_operationIndex = -1;
    CMillingAddin* m_addin = nullptr;
    ITreeControl* m_tree = nullptr;
    IHostDocument* m_document = nullptr;
};
