#include "data/PLibraryStartup.h"

#include <atomic>
#include <cstddef>

#include "data/PPool.h"
#include "data/PPropertyMatrix.h"
#include "data/PResourceTable.h"
#include "data/SystemFunctions.h"

namespace {

constexpr std::size_t kReportSize = 512;
constexpr int kPropertyRows = 100;
constexpr int kPropertyColumns = 10;
constexpr std::size_t kPathSize = 1024;

std::atomic<PLibraryMessageHandler> messageHandler{nullptr};

}  // namespace

void setLibraryMessageHandlerForTests(PLibraryMessageHandler handler) {
    messageHandler.store(handler);
}

void showLibraryMessage(const char* text, const char* title) {
    if (PLibraryMessageHandler handler = messageHandler.load()) {
        handler(text, title);
    } else {
        showError(text, title);
    }
}

bool loadInstrumentLibrary(const char* pluginPath) {
    if (!PPool::shared().loadPool(pluginPath)) return false;
    char report[kReportSize];
    if (PResourceTable::shared().checkMissing(report, sizeof report) >= 1) {
        showLibraryMessage(report, "Quor");
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
