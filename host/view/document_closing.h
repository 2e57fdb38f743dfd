// Closing a document and saving it under a name: the close prompt that
// refuses while a command runs and offers to save changes, and the
// save-as flow with its file dialog. What the user is asked goes through
// ISavePrompts, which the program answers with its message boxes and file
// dialog and tests answer with a script.
#pragma once

#include <functional>
#include <string>

#include "host/document/nuvex_doc.h"
#include "platform/base/types.h"

class CNuvexDoc;

enum class PromptButtons { Ok, YesNoCancel };
enum class PromptAnswer { Ok, Yes, No, Cancel };

class ISavePrompts {
public:
    virtual PromptAnswer ShowMessage(const std::string& text, PromptButtons buttons) = 0;
    // Asks for the name to save under, starting from the proposed one;
    // false when the user cancels. saveAs: the dialog's title is that of
    // Save As, else that of Save Copy As.
    virtual bool AskSaveFileName(std::string& path, bool saveAs) = 0;
    virtual void SetWaitCursor(bool on) = 0;

protected:
    ~ISavePrompts() = default;
};

// Language-table texts of the close prompt and their built-in defaults.
inline constexpr int32_t kTextActiveCommand = 20003;
inline constexpr const char* kDefaultActiveCommand = "WARNING!! Active command! Press Esc or right click to exit";
inline constexpr int32_t kTextNotSaved = 20004;
inline constexpr const char* kDefaultNotSaved = "WARNING!! Document not saved! Do you want to save changes?";

// What the framework keeps of a document besides its content.
struct DocumentName {
    // Empty until the document was saved or opened.
    std::string path;
    std::string title;
    // The document template's filter extension (".nvx"), may be empty.
    std::string extension;
};

// The save flow. An empty path asks for a name (a Save As); a failed Save
// As deletes the file it may have begun. replace: the document takes the
// name as its path. FALSE when the dialog is cancelled or the save fails.
BOOL DoSave(CNuvexDoc& document, DocumentName& name, ISavePrompts& prompts, const char* path, BOOL replace);

enum class CloseOutcome {
    // A command runs; the user was told to end it first.
    RefusedActiveCommand,
    // The user cancelled the prompt or the save dialog, or the save failed:
    // the document stays open with its changes.
    KeptOpen,
    Closed,
};

// The close prompt; closeDocument (the framework's close, which destroys
// the document and its views) runs only for Closed.
CloseOutcome CloseDocument(CNuvexDoc& document, DocumentName& name, ISavePrompts& prompts,
                           const std::function<void()>& closeDocument);

// The close question and the save under a name for documents that the
// framework opens: the names come from the document (its path, title and
// its template's extension), and a save under a new name renames it.
class CFrameworkCloseFlow : public IDocumentCloseFlow {
public:
    explicit CFrameworkCloseFlow(ISavePrompts& prompts) : m_prompts(prompts) {}
    BOOL AskToClose(CNuvexDoc& document) override;
    BOOL SaveUnderName(CNuvexDoc& document, LPCSTR path, BOOL replace) override;

private:
    ISavePrompts& m_prompts;
};
