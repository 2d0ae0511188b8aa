#include "dialog/FileVersionText.h"

#include "platform/Platform.h"
#include "support/Format.h"

std::string GetFileVersionText() {
    const FileVersion version = Platform::Current().GetFileVersion().value_or(FileVersion{});
    return FormatText("%d.%02d.%03d.%03d", version.major, version.minor, version.build, version.revision);
}
