// CPostprocessorSettingsDlg: the machine settings dialog. It edits the
// add-in's machine list in place (Add, Insert, Remove, Modify, the three
// output switches of the chosen machine); OK makes the chosen machine the
// current one and writes the list to the machine store, or, when the file
// cannot be written, says so and stays open with every edit. Cancel writes
// nothing (the list in memory keeps the edits until it is read again).
#pragma once

#include <string>

#include "addins/milling/features/postprocessorlist.h"
#include "platform/framework/dialog.h"

class CMillingAddin;

// What Add and Insert (unique) and Modify (any) ask of a machine name.
enum class MachineNameCheck { Unique, Any };
// An empty name is invalid; with Unique, so is a name that an entry of the
// list already has (exact comparison, so letter case counts). A name the
// store cannot hold (too long, a line break) is invalid as well, so OK never
// meets a list it cannot write.
bool IsValidMachineName(const std::string& name, const CPostprocessorList& list, MachineNameCheck check);

class CPostprocessorSettingsDlg final : public CDialog {
public:
    // `current` receives the chosen machine's index at OK (-1: none); it
    // also gives the machine selected when the dialog opens. The list is
    // the add-in's (a list of the dialog's own without an add-in); it is
    // read from and written to `storePath`.
    CPostprocessorSettingsDlg(long* current, CMillingAddin* addin, const std::string& storePath,
                              CWnd* parent = nullptr);

    const CPostprocessorList& Machines() const { return *m_machines; }
    // What the last OK said when the store could not be written.
    const std::string& LastError() const { return m_lastError; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

private:
    void OnAdd();
    void OnInsert();
    void OnRemove();
    void OnModify();
    void OnHelpButton();
    void OnSelectMachine();

    void ShowMachine(const CPostprocessorSettings& machine);
    CPostprocessorSettings EditedMachine() const;
    int SelectedIndex() const;
    LRESULT ComboMessage(UINT message, WPARAM wParam, LPARAM lParam) const;

    CMillingAddin* m_addin;
    std::string m_storePath;
    long* m_current;
    CPostprocessorList m_ownMachines;
    CPostprocessorList* m_machines;
    CString m_name;
    CString m_nameLabel;
    CString m_listLabel;
    int m_modal = 0;
    int m_separator = 0;
    int m_lineNumbers = 0;
    std::string m_lastError;

    DECLARE_MESSAGE_MAP()
};
