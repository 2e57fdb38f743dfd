// The file dialog's filters.
#include "host/shell/file_filters.h"

#include "platform/framework/doctemplate.h"

bool TemplateFilter(CDocTemplate& documentTemplate, FileDialogFilter& filter)
{
    CString name;
    CString extensions;
    if (!documentTemplate.GetDocString(name, CDocTemplate::filterName) || name.IsEmpty() ||
        !documentTemplate.GetDocString(extensions, CDocTemplate::filterExt) || extensions.IsEmpty()) {
        return false;
    }
    filter.description = name.GetString();
    filter.patterns.clear();
    // ".nvx;.nv2" gives "*.nvx;*.nv2".
    const std::string all = extensions.GetString();
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(';', start);
        if (end == std::string::npos) {
            end = all.size();
        }
        if (end > start) {
            filter.patterns += (filter.patterns.empty() ? "*" : ";*") + all.substr(start, end - start);
        }
        start = end + 1;
    }
    return !filter.patterns.empty();
}

void AppendFileTypeFilters(std::vector<FileDialogFilter>& filters, const std::vector<FileTypeHandler>& types,
                           bool openForm)
{
    const uint32_t bit = openForm ? kFileTypeOpens : kFileTypeSaves;
    for (const FileTypeHandler& type : types) {
        if ((type.flags & bit) != 0 && !type.extension.empty()) {
            filters.push_back({type.description, "*." + type.extension});
        }
    }
}

std::string JoinFileFilters(const std::vector<FileDialogFilter>& filters)
{
    std::string joined;
    for (const FileDialogFilter& filter : filters) {
        joined += filter.description;
        joined.push_back('\0');
        joined += filter.patterns;
        joined.push_back('\0');
    }
    joined.push_back('\0');
    return joined;
}
