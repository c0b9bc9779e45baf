// The few places where Quor speaks to the person or hands something to the desktop.
#pragma once

// Shows a message (a task-modal box with the exclamation icon where the system has one) titled
// `title`, or "Error" when the title is null.
void showError(const char* text, const char* title);
// Opens a PDF document with the viewer associated with it; false when none could be started.
bool openPdf(const char* documentPath);
// Opens a web address in the desktop's browser; false when none could be started.
bool openHtml(const char* address);
