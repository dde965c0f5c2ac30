// tessamar --export PHOTO OUT: the annotated picture, drawn without a display.
#include "app/CommandLine.h"
#include "app/ExportMessages.h"
#include "app/HeadlessCommand.h"

#include "output/PhotoFileExport.h"

#include <new>

int RunExport(int argc, char** argv, const QString& photo, const QString& out, bool keepLocation) {
    const auto app = StartHeadless(argc, argv, HeadlessApp::Gui);

    PhotoFileExport result;
    try {
        result = ExportPhotoFile(photo, out, ExistingFile::Replace, keepLocation);
    } catch (const std::bad_alloc&) {
        return Fail(QStringLiteral("cannot export %1: the photo and its records are too large "
                                   "for the memory available")
                        .arg(photo));
    }
    return FinishPhotoFileCommand(photo, out, result);
}
