// CMillingFeatureCommand and its three commands, pocket milling (103),
// contour milling (102) and curve milling (100): a parameter panel, an
// empty feature of the command's kind, the tools of the tool store, and
// curves picked and unpicked in the view. After each change of the picks
// (and on "Recalculate") the panel is read back and, when the parameters
// are valid, the feature's toolpath is computed and drawn as a preview.
// Accepting hands the feature to the job's active operation. Without an
// active operation the command first runs "Add Milling 2.5D Operation" as
// a child command. A toolpath that cannot be made is never accepted: its
// error stays on the prompt while the person changes picks or parameters,
// and an accept without a toolpath says why in a message box and keeps the
// command running.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "addins/milling/core/command_object.h"
#include "addins/milling/core/feature_parameters.h"
#include "addins/milling/core/language_table.h"
#include "addins/milling/core/strimo_ids.h"
#include "addins/milling/core/tool_store.h"
#include "addins/milling/features/millingfeature.h"
#include "addins/milling/features/toolpathprogress.h"
#include "icontrols.h"
#include "objectmodel/selection_set_object.h"

class CMillingAddin;
class CMillingJob;
class CProgressCtrl;

// What sets the three commands apart.
struct FeatureCommandKind {
    long commandNumber;
    int pictureBitmap;
    LONG pictureId;
    LONG titleId;
    long titleText;
    const char* titleDefault;
    long groupText;
    const char* groupDefault;
    bool hasOutside;
    bool hasRadialStep;
    int toolGroupBottom;
    int gapBeforeRecalculate;
    const char* helpTopic;
    bool usesProgress;
    // The caption of the command's message boxes.
    const char* commandName;
};

// The host's status-bar progress control as the toolpath computations
// drive it.
class CHostProgressBar final : public CToolpathProgressBar {
public:
    explicit CHostProgressBar(CProgressCtrl* control) : m_control(control) {}
    void GetRange(int& lower, int& upper) override;
    void DeltaPos(int delta) override;
    void Reset();

private:
    CProgressCtrl* m_control;
};

class CMillingFeatureCommandBase : public IAddinCommand {
public:
    virtual ~CMillingFeatureCommandBase();

    // Events as the command engine sends them; see the .cpp for each.
    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) override;
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result) override;

    // For tests: the state a person sees.
    CMillingFeature* Feature() const { return m_feature.get(); }
    const CMillingParams& Parameters() const { return m_params; }
    ToolChoice Tool() const { return m_toolChosen; }
    const CSelectionSetObject& Picked() const { return m_picked; }
    int Computations() const { return m_computations; }
    // The error of the last computation; none after a toolpath was made.
    const std::optional<Error>& ToolpathError() const { return m_toolpathError; }

protected:
    explicit CMillingFeatureCommandBase(const FeatureCommandKind& kind);
    virtual std::unique_ptr<CMillingFeature> NewFeature() const = 0;
    // The feature's toolpath from the picks; the feature replaces its moves.
    // Returns the feature's error when no toolpath could be made.
    virtual Status Compute(CMillingFeature& feature, ISelectionSet* picked, const CMillingParams& params,
                         IHostDocument* document, CToolpathProgressBar* progress) = 0;

private:
    void BuildPanel();
    void FillToolList(bool keepChoice);
    void ChooseTool(const char* name);
    void ShowToolValues(bool enable);
    // Reads the panel into the parameters; true when they are valid.
    bool ReadBack();
    void Recompute();
    // The prompt shows the last computation's error while curves are
    // picked, and the plain pick prompt otherwise.
    void ShowToolpathState();
    // Hands the feature on; false (having told the person why) when there
    // is no toolpath or no operation to take it.
    bool Accept();
    void OnPick(void* value, LONG final);
    void OnControl(const void* value, LONG* result);
    void Preview(IGraphicsContext* context) const;
    void ResetProgress();
    IEditControl* Edit(LONG id) const;

    const FeatureCommandKind& m_kind;
    CHostProgressBar m_progress{nullptr};
    CLanguageTable m_language;
    IStaticControl* m_picture = nullptr;
    HBITMAP m_pictureBitmap = nullptr;
    std::unique_ptr<CMillingFeature> m_feature;
    IComboBoxControl* m_toolNames = nullptr;
    CToolList m_tools;
    ToolChoice m_toolChosen = ToolChoice::None;
    CMillingParams m_params;
    CSelectionSetObject m_picked;
    IControlPanel* m_panel = nullptr;
    CMillingAddin* m_addin = nullptr;
    CMillingJob* m_job = nullptr;
    IHostDocument* m_document = nullptr;
    int m_computations = 0;
    std::optional<Error> m_toolpathError;
};

class CPocketMillingCommand final : public CAddinCommandObject<CLSID_PocketMillingCommand, CMillingFeatureCommandBase> {
public:
    CPocketMillingCommand();

private:
    std::unique_ptr<CMillingFeature> NewFeature() const override;
    Status Compute(CMillingFeature& feature, ISelectionSet* picked, const CMillingParams& params,
                   IHostDocument* document, CToolpathProgressBar* progress) override;
};

class CContourMillingCommand final : public CAddinCommandObject<CLSID_ContourMillingCommand, CMillingFeatureCommandBase> {
public:
    CContourMillingCommand();

private:
    std::unique_ptr<CMillingFeature> NewFeature() const override;
    Status Compute(CMillingFeature& feature, ISelectionSet* picked, const CMillingParams& params,
                   IHostDocument* document, CToolpathProgressBar* progress) override;
};

class CCurveMillingCommand final : public CAddinCommandObject<CLSID_CurveMillingCommand, CMillingFeatureCommandBase> {
public:
    CCurveMillingCommand();

private:
    std::unique_ptr<CMillingFeature> NewFeature() const override;
    Status Compute(CMillingFeature& feature, ISelectionSet* picked, const CMillingParams& params,
                   IHostDocument* document, CToolpathProgressBar* progress) override;
};
