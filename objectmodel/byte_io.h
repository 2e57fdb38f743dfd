// Little-endian reading and writing of byte forms, field by field. Every
// byte form of the object model goes through these two classes, so that no
// loader reads past the block it was given and no saver writes past the
// size it reported.
//
// Both classes fail "stickily": once a read or write does not fit, every
// later one fails too and Ok() stays false, so a loader may read all its
// fields and check once at the end before it changes any state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/base/guid.h"
#include "platform/base/types.h"

class ByteReader {
public:
    // A null block with a non-zero size is refused at once.
    ByteReader(const BYTE* data, size_t size) : m_data(data), m_size(data != nullptr ? size : 0)
    {
        m_failed = (data == nullptr && size != 0);
    }

    [[nodiscard]] bool Ok() const { return !m_failed; }
    [[nodiscard]] size_t Remaining() const { return m_failed ? 0 : m_size - m_position; }
    [[nodiscard]] size_t Position() const { return m_position; }
    // True when every byte of the block has been read and nothing failed:
    // the check that refuses oversized blocks.
    [[nodiscard]] bool AtEnd() const { return !m_failed && m_position == m_size; }

    bool ReadU8(uint8_t& value)
    {
        const BYTE* p = Take(1);
        if (p == nullptr) {
            return false;
        }
        value = p[0];
        return true;
    }
    bool ReadU16(uint16_t& value)
    {
        uint64_t v = 0;
        if (!ReadLittleEndian(2, v)) {
            return false;
        }
        value = static_cast<uint16_t>(v);
        return true;
    }
    bool ReadI16(int16_t& value)
    {
        uint16_t v = 0;
        if (!ReadU16(v)) {
            return false;
        }
        value = static_cast<int16_t>(v);
        return true;
    }
    bool ReadU32(uint32_t& value)
    {
        uint64_t v = 0;
        if (!ReadLittleEndian(4, v)) {
            return false;
        }
        value = static_cast<uint32_t>(v);
        return true;
    }
    bool ReadI32(int32_t& value)
    {
        uint32_t v = 0;
        if (!ReadU32(v)) {
            return false;
        }
        value = static_cast<int32_t>(v);
        return true;
    }
    bool ReadU64(uint64_t& value) { return ReadLittleEndian(8, value); }
    bool ReadF64(double& value)
    {
        uint64_t bits = 0;
        if (!ReadU64(bits)) {
            return false;
        }
        std::memcpy(&value, &bits, sizeof value);
        return true;
    }
    bool ReadGuid(GUID& value)
    {
        const BYTE* p = Take(16);
        if (p == nullptr) {
            return false;
        }
        value = GuidFromBytes(p);
        return true;
    }
    // The next `count` bytes of the block, without copying; null when they
    // are not all there.
    const BYTE* ReadBytes(size_t count) { return Take(count); }
    bool ReadString(size_t length, std::string& value)
    {
        const BYTE* p = Take(length);
        if (p == nullptr) {
            return false;
        }
        value.assign(reinterpret_cast<const char*>(p), length);
        return true;
    }

private:
    // The next `count` bytes; null only on failure (a zero-byte take of a
    // null block gives a pointer to a static empty byte).
    const BYTE* Take(size_t count)
    {
        if (m_failed || count > m_size - m_position) {
            m_failed = true;
            return nullptr;
        }
        static const BYTE kNothing = 0;
        const BYTE* p = m_data != nullptr ? m_data + m_position : &kNothing;
        m_position += count;
        return p;
    }
    bool ReadLittleEndian(size_t width, uint64_t& value)
    {
        const BYTE* p = Take(width);
        if (p == nullptr) {
            return false;
        }
        uint64_t v = 0;
        for (size_t i = 0; i < width; ++i) {
            v |= static_cast<uint64_t>(p[i]) << (8 * i);
        }
        value = v;
        return true;
    }

    const BYTE* m_data;
    size_t m_size;
    size_t m_position = 0;
    bool m_failed = false;
};

class ByteWriter {
public:
    // Writes into `buffer`, which holds `capacity` bytes.
    ByteWriter(BYTE* buffer, size_t capacity) : m_buffer(buffer), m_capacity(buffer != nullptr ? capacity : 0)
    {
        m_failed = (buffer == nullptr && capacity != 0);
    }

    [[nodiscard]] bool Ok() const { return !m_failed; }
    [[nodiscard]] size_t Written() const { return m_position; }
    // True when exactly the capacity has been written and nothing failed.
    [[nodiscard]] bool Full() const { return !m_failed && m_position == m_capacity; }

    bool WriteU8(uint8_t value) { return WriteLittleEndian(1, value); }
    bool WriteU16(uint16_t value) { return WriteLittleEndian(2, value); }
    bool WriteI16(int16_t value) { return WriteU16(static_cast<uint16_t>(value)); }
    bool WriteU32(uint32_t value) { return WriteLittleEndian(4, value); }
    bool WriteI32(int32_t value) { return WriteU32(static_cast<uint32_t>(value)); }
    bool WriteU64(uint64_t value) { return WriteLittleEndian(8, value); }
    bool WriteF64(double value)
    {
        uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof value);
        return WriteU64(bits);
    }
    bool WriteGuid(const GUID& value)
    {
        BYTE* p = Take(16);
        if (p == nullptr) {
            return false;
        }
        GuidToBytes(value, p);
        return true;
    }
    bool WriteBytes(const void* data, size_t count)
    {
        BYTE* p = Take(count);
        if (p == nullptr) {
            return false;
        }
        if (count != 0) {
            std::memcpy(p, data, count);
        }
        return true;
    }
    // Room for `count` bytes that someone else fills (an embedded object's
    // own Save); null when they do not fit.
    BYTE* Reserve(size_t count) { return Take(count); }

private:
    // Room for `count` bytes; null only on failure (a zero-byte take of a
    // null buffer gives a scratch byte that is never written).
    BYTE* Take(size_t count)
    {
        if (m_failed || count > m_capacity - m_position) {
            m_failed = true;
            return nullptr;
        }
        BYTE* p = m_buffer != nullptr ? m_buffer + m_position : &m_scratch;
        m_position += count;
        return p;
    }
    bool WriteLittleEndian(size_t width, uint64_t value)
    {
        BYTE* p = Take(width);
        if (p == nullptr) {
            return false;
        }
        for (size_t i = 0; i < width; ++i) {
            p[i] = static_cast<BYTE>(value >> (8 * i));
        }
        return true;
    }

    BYTE* m_buffer;
    BYTE m_scratch = 0;
    size_t m_capacity;
    size_t m_position = 0;
    bool m_failed = false;
};
