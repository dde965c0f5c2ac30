#pragma once
// What libjpeg reports while reading a stream, and which of it stops the
// read. A warning about the file's wrapping (junk bytes between segments or
// before a marker, an unknown JFIF revision or Adobe transform code, a bad
// ICC chunk) leaves every row as it was coded: the read goes on. A warning
// that rows would be invented (the file ends early, the coded data is
// corrupt) and every error stop it, worded for what happened.

#include <QString>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

enum class JpegFault {
    None,
    Truncated,   // the file ends before its last row
    CorruptData, // the coded picture data is damaged
    Error,       // libjpeg gave up (a malformed or unsupported stream)
};

// libjpeg calls error_exit on an error, which must not return: it jumps back
// to the setjmp on `jump`. emit_message does the same for a warning that
// stops the read, and lets the others pass.
struct JpegErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    JpegFault fault = JpegFault::None;
    bool endReached = false; // the file ended; libjpeg goes on with an end marker of its own
    bool endStops = true;    // the end of the file stops the read at once
    char message[JMSG_LENGTH_MAX] = {};
};

// Points `info` at `errors`; call before jpeg_create_decompress.
void UseJpegErrorJump(jpeg_decompress_struct* info, JpegErrorJump* errors);

// Whether a libjpeg warning leaves the picture whole.
bool IsHarmlessJpegWarning(int messageCode);

// The refusal for what `errors` caught; `inHeader`: before the first scan.
QString JpegFaultText(const JpegErrorJump& errors, bool inHeader);
