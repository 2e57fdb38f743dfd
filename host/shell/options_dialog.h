// COptionsDialog: the dialog of "&Options..." that lets the person choose
// the language of the program's texts among the language table's display
// names (LNAME). It changes nothing itself: on OK the chosen display name
// is left in m_language for the caller to store.
#pragma once

#include "platform/framework/ctrls.h"
#include "platform/framework/dialog.h"

class CLanguageTable;

inline constexpr UINT kOptionsDialog = 130;
inline constexpr int kOptionsLanguageList = 1001;
inline constexpr int kOptionsLanguageGroup = 1004;

// Language-table texts of the dialog and their English defaults.
inline constexpr LONG kTextOkButton = 30000;
inline constexpr const char* kDefaultOkButton = "OK";
inline constexpr LONG kTextOptionsCancel = 30001;
inline constexpr const char* kDefaultOptionsCancel = "Cancel";
inline constexpr LONG kTextLanguageGroup = 20002;
inline constexpr const char* kDefaultLanguageGroup = "Language";

class COptionsDialog : public CDialog {
public:
    // `texts`: the program's language table, whose display names are
    // offered and whose chosen language is selected at first.
    COptionsDialog(CWnd* parent, CLanguageTable& texts);

    // The chosen language's display name: empty after construction; after
    // OK the selected entry's text (empty when nothing was selected).
    CString m_language;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    CComboBox m_list;
    CButton m_okButton;
    CButton m_languageGroup;
    CButton m_cancelButton;
    CLanguageTable& m_texts;
};
