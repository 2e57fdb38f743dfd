// Closing a document and saving it under a name.
#include "host/view/document_closing.h"

#include "host/document/nuvex_doc.h"
#include "platform/kernel/files.h"

namespace {

// The characters at which a title stops being usable as a file name.
constexpr const char* kTitleStops = " #%;/\\";

std::string ProposedName(const DocumentName& name, BOOL replace)
{
    if (!name.path.empty() || !replace) {
        return name.path;
    }
    std::string proposed = name.title.substr(0, name.title.find_first_of(kTitleStops));
    if (!name.extension.empty()) {
        proposed += name.extension;
    }
    return proposed;
}

} // namespace

BOOL DoSave(CNuvexDoc& document, DocumentName& name, ISavePrompts& prompts, const char* path, BOOL replace)
{
    const bool askedForName = path == nullptr || *path == '\0';
    std::string target = askedForName ? ProposedName(name, replace) : std::string(path);
    if (askedForName && !prompts.AskSaveFileName(target, replace != FALSE)) {
        return FALSE;
    }
    prompts.SetWaitCursor(true);
    const BOOL saved = document.OnSaveDocument(target.c_str());
    if (!saved) {
        // A failed Save As leaves no half-written file behind; a failure to
        // delete changes nothing about the result.
        if (askedForName) {
            DeleteFileA(target.c_str());
        }
        prompts.SetWaitCursor(false);
        return FALSE;
    }
    if (replace) {
        name.path = target;
    }
    prompts.SetWaitCursor(false);
    return TRUE;
}

CloseOutcome CloseDocument(CNuvexDoc& document, DocumentName& name, ISavePrompts& prompts,
                           const std::function<void()>& closeDocument)
{
    IDocumentServices& services = document.Services();
    if (document.IsCommandActive()) {
        prompts.ShowMessage(services.GetStaticText(kTextActiveCommand, kDefaultActiveCommand), PromptButtons::Ok);
        return CloseOutcome::RefusedActiveCommand;
    }
    if (document.IsModified()) {
        const PromptAnswer answer =
            prompts.ShowMessage(services.GetStaticText(kTextNotSaved, kDefaultNotSaved), PromptButtons::YesNoCancel);
        if (answer == PromptAnswer::Yes) {
            // Only a saved document closes: a cancelled dialog or a failed
            // save keeps it open with its changes.
            const BOOL saved = document.HasFile() ? DoSave(document, name, prompts, name.path.c_str(), TRUE)
                                                  : DoSave(document, name, prompts, nullptr, TRUE);
            if (!saved) {
                return CloseOutcome::KeptOpen;
            }
        } else if (answer != PromptAnswer::No) {
            return CloseOutcome::KeptOpen;
        }
    }
    if (closeDocument) {
        closeDocument();
    }
    return CloseOutcome::Closed;
}
