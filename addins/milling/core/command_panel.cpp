// Number text of the panels' edits and the value of a control event.
#include "addins/milling/core/command_panel.h"

#include <cstdio>

std::string FormatPanelNumber(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3lf", value);
    return text;
}

bool ParsePanelNumber(const char* text, double& value)
{
    if (text == nullptr)
        return false;
    double read = 0.0;
    if (std::sscanf(text, "%lf", &read) != 1)
        return false;
    value = read;
    return true;
}

ControlNotification ReadControlNotification(const void* value)
{
    ControlNotification notification;
    if (value == nullptr)
        return notification;
    const auto word = *static_cast<const uint32_t*>(value);
    notification.id = static_cast<LONG>(word & 0xFFFF);
    notification.code = word >> 16;
    return notification;
}
