// CToolStoreDialog: the tool store dialog. It edits its own copy of the
// store (read when it opens); OK writes the copy to the store file and
// closes, or, when the file cannot be written, says so and stays open with
// the edits; Cancel drops them.
#pragma once

#include <string>

#include "addins/milling/core/tool_store.h"
#include "platform/framework/dialog.h"

class CMillingAddin;

// What Add, Insert and Modify check before they change the list.
enum class ToolNameCheck { Unique, Any };
// Why the values were refused; Ok when they pass.
enum class ToolCheck { Ok, NoName, NameTooLong, NoDiameter, NegativeRadius, RadiusTooLarge, RadiusNotBelowCut,
                       CutLongerThanTool, NameTaken };
ToolCheck CheckToolValues(const CToolRecord& tool, const CToolList& list, ToolNameCheck names);

class CToolStoreDialog final : public CDialog {
public:
    // The store is read from and written to `path`.
    CToolStoreDialog(CMillingAddin* addin, const std::string& path, CWnd* parent = nullptr);

    // The list as the dialog holds it (tests).
    const CToolList& Tools() const { return m_tools; }
    // What the last OK said when the store could not be written.
    const std::string& LastError() const { return m_lastError; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    // WM_HELP opens the dialog's topic, then goes on as usual. While the
    // dialog lives, F1 on any of its windows becomes its WM_HELP (the window
    // system sends none of its own): a message filter of the modal loop.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnAddTool();
    void OnInsertTool();
    void OnRemoveTool();
    void OnModifyTool();
    void OnSelectTool();
    void OnHelpButton();

    // The edit values as a record; `keep` gives the type kept when none is
    // chosen.
    CToolRecord EditedTool(int keepType) const;
    void ShowTool(const CToolRecord& tool);
    // Reads the controls; false when a number did not read.
    bool ReadControls();
    int SelectedIndex() const;
    LRESULT ListMessage(UINT message, WPARAM wParam, LPARAM lParam) const;

    CMillingAddin* m_addin;
    std::string m_path;
    CToolList m_tools;
    CString m_name;
    int m_type = -1;
    // The ten numbers by slot: vertical step, radial step, spindle, plunge,
    // feed, angle, radius, cut length, length, diameter.
    double m_values[10] = {};
    CString m_labels[12];
    std::string m_lastError;

    DECLARE_MESSAGE_MAP()
};
