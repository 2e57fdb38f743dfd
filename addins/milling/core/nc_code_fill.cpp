// CNcCodePaneSource and CNcCodePaneFill: the NC code pane's lines written
// on demand and appended a slice at a time.
#include "addins/milling/core/nc_code_fill.h"

#include <cstdio>
#include <limits>
#include <map>
#include <utility>

#include "addins/milling/core/milling_operation.h"
#include "addins/milling/core/nc_code_pane.h"
#include "icontrols.h"
#include "platform/controls/richedit.h"
#include "platform/user/winuser.h"

namespace {

constexpr const char* kCutText = "Not Enough Memory...";

// The fills that wait for their next slice, by the id of their timer: a
// timer procedure is told its id only.
std::map<UINT_PTR, CNcCodePaneFill*>& WaitingFills()
{
    static std::map<UINT_PTR, CNcCodePaneFill*> fills;
    return fills;
}

} // namespace

CNcCodePaneSource::CNcCodePaneSource(bool hasOperations, const CMillingOperation* operation, long active,
                                     const CNcOutputContext& context)
    : m_operation(operation), m_context(context)
{
    if (!hasOperations) {
        m_ended = true;
        return;
    }
    char title[64];
    std::snprintf(title, sizeof title, "Operation% ld", active + 1);
    m_pending.push_back({title, true});
    if (operation == nullptr)
        return;
    for (size_t i = 0; i < operation->GetFeatureCount(); ++i)
        m_features.push_back(operation->GetFeature(i));
}

bool CNcCodePaneSource::Follows(const CMillingOperation* operation) const
{
    if (operation != m_operation)
        return false;
    if (operation == nullptr)
        return true;
    if (operation->GetFeatureCount() != m_features.size())
        return false;
    for (size_t i = 0; i < m_features.size(); ++i)
        if (operation->GetFeature(i) != m_features[i])
            return false;
    return true;
}

bool CNcCodePaneSource::Fetch()
{
    std::vector<std::string> written;
    bool startsFeature = false;
    while (written.empty() && m_feature < m_features.size()) {
        if (!m_writer) {
            // Only the operation's last feature ends the program.
            m_context.lastFeature = m_feature + 1 == m_features.size();
            m_writer.emplace(*m_features[m_feature], static_cast<int>(m_feature) + 1, false, m_context);
            m_writerStarted = false;
        }
        // A feature that cannot be written (no postprocessor, a refused
        // block) shows what it wrote before; the next one follows it.
        (void)m_writer->Write(written, kNcPaneHiddenSliceLines);
        startsFeature = !written.empty() && !m_writerStarted;
        if (!written.empty())
            m_writerStarted = true;
        if (m_writer->Done()) {
            m_writer.reset();
            ++m_feature;
        }
    }
    for (size_t i = 0; i < written.size(); ++i)
        m_pending.push_back({std::move(written[i]), startsFeature && i == 0, true});
    return !written.empty();
}

bool CNcCodePaneSource::Next(std::vector<std::string>& lines, std::vector<bool>& heading, size_t count)
{
    for (size_t given = 0; given < count; ++given) {
        if (m_pending.empty() && (m_ended || !Fetch())) {
            m_ended = true;
            break;
        }
        Line line = std::move(m_pending.front());
        m_pending.pop_front();
        if (line.program) {
            if (m_programLines == kMaxNcPaneLines) {
                // More than the pane shows: one line stands for the rest,
                // which is never written.
                line = {kCutText, true, false};
                m_pending.clear();
                m_writer.reset();
                m_feature = m_features.size();
                m_ended = true;
            } else {
                ++m_programLines;
            }
        }
        lines.push_back(std::move(line.text));
        heading.push_back(line.heading);
    }
    return !Done();
}

std::vector<std::string> CNcCodePaneSource::All(std::vector<bool>* heading)
{
    std::vector<std::string> lines;
    std::vector<bool> headings;
    while (Next(lines, headings, std::numeric_limits<size_t>::max())) {
    }
    if (heading != nullptr)
        *heading = std::move(headings);
    return lines;
}

CNcCodePaneFill::CNcCodePaneFill(IRichEditControl& control, std::unique_ptr<CNcCodePaneSource> source,
                                 IPostprocessor* postprocessor, std::function<const CMillingOperation*()> current)
    : m_control(control), m_source(std::move(source)), m_postprocessor(postprocessor), m_current(std::move(current))
{
}

// The control may be gone by now (a document closing mid-fill), so the
// bar is left as it is: a fill that replaces this one holds it anyway.
CNcCodePaneFill::~CNcCodePaneFill() { StopTimer(); }

void CNcCodePaneFill::HoldVerticalBar()
{
    if (!m_barHeld)
        m_barHeld = SUCCEEDED(m_control.ModifyStyle(0, ES_DISABLENOSCROLL, 0));
}

void CNcCodePaneFill::ReleaseVerticalBar()
{
    if (m_barHeld)
        m_control.ModifyStyle(ES_DISABLENOSCROLL, 0, 0);
    m_barHeld = false;
}

void CNcCodePaneFill::Begin()
{
    HoldVerticalBar();
    ClearNcCodePane(m_control);
    m_empty = true;
    m_length = 0;
    m_lines = 0;
    if (Slice() && m_timer == 0) {
        m_timer = ::SetTimer(nullptr, 0, kNcPaneSliceMs, &CNcCodePaneFill::OnTimer);
        if (m_timer != 0)
            WaitingFills()[m_timer] = this;
    }
}

bool CNcCodePaneFill::Slice()
{
    if (Done()) {
        ReleaseVerticalBar();
        return false;
    }
    if (m_current && !m_source->Follows(m_current())) {
        // The operation or its features changed under the fill; the job
        // starts a new one for what it holds now.
        m_stopped = true;
        StopTimer();
        ReleaseVerticalBar();
        return false;
    }
    std::vector<std::string> lines;
    std::vector<bool> heading;
    const size_t count = NcPaneSliceLines(m_lines);
    lines.reserve(count);
    m_source->Next(lines, heading, count);
    m_lines += lines.size();
    if (!lines.empty()) {
        const NcCodePaneText text = BuildNcCodePaneText(lines, heading, m_postprocessor);
        const LONG start = m_empty ? 0 : m_length + 1;
        AppendNcCodePaneText(m_control, text, start);
        m_length = start + static_cast<LONG>(text.text.size());
        m_empty = false;
    }
    if (Done()) {
        StopTimer();
        ReleaseVerticalBar();
        return false;
    }
    return true;
}

void CNcCodePaneFill::Finish()
{
    while (Slice()) {
    }
}

void CNcCodePaneFill::StopTimer()
{
    if (m_timer == 0)
        return;
    ::KillTimer(nullptr, m_timer);
    WaitingFills().erase(m_timer);
    m_timer = 0;
}

void CNcCodePaneFill::OnTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    const auto found = WaitingFills().find(id);
    if (found != WaitingFills().end())
        found->second->Slice();
    else
        ::KillTimer(nullptr, id);
}
