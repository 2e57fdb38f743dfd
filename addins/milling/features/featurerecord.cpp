// The feature record: the byte form of a contour or curve feature inside the
// milling job's record.
//
// Layout (little-endian, strings without terminator):
//   u8 hidden, u8 state, i32 name length, name, 144-byte parameter image,
//   i32 tool-name length, tool name, i32 move count m,
//   when m > 0: the first move's start as f32 x, y, z,
//   per move: u8 flag, end f32 x, y, z, and for an arc (flag & 0x06) the
//   centre f32 x, y, z.
// Parameter image: f64 zTop, zBottom, zSafePlane, zEngage, offset at 0..39;
// 8 reserved bytes; f64 vertical step, radial step, spindle, plunge, feed,
// angle, corner radius, cut length, length, diameter at 48..127; i32 tool
// type at 128; 4 reserved; i32 outside at 136; 4 reserved. The pocket's
// image is the first 136 bytes of it (no Outside). Reserved bytes are
// written as zero and ignored on reading.
#include <cmath>
#include <cstring>

#include "addins/milling/features/millingfeature.h"

namespace {

// The contour image holds Outside; the pocket's ends before it.
constexpr size_t kContourImageSize = 144;
constexpr size_t kPocketImageSize = 136;
constexpr size_t kPointSize = 12;

class CRecordWriter {
public:
    explicit CRecordWriter(uint8_t* data) : m_data(data) {}
    void U8(uint8_t v) { m_data[m_at++] = v; }
    void I32(int32_t v) { Raw(&v, 4); }
    void F32(float v) { Raw(&v, 4); }
    void F64(double v) { Raw(&v, 8); }
    void Zero(size_t n) { std::memset(m_data + m_at, 0, n); m_at += n; }
    void Bytes(const std::string& s) { Raw(s.data(), s.size()); }
    void Point(const CMovePoint& p)
    {
        F32(static_cast<float>(p.x));
        F32(static_cast<float>(p.y));
        F32(static_cast<float>(p.z));
    }
    size_t Written() const { return m_at; }

private:
    // The build targets are little-endian, so a byte copy is the file order.
    void Raw(const void* p, size_t n) { std::memcpy(m_data + m_at, p, n); m_at += n; }
    uint8_t* m_data;
    size_t m_at = 0;
};

class CRecordReader {
public:
    CRecordReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    size_t Remaining() const { return m_size - m_at; }
    size_t Offset() const { return m_at; }
    bool Has(size_t n) const { return n <= Remaining(); }
    // Callers check Has() first.
    uint8_t U8() { return m_data[m_at++]; }
    int32_t I32() { int32_t v; Raw(&v, 4); return v; }
    float F32() { float v; Raw(&v, 4); return v; }
    double F64() { double v; Raw(&v, 8); return v; }
    void Skip(size_t n) { m_at += n; }
    std::string Bytes(size_t n)
    {
        std::string s(reinterpret_cast<const char*>(m_data + m_at), n);
        m_at += n;
        return s;
    }
    CMovePoint Point() { CMovePoint p; p.x = F32(); p.y = F32(); p.z = F32(); return p; }

private:
    void Raw(void* p, size_t n) { std::memcpy(p, m_data + m_at, n); m_at += n; }
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

void WriteParameterImage(CRecordWriter& w, const CMillingParams& p, bool withOutside)
{
    w.F64(p.zTop);
    w.F64(p.zBottom);
    w.F64(p.zSafePlane);
    w.F64(p.zEngage);
    w.F64(p.offset);
    w.Zero(8);
    const CToolRecord& t = p.tool;
    for (double v : {t.verticalStep, t.radialStep, t.spindleSpeed, t.plungeSpeed, t.feedSpeed, t.angle,
                     t.cornerRadius, t.cutLength, t.length, t.diameter})
        w.F64(v);
    w.I32(t.toolType);
    w.Zero(4);
    if (withOutside) {
        w.I32(p.outside);
        w.Zero(4);
    }
}

void ReadParameterImage(CRecordReader& r, CMillingParams& p, bool withOutside)
{
    p.zTop = r.F64();
    p.zBottom = r.F64();
    p.zSafePlane = r.F64();
    p.zEngage = r.F64();
    p.offset = r.F64();
    r.Skip(8);
    CToolRecord& t = p.tool;
    for (double* v : {&t.verticalStep, &t.radialStep, &t.spindleSpeed, &t.plungeSpeed, &t.feedSpeed, &t.angle,
                      &t.cornerRadius, &t.cutLength, &t.length, &t.diameter})
        *v = r.F64();
    t.toolType = r.I32();
    r.Skip(4);
    if (withOutside) {
        p.outside = r.I32();
        r.Skip(4);
    }
}

Error RecordError(FeatureError code, const CRecordReader& r, const char* what)
{
    return Error{code, std::string(what) + " at offset " + std::to_string(r.Offset())};
}

// Reads a length-prefixed name, bounded by the record only: whatever length
// a feature saved loads again.
Result<std::string> ReadName(CRecordReader& r, const char* what)
{
    if (!r.Has(4))
        return RecordError(FeatureError::RecordTruncated, r, what);
    const int32_t length = r.I32();
    if (length < 0)
        return RecordError(FeatureError::RecordNegativeCount, r, what);
    if (!r.Has(static_cast<size_t>(length)))
        return RecordError(FeatureError::RecordTruncated, r, what);
    return r.Bytes(static_cast<size_t>(length));
}

double Distance(const CMovePoint& a, const CMovePoint& b)
{
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

} // namespace

size_t CMillingFeature::GetSize() const
{
    const size_t image = ImageHasOutside() ? kContourImageSize : kPocketImageSize;
    size_t size = 2 + 4 + m_name.size() + image + 4 + m_params.tool.name.size() + 4;
    if (!m_moves.empty())
        size += kPointSize;
    for (const CMove& move : m_moves)
        size += 1 + kPointSize + (IsArcMove(move.flag) ? kPointSize : 0);
    return size;
}

size_t CMillingFeature::Save(uint8_t* data) const
{
    CRecordWriter w(data);
    w.U8(static_cast<uint8_t>(m_hidden & 0xFF));
    w.U8(static_cast<uint8_t>(m_state & 0xFF));
    w.I32(static_cast<int32_t>(m_name.size()));
    w.Bytes(m_name);
    WriteParameterImage(w, m_params, ImageHasOutside());
    w.I32(static_cast<int32_t>(m_params.tool.name.size()));
    w.Bytes(m_params.tool.name);
    w.I32(static_cast<int32_t>(m_moves.size()));
    if (!m_moves.empty())
        w.Point(m_moves.front().start);
    for (const CMove& move : m_moves) {
        w.U8(move.flag);
        w.Point(move.end);
        if (IsArcMove(move.flag))
            w.Point(move.centre);
    }
    return w.Written();
}

std::vector<uint8_t> CMillingFeature::SaveRecord() const
{
    std::vector<uint8_t> data(GetSize());
    const size_t written = Save(data.data());
    data.resize(written);
    return data;
}

Result<size_t> CMillingFeature::Load(const uint8_t* data, size_t size, CMoveEntityFactory* factory)
{
    // Everything is read into locals first, so a bad record changes nothing.
    CRecordReader r(data, data == nullptr ? 0 : size);
    if (!r.Has(2))
        return RecordError(FeatureError::RecordTruncated, r, "flags");
    const int32_t hidden = r.U8();
    const int32_t state = r.U8();
    Result<std::string> name = ReadName(r, "feature name");
    if (!name.ok())
        return Passed(name.error(), "CMillingFeature::Load");
    const bool withOutside = ImageHasOutside();
    if (!r.Has(withOutside ? kContourImageSize : kPocketImageSize))
        return RecordError(FeatureError::RecordTruncated, r, "parameters");
    CMillingParams params;
    ReadParameterImage(r, params, withOutside);
    Result<std::string> toolName = ReadName(r, "tool name");
    if (!toolName.ok())
        return Passed(toolName.error(), "CMillingFeature::Load");
    params.tool.name = toolName.value();
    if (!r.Has(4))
        return RecordError(FeatureError::RecordTruncated, r, "move count");
    const int32_t count = r.I32();
    if (count < 0)
        return RecordError(FeatureError::RecordNegativeCount, r, "move count");
    // Each move takes at least 13 bytes: a count beyond that cannot be met.
    if (count > 0 && (!r.Has(kPointSize) || static_cast<size_t>(count) > (r.Remaining() - kPointSize) / 13))
        return RecordError(FeatureError::RecordTruncated, r, "moves");

    std::vector<CMove> moves;
    moves.reserve(static_cast<size_t>(count));
    CMovePoint current = count > 0 ? r.Point() : CMovePoint{};
    for (int32_t i = 0; i < count; ++i) {
        if (!r.Has(1 + kPointSize))
            return RecordError(FeatureError::RecordTruncated, r, "move");
        CMove move;
        move.flag = r.U8();
        move.start = current;
        move.end = r.Point();
        if (IsArcMove(move.flag)) {
            if (!r.Has(kPointSize))
                return RecordError(FeatureError::RecordTruncated, r, "arc centre");
            move.centre = r.Point();
            move.radius = Distance(move.end, move.centre);
        }
        if (factory != nullptr) {
            move.entity = CreateMoveEntity(move, *factory);
            if (!move.entity)
                return Error{FeatureError::EntityCreationFailed, "move " + std::to_string(i)};
        }
        current = move.end;
        moves.push_back(std::move(move));
    }

    m_hidden = hidden;
    m_state = state;
    m_name = std::move(name.value());
    m_params = std::move(params);
    m_moves = std::move(moves);
    return r.Offset();
}
