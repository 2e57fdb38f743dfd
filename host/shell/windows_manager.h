// CWindowsManager: the save-changes dialog that the program shows when its
// main window closes while drawings are modified. It lists the modified
// document windows by title and lets the person save them all, drop their
// changes ("No") or keep the program running ("Cancel"). Its decision is the
// host's save-all result: non-zero lets the program close.
//
// Nothing of a document is released here: the documents close (and let go
// of their objects) only after the closing is certain, through the
// framework's close of every document.
#pragma once

#include "platform/framework/ctrls.h"
#include "platform/framework/dialog.h"

class CAddinHost;
class CDocument;
class CMDIFrameWnd;

// The dialog template and its controls.
inline constexpr UINT kWindowsManagerDialog = 167;
inline constexpr int kWindowsManagerList = 1014;
inline constexpr int kWindowsManagerLabel = 1016;
inline constexpr int kWindowsManagerSave = 1015;
inline constexpr int kWindowsManagerNo = 1012;

// Language-table texts of the dialog and their English defaults.
inline constexpr LONG kTextSaveChangesLabel = 20012;
inline constexpr const char* kDefaultSaveChangesLabel = "Save changes to the following items?";
inline constexpr LONG kTextSaveButton = 20013;
inline constexpr const char* kDefaultSaveButton = "Save";
inline constexpr LONG kTextNoButton = 30002;
inline constexpr const char* kDefaultNoButton = "No";
inline constexpr LONG kTextCancelButton = 30001;
inline constexpr const char* kDefaultCancelButton = "Cancel";
// Shown by Save for a document whose command still runs.
inline constexpr const char* kSaveActiveCommandWarning = "WARNING!! Active command! Press Esc or right click to exit";

class CWindowsManager : public CDialog {
    DECLARE_DYNAMIC(CWindowsManager)
public:
    // The documents are those of `frame`'s MDI children; the decision goes
    // into `host`'s save-all result.
    CWindowsManager(CWnd* parent, CAddinHost& host, CMDIFrameWnd* frame);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // Cancel keeps the program running, whatever was saved before.
    void OnCancel() override;
    void OnDrawItem(int id, DRAWITEMSTRUCT* item);
    // Saves every listed document; the dialog ends when all were saved, or
    // (keeping the program running) when one could not be saved.
    void OnSave();
    // Drops the changes of every listed document and lets the program close.
    void OnNo();
    // The modified documents' windows; an empty list ends the dialog at once
    // with the program allowed to close.
    void FillList();
    void SelectFirst();

    DECLARE_MESSAGE_MAP()

private:
    // The active document of a listed item's frame, or null.
    CDocument* DocumentOfItem(int index) const;

    CListBox m_list;
    CStatic m_label;
    CButton m_saveButton;
    CButton m_noButton;
    CButton m_cancelButton;
    CAddinHost* m_app = nullptr;
    CDocument* m_document = nullptr;
    CMDIFrameWnd* m_frame = nullptr;
};
