#include "lumoimage/JpegErrors.h"

#include <jerror.h>

namespace {

void ExitWithError(j_common_ptr info) {
    auto* self = reinterpret_cast<JpegErrorJump*>(info->err);
    self->fault = self->endReached ? JpegFault::Truncated : JpegFault::Error;
    (*info->err->format_message)(info, self->message);
    std::longjmp(self->jump, 1);
}

void EmitMessage(j_common_ptr info, int level) {
    if (level >= 0)
        return; // trace messages
    const int code = info->err->msg_code;
    if (IsHarmlessJpegWarning(code))
        return;
    auto* self = reinterpret_cast<JpegErrorJump*>(info->err);
    if (code == JWRN_JPEG_EOF && !self->endStops) {
        self->endReached = true;
        return;
    }
    self->fault =
        code == JWRN_JPEG_EOF || self->endReached ? JpegFault::Truncated : JpegFault::CorruptData;
    (*info->err->format_message)(info, self->message);
    std::longjmp(self->jump, 1);
}

} // namespace

void UseJpegErrorJump(jpeg_decompress_struct* info, JpegErrorJump* errors) {
    info->err = jpeg_std_error(&errors->manager);
    errors->manager.error_exit = ExitWithError;
    errors->manager.emit_message = EmitMessage;
}

bool IsHarmlessJpegWarning(int messageCode) {
    switch (messageCode) {
    case JWRN_EXTRANEOUS_DATA: // junk bytes before a marker; the marker is found
    case JWRN_JFIF_MAJOR:
    case JWRN_ADOBE_XFORM:
    case JWRN_BOGUS_ICC: // the profile is ignored
        return true;
    default:
        return false;
    }
}

QString JpegFaultText(const JpegErrorJump& errors, bool inHeader) {
    const QString message = QString::fromLocal8Bit(errors.message).trimmed();
    switch (errors.fault) {
    case JpegFault::Truncated:
        return inHeader ? QStringLiteral("The JPEG file is incomplete: it ends in its header.")
                        : QStringLiteral("The JPEG file is incomplete: it ends before its last "
                                         "row.");
    case JpegFault::CorruptData:
        return QStringLiteral("The JPEG file's picture data is damaged (%1).").arg(message);
    case JpegFault::None:
    case JpegFault::Error:
        break;
    }
    return inHeader ? QStringLiteral("The JPEG header could not be read (%1).").arg(message)
                    : QStringLiteral("The JPEG file could not be decoded (%1).").arg(message);
}
