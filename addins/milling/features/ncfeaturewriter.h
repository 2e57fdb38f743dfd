// CNcFeatureWriter: one feature's NC program written a few blocks at a
// time, for a display that shows the first lines of a long program before
// the rest is written (CMillingFeature::WriteNc writes it in one call).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "addins/milling/features/millingfeature.h"

class CNcFeatureWriter {
public:
    // The program of `feature` as WriteNc(lines, number, record, context)
    // writes it. Feature and context must outlive the writer; the context's
    // next block number moves on when the program is complete.
    CNcFeatureWriter(CMillingFeature& feature, int number, bool record, CNcOutputContext& context);

    // Appends the blocks of the next moves to `lines` until at least `count`
    // lines were appended (one move's blocks, the retract and the program
    // end are never split, so a call may append a few more) or the program
    // is complete. A feature without moves writes nothing. An error (no
    // postprocessor, a refused block) ends the program: what was appended
    // before it stays.
    Status Write(std::vector<std::string>& lines, size_t count);
    bool Done() const { return m_stage == Stage::Done; }

private:
    enum class Stage { Start, Moves, Done };
    // A printed position: each coordinate a point of the 0.001 print grid.
    struct PrintedPoint {
        int64_t x = 0;
        int64_t y = 0;
        int64_t z = 0;
    };
    CMovePoint Map(const CMovePoint& p) const;
    // Writes the block of one move to `lines`; false when it was refused.
    bool WriteMove(const CMove& move, std::vector<std::string>& lines);
    Status Finish(std::vector<std::string>& lines);
    Status Refused(const char* what);

    CMillingFeature& m_feature;
    CNcOutputContext& m_context;
    int m_number;
    bool m_record;
    Stage m_stage = Stage::Start;
    size_t m_nextMove = 0;
    int m_blockNumber = 1;
    int m_motion = 0;
    PrintedPoint m_first;
    PrintedPoint m_previous;
};
