// The milling job's byte record inside the document file, and its reader
// and writer.
//
// Layout (little-endian, no padding, strings without terminator):
//   i32 active operation (-1: none), i32 operation count n (at least 1),
//   n operation records:
//     i32 name length, name, i32 Inverted Z, f32 origin x, y, z,
//     i32 machine name length, machine name (empty: no machine),
//     i32 feature count f, f times: i32 type (0 pocket, 1 contour) and the
//     feature's own record.
// Names are bounded only by the record, so any name that was saved reads
// back. A record that does not read whole (a count or length past the end,
// an active index outside the operations, an unknown feature type, a
// feature record that does not read, bytes left over) loads nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CMillingOperation;
class CMoveEntityFactory;

// Stable codes: tests compare them.
enum class JobRecordError : int {
    None = 0,
    Truncated = 1,          // a field runs past the end of the record
    NoOperations = 2,       // the operation count is below 1
    BadActiveOperation = 3, // the active index is neither -1 nor an operation's
    NegativeLength = 4,     // a name length or feature count is negative
    BadFeatureType = 5,     // a feature type other than 0 (pocket) or 1 (contour)
    BadFeatureRecord = 6,   // a feature's own record does not read
    NonFiniteOrigin = 7,    // an origin coordinate is not a finite number
    TrailingBytes = 8,      // bytes follow the last operation
};

struct JobRecordStatus {
    JobRecordError code = JobRecordError::None;
    size_t offset = 0;     // where in the record the fault was found
    std::string context;   // the operation and feature, and a feature's own reason
    bool ok() const { return code == JobRecordError::None; }
    // One sentence for the person: what is wrong and where.
    std::string Message() const;
};

const char* JobRecordErrorText(JobRecordError code);

struct JobRecordContent {
    long activeOperation = -1;
    std::vector<std::unique_ptr<CMillingOperation>> operations;
    JobRecordContent();
    ~JobRecordContent();
    JobRecordContent(JobRecordContent&&) noexcept;
    JobRecordContent& operator=(JobRecordContent&&) noexcept;
};

// Reads a whole record; on an error `content` is left empty. The features'
// move entities are made through the factory (none without one).
JobRecordStatus ReadJobRecord(const uint8_t* data, size_t size, CMoveEntityFactory* factory,
                              JobRecordContent& content);

// The record's size and bytes for these operations.
size_t JobRecordSize(const std::vector<std::unique_ptr<CMillingOperation>>& operations);
std::vector<uint8_t> WriteJobRecord(long activeOperation,
                                    const std::vector<std::unique_ptr<CMillingOperation>>& operations);
