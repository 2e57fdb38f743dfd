// Why a native document file could not be read or written. Tests compare
// the codes; DescribeFileError gives the text for a message.
#pragma once

enum class DocumentFileError {
    None,
    CannotOpen,
    ReadFailed,
    // The file ends inside a record or inside a count.
    Truncated,
    // A count or size that is negative or larger than the rest of the file.
    ImpossibleCount,
    WriteFailed,
    // An object could not produce its data; nothing was replaced.
    ObjectSaveFailed,
    // The finished temporary file could not take the place of the old one.
    ReplaceFailed,
    OutOfMemory,
};

const char* DescribeFileError(DocumentFileError error);
