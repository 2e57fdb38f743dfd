// CNcFileCommand: Open and Save NC File.
#include "addins/milling/core/nc_file_command.h"

#include "addins/milling/core/command_events.h"
#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_job.h"
#include "addins/milling/core/tool_store.h"
#include "ipostprocessor.h"
#include "platform/framework/filedialog.h"
#include "platform/user/commdlg.h"

namespace {

constexpr DWORD kFileDialogFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

std::string PostprocessorName(IPostprocessor* postprocessor)
{
    char name[1024] = {};
    if (postprocessor == nullptr || FAILED(postprocessor->GetName(name)))
        return {};
    name[sizeof name - 1] = '\0';
    return name;
}

void Tell(const std::string& text, UINT icon)
{
    MessageBoxA(nullptr, text.c_str(), "NC File", MB_OK | icon);
}

} // namespace

NcFileResult SaveNcProgram(const CMillingJob& job, const std::string& path)
{
    std::vector<std::string> lines;
    const NcProgramResult program = job.WriteNcCode(lines, -1, CMillingJob::Phases::Unnumbered);
    if (!program.ok)
        return {NcFileStatus::ProgramFailed, "The NC program cannot be made: " + program.message + "."};
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    if (!ReplaceFileContent(path, text))
        return {NcFileStatus::CannotWrite, "The NC file " + path + " cannot be written."};
    NcFileResult result;
    result.linesRead = static_cast<int>(lines.size());
    return result;
}

IPostprocessor* ChooseNcReadingPostprocessor(const CMillingJob& job, const CMillingAddin* addin, bool& substituted)
{
    substituted = false;
    if (const CMillingOperation* active = job.GetOperation(job.GetActiveOperation()))
        if (active->m_postprocessor != nullptr)
            return active->m_postprocessor;
    if (addin == nullptr || addin->Postprocessors().empty())
        return nullptr;
    substituted = true;
    return addin->Postprocessors().front();
}

NcFileResult OpenNcProgram(IHostDocument* document, const CMillingJob& job, const CMillingAddin* addin,
                           const std::string& path)
{
    bool substituted = false;
    IPostprocessor* postprocessor = ChooseNcReadingPostprocessor(job, addin, substituted);
    if (postprocessor == nullptr)
        return {NcFileStatus::NoPostprocessor, "No postprocessor plug-in is loaded, so NC files cannot be read."};
    CNcFileReader reader(document);
    const NcReadResult read = ReadNcProgram(path.c_str(), postprocessor, reader);
    if (read.status == NcReadStatus::CannotOpen)
        return {NcFileStatus::CannotOpen, "The NC file " + path + " cannot be opened."};
    const NcInterpretResult drawn = reader.Interpret();
    NcFileResult result;
    result.linesRead = read.linesStored;
    result.movesDrawn = drawn.movesDrawn;
    if (substituted)
        result.message = "No active operation has a machine, so the file was read as " +
                         PostprocessorName(postprocessor) + ".";
    if (read.longLinesSkipped > 0)
        result.message += (result.message.empty() ? "" : " ") + std::to_string(read.longLinesSkipped) +
                          " lines too long for an NC block were skipped.";
    return result;
}

HRESULT CNcFileCommand::Create(IHostDocument* document, LONG commandNumber, LONG_PTR)
{
    m_document = document;
    m_save = commandNumber == kCommandSaveNcFile;
    return S_OK;
}

HRESULT CNcFileCommand::OnEvent(LONG event, void*, LONG, LONG, LONG* result)
{
    if (result == nullptr)
        return E_POINTER;
    *result = 0;
    switch (event) {
    case kEventStart:
        m_last = m_save ? SaveNcFile() : OpenNcFile();
        *result = m_last.status == NcFileStatus::Ok || m_last.status == NcFileStatus::Cancelled ? kResultCommit
                                                                                                  : kResultEnd;
        break;
    case kEventCancel:
        *result = kResultEnd;
        break;
    case kEventAccept:
        *result = kResultCommit;
        break;
    default:
        break;
    }
    return S_OK;
}

NcFileResult CNcFileCommand::SaveNcFile()
{
    CMillingJob* job = FindMillingJob(m_document);
    if (job == nullptr) {
        Tell("This drawing has no milling job to save an NC program of.", MB_ICONWARNING);
        return {NcFileStatus::NoJob, {}};
    }
    CFileDialog dialog(FALSE, ".nc", nullptr, kFileDialogFlags, "NC Files (*.nc)|*.nc|All Files (*.*)|*.*||");
    if (dialog.DoModal() != IDOK)
        return {NcFileStatus::Cancelled, {}};
    NcFileResult result = SaveNcProgram(*job, static_cast<const char*>(dialog.GetPathName()));
    if (result.status != NcFileStatus::Ok)
        Tell(result.message, MB_ICONERROR);
    return result;
}

NcFileResult CNcFileCommand::OpenNcFile()
{
    CFileDialog dialog(TRUE, ".nc", nullptr, kFileDialogFlags,
                       "NC Files (*.nc)|*.nc|Text Files (*.txt)|*.txt|All Files (*.*)|*.*||");
    if (dialog.DoModal() != IDOK)
        return {NcFileStatus::Cancelled, {}};
    CMillingJob* job = FindMillingJob(m_document);
    if (job == nullptr) {
        Tell("This drawing cannot take the NC program.", MB_ICONWARNING);
        return {NcFileStatus::NoJob, {}};
    }
    CMillingAddin* addin = CMillingAddin::FromDocument(m_document);
    if (addin != nullptr)
        addin->LoadPostprocessors();
    NcFileResult result = OpenNcProgram(m_document, *job, addin, static_cast<const char*>(dialog.GetPathName()));
    if (result.status != NcFileStatus::Ok)
        Tell(result.message, MB_ICONERROR);
    else if (!result.message.empty())
        Tell(result.message, MB_ICONINFORMATION);
    return result;
}
