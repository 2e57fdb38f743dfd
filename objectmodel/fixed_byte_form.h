// The byte form of a small value object whose fields are fixed-size
// integers written one after another, little-endian: its size, loading
// exactly that many bytes, and saving. Every field is read before any is
// stored, so a refused block changes nothing.
#pragma once

#include <tuple>

#include "objectmodel/byte_io.h"

namespace fixed_byte_form {

inline bool Read(ByteReader& reader, uint8_t& value) { return reader.ReadU8(value); }
inline bool Read(ByteReader& reader, uint32_t& value) { return reader.ReadU32(value); }
inline bool Write(ByteWriter& writer, uint8_t value) { return writer.WriteU8(value); }
inline bool Write(ByteWriter& writer, uint32_t value) { return writer.WriteU32(value); }

} // namespace fixed_byte_form

// The size of the byte form of these fields.
template <class... Field>
inline constexpr uint32_t kFixedFormSize = (static_cast<uint32_t>(sizeof(Field)) + ...);

// Loads the fields from a block of exactly their form's size; E_FAIL, with
// every field as it was, for any other block.
template <class... Field>
HRESULT LoadFixedForm(const BYTE* data, uint32_t size, Field&... fields)
{
    ByteReader reader(data, size);
    std::tuple<Field...> read{};
    std::apply([&reader](auto&... value) { (fixed_byte_form::Read(reader, value), ...); }, read);
    if (!reader.AtEnd()) {
        return E_FAIL;
    }
    std::tie(fields...) = read;
    return S_OK;
}

// Saves the fields into a buffer of their form's size.
template <class... Field>
HRESULT SaveFixedForm(BYTE* buffer, const Field&... fields)
{
    ByteWriter writer(buffer, kFixedFormSize<Field...>);
    (fixed_byte_form::Write(writer, fields), ...);
    return writer.Full() ? S_OK : E_FAIL;
}
