// CNcFileReader: storing parsed lines, the backward lookups, and reading an
// NC file through a postprocessor.
#include "addins/milling/features/ncfilereader.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "ipostprocessor.h"
#include "platform/kernel/files.h"

namespace {

// Capacities of the parse buffers: codes and kinds as the parser needs,
// values with room to spare, one style per character of a line.
constexpr size_t kParseTokenCapacity = kNcMaxBlockTokens;
constexpr size_t kParseValueCapacity = 320;
constexpr size_t kParseStyleCapacity = 4096;

constexpr int kFirstMotionCode = kNcRapid;
constexpr int kLastMotionCode = kNcArcCounterClockwise;

}  // namespace

bool NcTokenNumber(int kind, const VARIANT& value, double& number)
{
    if (kind == kNcKindReal && value.vt == VT_R8 && std::isfinite(value.dblVal)) {
        number = value.dblVal;
        return true;
    }
    if (kind == kNcKindInteger && value.vt == VT_I4) {
        number = value.lVal;
        return true;
    }
    return false;
}

CNcFileReader::CNcFileReader(IHostDocument* document) : m_document(document)
{
    if (m_document == nullptr) {
        return;
    }
    m_document->GetActiveObject(&m_currentObject);
    m_document->GetSettings(&m_currentCollection);
    m_document->GetAttributes(&m_currentAttributes);
}

CNcFileReader::~CNcFileReader() = default;

void CNcFileReader::AddLine(int count, const int* codes, const int* kinds, const VARIANT* values)
{
    Line line;
    if (count > 0 && count <= kNcMaxBlockTokens && codes != nullptr && kinds != nullptr && values != nullptr) {
        const size_t n = static_cast<size_t>(count);
        line.codes.assign(codes, codes + n);
        line.kinds.assign(kinds, kinds + n);
        line.values.assign(values, values + n);
        for (size_t i = 0; i < n; ++i) {
            if (line.kinds[i] != kNcKindText) {
                continue;
            }
            // A text value points to the reader's own copy, so the parser
            // may reuse its buffers for the next line.
            const char* text = values[i].vt == kNcTextVariantType ? values[i].pcVal : nullptr;
            if (text == nullptr) {
                line.values[i].pcVal = nullptr;
                continue;
            }
            line.texts.push_back(std::make_unique<std::string>(text));
            line.values[i].pcVal = line.texts.back()->data();
        }
    }
    m_lines.push_back(std::move(line));
}

int CNcFileReader::FindLastMotionCode() const
{
    for (auto line = m_lines.rbegin(); line != m_lines.rend(); ++line) {
        for (auto code = line->codes.rbegin(); code != line->codes.rend(); ++code) {
            if (*code >= kFirstMotionCode && *code <= kLastMotionCode) {
                return *code;
            }
        }
    }
    return -1;
}

void CNcFileReader::FindLastPosition(double* x, double* y, double* z, int* xFound, int* yFound, int* zFound) const
{
    double* outputs[] = {x, y, z};
    int* found[] = {xFound, yFound, zFound};
    for (auto line = m_lines.rbegin(); line != m_lines.rend(); ++line) {
        for (size_t i = line->codes.size(); i-- > 0;) {
            const int axis = line->codes[i] - kNcX;
            if (axis < 0 || axis > 2 || found[axis] == nullptr || *found[axis] != 0) {
                continue;
            }
            double value = 0.0;
            if (!NcTokenNumber(line->kinds[i], line->values[i], value)) {
                continue;
            }
            if (outputs[axis] != nullptr) {
                *outputs[axis] = value;
            }
            *found[axis] = 1;
            bool all = true;
            for (const int* flag : found) {
                all = all && (flag == nullptr || *flag != 0);
            }
            if (all) {
                return;
            }
        }
    }
}

NcReadResult ReadNcProgram(const char* path, IPostprocessor* postprocessor, CNcFileReader& reader)
{
    NcReadResult result;
    if (postprocessor == nullptr) {
        result.status = NcReadStatus::NoPostprocessor;
        return result;
    }
    FILE* file = path != nullptr ? OpenCFile(path, "r") : nullptr;
    if (file == nullptr) {
        result.status = NcReadStatus::CannotOpen;
        return result;
    }
    std::vector<INT> codes(kParseTokenCapacity);
    std::vector<INT> kinds(kParseTokenCapacity);
    std::vector<VARIANT> values(kParseValueCapacity);
    std::vector<INT> styles(kParseStyleCapacity);
    INT count = 0;

    auto handleLine = [&](const std::string& line) {
        if (line.empty()) {
            ++result.emptyLinesSkipped;
            return;
        }
        if (line.size() >= static_cast<size_t>(kNcMaxLineLength)) {
            ++result.longLinesSkipped;
            return;
        }
        postprocessor->ParseBlock(line.c_str(), &count, codes.data(), kinds.data(), values.data(), styles.data());
        if (count < 0 || count > kNcMaxBlockTokens) {
            count = 0;
        }
        reader.AddLine(count, codes.data(), kinds.data(), values.data());
        ++result.linesStored;
    };

    std::string line;
    int c = 0;
    while ((c = std::fgetc(file)) != EOF) {
        if (c == '\n') {
            handleLine(line);
            line.clear();
        } else if (line.size() <= static_cast<size_t>(kNcMaxLineLength)) {
            line.push_back(static_cast<char>(c));
        }
    }
    if (!line.empty()) {
        handleLine(line);
    }
    std::fclose(file);
    // Hands the parser's last texts back to it.
    postprocessor->ParseBlock("", &count, codes.data(), kinds.data(), values.data(), styles.data());
    return result;
}
