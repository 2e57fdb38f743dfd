// The filters of the program's file dialog: the document templates' own
// (the first is the default), then every file type that add-ins registered
// for the dialog's form (opening or saving), then all files.
#pragma once

#include <string>
#include <vector>

#include "host/document/document_services.h"

class CDocTemplate;

struct FileDialogFilter {
    std::string description;
    // Patterns separated by ';' ("*.nvx").
    std::string patterns;
};

// A template's filter from its document strings; false when it has none.
bool TemplateFilter(CDocTemplate& documentTemplate, FileDialogFilter& filter);
// The registered file types offered by the open form (flag bit 1) or the
// save form (flag bit 2), in their order of registration.
void AppendFileTypeFilters(std::vector<FileDialogFilter>& filters, const std::vector<FileTypeHandler>& types,
                           bool openForm);
// The filters as the file dialog takes them: description and patterns,
// each ended by a 0, and a 0 after the last.
std::string JoinFileFilters(const std::vector<FileDialogFilter>& filters);
