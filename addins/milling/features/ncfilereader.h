// CNcFileReader: the parsed NC program store. "Open NC File" stores every
// parsed line of a program here in file order (AddLine), then has the reader
// turn the program's moves into line and arc entities in the host document
// (Interpret, in ncinterpreter.cpp). ReadNcProgram reads a file through a
// postprocessor into a reader.
//
// Conventions: positions are absolute document coordinates; the move
// entities are those of the entity component (ientitycomponent.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ihost.h"
#include "nctokens.h"
#include "platform/com/variant.h"

struct IAttributeSet;
struct ICollectionB;
struct IPostprocessor;

// What one Interpret call did.
struct NcInterpretResult {
    int movesDrawn = 0;      // entity records added to the document
    int movesUnmatched = 0;  // changes of position that match no known move
    int entitiesFailed = 0;  // moves whose entity or record could not be made
    bool endSeen = false;    // stopped at a program-end word
};

class CNcFileReader {
public:
    // Keeps the document (lent, not counted) and asks it for its current
    // object, collection and attribute set, whose results are not checked.
    explicit CNcFileReader(IHostDocument* document);
    virtual ~CNcFileReader();
    CNcFileReader(const CNcFileReader&) = delete;
    CNcFileReader& operator=(const CNcFileReader&) = delete;

    // Appends one parsed line; the caller's arrays are only read. A line
    // with count <= 0, more than kNcMaxBlockTokens tokens or a null array
    // is stored as an empty line (no tokens), so the store stays in step
    // with the file. Texts (kind 3) are copied.
    void AddLine(int count, const int* codes, const int* kinds, const VARIANT* values);

    // Draws the program's moves: one entity record per recognised move.
    NcInterpretResult Interpret();

    // The last motion code (3 to 6) of the program, scanning backwards; -1
    // when the program has none.
    int FindLastMotionCode() const;
    // For each axis the value of its last X, Y or Z word; an axis whose
    // found flag is already set, or that no word gives, is left untouched.
    void FindLastPosition(double* x, double* y, double* z, int* xFound, int* yFound, int* zFound) const;

    size_t GetLineCount() const { return m_lines.size(); }
    int GetTokenCount(size_t line) const { return static_cast<int>(m_lines.at(line).codes.size()); }
    int GetCode(size_t line, size_t token) const { return m_lines.at(line).codes.at(token); }
    int GetKind(size_t line, size_t token) const { return m_lines.at(line).kinds.at(token); }
    const VARIANT& GetValue(size_t line, size_t token) const { return m_lines.at(line).values.at(token); }

private:
    struct Line {
        std::vector<int> codes;
        std::vector<int> kinds;
        std::vector<VARIANT> values;
        // The reader's own copies of the texts that text values point to.
        std::vector<std::unique_ptr<std::string>> texts;
    };

    // Adds one move entity to the document as an entity record carrying
    // copies of the current collection and attributes; false when any
    // object could not be made or the document refused the record.
    bool RecordMove(IUnknown* entity);

    IHostDocument* m_document;
    IUnknown* m_currentObject = nullptr;
    IAttributeSet* m_currentAttributes = nullptr;
    ICollectionB* m_currentCollection = nullptr;
    std::vector<Line> m_lines;
};

// The number value of a token: integers and reals by their kind; texts and
// valueless words have none, nor do non-finite reals.
bool NcTokenNumber(int kind, const VARIANT& value, double& number);

// How reading an NC file went.
enum class NcReadStatus : int {
    Ok = 0,
    CannotOpen = 1,       // the file cannot be opened
    NoPostprocessor = 2,  // no postprocessor to parse the lines with
};

struct NcReadResult {
    NcReadStatus status = NcReadStatus::Ok;
    int linesStored = 0;
    int emptyLinesSkipped = 0;
    int longLinesSkipped = 0;  // lines of kNcMaxLineLength characters or more
};

// Reads the file line by line to its end: every non-empty line is parsed by
// the postprocessor and stored in the reader; empty lines are skipped and so
// are lines too long for a block. CR before LF is dropped.
NcReadResult ReadNcProgram(const char* path, IPostprocessor* postprocessor, CNcFileReader& reader);
