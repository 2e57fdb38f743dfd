// Typed input: recognisers and readers of the command line's forms, and
// the document's dispatcher of a submitted line.
#include "host/document/typed_input.h"

#include <charconv>
#include <vector>

#include "host/document/command_engine.h"
#include "host/document/nuvex_doc.h"

bool ParseNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    bool point = false;
    bool digit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    // A sign or a point alone has no value: not a number.
    return digit;
}

double ParseDouble(const std::string& text)
{
    size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) {
        return 0.0;
    }
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    double value = 0.0;
    std::from_chars(text.data() + i, text.data() + text.size(), value, std::chars_format::fixed);
    return negative ? -value : value;
}

bool ParsePolar(const std::string& text)
{
    const size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos || text[i] != '<') {
        return false;
    }
    const std::string rest = text.substr(i + 1);
    return !rest.empty() && rest[0] != ' ' && ParseNumber(rest);
}

double ParsePolarValue(const std::string& text)
{
    const size_t i = text.find('<');
    return i == std::string::npos ? 0.0 : ParseDouble(text.substr(i + 1));
}

namespace {

// Splits at every separator; true when there are exactly `parts` parts and
// each is a number.
bool SplitNumbers(const std::string& text, char separator, size_t parts, std::vector<double>& values)
{
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        pieces.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) {
            break;
        }
        start = at + 1;
    }
    if (pieces.size() != parts) {
        return false;
    }
    values.clear();
    for (const std::string& piece : pieces) {
        if (!ParseNumber(piece)) {
            return false;
        }
        values.push_back(ParseDouble(piece));
    }
    return true;
}

} // namespace

bool ParseCoordinates(const std::string& text, TypedCoordinates& out)
{
    std::vector<double> values;
    if (!SplitNumbers(text, ',', 2, values)) {
        return false;
    }
    out = {values[0], values[1], 0.0};
    return true;
}

bool ParseCoordinates3(const std::string& text, TypedCoordinates& out)
{
    std::vector<double> values;
    if (!SplitNumbers(text, ',', 3, values)) {
        return false;
    }
    out = {values[0], values[1], values[2]};
    return true;
}

bool ParseTwoValues(const std::string& text, double& first, double& second)
{
    std::vector<double> values;
    if (!SplitNumbers(text, ';', 2, values)) {
        return false;
    }
    first = values[0];
    second = values[1];
    return true;
}

namespace {

// The 16-byte record in which a coordinate travels with an event.
struct EventValueRecord {
    double value = 0.0;
    uint16_t flags = 0;
    uint8_t padding[6] = {};
};
static_assert(sizeof(EventValueRecord) == 16);

bool HasAll(uint32_t word, uint32_t bits) { return (word & bits) == bits; }

// The point at distance d along a tracking line from its base point, on
// the side of the cursor: B + d·D when D and C - B share a sign on some
// axis (x, then y, then z), else B - d·D.
CVector3 TrackingDistancePoint(const CLineObject& line, const CVector3& cursor, double d)
{
    const CVector3& base = line.GetPointValue();
    const CVector3& direction = line.GetDirectionValue();
    const double toCursor[3] = {cursor.x.GetValue() - base.x.GetValue(), cursor.y.GetValue() - base.y.GetValue(),
                                cursor.z.GetValue() - base.z.GetValue()};
    const double along[3] = {direction.x.GetValue(), direction.y.GetValue(), direction.z.GetValue()};
    constexpr double kSignTolerance = 1e-6;
    double sign = -1.0;
    for (int axis = 0; axis < 3; ++axis) {
        if ((along[axis] > kSignTolerance && toCursor[axis] > kSignTolerance) ||
            (along[axis] < -kSignTolerance && toCursor[axis] < -kSignTolerance)) {
            sign = 1.0;
            break;
        }
    }
    return CVector3(base.x.GetValue() + sign * d * along[0], base.y.GetValue() + sign * d * along[1],
                    base.z.GetValue() + sign * d * along[2]);
}

} // namespace

