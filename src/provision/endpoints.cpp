#include "endpoints.h"

#include "platform/files.h"

namespace corvel {

namespace {

struct EndpointEntry {
    const char16_t* variable;
    const char16_t* fallback;
    QString Endpoints::*field;
};

// The one table of download addresses. The path of each default is the fixed part the servers
// are known to serve; only the host is ours to choose.
const EndpointEntry kTable[] = {
    {u"CORVEL_VERSION_URL", u"http://downloads.corvel.dev/files/cspectversion.txt",
     &Endpoints::versionUrl},
    {u"CORVEL_EMULATOR_BASE_URL", u"https://downloads.corvel.dev/raw/main/cspect/",
     &Endpoints::emulatorBase},
    {u"CORVEL_IMAGETOOL_URL", u"https://downloads.corvel.dev/raw/master/build/hdfmonkey.exe",
     &Endpoints::toolUrl},
    {u"CORVEL_IMAGE_BASE_URL", u"http://downloads.corvel.dev/cspect/", &Endpoints::imageBase},
};

} // namespace

Endpoints endpoints() {
    Endpoints result;
    for (const EndpointEntry& entry : kTable) {
        const QString given = platform::environmentValue(QString::fromUtf16(entry.variable));
        result.*entry.field = given.isEmpty() ? QString::fromUtf16(entry.fallback) : given;
    }
    return result;
}

} // namespace corvel
