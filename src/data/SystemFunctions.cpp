#include "data/SystemFunctions.h"

#include "platform/Platform.h"

void showError(const char* text, const char* title) {
    platform::showMessage(text, title ? title : "Error");
}

bool openPdf(const char* documentPath) {
    return platform::openDocument(documentPath);
}

bool openHtml(const char* address) {
    return platform::openAddress(address);
}
