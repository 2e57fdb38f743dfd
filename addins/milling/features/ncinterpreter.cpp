// CNcFileReader::Interpret: walks the stored NC program block by block with a
// small modal state and turns every recognised tool move into a line or arc
// entity, wrapped in an entity record that the host document takes.
//
// Recognised words: G00-G03 (motion mode), X, Y, Z (target position), I, J, K
// (arc centre offsets from the arc's start point, given in the same block)
// and the program end. Every other word is accepted and has no effect, so the
// drawn geometry is the programmed path. A coordinate is governed by the
// motion mode in force where its word stands. An arc block whose end is its
// start (no coordinate changes) and whose centre offsets are not both zero is
// a full turn: it is drawn as a full circle.
#include <array>
#include <cmath>

#include "addins/milling/features/ncfilereader.h"
#include "iattributeset.h"
#include "icollection.h"
#include "ientitycomponent.h"
#include "ientityrecord.h"
#include "objectmodel/attribute_set.h"
#include "objectmodel/collection_b.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/vector3.h"

namespace {

enum Axis { kAxisX = 0, kAxisY = 1, kAxisZ = 2 };

// Exact comparison on purpose: a coordinate that a block repeats is the same
// double, and any other value is a move.
bool Same(double a, double b) { return !(a < b) && !(a > b); }

using Position = std::array<double, 3>;

CVector3 ToVector(const Position& p) { return CVector3(CReal(p[0]), CReal(p[1]), CReal(p[2])); }

struct ArcPlane {
    Axis first;   // the two axes of the plane
    Axis second;
    Axis normal;  // the axis the normal runs along
};

// The arc planes in row order: XY (I, J), XZ (I, K), YZ (J, K).
constexpr ArcPlane kArcPlanes[] = {
    {kAxisX, kAxisY, kAxisZ},
    {kAxisX, kAxisZ, kAxisY},
    {kAxisY, kAxisZ, kAxisX},
};

template <class T>
ComPtr<T> CreateEntity(IHostDocument* document, REFIID iid)
{
    ComPtr<T> entity;
    if (document == nullptr) {
        return entity;
    }
    void* object = nullptr;
    if (FAILED(document->CreateObject(CLSID_EntityComponent, iid, &object)) || object == nullptr) {
        return entity;
    }
    return ComPtr<T>::Adopt(static_cast<T*>(object));
}

// True when the block is a full-turn arc: arc motion, no coordinate changed,
// and the plane's two centre offsets given (the third not) and not both zero.
bool IsFullTurn(int motion, const std::array<bool, 3>& axisGiven, const std::array<bool, 3>& offsetGiven,
                const Position& offset)
{
    if (motion != kNcArcClockwise && motion != kNcArcCounterClockwise) {
        return false;
    }
    for (const ArcPlane& plane : kArcPlanes) {
        if (offsetGiven[plane.first] && offsetGiven[plane.second] && !offsetGiven[plane.normal] &&
            !axisGiven[plane.normal]) {
            return std::fpclassify(offset[plane.first]) != FP_ZERO ||
                   std::fpclassify(offset[plane.second]) != FP_ZERO;
        }
    }
    return false;
}

}  // namespace

bool CNcFileReader::RecordMove(IUnknown* entity)
{
    ComPtr<IObjectBase> object;
    if (FAILED(entity->QueryInterface(IID_IObjectBase, object.ReceiveVoid()))) {
        return false;
    }
    IObjectBase* rawClone = nullptr;
    if (FAILED(object->Clone(&rawClone)) || rawClone == nullptr) {
        return false;
    }
    ComPtr<IObjectBase> clone = ComPtr<IObjectBase>::Share(rawClone);
    ComPtr<IEntityRecord> record = ComPtr<IEntityRecord>::Share(new CEntityRecord(clone.Get()));
    if (m_currentCollection != nullptr) {
        ComPtr<ICollectionB> collection = ComPtr<ICollectionB>::Share(new CCollectionB(m_currentCollection));
        record->AddChild(collection.Get());
    }
    if (m_currentAttributes != nullptr) {
        ComPtr<IAttributeSet> attributes = ComPtr<IAttributeSet>::Share(new CAttributeSet(m_currentAttributes));
        record->AddChild(attributes.Get());
    }
    if (m_currentObject != nullptr) {
        ComPtr<ICollectionBase> current;
        if (SUCCEEDED(m_currentObject->QueryInterface(IID_ICollectionBase, current.ReceiveVoid()))) {
            record->AddChild(current.Get());
        }
    }
    return SUCCEEDED(m_document->AddObject(record.Get()));
}