int32_t CNuvexDoc::FindCommandName(const std::string& text) const
{
    const size_t start = text.find_first_not_of(' ');
    const std::string name = start == std::string::npos ? std::string() : text.substr(start);
    for (int32_t index = 0;; ++index) {
        const CommandTableEntry* entry = m_services.GetCommandEntry(index);
        if (entry == nullptr) {
            return kUnknownCommand;
        }
        if ((!entry->name.empty() && entry->name == name) || (!entry->shortName.empty() && entry->shortName == name)) {
            return index;
        }
    }
}

void CNuvexDoc::ProcessTypedInput(const std::string& text, BOOL commit)
{
    using namespace command_event;
    using namespace command_result;
    const int32_t kind = m_output.GetModifierKind();
    m_commandLineText = text;
    if (!commit) {
        BuildPrompt();
        return;
    }
    bool handled = false;
    if (text.empty()) {
        if (m_currentLevel > 0) {
            CancelCommand();
        } else if (m_lastStartedCommand >= 0) {
            StartCommand(m_lastStartedCommand, 1);
        }
    }
    const bool draggingGrip = m_rootHandler != nullptr && m_rootHandler->IsDraggingGrip();
    if (m_currentLevel == 0 && !draggingGrip) {
        StartCommand(FindCommandName(text), 1);
        return;
    }

    // Sends one event and closes its answer.
    auto send = [this, &handled](LONG code, void* value, LONG closeCode) {
        LONG result = kNotHandled;
        SendCommandEvent(code, value, 1, 0, &result);
        EndCommandLevel(closeCode, result, TRUE);
        handled = true;
        return result;
    };
    // A model point or tracking distance: sent, then tracking lines go
    // through it when the level still takes points and asked for them, or
    // when the answer kept the level.
    auto sendModelPoint = [this, &send, kind](const CVector3& target) {
        m_lastTypedPoint = target;
        EventValueRecord records[3] = {{target.x.GetValue()}, {target.y.GetValue()}, {target.z.GetValue()}};
        const LONG result = send(kModelPoint, records, kModelPoint);
        const bool takesPoints = (GetInputFlagsA(kind) & 0x2) != 0;
        if ((takesPoints && (result & kTrackPoint) != 0) || (result & (kCommit | kEnd)) == 0) {
            m_snapEngine.AddTrackingLine(target, m_userFrame.GetXAxisValue(), 0);
            m_snapEngine.AddTrackingLine(target, m_userFrame.GetYAxisValue(), 0);
            m_snapEngine.AddTrackingLine(target, m_userFrame.GetZAxisValue(), 0);
        }
    };
    TypedCoordinates point;
    if (HasAll(GetInputFlagsA(kind), kTypedPoint) && ParseCoordinates(text, point)) {
        EventValueRecord records[2] = {{point.x}, {point.y}};
        send(kTypedPoint, records, 2);
    }
    if (!handled && HasAll(GetInputFlagsA(kind), kModelPoint) &&
        (ParseCoordinates3(text, point) || ParseCoordinates(text, point))) {
        sendModelPoint(CVector3(point.x, point.y, point.z));
    }
    if (!handled && ParseNumber(text)) {
        if ((GetInputFlagsA(kind) & kValue) != 0) {
            double value = ParseDouble(text);
            send(kValue, &value, kValue);
        }
        else if (HasAll(GetInputFlagsA(kind), kModelPoint)) {
            if (const CLineObject* line = m_snapEngine.FindTrackingDirection()) {
                sendModelPoint(TrackingDistancePoint(*line, m_snapEngine.ResultPoint(), ParseDouble(text)));
            }
        }
    }
    double first = 0.0;
    double second = 0.0;
    if (!handled && (GetInputFlagsA(kind) & kTwoValues) != 0 && ParseTwoValues(text, first, second)) {
        double values[2] = {first, second};
        send(kTwoValues, values, kTwoValues);
    }
    if (!handled && (GetInputFlagsA(kind) & kAngle) != 0 && ParsePolar(text)) {
        double angle = ParsePolarValue(text);
        send(kAngle, &angle, kAngle);
    }
    if (handled) {
        // The view the line was typed for takes the keyboard back.
        if (IDocumentView* view = GetFirstDocumentView()) {
            view->TakeFocusAfterTypedInput();
        }
        m_commandLineText.clear();
        m_output.SetCommandLineText("");
        m_output.UpdateAllViews();
    }
}
