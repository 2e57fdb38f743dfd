// What the document file's reading and writing share: the framing steps
// over one record, paths for the file system, and the route that hands
// other extensions to an add-in. Private to host/document.
#pragma once

#include <cstdint>
#include <string>

#include "host/document/document_file.h"
#include "ientity.h"
#include "ientityrecord.h"
#include "platform/base/guid.h"

class CNuvexDoc;

namespace document_file {

// The header of a record at the reader's position: class ids and a data
// size that is not negative.
[[nodiscard]] DocumentFileCheck ReadRecordHeader(DocumentByteReader& reader, CLSID& factory, IID& iid,
                                                 uint32_t& size);
// The data of a record whose header started at start: taken (data set)
// or passed over (data null).
[[nodiscard]] DocumentFileCheck ReadRecordData(DocumentByteReader& reader, size_t start, uint32_t size, bool take,
                                               const BYTE*& data);
// The child count behind an object record's data: no more children than
// the smallest child records could fill the rest with.
[[nodiscard]] DocumentFileCheck ReadChildCount(DocumentByteReader& reader, size_t& count);
// A record with its data passed over.
[[nodiscard]] DocumentFileCheck SkipRecord(DocumentByteReader& reader);
// The object count at the start of a file that is not empty.
[[nodiscard]] DocumentFileCheck ReadObjectCount(DocumentByteReader& reader, size_t& count);
// A short read that came from the file or from memory, not from the bytes.
[[nodiscard]] DocumentFileCheck WithReaderFailure(const DocumentByteReader& reader, DocumentFileCheck check);

// The object a record holds, as a stored object; null when it holds none
// or one that is not stored.
ComPtr<IObjectBase> ObjectBaseOf(IEntityRecord* holder);

// Paths inside the system may use '\'; the file system wants '/'.
std::string FileSystemPath(const char* path);

// The event codes of the add-in route.
constexpr LONG kFileOpenCode = 1;
constexpr LONG kFileSaveCode = 2;
// The add-in route for an extension the document does not read itself:
// the first handler registered for the extension and the direction runs.
BOOL RunFileTypeHandler(CNuvexDoc& document, const char* path, LONG code);

} // namespace document_file
