// The framework's standard texts: prompts of the standard commands
// (status-bar text, newline, tooltip) and the messages of documents, file
// dialogs and data validation.
#include "platform/framework/cstring.h"
#include "platform/framework/ids.h"

namespace {

struct StandardString {
    UINT id;
    const char* text;
};

constexpr StandardString kStandardStrings[] = {
    {AFX_IDS_IDLEMESSAGE, "Ready"},
    {AFX_IDS_HELPMODEMESSAGE, "Select an object on which to get Help"},
    {AFX_IDS_OPENFILE, "Open"},
    {AFX_IDS_SAVEFILE, "Save As"},
    {AFX_IDS_ALLFILTER, "All Files (*.*)"},
    {AFX_IDS_UNTITLED, "Untitled"},
    {AFX_IDS_SAVEFILECOPY, "Save As"},
    {AFX_IDS_UNNAMED_FILE, "an unnamed file"},
    {AFX_IDS_HIDE, "&Hide"},
    {AFX_IDS_MDICHILD, "Activate this window"},
    {AFX_IDP_NO_ERROR_AVAILABLE, "No error message is available."},
    {AFX_IDS_NOT_SUPPORTED_EXCEPTION, "An unsupported operation was attempted."},
    {AFX_IDP_INVALID_FILENAME, "Invalid filename."},
    {AFX_IDP_FAILED_TO_OPEN_DOC, "Failed to open document."},
    {AFX_IDP_FAILED_TO_SAVE_DOC, "Failed to save document."},
    {AFX_IDP_ASK_TO_SAVE, "Save changes to %1?"},
    {AFX_IDP_FAILED_TO_CREATE_DOC, "Failed to create empty document."},
    {AFX_IDP_FILE_TOO_LARGE, "The file is too large to open."},
    {AFX_IDP_FAILED_TO_START_PRINT, "Could not start print job."},
    {AFX_IDP_FAILED_TO_LAUNCH_HELP, "Failed to launch help."},
    {AFX_IDP_INTERNAL_FAILURE, "Internal application error."},
    {AFX_IDP_COMMAND_FAILURE, "Command failed."},
    {AFX_IDP_FAILED_MEMORY_ALLOC, "Insufficient memory to perform operation."},
    {AFX_IDP_PARSE_INT, "Please enter an integer."},
    {AFX_IDP_PARSE_REAL, "Please enter a number."},
    {AFX_IDP_PARSE_INT_RANGE, "Please enter an integer between %1 and %2."},
    {AFX_IDP_PARSE_REAL_RANGE, "Please enter a number between %1 and %2."},
    {AFX_IDP_PARSE_STRING_SIZE, "Please enter no more than %1 characters."},
    {AFX_IDP_PARSE_RADIO_BUTTON, "Please select a button."},
    {AFX_IDP_PARSE_BYTE, "Please enter an integer between 0 and 255."},
    {AFX_IDP_PARSE_UINT, "Please enter a positive integer."},
    {AFX_IDP_FAILED_INVALID_FORMAT, "Unexpected file format."},
    {AFX_IDP_FAILED_INVALID_PATH, "%1\nCannot find this file.\nPlease verify that the correct path and file name are given."},
    {AFX_IDP_FAILED_DISK_FULL, "Destination disk drive is full."},
    {AFX_IDP_FAILED_ACCESS_READ, "Unable to read from %1, it is opened by someone else."},
    {AFX_IDP_FAILED_ACCESS_WRITE, "Unable to write to %1, it is read-only or opened by someone else."},
    {AFX_IDP_FAILED_IO_ERROR_READ, "An unexpected error occurred while reading %1."},
    {AFX_IDP_FAILED_IO_ERROR_WRITE, "An unexpected error occurred while writing %1."},
    // Prompts of the standard commands: status text, then the tooltip.
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN, "Open an existing document\nOpen"},
    {ID_FILE_CLOSE, "Close the active document\nClose"},
    {ID_FILE_SAVE, "Save the active document\nSave"},
    {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    {ID_FILE_PAGE_SETUP, "Change the printing options\nPage Setup"},
    {ID_FILE_PRINT_SETUP, "Change the printer and printing options\nPrint Setup"},
    {ID_FILE_PRINT, "Print the active document\nPrint"},
    {ID_FILE_PRINT_PREVIEW, "Display full pages\nPrint Preview"},
    {ID_FILE_SEND_MAIL, "Send the active document through electronic mail\nSend Mail"},
    {ID_FILE_MRU_FILE1, "Open this document"},
    {ID_FILE_MRU_FILE2, "Open this document"},
    {ID_FILE_MRU_FILE3, "Open this document"},
    {ID_FILE_MRU_FILE4, "Open this document"},
    {ID_EDIT_CLEAR, "Erase the selection\nErase"},
    {ID_EDIT_CLEAR_ALL, "Erase everything\nErase All"},
    {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
    {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
    {ID_EDIT_FIND, "Find the specified text\nFind"},
    {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
    {ID_EDIT_REPEAT, "Repeat the last action\nRepeat"},
    {ID_EDIT_REPLACE, "Replace specific text with different text\nReplace"},
    {ID_EDIT_SELECT_ALL, "Select the entire document\nSelect All"},
    {ID_EDIT_UNDO, "Undo the last action\nUndo"},
    {ID_EDIT_REDO, "Redo the previously undone action\nRedo"},
    {ID_WINDOW_NEW, "Open another window for the active document\nNew Window"},
    {ID_WINDOW_ARRANGE, "Arrange icons at the bottom of the window\nArrange Icons"},
    {ID_WINDOW_CASCADE, "Arrange windows so they overlap\nCascade Windows"},
    {ID_WINDOW_TILE_HORZ, "Arrange windows as non-overlapping tiles\nTile Windows"},
    {ID_WINDOW_TILE_VERT, "Arrange windows as non-overlapping tiles\nTile Windows"},
    {ID_WINDOW_SPLIT, "Split the active window into panes\nSplit"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_HELP_INDEX, "Opens Help\nHelp Topics"},
    {ID_HELP_FINDER, "List Help topics\nHelp Topics"},
    {ID_HELP_USING, "Display instructions about how to use help\nHelp"},
    {ID_CONTEXT_HELP, "Display help for clicked on buttons, menus and windows\nHelp"},
    {ID_HELP, "Display help for current task or command\nHelp"},
    {ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
    {ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    {ID_INDICATOR_EXT, "EXT"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_INDICATOR_OVR, "OVR"},
    {ID_INDICATOR_REC, "REC"},
    // System menu items and the MDI children's Window menu items.
    {AFX_IDS_SCSIZE, "Change the window size"},
    {0xEF01, "Change the window position"},
    {0xEF02, "Reduce the window to an icon"},
    {0xEF03, "Enlarge the window to full size"},
    {0xEF04, "Switch to the next document window"},
    {0xEF05, "Switch to the previous document window"},
    {AFX_IDS_SCCLOSE, "Close the active window and prompts to save the documents"},
    {0xEF11, "Restore the window to normal size"},
    {0xEF12, "Activate Task List"},
};

} // namespace

const char* AfxStandardString(UINT id)
{
    for (const StandardString& entry : kStandardStrings) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return nullptr;
}

BOOL AfxLoadString(UINT id, CString& text)
{
    if (text.LoadString(id)) {
        return TRUE;
    }
    const char* standard = AfxStandardString(id);
    text = standard != nullptr ? standard : "";
    return standard != nullptr ? TRUE : FALSE;
}
