#pragma once
// Flags of the platform file dialog that the picture dialog understands, with
// their Windows values, and the results of a modal run.

#include <cstdint>

constexpr uint32_t OFN_READONLY = 0x00000001;
constexpr uint32_t OFN_OVERWRITEPROMPT = 0x00000002;
constexpr uint32_t OFN_HIDEREADONLY = 0x00000004;
constexpr uint32_t OFN_ENABLETEMPLATE = 0x00000040;
constexpr uint32_t OFN_PATHMUSTEXIST = 0x00000800;
constexpr uint32_t OFN_FILEMUSTEXIST = 0x00001000;
constexpr uint32_t OFN_EXPLORER = 0x00080000;

// What DoModal returns.
constexpr int kDialogOk = 1;     // IDOK
constexpr int kDialogCancel = 2; // IDCANCEL
