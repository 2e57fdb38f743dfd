// The program on a virtual X server.
#include <gtest/gtest.h>
