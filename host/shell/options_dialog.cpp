// COptionsDialog: the language list and its texts.
#include "host/shell/options_dialog.h"

#include <string>

#include "host/shell/language_table.h"
#include "platform/framework/ddx.h"
#include "platform/user/dialog.h"

COptionsDialog::COptionsDialog(CWnd* parent, CLanguageTable& texts) : CDialog(kOptionsDialog, parent), m_texts(texts)
{
}

void COptionsDialog::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kOptionsLanguageList, m_list);
    DDX_Control(dx, IDOK, m_okButton);
    DDX_Control(dx, kOptionsLanguageGroup, m_languageGroup);
    DDX_Control(dx, IDCANCEL, m_cancelButton);
    // Loading selects the first entry that begins with the name (none when
    // no entry does); saving takes the selected entry's text.
    if (dx->m_bSaveAndValidate) {
        const int selected = m_list.GetCurSel();
        m_language.Empty();
        if (selected >= 0) {
            m_list.GetLBText(selected, m_language);
        }
    } else {
        m_list.SetCurSel(m_list.FindString(-1, m_language.GetString()));
    }
}

BOOL COptionsDialog::OnInitDialog()
{
    // The controls exist once the base class has exchanged them.
    CDialog::OnInitDialog();
    for (size_t i = 0; i < m_texts.GetLNameCount(); ++i) {
        const std::string name = m_texts.GetLNameTextAt(i);
        if (!name.empty()) {
            m_list.AddString(name.c_str());
        }
    }
    // The current language by its display name (its key when it has none).
    const std::string& chosen = m_texts.ChosenLanguage();
    m_language = m_texts.GetLNameText(chosen, chosen).c_str();
    m_okButton.SetWindowText(m_texts.GetStaticText(kTextOkButton, kDefaultOkButton));
    m_cancelButton.SetWindowText(m_texts.GetStaticText(kTextOptionsCancel, kDefaultOptionsCancel));
    m_languageGroup.SetWindowText(m_texts.GetStaticText(kTextLanguageGroup, kDefaultLanguageGroup));
    UpdateData(FALSE);
    return TRUE;
}
