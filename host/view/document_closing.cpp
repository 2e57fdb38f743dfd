// Closing a document and saving it under a name.
#include "host/view/document_closing.h"

#include "host/document/nuvex_doc.h"
#include "platform/framework/doctemplate.h"
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

DocumentName NameOf(CNuvexDoc& document)
{
    DocumentName name;
    name.path = static_cast<LPCSTR>(document.GetPathName());
    name.title = static_cast<LPCSTR>(document.GetTitle());
    CString extension;
    CDocTemplate* documentTemplate = document.GetDocTemplate();
    if (documentTemplate != nullptr && documentTemplate->GetDocString(extension, CDocTemplate::filterExt)) {
        const std::string extensions = static_cast<LPCSTR>(extension);
        name.extension = extensions.substr(0, extensions.find(';'));
    }
    return name;
}

// A save under a new name gives the document that name.
void TakeName(CNuvexDoc& document, const DocumentName& name)
{
    if (name.path != static_cast<LPCSTR>(document.GetPathName())) {
        document.SetPathName(name.path.c_str());
    }
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

BOOL CFrameworkCloseFlow::AskToClose(CNuvexDoc& document)
{
    DocumentName name = NameOf(document);
    const CloseOutcome outcome = CloseDocument(document, name, m_prompts, {});
    TakeName(document, name);
    return outcome == CloseOutcome::Closed ? TRUE : FALSE;
}

BOOL CFrameworkCloseFlow::SaveUnderName(CNuvexDoc& document, LPCSTR path, BOOL replace)
{
    DocumentName name = NameOf(document);
    const BOOL saved = DoSave(document, name, m_prompts, path, replace);
    if (saved && replace) {
        TakeName(document, name);
    }
    return saved;
}