NcInterpretResult CNcFileReader::Interpret()
{
    NcInterpretResult result;
    int motion = FindLastMotionCode();
    Position current = {0.0, 0.0, 0.0};
    int found[3] = {0, 0, 0};
    FindLastPosition(&current[0], &current[1], &current[2], &found[0], &found[1], &found[2]);
    Position previous = current;
    std::array<int, 3> axisMode = {motion, motion, motion};
    bool firstPositionPending = true;

    for (const Line& line : m_lines) {
        // 1. and 2. The block's words, in order.
        std::array<bool, 3> axisGiven = {false, false, false};
        std::array<bool, 3> offsetGiven = {false, false, false};
        Position offset = {0.0, 0.0, 0.0};
        bool end = false;
        for (size_t i = 0; i < line.codes.size(); ++i) {
            const int code = line.codes[i];
            double number = 0.0;
            if (code >= kNcRapid && code <= kNcArcCounterClockwise) {
                motion = code;
            } else if (code == kNcProgramEnd) {
                end = true;
            } else if (code >= kNcX && code <= kNcZ && NcTokenNumber(line.kinds[i], line.values[i], number)) {
                const size_t axis = static_cast<size_t>(code - kNcX);
                current[axis] = number;
                axisMode[axis] = motion;
                axisGiven[axis] = true;
            } else if (code >= kNcCentreI && code <= kNcCentreK &&
                       NcTokenNumber(line.kinds[i], line.values[i], number)) {
                const size_t axis = static_cast<size_t>(code - kNcCentreI);
                offset[axis] = number;
                offsetGiven[axis] = true;
            }
        }
        // 3. The program end draws nothing and ends the program.
        if (end) {
            result.endSeen = true;
            break;
        }
        // 4. An axis that did not move takes the motion mode in force.
        bool moved = false;
        for (size_t a = 0; a < 3; ++a) {
            if (Same(current[a], previous[a])) {
                axisMode[a] = motion;
            } else {
                moved = true;
            }
        }
        // 5. and 6. A full turn changes no coordinate but is a move all the
        // same; the first block of a program only places the tool.
        const bool fullTurn = !moved && !firstPositionPending && IsFullTurn(motion, axisGiven, offsetGiven, offset);
        if (moved && firstPositionPending) {
            previous = current;
            firstPositionPending = false;
        } else if (moved || fullTurn) {
            ComPtr<IUnknown> entity;
            bool matched = false;
            bool made = false;
            if (axisMode[0] == axisMode[1] && axisMode[1] == axisMode[2] &&
                (axisMode[0] == kNcRapid || axisMode[0] == kNcLinear)) {
                matched = true;
                ComPtr<ILineEntity> lineEntity = CreateEntity<ILineEntity>(m_document, IID_ILineEntity);
                if (lineEntity) {
                    CVector3 start = ToVector(previous);
                    CVector3 finish = ToVector(current);
                    lineEntity->SetStartPoint(&start);
                    lineEntity->SetEndPoint(&finish);
                    entity = ComPtr<IUnknown>::Share(lineEntity.Get());
                    made = true;
                }
            } else {
                for (const ArcPlane& plane : kArcPlanes) {
                    const int mode = axisMode[plane.first];
                    if ((mode != kNcArcClockwise && mode != kNcArcCounterClockwise) ||
                        axisMode[plane.second] != mode || axisGiven[plane.normal] ||
                        !offsetGiven[plane.first] || !offsetGiven[plane.second] || offsetGiven[plane.normal]) {
                        continue;
                    }
                    matched = true;
                    // The centre lies at the offsets from the arc's start
                    // point, at the end point's height along the normal.
                    Position centre = current;
                    centre[plane.first] = previous[plane.first] + offset[plane.first];
                    centre[plane.second] = previous[plane.second] + offset[plane.second];
                    Position normal = {0.0, 0.0, 0.0};
                    normal[plane.normal] = mode == kNcArcCounterClockwise ? 1.0 : -1.0;
                    ComPtr<IArcEntity> arc = CreateEntity<IArcEntity>(m_document, IID_IArcEntity);
                    if (arc) {
                        CVector3 centreVector = ToVector(centre);
                        CVector3 normalVector = ToVector(normal);
                        CVector3 start = ToVector(previous);
                        CVector3 finish = ToVector(current);
                        CVector3 reference(1.0, 0.0, 0.0);
                        const CVector3 fromCentre = start - centreVector;
                        CReal radius = RealSqrt(fromCentre.x * fromCentre.x + fromCentre.y * fromCentre.y +
                                             fromCentre.z * fromCentre.z);
                        arc->SetCenter(&centreVector);
                        arc->SetRadius(&radius);
                        arc->SetNormal(&normalVector);
                        arc->SetReferenceDirection(&reference);
                        arc->SetStartPoint(&start);
                        arc->SetEndPoint(&finish);
                        CVector3 reported;
                        if (SUCCEEDED(arc->GetEndPoint(&reported))) {
                            current = {reported.x.GetValue(), reported.y.GetValue(), reported.z.GetValue()};
                        }
                        entity = ComPtr<IUnknown>::Share(arc.Get());
                        made = true;
                    }
                    break;
                }
            }
            if (!matched) {
                ++result.movesUnmatched;
            } else {
                // The tool went there whether or not the move could be
                // drawn, so the next move starts at its end either way.
                previous = current;
                if (made && RecordMove(entity.Get())) {
                    ++result.movesDrawn;
                } else {
                    ++result.entitiesFailed;
                }
            }
        } else if (axisGiven[0] || axisGiven[1] || axisGiven[2]) {
            firstPositionPending = false;
        }
        // 7.
        axisMode = {motion, motion, motion};
    }
    return result;
}
