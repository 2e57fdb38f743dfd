// CSelectionInfo: the handler of the input made while no command runs. It
// keeps its own list of the picked objects and shows in a panel on the
// "Properties" page how many objects are picked, how many closed and how
// many open contours their curves form and their total length, and draws
// the contours it found in the view. The host makes it once, through the
// class factory, on the first pick at the root level.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "addins/milling/core/command_object.h"
#include "addins/milling/core/language_table.h"
#include "addins/milling/core/strimo_ids.h"
#include "ientity.h"
#include "objectmodel/selection_set_object.h"

class CMillingAddin;
class CCurveList;
struct IControlPanel;
struct ISelectionSet;

// The value fields of the panel.
enum SelectionInfoField : LONG {
    kSelectionInfoCount = 102,
    kSelectionInfoClosed = 103,
    kSelectionInfoOpen = 104,
    kSelectionInfoLength = 105,
};

// What the curves of a selection form.
struct SelectionContours {
    long closed = 0; // closed and not crossing themselves
    long open = 0;   // open, or crossing themselves
    double length = 0.0;
};
// Counts and measures chains: a chain counts as closed when its end meets
// its start and it does not cross itself, else as open.
SelectionContours MeasureContours(const std::vector<std::unique_ptr<CCurveList>>& chains);

class CSelectionInfo final : public CAddinCommandObject<CLSID_SelectionInfoHandler> {
public:
    CSelectionInfo() = default;

    // Builds the panel for the document (once per document: the host calls
    // this before every pick it passes on) and shows it. S_OK.
    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) override;
    // Start, picks, points, draw, cancel and accept; see the .cpp.
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result) override;

    const CSelectionSetObject& Selection() const { return m_selection; }
    size_t PreviewCount() const { return m_preview.size(); }

private:
    // Counts, chains and measures the list into the fields and the
    // preview.
    void Recompute();
    void SetField(LONG id, const std::string& text);
    void ShowContours(const SelectionContours& contours);

    IHostDocument* m_document = nullptr;
    IHostApplication* m_host = nullptr;
    CMillingAddin* m_addin = nullptr;
    CLanguageTable m_language;
    IControlPanel* m_panel = nullptr;
    CSelectionSetObject m_selection;
    std::vector<ComPtr<IEntityBase>> m_preview;
};
