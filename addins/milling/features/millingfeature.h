// CMillingFeature: the common base of the contour, curve and pocket
// features: flags, name, parameters, the move list with one flag byte per
// move, the recorded NC blocks, the tree label and drawing.
//
// Coordinates: 3-D document coordinates, x right, y up, z towards the viewer
// (the tool comes down along -z); lengths in drawing units.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "addins/milling/features/featureresult.h"
#include "addins/milling/features/millingparams.h"
#include "ientity.h"
#include "platform/com/unknwn.h"
#include "platform/com/variant.h"

// Move flag bytes. Bit 0x10 set: feed, clear: rapid; 0x01: straight line;
// 0x06: arc, 0x02 of it: clockwise. The generators produce only these four.
inline constexpr uint8_t kMoveRapid = 0x01;
inline constexpr uint8_t kMoveFeedLine = 0x11;
inline constexpr uint8_t kMoveArcClockwise = 0x12;        // normal (0, 0, -1), G2
inline constexpr uint8_t kMoveArcCounterClockwise = 0x14; // normal (0, 0, +1), G3

inline bool IsFeedMove(uint8_t flag) { return (flag & 0x10) != 0; }
inline bool IsLineMove(uint8_t flag) { return (flag & 0x01) != 0; }
inline bool IsArcMove(uint8_t flag) { return (flag & 0x06) != 0; }
inline bool IsClockwiseArc(uint8_t flag) { return (flag & 0x02) != 0; }

struct CMovePoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// One tool move. Flag and geometry live in one element, so the move list and
// its flags cannot drift apart. The entity is the drawing object the document
// made for the move (null when no entity factory was given).
struct CMove {
    uint8_t flag = kMoveRapid;
    CMovePoint start;
    CMovePoint end;
    CMovePoint centre; // arcs only
    double radius = 0.0; // arcs only
    ComPtr<IEntityBase> entity;
};

// Makes the drawing entity of a move: the line and arc entities of the
// entity component, created through the host document. Implementations
// return null when the document could not create the entity.
class CMoveEntityFactory {
public:
    virtual ~CMoveEntityFactory() = default;
    virtual ComPtr<IEntityBase> CreateLine(const CMovePoint& start, const CMovePoint& end) = 0;
    // normalZ is +1 (counter-clockwise) or -1 (clockwise); the reference
    // direction is (1, 0, 0).
    virtual ComPtr<IEntityBase> CreateArc(const CMovePoint& centre, int normalZ, const CMovePoint& start,
                                          const CMovePoint& end, double radius) = 0;
};

// One NC block as handed to the postprocessor, kept when output is recorded.
struct CRecordedBlock {
    std::vector<INT> codes;
    std::vector<INT> kinds;
    std::vector<VARIANT> values;
    // Owned copies of text values; the values' pointers point into them and
    // stay valid when the block moves.
    std::vector<std::unique_ptr<char[]>> texts;
};

// What the NC output needs of the operation and the machine store. The
// caller (the job) fills it from the operation and the store's current
// machine; a store without a current machine leaves the switches off.
struct CNcMachineSettings {
    bool modal = false;       // write a motion code only when it changes
    bool separator = false;   // blanks between the words of a block
    bool lineNumbers = false; // begin every block with an N word
};

struct IPostprocessor;

struct CNcOutputContext {
    IPostprocessor* postprocessor = nullptr;
    CNcMachineSettings machine;
    CMovePoint origin;          // the operation's origin
    bool invertedZ = false;     // the operation's Inverted-Z switch
    // The N value of the next block. Features of one program share the
    // context, so numbers continue from feature to feature.
    int nextBlockNumber = 1;
    // Set on the operation's last feature: only then is the program-end
    // block written, so a controller runs every feature.
    bool lastFeature = true;
};

class CMillingFeature {
public:
    CMillingFeature() = default;
    virtual ~CMillingFeature() = default;
    CMillingFeature(const CMillingFeature&) = delete;
    CMillingFeature& operator=(const CMillingFeature&) = delete;

    // 1 for the contour and curve features, 0 for the pocket.
    virtual int GetType() const = 0;
    // The pocket's parameter image has no Outside value.
    virtual bool ImageHasOutside() const { return true; }
    // The pocket never keeps the NC blocks it writes.
    virtual bool RecordsNcBlocks() const { return true; }

    // Record of the feature (layout in featurerecord.cpp). Load needs the
    // entity factory to re-create move entities; it changes nothing on error.
    size_t GetSize() const;
    size_t Save(uint8_t* data) const;
    std::vector<uint8_t> SaveRecord() const;
    Result<size_t> Load(const uint8_t* data, size_t size, CMoveEntityFactory* factory);

    // Whether WriteNc keeps the blocks it wrote with the feature.
    enum class NcBlocks : uint8_t { Discard, Keep };
    // Appends the feature's NC program (see ncoutput.cpp). number > 0 writes
    // a "Phase n" heading; NcBlocks::Keep keeps the blocks written.
    Status WriteNc(std::vector<std::string>& lines, int number, NcBlocks blocks, CNcOutputContext& context);

    // Tree label: the name, with " <hiddenText>" appended when hidden.
    std::string GetLabel(const std::string& hiddenText) const;
    void SetVisible(bool visible) { m_hidden = visible ? 0 : 1; }

    // Draws nothing when hidden; else every move entity in colour 0xC88000,
    // width 1, solid for feed and dotted (style 2) for rapid moves, the style
    // set only when the flag changes.
    void Draw(IGraphicsContext* context) const;

    // Appends a move and, with a factory, its entity; an entity the factory
    // fails to create is an error and nothing is appended.
    Status AppendMove(const CMove& move, CMoveEntityFactory* factory);
    void ClearMoves() { m_moves.clear(); }
    const std::vector<CMove>& Moves() const { return m_moves; }

    void RecordNcBlock(int count, const INT* codes, const INT* kinds, const VARIANT* values);
    void ClearNcBlocks() { m_recordedBlocks.clear(); }
    const std::vector<CRecordedBlock>& RecordedBlocks() const { return m_recordedBlocks; }

    int32_t m_hidden = 0;
    int32_t m_state = 0;
    std::string m_name;
    CMillingParams m_params;

protected:
    std::vector<CMove> m_moves;
    std::vector<CRecordedBlock> m_recordedBlocks;
};

// Makes the entity of a move through the factory; null when it fails.
ComPtr<IEntityBase> CreateMoveEntity(const CMove& move, CMoveEntityFactory& factory);
