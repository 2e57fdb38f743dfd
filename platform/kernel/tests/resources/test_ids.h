// Ids shared by the kernel tests and their resource script.
#pragma once

#define IDR_TEST_MENU 128
#define IDD_TEST_DIALOG 6026
#define ID_TEST_COMMAND 32773
#define IDS_TEST_FROM_HEADER 20000
