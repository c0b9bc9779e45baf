#include "data/PLibraryStartup.h"

#include "data/PPool.h"
#include "data/PPropertyMatrix.h"
#include "data/PResourceTable.h"
#include "platform/Platform.h"

namespace {

constexpr std::size_t kReportSize = 512;
constexpr int kPropertyRows = 100;
constexpr int kPropertyColumns = 10;
constexpr std::size_t kPathSize = 1024;

}  // namespace

bool loadInstrumentLibrary(const char* pluginPath) {
    if (!PPool::shared().loadPool(pluginPath)) return false;
    char report[kReportSize];
    if (PResourceTable::shared().checkMissing(report, sizeof report) >= 1) {
        platform::showMessage(report, "Quor");
    }
    return true;
}

int loadPropertyMatrix(PPropertyMatrix& matrix, const char* pluginPath) {
    char path[kPathSize];
    if (!PPool::dataPath(pluginPath, "quor_prop1.prn", path, sizeof path)) {
        return matrix.load(nullptr, kPropertyRows, kPropertyColumns);
    }
    return matrix.load(path, kPropertyRows, kPropertyColumns);
}
