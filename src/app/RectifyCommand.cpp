// tessamar --rectify OUT PHOTO [--mm-per-pixel X]: the head-on picture of the
// photo's reference plane, drawn without a display.
#include "app/CommandLine.h"
#include "app/ExportMessages.h"
#include "app/HeadlessCommand.h"

#include "output/PhotoFileExport.h"

#include <new>

int RunRectify(int argc, char** argv, const QString& out, const QString& photo, double mmPerPixel) {
    const auto app = StartHeadless(argc, argv, HeadlessApp::Gui);

    PhotoFileExport result;
    try {
        result = RectifyPhotoFile(photo, out, mmPerPixel);
    } catch (const std::bad_alloc&) {
        return Fail(QStringLiteral("cannot make the head-on picture of %1: not enough memory")
                        .arg(ShownPath(photo)));
    }
    return FinishPhotoFileCommand(photo, out, result);
}
