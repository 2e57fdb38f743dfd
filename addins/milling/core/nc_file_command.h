// CNcFileCommand: "Open NC File" (command 0) and "Save NC File" (command 1),
// one class told apart by the command number given to Create. Both run to
// completion on their start event.
//
// Save asks for a file name and writes the NC program of the job's active
// operation, one line per block. Open asks for a file, parses it line by
// line with the active operation's postprocessor (or, without one, the
// first loaded dialect, saying so) and draws the program's moves as
// entities, one undo step.
#pragma once

#include <string>

#include "addins/milling/core/command_object.h"
#include "addins/milling/core/strimo_ids.h"
#include "addins/milling/features/ncfilereader.h"

class CMillingAddin;
class CMillingJob;

// How saving or reading an NC file went.
enum class NcFileStatus : int {
    Ok = 0,
    Cancelled = 1,       // the person cancelled the file dialog
    NoJob = 2,           // the document has no milling job
    ProgramFailed = 3,   // the program could not be made (a feature without a machine, a refused block)
    CannotWrite = 4,     // the file cannot be written
    CannotOpen = 5,      // the file cannot be read
    NoPostprocessor = 6, // no postprocessor plug-in is loaded to read with
};

struct NcFileResult {
    NcFileStatus status = NcFileStatus::Ok;
    std::string message;     // for the person, when something went wrong or was chosen for them
    int linesRead = 0;
    int movesDrawn = 0;
};

// Writes the active operation's program (unnumbered) to the file, through
// a temporary file and a rename. No active operation writes an empty file.
NcFileResult SaveNcProgram(const CMillingJob& job, const std::string& path);
// The postprocessor to read NC files of this document with: the active
// operation's, else the add-in's first; `substituted` tells the latter.
IPostprocessor* ChooseNcReadingPostprocessor(const CMillingJob& job, const CMillingAddin* addin, bool& substituted);
// Reads the file into the document's drawing.
NcFileResult OpenNcProgram(IHostDocument* document, const CMillingJob& job, const CMillingAddin* addin,
                           const std::string& path);

class CNcFileCommand final : public CAddinCommandObject<CLSID_NcFileCommand> {
public:
    CNcFileCommand() = default;

    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) override;
    // Event 1 saves or opens and answers 2 (commit and end), or 4 (end) when
    // it failed; 0x10 answers 4, 0x100 answers 2; anything else 0.
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result) override;

    // The last run's outcome (tests).
    const NcFileResult& LastResult() const { return m_last; }

private:
    NcFileResult SaveNcFile();
    NcFileResult OpenNcFile();

    bool m_save = false;
    IHostDocument* m_document = nullptr;
    NcFileResult m_last;
};
