// The command prompt: which inputs the current level accepts, with the
// alternative that the command line's text would satisfy marked.
#include <array>

#include "host/document/command_engine.h"
#include "host/document/nuvex_doc.h"
#include "host/document/typed_input.h"

namespace {

constexpr std::array<const char*, 5> kDefaultLabels = {"Point", "Value", "Two Values", "Angle", "Select object"};
constexpr const char* kSeparator = " / ";
constexpr const char* kEnding = " :";
constexpr int32_t kCommandPromptTextId = 20000;

// Field i of a tab-separated label string; empty when missing.
std::string LabelField(const std::string& labels, size_t field)
{
    size_t start = 0;
    for (size_t i = 0; i < field; ++i) {
        start = labels.find('\t', start);
        if (start == std::string::npos) {
            return {};
        }
        ++start;
    }
    const size_t end = labels.find('\t', start);
    return labels.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The label field of an input kind; -1 for kinds without one.
int FieldOfKind(uint32_t kind)
{
    switch (kind) {
    case 0x2:
    case 0x100002:
    case 0x200002:
        return 0;
    case 0x40:
        return 1;
    case 0x80:
        return 2;
    case 0x800:
        return 3;
    case 0x10004:
    case 0x20004:
        return 4;
    default:
        return -1;
    }
}

} // namespace

void CNuvexDoc::BuildPrompt()
{
    const CommandLevel& level = Level(m_currentLevel);
    const uint32_t w = level.inputKinds[0] | level.inputKinds[1] | level.inputKinds[2];
    const std::string& t = m_commandLineText;
    std::string prompt;
    bool matched = false;
    size_t markFirst = 0;
    size_t markCount = 0;
    auto label = [&level](size_t field) {
        std::string text = LabelField(level.promptLabels, field);
        return text.empty() ? std::string(kDefaultLabels[field]) : text;
    };
    auto append = [&](size_t field) {
        if (!prompt.empty()) {
            prompt += kSeparator;
        }
        const std::string text = label(field);
        if (matched && markCount == 0) {
            markFirst = prompt.size();
            markCount = text.size();
        }
        prompt += text;
    };
    TypedCoordinates point;
    if ((w & 0x2) != 0) {
        // A number alone is a distance along the tracking line when no
        // value is asked for.
        const bool trackingDistance =
            (w & 0x40) == 0 && m_snapEngine.FindTrackingDirection() != nullptr && ParseNumber(t);
        matched = ((w & 0x200002) == 0x200002 && ParseCoordinates3(t, point)) || ParseCoordinates(t, point) ||
                  trackingDistance;
        append(0);
    }
    if ((w & 0x40) != 0) {
        matched = matched || ParseNumber(t);
        append(1);
    }
    double a = 0.0;
    double b = 0.0;
    if ((w & 0x80) != 0) {
        matched = matched || ParseTwoValues(t, a, b);
        append(2);
    }
    if ((w & 0x800) != 0) {
        matched = matched || ParsePolar(t);
        append(3);
    }
    if (m_currentLevel > 0 && ((w & 0x10004) == 0x10004 || (w & 0x20004) == 0x20004)) {
        matched = (w & 0x10004) == 0x10004 && (w & 0x40) == 0;
        if (!prompt.empty()) {
            prompt += kSeparator;
        }
        const std::string text = label(4);
        if (matched) {
            markFirst = prompt.size();
            markCount = text.size();
        }
        prompt += text;
    }
    if (prompt.empty() && m_currentLevel == 0) {
        prompt = m_services.GetStaticText(kCommandPromptTextId, "Command");
    }
    prompt += kEnding;
    if (!matched) {
        markCount = 0;
    }
    m_output.SetPrompt(prompt, markFirst, markCount);
}

void CNuvexDoc::SetPromptLabel(uint32_t kind, const char* text)
{
    const int field = FieldOfKind(kind);
    if (field >= 0) {
        std::string& labels = Level(m_currentLevel).promptLabels;
        size_t start = 0;
        for (int i = 0; i < field && start != std::string::npos; ++i) {
            start = labels.find('\t', start);
            if (start != std::string::npos) {
                ++start;
            }
        }
        if (start != std::string::npos) {
            const size_t end = labels.find('\t', start);
            labels.replace(start, end == std::string::npos ? std::string::npos : end - start,
                           text != nullptr ? text : "");
        }
    }
    BuildPrompt();
}
