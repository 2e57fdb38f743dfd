// Helpers of the document tests.
#include "host/document/tests/document_test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "objectmodel/entity_record.h"

IEntityRecord* MakeHolder(IUnknown* object, std::initializer_list<ICollectionBase*> children)
{
    auto* holder = new CEntityRecord();
    holder->SetObject(object);
    for (ICollectionBase* child : children) {
        holder->AddChild(child);
    }
    return holder;
}

std::string I32(int32_t value)
{
    const auto raw = static_cast<uint32_t>(value);
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<size_t>(i)] = static_cast<char>((raw >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::string Guid(const GUID& id)
{
    std::string bytes = I32(static_cast<int32_t>(id.Data1));
    bytes += static_cast<char>(id.Data2 & 0xFF);
    bytes += static_cast<char>(id.Data2 >> 8);
    bytes += static_cast<char>(id.Data3 & 0xFF);
    bytes += static_cast<char>(id.Data3 >> 8);
    bytes.append(reinterpret_cast<const char*>(id.Data4), 8);
    return bytes;
}

std::string Record(const CLSID& factory, const IID& iid, const std::string& data)
{
    return Guid(factory) + Guid(iid) + I32(static_cast<int32_t>(data.size())) + data;
}

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "nuvexdocXXXXXX").string();
    m_path = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
