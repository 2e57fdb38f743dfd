// Reading and writing the milling job's record (layout in job_record.h).
#include "addins/milling/core/job_record.h"

#include <cmath>
#include <cstring>

#include "addins/milling/core/milling_operation.h"
#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/pocketfeature.h"

namespace {

constexpr int32_t kPocketType = 0;
constexpr int32_t kContourType = 1;

class CJobRecordReader {
public:
    CJobRecordReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    size_t Offset() const { return m_at; }
    size_t Remaining() const { return m_size - m_at; }
    const uint8_t* Here() const { return m_data + m_at; }
    void Skip(size_t n) { m_at += n; }
    bool I32(int32_t& value) { return Raw(&value, 4); }
    bool F32(float& value) { return Raw(&value, 4); }
    bool Text(size_t length, std::string& text)
    {
        if (length > Remaining())
            return false;
        text.assign(reinterpret_cast<const char*>(m_data + m_at), length);
        m_at += length;
        return true;
    }

private:
    // The build targets are little-endian, so a byte copy reads the file order.
    bool Raw(void* value, size_t n)
    {
        if (n > Remaining())
            return false;
        std::memcpy(value, m_data + m_at, n);
        m_at += n;
        return true;
    }
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

class CJobRecordWriter {
public:
    explicit CJobRecordWriter(std::vector<uint8_t>& out) : m_out(out) {}
    void I32(int32_t value) { Raw(&value, 4); }
    void F32(float value) { Raw(&value, 4); }
    void Text(const std::string& text)
    {
        I32(static_cast<int32_t>(text.size()));
        m_out.insert(m_out.end(), text.begin(), text.end());
    }
    void Bytes(const std::vector<uint8_t>& bytes) { m_out.insert(m_out.end(), bytes.begin(), bytes.end()); }

private:
    void Raw(const void* value, size_t n)
    {
        const auto* bytes = static_cast<const uint8_t*>(value);
        m_out.insert(m_out.end(), bytes, bytes + n);
    }
    std::vector<uint8_t>& m_out;
};

JobRecordStatus Fault(JobRecordError code, size_t offset, std::string context = {})
{
    return {code, offset, std::move(context)};
}

std::string OperationContext(size_t index) { return "operation " + std::to_string(index + 1); }

// A length or count field: present and not negative.
JobRecordStatus ReadLength(CJobRecordReader& reader, size_t operation, int32_t& value)
{
    const size_t at = reader.Offset();
    if (!reader.I32(value))
        return Fault(JobRecordError::Truncated, at, OperationContext(operation));
    if (value < 0)
        return Fault(JobRecordError::NegativeLength, at, OperationContext(operation));
    return {};
}

JobRecordStatus ReadFeature(CJobRecordReader& reader, size_t operation, size_t index, CMoveEntityFactory* factory,
                            std::unique_ptr<CMillingFeature>& feature)
{
    const std::string context = OperationContext(operation) + ", feature " + std::to_string(index + 1);
    const size_t at = reader.Offset();
    int32_t type = 0;
    if (!reader.I32(type))
        return Fault(JobRecordError::Truncated, at, context);
    if (type == kPocketType)
        feature = std::make_unique<CPocketFeature>();
    else if (type == kContourType)
        feature = std::make_unique<CContourFeature>();
    else
        return Fault(JobRecordError::BadFeatureType, at, context + ": type " + std::to_string(type));
    const size_t start = reader.Offset();
    Result<size_t> read = feature->Load(reader.Here(), reader.Remaining(), factory);
    if (!read.ok()) {
        return Fault(JobRecordError::BadFeatureRecord, start, context + ": " + FeatureErrorText(read.error()));
    }
    reader.Skip(read.value());
    return {};
}

JobRecordStatus ReadOperation(CJobRecordReader& reader, size_t index, CMoveEntityFactory* factory,
                              std::unique_ptr<CMillingOperation>& operation)
{
    operation = std::make_unique<CMillingOperation>(CMovePoint{}, false);
    int32_t length = 0;
    if (JobRecordStatus status = ReadLength(reader, index, length); !status.ok())
        return status;
    if (!reader.Text(static_cast<size_t>(length), operation->m_name))
        return Fault(JobRecordError::Truncated, reader.Offset(), OperationContext(index));
    float origin[3] = {};
    size_t at = reader.Offset();
    if (!reader.I32(operation->m_invertedZ) || !reader.F32(origin[0]) || !reader.F32(origin[1]) ||
        !reader.F32(origin[2]))
        return Fault(JobRecordError::Truncated, at, OperationContext(index));
    for (float value : origin)
        if (!std::isfinite(value))
            return Fault(JobRecordError::NonFiniteOrigin, at + 4, OperationContext(index));
    operation->m_origin = {origin[0], origin[1], origin[2]};
    if (JobRecordStatus status = ReadLength(reader, index, length); !status.ok())
        return status;
    if (!reader.Text(static_cast<size_t>(length), operation->m_machineName))
        return Fault(JobRecordError::Truncated, reader.Offset(), OperationContext(index));
    int32_t featureCount = 0;
    if (JobRecordStatus status = ReadLength(reader, index, featureCount); !status.ok())
        return status;
    // Every feature takes at least its type word, so a count the record
    // cannot hold is found before anything is made for it.
    if (static_cast<size_t>(featureCount) > reader.Remaining() / 4)
        return Fault(JobRecordError::Truncated, reader.Offset(), OperationContext(index));
    for (int32_t j = 0; j < featureCount; ++j) {
        std::unique_ptr<CMillingFeature> feature;
        if (JobRecordStatus status = ReadFeature(reader, index, static_cast<size_t>(j), factory, feature);
            !status.ok())
            return status;
        operation->CMillingOperationBase::AddFeature(std::move(feature));
    }
    return {};
}

size_t OperationRecordSize(const CMillingOperation& operation)
{
    size_t size = 28 + operation.m_name.size() + operation.MachineNameForRecord().size();
    for (const auto& feature : operation.m_features)
        size += 4 + feature->GetSize();
    return size;
}

} // namespace

JobRecordContent::JobRecordContent() = default;
JobRecordContent::~JobRecordContent() = default;
JobRecordContent::JobRecordContent(JobRecordContent&&) noexcept = default;
JobRecordContent& JobRecordContent::operator=(JobRecordContent&&) noexcept = default;

const char* JobRecordErrorText(JobRecordError code)
{
    switch (code) {
    case JobRecordError::None: return "the milling job was read";
    case JobRecordError::Truncated: return "the milling job's record ends too early";
    case JobRecordError::NoOperations: return "the milling job's record holds no operation";
    case JobRecordError::BadActiveOperation: return "the milling job's active operation does not exist";
    case JobRecordError::NegativeLength: return "the milling job's record holds a negative length or count";
    case JobRecordError::BadFeatureType: return "the milling job's record holds a feature of an unknown type";
    case JobRecordError::BadFeatureRecord: return "a milling feature's record cannot be read";
    case JobRecordError::NonFiniteOrigin: return "an operation's origin is not a number";
    case JobRecordError::TrailingBytes: return "the milling job's record has bytes after its last operation";
    }
    return "the milling job's record cannot be read";
}

std::string JobRecordStatus::Message() const
{
    std::string message = JobRecordErrorText(code);
    if (!context.empty())
        message += " (" + context + ")";
    message += " at byte " + std::to_string(offset);
    return message;
}

JobRecordStatus ReadJobRecord(const uint8_t* data, size_t size, CMoveEntityFactory* factory,
                              JobRecordContent& content)
{
    content = JobRecordContent{};
    if (data == nullptr && size > 0)
        return Fault(JobRecordError::Truncated, 0);
    CJobRecordReader reader(data, size);
    int32_t active = 0;
    int32_t count = 0;
    if (!reader.I32(active) || !reader.I32(count))
        return Fault(JobRecordError::Truncated, reader.Offset());
    if (count < 1)
        return Fault(JobRecordError::NoOperations, 4);
    if (active < -1 || active >= count)
        return Fault(JobRecordError::BadActiveOperation, 0, "index " + std::to_string(active));
    // An operation record takes at least 28 bytes.
    if (static_cast<size_t>(count) > reader.Remaining() / 28)
        return Fault(JobRecordError::Truncated, 4, std::to_string(count) + " operations");
    JobRecordContent read;
    read.activeOperation = active;
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<CMillingOperation> operation;
        if (JobRecordStatus status = ReadOperation(reader, static_cast<size_t>(i), factory, operation); !status.ok())
            return status;
        read.operations.push_back(std::move(operation));
    }
    if (reader.Remaining() != 0)
        return Fault(JobRecordError::TrailingBytes, reader.Offset());
    content = std::move(read);
    return {};
}

size_t JobRecordSize(const std::vector<std::unique_ptr<CMillingOperation>>& operations)
{
    size_t size = 8;
    for (const auto& operation : operations)
        size += OperationRecordSize(*operation);
    return size;
}

std::vector<uint8_t> WriteJobRecord(long activeOperation,
                                    const std::vector<std::unique_ptr<CMillingOperation>>& operations)
{
    std::vector<uint8_t> out;
    out.reserve(JobRecordSize(operations));
    CJobRecordWriter writer(out);
    writer.I32(static_cast<int32_t>(activeOperation));
    writer.I32(static_cast<int32_t>(operations.size()));
    for (const auto& operation : operations) {
        writer.Text(operation->m_name);
        writer.I32(operation->m_invertedZ);
        writer.F32(static_cast<float>(operation->m_origin.x));
        writer.F32(static_cast<float>(operation->m_origin.y));
        writer.F32(static_cast<float>(operation->m_origin.z));
        writer.Text(operation->MachineNameForRecord());
        writer.I32(static_cast<int32_t>(operation->m_features.size()));
        for (const auto& feature : operation->m_features) {
            writer.I32(feature->GetType());
            writer.Bytes(feature->SaveRecord());
        }
    }
    return out;
}
