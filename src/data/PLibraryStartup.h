// The plug-in start-up steps that concern the instrument library, called from the engine
// initialisation on the host's user-interface thread.
#pragma once

class PPropertyMatrix;

// The library's messages to the user (missing raw folder, missing raw files) go through
// showError. Tests replace that with a function of their own (null restores showError), since a
// message box would wait for a person.
using PLibraryMessageHandler = void (*)(const char* text, const char* title);
void setLibraryMessageHandlerForTests(PLibraryMessageHandler handler);
void showLibraryMessage(const char* text, const char* title);

// Loads the instrument pool beside the plug-in once per process (pluginPath: the plug-in
// module's full path). When this call did the loading, checks the raw files and shows the report
// of missing ones, titled "Quor", when at least one is missing. True when this call loaded.
bool loadInstrumentLibrary(const char* pluginPath);
// Loads "quor_prop1.prn" from the data folder into the matrix with 100 rows and 10 columns;
// answers the matrix's load result (0 when at least one line was read).
int loadPropertyMatrix(PPropertyMatrix& matrix, const char* pluginPath);
