// Linked only into the client that the end-to-end update test runs: the shipped program,
// except that its base URL comes from TALVEK_TEST_BASE_URL, so the test's simulator can listen
// on any free port instead of the compiled-in one (which a running demo may hold).
#include "common/platform/Platform.h"

#include <QtGlobal>

namespace {

class TestBaseUrlPlatform : public TPlatform
{
public:
    QString BaseUrl() override
    {
        const QString url = qEnvironmentVariable("TALVEK_TEST_BASE_URL");
        return url.isEmpty() ? TPlatform::BaseUrl() : url;
    }
};

TestBaseUrlPlatform platform;

// Installed before main runs, so every part of the program sees it from the start.
const bool installed = (TPlatform::Install(&platform), true);

} // namespace
