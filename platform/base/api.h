// Export marker of the platform library: every function the platform offers
// to other modules carries NUVEX_PLATFORM_API, everything else stays hidden.
#pragma once

#define NUVEX_PLATFORM_API __attribute__((visibility("default")))
